// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandlineinfo.h"

#include "app/intake/sendcommand.h"
#include "model/todoitem.h"
#include "start/launchoptions.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace
{

constexpr QStringView HelpArguments[] = { u"--help", u"-h" };
constexpr QStringView VersionArguments[] = { u"--version", u"-v" };
constexpr QStringView ModeArguments[] = { UiTestingArgument, ScreenshotBackdropArgument };
constexpr QStringView CommandArguments[] = { SendArgument, SendSelectionArgument, NewGoalArgument };

// The switches Qt 6.4 and its X11 platform take out of the command line themselves, each with "-" or "--".
constexpr QStringView QtSwitchesWithValue[] = { u"platform", u"platformpluginpath", u"platformtheme", u"plugin",
    u"qwindowgeometry", u"geometry", u"qwindowtitle", u"title", u"qwindowicon", u"icon", u"session", u"style",
    u"stylesheet", u"display", u"name", u"visual" };
constexpr QStringView QtFlags[] = { u"reverse", u"testability", u"nograb", u"dograb", u"widgetcount" };
// The only "=" forms Qt reads itself.
constexpr QStringView QtJoinedValues[] = { u"style", u"stylesheet", u"qmljsdebugger" };

struct SwitchHelp {
    QStringView synopsis;
    const char *description;
};

// Every switch the program knows, in the order the help lists them.
constexpr SwitchHelp Switches[] = {
    { u"--send [TEXT ...]", QT_TRANSLATE_NOOP("CommandLineInfo", "Add each TEXT (else each input line) as a goal") },
    { u"--send TEXT --remind-at TIME",
        QT_TRANSLATE_NOOP("CommandLineInfo", "Add the goals with a reminder at TIME: 15:00 or \"2026-12-10 09:00\"") },
    { u"--send-selection", QT_TRANSLATE_NOOP("CommandLineInfo", "Add each line of the selected text as a goal") },
    { u"--new-goal", QT_TRANSLATE_NOOP("CommandLineInfo", "Give the panel the keyboard to type a new goal") },
    { u"--connect-calendar URL --user NAME [--list NAME | --new-list NAME]",
        QT_TRANSLATE_NOOP("CommandLineInfo", "Sync the goals with a task list on a calendar server") },
    { u"--disconnect-calendar", QT_TRANSLATE_NOOP("CommandLineInfo", "Stop syncing; the goals stay here") },
    { u"--sync-status", QT_TRANSLATE_NOOP("CommandLineInfo", "Show the sync's state; exit 0 when in sync") },
    { u"--ui-testing", QT_TRANSLATE_NOOP("CommandLineInfo", "Run on emptied test settings, goals from UITEST_GOALS") },
    { u"--screenshot-backdrop",
        QT_TRANSLATE_NOOP("CommandLineInfo", "Centre the panel before a gradient, for screenshots") },
    { u"-h, --help", QT_TRANSLATE_NOOP("CommandLineInfo", "Show this help and exit") },
    { u"-v, --version", QT_TRANSLATE_NOOP("CommandLineInfo", "Show the version and exit") },
};

bool isOneOf(QStringView argument, const auto &names)
{
    return std::find(std::begin(names), std::end(names), argument) != std::end(names);
}

// A switch's name without its one or two leading dashes; empty for anything else.
QStringView qtName(QStringView argument)
{
    if (!argument.startsWith(u'-') || argument == u"-" || argument == EndOfSwitches)
        return {};
    return argument.sliced(argument.startsWith(EndOfSwitches) ? 2 : 1);
}

// How many arguments a Qt switch at the front of `rest` takes, its value included; 0 for none of Qt's.
qsizetype qtSwitchLength(QStringView argument)
{
    const QStringView name = qtName(argument);
    if (name.isEmpty())
        return 0;
    if (isOneOf(name, QtSwitchesWithValue))
        return 2;
    if (isOneOf(name, QtFlags))
        return 1;
    const qsizetype equals = name.indexOf(u'=');
    if (equals > 0 && (isOneOf(name.first(equals), QtSwitchesWithValue) || isOneOf(name.first(equals), QtJoinedValues)))
        return 1;
    return 0;
}

struct Problem final {
    // The argument that is neither a switch nor text after "--send", and what follows it.
    qsizetype at = -1;
    bool isSwitch = false;
};

Problem problemIn(const QStringList &arguments)
{
    bool switchesEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!switchesEnded && argument == SendArgument)
            return {};
        if (!switchesEnded && argument == EndOfSwitches) {
            switchesEnded = true;
            continue;
        }
        if (switchesEnded)
            return { i, false };
        if (isOneOf(argument, ModeArguments) || isOneOf(argument, CommandArguments) || isOneOf(argument, HelpArguments)
            || isOneOf(argument, VersionArguments))
            continue;
        if (const qsizetype length = qtSwitchLength(argument)) {
            i += length - 1;
            continue;
        }
        return { i, argument.startsWith(u'-') };
    }
    return {};
}

// A text as the shell reads it back: in double quotes when nothing in it is special there, else in single
// quotes. Printed to a terminal, so escape sequences are gone first.
QString quotedForShell(const QString &text)
{
    static const QRegularExpression special(QStringLiteral(R"([\\"$`!'])"));
    const QString printable = printableText(text);
    if (!printable.contains(special))
        return u'"' + printable + u'"';
    return u'\'' + QString(printable).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

} // namespace

namespace CommandLineInfo
{

Request requestIn(const QStringList &arguments)
{
    for (const QString &argument : arguments.sliced(std::min<qsizetype>(1, arguments.size()))) {
        if (isOneOf(argument, CommandArguments) || argument == EndOfSwitches)
            break;
        if (isOneOf(argument, HelpArguments))
            return Request::Help;
        if (isOneOf(argument, VersionArguments))
            return Request::Version;
    }
    return problemIn(arguments).at < 0 ? Request::None : Request::Misuse;
}

QString misuseText(const QStringList &arguments)
{
    const Problem problem = problemIn(arguments);
    if (problem.at < 0)
        return {};
    const QString argument = quotedForShell(arguments.at(problem.at));
    // A bare text was meant as a goal; so, most likely, were the texts after a mistyped switch.
    QStringList texts;
    for (const QString &text : arguments.sliced(problem.isSwitch ? problem.at + 1 : problem.at)) {
        if (text.startsWith(u'-'))
            break;
        texts.append(quotedForShell(text));
    }
    QString text = problem.isSwitch
        ? QCoreApplication::translate("CommandLineInfo", "mirel: unknown switch %1.").arg(argument)
        : QCoreApplication::translate("CommandLineInfo", "mirel: %1 is not a switch.").arg(argument);
    const QString sendExample = QStringLiteral("mirel --send ")
        + (texts.isEmpty() ? u'"' + QCoreApplication::translate("CommandLineInfo", "Call mom") + u'"'
                           : texts.join(u' '));
    text += u'\n' + QCoreApplication::translate("CommandLineInfo", "To add a goal: %1").arg(sendExample) + u'\n';
    text += QCoreApplication::translate("CommandLineInfo", "Every switch: %1").arg(QStringLiteral("mirel --help"))
        + u'\n';
    return text;
}

std::optional<QStringList> withQtValuesApart(const QStringList &arguments)
{
    std::optional<QStringList> apart;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (isOneOf(argument, CommandArguments) || argument == EndOfSwitches)
            break;
        const QStringView name = qtName(argument);
        const qsizetype equals = name.indexOf(u'=');
        if (equals <= 0 || isOneOf(name.first(equals), QtJoinedValues)
            || !isOneOf(name.first(equals), QtSwitchesWithValue))
            continue;
        if (!apart)
            apart = arguments;
        const qsizetype at = apart->size() - (arguments.size() - i);
        (*apart)[at] = u'-' + name.first(equals).toString();
        apart->insert(at + 1, name.sliced(equals + 1).toString());
    }
    return apart;
}

QString helpText()
{
    qsizetype synopsisWidth = 0;
    for (const SwitchHelp &entry : Switches)
        synopsisWidth = std::max(synopsisWidth, entry.synopsis.size());
    QString text = QCoreApplication::translate("CommandLineInfo", "Usage: mirel [SWITCH ...]") + u'\n'
        + QCoreApplication::translate("CommandLineInfo", "Keeps today's goals in a floating panel.")
        + QStringLiteral("\n\n");
    for (const SwitchHelp &entry : Switches)
        text += QStringLiteral("  ") + entry.synopsis.toString().leftJustified(synopsisWidth + 2)
            + QCoreApplication::translate("CommandLineInfo", entry.description) + u'\n';
    return text;
}

QString versionText()
{
    return QStringLiteral("mirel " MIREL_VERSION "\n");
}

} // namespace CommandLineInfo
