#include "goallist.h"

#include "rows/hierarchicalcolors.h"
#include "rows/todorowview.h"
#include "widgetheight.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QChildEvent>
#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QTimer>
#include <QVariantAnimation>

#include <cmath>

namespace
{

// A plain list keeps its rows this far in from its sides; the rows reach back out by the same amount, so they
// span the whole list and their checkboxes line up with the header's title.
constexpr int RowAreaInset = 8;
constexpr int RowOverhang = 8;

// The list spring: response 0.2 s, damping fraction 0.85. It has settled well within this time.
constexpr qreal SpringResponse = 0.2;
constexpr qreal SpringDamping = 0.85;
constexpr int SpringDurationMs = 350;

// The row being dragged is drawn faded, so the drop line shows where it will land.
constexpr qreal DraggedRowOpacity = 0.45;
constexpr qreal DropLineWidth = 2.0;
constexpr int DropLineSideInset = 6;

// A drag held this close to the shown part's top or bottom edge scrolls the list, faster the closer it is.
constexpr int EdgeScrollReach = 24;
constexpr int EdgeScrollIntervalMs = 16;
constexpr int EdgeScrollMaxStep = 12;

// The damped spring's position at `progress` of the animation, 0 at the start and 1 at rest.
qreal listSpring(qreal progress)
{
    const qreal omega = 2 * M_PI / SpringResponse;
    const qreal dampedOmega = omega * std::sqrt(1 - SpringDamping * SpringDamping);
    const qreal t = progress * SpringDurationMs / 1000.0;
    const qreal decay = std::exp(-SpringDamping * omega * t);
    return 1 - decay * (std::cos(dampedOmega * t) + SpringDamping * omega / dampedOmega * std::sin(dampedOmega * t));
}

} // namespace

GoalList::GoalList(Callbacks callbacks, QWidget *parent)
    : QWidget(parent)
    , m_callbacks(std::move(callbacks))
    , m_slide(new QVariantAnimation(this))
{
    QEasingCurve spring;
    spring.setCustomType(listSpring);
    m_slide->setEasingCurve(spring);
    m_slide->setDuration(SpringDurationMs);
    m_slide->setStartValue(0.0);
    m_slide->setEndValue(1.0);
    connect(
        m_slide, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) { placeRows(value.toReal()); });
    // Driven by a timer rather than by pointer moves: a pointer held still at the edge keeps scrolling.
    m_edgeScroll = new QTimer(this);
    m_edgeScroll->setInterval(EdgeScrollIntervalMs);
    connect(m_edgeScroll, &QTimer::timeout, this, &GoalList::scrollTowardsEdge);
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
        if (m_draggedId == it.key())
            endReordering(false);
        if (m_pressedId == it.key())
            m_pressedId.reset();
        // The row may be inside its own delete button's click here.
        it.value()->hide();
        it.value()->deleteLater();
        it = m_rows.erase(it);
    }

    for (const TodoItem &todo : todos) {
        if (TodoRowView *row = m_rows.value(todo.id)) {
            if (animated)
                m_slideFrom.insert(todo.id, row->y());
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
    connect(row, &TodoRowView::heightChanged, this, [this] {
        if (m_callbacks.onRowHeightChanged)
            m_callbacks.onRowHeightChanged();
    });
    watchForReordering(row);
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
    int y = 0;
    for (const QUuid &id : std::as_const(m_order)) {
        TodoRowView *row = m_rows.value(id);
        const int height = widgetHeight(row, rowWidth);
        heights.append({ id, height });
        m_targetY.insert(id, y);
        y += height;
    }

    // Rows that moved in an animated change start from where they were drawn and spring to their new place.
    m_slideOffset.clear();
    for (auto it = m_slideFrom.cbegin(); it != m_slideFrom.cend(); ++it) {
        const int offset = it.value() - m_targetY.value(it.key());
        if (offset != 0 && m_rows.contains(it.key()))
            m_slideOffset.insert(it.key(), offset);
    }
    m_slideFrom.clear();

    for (const auto &[id, height] : std::as_const(heights))
        m_rows.value(id)->resize(rowWidth, height);
    m_slide->stop();
    if (m_slideOffset.isEmpty()) {
        placeRows(1.0);
    } else {
        placeRows(0.0);
        m_slide->start();
    }
    return heights;
}

void GoalList::placeRows(qreal slideProgress)
{
    for (const QUuid &id : std::as_const(m_order)) {
        const qreal offset = m_slideOffset.value(id) * (1 - slideProgress);
        m_rows.value(id)->move(RowAreaInset - RowOverhang, m_targetY.value(id) + int(std::lround(offset)));
    }
}

void GoalList::watchForReordering(QObject *object)
{
    object->installEventFilter(this);
    for (QObject *child : object->children()) {
        if (child->isWidgetType())
            watchForReordering(child);
    }
}

TodoRowView *GoalList::rowContaining(QObject *object) const
{
    while (object && object->parent() != this)
        object = object->parent();
    return qobject_cast<TodoRowView *>(object);
}

bool GoalList::isControl(QObject *object) const
{
    // Presses on the checkbox, the delete glyph or an open editor belong to them, never to a reorder.
    for (; object && object->parent() != this; object = object->parent()) {
        if (qobject_cast<QAbstractButton *>(object) || qobject_cast<QLineEdit *>(object))
            return true;
    }
    return false;
}

bool GoalList::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Keys reach a goal through its checkbox or delete glyph; an open editor keeps its own keys.
        const TodoRowView *row = rowContaining(watched);
        if (row && !row->isEditing() && qobject_cast<QAbstractButton *>(watched)
            && handleKey(row, static_cast<QKeyEvent *>(event)))
            return true;
        break;
    }
    case QEvent::ChildAdded: {
        // Rows build parts of themselves later (the editor, for one); those are watched too.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watchForReordering(child);
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || m_draggedId)
            break;
        TodoRowView *row = rowContaining(watched);
        if (row && !isControl(watched)) {
            m_pressedId = row->todo().id;
            m_pressPosition = mouse->globalPosition();
        } else {
            m_pressedId.reset();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_pressedId || m_draggedId || !(mouse->buttons() & Qt::LeftButton))
            break;
        if ((mouse->globalPosition() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
            break;
        beginReordering();
        followPointer(mouse->globalPosition());
        update();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_draggedId)
            m_pressedId.reset();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void GoalList::beginReordering()
{
    m_draggedId = m_pressedId;
    m_pressedId.reset();
    // The grab keeps the rest of the gesture here: the row under the pointer never sees the release, so a
    // drag that started on a goal's text does not also open its editor.
    grabMouse();
    auto *fade = new QGraphicsOpacityEffect;
    fade->setOpacity(DraggedRowOpacity);
    m_rows.value(*m_draggedId)->setGraphicsEffect(fade);
}

void GoalList::endReordering(bool drop)
{
    if (!m_draggedId)
        return;
    const QUuid id = *m_draggedId;
    m_draggedId.reset();
    m_edgeScroll->stop();
    releaseMouse();
    if (TodoRowView *row = m_rows.value(id))
        row->setGraphicsEffect(nullptr);
    update();

    const auto source = int(m_order.indexOf(id));
    // Dropping a row just above or just below itself leaves the order as it is; nothing needs saving.
    if (drop && source >= 0 && m_dropIndex != source && m_dropIndex != source + 1 && m_callbacks.onMove)
        m_callbacks.onMove({ source }, m_dropIndex);
}

void GoalList::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_draggedId) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    followPointer(event->globalPosition());
}

void GoalList::followPointer(QPointF globalPosition)
{
    m_dragPointer = globalPosition;
    updateDropIndex();
    if (edgeScrollStep() != 0 && !m_edgeScroll->isActive())
        m_edgeScroll->start();
}

void GoalList::updateDropIndex()
{
    const int index = dropIndexAt(mapFromGlobal(m_dragPointer).y());
    if (index != m_dropIndex) {
        m_dropIndex = index;
        update();
    }
}

int GoalList::edgeScrollStep() const
{
    const QRect shown = visibleRegion().boundingRect();
    if (shown.isEmpty() || shown.height() >= height())
        return 0;
    const qreal y = mapFromGlobal(m_dragPointer).y();
    const auto step = [](qreal depth) {
        return int(std::ceil(EdgeScrollMaxStep * std::clamp<qreal>(depth, 0, EdgeScrollReach) / EdgeScrollReach));
    };
    if (y < shown.top() + EdgeScrollReach && shown.top() > 0)
        return -std::max(1, step(shown.top() + EdgeScrollReach - y));
    if (y > shown.bottom() - EdgeScrollReach && shown.bottom() < height() - 1)
        return std::max(1, step(y - (shown.bottom() - EdgeScrollReach)));
    return 0;
}

void GoalList::scrollTowardsEdge()
{
    const int step = m_draggedId ? edgeScrollStep() : 0;
    if (step == 0) {
        m_edgeScroll->stop();
        return;
    }
    emit scrollRequested(step);
    // The list moved under a pointer held still: the drop lands where the pointer now points.
    updateDropIndex();
}

void GoalList::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_draggedId || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragPointer = event->globalPosition();
    m_dropIndex = dropIndexAt(event->position().y());
    endReordering(true);
}

int GoalList::dropIndexAt(qreal y) const
{
    // In front of the first row whose middle lies below the pointer.
    int index = 0;
    for (const QUuid &id : m_order) {
        const TodoRowView *row = m_rows.value(id);
        if (m_targetY.value(id) + row->height() / 2.0 > y)
            break;
        ++index;
    }
    return index;
}

std::optional<int> GoalList::dropLineY() const
{
    if (!m_draggedId || m_order.isEmpty())
        return std::nullopt;
    const auto source = int(m_order.indexOf(*m_draggedId));
    if (m_dropIndex == source || m_dropIndex == source + 1)
        return std::nullopt;
    if (m_dropIndex < m_order.size())
        return m_targetY.value(m_order.at(m_dropIndex));
    const QUuid &last = m_order.constLast();
    return m_targetY.value(last) + m_rows.value(last)->height();
}

void GoalList::paintEvent(QPaintEvent *)
{
    const std::optional<int> lineY = dropLineY();
    if (!lineY)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(HierarchicalColors::accent(palette()), DropLineWidth, Qt::SolidLine, Qt::RoundCap));
    // Kept inside the list so that the line is whole at the very top and bottom.
    const qreal y = std::clamp<qreal>(*lineY, DropLineWidth / 2, height() - DropLineWidth / 2);
    painter.drawLine(QPointF(DropLineSideInset, y), QPointF(width() - DropLineSideInset, y));
}
