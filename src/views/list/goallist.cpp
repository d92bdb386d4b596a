// SPDX-License-Identifier: GPL-3.0-or-later

#include "goallist.h"

#include "goalkeys.h"
#include "rowreordergesture.h"
#include "rowsbygoal.h"
#include "rowslide.h"
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

// The line that shows where the dragged row will land.
constexpr qreal DropLineWidth = 2.0;
constexpr int DropLineSideInset = 6;

} // namespace

GoalList::GoalList(QWidget *parent)
    : QWidget(parent)
    , m_rows(new RowsByGoal(this))
    , m_slide(new RowSlide(this))
    , m_reorder(new RowReorderGesture(this))
{
    connect(m_rows, &RowsByGoal::toggleRequested, this, &GoalList::toggleRequested);
    connect(m_rows, &RowsByGoal::textUpdated, this, &GoalList::textUpdated);
    connect(m_rows, &RowsByGoal::deleteRequested, this, &GoalList::deleteRequested);
    connect(m_rows, &RowsByGoal::heightChanged, this, &GoalList::layoutWanted);
    connect(m_rows, &RowsByGoal::rowDropped, m_reorder, &RowReorderGesture::forget);
    connect(m_slide, &RowSlide::offsetsChanged, this, &GoalList::placeRows);
    connect(m_reorder, &RowReorderGesture::moveRequested, this, &GoalList::moveRequested);
    connect(m_reorder, &RowReorderGesture::scrollRequested, this, &GoalList::scrollRequested);
    QAccessible::installActivationObserver(this);
}

GoalList::~GoalList()
{
    QAccessible::removeActivationObserver(this);
}

void GoalList::dropEdit()
{
    for (TodoRowView *row : m_rows->rows())
        row->dropEdit();
}

void GoalList::accessibilityActiveChanged(bool active)
{
    if (!active)
        return;
    for (TodoRowView *row : m_rows->rows())
        row->tellListeners();
    emit layoutWanted();
}

void GoalList::setTodos(const QList<TodoItem> &todos, bool animated, ListGeometry::ChangedBy changedBy)
{
    QList<QUuid> order;
    order.reserve(todos.size());
    for (const TodoItem &todo : todos)
        order.append(todo.id);

    // A goal deleted from the keyboard passes the focus to its neighbour, so the user keeps their place.
    const QSet<QUuid> listed(order.cbegin(), order.cend());
    const std::optional<QUuid> focusRemoved = m_rows->dropUnlisted(listed);
    const std::optional<QUuid> focusAfterRemoval
        = focusRemoved ? m_geometry.neighbourKept(*focusRemoved, listed) : std::nullopt;

    for (const TodoItem &todo : todos) {
        if (TodoRowView *row = m_rows->row(todo.id)) {
            if (animated)
                m_slide->setStart(todo.id, row->y());
            row->setTodo(todo, animated);
        }
    }
    m_todos = todos;
    m_geometry.setOrder(std::move(order), changedBy);
    m_reorder->setGoalSpans(m_geometry.spans());
    if (focusAfterRemoval)
        materialize(m_geometry.order().indexOf(*focusAfterRemoval))->focusTarget()->setFocus(Qt::TabFocusReason);
    else if (focusRemoved)
        emit focusLeftList();
}

bool GoalList::focusGoal(qsizetype index, Qt::FocusReason reason)
{
    if (index < 0 || index >= goalCount())
        return false;
    materialize(index)->focusTarget()->setFocus(reason);
    return true;
}

TodoRowView *GoalList::row(const QUuid &id) const
{
    return m_rows->row(id);
}

TodoRowView *GoalList::materialize(qsizetype index)
{
    const QUuid &id = m_geometry.order().at(index);
    if (TodoRowView *row = m_rows->row(id))
        return row;
    TodoRowView *row = createRow(m_todos.at(index));
    // Placed where the goal was counted, so that scrolling to it lands right; the next layout measures it.
    row->setGeometry(RowAreaInset - RowOverhang, m_geometry.top(id), m_rowWidth, m_geometry.height(id));
    emit rowsCreated();
    emit layoutWanted();
    return row;
}

qsizetype GoalList::focusedIndex() const
{
    const TodoRowView *row = m_rows->rowContaining(QApplication::focusWidget());
    return row ? m_geometry.order().indexOf(row->todo().id) : -1;
}

bool GoalList::lacksWantedRows() const
{
    const qsizetype focused = focusedIndex();
    const QList<QUuid> &order = m_geometry.order();
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (!m_rows->row(order.at(i)) && m_geometry.isWanted(i, focused, QAccessible::isActive()))
            return true;
    }
    return false;
}

std::optional<QRect> GoalList::takeReveal()
{
    const std::optional<GoalSpan> reveal = m_geometry.takeReveal();
    if (!reveal)
        return std::nullopt;
    return QRect(0, reveal->top, width(), reveal->height);
}

QWidgetList GoalList::focusChain() const
{
    return m_rows->focusChain(m_geometry.order());
}

bool GoalList::handleKey(const TodoRowView *row, const QKeyEvent *event)
{
    const QUuid id = row->todo().id;
    const qsizetype index = m_geometry.order().indexOf(id);
    const GoalKeys::Action action = GoalKeys::actionOf(event);
    switch (action) {
    case GoalKeys::Action::FocusAbove:
        focusGoal(index - 1, Qt::BacktabFocusReason);
        return true;
    case GoalKeys::Action::FocusBelow:
        focusGoal(index + 1, Qt::TabFocusReason);
        return true;
    case GoalKeys::Action::Delete:
        emit deleteRequested(id);
        return true;
    case GoalKeys::Action::Edit:
        materialize(index)->editFromKeyboard();
        return true;
    case GoalKeys::Action::MoveUp:
    case GoalKeys::Action::MoveDown:
        emit moveRequested(id, action == GoalKeys::Action::MoveUp ? -1 : 1);
        return true;
    case GoalKeys::Action::None:
        return false;
    }
    return false;
}

TodoRowView *GoalList::createRow(const TodoItem &todo)
{
    TodoRowView *row = m_rows->create(todo, m_rowWidth);
    // Keys reach a goal through its checkbox or its delete glyph.
    row->focusTarget()->installEventFilter(this);
    row->deleteButton()->installEventFilter(this);
    m_reorder->watch(row, todo.id);
    return row;
}

void GoalList::setPanelHovered(bool hovered)
{
    m_rows->setPanelHovered(hovered);
}

void GoalList::setHoverFade(qreal fade)
{
    m_rows->setHoverFade(fade);
}

void GoalList::layoutRows(int width, int shownHeight)
{
    m_rowWidth = width - 2 * (RowAreaInset - RowOverhang);
    m_geometry.setShownTop(-y());
    m_geometry.setShownHeight(shownHeight);
    const qsizetype focused = focusedIndex();
    QList<std::pair<TodoRowView *, int>> measured;
    bool created = false;
    m_geometry.layOut([&](qsizetype index) -> std::optional<int> {
        const QUuid &id = m_geometry.order().at(index);
        TodoRowView *row = m_rows->row(id);
        if (!row && m_geometry.isWanted(index, focused, QAccessible::isActive())) {
            row = createRow(m_todos.at(index));
            created = true;
        }
        if (!row)
            return std::nullopt;
        measured.append({ row, widgetHeight(row, m_rowWidth) });
        return measured.constLast().second;
    });

    for (const auto &[row, height] : std::as_const(measured))
        row->resize(m_rowWidth, height);
    // Rows that moved in an animated change start from where they were drawn and spring to their new place.
    m_slide->start(m_geometry.tops());
    m_reorder->setGoalSpans(m_geometry.spans());
    placeRows();
    m_rows->stackInOrder(m_geometry.order());
    if (created)
        emit rowsCreated();
}

void GoalList::placeRows()
{
    const QHash<QUuid, TodoRowView *> &rows = m_rows->rows();
    for (auto row = rows.cbegin(); row != rows.cend(); ++row)
        row.value()->move(RowAreaInset - RowOverhang, m_geometry.top(row.key()) + m_slide->offset(row.key()));
}

void GoalList::moveEvent(QMoveEvent *event)
{
    // The enclosing view scrolls the list by moving it.
    QWidget::moveEvent(event);
    m_geometry.setShownTop(-y());
    if (lacksWantedRows())
        emit layoutWanted();
}

bool GoalList::eventFilter(QObject *watched, QEvent *event)
{
    // The goals next to the focused one get their rows, so that the keyboard finds them in its order.
    if (event->type() == QEvent::FocusIn && lacksWantedRows())
        emit layoutWanted();
    // An open editor keeps its own keys.
    if (event->type() == QEvent::KeyPress) {
        const TodoRowView *row = m_rows->rowContaining(watched);
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
