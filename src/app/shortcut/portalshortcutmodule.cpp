// SPDX-License-Identifier: GPL-3.0-or-later

#include "portalshortcutmodule.h"

#include "app/runtimemodule.h"

PortalShortcutModule *PortalShortcutModule::load(QString *error)
{
    static PortalShortcutModule *module = nullptr;
    if (!module)
        module = RuntimeModule::load<PortalShortcutModule>(
            QStringLiteral(MIREL_PORTAL_MODULE_NAME), QStringLiteral(MIREL_PORTAL_MODULE_INSTALLED), error);
    return module;
}
