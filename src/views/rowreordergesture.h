#pragma once

#include <QObject>
#include <QPointF>
#include <QSet>
#include <QUuid>

#include <optional>

class GoalList;
class QTimer;

// Drag-to-reorder on a list's rows. A left press on a row, away from its controls, that moves past the drag
// distance picks the row up; the list then holds the pointer, and the release drops the row in front of the first
// row whose middle lies below it. Held near an edge of the part of the list on screen, the drag asks for a scroll.
class RowReorderGesture final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowReorderGesture)

public:
    explicit RowReorderGesture(GoalList *list);

    // Watches `object`, its widget children and the ones it gains later for presses that may start a drag.
    void watch(QObject *object);
    bool isDragging() const { return m_draggedId.has_value(); }
    // The goal is leaving the list: a press or drag on it ends, dropping nothing.
    void forget(const QUuid &id);
    // Where the drop line goes for the current drop index; nothing when that drop would leave the order as it is.
    std::optional<int> dropLineY() const;

signals:
    // Source offsets and the destination offset, both counted in the list before the move.
    void moveRequested(const QSet<int> &sourceOffsets, int destinationOffset);
    void scrollRequested(int dy);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isControl(QObject *object) const;
    void begin();
    void end(bool drop);
    int dropIndexAt(qreal y) const;
    // Whether dropping the row at `source` at the current drop index changes the order: dropping it just above
    // or just below itself leaves the order as it is.
    bool dropMoves(int source) const;
    // The scroll step for the pointer where the drag last left it: towards the nearer edge of the shown part
    // of the list while the pointer is within reach of it, 0 elsewhere.
    int edgeScrollStep() const;
    void followPointer(QPointF globalPosition);
    void updateDropIndex();
    void scrollTowardsEdge();

    GoalList *m_list = nullptr;
    std::optional<QUuid> m_pressedId;
    QPointF m_pressPosition;
    std::optional<QUuid> m_draggedId;
    int m_dropIndex = 0;
    QPointF m_dragPointer;
    QTimer *m_edgeScroll = nullptr;
};
