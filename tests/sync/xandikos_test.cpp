// SPDX-License-Identifier: GPL-3.0-or-later

#include "davserverfixture.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The same flow against a real Xandikos on loopback. Xandikos has no accounts of its own (it is meant to sit
// behind a proxy that checks them): it takes the credentials sent with every request and ignores them, so the
// test sends a user and password as against any server, and what it checks is that they cause no harm.
class XandikosTest final : public QObject
{
    Q_OBJECT

private slots:
    void discoveryNewListThenSyncsBothWays()
    {
        const QString xandikos = QStandardPaths::findExecutable(QStringLiteral("xandikos"));
        if (xandikos.isEmpty() || !DavFixture::hasSecondClient())
            QSKIP("Xandikos or python3-caldav is not installed (scripts/deps.sh --test)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        LoopbackServer server;
        // --defaults makes the principal and its calendar home, with one calendar of all components in it.
        QVERIFY2(server.start(xandikos,
                     [&](int port) {
                         return QStringList { QStringLiteral("--defaults"), QStringLiteral("-d"), dir.path(),
                             QStringLiteral("-l"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                             QString::number(port) };
                     }),
            "Xandikos did not start");
        DavFixture::discoverMakeAndSyncBothWays(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.port())),
            QStringLiteral("anna"), QStringLiteral("unchecked"));
    }
};

QTEST_GUILESS_MAIN(XandikosTest)
#include "xandikos_test.moc"
