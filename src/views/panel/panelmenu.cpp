// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelmenu.h"

#include "menucheckstyle.h"
#include "panelactions.h"

PanelMenu::PanelMenu(const PanelActions &actions, QWidget *parent)
    : QMenu(parent)
{
    addAction(actions.undo());
    addAction(actions.redo());
    addSeparator();
    addAction(actions.newGoal());
    addAction(actions.rename());
    addSeparator();
    addAction(actions.removeDoneGoals());
    addAction(actions.clearDoneGoalsEachDay());
    addSeparator();
    addAction(actions.openAtLogin());
    addAction(actions.newGoalShortcut());
    new MenuCheckStyle(this);
    addSeparator();
    addAction(actions.syncWithCalendar());
    addAction(actions.syncNow());
    addAction(actions.stopSyncing());
    addSeparator();
    addAction(actions.quit());
    // An item pressed by a screen reader leaves Qt's menu open, where the next click would land on an item.
    connect(this, &QMenu::triggered, this, &QMenu::close);
}
