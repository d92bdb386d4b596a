// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtimemodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

namespace RuntimeModule
{

QFunctionPointer resolve(const QString &fileName, const QString &installedPath, const char *symbol, QString *error)
{
    const QDir executableFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).dir();
    const QStringList candidates = { executableFolder.filePath(fileName), executableFolder.filePath(installedPath) };
    QStringList failures;
    for (const QString &path : candidates) {
        if (!QFile::exists(path))
            continue;
        // QLibrary keeps the module loaded for the life of the process.
        QLibrary module(path);
        if (const QFunctionPointer function = module.resolve(symbol))
            return function;
        failures.append(module.errorString());
    }
    *error = failures.isEmpty()
        ? QCoreApplication::translate("RuntimeModule", "the module %1 is missing").arg(candidates.constLast())
        : failures.join(QStringLiteral("; "));
    return nullptr;
}

} // namespace RuntimeModule
