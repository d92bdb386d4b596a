// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "listgeometry.h"
#include "model/todoitem.h"

#include <QAccessible>
#include <QHash>
#include <QList>
#include <QRect>
#include <QSet>
#include <QUuid>
#include <QWidget>

#include <optional>

class RowsByGoal;
class QKeyEvent;
class RowReorderGesture;
class RowSlide;
class TodoRowView;

// The goals in list order, stacked without gaps. A goal gets its row (retained by goal id, with its editing and
// hover state) only once it comes near the part of the list on screen, or the keyboard or a screen reader
// reaches it: a long list costs what it shows. Until its row has been measured a goal counts the height of a
// one-line row. Rows can be dragged to a new place; a drop reports the move in the store's offsets. It never
// reaches the store itself, nor scrolls itself: a drag held near the shown part's top or bottom edge asks the
// enclosing view to scroll.
class GoalList final : public QWidget, private QAccessible::ActivationObserver
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalList)

public:
    explicit GoalList(QWidget *parent = nullptr);
    ~GoalList() override;

    // Keeps the row of every goal still listed (with its editing and hover state) and drops the rows of removed
    // ones; new goals get rows at the next layout. With `animated`, rows that change place slide there on the
    // list spring at the next layout and ticked checkboxes swap with their animation. Goals the person added here
    // to a list already shown are brought into view by the next layout: the last of them is revealed. A change from
    // elsewhere keeps the goal at the top of the shown part where it is.
    void setTodos(const QList<TodoItem> &todos, bool animated,
        ListGeometry::ChangedBy changedBy = ListGeometry::ChangedBy::ThisPanel);

    // The goal's row, or null while the goal has none.
    TodoRowView *row(const QUuid &id) const;

    void setPanelHovered(bool hovered);
    void setHoverFade(qreal fade);

    // Gives rows to the goals within `shownHeight` of the part of the list on screen (and to the first, the
    // last and the neighbours of the focused one, which the keyboard reaches next), measures every row at the
    // list width `width` and places the rows top to bottom.
    void layoutRows(int width, int shownHeight);
    // The height of all goals, as of the last layout.
    int listHeight() const { return m_geometry.listHeight(); }
    // Once after a layout: how far to scroll so that what was on screen stays there although rows above it
    // changed height when they were measured.
    int takeScrollCorrection() { return m_geometry.takeScrollCorrection(); }
    // Once after a layout: the row to bring into view, in list coordinates.
    std::optional<QRect> takeReveal();

    // Gives the keyboard focus to the checkbox of the goal at `index` in list order, drawing its focus ring.
    // Returns false when there is no such goal.
    bool focusGoal(qsizetype index, Qt::FocusReason reason = Qt::TabFocusReason);
    qsizetype goalCount() const { return m_geometry.order().size(); }
    // The widgets that take the keyboard focus, in list order.
    QWidgetList focusChain() const;
    // Ends any row's open edit without its text going anywhere.
    void dropEdit();

signals:
    // What the person did to a goal's row.
    void toggleRequested(const QUuid &id);
    void textUpdated(const QUuid &id, const QString &text);
    void deleteRequested(const QUuid &id);
    // The focused goal went away and no goal is left to take the focus.
    void focusLeftList();
    // A goal to move that many places down (up when negative): a row dropped in a new place, or Alt+Up (-1) and
    // Alt+Down (+1) on it. By id: keys can come faster than the list shows each move.
    void moveRequested(const QUuid &id, int places);
    // A reorder drag is held near an edge of the part of the list on screen: scroll by `dy` pixels.
    void scrollRequested(int dy);
    // A row's height for its width changed, or goals without rows came into view; the list wants laying out
    // again.
    void layoutWanted();
    // Rows were made for goals that had none; the keyboard's order through the panel takes them in.
    void rowsCreated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // A screen reader that starts while the panel runs hears every goal.
    void accessibilityActiveChanged(bool active) override;
    // The row of the goal at `index`, made and put in its place when the goal has none.
    TodoRowView *materialize(qsizetype index);
    TodoRowView *createRow(const TodoItem &todo);
    // Whether a goal that needs its row has none yet.
    bool lacksWantedRows() const;
    qsizetype focusedIndex() const;
    void placeRows();
    // A key on a goal that has the keyboard focus, as `GoalKeys` reads it; false where it means nothing here.
    bool handleKey(const TodoRowView *row, const QKeyEvent *event);

    QList<TodoItem> m_todos;
    ListGeometry m_geometry;

    int m_rowWidth = 0;
    RowsByGoal *m_rows = nullptr;
    RowSlide *m_slide = nullptr;
    RowReorderGesture *m_reorder = nullptr;
};
