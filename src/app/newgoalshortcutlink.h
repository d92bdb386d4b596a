// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "views/panel/panelactions.h"

#include <QObject>
#include <QString>

class NewGoalHotkey;
class PanelSettings;
class QWidget;

// The desktop-wide new-goal shortcut over a run: taken once the panel is on screen, a shortcut that does not work
// told of once at start, its state shown on the menu's item, and chosen anew in its dialog. It keeps the window
// that had the keyboard when the shortcut brought the panel, which gets it back when the person leaves adding
// with a key.
class NewGoalShortcutLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewGoalShortcutLink)

public:
    using QObject::QObject;

    // The shortcut stored in `settings`, once; later calls change nothing.
    void take(PanelSettings *settings);
    // Tells the state again, for the menu's item.
    void showState();
    // The shortcut's dialog, over `parent`.
    void choose(PanelSettings *settings, QWidget *parent);
    // Read before the panel takes the keyboard; a second press while adding keeps the first window.
    void rememberKeyboardOwner(quint32 panelWindow);
    void giveKeyboardBack(bool dismissedByKey);

signals:
    void pressed(quint32 userTime);
    void stateChanged(PanelActions::ShortcutState state, const QString &combination);

private:
    void tellOfDeadShortcut();

    NewGoalHotkey *m_hotkey = nullptr;
    // 0 while there is none.
    quint32 m_keyboardCameFrom = 0;
};
