// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMenu>

class PanelActions;

// The panel's context menu: undo and redo, a new goal, rename the title, remove the done goals, clear them each
// day, switch Open at Login, the new-goal shortcut, quit. Its items are the panel's shared actions, brought up
// to date by whoever opens it; the menu itself keeps no state.
class PanelMenu final : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelMenu)

public:
    explicit PanelMenu(const PanelActions &actions, QWidget *parent = nullptr);
};
