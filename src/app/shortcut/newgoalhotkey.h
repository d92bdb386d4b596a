// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/x11/globalkeygrab.h"
#include "model/newgoalshortcut.h"
#include "portalshortcutmodule.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class PanelSettings;

// The one shortcut that gives the panel the keyboard in adding mode from any program, taken the way the
// desktop allows: grabbed from the X server, bound through the desktop portal in KDE Plasma, written into
// GNOME's keyboard settings, or left to the person where a compositor lets no program take keys (the line for
// its configuration is then shown). The stored preference says which combination, or that it is switched off.
class NewGoalHotkey final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewGoalHotkey)

public:
    enum class Desktop { X11, KdeWayland, GnomeWayland, OtherWayland };

    // `command` is what a desktop's own shortcut runs to reach the panel.
    NewGoalHotkey(PanelSettings *settings, QString command, QObject *parent = nullptr);
    ~NewGoalHotkey() override;

    // From the session's environment variables.
    static Desktop desktopOf(const QString &sessionType, const QString &waylandDisplay, const QString &currentDesktop);
    Desktop desktop() const { return m_desktop; }

    // The preference: nothing while switched off.
    std::optional<NewGoalShortcut> shortcut() const;
    // The shortcut works now.
    bool isActive() const { return m_isActive; }
    // Why the shortcut does not work, naming it, or which combination the desktop keeps for it instead of the
    // chosen one; empty while the chosen one works or it is switched off.
    QString problem() const { return m_problem; }
    // The desktop has not answered yet whether it takes the shortcut.
    bool isPending() const { return m_portal && !m_portalAnswered; }
    // For a compositor that lets no program take keys: what to add to its configuration for `shortcut`.
    QString configurationLine(const NewGoalShortcut &shortcut) const;

    // Takes the stored shortcut, as the program starts. Writes nothing into the desktop's settings.
    void takeStored();
    // Stores the person's choice and takes it, writing it into the desktop's settings where that is the way
    // (the person was asked first).
    void change(const std::optional<NewGoalShortcut> &shortcut);
    // Lets go of the keys while the person records a new combination, which would otherwise land here.
    void pause();
    void resume();

signals:
    // The shortcut was pressed, at this X server time (0 when unknown).
    void activated(quint32 userTime);
    void stateChanged();

private:
    void take(bool writeDesktopSettings);
    void bindThroughPortal(const NewGoalShortcut &shortcut);
    void showPortalState();
    void letGo();
    static QString grabFailure(X11Platform::GlobalKeyGrab::Failure failure, const NewGoalShortcut &shortcut);

    PanelSettings *m_settings = nullptr;
    QString m_command;
    Desktop m_desktop = Desktop::X11;
    X11Platform::GlobalKeyGrab *m_grab = nullptr;
    std::unique_ptr<PortalShortcutModule::Binding> m_portal;
    bool m_portalAnswered = false;
    // What the portal said: the combination the desktop gives the shortcut, or why it does not.
    QString m_portalTrigger;
    QString m_portalFailure;
    bool m_paused = false;
    bool m_isActive = false;
    QString m_problem;
};
