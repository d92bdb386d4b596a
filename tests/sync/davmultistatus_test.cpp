// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/davmultistatus.h"

#include <QTest>

using DavMultiStatus::read;

class DavMultiStatusTest final : public QObject
{
    Q_OBJECT

private slots:
    void syncReport_givesChangesRemovalsAndTheToken()
    {
        // As a server answers a sync-collection report: one task changed, one removed, and a property it lacks.
        const QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?>
<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
  <response>
    <href>/alice/tasks/a%20b.ics</href>
    <propstat><prop><getetag>"e1"</getetag>
      <C:calendar-data><![CDATA[BEGIN:VCALENDAR
SUMMARY:Fish & chips <today>
END:VCALENDAR
]]></C:calendar-data></prop><status>HTTP/1.1 200 OK</status></propstat>
    <propstat><prop><displayname/></prop><status>HTTP/1.1 404 Not Found</status></propstat>
  </response>
  <response><href>/alice/tasks/gone.ics</href><status>HTTP/1.1 404 Not Found</status></response>
  <sync-token>urn:sync:77a1</sync-token>
</multistatus>)";
        const std::optional<DavMultiStatus::MultiStatus> result = read(body);
        QVERIFY(result);
        QCOMPARE(result->syncToken, QStringLiteral("urn:sync:77a1"));
        QCOMPARE(result->responses.size(), 2);
        const DavMultiStatus::Response &changed = result->responses.at(0);
        QCOMPARE(changed.href, QStringLiteral("/alice/tasks/a%20b.ics"));
        QCOMPARE(changed.status, 0);
        QCOMPARE(changed.etag, QStringLiteral("\"e1\""));
        QVERIFY(changed.calendarData.contains("SUMMARY:Fish & chips <today>\n"));
        QCOMPARE(result->responses.at(1).status, 404);
        QVERIFY(result->responses.at(1).etag.isEmpty());
    }

    void collections_giveTheirKindAndComponents()
    {
        const QByteArray body = R"(<d:multistatus xmlns:d="DAV:" xmlns:cal="urn:ietf:params:xml:ns:caldav"
                                   xmlns:x="urn:example:colours">
  <d:response><d:href>/dav/cal/alice/</d:href>
    <d:propstat><d:prop><d:resourcetype><d:collection/></d:resourcetype>
      <d:current-user-principal><d:href>/dav/principals/alice/</d:href></d:current-user-principal>
      <cal:calendar-home-set><d:href>/dav/cal/alice/</d:href></cal:calendar-home-set>
    </d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>
  <d:response><d:href>/dav/cal/alice/tasks/</d:href>
    <d:propstat><d:prop><d:resourcetype><d:collection/><cal:calendar/></d:resourcetype>
      <d:displayname>Today</d:displayname><x:colour>red<x:deep><x:deeper/></x:deep></x:colour>
      <cal:supported-calendar-component-set><cal:comp name="VTODO"/><cal:comp name="vjournal"/>
      </cal:supported-calendar-component-set><d:sync-token>t-5</d:sync-token>
    </d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>
  <d:response><d:href>/dav/cal/alice/any/</d:href>
    <d:propstat><d:prop><d:resourcetype><d:collection/><cal:calendar/></d:resourcetype></d:prop>
    <d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>
</d:multistatus>)";
        const std::optional<DavMultiStatus::MultiStatus> result = read(body);
        QVERIFY(result);
        QCOMPARE(result->responses.size(), 3);
        const DavMultiStatus::Response &home = result->responses.at(0);
        QVERIFY(home.isCollection && !home.isCalendar);
        QCOMPARE(home.principalHref, QStringLiteral("/dav/principals/alice/"));
        QCOMPARE(home.calendarHomeHrefs, QStringList(QStringLiteral("/dav/cal/alice/")));
        const DavMultiStatus::Response &tasks = result->responses.at(1);
        QVERIFY(tasks.isCalendar);
        QCOMPARE(tasks.displayName, QStringLiteral("Today"));
        QCOMPARE(tasks.components, QStringList({ QStringLiteral("VTODO"), QStringLiteral("VJOURNAL") }));
        QCOMPARE(tasks.syncToken, QStringLiteral("t-5"));
        QCOMPARE(result->responses.at(2).components, std::nullopt);
    }

    void hostileOrBrokenBody_givesNothing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("entity expansion")
            << QByteArray(R"(<?xml version="1.0"?><!DOCTYPE m [<!ENTITY a "aaaaaaaaaaaaaaaa">
<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">]>
<multistatus xmlns="DAV:"><response><href>&c;</href></response></multistatus>)");
        QTest::newRow("external entity") << QByteArray(
            R"(<?xml version="1.0"?><!DOCTYPE m [<!ENTITY x SYSTEM "/etc/passwd">]>
<multistatus xmlns="DAV:"><response><href>&x;</href></response></multistatus>)");
        QTest::newRow("undeclared entity")
            << QByteArray(R"(<multistatus xmlns="DAV:"><response><href>&x;</href></response></multistatus>)");
        QTest::newRow("cut off") << QByteArray(R"(<multistatus xmlns="DAV:"><response><href>/a</href>)");
        QTest::newRow("not multistatus") << QByteArray(R"(<html><body>Sign in</body></html>)");
        QTest::newRow("no namespace") << QByteArray(R"(<multistatus><response/></multistatus>)");
        QTest::newRow("empty") << QByteArray();
    }
    void hostileOrBrokenBody_givesNothing()
    {
        QFETCH(QByteArray, body);
        QCOMPARE(read(body).has_value(), false);
    }

    void deepAndLongBodies_areReadWithoutExhaustingTheStack()
    {
        // Nesting a hundred thousand deep in an unknown property, then a long run of responses.
        QByteArray body = R"(<multistatus xmlns="DAV:"><response><href>/deep</href><propstat><prop><x>)";
        body += QByteArray("<y>").repeated(100000) + QByteArray("</y>").repeated(100000);
        body += R"(</x></prop><status>HTTP/1.1 200 OK</status></propstat></response>)";
        body += QByteArray(R"(<response><href>/t.ics</href><status>HTTP/1.1 404 Not Found</status></response>)")
                    .repeated(20000);
        body += "</multistatus>";
        const std::optional<DavMultiStatus::MultiStatus> result = read(body);
        QVERIFY(result);
        QCOMPARE(result->responses.size(), 20001);
        QCOMPARE(result->responses.constFirst().href, QStringLiteral("/deep"));
    }
};

QTEST_GUILESS_MAIN(DavMultiStatusTest)
#include "davmultistatus_test.moc"
