// SPDX-License-Identifier: GPL-3.0-or-later

#include "portalshortcutbinding.h"
#include "portalshortcutmodule.h"

namespace
{

std::unique_ptr<PortalShortcutModule::Binding> bind(
    const QString &preferredTrigger, const QString &description, PortalShortcutModule::Handlers handlers)
{
    return std::make_unique<PortalShortcutBinding>(preferredTrigger, description, std::move(handlers));
}

constexpr PortalShortcutModule::EntryPoints EntryPoints { .bind = &bind };

} // namespace

// Looked up by name when the module is loaded.
extern "C" Q_DECL_EXPORT const PortalShortcutModule::EntryPoints *mirelPortalEntryPoints()
{
    return &EntryPoints;
}
