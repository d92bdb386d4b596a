// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/sync/caldavdiscovery.h"
#include "app/sync/davhttp.h"
#include "app/sync/davmultistatus.h"
#include "app/sync/syncrunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QString User = QStringLiteral("anna");
const QString Password = QStringLiteral("s3cret: with a colon");
const QString Python = QStringLiteral("/usr/bin/python3");
constexpr int Patience = 15'000;

QString clientScript()
{
    return QStringLiteral(QT_TESTCASE_SOURCEDIR "/caldav_client.py");
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

DavMultiStatus::MultiStatus propfind(DavHttp &http, const QUrl &url, const QByteArray &depth, const QByteArray &body)
{
    QSignalSpy finished(&http, &DavHttp::finished);
    http.send({ "PROPFIND", url, body, { { "Depth", depth }, { "Content-Type", "application/xml" } } });
    if (!finished.wait(Patience))
        qFatal("no answer from the server");
    const DavReply reply = finished.constFirst().at(1).value<DavReply>();
    if (reply.status != 207)
        qWarning("PROPFIND %s: %d %s", qPrintable(url.toString()), reply.status, qPrintable(reply.error));
    return DavMultiStatus::read(reply.body).value_or(DavMultiStatus::MultiStatus {});
}

} // namespace

// Discovery and syncs against a real Radicale on loopback, with python3-caldav as the other client.
class RadicaleTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString radicale = QStandardPaths::findExecutable(QStringLiteral("radicale"));
        if (radicale.isEmpty() || QProcess::execute(Python, { QStringLiteral("-c"), QStringLiteral("import caldav") }))
            QSKIP("Radicale or python3-caldav is not installed (scripts/deps.sh --test)");
        QVERIFY(m_dir.isValid());
        QFile users(m_dir.filePath(QStringLiteral("users")));
        QVERIFY(users.open(QIODevice::WriteOnly));
        users.write((User + QLatin1Char(':') + Password + QLatin1Char('\n')).toUtf8());
        users.close();
        // A port found free may be taken before the server binds it: then another one.
        for (int attempt = 0; attempt < 3 && !m_server.isValid(); ++attempt) {
            const int port = freePort();
            QFile config(m_dir.filePath(QStringLiteral("config")));
            QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
            config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\n"
                                        "htpasswd_filename = %2\nhtpasswd_encryption = plain\n[storage]\n"
                                        "filesystem_folder = %3\n[logging]\nlevel = warning\n")
                             .arg(port)
                             .arg(users.fileName(), m_dir.filePath(QStringLiteral("collections")))
                             .toUtf8());
            config.close();
            m_radicale.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            m_radicale.start(radicale, { QStringLiteral("--config"), config.fileName() });
            QVERIFY(m_radicale.waitForStarted(Patience));
            const bool listening = QTest::qWaitFor(
                [&] {
                    if (m_radicale.state() != QProcess::Running)
                        return true;
                    QTcpSocket probe;
                    probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
                    return probe.waitForConnected(200);
                },
                Patience);
            if (listening && m_radicale.state() == QProcess::Running)
                m_server = QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
            else
                m_radicale.waitForFinished(Patience);
        }
        QVERIFY2(m_server.isValid(), "Radicale did not start");
    }

    void cleanupTestCase()
    {
        if (m_radicale.state() == QProcess::NotRunning)
            return;
        m_radicale.terminate();
        if (!m_radicale.waitForFinished(Patience))
            m_radicale.kill();
    }

    void discoveryThenSyncsBothWays()
    {
        const QString made = client({ QStringLiteral("make-list"), m_server.toString(), QStringLiteral("goals") });
        QVERIFY(!made.isEmpty());

        DavHttp http(User, Password, {});
        const QUrl start = CalDavDiscovery::startUrl(m_server);
        const std::optional<QUrl> principal
            = CalDavDiscovery::principal(propfind(http, start, "0", CalDavDiscovery::principalQuery()), start);
        QVERIFY(principal);
        const QList<QUrl> homes
            = CalDavDiscovery::homeSets(propfind(http, *principal, "0", CalDavDiscovery::homeSetQuery()), *principal);
        QCOMPARE(homes.size(), 1);
        const QList<CalDavDiscovery::TaskList> lists = CalDavDiscovery::taskLists(
            propfind(http, homes.constFirst(), "1", CalDavDiscovery::taskListsQuery()), homes.constFirst());
        QCOMPARE(lists.size(), 1);
        QCOMPARE(lists.constFirst().displayName, QStringLiteral("goals"));
        const QUrl list = lists.constFirst().url;

        const QDateTime created = QDateTime::currentDateTimeUtc().addSecs(-60);
        QList<TodoItem> goals;
        for (const QString &text : { QStringLiteral("Water the plants"), QStringLiteral("Pay the rent, today; really"),
                 QStringLiteral("Käse kaufen 🧀") })
            goals.append({ QUuid::createUuid(), text, false, goals.size(), created, created });
        SyncState state;
        QString failure = sync(http, list, goals, state);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // The server answered the question for changes, rather than the ETags being compared.
        QVERIFY(!state.syncToken.isEmpty());
        QStringList texts;
        for (const TodoItem &goal : std::as_const(goals))
            texts.append(goal.text);
        texts.sort();
        QCOMPARE(summaries(list), texts);

        const QString renamedUid = goals[1].id.toString(QUuid::WithoutBraces).toUpper();
        client({ QStringLiteral("rename"), list.toString(), renamedUid, QStringLiteral("Pay the rent tomorrow") });
        client({ QStringLiteral("add"), list.toString(), QStringLiteral("phone-1@example.org"),
            QStringLiteral("Call the garage") });
        failure = sync(http, list, goals, state);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        texts.clear();
        for (const TodoItem &goal : std::as_const(goals))
            texts.append(goal.text);
        texts.sort();
        QCOMPARE(texts,
            QStringList({ QStringLiteral("Call the garage"), QStringLiteral("Käse kaufen 🧀"),
                QStringLiteral("Pay the rent tomorrow"), QStringLiteral("Water the plants") }));
        QCOMPARE(summaries(list), texts);
    }

    // The other client changes a goal after the panel read the list and before its write reaches the server: the
    // write is refused as outdated, and the goal fetched again and merged, the later change winning.
    void aChangeBetweenReadAndWriteIsMergedNotOverwritten()
    {
        const QUrl list(client({ QStringLiteral("make-list"), m_server.toString(), QStringLiteral("race") }));
        DavHttp http(User, Password, {});
        const QDateTime created = QDateTime::currentDateTimeUtc().addSecs(-60);
        QList<TodoItem> goals { { QUuid::createUuid(), QStringLiteral("Book the hall"), false, 0, created, created } };
        SyncState state;
        QVERIFY(sync(http, list, goals, state).isEmpty());

        goals[0].completed = true;
        goals[0].modifiedAt = QDateTime::currentDateTimeUtc().addSecs(-5);
        SyncRun run(list, goals, {}, state, QDateTime::currentDateTimeUtc());
        QList<SyncRun::Request> queue = run.start();
        QList<int> statuses;
        while (!queue.isEmpty()) {
            const SyncRun::Request next = queue.takeFirst();
            if (next.request.method == "PUT" && !statuses.contains(412)) {
                client({ QStringLiteral("rename-text"), list.toString(), QStringLiteral("Book the hall"),
                    QStringLiteral("Book the small hall") });
            }
            QSignalSpy answered(&http, &DavHttp::finished);
            http.send(next.request);
            QVERIFY(answered.wait(Patience));
            const DavReply reply = answered.constFirst().at(1).value<DavReply>();
            statuses.append(reply.status);
            queue += run.answer(next.tag, reply);
        }
        QVERIFY2(statuses.contains(412), "the server never refused the outdated write");
        QVERIFY(!run.failure());
        QCOMPARE(run.goals().constFirst().text, QStringLiteral("Book the small hall"));
        QCOMPARE(summaries(list), QStringList { QStringLiteral("Book the small hall") });
    }

private:
    QString client(QStringList arguments)
    {
        arguments.insert(2, User);
        arguments.insert(3, Password);
        QProcess python;
        python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        python.start(Python, QStringList { clientScript() } + arguments);
        if (!python.waitForFinished(Patience) || python.exitCode() != 0)
            qWarning("the second client failed: %s", qPrintable(arguments.join(u' ')));
        return QString::fromUtf8(python.readAllStandardOutput()).trimmed();
    }

    QStringList summaries(const QUrl &list)
    {
        QStringList texts;
        for (const QJsonValue &text :
            QJsonDocument::fromJson(client({ QStringLiteral("summaries"), list.toString() }).toUtf8()).array())
            texts.append(text.toString());
        return texts;
    }

    // The goals and the state as the sync leaves them; the failure's reason, empty when none.
    static QString sync(DavHttp &http, const QUrl &list, QList<TodoItem> &goals, SyncState &state)
    {
        SyncRunner runner(&http, SyncRun(list, goals, {}, state, QDateTime::currentDateTimeUtc()));
        QString failure = QStringLiteral("no end");
        connect(&runner, &SyncRunner::finished, &runner,
            [&](const QList<TodoItem> &after, const SyncState &next, const std::optional<QString> &why) {
                goals = after;
                state = next;
                failure = why.value_or(QString());
            });
        QSignalSpy finished(&runner, &SyncRunner::finished);
        runner.start();
        if (finished.isEmpty())
            finished.wait(Patience);
        return failure;
    }

    QTemporaryDir m_dir;
    QProcess m_radicale;
    QUrl m_server;
};

QTEST_GUILESS_MAIN(RadicaleTest)
#include "radicale_test.moc"
