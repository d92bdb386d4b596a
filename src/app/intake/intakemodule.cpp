// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakemodule.h"

#include "app/runtimemodule.h"

namespace IntakeModule
{

const EntryPoints *load(QString *error)
{
    static const EntryPoints *entryPoints = nullptr;
    if (!entryPoints)
        entryPoints = RuntimeModule::entryPoints<EntryPoints>(QStringLiteral(MIREL_INTAKE_MODULE_NAME),
            QStringLiteral(MIREL_INTAKE_MODULE_INSTALLED), "mirelIntakeEntryPoints", error);
    return entryPoints;
}

} // namespace IntakeModule
