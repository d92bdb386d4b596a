// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPoint>

class GoalList;
class GoalMenu;
class PanelSteps;
class TodaysList;
class QWidget;

// Which menu a secondary click or the menu keys open, and what a goal's own menu does: the goal's menu for its
// row, except while the row is being edited, and the panel menu, which the application builds, everywhere else.
class ContextMenus final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContextMenus)

public:
    // Owned by `view`, which also holds the goal menu.
    ContextMenus(QWidget *view, GoalList *list, TodaysList *today, PanelSteps *steps);

    GoalMenu *goalMenu() const { return m_goalMenu; }
    // The menu for a row at or around `target`, a widget of the view.
    void request(const QPoint &globalPosition, QWidget *target);

signals:
    void panelMenuRequested(const QPoint &globalPosition);

private:
    QWidget *m_view = nullptr;
    GoalList *m_list = nullptr;
    GoalMenu *m_goalMenu = nullptr;
};
