// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarsyncmodule.h"

#include "app/runtimemodule.h"

namespace CalendarSyncModule
{

const EntryPoints *load(QString *error)
{
    static const EntryPoints *entryPoints = nullptr;
    if (!entryPoints)
        entryPoints = RuntimeModule::entryPoints<EntryPoints>(QStringLiteral(MIREL_SYNC_MODULE_NAME),
            QStringLiteral(MIREL_SYNC_MODULE_INSTALLED), "mirelSyncEntryPoints", error);
    return entryPoints;
}

} // namespace CalendarSyncModule
