// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "listgeometry.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QUuid>

#include <optional>

class QTimer;
class QWidget;

// Drag-to-reorder on a list's rows. A left press on a row, away from its controls, that moves past the drag
// distance picks the row up; the list then holds the pointer, and the release drops the row in front of the first
// row whose middle lies below it. Held near an edge of the part of the list on screen, the drag asks for a scroll.
class RowReorderGesture final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowReorderGesture)

public:
    // `list` holds the rows as its direct children.
    explicit RowReorderGesture(QWidget *list);

    // The goal's row: it, its widget children and the ones it gains later are watched for presses that may
    // start a drag.
    void watch(QWidget *row, const QUuid &id);
    // The goal is leaving the list: a press or drag on it ends, dropping nothing.
    void forget(const QUuid &id);
    // Every goal in list order, whether or not it has a row, as of the list's last change or layout.
    void setGoalSpans(QList<GoalSpan> spans) { m_spans = std::move(spans); }
    // Where the drop line goes for the current drop index; nothing when that drop would leave the order as it is.
    std::optional<int> dropLineY() const;

signals:
    // Source offsets and the destination offset, both counted in the list before the move.
    void moveRequested(const QUuid &id, int places);
    void scrollRequested(int dy);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchTree(QObject *object);
    // The goal whose row `object` is part of, if any.
    std::optional<QUuid> rowIdOf(QObject *object) const;
    bool isControl(QObject *object) const;
    qsizetype indexOf(const QUuid &id) const;
    void beginDrag();
    void endDrag(bool drop);
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

    QWidget *m_list = nullptr;
    QHash<QUuid, QWidget *> m_rows;
    QList<GoalSpan> m_spans;
    std::optional<QUuid> m_pressedId;
    QPointF m_pressPosition;
    std::optional<QUuid> m_draggedId;
    int m_dropIndex = 0;
    QPointF m_dragPointer;
    QTimer *m_edgeScroll = nullptr;
};
