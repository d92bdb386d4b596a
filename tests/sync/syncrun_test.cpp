// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/syncrun.h"
#include "sync/vtodomapping.h"

#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <functional>

namespace
{

const QDateTime Created = QDateTime(QDate(2025, 3, 1), QTime(8, 0), Qt::UTC);
const QDateTime Now = QDateTime(QDate(2025, 3, 2), QTime(9, 0), Qt::UTC);

TodoItem goal(const QString &text, qint64 order, const QDateTime &modified = Created)
{
    return { QUuid::createUuid(), text, false, order, Created, modified, {} };
}

QByteArray headerOf(const DavRequest &request, const QByteArray &name)
{
    for (const auto &[key, value] : request.headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

// A task list as a CalDAV server keeps it: resources with ETags, a change log behind its sync tokens, and
// conditional writes. Tokens older than `oldestToken` are refused with `refusedTokenStatus`, as after a server's
// clean-up.
class Server final
{
public:
    const QUrl list = QUrl(QStringLiteral("http://127.0.0.1:5232/anna/tasks/"));
    bool syncCollection = true;
    int oldestToken = 0;
    int refusedTokenStatus = 403;
    QStringList log;
    // The tasks' data in the answers, as the phone's and the panel's downloads are counted.
    int tasksDownloaded = 0;
    std::function<void(const DavRequest &)> beforeEach;

    // Another client's write.
    void store(const QString &name, const QByteArray &data)
    {
        resources.insert(list.path() + name, { "\"e" + QByteArray::number(++m_etags) + '"', data });
        changes.append(list.path() + name);
    }
    void drop(const QString &name)
    {
        resources.remove(list.path() + name);
        changes.append(list.path() + name);
    }
    std::optional<VTodoMapping::Task> task(const QString &path) const
    {
        return resources.contains(path) ? VTodoMapping::read(resources.value(path).data) : std::nullopt;
    }
    QString pathOf(const QUuid &id) const
    {
        for (auto it = resources.cbegin(); it != resources.cend(); ++it) {
            if (VTodoMapping::read(it->data)->goal.id == id)
                return it.key();
        }
        return {};
    }

    DavReply answer(const DavRequest &request)
    {
        if (beforeEach)
            beforeEach(request);
        const QString path = request.url.path();
        log.append(QString::fromUtf8(request.method) + u' ' + path.mid(list.path().size()));
        if (request.method == "REPORT" && request.body.contains("sync-collection"))
            return changesSince(request.body);
        if (request.method == "PROPFIND") {
            QByteArray body;
            for (auto it = resources.cbegin(); it != resources.cend(); ++it)
                body += response(it.key(), it->etag, {});
            return { 207, multistatus(body), {}, {} };
        }
        if (request.method == "REPORT") {
            QByteArray body;
            static const QRegularExpression href(QStringLiteral("<d:href>([^<]*)</d:href>"));
            for (const QRegularExpressionMatch &match : href.globalMatch(QString::fromUtf8(request.body)))
                body += response(match.captured(1), resources.value(match.captured(1)).etag,
                    resources.value(match.captured(1)).data);
            return { 207, multistatus(body), {}, {} };
        }
        const bool exists = resources.contains(path);
        if (request.method == "GET")
            return exists ? DavReply { 200, resources.value(path).data, resources.value(path).etag, {} }
                          : DavReply { 404, {}, {}, {} };
        const QByteArray ifMatch = headerOf(request, "If-Match");
        if ((headerOf(request, "If-None-Match") == "*" && exists)
            || (!ifMatch.isEmpty() && (!exists || resources.value(path).etag != ifMatch)))
            return { 412, {}, {}, {} };
        if (request.method == "DELETE") {
            resources.remove(path);
            changes.append(path);
            return { 204, {}, {}, {} };
        }
        resources.insert(path, { "\"e" + QByteArray::number(++m_etags) + '"', request.body });
        changes.append(path);
        return { exists ? 204 : 201, {}, resources.value(path).etag, {} };
    }

    struct Resource {
        QByteArray etag;
        QByteArray data;
    };
    QMap<QString, Resource> resources;
    QStringList changes;

private:
    DavReply changesSince(const QByteArray &query)
    {
        if (!syncCollection)
            return { 403, {}, {}, {} };
        static const QRegularExpression tokenPattern(QStringLiteral("<d:sync-token>t?(\\d*)</d:sync-token>"));
        const QString token = tokenPattern.match(QString::fromUtf8(query)).captured(1);
        if (!token.isEmpty() && token.toInt() < oldestToken)
            return { refusedTokenStatus, "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>", {}, {} };
        QByteArray body;
        const QStringList changed = token.isEmpty() ? resources.keys() : changes.mid(token.toInt());
        const bool withData = query.contains("calendar-data");
        for (const QString &path : QSet<QString>(changed.cbegin(), changed.cend())) {
            body += resources.contains(path)
                ? response(path, resources.value(path).etag, withData ? resources.value(path).data : QByteArray())
                : "<d:response><d:href>" + path.toUtf8()
                    + "</d:href><d:status>HTTP/1.1 404 Not Found</d:status>"
                      "</d:response>";
        }
        return { 207, multistatus(body + "<d:sync-token>t" + QByteArray::number(changes.size()) + "</d:sync-token>"),
            {}, {} };
    }
    QByteArray response(const QString &path, const QByteArray &etag, const QByteArray &data)
    {
        QByteArray props = "<d:getetag>" + etag + "</d:getetag>";
        tasksDownloaded += data.isEmpty() ? 0 : 1;
        if (!data.isEmpty())
            props += "<c:calendar-data>" + QString::fromUtf8(data).toHtmlEscaped().toUtf8() + "</c:calendar-data>";
        return "<d:response><d:href>" + path.toUtf8() + "</d:href><d:propstat><d:prop>" + props
            + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    }
    static QByteArray multistatus(const QByteArray &body)
    {
        return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
               "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
            + body + "</d:multistatus>";
    }

    int m_etags = 0;
};

struct Outcome {
    QList<TodoItem> goals;
    SyncState state;
    std::optional<QString> failure;
};

Outcome sync(Server &server, const QList<TodoItem> &panel, const SyncState &state = {},
    const GoalsMerge::Deletions &deletions = {})
{
    SyncRun run(server.list, panel, deletions, state, Now);
    QList<SyncRun::Request> queue = run.start();
    while (!queue.isEmpty()) {
        const SyncRun::Request next = queue.takeFirst();
        queue += run.answer(next.tag, server.answer(next.request));
    }
    if (!run.finished())
        qFatal("a request was left without its reply");
    return { run.goals(), run.state(), run.failure() };
}

QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

QStringList textsOf(const QList<TodoItem> &goals)
{
    QStringList texts;
    for (const TodoItem &goal : goals)
        texts.append(goal.text + (goal.completed ? QStringLiteral(" ✓") : QString()));
    return texts;
}

QStringList textsOn(const Server &server)
{
    QList<VTodoMapping::Task> tasks;
    for (const QString &path : server.resources.keys())
        tasks.append(*server.task(path));
    return textsOf(VTodoMapping::place(tasks));
}

// What a phone wrote: no sort order, created between the panel's goals.
QByteArray phoneTask(const QString &uid, const QString &summary, const QByteArray &extra = {})
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VTODO\r\nUID:" + uid.toUtf8()
        + "\r\nDTSTAMP:20250301T090000Z\r\nCREATED:20250301T083000Z\r\nLAST-MODIFIED:20250301T090000Z\r\nSUMMARY:"
        + summary.toUtf8() + "\r\n" + extra + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// The task as another client changed it on the second morning.
QByteArray edited(const QByteArray &task, const QByteArray &from, const QByteArray &to)
{
    static const QRegularExpression lastModified(QStringLiteral("LAST-MODIFIED:[0-9TZ]+"));
    return QString::fromUtf8(QByteArray(task).replace(from, to))
        .replace(lastModified, QStringLiteral("LAST-MODIFIED:20250302T080000Z"))
        .toUtf8();
}

// The list as the panel keeps it after the person dragged one goal: renumbered, the moved goal stamped.
QList<TodoItem> moved(QList<TodoItem> goals, qsizetype from, qsizetype to, const QDateTime &when)
{
    goals.move(from, to);
    goals[to].modifiedAt = when;
    for (qsizetype i = 0; i < goals.size(); ++i)
        goals[i].order = i;
    return goals;
}

// The phone's move: only the task's sort order and LAST-MODIFIED change.
void moveOnPhone(Server &server, const QString &path, qint64 sortOrder, const QByteArray &lastModified)
{
    static const QRegularExpression order(QStringLiteral("X-APPLE-SORT-ORDER:-?[0-9]+"));
    static const QRegularExpression stamp(QStringLiteral("LAST-MODIFIED:[0-9TZ]+"));
    const QString data = QString::fromUtf8(server.resources.value(path).data)
                             .replace(order, QStringLiteral("X-APPLE-SORT-ORDER:%1").arg(sortOrder))
                             .replace(stamp, QStringLiteral("LAST-MODIFIED:") + QString::fromUtf8(lastModified));
    server.store(path.mid(server.list.path().size()), data.toUtf8());
}

QStringList writesIn(const QStringList &log)
{
    QStringList writes;
    for (const QString &line : log) {
        if (line.startsWith(QStringLiteral("PUT")) || line.startsWith(QStringLiteral("DELETE")))
            writes.append(line);
    }
    return writes;
}

// Goals as the panel makes them: their times to the millisecond.
QList<TodoItem> panelGoals(int count)
{
    QList<TodoItem> goals;
    for (int i = 0; i < count; ++i) {
        TodoItem made = goal(QStringLiteral("Goal %1").arg(i + 1), i, Created.addSecs(i).addMSecs(137 * i + 250));
        made.createdAt = Created.addSecs(i);
        goals.append(made);
    }
    return goals;
}

} // namespace

class SyncRunTest final : public QObject
{
    Q_OBJECT

private slots:
    void firstSync_thenChangesBothWays()
    {
        Server server;
        server.store(QStringLiteral("phone-1.ics"), phoneTask(QStringLiteral("phone-1"), QStringLiteral("Call Ben")));
        TodoItem early = goal(QStringLiteral("Water plants"), 1);
        // The panel's times carry milliseconds, which a task's whole seconds cannot hold.
        early.createdAt = Created.addMSecs(-59'750);
        early.modifiedAt = early.createdAt;
        TodoItem late = goal(QStringLiteral("Pay rent"), 2);
        late.createdAt = Created.addSecs(3600);
        Outcome first = sync(server, { early, late });
        QVERIFY(!first.failure);
        QCOMPARE(textsOf(first.goals), strings({ "Water plants", "Call Ben", "Pay rent" }));
        QCOMPARE(textsOn(server), textsOf(first.goals));
        QVERIFY(server.log.contains(
            QStringLiteral("PUT ") + early.id.toString(QUuid::WithoutBraces) + QStringLiteral(".ics")));

        // Nothing changed on either side: only the question for changes.
        server.log.clear();
        const Outcome quiet = sync(server, first.goals, first.state);
        QCOMPARE(server.log, strings({ "REPORT " }));
        QCOMPARE(textsOf(quiet.goals), textsOf(first.goals));

        // The phone renames its task and deletes one of the panel's; the panel ticks the other and adds one.
        const QString phonePath = server.list.path() + QStringLiteral("phone-1.ics");
        server.store(QStringLiteral("phone-1.ics"),
            edited(server.resources.value(phonePath).data, "SUMMARY:Call Ben", "SUMMARY:Call Ben back"));
        server.drop(server.pathOf(late.id).mid(server.list.path().size()));
        QList<TodoItem> panel = quiet.goals;
        panel[0].completed = true;
        panel[0].modifiedAt = Now;
        TodoItem added = goal(QStringLiteral("Book train"), 9, Now);
        added.createdAt = Now;
        panel.append(added);
        server.log.clear();
        const Outcome third = sync(server, panel, quiet.state);
        QVERIFY(!third.failure);
        QCOMPARE(textsOf(third.goals), strings({ "Water plants ✓", "Call Ben back", "Book train" }));
        QCOMPARE(textsOn(server), textsOf(third.goals));
        QCOMPARE(server.log.filter(QStringLiteral("PUT")).size(), 2);
    }

    void writes_areConditional()
    {
        Server server;
        QList<DavRequest> writes;
        server.beforeEach = [&](const DavRequest &request) {
            if (request.method != "REPORT")
                writes.append(request);
        };
        const TodoItem kept = goal(QStringLiteral("Keep"), 1);
        const TodoItem gone = goal(QStringLiteral("Gone"), 2);
        const Outcome first = sync(server, { kept, gone });
        QCOMPARE(writes.size(), 2);
        for (const DavRequest &write : writes) {
            QCOMPARE(headerOf(write, "If-None-Match"), QByteArray("*"));
            QVERIFY(headerOf(write, "If-Match").isEmpty());
        }

        writes.clear();
        TodoItem renamed = kept;
        renamed.text = QStringLiteral("Keep it");
        renamed.modifiedAt = Now;
        sync(server, { renamed }, first.state);
        QCOMPARE(writes.size(), 2);
        for (const DavRequest &write : writes) {
            const QString path = write.url.path();
            QCOMPARE(headerOf(write, "If-Match"), first.state.tasks.value(write.url.toString()).etag);
            QVERIFY(!headerOf(write, "If-Match").isEmpty());
            QCOMPARE(write.method, path == server.pathOf(renamed.id) ? QByteArray("PUT") : QByteArray("DELETE"));
        }
        QCOMPARE(textsOn(server), strings({ "Keep it" }));
    }

    void refusedToken_resyncsEverything_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("forbidden, as the standard has it") << 403;
        // Xandikos fails on a token it cannot find among its versions.
        QTest::newRow("a server error") << 500;
    }

    void refusedToken_resyncsEverything()
    {
        QFETCH(int, status);
        Server server;
        server.refusedTokenStatus = status;
        const TodoItem mine = goal(QStringLiteral("Mine"), 1);
        const TodoItem theirs = goal(QStringLiteral("Deleted while the token was refused"), 2);
        const Outcome first = sync(server, { mine, theirs });
        server.drop(server.pathOf(theirs.id).mid(server.list.path().size()));
        server.store(QStringLiteral("phone-2.ics"),
            phoneTask(QStringLiteral("phone-2"), QStringLiteral("New"), "X-APPLE-SORT-ORDER:5\r\n"));
        server.oldestToken = 1000;
        server.log.clear();
        const Outcome second = sync(server, first.goals, first.state);
        QVERIFY(!second.failure);
        QCOMPARE(server.log, strings({ "REPORT ", "REPORT " }));
        QCOMPARE(textsOf(second.goals), strings({ "Mine", "New" }));
        QCOMPARE(second.state.tasks.size(), 2);
        QVERIFY(!second.state.syncToken.isEmpty());
    }

    void serverWithoutChangesReport_comparesETags()
    {
        Server server;
        server.syncCollection = false;
        server.store(QStringLiteral("phone-1.ics"), phoneTask(QStringLiteral("phone-1"), QStringLiteral("Call Ben")));
        const Outcome first = sync(server, { goal(QStringLiteral("Mine"), 1) });
        QVERIFY(!first.failure);
        QCOMPARE(textsOf(first.goals), strings({ "Mine", "Call Ben" }));
        QVERIFY(first.state.syncToken.isEmpty());

        // Only the task whose ETag changed is fetched.
        server.store(QStringLiteral("phone-1.ics"),
            edited(phoneTask(QStringLiteral("phone-1"), QStringLiteral("Call Ben later"), "X-APPLE-SORT-ORDER:1\r\n"),
                {}, {}));
        server.log.clear();
        const Outcome second = sync(server, first.goals, first.state);
        QCOMPARE(server.log, strings({ "REPORT ", "PROPFIND ", "REPORT " }));
        QCOMPARE(textsOf(second.goals), strings({ "Mine", "Call Ben later" }));
    }

    void outdatedWrite_isMergedAndRetried_data()
    {
        QTest::addColumn<QDateTime>("panelChange");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("writes");
        // The phone ticks the task at 08:00 on the second day.
        QTest::newRow("the panel's rename is later") << Now << strings({ "Renamed here" }) << 2;
        QTest::newRow("the phone's tick is later") << Created.addSecs(7200) << strings({ "Call Ben ✓" }) << 1;
    }
    void outdatedWrite_isMergedAndRetried()
    {
        QFETCH(QDateTime, panelChange);
        QFETCH(QStringList, expected);
        QFETCH(int, writes);
        Server server;
        server.store(QStringLiteral("phone-1.ics"), phoneTask(QStringLiteral("phone-1"), QStringLiteral("Call Ben")));
        const Outcome first = sync(server, {});
        TodoItem renamed = first.goals.constFirst();
        renamed.text = QStringLiteral("Renamed here");
        renamed.modifiedAt = panelChange;
        // The phone writes between the question for changes and the panel's write.
        server.beforeEach = [&](const DavRequest &request) {
            if (request.method == "PUT" && server.log.filter(QStringLiteral("GET")).isEmpty())
                server.store(QStringLiteral("phone-1.ics"),
                    edited(phoneTask(QStringLiteral("phone-1"), QStringLiteral("Call Ben"),
                               "STATUS:COMPLETED\r\nCOMPLETED:20250302T080000Z\r\n"),
                        {}, {}));
        };
        const Outcome second = sync(server, { renamed }, first.state);
        QVERIFY(!second.failure);
        QCOMPARE(textsOf(second.goals), expected);
        QCOMPARE(textsOn(server), expected);
        QCOMPARE(writesIn(server.log).size(), writes);
        QCOMPARE(second.state.tasks.constBegin()->etag, server.resources.first().etag);
    }

    void deletion_yieldsToALaterChangeOnTheServer()
    {
        Server server;
        const TodoItem doomed = goal(QStringLiteral("Doomed"), 1);
        const Outcome first = sync(server, { doomed });
        const QString name = server.pathOf(doomed.id).mid(server.list.path().size());
        server.beforeEach = [&](const DavRequest &request) {
            if (request.method == "DELETE" && server.log.filter(QStringLiteral("GET")).isEmpty())
                server.store(
                    name, edited(server.resources.first().data, "SUMMARY:Doomed", "SUMMARY:Saved on the phone"));
        };
        const Outcome second = sync(server, {}, first.state, { { doomed.id, Now.addDays(-1) } });
        QVERIFY(!second.failure);
        QCOMPARE(textsOf(second.goals), strings({ "Saved on the phone" }));
        QCOMPARE(textsOn(server), strings({ "Saved on the phone" }));
    }

    void cancelledTask_isLeftAlone()
    {
        Server server;
        const QByteArray cancelled
            = phoneTask(QStringLiteral("phone-9"), QStringLiteral("Never mind"), "STATUS:CANCELLED\r\n");
        server.store(QStringLiteral("phone-9.ics"), cancelled);
        const Outcome first = sync(server, { goal(QStringLiteral("Mine"), 1) });
        QCOMPARE(textsOf(first.goals), strings({ "Mine" }));
        const Outcome second = sync(server, first.goals, first.state);
        QVERIFY(!second.failure);
        QCOMPARE(server.resources.value(server.list.path() + QStringLiteral("phone-9.ics")).data, cancelled);
        QCOMPARE(server.log.filter(QStringLiteral("phone-9")), QStringList());
    }

    void phonesMove_stands_data()
    {
        QTest::addColumn<QByteArray>("phoneTime");
        QTest::newRow("moved later") << QByteArray("20250302T080000Z");
        // The panel's goal changed at 08:00:01.387, which the server holds as 08:00:01.
        QTest::newRow("moved within the second the panel last changed it") << QByteArray("20250301T080001Z");
        QTest::newRow("the phone's clock behind") << QByteArray("20250301T070000Z");
    }
    void phonesMove_stands()
    {
        QFETCH(QByteArray, phoneTime);
        Server server;
        const Outcome first = sync(server, panelGoals(4));
        const QString second = server.pathOf(first.goals.at(1).id);
        moveOnPhone(server, second, *server.task(server.pathOf(first.goals.at(3).id))->sortOrder + 1, phoneTime);
        server.log.clear();
        const Outcome after = sync(server, first.goals, first.state);
        QVERIFY(!after.failure);
        QCOMPARE(textsOf(after.goals), strings({ "Goal 1", "Goal 3", "Goal 4", "Goal 2" }));
        QCOMPARE(textsOn(server), textsOf(after.goals));
        QCOMPARE(writesIn(server.log), QStringList());
        server.log.clear();
        sync(server, after.goals, after.state);
        QCOMPARE(server.log, strings({ "REPORT " }));
    }

    void twoPanels_agreeAfterMovesApart_andThenWriteNothing()
    {
        Server server;
        const Outcome one = sync(server, panelGoals(4));
        const Outcome two = sync(server, {});
        QCOMPARE(textsOf(two.goals), textsOf(one.goals));

        // Apart, each moves another goal to the top; then one, the other and the first again sync.
        server.log.clear();
        const Outcome oneBack = sync(server, moved(one.goals, 3, 0, Now), one.state);
        QCOMPARE(writesIn(server.log).size(), 1);
        server.log.clear();
        const Outcome twoBack = sync(server, moved(two.goals, 2, 0, Now.addSecs(5)), two.state);
        QCOMPARE(writesIn(server.log).size(), 1);
        const Outcome oneAgain = sync(server, oneBack.goals, oneBack.state);
        const QStringList wanted = strings({ "Goal 3", "Goal 4", "Goal 1", "Goal 2" });
        QCOMPARE(textsOf(oneAgain.goals), wanted);
        QCOMPARE(textsOf(twoBack.goals), wanted);
        QCOMPARE(textsOn(server), wanted);

        server.log.clear();
        sync(server, oneAgain.goals, oneAgain.state);
        sync(server, twoBack.goals, twoBack.state);
        QCOMPARE(server.log, strings({ "REPORT ", "REPORT " }));
    }

    void oneChange_writesTheOneTask()
    {
        Server server;
        const Outcome first = sync(server, panelGoals(200));
        const QString top = server.pathOf(first.goals.constFirst().id).mid(server.list.path().size());
        QList<TodoItem> panel = first.goals.mid(1);
        for (qsizetype i = 0; i < panel.size(); ++i)
            panel[i].order = i;
        server.log.clear();
        Outcome after = sync(server, panel, first.state);
        QCOMPARE(writesIn(server.log), QStringList { QStringLiteral("DELETE ") + top });

        panel = moved(after.goals, panel.size() - 1, 0, Now);
        QCOMPARE(changesWaiting(panel, SyncedTasks::of(after.state)), 1);
        server.log.clear();
        after = sync(server, panel, after.state);
        QCOMPARE(writesIn(server.log).size(), 1);
        QCOMPARE(textsOn(server), textsOf(panel));

        // Moves into one gap use up its room; its neighbours are numbered anew, not the list.
        server.log.clear();
        for (int move = 1; move <= 20; ++move) {
            panel = moved(after.goals, panel.size() - 1, 1, Now.addSecs(move));
            after = sync(server, panel, after.state);
        }
        QCOMPARE(textsOn(server), textsOf(panel));
        QCOMPARE_LT(writesIn(server.log).size(), 40);
    }

    // A reminder set in the same second as the goal's last change is still a change; and the panel's moment to
    // the millisecond, which the alarm holds in whole seconds, is no change at the next sync.
    // A due time as another computer's goals file may hold it, to the millisecond, goes up with the reminder.
    void reminderAndDueTime_areWrittenOnce()
    {
        Server server;
        const Outcome first = sync(server, { goal(QStringLiteral("Call the bank"), 1) });
        QList<TodoItem> panel = first.goals;
        panel[0].reminder = GoalReminder(Now.addSecs(3600).addMSecs(437));
        panel[0].due = GoalDue::at(Now.addDays(1).addMSecs(250));
        server.log.clear();
        const Outcome second = sync(server, panel, first.state);
        QCOMPARE(writesIn(server.log).size(), 1);
        const QByteArray written = server.resources.value(server.pathOf(panel[0].id)).data;
        QVERIFY(written.contains("X-MIREL-REMINDER") && written.contains("DUE:"));
        server.log.clear();
        sync(server, second.goals, second.state);
        QCOMPARE(server.log, strings({ "REPORT " }));
    }

    void othersTasksWithoutSortOrder_areNotRewritten()
    {
        Server server;
        // Made in the same second, as a phone's import does.
        for (int i = 0; i < 30; ++i)
            server.store(QStringLiteral("p%1.ics").arg(i),
                phoneTask(QStringLiteral("p%1").arg(i), QStringLiteral("Phone %1").arg(i)));
        const Outcome first = sync(server, {});
        QCOMPARE(server.log, strings({ "REPORT " }));
        QCOMPARE(textsOf(first.goals), textsOn(server));

        // The phone deletes one of them while the panel adds a goal: only the new one is written.
        server.drop(QStringLiteral("p7.ics"));
        QList<TodoItem> panel = first.goals;
        TodoItem mine = goal(QStringLiteral("Mine"), panel.size(), Now);
        mine.createdAt = Now;
        panel.append(mine);
        server.log.clear();
        const Outcome second = sync(server, panel, first.state);
        QCOMPARE(writesIn(server.log).size(), 1);
        QCOMPARE(second.goals.size(), 30);
        QCOMPARE(textsOn(server), textsOf(second.goals));

        // Moved to the top, where it takes the tasks its later creation would otherwise put above it along.
        const QList<TodoItem> top = moved(second.goals, 29, 0, Now.addSecs(60));
        const Outcome third = sync(server, top, second.state);
        QCOMPARE(textsOn(server), textsOf(top));
        QCOMPARE(changesWaiting(third.goals, SyncedTasks::of(third.state)), 0);
    }

    void ownWrites_areNotDownloadedAgain()
    {
        Server server;
        const Outcome up = sync(server, panelGoals(12));
        server.log.clear();
        server.tasksDownloaded = 0;
        Outcome quiet = sync(server, up.goals, up.state);
        QCOMPARE(server.log, strings({ "REPORT " }));
        QCOMPARE(server.tasksDownloaded, 0);

        QList<TodoItem> panel = quiet.goals;
        panel[5].text = QStringLiteral("Changed");
        panel[5].modifiedAt = Now;
        server.log.clear();
        const Outcome one = sync(server, panel, quiet.state);
        QCOMPARE(server.log.size(), 2);
        sync(server, one.goals, one.state);
        QCOMPARE(server.tasksDownloaded, 0);

        // Another client writes between the panel's last write and its question after them: that still comes down.
        Server busy;
        busy.beforeEach = [&](const DavRequest &request) {
            if (request.method == "REPORT" && !busy.log.filter(QStringLiteral("PUT")).isEmpty())
                busy.store(
                    QStringLiteral("phone-1.ics"), phoneTask(QStringLiteral("phone-1"), QStringLiteral("Call Ben")));
        };
        const Outcome many = sync(busy, panelGoals(12));
        busy.beforeEach = {};
        const Outcome later = sync(busy, many.goals, many.state);
        QVERIFY(textsOf(later.goals).contains(QStringLiteral("Call Ben")));
    }

    void failedPull_keepsThePanelAndTheState_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("failure");
        QTest::newRow("unreachable") << 0 << QStringLiteral("Connection refused")
                                     << QStringLiteral("The task list could not be read: Connection refused");
        QTest::newRow("wrong password") << 401 << QString()
                                        << QStringLiteral("The server did not accept the user name and password");
        QTest::newRow("list deleted") << 404 << QString() << QStringLiteral("The task list is no longer on the server");
    }

    void failedPull_keepsThePanelAndTheState()
    {
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QString, failure);
        Server server;
        const Outcome first = sync(server, { goal(QStringLiteral("Mine"), 1) });
        SyncRun run(server.list, first.goals, {}, first.state, Now);
        const QList<SyncRun::Request> pull = run.start();
        QVERIFY(run.answer(pull.constFirst().tag, { status, {}, {}, error }).isEmpty());
        QVERIFY(run.finished());
        QCOMPARE(run.failure(), std::optional(failure));
        QCOMPARE(textsOf(run.goals()), strings({ "Mine" }));
        QCOMPARE(run.state().syncToken, first.state.syncToken);
    }
};

QTEST_GUILESS_MAIN(SyncRunTest)
#include "syncrun_test.moc"
