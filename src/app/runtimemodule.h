// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

// The program's parts that only some runs need live in Qt plugins loaded when first used, so that the
// libraries behind them stay out of the panel's start.
namespace RuntimeModule
{

// The root object of the plugin `fileName`, looked for beside the executable (the build tree) and at
// `installedPath`, relative to the executable's folder. It stays loaded for the rest of the run. Nothing, with
// *error set, when neither has it.
QObject *instance(const QString &fileName, const QString &installedPath, QString *error);

// The plugin's `Interface` (declared with Q_DECLARE_INTERFACE), or nullptr with *error set.
template<typename Interface> Interface *load(const QString &fileName, const QString &installedPath, QString *error)
{
    QObject *root = instance(fileName, installedPath, error);
    auto *module = qobject_cast<Interface *>(root);
    if (root && !module)
        *error = QCoreApplication::translate("RuntimeModule", "the module %1 is not the one expected").arg(fileName);
    return module;
}

// The same, loaded by the first call that finds it and kept for the run: each interface has one module.
template<typename Interface> Interface *loadOnce(const QString &fileName, const QString &installedPath, QString *error)
{
    static Interface *module = nullptr;
    if (!module)
        module = load<Interface>(fileName, installedPath, error);
    return module;
}

} // namespace RuntimeModule
