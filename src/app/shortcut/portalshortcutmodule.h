// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The desktop portal's global shortcuts, the way to a desktop-wide key in KDE Plasma under Wayland, live in a
// plugin loaded only there: every other desktop's start does without it.
class PortalShortcutModule
{
public:
    // One shortcut bound through the portal, for as long as it lives.
    class Binding
    {
    public:
        virtual ~Binding() = default;
    };

    struct Handlers {
        // The portal answered: the combination the desktop gives the shortcut, in the desktop's words (for
        // example "Ctrl+Alt+G"); empty where it gives it none.
        std::function<void(const QString &trigger)> bound;
        // The portal is missing, refused or did not answer, in words for the person.
        std::function<void(const QString &failure)> failed;
        std::function<void()> activated;
    };

    // The module, loaded on the first call; nullptr with *error set when it cannot be loaded.
    static PortalShortcutModule *load(QString *error);

    virtual ~PortalShortcutModule() = default;
    // `preferredTrigger` in the portal's form ("CTRL+ALT+G"); the desktop keeps one it already holds for it.
    virtual std::unique_ptr<Binding> bind(
        const QString &preferredTrigger, const QString &description, Handlers handlers)
        = 0;
};

#define PortalShortcutModule_iid "io.github.mirel.PortalShortcutModule/1.0"
Q_DECLARE_INTERFACE(PortalShortcutModule, PortalShortcutModule_iid)
