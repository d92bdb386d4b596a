// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFunctionPointer>
#include <QString>

// The program's parts that only some runs need live in modules loaded when first used, so that the libraries
// behind them stay out of the panel's start.
namespace RuntimeModule
{

// The function the module exports under `symbol`: the module is looked for beside the executable (the build
// tree) and at `installedPath`, relative to the executable's folder. It stays loaded for the rest of the run.
// Nothing, with *error set, when neither has it.
QFunctionPointer resolve(const QString &fileName, const QString &installedPath, const char *symbol, QString *error);

// The entry points a module's exported function gives, or nullptr with *error set.
template<typename EntryPoints>
const EntryPoints *entryPoints(
    const QString &fileName, const QString &installedPath, const char *symbol, QString *error)
{
    using Function = const EntryPoints *(*)();
    const auto function = reinterpret_cast<Function>(resolve(fileName, installedPath, symbol, error));
    return function ? function() : nullptr;
}

} // namespace RuntimeModule
