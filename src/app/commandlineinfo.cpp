#include "commandlineinfo.h"

#include "app/intake/sendcommand.h"
#include "launchoptions.h"

#include <QCoreApplication>

#include <algorithm>

namespace
{

constexpr QStringView HelpArguments[] = { u"--help", u"-h" };
constexpr QStringView VersionArguments[] = { u"--version", u"-v" };
constexpr QStringView EndOfSwitches = u"--";

struct SwitchHelp {
    QStringView synopsis;
    const char *description;
};

// Every switch the program knows, in the order the help lists them.
constexpr SwitchHelp Switches[] = {
    { u"--send [TEXT ...]", QT_TRANSLATE_NOOP("CommandLineInfo", "Add each TEXT (else each input line) as a goal") },
    { u"--send-selection", QT_TRANSLATE_NOOP("CommandLineInfo", "Add each line of the selected text as a goal") },
    { u"--new-goal", QT_TRANSLATE_NOOP("CommandLineInfo", "Give the panel the keyboard to type a new goal") },
    { u"--ui-testing", QT_TRANSLATE_NOOP("CommandLineInfo", "Run on emptied test settings, goals from UITEST_GOALS") },
    { u"--screenshot-backdrop",
        QT_TRANSLATE_NOOP("CommandLineInfo", "Centre the panel before a gradient, for screenshots") },
    { u"-h, --help", QT_TRANSLATE_NOOP("CommandLineInfo", "Show this help and exit") },
    { u"-v, --version", QT_TRANSLATE_NOOP("CommandLineInfo", "Show the version and exit") },
};

bool isOneOf(const QString &argument, const auto &names)
{
    return std::find(std::begin(names), std::end(names), argument) != std::end(names);
}

} // namespace

namespace CommandLineInfo
{

Request requestIn(const QStringList &arguments)
{
    for (const QString &argument : arguments.sliced(std::min<qsizetype>(1, arguments.size()))) {
        if (argument == SendArgument || argument == SendSelectionArgument || argument == NewGoalArgument
            || argument == EndOfSwitches)
            break;
        if (isOneOf(argument, HelpArguments))
            return Request::Help;
        if (isOneOf(argument, VersionArguments))
            return Request::Version;
    }
    return Request::None;
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
