#include "rowreordergesture.h"

#include "goallist.h"
#include "rows/todorowview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChildEvent>
#include <QGraphicsOpacityEffect>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace
{

// The row being dragged is drawn faded, so the drop line shows where it will land.
constexpr qreal DraggedRowOpacity = 0.45;

// A drag held this close to the shown part's top or bottom edge scrolls the list, faster the closer it is.
constexpr int EdgeScrollReach = 24;
constexpr int EdgeScrollIntervalMs = 16;
constexpr int EdgeScrollMaxStep = 12;

} // namespace

RowReorderGesture::RowReorderGesture(GoalList *list)
    : QObject(list)
    , m_list(list)
    , m_edgeScroll(new QTimer(this))
{
    // While a row is held the list grabs the pointer, so the rest of the gesture arrives at the list itself.
    list->installEventFilter(this);
    // Driven by a timer rather than by pointer moves: a pointer held still at the edge keeps scrolling.
    m_edgeScroll->setInterval(EdgeScrollIntervalMs);
    connect(m_edgeScroll, &QTimer::timeout, this, &RowReorderGesture::scrollTowardsEdge);
}

void RowReorderGesture::watch(QObject *object)
{
    object->installEventFilter(this);
    for (QObject *child : object->children()) {
        if (child->isWidgetType())
            watch(child);
    }
}

void RowReorderGesture::forget(const QUuid &id)
{
    if (m_draggedId == id)
        end(false);
    if (m_pressedId == id)
        m_pressedId.reset();
}

bool RowReorderGesture::isControl(QObject *object) const
{
    // Presses on the checkbox, the delete glyph or an open editor belong to them, never to a reorder.
    for (; object && object->parent() != m_list; object = object->parent()) {
        if (qobject_cast<QAbstractButton *>(object) || qobject_cast<QLineEdit *>(object))
            return true;
    }
    return false;
}

bool RowReorderGesture::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list) {
        if (!m_draggedId || (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonRelease))
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseMove) {
            followPointer(mouse->globalPosition());
            return true;
        }
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_dragPointer = mouse->globalPosition();
        m_dropIndex = dropIndexAt(mouse->position().y());
        end(true);
        return true;
    }

    switch (event->type()) {
    case QEvent::ChildAdded: {
        // Rows build parts of themselves later (the editor, for one); those are watched too.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watch(child);
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || m_draggedId)
            break;
        const TodoRowView *row = m_list->rowContaining(watched);
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
        begin();
        followPointer(mouse->globalPosition());
        m_list->update();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_draggedId)
            m_pressedId.reset();
        break;
    default:
        break;
    }
    return false;
}

void RowReorderGesture::begin()
{
    m_draggedId = m_pressedId;
    m_pressedId.reset();
    // The grab keeps the rest of the gesture on the list: the row under the pointer never sees the release, so
    // a drag that started on a goal's text does not also open its editor.
    m_list->grabMouse();
    auto *fade = new QGraphicsOpacityEffect;
    fade->setOpacity(DraggedRowOpacity);
    m_list->row(*m_draggedId)->setGraphicsEffect(fade);
}

void RowReorderGesture::end(bool drop)
{
    if (!m_draggedId)
        return;
    const QUuid id = *m_draggedId;
    m_draggedId.reset();
    m_edgeScroll->stop();
    m_list->releaseMouse();
    if (TodoRowView *row = m_list->row(id))
        row->setGraphicsEffect(nullptr);
    m_list->update();

    const auto source = int(m_list->order().indexOf(id));
    if (drop && source >= 0 && dropMoves(source))
        emit moveRequested({ source }, m_dropIndex);
}

void RowReorderGesture::followPointer(QPointF globalPosition)
{
    m_dragPointer = globalPosition;
    updateDropIndex();
    if (edgeScrollStep() != 0 && !m_edgeScroll->isActive())
        m_edgeScroll->start();
}

void RowReorderGesture::updateDropIndex()
{
    const int index = dropIndexAt(m_list->mapFromGlobal(m_dragPointer).y());
    if (index != m_dropIndex) {
        m_dropIndex = index;
        m_list->update();
    }
}

int RowReorderGesture::edgeScrollStep() const
{
    const QRect shown = m_list->visibleRegion().boundingRect();
    if (shown.isEmpty() || shown.height() >= m_list->height())
        return 0;
    const qreal y = m_list->mapFromGlobal(m_dragPointer).y();
    const auto step = [](qreal depth) {
        return int(std::ceil(EdgeScrollMaxStep * std::clamp<qreal>(depth, 0, EdgeScrollReach) / EdgeScrollReach));
    };
    if (y < shown.top() + EdgeScrollReach && shown.top() > 0)
        return -std::max(1, step(shown.top() + EdgeScrollReach - y));
    if (y > shown.bottom() - EdgeScrollReach && shown.bottom() < m_list->height() - 1)
        return std::max(1, step(y - (shown.bottom() - EdgeScrollReach)));
    return 0;
}

void RowReorderGesture::scrollTowardsEdge()
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

int RowReorderGesture::dropIndexAt(qreal y) const
{
    // In front of the first row whose middle lies below the pointer.
    int index = 0;
    for (const QUuid &id : m_list->order()) {
        if (m_list->rowTop(id) + m_list->rowHeight(id) / 2.0 > y)
            break;
        ++index;
    }
    return index;
}

bool RowReorderGesture::dropMoves(int source) const
{
    return m_dropIndex != source && m_dropIndex != source + 1;
}

std::optional<int> RowReorderGesture::dropLineY() const
{
    const QList<QUuid> &order = m_list->order();
    if (!m_draggedId || order.isEmpty())
        return std::nullopt;
    if (!dropMoves(int(order.indexOf(*m_draggedId))))
        return std::nullopt;
    if (m_dropIndex < order.size())
        return m_list->rowTop(order.at(m_dropIndex));
    const QUuid &last = order.constLast();
    return m_list->rowTop(last) + m_list->rowHeight(last);
}
