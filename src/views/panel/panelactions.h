// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAction;
class QWidget;

// The commands a person gives the panel, each made once with its shortcut and shared by the panel menu and the
// keys. The shortcuts act while the panel window is active; an open text field keeps its own Ctrl+Z.
class PanelActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelActions)

public:
    // Owned by the window, which takes the actions' shortcuts.
    explicit PanelActions(QWidget *window);

    QAction *undo() const { return m_undo; }
    QAction *redo() const { return m_redo; }
    QAction *newGoal() const { return m_newGoal; }
    QAction *rename() const { return m_rename; }
    QAction *removeDoneGoals() const { return m_removeDoneGoals; }
    QAction *clearDoneGoalsEachDay() const { return m_clearDoneGoalsEachDay; }
    QAction *openAtLogin() const { return m_openAtLogin; }
    QAction *newGoalShortcut() const { return m_newGoalShortcut; }
    QAction *quit() const { return m_quit; }
    QAction *syncWithCalendar() const { return m_syncWithCalendar; }
    QAction *syncNow() const { return m_syncNow; }
    QAction *stopSyncing() const { return m_stopSyncing; }

    // Undo and redo name the step they would take on, and are disabled while there is none (empty text).
    void showHistory(const QString &undoText, const QString &redoText);
    // The rename item reads Rename “title”….
    void showTitle(const QString &title);
    // The new-goal shortcut item shows the combination that works, that it is off, or that it does not work.
    enum class ShortcutState { Active, Off, NotWorking };
    void showNewGoalShortcut(ShortcutState state, const QString &combination);

    // The text as QMenu shows it: its ampersands doubled, so that none is taken for a mnemonic marker.
    // While a task list is connected the menu offers to sync now and to stop, else to connect one.
    void showSyncing(bool connected);

    static QString shownVerbatim(const QString &text);

private:
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_newGoal = nullptr;
    QAction *m_rename = nullptr;
    QAction *m_removeDoneGoals = nullptr;
    QAction *m_clearDoneGoalsEachDay = nullptr;
    QAction *m_openAtLogin = nullptr;
    QAction *m_newGoalShortcut = nullptr;
    QAction *m_quit = nullptr;
    QAction *m_syncWithCalendar = nullptr;
    QAction *m_syncNow = nullptr;
    QAction *m_stopSyncing = nullptr;
};
