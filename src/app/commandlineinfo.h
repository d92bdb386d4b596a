// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// `mirel --help`, `mirel --version` and a command line that asks for nothing the program knows: answered
// before anything opens a display or reaches a panel.
namespace CommandLineInfo
{

enum class Request { None, Help, Version, Misuse };

// The first help or version switch, each an exact whole argument, among the arguments before "--send",
// "--send-selection" or "--": after those every argument is text to send. Without one, Misuse when an
// argument is neither a switch of the program's nor one of Qt's, nor text after "--send".
Request requestIn(const QStringList &arguments);
// What is wrong with a Misuse command line and how to do it instead, one line each.
QString misuseText(const QStringList &arguments);
// Qt takes a value after its switches only as the next argument (except -style= and -stylesheet=); the
// arguments with "-platform=xcb" and the like spelled as two, or nothing when none is spelled so.
std::optional<QStringList> withQtValuesApart(const QStringList &arguments);

// One line per switch, in the translation of the application object's locale when one is installed.
QString helpText();
QString versionText();

} // namespace CommandLineInfo
