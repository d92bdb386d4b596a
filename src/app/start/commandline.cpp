// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include "commandlineswitches.h"

#include "model/todoitem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

using namespace CommandLineSwitches;
using namespace Qt::StringLiterals;

namespace
{

// The switches Qt 6.4 and its X11 platform take out of the command line themselves, each with "-" or "--".
constexpr QStringView QtSwitchesWithValue[] = { u"platform", u"platformpluginpath", u"platformtheme", u"plugin",
    u"qwindowgeometry", u"geometry", u"qwindowtitle", u"title", u"qwindowicon", u"icon", u"session", u"style",
    u"stylesheet", u"display", u"name", u"visual" };
constexpr QStringView QtFlags[] = { u"reverse", u"testability", u"nograb", u"dograb", u"widgetcount" };
// The only "=" forms Qt reads itself; the one not above takes its value in no other form.
constexpr QStringView QtJoinedValues[] = { u"style", u"stylesheet", u"qmljsdebugger" };
constexpr QStringView QtJoinedOnly = u"qmljsdebugger";

constexpr QStringView EndOfSwitches = u"--";

QCommandLineParser &declareEverySwitch(QCommandLineParser &parser)
{
    // As Qt spells its own ("-platform", "-style=fusion"); the program's are checked for their spelling first.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Declared &each : Switches) {
        QStringList names { each.name.toString() };
        if (!each.shortName.isEmpty())
            names.prepend(each.shortName.toString());
        parser.addOption(QCommandLineOption(names, QString(), each.valueName.toString()));
    }
    for (const QStringView name : QtSwitchesWithValue)
        parser.addOption(QCommandLineOption(name.toString(), QString(), u"value"_s));
    for (const QStringView name : QtFlags)
        parser.addOption(QCommandLineOption(name.toString()));
    parser.addOption(QCommandLineOption(QtJoinedOnly.toString(), QString(), u"value"_s));
    return parser;
}

// A switch's name without its one or two leading dashes and any "=value"; empty for anything else.
QStringView nameOf(QStringView argument)
{
    if (!argument.startsWith(u'-') || argument == u"-" || argument == EndOfSwitches)
        return {};
    const QStringView name = argument.sliced(argument.startsWith(EndOfSwitches) ? 2 : 1);
    return name.first(name.contains(u'=') ? name.indexOf(u'=') : name.size());
}

// How many arguments a switch the panel and the sending commands take spans, its value included; 0 for an
// argument that is none: an unknown name, a switch of the program's spelled otherwise than `--name` (or `-h`
// and `-v`), with a value it does not take, or one that belongs to the calendar commands.
qsizetype switchLength(QStringView argument)
{
    const QStringView name = nameOf(argument);
    if (name.isEmpty())
        return 0;
    const bool joined = name.size() < argument.size() - (argument.startsWith(EndOfSwitches) ? 2 : 1);
    if (const std::optional<Switch> own = switchNamed(name)) {
        const bool exact = argument == spelled(*own)
            || (!declared(*own).shortName.isEmpty() && argument == u'-' + declared(*own).shortName.toString());
        return exact && declared(*own).valueName.isEmpty() && !isOneOf(*own, CalendarSwitches) ? 1 : 0;
    }
    if (name == QtJoinedOnly)
        return joined ? 1 : 0;
    if (isOneOf(name, QtSwitchesWithValue))
        return joined ? 1 : 2;
    return isOneOf(name, QtFlags) && !joined ? 1 : 0;
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

std::optional<QStringList> qtValuesApart(const QStringList &arguments)
{
    std::optional<QStringList> apart;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (isSpelledOneOf(argument, CommandSwitches) || argument == EndOfSwitches)
            break;
        const QStringView name = nameOf(argument);
        if (name.size() == argument.size() - (argument.startsWith(EndOfSwitches) ? 2 : 1)
            || isOneOf(name, QtJoinedValues) || !isOneOf(name, QtSwitchesWithValue))
            continue;
        if (!apart)
            apart = arguments;
        const qsizetype at = apart->size() - (arguments.size() - i);
        (*apart)[at] = u'-' + name.toString();
        apart->insert(at + 1, argument.sliced(argument.indexOf(u'=') + 1));
    }
    return apart;
}

// `--connect-calendar`'s values, or nothing when they do not make the command.
std::optional<CalendarCommand> connectCommand(QCommandLineParser &parser, const QStringList &arguments)
{
    const bool read = parser.parse(arguments);
    const QStringList found = parser.optionNames();
    const auto valueOf = [&parser](Switch id) { return parser.value(declared(id).name.toString()); };
    const auto optionalValueOf = [&](Switch id) {
        return parser.isSet(declared(id).name.toString()) ? std::optional(valueOf(id)) : std::nullopt;
    };
    const CalendarCommand command { .action = CalendarCommand::Action::Connect,
        .address = valueOf(Switch::ConnectCalendar),
        .user = valueOf(Switch::User),
        .listName = optionalValueOf(Switch::List),
        .newListName = optionalValueOf(Switch::NewList),
        .trustedCertificate = valueOf(Switch::TrustCertificate) };
    const auto connecting = [](const QString &name) {
        const std::optional<Switch> own = switchNamed(name);
        return own && isOneOf(*own, ConnectSwitches);
    };
    if (!read || !parser.positionalArguments().isEmpty() || !std::all_of(found.cbegin(), found.cend(), connecting)
        || found.count(declared(Switch::ConnectCalendar).name.toString()) != 1 || command.address.startsWith(u'-')
        || command.user.isEmpty() || (command.listName && command.newListName))
        return std::nullopt;
    return command;
}

struct Sorted final {
    // The switches for the parser, after the program's name.
    QStringList switches = {};
    // `--send`'s texts.
    std::optional<QStringList> texts = {};
    // The first argument that is neither a switch nor a text to send.
    qsizetype amiss = -1;
};

// The parser itself would take "-help" for "--help" and read "--help=1" as help with a stray value, and it
// knows no texts that look like switches: each argument is checked against the declarations as spelled
// first, and only the switches that pass go to the parser. After "--send" the arguments are texts to send,
// whatever they look like, but for the run-mode switches and "--remind-at" before a "--".
Sorted sorted(const QStringList &arguments)
{
    Sorted sorted { .switches = { arguments.value(0) } };
    const qsizetype end = arguments.indexOf(EndOfSwitches);
    qsizetype send = arguments.indexOf(spelled(Switch::Send), 1);
    if (end >= 0 && send > end)
        send = -1;
    for (qsizetype i = 1; i < (send < 0 ? arguments.size() : send + 1); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == EndOfSwitches) {
            if (i + 1 < arguments.size() && sorted.amiss < 0)
                sorted.amiss = i + 1;
            break;
        }
        const qsizetype length = switchLength(argument);
        if (length == 0) {
            sorted.amiss = sorted.amiss < 0 ? i : sorted.amiss;
            continue;
        }
        sorted.switches += arguments.mid(i, length);
        i += length - 1;
    }
    if (send < 0)
        return sorted;
    sorted.texts.emplace();
    bool switchesEnded = false;
    for (qsizetype i = send + 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!switchesEnded && isSpelledOneOf(argument, ModeSwitches)) {
            sorted.switches.append(argument);
        } else if (!switchesEnded && argument == EndOfSwitches) {
            switchesEnded = true;
        } else if (!switchesEnded && argument == spelled(Switch::RemindAt)) {
            // One argument, so that a value that looks like a switch stays the value.
            sorted.switches.append(argument + u'=' + arguments.value(++i));
        } else {
            sorted.texts->append(argument);
        }
    }
    return sorted;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QCommandLineParser parser;
    declareEverySwitch(parser);
    if (const std::optional<Switch> calendar = isSpelledOneOf(arguments.value(1), CalendarSwitches)) {
        line.m_request = Request::Calendar;
        if (*calendar == Switch::ConnectCalendar) {
            const std::optional<CalendarCommand> connect = connectCommand(parser, arguments);
            line.m_calendar = connect.value_or(CalendarCommand {});
            line.m_problem = connect ? Problem::None : Problem::CalendarUsage;
        } else {
            line.m_calendar.action = *calendar == Switch::SyncStatus ? CalendarCommand::Action::Status
                                                                     : CalendarCommand::Action::Disconnect;
            line.m_problem = arguments.size() > 2 ? Problem::CalendarTakesNothing : Problem::None;
            line.m_amiss = arguments.value(1);
        }
        line.m_request = line.m_problem == Problem::None ? Request::Calendar : Request::Misuse;
        return line;
    }

    const Sorted sorted = ::sorted(arguments);
    // Only a Qt switch at the very end, short of its value, makes it fail: Qt says so itself.
    parser.parse(sorted.switches);
    QList<Switch> given;
    for (const QString &name : parser.optionNames()) {
        if (const std::optional<Switch> own = switchNamed(name))
            given.append(*own);
    }
    const auto firstOf = [&given](const auto &ids) {
        return std::find_if(given.cbegin(), given.cend(), [&ids](Switch id) { return isOneOf(id, ids); });
    };
    line.m_uiTesting = given.contains(Switch::UiTesting);
    line.m_screenshotBackdrop = given.contains(Switch::ScreenshotBackdrop);
    line.m_qtValuesApart = qtValuesApart(arguments);
    // The texts to send may be anything, "--help" too; so may what follows the other commands, though those
    // send no text.
    const auto command = firstOf(CommandSwitches);
    if (const auto info = firstOf(InfoSwitches); info < command) {
        line.m_request = *info == Switch::Help ? Request::Help : Request::Version;
        return line;
    }
    if (sorted.amiss >= 0) {
        line.m_request = Request::Misuse;
        line.m_amiss = arguments.at(sorted.amiss);
        const qsizetype end = arguments.indexOf(EndOfSwitches);
        const bool isSwitch = line.m_amiss.startsWith(u'-') && (end < 0 || sorted.amiss < end);
        line.m_problem = isSwitch ? Problem::UnknownSwitch : Problem::NotASwitch;
        for (const QString &text : arguments.sliced(isSwitch ? sorted.amiss + 1 : sorted.amiss)) {
            if (text.startsWith(u'-'))
                break;
            line.m_textsAfterAmiss.append(text);
        }
        return line;
    }
    if (command == given.cend())
        return line;
    line.m_request = Request::Send;
    line.m_send.uiTesting = line.m_uiTesting;
    for (const Switch mode : ModeSwitches) {
        if (given.contains(mode))
            line.m_send.modeArguments.append(spelled(mode));
    }
    // The other commands send no text, and so take no reminder.
    if (*command == Switch::SendSelection) {
        line.m_send.source = SendCommand::Source::Selection;
    } else if (*command == Switch::NewGoal) {
        line.m_send.source = SendCommand::Source::NewGoal;
    } else {
        line.m_send.texts = sorted.texts.value_or(QStringList());
        line.m_send.source
            = line.m_send.texts.isEmpty() ? SendCommand::Source::StandardInput : SendCommand::Source::Arguments;
        if (parser.isSet(declared(Switch::RemindAt).name.toString()))
            line.m_send.remindAtText = parser.value(declared(Switch::RemindAt).name.toString());
    }
    return line;
}

LaunchOptions CommandLine::launchOptions(const QString &uiTestGoals) const
{
    return { .uiTesting = m_uiTesting,
        .screenshotBackdrop = m_screenshotBackdrop,
        .uiTestGoals = m_uiTesting ? uiTestGoals : QString() };
}

QString CommandLine::misuseText() const
{
    switch (m_problem) {
    case Problem::None:
        return {};
    case Problem::CalendarUsage:
        return u"mirel: "_s
            + QCoreApplication::translate("CommandLine",
                "Usage: mirel --connect-calendar URL --user NAME [--list NAME | --new-list NAME] "
                "[--trust-certificate FINGERPRINT]")
            + u'\n';
    case Problem::CalendarTakesNothing:
        return u"mirel: "_s + QCoreApplication::translate("CommandLine", "%1 takes nothing after it.").arg(m_amiss)
            + u'\n';
    case Problem::NotASwitch:
    case Problem::UnknownSwitch:
        break;
    }
    const QString argument = quotedForShell(m_amiss);
    // A bare text was meant as a goal; so, most likely, were the texts after a mistyped switch.
    QStringList texts;
    for (const QString &text : m_textsAfterAmiss)
        texts.append(quotedForShell(text));
    QString text = m_problem == Problem::UnknownSwitch
        ? QCoreApplication::translate("CommandLine", "mirel: unknown switch %1.").arg(argument)
        : QCoreApplication::translate("CommandLine", "mirel: %1 is not a switch.").arg(argument);
    const QString sendExample = QStringLiteral("mirel --send ")
        + (texts.isEmpty() ? u'"' + QCoreApplication::translate("CommandLine", "Call mom") + u'"' : texts.join(u' '));
    text += u'\n' + QCoreApplication::translate("CommandLine", "To add a goal: %1").arg(sendExample) + u'\n';
    text += QCoreApplication::translate("CommandLine", "Every switch: %1").arg(QStringLiteral("mirel --help")) + u'\n';
    return text;
}

QString CommandLine::helpText()
{
    qsizetype synopsisWidth = 0;
    for (const Declared &entry : Switches)
        synopsisWidth = std::max(synopsisWidth, entry.synopsis.size());
    QString text = QCoreApplication::translate("CommandLine", "Usage: mirel [SWITCH ...]") + u'\n'
        + QCoreApplication::translate("CommandLine", "Keeps today's goals in a floating panel.")
        + QStringLiteral("\n\n");
    for (const Declared &entry : Switches) {
        if (!entry.synopsis.isEmpty())
            text += QStringLiteral("  ") + entry.synopsis.toString().leftJustified(synopsisWidth + 2)
                + QCoreApplication::translate("CommandLine", entry.description) + u'\n';
    }
    return text;
}

QString CommandLine::versionText()
{
    return QStringLiteral("mirel " MIREL_VERSION "\n");
}
