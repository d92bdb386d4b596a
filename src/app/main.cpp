// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/intake/intakemodule.h"
#include "app/intake/singleinstance.h"
#include "app/sync/calendarsyncmodule.h"
#include "app/x11/x11platform.h"
#include "appdelegate.h"
#include "logging.h"
#include "model/reminderchoices.h"
#include "start/commandline.h"
#include "start/fontconfigwarmup.h"
#include "start/runtimefolder.h"
#include "start/translations.h"

#include <QApplication>

#include <cstdio>
#include <vector>

namespace
{

// A command line the program cannot follow, as the shells' own built-ins report one.
constexpr int ExitMisuse = 2;

// The intake module, or nullptr after saying on standard error why `what` cannot be done without it.
const IntakeModule::EntryPoints *intakeModuleFor(int &argc, char **argv, const char *what)
{
    QString error;
    const IntakeModule::EntryPoints *intake = IntakeModule::load(&error);
    if (!intake) {
        // Only to translate the message; otherwise the module makes its own application object.
        const TranslatedApplication<QCoreApplication> app(argc, argv);
        qCWarning(lcMirel, "%s: %s", qPrintable(QCoreApplication::translate("main", what)), qPrintable(error));
    }
    return intake;
}

int runCalendarCommand(int &argc, char **argv, const CalendarCommand &calendar)
{
    QString error;
    const CalendarSyncModule::EntryPoints *sync = CalendarSyncModule::load(&error);
    if (!sync) {
        const TranslatedApplication<QCoreApplication> app(argc, argv);
        qCWarning(lcMirel, "%s: %s",
            qPrintable(QCoreApplication::translate("main", "cannot reach the calendar server")), qPrintable(error));
        return 1;
    }
    return sync->runCommand(argc, argv, calendar);
}

// `--remind-at`'s moment into the command, or false after saying on standard error what is wrong with it.
bool readReminder(int &argc, char **argv, SendCommand &send)
{
    const TranslatedApplication<QCoreApplication> app(argc, argv);
    const auto moment = send.remindAtText->isEmpty()
        ? std::variant<QDateTime, QString>(
            QCoreApplication::translate("main", "--remind-at needs a time, as in --remind-at 15:00"))
        : ReminderChoices::fromCommandLine(*send.remindAtText, QDateTime::currentDateTime());
    if (const QString *wrong = std::get_if<QString>(&moment)) {
        std::fputs(qPrintable(QStringLiteral("mirel: ") + *wrong + u'\n'), stderr);
        return false;
    }
    send.remindAt = std::get<QDateTime>(moment);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Decided before the application object exists: help, version and sending text need no display, and a
    // second start leaves without ever connecting to one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine commandLine = CommandLine::parse(arguments);
    switch (commandLine.request()) {
    case CommandLine::Request::Calendar:
        return runCalendarCommand(argc, argv, commandLine.calendar());
    case CommandLine::Request::Help:
    case CommandLine::Request::Version:
    case CommandLine::Request::Misuse: {
        // A core application object opens no display; the translations need one.
        const TranslatedApplication<QCoreApplication> app(argc, argv);
        if (commandLine.request() == CommandLine::Request::Misuse) {
            std::fputs(qPrintable(commandLine.misuseText()), stderr);
            return ExitMisuse;
        }
        const QString text = commandLine.request() == CommandLine::Request::Help ? CommandLine::helpText()
                                                                                 : CommandLine::versionText();
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    case CommandLine::Request::Send:
    case CommandLine::Request::Panel:
        break;
    }
    // Kept for the rest of the run: Qt's application object holds on to argv.
    std::vector<QByteArray> apartStorage;
    std::vector<char *> apartArgv;
    if (const std::optional<QStringList> &apart = commandLine.withQtValuesApart()) {
        for (const QString &argument : *apart)
            apartStorage.push_back(argument.toLocal8Bit());
        for (QByteArray &argument : apartStorage)
            apartArgv.push_back(argument.data());
        apartArgv.push_back(nullptr);
        argc = int(apartStorage.size());
        argv = apartArgv.data();
    }
    RuntimeFolder::chooseWhenUnset();
    X11Platform::preferXWaylandInWaylandSessions();
    const LaunchOptions launch = commandLine.launchOptions(qEnvironmentVariable(UiTestGoalsVariable));
    if (commandLine.request() == CommandLine::Request::Send) {
        SendCommand send = commandLine.send();
        if (send.remindAtText && !readReminder(argc, argv, send))
            return ExitMisuse;
        const IntakeModule::EntryPoints *intake
            = intakeModuleFor(argc, argv, QT_TRANSLATE_NOOP("main", "could not send the text"));
        return intake ? intake->runSend(argc, argv, send) : 1;
    }
    const PanelAddress address = PanelAddress::forMode(launch.uiTesting);
    SingleInstance instance(address);
    if (!instance.claim()) {
        const IntakeModule::EntryPoints *intake = intakeModuleFor(
            argc, argv, QT_TRANSLATE_NOOP("main", "another Mirel panel is running and cannot be brought to the front"));
        return intake ? intake->bringPanelToFront(argc, argv, address) : 1;
    }

    FontconfigWarmUp fontconfig;
    const TranslatedApplication<QApplication> app(argc, argv);
    fontconfig.wait();
    QApplication::setOrganizationName(QStringLiteral("Mirel"));
    QApplication::setApplicationName(QStringLiteral("Mirel"));
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(launch);
    return QApplication::exec();
}
