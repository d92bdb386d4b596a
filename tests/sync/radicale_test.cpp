// SPDX-License-Identifier: GPL-3.0-or-later

#include "davserverfixture.h"

#include "sync/caldavdiscovery.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QString User = QStringLiteral("anna");
const QString Password = QStringLiteral("s3cret: with a colon");

} // namespace

// Discovery, a new list and syncs against a real Radicale on loopback, with python3-caldav as the other client.
class RadicaleTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_radicale = QStandardPaths::findExecutable(QStringLiteral("radicale"));
        if (m_radicale.isEmpty() || !DavFixture::hasSecondClient())
            QSKIP("Radicale or python3-caldav is not installed (scripts/deps.sh --test)");
        QVERIFY(m_dir.isValid());
        QFile users(m_dir.filePath(QStringLiteral("users")));
        QVERIFY(users.open(QIODevice::WriteOnly));
        users.write((User + QLatin1Char(':') + Password + QLatin1Char('\n')).toUtf8());
    }

    void discoveryNewListThenSyncsBothWays()
    {
        LoopbackServer server;
        QVERIFY2(server.start(m_radicale, [&](int port) { return arguments(port, {}); }), "Radicale did not start");
        DavFixture::discoverMakeAndSyncBothWays(
            QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.port())), User, Password);
    }

    void untrustedCertificate_isRefusedWithItsFingerprintUnlessPinned()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
            QSKIP("openssl is not installed (scripts/deps.sh --test)");
        const QString certificate = m_dir.filePath(QStringLiteral("certificate.pem"));
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        QCOMPARE(QProcess::execute(QStringLiteral("openssl"),
                     { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                         QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                         QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                         QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                         QStringLiteral("-keyout"), key, QStringLiteral("-out"), certificate }),
            0);
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
            { QStringLiteral("x509"), QStringLiteral("-noout"), QStringLiteral("-fingerprint"),
                QStringLiteral("-sha256"), QStringLiteral("-in"), certificate });
        QVERIFY(openssl.waitForFinished(DavFixture::Patience));
        // "sha256 Fingerprint=AB:CD:…"
        const QString fingerprint = QStringLiteral("SHA256:")
            + QString::fromLatin1(openssl.readAllStandardOutput()).section(u'=', 1).trimmed();

        LoopbackServer server;
        const QString tls = QStringLiteral("ssl = True\ncertificate = %1\nkey = %2").arg(certificate, key);
        QVERIFY2(server.start(m_radicale, [&](int port) { return arguments(port, tls); }), "Radicale did not start");
        const QUrl url(QStringLiteral("https://127.0.0.1:%1/").arg(server.port()));
        const DavRequest ask { "PROPFIND", url, CalDavDiscovery::principalQuery(), { { "Depth", "0" } } };
        DavHttp http(User, Password, {});

        DavReply refused = DavFixture::exchange(http, ask);
        QCOMPARE(refused.status, 0);
        QCOMPARE(refused.untrustedCertificate, fingerprint);
        QVERIFY2(refused.error.contains(fingerprint), qPrintable(refused.error));

        http.setPinnedCertificate(fingerprint);
        QCOMPARE(DavFixture::exchange(http, ask).status, 207);

        // Another pin: the certificate taken a moment ago is refused again.
        QString other = fingerprint;
        other.replace(
            other.size() - 2, 2, other.endsWith(QLatin1String("00")) ? QStringLiteral("01") : QStringLiteral("00"));
        http.setPinnedCertificate(other);
        refused = DavFixture::exchange(http, ask);
        QCOMPARE(refused.status, 0);
        QCOMPARE(refused.untrustedCertificate, fingerprint);
    }

private:
    // A configuration for that port, with the lines of `server` added to its [server] section.
    QStringList arguments(int port, const QString &server)
    {
        QFile config(m_dir.filePath(QStringLiteral("config")));
        if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("the configuration cannot be written");
        config.write(
            QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%2\n[auth]\ntype = htpasswd\n"
                           "htpasswd_filename = %3\nhtpasswd_encryption = plain\n[storage]\n"
                           "filesystem_folder = %4\n[logging]\nlevel = warning\n")
                .arg(port)
                .arg(server, m_dir.filePath(QStringLiteral("users")), m_dir.filePath(QStringLiteral("collections")))
                .toUtf8());
        return { QStringLiteral("--config"), config.fileName() };
    }

    QTemporaryDir m_dir;
    QString m_radicale;
};

QTEST_GUILESS_MAIN(RadicaleTest)
#include "radicale_test.moc"
