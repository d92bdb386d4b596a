// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtimemodule.h"

#include <QDir>
#include <QFile>
#include <QPluginLoader>

namespace RuntimeModule
{

QObject *instance(const QString &fileName, const QString &installedPath, QString *error)
{
    const QDir executableFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).dir();
    const QStringList candidates = { executableFolder.filePath(fileName), executableFolder.filePath(installedPath) };
    QStringList failures;
    for (const QString &path : candidates) {
        if (!QFile::exists(path))
            continue;
        // The loader is never unloaded: the module stays for the life of the process, and so does its root object.
        QPluginLoader module(path);
        if (QObject *root = module.instance())
            return root;
        failures.append(module.errorString());
    }
    *error = failures.isEmpty()
        ? QCoreApplication::translate("RuntimeModule", "the module %1 is missing").arg(candidates.constLast())
        : failures.join(QStringLiteral("; "));
    return nullptr;
}

} // namespace RuntimeModule
