// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarcommandrun.h"

#include "app/start/calendarcommand.h"
#include "app/start/translations.h"
#include "calendaraccount.h"
#include "calendarconnecting.h"
#include "calendarconnection.h"
#include "runningpanel.h"
#include "sync/davhttp.h"
#include "sync/syncstatefile.h"

#include "model/diskfile.h"
#include "model/goalsfile.h"

#include <QCoreApplication>
#include <QSettings>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace
{

constexpr int ExitFailure = 1;
constexpr int ExitMisuse = 2;

void say(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

void complain(const QString &text)
{
    std::fputs(qPrintable(QStringLiteral("mirel: ") + text + u'\n'), stderr);
}

// From standard input when a program gives it, else asked for on the terminal without echo.
QString readPassword()
{
    const bool terminal = isatty(STDIN_FILENO);
    termios saved {};
    if (terminal) {
        std::fputs(qPrintable(QCoreApplication::translate("CalendarCommandRun", "Password: ")), stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
        line.append(char(c));
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QUrl withSlash(QUrl url)
{
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    return url;
}

QString listNames(const QList<CalDavDiscovery::TaskList> &lists)
{
    QStringList names;
    for (const CalDavDiscovery::TaskList &each : lists)
        names.append(QStringLiteral("  ") + each.displayName);
    return names.join(u'\n');
}

// The list named, the one at the address given, or the server's only one: never a list made for a name
// the server lacks, which would take the goals away from the list the phone shows.
std::variant<CalDavDiscovery::TaskList, int> pickList(
    const QList<CalDavDiscovery::TaskList> &lists, const QUrl &url, const CalendarCommand &command)
{
    const auto named = [&](const CalDavDiscovery::TaskList &list) {
        return command.listName ? list.displayName == *command.listName : withSlash(list.url) == withSlash(url);
    };
    if (const auto chosen = std::find_if(lists.cbegin(), lists.cend(), named); chosen != lists.cend())
        return *chosen;
    if (!command.listName && lists.size() == 1)
        return lists.constFirst();
    if (lists.isEmpty()) {
        complain(QCoreApplication::translate(
            "CalendarCommandRun", "the server has no task list for this user: make one with --new-list NAME"));
        return ExitMisuse;
    }
    if (command.listName) {
        complain(QCoreApplication::translate("CalendarCommandRun", "the server has no task list \"%1\"; it has:")
                     .arg(*command.listName));
        std::fputs(qPrintable(listNames(lists) + u'\n'), stderr);
        return ExitFailure;
    }
    complain(QCoreApplication::translate("CalendarCommandRun", "choose one of the task lists with --list NAME:"));
    std::fputs(qPrintable(listNames(lists) + u'\n'), stderr);
    return ExitMisuse;
}

// The exit status, after saying so, when the server has a list of that name already, which a second one could
// not be told apart from; nothing when one can be made.
std::optional<int> refusedToMake(const QList<CalDavDiscovery::TaskList> &lists, const QString &name)
{
    if (std::none_of(lists.cbegin(), lists.cend(), [&](const auto &list) { return list.displayName == name; }))
        return std::nullopt;
    complain(QCoreApplication::translate(
        "CalendarCommandRun", "the server has a task list \"%1\" already: connect to it with --list \"%1\"")
                 .arg(name));
    return ExitMisuse;
}

// Tells a running panel and the person what connecting left; returns the exit status.
int reportConnected(const CalendarAccount &account, const QString &password, const QString &keyringFailure)
{
    // Where the keyring keeps nothing, a running panel keeps the password for as long as it runs.
    const bool told = RunningPanel::tellCalendarChanged(keyringFailure.isEmpty() ? QByteArray() : password.toUtf8());
    if (!keyringFailure.isEmpty() && !told) {
        const QString failure = QCoreApplication::translate(
            "CalendarCommandRun", "%1, and no panel runs to keep the password: start the panel, then connect again")
                                    .arg(keyringFailure);
        StoredSync sync = SyncStateFile::read(account.taskList);
        sync.failure = failure;
        SyncStateFile::write(sync);
        complain(failure);
        return ExitFailure;
    }
    say(QCoreApplication::translate("CalendarCommandRun", "Syncing the goals with the task list \"%1\" on %2.")
            .arg(account.listName, account.server.toDisplayString(QUrl::RemoveUserInfo)));
    if (!keyringFailure.isEmpty()) {
        say(QCoreApplication::translate("CalendarCommandRun",
            "%1: the running panel keeps the password until it quits. To keep it for good, run mirel "
            "--connect-calendar again once the keyring is unlocked.")
                .arg(keyringFailure));
    }
    return 0;
}

// Runs the command's one event loop, `start` first inside it, until the command ends it with its exit status.
int runToTheEnd(const std::function<void()> &start)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), start, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

int connectList(QSettings &preferences, const QUrl &url, const CalendarCommand &command)
{
    // Before the password is asked for: an address never asked needs none.
    if (const std::optional<QString> refusal = DavHttp::refusal(url)) {
        complain(*refusal);
        return ExitFailure;
    }
    const QString password = readPassword();
    CalendarConnecting connecting(&preferences);
    QObject::connect(
        &connecting, &CalendarConnecting::failed, &connecting, [&](const QString &reason, const QString &certificate) {
            complain(QCoreApplication::translate("CalendarCommandRun", "cannot connect to %1: %2")
                         .arg(url.toDisplayString(QUrl::RemoveUserInfo), reason));
            if (!certificate.isEmpty()) {
                complain(QCoreApplication::translate("CalendarCommandRun",
                    "if this is the server's own certificate, trust it by connecting again with --trust-certificate %1")
                             .arg(certificate));
            }
            QCoreApplication::exit(ExitFailure);
        });
    QObject::connect(
        &connecting, &CalendarConnecting::listsFound, &connecting, [&](const QList<CalDavDiscovery::TaskList> &lists) {
            if (command.newListName) {
                if (const std::optional<int> exitStatus = refusedToMake(lists, *command.newListName))
                    QCoreApplication::exit(*exitStatus);
                else
                    connecting.makeListThenConnect(*command.newListName);
                return;
            }
            const std::variant<CalDavDiscovery::TaskList, int> chosen = pickList(lists, url, command);
            if (const int *exitStatus = std::get_if<int>(&chosen))
                QCoreApplication::exit(*exitStatus);
            else
                connecting.connectList(std::get<CalDavDiscovery::TaskList>(chosen));
        });
    QObject::connect(
        &connecting, &CalendarConnecting::listNotMade, &connecting, [](const QString &name, const QString &reason) {
            complain(QCoreApplication::translate("CalendarCommandRun", "cannot make the task list \"%1\": %2")
                         .arg(name, reason));
            QCoreApplication::exit(ExitFailure);
        });
    QObject::connect(&connecting, &CalendarConnecting::connected, &connecting,
        [](const CalendarAccount &account, const QString &password, const QString &keyringFailure) {
            QCoreApplication::exit(reportConnected(account, password, keyringFailure));
        });
    return runToTheEnd([&] { connecting.findLists(url, command.user, password, command.trustedCertificate); });
}

int disconnect(QSettings &preferences)
{
    const std::optional<CalendarAccount> account = CalendarAccount::read(preferences);
    if (!account) {
        say(QCoreApplication::translate("CalendarCommandRun", "No task list is connected."));
        return 0;
    }
    return runToTheEnd([&] {
        CalendarConnection::forget(preferences, QCoreApplication::instance(), [&] {
            RunningPanel::tellCalendarChanged();
            say(QCoreApplication::translate("CalendarCommandRun",
                "Stopped syncing with \"%1\". The goals stay on this computer, and the server keeps its tasks.")
                    .arg(account->listName));
            QCoreApplication::exit(0);
        });
    });
}

int status(QSettings &preferences)
{
    const std::optional<CalendarAccount> account = CalendarAccount::read(preferences);
    if (!account) {
        say(QCoreApplication::translate("CalendarCommandRun", "Not syncing with a calendar server."));
        return ExitFailure;
    }
    const StoredSync stored = SyncStateFile::read(account->taskList);
    const std::optional<QByteArray> bytes = DiskFile::readAll(GoalsFile::defaultLocation(), 64 * 1024 * 1024);
    const std::optional<GoalsFile::ReadFile> goals = bytes ? GoalsFile::read(*bytes) : std::nullopt;
    const int waiting = changesWaiting(goals ? goals->todos : QList<TodoItem>(), SyncedTasks::of(stored.state));
    say(QCoreApplication::translate("CalendarCommandRun", "Server: %1")
            .arg(account->server.toDisplayString(QUrl::RemoveUserInfo)));
    say(QCoreApplication::translate("CalendarCommandRun", "Task list: %1 (%2)")
            .arg(account->listName, account->taskList.toDisplayString(QUrl::RemoveUserInfo)));
    say(QCoreApplication::translate("CalendarCommandRun", "Last sync: %1")
            .arg(stored.lastSync.isValid() ? QLocale().toString(stored.lastSync.toLocalTime(), QLocale::ShortFormat)
                                           : QCoreApplication::translate("CalendarCommandRun", "never")));
    say(QCoreApplication::translate("CalendarCommandRun", "Changes waiting: %1").arg(waiting));
    if (!stored.notice.isEmpty())
        say(QCoreApplication::translate("CalendarCommandRun", "Note: %1").arg(stored.notice));
    say(QCoreApplication::translate("CalendarCommandRun", "Last error: %1")
            .arg(
                stored.failure.isEmpty() ? QCoreApplication::translate("CalendarCommandRun", "none") : stored.failure));
    return stored.lastSync.isValid() && stored.failure.isEmpty() && waiting == 0 ? 0 : ExitFailure;
}

} // namespace

namespace CalendarCommandRun
{

int run(int &argc, char **argv, const CalendarCommand &command)
{
    const TranslatedApplication<QCoreApplication> app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Mirel"));
    QCoreApplication::setApplicationName(QStringLiteral("Mirel"));
    QSettings preferences;
    switch (command.action) {
    case CalendarCommand::Action::Connect: {
        const QUrl url = CalendarAccount::serverAddress(command.address);
        if (!url.isValid() || url.host().isEmpty()) {
            complain(
                QCoreApplication::translate("CalendarCommandRun", "%1 is not a server address.").arg(command.address));
            return ExitMisuse;
        }
        return connectList(preferences, url, command);
    }
    case CalendarCommand::Action::Disconnect:
        return disconnect(preferences);
    case CalendarCommand::Action::Status:
        return status(preferences);
    }
    return ExitMisuse;
}

} // namespace CalendarCommandRun
