// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "portalshortcutmodule.h"

#include <QObject>

// The portal module's root object, which the new-goal shortcut reaches through PortalShortcutModule.
class PortalShortcutPlugin final : public QObject, public PortalShortcutModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PortalShortcutModule_iid)
    Q_INTERFACES(PortalShortcutModule)
    Q_DISABLE_COPY_MOVE(PortalShortcutPlugin)

public:
    PortalShortcutPlugin() = default;

    std::unique_ptr<Binding> bind(
        const QString &preferredTrigger, const QString &description, Handlers handlers) override;
};
