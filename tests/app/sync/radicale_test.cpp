// SPDX-License-Identifier: GPL-3.0-or-later

#include "davserverfixture.h"

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
