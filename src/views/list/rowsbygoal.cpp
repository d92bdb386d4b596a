// SPDX-License-Identifier: GPL-3.0-or-later

#include "rowsbygoal.h"

#include "views/rows/todorowview.h"

#include <QAccessible>

RowsByGoal::RowsByGoal(QWidget *list)
    : QObject(list)
    , m_list(list)
{
}

TodoRowView *RowsByGoal::rowContaining(QObject *object) const
{
    while (object && object->parent() != m_list)
        object = object->parent();
    return qobject_cast<TodoRowView *>(object);
}

TodoRowView *RowsByGoal::create(const TodoItem &todo, int width)
{
    const QUuid id = todo.id;
    auto *row = new TodoRowView(
        todo, m_isPanelHovered, [this, id] { emit toggleRequested(id); },
        [this, id](const QString &text) { emit textUpdated(id, text); }, [this, id] { emit deleteRequested(id); },
        m_list);
    row->setHoverFade(m_hoverFade);
    m_rows.insert(id, row);
    // Told only to a listener: the event alone makes Qt build the row's accessible face.
    if (QAccessible::isActive()) {
        QAccessibleEvent added(row, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&added);
    }
    connect(row, &TodoRowView::heightChanged, this, &RowsByGoal::heightChanged);
    // Sized now, so that showing it does not measure it once more.
    row->resize(width, 0);
    row->show();
    return row;
}

std::optional<QUuid> RowsByGoal::dropUnlisted(const QSet<QUuid> &listed)
{
    std::optional<QUuid> focused;
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (listed.contains(it.key())) {
            ++it;
            continue;
        }
        if (it.value()->hasKeyboardFocus())
            focused = it.key();
        if (QAccessible::isActive()) {
            QAccessibleEvent removed(it.value(), QAccessible::ObjectDestroyed);
            QAccessible::updateAccessibility(&removed);
        }
        emit rowDropped(it.key());
        // The row may be inside its own delete button's click here.
        it.value()->hide();
        it.value()->deleteLater();
        it = m_rows.erase(it);
    }
    return focused;
}

void RowsByGoal::setPanelHovered(bool hovered)
{
    m_isPanelHovered = hovered;
    for (TodoRowView *row : std::as_const(m_rows))
        row->setPanelHovered(hovered);
}

void RowsByGoal::setHoverFade(qreal fade)
{
    m_hoverFade = fade;
    for (TodoRowView *row : std::as_const(m_rows))
        row->setHoverFade(fade);
}

void RowsByGoal::stackInOrder(const QList<QUuid> &order)
{
    QList<TodoRowView *> listed;
    listed.reserve(m_rows.size());
    for (const QUuid &id : order) {
        if (TodoRowView *row = m_rows.value(id))
            listed.append(row);
    }
    QList<TodoRowView *> stacked;
    stacked.reserve(listed.size());
    for (QObject *child : m_list->children()) {
        auto *row = qobject_cast<TodoRowView *>(child);
        if (row && m_rows.value(row->todo().id) == row)
            stacked.append(row);
    }
    if (stacked == listed)
        return;
    for (TodoRowView *row : std::as_const(listed))
        row->raise();
    QAccessibleEvent reordered(m_list, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reordered);
}

QWidgetList RowsByGoal::focusChain(const QList<QUuid> &order) const
{
    QWidgetList chain;
    for (const QUuid &id : order) {
        if (const TodoRowView *row = m_rows.value(id))
            chain << row->focusTarget() << row->deleteButton();
    }
    return chain;
}
