// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarcommandrun.h"

#include "app/start/translations.h"
#include "calendaraccount.h"
#include "calendarcommand.h"
#include "calendarconnection.h"
#include "calendarsecret.h"
#include "davhttp.h"
#include "runningpanel.h"
#include "syncstatefile.h"
#include "tasklistfinder.h"

#include "model/diskfile.h"
#include "model/goalsfile.h"
#include "model/panelsettings.h"
#include "newtasklist.h"

#include <QCoreApplication>
#include <QEventLoop>
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

CalendarSecret::Outcome waitFor(const auto &start)
{
    QEventLoop loop;
    CalendarSecret::Outcome result;
    start(&loop, [&](const CalendarSecret::Outcome &outcome) {
        result = outcome;
        loop.quit();
    });
    loop.exec();
    return result;
}

QUrl withSlash(QUrl url)
{
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    return url;
}

int connectList(QSettings &preferences, const CalendarCommand &command)
{
    if (const std::optional<QString> refusal = DavHttp::refusal(command.url)) {
        complain(*refusal);
        return ExitFailure;
    }
    const QString password = readPassword();
    DavHttp http(command.user, password, {});
    if (!command.trustedCertificate.isEmpty())
        http.setPinnedCertificate(command.trustedCertificate);
    TaskListFinder finder(&http);
    QEventLoop loop;
    QString failure;
    QString untrustedCertificate;
    QList<CalDavDiscovery::TaskList> lists;
    QUrl home;
    QObject::connect(&finder, &TaskListFinder::failed, &loop, [&](const QString &reason, const QString &certificate) {
        failure = reason;
        untrustedCertificate = certificate;
        loop.quit();
    });
    QObject::connect(&finder, &TaskListFinder::found, &loop,
        [&](const QUrl &homeSet, const QList<CalDavDiscovery::TaskList> &found) {
            home = homeSet;
            lists = found;
            loop.quit();
        });
    finder.find(command.url);
    loop.exec();
    if (!failure.isEmpty()) {
        complain(QCoreApplication::translate("CalendarCommandRun", "cannot connect to %1: %2")
                     .arg(command.url.toDisplayString(QUrl::RemoveUserInfo), failure));
        if (!untrustedCertificate.isEmpty()) {
            complain(QCoreApplication::translate("CalendarCommandRun",
                "if this is the server's own certificate, trust it by connecting again with --trust-certificate %1")
                         .arg(untrustedCertificate));
        }
        return ExitFailure;
    }
    const auto named = [&](const CalDavDiscovery::TaskList &list) {
        return command.listName ? list.displayName == *command.listName : withSlash(list.url) == withSlash(command.url);
    };
    const auto chosen = std::find_if(lists.cbegin(), lists.cend(), named);
    std::optional<CalDavDiscovery::TaskList> list;
    if (chosen != lists.cend())
        list = *chosen;
    else if (!command.listName && lists.size() == 1)
        list = lists.constFirst();
    // A list named that is missing is made, and so is the first one, named as the panel.
    if (!list && (command.listName || lists.isEmpty())) {
        const QString name = command.listName.value_or(
            PanelSettings(&preferences).title().value_or(QCoreApplication::translate("PanelTitle", "Today's Goals")));
        const DavRequest request = NewTaskList::request(home, name);
        QEventLoop making;
        DavReply made;
        QObject::connect(&http, &DavHttp::finished, &making, [&](quint64, const DavReply &reply) {
            made = reply;
            making.quit();
        });
        http.send(request);
        making.exec();
        if (const std::optional<QString> refusal = NewTaskList::refusal(made)) {
            complain(QCoreApplication::translate("CalendarCommandRun", "cannot make the task list \"%1\": %2")
                         .arg(name, *refusal));
            return ExitFailure;
        }
        list = CalDavDiscovery::TaskList { request.url, name };
    }
    if (!list) {
        QStringList names;
        for (const CalDavDiscovery::TaskList &each : std::as_const(lists))
            names.append(QStringLiteral("  ") + each.displayName);
        complain(QCoreApplication::translate("CalendarCommandRun", "choose one of the task lists with --list NAME:"));
        std::fputs(qPrintable(names.join(u'\n') + u'\n'), stderr);
        return ExitMisuse;
    }
    const CalendarAccount account { command.url, list->url, list->displayName, command.user,
        command.trustedCertificate };
    const CalendarSecret::Outcome stored = waitFor(
        [&](QObject *context, auto done) { CalendarSecret::write(account.secretKey(), password, context, done); });
    if (!stored.failure.isEmpty() && !stored.unavailable) {
        complain(QCoreApplication::translate("CalendarCommandRun", "the Secret Service did not keep the password: %1")
                     .arg(stored.failure));
        return ExitFailure;
    }
    account.write(preferences);
    const bool told = RunningPanel::tellCalendarChanged(stored.unavailable ? password.toUtf8() : QByteArray());
    say(QCoreApplication::translate("CalendarCommandRun", "Syncing the goals with the task list \"%1\" on %2.")
            .arg(list->displayName, command.url.toDisplayString(QUrl::RemoveUserInfo)));
    if (stored.unavailable) {
        say(told ? QCoreApplication::translate("CalendarCommandRun",
                "There is no Secret Service on this desktop: the running panel keeps the password until it quits.")
                 : QCoreApplication::translate("CalendarCommandRun",
                     "There is no Secret Service on this desktop to keep the password: start the panel, then connect "
                     "again."));
    }
    return 0;
}

int disconnect(QSettings &preferences)
{
    const std::optional<CalendarAccount> account = CalendarAccount::read(preferences);
    if (!account) {
        say(QCoreApplication::translate("CalendarCommandRun", "No task list is connected."));
        return 0;
    }
    QEventLoop loop;
    CalendarConnection::forget(preferences, &loop, [&loop] { loop.quit(); });
    loop.exec();
    RunningPanel::tellCalendarChanged();
    say(QCoreApplication::translate("CalendarCommandRun",
        "Stopped syncing with \"%1\". The goals stay on this computer, and the server keeps its tasks.")
            .arg(account->listName));
    return 0;
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
    case CalendarCommand::Action::Connect:
        return connectList(preferences, command);
    case CalendarCommand::Action::Disconnect:
        return disconnect(preferences);
    case CalendarCommand::Action::Status:
        return status(preferences);
    }
    return ExitMisuse;
}

} // namespace CalendarCommandRun
