// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakemodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

namespace
{

constexpr char EntryPointsSymbol[] = "mirelIntakeEntryPoints";

// Beside the executable in the build tree; in its library folder once installed.
QStringList moduleCandidates()
{
    const QDir executableFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).dir();
    return { executableFolder.filePath(QStringLiteral(MIREL_INTAKE_MODULE_NAME)),
        executableFolder.filePath(QStringLiteral(MIREL_INTAKE_MODULE_INSTALLED)) };
}

} // namespace

namespace IntakeModule
{

const EntryPoints *load(QString *error)
{
    static const EntryPoints *entryPoints = nullptr;
    if (entryPoints)
        return entryPoints;
    QStringList failures;
    for (const QString &path : moduleCandidates()) {
        if (!QFile::exists(path))
            continue;
        QLibrary module(path);
        using Function = const EntryPoints *(*)();
        if (const auto function = reinterpret_cast<Function>(module.resolve(EntryPointsSymbol))) {
            // QLibrary keeps the module loaded for the life of the process.
            entryPoints = function();
            return entryPoints;
        }
        failures.append(module.errorString());
    }
    *error = failures.isEmpty() ? QCoreApplication::translate("IntakeModule", "the intake module %1 is missing")
                                      .arg(moduleCandidates().constLast())
                                : failures.join(QStringLiteral("; "));
    return nullptr;
}

} // namespace IntakeModule
