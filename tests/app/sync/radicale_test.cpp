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

    // The other client changes a goal after the panel read the list and before its write reaches the server: the
    // write is refused as outdated, and the goal fetched again and merged, the later change winning.
    void aChangeBetweenReadAndWriteIsMergedNotOverwritten()
    {
        LoopbackServer server;
        QVERIFY2(server.start(m_radicale, [&](int port) { return arguments(port, {}); }), "Radicale did not start");
        const auto phone = [](QStringList arguments) { return DavFixture::secondClient(arguments, User, Password); };
        const QUrl list(phone({ QStringLiteral("make-list"), QStringLiteral("http://127.0.0.1:%1/").arg(server.port()),
            QStringLiteral("race") }));
        DavHttp http(User, Password, {});
        const QDateTime created = QDateTime::currentDateTimeUtc().addSecs(-60);
        QList<TodoItem> goals { { QUuid::createUuid(), QStringLiteral("Book the hall"), false, 0, created, created } };
        SyncState state;
        QVERIFY(DavFixture::sync(http, list, goals, state).isEmpty());

        goals[0].completed = true;
        goals[0].modifiedAt = QDateTime::currentDateTimeUtc().addSecs(-5);
        SyncRun run(list, goals, {}, state, QDateTime::currentDateTimeUtc());
        QList<SyncRun::Request> queue = run.start();
        QList<int> statuses;
        while (!queue.isEmpty()) {
            const SyncRun::Request next = queue.takeFirst();
            if (next.request.method == "PUT" && !statuses.contains(412)) {
                phone({ QStringLiteral("rename-text"), list.toString(), QStringLiteral("Book the hall"),
                    QStringLiteral("Book the small hall") });
            }
            const DavReply reply = DavFixture::exchange(http, next.request);
            statuses.append(reply.status);
            queue += run.answer(next.tag, reply);
        }
        QVERIFY2(statuses.contains(412), "the server never refused the outdated write");
        QVERIFY(!run.failure());
        QCOMPARE(run.goals().constFirst().text, QStringLiteral("Book the small hall"));
        QCOMPARE(phone({ QStringLiteral("summaries"), list.toString() }), QStringLiteral(R"(["Book the small hall"])"));
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
