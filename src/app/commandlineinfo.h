#pragma once

#include <QString>
#include <QStringList>

// `mirel --help` and `mirel --version`: answered on standard output before anything opens a display or
// reaches a panel.
namespace CommandLineInfo
{

enum class Request { None, Help, Version };

// The first help or version switch, each an exact whole argument, among the arguments before "--send",
// "--send-selection" or "--": after those every argument is text to send.
Request requestIn(const QStringList &arguments);

// One line per switch, in the translation of the application object's locale when one is installed.
QString helpText();
QString versionText();

} // namespace CommandLineInfo
