#pragma once

#include "model/todoitem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QKeyEvent;
class RowReorderGesture;
class RowSlide;
class TodoRowView;

// The goals, one retained row per goal id in list order, stacked without gaps. Rows can be dragged to a new
// place; a drop reports the move in the store's offsets. It never reaches the store itself, nor scrolls
// itself: a drag held near the shown part's top or bottom edge asks the enclosing view to scroll.
class GoalList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalList)

public:
    struct Callbacks {
        std::function<void(const QUuid &)> onToggle;
        std::function<void(const QUuid &, const QString &)> onUpdateText;
        std::function<void(const QUuid &)> onDelete;
    };

    explicit GoalList(Callbacks callbacks, QWidget *parent = nullptr);

    // Keeps the row of every goal still listed (with its editing and hover state), adds rows for new goals
    // and drops the rows of removed ones. With `animated`, rows that change place slide there on the list
    // spring at the next layout and ticked checkboxes swap with their animation.
    void setTodos(const QList<TodoItem> &todos, bool animated);

    TodoRowView *row(const QUuid &id) const { return m_rows.value(id); }
    // The row that `object` is part of, if any.
    TodoRowView *rowContaining(QObject *object) const;
    const QList<QUuid> &order() const { return m_order; }
    // Where the goal's row starts in the list once any slide has settled.
    int rowTop(const QUuid &id) const { return m_rowTops.value(id); }

    void setPanelHovered(bool hovered);
    void setHoverFade(qreal fade);

    // Measures every row at the list width `width` and places the rows top to bottom. Returns each row's
    // measured height, in list order.
    QList<std::pair<QUuid, int>> layoutRows(int width);

    bool isReordering() const;

    // Gives the keyboard focus to the checkbox of the goal at `index` in list order, drawing its focus ring.
    // Returns false when there is no such goal.
    bool focusGoal(qsizetype index, Qt::FocusReason reason = Qt::TabFocusReason);
    qsizetype goalCount() const { return m_order.size(); }
    // The widgets that take the keyboard focus, in list order.
    QWidgetList focusChain() const;

signals:
    // The focused goal went away and no goal is left to take the focus.
    void focusLeftList();
    // Alt+Up (-1) or Alt+Down (+1) on a goal. By id: keys can come faster than the list shows each move.
    void moveByKeyRequested(const QUuid &id, int places);
    // A row dropped in a new place. Source offsets and the destination offset, both counted in the list before
    // the move.
    void moveRequested(const QSet<int> &sourceOffsets, int destinationOffset);
    // A reorder drag is held near an edge of the part of the list on screen: scroll by `dy` pixels.
    void scrollRequested(int dy);
    // A row's height for its width changed; the list wants laying out again.
    void rowHeightsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    TodoRowView *createRow(const TodoItem &todo);
    void placeRows();
    // Up, Down, Delete, F2, Return and Alt+Up/Down on a goal that has the keyboard focus.
    bool handleKey(const TodoRowView *row, const QKeyEvent *event);
    // The goal listed next to `id` that keeps the focus when `id` goes away.
    std::optional<QUuid> neighbourKept(const QUuid &id, const QSet<QUuid> &listed) const;

    Callbacks m_callbacks;
    QHash<QUuid, TodoRowView *> m_rows;
    QList<QUuid> m_order;
    bool m_isPanelHovered = false;
    qreal m_hoverFade = 0.0;

    QHash<QUuid, int> m_rowTops;
    RowSlide *m_slide = nullptr;
    RowReorderGesture *m_reorder = nullptr;
};
