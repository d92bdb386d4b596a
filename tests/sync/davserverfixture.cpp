// SPDX-License-Identifier: GPL-3.0-or-later

#include "davserverfixture.h"

#include "sync/caldavdiscovery.h"
#include "sync/newtasklist.h"
#include "sync/syncrunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

namespace
{

const QString Python = QStringLiteral("/usr/bin/python3");

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

QStringList textsOf(const QList<TodoItem> &goals)
{
    QStringList texts;
    for (const TodoItem &goal : goals)
        texts.append(goal.text);
    return sorted(texts);
}

QStringList summaries(const QUrl &list, const QString &user, const QString &password)
{
    QStringList texts;
    const QByteArray printed
        = DavFixture::secondClient({ QStringLiteral("summaries"), list.toString() }, user, password).toUtf8();
    for (const QJsonValue &text : QJsonDocument::fromJson(printed).array())
        texts.append(text.toString());
    return texts;
}

} // namespace

LoopbackServer::~LoopbackServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(DavFixture::Patience))
        m_process.kill();
}

bool LoopbackServer::start(const QString &program, const std::function<QStringList(int port)> &arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int port = freePort();
        m_process.start(program, arguments(port));
        if (!m_process.waitForStarted(DavFixture::Patience))
            return false;
        const bool listening = QTest::qWaitFor(
            [&] {
                if (m_process.state() != QProcess::Running)
                    return true;
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
                return probe.waitForConnected(200);
            },
            DavFixture::Patience);
        if (listening && m_process.state() == QProcess::Running) {
            m_port = port;
            return true;
        }
        m_process.kill();
        m_process.waitForFinished(DavFixture::Patience);
    }
    return false;
}

namespace DavFixture
{

DavReply exchange(DavHttp &http, const DavRequest &request)
{
    QSignalSpy finished(&http, &DavHttp::finished);
    const quint64 id = http.send(request);
    if (!finished.wait(Patience) || finished.constFirst().at(0).toULongLong() != id)
        qFatal("no answer from the server");
    return finished.constFirst().at(1).value<DavReply>();
}

DavMultiStatus::MultiStatus propfind(DavHttp &http, const QUrl &url, const QByteArray &depth, const QByteArray &body)
{
    const DavReply reply
        = exchange(http, { "PROPFIND", url, body, { { "Depth", depth }, { "Content-Type", "application/xml" } } });
    if (reply.status != 207)
        qWarning("PROPFIND %s: %d %s", qPrintable(url.toString()), reply.status, qPrintable(reply.error));
    return DavMultiStatus::read(reply.body).value_or(DavMultiStatus::MultiStatus {});
}

QString sync(DavHttp &http, const QUrl &list, QList<TodoItem> &goals, SyncState &state)
{
    SyncRunner runner(&http, SyncRun(list, goals, {}, state, QDateTime::currentDateTimeUtc()));
    QString failure = QStringLiteral("no end");
    QObject::connect(&runner, &SyncRunner::finished, &runner,
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

bool hasSecondClient()
{
    return QProcess::execute(Python, { QStringLiteral("-c"), QStringLiteral("import caldav") }) == 0;
}

QString secondClient(QStringList arguments, const QString &user, const QString &password)
{
    arguments.insert(2, user);
    arguments.insert(3, password);
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    python.start(Python, QStringList { QStringLiteral(QT_TESTCASE_SOURCEDIR "/caldav_client.py") } + arguments);
    if (!python.waitForFinished(Patience) || python.exitCode() != 0)
        qWarning("the second client failed: %s", qPrintable(arguments.join(u' ')));
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed();
}

void discoverMakeAndSyncBothWays(const QUrl &server, const QString &user, const QString &password)
{
    DavHttp http(user, password, {});
    const QUrl start = CalDavDiscovery::startUrl(server);
    const std::optional<QUrl> principal
        = CalDavDiscovery::principal(propfind(http, start, "0", CalDavDiscovery::principalQuery()), start);
    QVERIFY(principal);
    const QList<QUrl> homes
        = CalDavDiscovery::homeSets(propfind(http, *principal, "0", CalDavDiscovery::homeSetQuery()), *principal);
    QCOMPARE(homes.size(), 1);
    const QUrl home = homes.constFirst();

    const QString name = QStringLiteral("Goals & more of the day");
    const DavRequest make = NewTaskList::request(home, name);
    const std::optional<QString> refused = NewTaskList::refusal(exchange(http, make));
    QVERIFY2(!refused, qPrintable(refused.value_or(QString())));
    QList<QUrl> named;
    for (const CalDavDiscovery::TaskList &list :
        CalDavDiscovery::taskLists(propfind(http, home, "1", CalDavDiscovery::taskListsQuery()), home)) {
        if (list.displayName == name)
            named.append(list.url);
    }
    QCOMPARE(named, QList<QUrl> { make.url });
    const QUrl list = make.url;

    const QDateTime created = QDateTime::currentDateTimeUtc().addSecs(-60);
    QList<TodoItem> goals;
    for (const QString &text : { QStringLiteral("Water the plants"), QStringLiteral("Pay the rent, today; really"),
             QStringLiteral("Käse kaufen 🧀") })
        goals.append({ QUuid::createUuid(), text, false, goals.size(), created, created, {} });
    SyncState state;
    QString failure = sync(http, list, goals, state);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    // The server answered the question for changes, rather than the ETags being compared.
    QVERIFY(!state.syncToken.isEmpty());
    QCOMPARE(summaries(list, user, password), textsOf(goals));

    const QString renamedUid = goals[1].id.toString(QUuid::WithoutBraces).toUpper();
    secondClient({ QStringLiteral("rename"), list.toString(), renamedUid, QStringLiteral("Pay the rent tomorrow") },
        user, password);
    secondClient({ QStringLiteral("add"), list.toString(), QStringLiteral("phone-1@example.org"),
                     QStringLiteral("Call the garage") },
        user, password);
    failure = sync(http, list, goals, state);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    const QStringList expected { QStringLiteral("Call the garage"), QStringLiteral("Käse kaufen 🧀"),
        QStringLiteral("Pay the rent tomorrow"), QStringLiteral("Water the plants") };
    QCOMPARE(textsOf(goals), expected);
    QCOMPARE(summaries(list, user, password), expected);

    // The panel deletes a goal and renames another, which the phone renames too, later, between the sync's look
    // at the list and its write: that write is refused as outdated, and the later rename wins on both sides.
    goals.removeIf([](const TodoItem &goal) { return goal.text == QStringLiteral("Water the plants"); });
    const auto cheese = std::find_if(
        goals.begin(), goals.end(), [](const TodoItem &goal) { return goal.text.startsWith(QStringLiteral("Käse")); });
    QVERIFY(cheese != goals.end());
    cheese->text = QStringLiteral("Käse und Wein");
    cheese->modifiedAt = QDateTime::currentDateTimeUtc().addSecs(-30);
    const QString cheeseUid = cheese->id.toString(QUuid::WithoutBraces).toUpper();
    QMetaObject::Connection race;
    race = QObject::connect(&http, &DavHttp::finished, [&] {
        QObject::disconnect(race);
        secondClient(
            { QStringLiteral("rename"), list.toString(), cheeseUid, QStringLiteral("Käse und Brot") }, user, password);
    });
    QSignalSpy raced(&http, &DavHttp::finished);
    failure = sync(http, list, goals, state);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(std::any_of(raced.cbegin(), raced.cend(),
        [](const QList<QVariant> &reply) { return reply.at(1).value<DavReply>().status == 412; }));
    const QStringList afterRace { QStringLiteral("Call the garage"), QStringLiteral("Käse und Brot"),
        QStringLiteral("Pay the rent tomorrow") };
    QCOMPARE(textsOf(goals), afterRace);
    QCOMPARE(summaries(list, user, password), afterRace);

    // The server reports the sync's own writes as changes since its token; they cost no more than a look.
    QSignalSpy answers(&http, &DavHttp::finished);
    failure = sync(http, list, goals, state);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(answers.size(), 1);

    // A token the server does not know, as when the list was made anew at the same address: all tasks again.
    state.syncToken = QStringLiteral("0123456789abcdef0123456789abcdef01234567");
    failure = sync(http, list, goals, state);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(textsOf(goals), afterRace);
    QVERIFY(state.syncToken != QStringLiteral("0123456789abcdef0123456789abcdef01234567"));
}

} // namespace DavFixture
