// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelactions.h"

#include <QAction>
#include <QWidget>

PanelActions::PanelActions(QWidget *window)
    : QObject(window)
{
    const auto make = [this, window](const QString &text, const QList<QKeySequence> &shortcuts = {}) {
        auto *action = new QAction(text, this);
        action->setShortcuts(shortcuts);
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        return action;
    };
    // Named here rather than taken from QKeySequence::Undo and Redo, whose keys follow the desktop's theme:
    // the keys are the ones the manual promises.
    m_undo = make(QString(), { QKeySequence(Qt::CTRL | Qt::Key_Z) });
    m_redo = make(QString(), { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    m_newGoal = make(tr("New Goal"), { QKeySequence(Qt::CTRL | Qt::Key_N) });
    m_rename = make(QString());
    m_removeDoneGoals = make(tr("Remove Done Goals"));
    m_clearDoneGoalsEachDay = make(tr("Clear Done Goals Each Day"));
    m_clearDoneGoalsEachDay->setCheckable(true);
    m_openAtLogin = make(tr("Open at Login"));
    m_openAtLogin->setCheckable(true);
    // Not the shortcut of the action: the desktop delivers it from every program, not the panel's window.
    m_newGoalShortcut = make(QString());
    showNewGoalShortcut(ShortcutState::Off, QString());
    m_quit = make(tr("Quit Mirel"), { QKeySequence(Qt::CTRL | Qt::Key_Q) });
    m_syncWithCalendar = make(tr("Sync with a Calendar Server…"));
    m_syncNow = make(tr("Sync Now"));
    m_stopSyncing = make(tr("Stop Syncing"));
    showHistory(QString(), QString());
    showSyncing(false);
}

void PanelActions::showHistory(const QString &undoText, const QString &redoText)
{
    m_undo->setText(undoText.isEmpty() ? tr("Undo") : tr("Undo %1").arg(shownVerbatim(undoText)));
    m_undo->setEnabled(!undoText.isEmpty());
    m_redo->setText(redoText.isEmpty() ? tr("Redo") : tr("Redo %1").arg(shownVerbatim(redoText)));
    m_redo->setEnabled(!redoText.isEmpty());
}

void PanelActions::showTitle(const QString &title)
{
    m_rename->setText(tr("Rename “%1”…").arg(shownVerbatim(title)));
}

void PanelActions::showSyncing(bool connected)
{
    m_syncWithCalendar->setVisible(!connected);
    m_syncNow->setVisible(connected);
    m_stopSyncing->setVisible(connected);
}

void PanelActions::showNewGoalShortcut(ShortcutState state, const QString &combination)
{
    QString shown;
    switch (state) {
    case ShortcutState::Active:
        shown = combination;
        break;
    case ShortcutState::Off:
        shown = tr("Off");
        break;
    case ShortcutState::NotWorking:
        shown = tr("%1 unavailable").arg(combination);
        break;
    }
    // After a tab, QMenu shows the text where shortcuts go.
    m_newGoalShortcut->setText(tr("New Goal Shortcut…") + u'\t' + shownVerbatim(shown));
}

QString PanelActions::shownVerbatim(const QString &text)
{
    QString shown = text;
    shown.replace(u'&', QStringLiteral("&&"));
    return shown;
}
