// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/newgoalshortcut.h"

#include <QString>
#include <QStringList>

#include <optional>

// GNOME's Wayland session lets no program take a key for itself, but its settings daemon runs commands for
// the custom shortcuts of its keyboard settings. This writes one of those that runs `mirel --new-goal`, under
// a settings path of Mirel's own, so that the person's own custom shortcuts are never touched, and takes it
// out again. It speaks through the gsettings command, which the GNOME desktop always has, so the panel links
// no D-Bus for it.
class GnomeKeybinding final
{
public:
    // `command` is what the shortcut runs.
    explicit GnomeKeybinding(QString command);

    // The combination of Mirel's shortcut in GNOME's settings; nothing while there is none.
    std::optional<NewGoalShortcut> installed() const;
    // Adds Mirel's shortcut, or changes its combination, keeping every other custom shortcut. Empty on
    // success, otherwise why it failed.
    QString install(const NewGoalShortcut &shortcut) const;
    // Takes Mirel's shortcut out, and only it.
    QString remove() const;

    // GSettings' text form of a list of strings, as gsettings prints and reads it.
    static std::optional<QStringList> parseStringList(QStringView text);
    static QString stringListText(const QStringList &strings);
    static QString stringText(const QString &string);

private:
    QString m_command;
};
