// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarsyncmodule.h"

#include "app/runtimemodule.h"

CalendarSyncModule *CalendarSyncModule::load(QString *error)
{
    return RuntimeModule::loadOnce<CalendarSyncModule>(
        QStringLiteral(MIREL_SYNC_MODULE_NAME), QStringLiteral(MIREL_SYNC_MODULE_INSTALLED), error);
}
