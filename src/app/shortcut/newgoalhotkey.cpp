// SPDX-License-Identifier: GPL-3.0-or-later

#include "newgoalhotkey.h"

#include "app/logging.h"
#include "gnomekeybinding.h"
#include "model/panelsettings.h"

#include <QKeySequence>

#include <utility>

using X11Platform::GlobalKeyGrab;

NewGoalHotkey::NewGoalHotkey(PanelSettings *settings, QString command, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_command(std::move(command))
    , m_desktop(desktopOf(qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("WAYLAND_DISPLAY"),
          qEnvironmentVariable("XDG_CURRENT_DESKTOP")))
{
}

NewGoalHotkey::~NewGoalHotkey() = default;

NewGoalHotkey::Desktop NewGoalHotkey::desktopOf(
    const QString &sessionType, const QString &waylandDisplay, const QString &currentDesktop)
{
    // The panel itself runs on XWayland there, where a grab sees only the keys typed into X windows.
    if (waylandDisplay.isEmpty() && sessionType != QLatin1StringView("wayland"))
        return Desktop::X11;
    const QStringList desktops = currentDesktop.split(u':');
    if (desktops.contains(QLatin1StringView("GNOME")))
        return Desktop::GnomeWayland;
    if (desktops.contains(QLatin1StringView("KDE")))
        return Desktop::KdeWayland;
    return Desktop::OtherWayland;
}

std::optional<NewGoalShortcut> NewGoalHotkey::shortcut() const
{
    return m_settings->newGoalShortcut();
}

QString NewGoalHotkey::configurationLine(const NewGoalShortcut &shortcut) const
{
    return QStringLiteral("bindsym %1 exec %2").arg(shortcut.swayCombination(), m_command);
}

void NewGoalHotkey::takeStored()
{
    take(false);
}

void NewGoalHotkey::change(const std::optional<NewGoalShortcut> &shortcut)
{
    m_paused = false;
    m_settings->setNewGoalShortcut(shortcut);
    take(true);
}

void NewGoalHotkey::pause()
{
    // The desktop's own binding keeps its keys either way: a press while the dialog is open only does nothing.
    m_paused = true;
    letGo();
}

void NewGoalHotkey::resume()
{
    m_paused = false;
    if (m_desktop == Desktop::X11)
        take(false);
}

void NewGoalHotkey::take(bool writeDesktopSettings)
{
    letGo();
    const std::optional<NewGoalShortcut> chosen = shortcut();
    m_isActive = false;
    m_problem.clear();
    switch (m_desktop) {
    case Desktop::X11:
        if (chosen) {
            GlobalKeyGrab::Failure failure = GlobalKeyGrab::Failure::None;
            m_grab = GlobalKeyGrab::grab(chosen->modifiers(), chosen->key(), this, &failure);
            if (m_grab)
                connect(m_grab, &GlobalKeyGrab::pressed, this, &NewGoalHotkey::activated);
            else
                m_problem = grabFailure(failure, *chosen);
            if (!m_grab)
                qCWarning(lcMirel, "the new-goal shortcut does not work: %s", qPrintable(m_problem));
        }
        break;
    case Desktop::KdeWayland:
        // One binding for the run: the portal reads the combination only when its session is made, and keeps
        // the one the desktop holds from an earlier run, which the person changes in the system settings.
        if (!chosen)
            m_portal.reset();
        else if (!m_portal || !m_portalFailure.isEmpty())
            bindThroughPortal(*chosen);
        showPortalState();
        return;
    case Desktop::GnomeWayland: {
        const GnomeKeybinding gnome(m_command);
        if (writeDesktopSettings) {
            const QString failure = chosen ? gnome.install(*chosen) : gnome.remove();
            if (!failure.isEmpty()) {
                m_problem = tr("GNOME's keyboard settings could not be changed: %1.").arg(failure);
                qCWarning(lcMirel, "%s", qPrintable(m_problem));
            }
        }
        const std::optional<NewGoalShortcut> installed = gnome.installed();
        m_isActive = chosen && installed == chosen;
        if (chosen && !m_isActive && m_problem.isEmpty())
            m_problem = tr("GNOME lets no program take %1 for itself; Mirel can add it to GNOME's keyboard "
                           "shortcuts for you.")
                            .arg(chosen->text());
        break;
    }
    case Desktop::OtherWayland:
        if (chosen)
            m_problem = tr("This desktop lets no program take %1 for itself; add the line below to its "
                           "configuration.")
                            .arg(chosen->text());
        break;
    }
    m_isActive = m_isActive || m_grab;
    emit stateChanged();
}

void NewGoalHotkey::bindThroughPortal(const NewGoalShortcut &shortcut)
{
    m_portal.reset();
    m_portalAnswered = false;
    m_portalTrigger.clear();
    m_portalFailure.clear();
    PortalShortcutModule *portal = PortalShortcutModule::load(&m_portalFailure);
    if (!portal) {
        m_portalAnswered = true;
        return;
    }
    m_portal = portal->bind(shortcut.portalTrigger(), tr("New goal"),
        { .bound =
                [this](const QString &trigger) {
                    m_portalAnswered = true;
                    m_portalTrigger = trigger;
                    showPortalState();
                },
            .failed =
                [this](const QString &failure) {
                    m_portalAnswered = true;
                    m_portalFailure = failure;
                    showPortalState();
                },
            .activated =
                [this] {
                    if (!m_paused)
                        emit activated(0);
                } });
}

void NewGoalHotkey::showPortalState()
{
    m_isActive = false;
    m_problem.clear();
    const std::optional<NewGoalShortcut> chosen = shortcut();
    if (chosen && m_portalAnswered) {
        if (!m_portalFailure.isEmpty()) {
            m_problem = tr("%1 cannot be taken through the desktop portal: %2.").arg(chosen->text(), m_portalFailure);
        } else if (m_portalTrigger.isEmpty()) {
            m_problem = tr("KDE Plasma gave %1 to none of Mirel's shortcuts, as another shortcut may hold it; "
                           "choose one for “mirel” in System Settings, under Shortcuts.")
                            .arg(chosen->text());
        } else {
            m_isActive = true;
            const QKeySequence wanted(QKeyCombination(chosen->modifiers(), chosen->key()));
            if (QKeySequence(m_portalTrigger, QKeySequence::NativeText) != wanted)
                m_problem = tr("KDE Plasma keeps %1 for this shortcut; change it for “mirel” in System Settings, "
                               "under Shortcuts.")
                                .arg(m_portalTrigger);
        }
        if (!m_problem.isEmpty())
            qCWarning(lcMirel, "the new-goal shortcut: %s", qPrintable(m_problem));
    }
    emit stateChanged();
}

void NewGoalHotkey::letGo()
{
    delete std::exchange(m_grab, nullptr);
}

QString NewGoalHotkey::grabFailure(GlobalKeyGrab::Failure failure, const NewGoalShortcut &shortcut)
{
    switch (failure) {
    case GlobalKeyGrab::Failure::TakenByAnotherProgram:
        return tr("%1 is already taken by another program; choose another shortcut.").arg(shortcut.text());
    case GlobalKeyGrab::Failure::NoSuchKey:
        return tr("%1 has no key on this keyboard; choose another shortcut.").arg(shortcut.text());
    case GlobalKeyGrab::Failure::NotX11:
    case GlobalKeyGrab::Failure::None:
        break;
    }
    return tr("%1 cannot be taken on this desktop.").arg(shortcut.text());
}
