// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QSizeF>
#include <QUuid>

#include <optional>

class AddArea;
class GoalList;
class PanelHeader;
class QScrollArea;
class QWidget;

// Stacks the header, the goal list and the add area without gaps inside the root view, and works out the
// size the whole content wants. Placing a row can make it report a new height, so a layout runs its passes
// until the heights settle; many rows settling in one turn (a long list just shown) share one layout.
class ContentLayout final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContentLayout)

public:
    ContentLayout(QWidget *view, PanelHeader *header, GoalList *list, QScrollArea *listScroll, AddArea *addArea);

    // The goals the list shows, in order.
    void setGoals(QList<QUuid> ids) { m_goals = std::move(ids); }
    // Lays out now; a request from inside a running layout becomes one more of its passes.
    void run();
    // Lays out on the next turn of the event loop, once for all the requests of this turn.
    void schedule();
    // The window has given the view a size: from now on sizes are reported, and a short window shows less.
    void viewResized();

    QRect contentRect() const { return m_contentRect; }

signals:
    // The size of the whole content, also when the window is too short to show all of the list.
    void wantedSizeChanged(QSizeF size);
    // The area the content fills, from the top-left corner.
    void contentRectChanged(QRect rect);

private:
    void placeOnce();
    int contentWidth() const;

    QWidget *m_view = nullptr;
    PanelHeader *m_header = nullptr;
    GoalList *m_list = nullptr;
    QScrollArea *m_listScroll = nullptr;
    AddArea *m_addArea = nullptr;
    QList<QUuid> m_goals;

    QRect m_contentRect;
    QSize m_wantedSize;
    // Nothing is reported before the window has sized the view: before that there is no window to fit.
    bool m_hasBeenSized = false;
    std::optional<QSizeF> m_reportedSize;
    std::optional<QRect> m_reportedRect;
    bool m_isRunning = false;
    bool m_needsAnotherPass = false;
    bool m_isScheduled = false;
};
