// SPDX-License-Identifier: GPL-3.0-or-later

#include "portalshortcutplugin.h"

#include "portalshortcutbinding.h"

std::unique_ptr<PortalShortcutModule::Binding> PortalShortcutPlugin::bind(
    const QString &preferredTrigger, const QString &description, Handlers handlers)
{
    return std::make_unique<PortalShortcutBinding>(preferredTrigger, description, std::move(handlers));
}
