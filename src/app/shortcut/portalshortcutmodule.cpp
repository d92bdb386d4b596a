// SPDX-License-Identifier: GPL-3.0-or-later

#include "portalshortcutmodule.h"

#include "app/runtimemodule.h"

PortalShortcutModule *PortalShortcutModule::load(QString *error)
{
    return RuntimeModule::loadOnce<PortalShortcutModule>(
        QStringLiteral(MIREL_PORTAL_MODULE_NAME), QStringLiteral(MIREL_PORTAL_MODULE_INSTALLED), error);
}
