// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakemodule.h"

#include "app/runtimemodule.h"

IntakeModule *IntakeModule::load(QString *error)
{
    static IntakeModule *module = nullptr;
    if (!module)
        module = RuntimeModule::load<IntakeModule>(
            QStringLiteral(MIREL_INTAKE_MODULE_NAME), QStringLiteral(MIREL_INTAKE_MODULE_INSTALLED), error);
    return module;
}
