// SPDX-License-Identifier: GPL-3.0-or-later

#include "rowreordergesture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChildEvent>
#include <QGraphicsOpacityEffect>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

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

RowReorderGesture::RowReorderGesture(QWidget *list)
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

void RowReorderGesture::watch(QWidget *row, const QUuid &id)
{
    m_rows.insert(id, row);
    watchTree(row);
}

void RowReorderGesture::watchTree(QObject *object)
{
    object->installEventFilter(this);
    for (QObject *child : object->children()) {
        if (child->isWidgetType())
            watchTree(child);
    }
}

void RowReorderGesture::forget(const QUuid &id)
{
    m_rows.remove(id);
    if (m_draggedId == id)
        endDrag(false);
    if (m_pressedId == id)
        m_pressedId.reset();
}

std::optional<QUuid> RowReorderGesture::rowIdOf(QObject *object) const
{
    while (object && object->parent() != m_list)
        object = object->parent();
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (object && it.value() == object)
            return it.key();
    }
    return std::nullopt;
}

qsizetype RowReorderGesture::indexOf(const QUuid &id) const
{
    const auto it
        = std::find_if(m_spans.cbegin(), m_spans.cend(), [&id](const GoalSpan &span) { return span.id == id; });
    return it == m_spans.cend() ? -1 : it - m_spans.cbegin();
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
        endDrag(true);
        return true;
    }

    switch (event->type()) {
    case QEvent::ChildAdded: {
        // Rows build parts of themselves later (the editor, for one); those are watched too.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watchTree(child);
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || m_draggedId)
            break;
        const std::optional<QUuid> id = rowIdOf(watched);
        if (id && !isControl(watched)) {
            m_pressedId = id;
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
        beginDrag();
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

void RowReorderGesture::beginDrag()
{
    m_draggedId = m_pressedId;
    m_pressedId.reset();
    // The grab keeps the rest of the gesture on the list: the row under the pointer never sees the release, so
    // a drag that started on a goal's text does not also open its editor.
    m_list->grabMouse();
    auto *fade = new QGraphicsOpacityEffect;
    fade->setOpacity(DraggedRowOpacity);
    m_rows.value(*m_draggedId)->setGraphicsEffect(fade);
}

void RowReorderGesture::endDrag(bool drop)
{
    if (!m_draggedId)
        return;
    const QUuid id = *m_draggedId;
    m_draggedId.reset();
    m_edgeScroll->stop();
    m_list->releaseMouse();
    if (QWidget *row = m_rows.value(id))
        row->setGraphicsEffect(nullptr);
    m_list->update();

    const auto source = int(indexOf(id));
    // The drop index counts the gaps between rows, so a gap below the goal is one more than the places it moves.
    if (drop && source >= 0 && dropMoves(source))
        emit moveRequested(id, (m_dropIndex > source ? m_dropIndex - 1 : m_dropIndex) - source);
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
    for (const GoalSpan &span : m_spans) {
        if (span.top + span.height / 2.0 > y)
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
    if (!m_draggedId || m_spans.isEmpty())
        return std::nullopt;
    if (!dropMoves(int(indexOf(*m_draggedId))))
        return std::nullopt;
    if (m_dropIndex < m_spans.size())
        return m_spans.at(m_dropIndex).top;
    const GoalSpan &last = m_spans.constLast();
    return last.top + last.height;
}
