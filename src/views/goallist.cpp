#include "goallist.h"

#include "rowreordergesture.h"
#include "rows/hierarchicalcolors.h"
#include "rows/todorowview.h"
#include "rowslide.h"
#include "widgetheight.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace
{

// A plain list keeps its rows this far in from its sides; the rows reach back out by the same amount, so they
// span the whole list and their checkboxes line up with the header's title.
constexpr int RowAreaInset = 8;
constexpr int RowOverhang = 8;

// The line that shows where the dragged row will land.
constexpr qreal DropLineWidth = 2.0;
constexpr int DropLineSideInset = 6;

} // namespace

GoalList::GoalList(Callbacks callbacks, QWidget *parent)
    : QWidget(parent)
    , m_callbacks(std::move(callbacks))
    , m_slide(new RowSlide(this))
    , m_reorder(new RowReorderGesture(this))
{
    connect(m_slide, &RowSlide::offsetsChanged, this, &GoalList::placeRows);
    connect(m_reorder, &RowReorderGesture::moveRequested, this, &GoalList::moveRequested);
    connect(m_reorder, &RowReorderGesture::scrollRequested, this, &GoalList::scrollRequested);
}

bool GoalList::isReordering() const
{
    return m_reorder->isDragging();
}

void GoalList::setTodos(const QList<TodoItem> &todos, bool animated)
{
    QList<QUuid> order;
    order.reserve(todos.size());
    for (const TodoItem &todo : todos)
        order.append(todo.id);

    const QSet<QUuid> listed(order.cbegin(), order.cend());
    std::optional<QUuid> focusAfterRemoval;
    bool removedFocus = false;
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (listed.contains(it.key())) {
            ++it;
            continue;
        }
        // A goal deleted from the keyboard passes the focus to its neighbour, so the user keeps their place.
        if (it.value()->hasKeyboardFocus()) {
            removedFocus = true;
            focusAfterRemoval = neighbourKept(it.key(), listed);
        }
        QAccessibleEvent removed(it.value(), QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&removed);
        m_reorder->forget(it.key());
        // The row may be inside its own delete button's click here.
        it.value()->hide();
        it.value()->deleteLater();
        it = m_rows.erase(it);
    }

    for (const TodoItem &todo : todos) {
        if (TodoRowView *row = m_rows.value(todo.id)) {
            if (animated)
                m_slide->setStart(todo.id, row->y());
            row->setTodo(todo, animated);
        } else {
            m_rows.insert(todo.id, createRow(todo));
        }
    }
    m_order = std::move(order);
    if (focusAfterRemoval)
        m_rows.value(*focusAfterRemoval)->focusTarget()->setFocus(Qt::TabFocusReason);
    else if (removedFocus)
        emit focusLeftList();
}

std::optional<QUuid> GoalList::neighbourKept(const QUuid &id, const QSet<QUuid> &listed) const
{
    const qsizetype index = m_order.indexOf(id);
    for (qsizetype i = index + 1; i < m_order.size(); ++i) {
        if (listed.contains(m_order.at(i)))
            return m_order.at(i);
    }
    for (qsizetype i = index - 1; i >= 0; --i) {
        if (listed.contains(m_order.at(i)))
            return m_order.at(i);
    }
    return std::nullopt;
}

bool GoalList::focusGoal(qsizetype index, Qt::FocusReason reason)
{
    if (index < 0 || index >= m_order.size())
        return false;
    m_rows.value(m_order.at(index))->focusTarget()->setFocus(reason);
    return true;
}

QWidgetList GoalList::focusChain() const
{
    QWidgetList chain;
    for (const QUuid &id : m_order) {
        const TodoRowView *row = m_rows.value(id);
        chain << row->focusTarget() << row->deleteButton();
    }
    return chain;
}

bool GoalList::handleKey(const TodoRowView *row, const QKeyEvent *event)
{
    const qsizetype index = m_order.indexOf(row->todo().id);
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const QUuid id = row->todo().id;
    if (modifiers == Qt::AltModifier && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        emit moveByKeyRequested(id, event->key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    if (modifiers != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
        focusGoal(index - 1, Qt::BacktabFocusReason);
        return true;
    case Qt::Key_Down:
        focusGoal(index + 1, Qt::TabFocusReason);
        return true;
    case Qt::Key_Delete:
        if (m_callbacks.onDelete)
            m_callbacks.onDelete(id);
        return true;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_rows.value(id)->editFromKeyboard();
        return true;
    default:
        return false;
    }
}

TodoRowView *GoalList::createRow(const TodoItem &todo)
{
    const QUuid id = todo.id;
    auto *row = new TodoRowView(
        todo, m_isPanelHovered,
        [this, id] {
            if (m_callbacks.onToggle)
                m_callbacks.onToggle(id);
        },
        [this, id](const QString &text) {
            if (m_callbacks.onUpdateText)
                m_callbacks.onUpdateText(id, text);
        },
        [this, id] {
            if (m_callbacks.onDelete)
                m_callbacks.onDelete(id);
        },
        this);
    row->setHoverFade(m_hoverFade);
    QAccessibleEvent added(row, QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&added);
    connect(row, &TodoRowView::heightChanged, this, &GoalList::rowHeightsChanged);
    // Keys reach a goal through its checkbox or its delete glyph.
    row->focusTarget()->installEventFilter(this);
    row->deleteButton()->installEventFilter(this);
    m_reorder->watch(row);
    // Sized now, so that showing it does not measure it once more: the next layout measures and places it.
    row->resize(width(), 0);
    row->show();
    return row;
}

void GoalList::setPanelHovered(bool hovered)
{
    m_isPanelHovered = hovered;
    for (TodoRowView *row : std::as_const(m_rows))
        row->setPanelHovered(hovered);
}

void GoalList::setHoverFade(qreal fade)
{
    m_hoverFade = fade;
    for (TodoRowView *row : std::as_const(m_rows))
        row->setHoverFade(fade);
}

QList<std::pair<QUuid, int>> GoalList::layoutRows(int width)
{
    QList<std::pair<QUuid, int>> heights;
    heights.reserve(m_order.size());
    const int rowWidth = width - 2 * (RowAreaInset - RowOverhang);
    m_rowTops.clear();
    int y = 0;
    for (const QUuid &id : std::as_const(m_order)) {
        TodoRowView *row = m_rows.value(id);
        const int height = widgetHeight(row, rowWidth);
        heights.append({ id, height });
        m_rowTops.insert(id, y);
        y += height;
    }

    for (const auto &[id, height] : std::as_const(heights))
        m_rows.value(id)->resize(rowWidth, height);
    // Rows that moved in an animated change start from where they were drawn and spring to their new place.
    m_slide->start(m_rowTops);
    placeRows();
    return heights;
}

void GoalList::placeRows()
{
    for (const QUuid &id : std::as_const(m_order))
        m_rows.value(id)->move(RowAreaInset - RowOverhang, m_rowTops.value(id) + m_slide->offset(id));
}

TodoRowView *GoalList::rowContaining(QObject *object) const
{
    while (object && object->parent() != this)
        object = object->parent();
    return qobject_cast<TodoRowView *>(object);
}

bool GoalList::eventFilter(QObject *watched, QEvent *event)
{
    // An open editor keeps its own keys.
    if (event->type() == QEvent::KeyPress) {
        const TodoRowView *row = rowContaining(watched);
        if (row && !row->isEditing() && handleKey(row, static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void GoalList::paintEvent(QPaintEvent *)
{
    const std::optional<int> lineY = m_reorder->dropLineY();
    if (!lineY)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(HierarchicalColors::accent(palette()), DropLineWidth, Qt::SolidLine, Qt::RoundCap));
    // Kept inside the list so that the line is whole at the very top and bottom.
    const qreal y = std::clamp<qreal>(*lineY, DropLineWidth / 2, height() - DropLineWidth / 2);
    painter.drawLine(QPointF(DropLineSideInset, y), QPointF(width() - DropLineSideInset, y));
}
