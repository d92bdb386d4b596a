// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/caldavdiscovery.h"

#include <QTest>

namespace
{

// A multistatus answer of responses, each an href and the properties found for it.
DavMultiStatus::MultiStatus answer(const QList<std::pair<QByteArray, QByteArray>> &responses)
{
    QByteArray body = "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
    for (const auto &[href, properties] : responses)
        body += "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + properties
            + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    return *DavMultiStatus::read(body + "</d:multistatus>");
}

const QByteArray Calendar = "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype>";

QByteArray components(const QByteArray &names)
{
    QByteArray set = "<c:supported-calendar-component-set>";
    for (const QByteArray &name : names.split(' '))
        set += "<c:comp name=\"" + name + "\"/>";
    return set + "</c:supported-calendar-component-set>";
}

} // namespace

class CalDavDiscoveryTest final : public QObject
{
    Q_OBJECT

private slots:
    void startUrl_isTheWellKnownAddressUnlessAPathIsGiven_data()
    {
        QTest::addColumn<QUrl>("server");
        QTest::addColumn<QUrl>("start");
        QTest::newRow("host") << QUrl(QStringLiteral("https://dav.example.org"))
                              << QUrl(QStringLiteral("https://dav.example.org/.well-known/caldav"));
        QTest::newRow("root, port") << QUrl(QStringLiteral("http://127.0.0.1:5232/"))
                                    << QUrl(QStringLiteral("http://127.0.0.1:5232/.well-known/caldav"));
        QTest::newRow("a list itself") << QUrl(
            QStringLiteral("https://cloud.example.org/remote.php/dav/calendars/a/t/"))
                                       << QUrl(QStringLiteral(
                                              "https://cloud.example.org/remote.php/dav/calendars/a/t/"));
    }
    void startUrl_isTheWellKnownAddressUnlessAPathIsGiven()
    {
        QFETCH(QUrl, server);
        QFETCH(QUrl, start);
        QCOMPARE(CalDavDiscovery::startUrl(server), start);
    }

    void discovery_findsTheListsThatTakeTasks()
    {
        // A redirect took the well-known address to the server's DAV root.
        const QUrl root(QStringLiteral("https://cloud.example.org/remote.php/dav/"));
        const std::optional<QUrl> principal = CalDavDiscovery::principal(
            answer({ { "/remote.php/dav/",
                "<d:current-user-principal><d:href>principals/users/alice/</d:href></d:current-user-principal>" } }),
            root);
        QCOMPARE(principal, QUrl(QStringLiteral("https://cloud.example.org/remote.php/dav/principals/users/alice/")));

        const QList<QUrl> homes = CalDavDiscovery::homeSets(
            answer({ { "/remote.php/dav/principals/users/alice/",
                "<c:calendar-home-set><d:href>/remote.php/dav/calendars/alice/</d:href></c:calendar-home-set>" } }),
            *principal);
        QCOMPARE(
            homes, QList<QUrl>({ QUrl(QStringLiteral("https://cloud.example.org/remote.php/dav/calendars/alice/")) }));

        const QList<CalDavDiscovery::TaskList> lists = CalDavDiscovery::taskLists(
            answer({ { "/remote.php/dav/calendars/alice/", "<d:resourcetype><d:collection/></d:resourcetype>" },
                { "/remote.php/dav/calendars/alice/personal/",
                    Calendar + "<d:displayname>Personal</d:displayname>" + components("VEVENT") },
                { "/remote.php/dav/calendars/alice/tasks/",
                    Calendar + "<d:displayname>Today</d:displayname>" + components("VEVENT VTODO") },
                { "/remote.php/dav/calendars/alice/old%20list/", Calendar } }),
            homes.constFirst());
        QCOMPARE(lists.size(), 2);
        QCOMPARE(
            lists.at(0).url, QUrl(QStringLiteral("https://cloud.example.org/remote.php/dav/calendars/alice/tasks/")));
        QCOMPARE(lists.at(0).displayName, QStringLiteral("Today"));
        // A server that names no components takes any; without a display name, its folder names it.
        QCOMPARE(lists.at(1).displayName, QStringLiteral("old list"));
    }

    void schedulingInboxAndOutbox_areNoTaskLists()
    {
        // One server types its inbox and outbox as plain calendars taking tasks, and only the principal names them.
        const QUrl principal(QStringLiteral("http://127.0.0.1:8080/caldav.php/alice/"));
        const QList<QUrl> boxes = CalDavDiscovery::scheduleBoxes(
            answer({ { "/caldav.php/alice/",
                "<c:calendar-home-set><d:href>/caldav.php/alice/</d:href></c:calendar-home-set>"
                "<c:schedule-inbox-URL><d:href>/caldav.php/alice/.in/</d:href></c:schedule-inbox-URL>"
                "<c:schedule-outbox-URL><d:href>/caldav.php/alice/.out</d:href></c:schedule-outbox-URL>" } }),
            principal);
        const QByteArray tasks = Calendar + components("VEVENT VTODO");
        const QList<CalDavDiscovery::TaskList> lists = CalDavDiscovery::taskLists(
            answer({ { "/caldav.php/alice/calendar/", tasks + "<d:displayname>Alice calendar</d:displayname>" },
                { "/caldav.php/alice/.out/", tasks + "<d:displayname>Alice Outbox</d:displayname>" },
                { "/caldav.php/alice/.in/", tasks + "<d:displayname>Alice Inbox</d:displayname>" },
                // Another types them, and its principal may not say.
                { "/caldav.php/alice/Inbox/",
                    "<d:resourcetype><d:collection/><c:schedule-inbox/></d:resourcetype>" + components("VTODO") } }),
            principal, boxes);
        QCOMPARE(lists.size(), 1);
        QCOMPARE(lists.constFirst().displayName, QStringLiteral("Alice calendar"));
    }

    void addressesOnAnotherOrigin_areDropped()
    {
        const QUrl asked(QStringLiteral("https://dav.example.org/"));
        const auto principalAt = [](const QByteArray &href) {
            return answer(
                { { "/", "<d:current-user-principal><d:href>" + href + "</d:href></d:current-user-principal>" } });
        };
        QCOMPARE(CalDavDiscovery::principal(principalAt("https://evil.example/p/"), asked), std::nullopt);
        QCOMPARE(CalDavDiscovery::principal(principalAt("http://dav.example.org/p/"), asked), std::nullopt);
        QCOMPARE(CalDavDiscovery::principal(principalAt("https://dav.example.org:8443/p/"), asked), std::nullopt);
        QCOMPARE(CalDavDiscovery::principal(principalAt("https://dav.example.org:443/p/"), asked),
            QUrl(QStringLiteral("https://dav.example.org:443/p/")));
        QVERIFY(CalDavDiscovery::taskLists(answer({ { "https://evil.example/tasks/", Calendar } }), asked).isEmpty());
    }
};

QTEST_GUILESS_MAIN(CalDavDiscoveryTest)
#include "caldavdiscovery_test.moc"
