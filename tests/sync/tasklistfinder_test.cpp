// SPDX-License-Identifier: GPL-3.0-or-later

#include "cannedserver.h"
#include "sync/davhttp.h"
#include "sync/tasklistfinder.h"

#include <QTest>

namespace
{

QByteArray multiStatus(const QByteArray &href, const QByteArray &properties)
{
    return answer("207 Multi-Status",
        "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:response><d:href>" + href
            + "</d:href><d:propstat><d:prop>" + properties
            + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>");
}

// What the finder asked, request by request: the method, the path and the depth.
QList<QByteArray> asked(const QList<QByteArray> &requests)
{
    QList<QByteArray> lines;
    for (const QByteArray &request : requests) {
        const qsizetype depth = request.indexOf("Depth: ");
        lines.append(request.left(request.indexOf(" HTTP/1.1")) + ' ' + request.mid(depth + 7, 1));
    }
    return lines;
}

struct Outcome {
    bool done = false;
    QUrl home;
    QList<CalDavDiscovery::TaskList> lists;
    QString failure;
};

Outcome find(const QUrl &server)
{
    DavHttp http(QStringLiteral("anna"), QStringLiteral("secret"), {});
    TaskListFinder finder(&http);
    Outcome outcome;
    QObject::connect(
        &finder, &TaskListFinder::found, [&](const QUrl &home, const QList<CalDavDiscovery::TaskList> &lists) {
            outcome = { true, home, lists, {} };
        });
    QObject::connect(&finder, &TaskListFinder::failed, [&](const QString &reason, const QString &) {
        outcome = { true, {}, {}, reason };
    });
    finder.find(server);
    if (!QTest::qWaitFor([&] { return outcome.done; }, 15000))
        outcome.failure = QStringLiteral("no answer");
    return outcome;
}

} // namespace

class TaskListFinderTest final : public QObject
{
    Q_OBJECT

private slots:
    void anAddressNamingNoPrincipal_isReadAsAPrincipalThenAsACalendarHome()
    {
        const QByteArray calendar = "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype>";
        CannedServer server({ multiStatus("/dav/anna/", "<d:displayname>Anna</d:displayname>"),
            multiStatus("/dav/anna/", "<d:displayname>Anna</d:displayname>"),
            multiStatus("/dav/anna/tasks/", calendar + "<d:displayname>Tasks</d:displayname>") });
        const Outcome outcome = find(server.url(QStringLiteral("/dav/anna/")));
        QVERIFY(outcome.failure.isEmpty());
        QCOMPARE(outcome.home, server.url(QStringLiteral("/dav/anna/")));
        QCOMPARE(outcome.lists.size(), 1);
        QCOMPARE(outcome.lists.constFirst().url, server.url(QStringLiteral("/dav/anna/tasks/")));
        QCOMPARE(asked(server.requests),
            QList<QByteArray>({ "PROPFIND /dav/anna/ 0", "PROPFIND /dav/anna/ 0", "PROPFIND /dav/anna/ 1" }));
    }

    void aServerWithoutCalendars_isToldWhatToType()
    {
        const QByteArray missing = answer("404 Not Found", {});
        CannedServer server({ missing, missing, missing, missing });
        const Outcome outcome = find(server.url(QStringLiteral("/")));
        QVERIFY2(outcome.failure.contains(QStringLiteral("…/caldav.php for DAViCal")), qPrintable(outcome.failure));
        QVERIFY(outcome.failure.contains(QStringLiteral("(HTTP 404)")));
        // The well-known address, then the root as the server itself, as a principal and as a calendar home.
        QCOMPARE(asked(server.requests),
            QList<QByteArray>({ "PROPFIND /.well-known/caldav 0", "PROPFIND / 0", "PROPFIND / 0", "PROPFIND / 1" }));
    }
};

QTEST_GUILESS_MAIN(TaskListFinderTest)
#include "tasklistfinder_test.moc"
