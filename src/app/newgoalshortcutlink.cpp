// SPDX-License-Identifier: GPL-3.0-or-later

#include "newgoalshortcutlink.h"

#include "app/intake/intakemodule.h"
#include "app/x11/x11focus.h"
#include "shortcut/newgoalhotkey.h"
#include "shortcut/newgoalshortcutdialog.h"

#include <QCoreApplication>

#include <memory>
#include <utility>

void NewGoalShortcutLink::take(PanelSettings *settings)
{
    if (m_hotkey)
        return;
    m_hotkey
        = new NewGoalHotkey(settings, QCoreApplication::applicationFilePath() + QStringLiteral(" --new-goal"), this);
    connect(m_hotkey, &NewGoalHotkey::activated, this, &NewGoalShortcutLink::pressed);
    connect(m_hotkey, &NewGoalHotkey::stateChanged, this, &NewGoalShortcutLink::showState);
    m_hotkey->takeStored();
    if (!m_hotkey->isPending()) {
        tellOfDeadShortcut();
        return;
    }
    // The desktop answers a moment later; the first answer is worth the same word.
    auto answered = std::make_shared<QMetaObject::Connection>();
    *answered = connect(m_hotkey, &NewGoalHotkey::stateChanged, this, [this, answered] {
        if (m_hotkey->isPending())
            return;
        disconnect(*answered);
        tellOfDeadShortcut();
    });
}

void NewGoalShortcutLink::tellOfDeadShortcut()
{
    // At start, when the person would otherwise find the key dead; GNOME and the other compositors need the
    // person to set it up, which the dialog offers.
    const NewGoalHotkey::Desktop desktop = m_hotkey->desktop();
    if ((desktop != NewGoalHotkey::Desktop::X11 && desktop != NewGoalHotkey::Desktop::KdeWayland)
        || m_hotkey->isActive() || m_hotkey->problem().isEmpty())
        return;
    QString error;
    if (IntakeModule *intake = IntakeModule::load(&error))
        intake->showNotification(tr("The new-goal shortcut does not work"), m_hotkey->problem());
}

void NewGoalShortcutLink::showState()
{
    if (!m_hotkey)
        return;
    const std::optional<NewGoalShortcut> shortcut = m_hotkey->shortcut();
    using State = PanelActions::ShortcutState;
    const State state = !shortcut ? State::Off : m_hotkey->isActive() ? State::Active : State::NotWorking;
    emit stateChanged(state, shortcut ? shortcut->text() : QString());
}

void NewGoalShortcutLink::choose(PanelSettings *settings, QWidget *parent)
{
    take(settings);
    NewGoalShortcutDialog dialog(m_hotkey, parent);
    dialog.exec();
    showState();
}

void NewGoalShortcutLink::rememberKeyboardOwner(quint32 panelWindow)
{
    const quint32 active = X11Platform::activeWindow();
    if (active != 0 && active != panelWindow)
        m_keyboardCameFrom = active;
}

void NewGoalShortcutLink::giveKeyboardBack(bool dismissedByKey)
{
    const quint32 cameFrom = std::exchange(m_keyboardCameFrom, 0);
    if (dismissedByKey && cameFrom)
        X11Platform::activateOtherWindow(cameFrom, 0);
}
