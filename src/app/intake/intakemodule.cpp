// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakemodule.h"

#include "app/runtimemodule.h"

IntakeModule *IntakeModule::load(QString *error)
{
    return RuntimeModule::loadOnce<IntakeModule>(
        QStringLiteral(MIREL_INTAKE_MODULE_NAME), QStringLiteral(MIREL_INTAKE_MODULE_INSTALLED), error);
}
