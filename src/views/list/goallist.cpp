#include "goallist.h"

#include "rowreordergesture.h"
#include "rowslide.h"
#include "views/kit/goalrow.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/kit/widgetheight.h"
#include "views/rows/todorowview.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace
{

// A plain list keeps its rows this far in from its sides; the rows reach back out by the same amount, so they
// span the whole list and their checkboxes line up with the header's title.
constexpr int RowAreaInset = 8;
constexpr int RowOverhang = 8;

// What a goal counts for until its row has been measured: a row of one line.
constexpr int UnmeasuredRowHeight = GoalRow::MinimumHeight;
// Rows are made this far beyond the part of the list on screen, so that a small scroll finds them ready.
constexpr int RowReach = 2 * UnmeasuredRowHeight;

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
    QAccessible::installActivationObserver(this);
}

GoalList::~GoalList()
{
    QAccessible::removeActivationObserver(this);
}

void GoalList::accessibilityActiveChanged(bool active)
{
    if (active)
        emit layoutWanted();
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

    // The last goal that joins a list already shown is brought into view, wherever the order puts it.
    if (m_hasShownTodos) {
        const QSet<QUuid> known(m_order.cbegin(), m_order.cend());
        for (auto id = order.crbegin(); id != order.crend(); ++id) {
            if (!known.contains(*id)) {
                m_reveal = *id;
                m_isRevealPlaced = false;
                break;
            }
        }
    }
    m_hasShownTodos = m_hasShownTodos || !todos.isEmpty();

    for (const TodoItem &todo : todos) {
        if (TodoRowView *row = m_rows.value(todo.id)) {
            if (animated)
                m_slide->setStart(todo.id, row->y());
            row->setTodo(todo, animated);
        }
    }
    m_todos = todos;
    m_order = std::move(order);
    updateReorderSpans();
    if (focusAfterRemoval)
        materialize(m_order.indexOf(*focusAfterRemoval))->focusTarget()->setFocus(Qt::TabFocusReason);
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
    materialize(index)->focusTarget()->setFocus(reason);
    return true;
}

int GoalList::rowHeight(const QUuid &id) const
{
    return m_heights.value(id, UnmeasuredRowHeight);
}

TodoRowView *GoalList::materialize(qsizetype index)
{
    const QUuid &id = m_order.at(index);
    if (TodoRowView *row = m_rows.value(id))
        return row;
    TodoRowView *row = createRow(m_todos.at(index));
    m_rows.insert(id, row);
    // Placed where the goal was counted, so that scrolling to it lands right; the next layout measures it.
    row->setGeometry(RowAreaInset - RowOverhang, m_rowTops.value(id), m_rowWidth, rowHeight(id));
    emit rowsCreated();
    emit layoutWanted();
    return row;
}

qsizetype GoalList::focusedIndex() const
{
    const TodoRowView *row = rowContaining(QApplication::focusWidget());
    return row ? m_order.indexOf(row->todo().id) : -1;
}

bool GoalList::isWanted(qsizetype index, int top, int height, qsizetype focused) const
{
    // The first and the last goal are where Tab and Shift+Tab enter the list; the focused goal's neighbours are
    // where Tab, Up and Down go next. A screen reader hears every goal, so then every goal has its row.
    const int shownTop = std::max(0, -y());
    const bool isNearShown = top + height > shownTop - RowReach && top < shownTop + m_shownHeight + RowReach;
    return isNearShown || index == 0 || index == m_order.size() - 1 || (focused >= 0 && std::abs(index - focused) <= 1)
        || m_order.at(index) == m_reveal || QAccessible::isActive();
}

bool GoalList::lacksWantedRows() const
{
    const qsizetype focused = focusedIndex();
    for (qsizetype i = 0; i < m_order.size(); ++i) {
        const QUuid &id = m_order.at(i);
        if (!m_rows.contains(id) && isWanted(i, m_rowTops.value(id), rowHeight(id), focused))
            return true;
    }
    return false;
}

std::optional<QRect> GoalList::takeReveal()
{
    if (!m_reveal || !m_isRevealPlaced)
        return std::nullopt;
    const QUuid id = *std::exchange(m_reveal, std::nullopt);
    return QRect(0, m_rowTops.value(id), width(), rowHeight(id));
}

QWidgetList GoalList::focusChain() const
{
    QWidgetList chain;
    for (const QUuid &id : m_order) {
        if (const TodoRowView *row = m_rows.value(id))
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
        emit moveRequested(id, event->key() == Qt::Key_Up ? -1 : 1);
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
        materialize(index)->editFromKeyboard();
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
    connect(row, &TodoRowView::heightChanged, this, &GoalList::layoutWanted);
    // Keys reach a goal through its checkbox or its delete glyph.
    row->focusTarget()->installEventFilter(this);
    row->deleteButton()->installEventFilter(this);
    m_reorder->watch(row, todo.id);
    // Sized now, so that showing it does not measure it once more: the next layout measures and places it.
    row->resize(m_rowWidth, 0);
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

void GoalList::layoutRows(int width, int shownHeight)
{
    m_rowWidth = width - 2 * (RowAreaInset - RowOverhang);
    m_shownHeight = shownHeight;
    const int shownTop = std::max(0, -y());
    const qsizetype focused = focusedIndex();
    QList<std::pair<QUuid, int>> heights;
    bool created = false;
    m_rowTops.clear();
    m_scrollCorrection = 0;
    int y = 0;
    for (qsizetype i = 0; i < m_order.size(); ++i) {
        const QUuid &id = m_order.at(i);
        int height = rowHeight(id);
        TodoRowView *row = m_rows.value(id);
        if (!row && isWanted(i, y, height, focused)) {
            row = createRow(m_todos.at(i));
            m_rows.insert(id, row);
            created = true;
        }
        if (row) {
            const int measured = widgetHeight(row, m_rowWidth);
            // A row above the shown part that turns out taller or shorter would move what is on screen.
            if (y + height <= shownTop)
                m_scrollCorrection += measured - height;
            height = measured;
            m_heights.insert(id, height);
            heights.append({ id, height });
        }
        m_rowTops.insert(id, y);
        y += height;
    }
    m_listHeight = y;
    m_isRevealPlaced = m_reveal.has_value();

    for (const auto &[id, height] : std::as_const(heights))
        m_rows.value(id)->resize(m_rowWidth, height);
    // Rows that moved in an animated change start from where they were drawn and spring to their new place.
    m_slide->start(m_rowTops);
    updateReorderSpans();
    placeRows();
    restackRows();
    if (created)
        emit rowsCreated();
}

void GoalList::restackRows()
{
    QList<TodoRowView *> listed;
    listed.reserve(m_rows.size());
    for (const QUuid &id : std::as_const(m_order)) {
        if (TodoRowView *row = m_rows.value(id))
            listed.append(row);
    }
    QList<TodoRowView *> stacked;
    stacked.reserve(listed.size());
    for (QObject *child : children()) {
        auto *row = qobject_cast<TodoRowView *>(child);
        if (row && m_rows.value(row->todo().id) == row)
            stacked.append(row);
    }
    if (stacked == listed)
        return;
    for (TodoRowView *row : std::as_const(listed))
        row->raise();
    QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reordered);
}

void GoalList::placeRows()
{
    for (auto row = m_rows.cbegin(); row != m_rows.cend(); ++row)
        row.value()->move(RowAreaInset - RowOverhang, m_rowTops.value(row.key()) + m_slide->offset(row.key()));
}

void GoalList::moveEvent(QMoveEvent *event)
{
    // The enclosing view scrolls the list by moving it.
    QWidget::moveEvent(event);
    if (lacksWantedRows())
        emit layoutWanted();
}

void GoalList::updateReorderSpans()
{
    QList<RowReorderGesture::RowSpan> spans;
    spans.reserve(m_order.size());
    for (const QUuid &id : std::as_const(m_order))
        spans.append({ id, m_rowTops.value(id), rowHeight(id) });
    m_reorder->setRowSpans(std::move(spans));
}

TodoRowView *GoalList::rowContaining(QObject *object) const
{
    while (object && object->parent() != this)
        object = object->parent();
    return qobject_cast<TodoRowView *>(object);
}

bool GoalList::eventFilter(QObject *watched, QEvent *event)
{
    // The goals next to the focused one get their rows, so that the keyboard finds them in its order.
    if (event->type() == QEvent::FocusIn && lacksWantedRows())
        emit layoutWanted();
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
