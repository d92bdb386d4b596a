// SPDX-License-Identifier: GPL-3.0-or-later

#include "cannedserver.h"
#include "sync/davhttp.h"

#include <QSignalSpy>
#include <QTest>

namespace
{

DavReply replyTo(DavHttp &http, const DavRequest &request)
{
    QSignalSpy finished(&http, &DavHttp::finished);
    const quint64 id = http.send(request);
    if (!finished.wait(15000))
        return {};
    [&] { QCOMPARE(finished.constFirst().at(0).toULongLong(), id); }();
    return finished.constFirst().at(1).value<DavReply>();
}

} // namespace

class DavHttpTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<DavReply>(); }

    void answer_comesWithStatusBodyAndEtag_andTheCredentialsWent()
    {
        CannedServer server({ answer("207 Multi-Status", "<multistatus/>", "ETag: \"e7\"\r\n") });
        DavHttp http(QStringLiteral("alice"), QStringLiteral("pä:ss"), {});
        const DavReply reply = replyTo(http,
            { "PROPFIND", server.url(QStringLiteral("/dav/")), "<propfind/>",
                { { "Depth", "1" }, { "Content-Type", "application/xml" } } });
        QCOMPARE(reply.status, 207);
        QCOMPARE(reply.body, QByteArray("<multistatus/>"));
        QCOMPARE(reply.etag, QByteArray("\"e7\""));
        QCOMPARE(server.requests.size(), 1);
        QVERIFY(server.requests.constFirst().startsWith("PROPFIND /dav/ HTTP/1.1\r\n"));
        QVERIFY(server.requests.constFirst().contains(
            "Authorization: Basic " + QByteArray("alice:pä:ss").toBase64() + "\r\n"));
        QVERIFY(server.requests.constFirst().contains("Depth: 1\r\n"));
    }

    void plainHttp_isRefusedUnsentExceptToThisComputer_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("refused");
        QTest::newRow("https") << QUrl(QStringLiteral("https://dav.example.org/")) << false;
        QTest::newRow("loopback") << QUrl(QStringLiteral("http://127.0.0.1:5232/")) << false;
        QTest::newRow("loopback v6") << QUrl(QStringLiteral("http://[::1]:5232/")) << false;
        QTest::newRow("localhost") << QUrl(QStringLiteral("http://localhost/")) << false;
        QTest::newRow("plain, another host") << QUrl(QStringLiteral("http://dav.example.org/")) << true;
        QTest::newRow("plain, a local network") << QUrl(QStringLiteral("http://192.168.1.5/")) << true;
        QTest::newRow("a host named like loopback") << QUrl(QStringLiteral("http://127.0.0.1.example.org/")) << true;
        QTest::newRow("another scheme") << QUrl(QStringLiteral("ftp://dav.example.org/")) << true;
        QTest::newRow("no host") << QUrl(QStringLiteral("/dav/")) << true;
    }
    void plainHttp_isRefusedUnsentExceptToThisComputer()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, refused);
        QCOMPARE(DavHttp::refusal(url).has_value(), refused);
    }

    void redirect_isFollowedOnlyWithinTheOrigin()
    {
        CannedServer server({ answer("301 Moved", {}, "Location: /dav/\r\n"), answer("207 Multi-Status", "ok") });
        DavHttp http(QStringLiteral("alice"), QStringLiteral("pw"), {});
        const DavReply followed = replyTo(http,
            { "PROPFIND", server.url(QStringLiteral("/.well-known/caldav")), "<propfind/>", { { "Depth", "0" } } });
        QVERIFY2(followed.status == 207, qPrintable(followed.error));
        QCOMPARE(server.requests.size(), 2);
        // The same request again, not the GET that browsers make of it.
        QVERIFY(server.requests.at(1).startsWith("PROPFIND /dav/ "));
        QVERIFY(server.requests.at(1).contains("Depth: 0\r\n"));
        QVERIFY(server.requests.at(1).endsWith("\r\n\r\n<propfind/>"));

        // Another port is another server, which the credentials never reach.
        CannedServer other({ answer("207 Multi-Status", "stolen") });
        CannedServer redirecting(
            { answer("307 Moved", {}, "Location: " + other.url(QStringLiteral("/")).toEncoded() + "\r\n") });
        const DavReply refused = replyTo(http, { "PROPFIND", redirecting.url(QStringLiteral("/")), {}, {} });
        QCOMPARE(refused.status, 0);
        QVERIFY(!refused.error.isEmpty());
        QVERIFY(other.requests.isEmpty());
    }

    void answerBeyondTheCaps_isAbandoned()
    {
        CannedServer big({ "HTTP/1.1 200 OK\r\nContent-Length: 5000000\r\n\r\n" + QByteArray(5000000, 'x') });
        DavHttp http(QStringLiteral("alice"), QStringLiteral("pw"), { 1024 * 1024, std::chrono::seconds(60) });
        const DavReply tooLarge = replyTo(http, { "GET", big.url(QStringLiteral("/t.ics")), {}, {} });
        QCOMPARE(tooLarge.status, 0);
        QVERIFY(tooLarge.body.isEmpty());
        QVERIFY(!tooLarge.error.isEmpty());

        // A server that never answers.
        CannedServer silent({});
        DavHttp impatient(QStringLiteral("alice"), QStringLiteral("pw"), { 1024, std::chrono::milliseconds(300) });
        const DavReply tooSlow = replyTo(impatient, { "GET", silent.url(QStringLiteral("/t.ics")), {}, {} });
        QCOMPARE(tooSlow.status, 0);
        QVERIFY(!tooSlow.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DavHttpTest)
#include "davhttp_test.moc"
