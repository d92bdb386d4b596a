// SPDX-License-Identifier: GPL-3.0-or-later

#include "portalshortcutmodule.h"

#include "app/runtimemodule.h"

namespace PortalShortcutModule
{

const EntryPoints *load(QString *error)
{
    static const EntryPoints *entryPoints = nullptr;
    if (!entryPoints)
        entryPoints = RuntimeModule::entryPoints<EntryPoints>(QStringLiteral(MIREL_PORTAL_MODULE_NAME),
            QStringLiteral(MIREL_PORTAL_MODULE_INSTALLED), "mirelPortalEntryPoints", error);
    return entryPoints;
}

} // namespace PortalShortcutModule
