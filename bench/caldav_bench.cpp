// SPDX-License-Identifier: GPL-3.0-or-later

// What the calendar sync costs against a real Radicale on loopback: 1,000 goals up to an empty task list, then a
// sync with nothing changed, one with one goal changed, one after a delete and one after a move, and twice as
// many tasks from another client taken into an empty panel (until shown, and in all), in requests, bytes on
// the wire and seconds. The
// requests go through a counting relay between the sync and the server. Usage: caldav_bench [goals]. The server's
// folder is a temporary one; TMPDIR=/dev/shm shows the cost without the disk.
#include "sync/caldavdiscovery.h"
#include "sync/davserverfixture.h"
#include "sync/newtasklist.h"
#include "sync/syncrunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

namespace
{

constexpr int DefaultGoals = 1000;
// A first sync of a long list may take a while; this is only how long the bench waits before giving up.
constexpr int MaxWaitMs = 300'000;

// Passes every connection on to the server and counts what goes through it.
class CountingRelay final : public QObject
{
    Q_DISABLE_COPY_MOVE(CountingRelay)

public:
    qint64 bytesUp = 0;
    qint64 bytesDown = 0;
    int connections = 0;
    int mostOpenAtOnce = 0;

    explicit CountingRelay(quint16 serverPort, QObject *parent = nullptr)
        : QObject(parent)
        , m_listener(new QTcpServer(this))
    {
        m_listener->listen(QHostAddress::LocalHost);
        connect(m_listener, &QTcpServer::newConnection, this, [this, serverPort] {
            while (QTcpSocket *client = m_listener->nextPendingConnection())
                relay(client, serverPort);
        });
    }

    quint16 port() const { return m_listener->serverPort(); }
    void reset() { bytesUp = bytesDown = connections = mostOpenAtOnce = 0; }

private:
    void relay(QTcpSocket *client, quint16 serverPort)
    {
        auto *server = new QTcpSocket(client);
        ++connections;
        mostOpenAtOnce = std::max(mostOpenAtOnce, ++m_open);
        connect(client, &QTcpSocket::readyRead, server, [this, client, server] {
            const QByteArray data = client->readAll();
            bytesUp += data.size();
            server->write(data);
        });
        connect(server, &QTcpSocket::readyRead, client, [this, client, server] {
            const QByteArray data = server->readAll();
            bytesDown += data.size();
            client->write(data);
        });
        connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
        connect(client, &QTcpSocket::disconnected, this, [this, client, server] {
            --m_open;
            server->disconnectFromHost();
            client->deleteLater();
        });
        // Written before the connection stands, the first bytes wait in the socket's buffer.
        server->connectToHost(QHostAddress::LocalHost, serverPort);
    }

    QTcpServer *m_listener = nullptr;
    int m_open = 0;
};

struct Measured {
    qint64 ms = 0;
    // Until the merged goals were there to show: before the writes, or at the end where nothing is written.
    qint64 shownMs = 0;
    qsizetype requests = 0;
    QString failure;
};

Measured sync(DavHttp &http, const QUrl &list, QList<TodoItem> &goals, SyncState &state)
{
    QSignalSpy answers(&http, &DavHttp::finished);
    SyncRunner runner(&http, SyncRun(list, goals, {}, state, QDateTime::currentDateTimeUtc()));
    Measured measured { 0, 0, 0, QStringLiteral("no end within the wait") };
    QObject::connect(&runner, &SyncRunner::finished, &runner,
        [&](const QList<TodoItem> &after, const SyncState &next, const std::optional<QString> &why) {
            goals = after;
            state = next;
            measured.failure = why.value_or(QString());
        });
    QSignalSpy finished(&runner, &SyncRunner::finished);
    QElapsedTimer timer;
    QObject::connect(&runner, &SyncRunner::merged, &runner, [&] { measured.shownMs = timer.elapsed(); });
    timer.start();
    runner.start();
    if (finished.isEmpty())
        finished.wait(MaxWaitMs);
    measured.ms = timer.elapsed();
    if (measured.shownMs == 0)
        measured.shownMs = measured.ms;
    measured.requests = answers.size();
    return measured;
}

void report(const char *what, const Measured &measured, const CountingRelay &relay)
{
    std::printf("%s: %.3f s, %lld requests, %lld bytes sent and %lld received%s%s\n", what,
        double(measured.ms) / 1000.0, static_cast<long long>(measured.requests), static_cast<long long>(relay.bytesUp),
        static_cast<long long>(relay.bytesDown),
        measured.failure.isEmpty() ? "" : ", failed: ", qPrintable(measured.failure));
}

// Another client's upload, as a phone's import writes it: tasks without a sort order, a few to each second.
bool uploadAsAnotherClient(DavHttp &http, const QUrl &list, int count)
{
    const QDateTime made = QDateTime::currentDateTimeUtc().addDays(-1);
    int sent = 0;
    int answered = 0;
    int refused = 0;
    const auto sendNext = [&] {
        const QByteArray uid = "phone-" + QByteArray::number(sent);
        const QByteArray created = made.addSecs(sent / 4).toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
        const QByteArray task = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VTODO\r\nUID:" + uid
            + "\r\nDTSTAMP:" + created + "\r\nCREATED:" + created + "\r\nSUMMARY:Task " + QByteArray::number(++sent)
            + " from the phone\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
        http.send({ "PUT", list.resolved(QUrl(QString::fromLatin1(uid + ".ics"))), task,
            { { "Content-Type", "text/calendar; charset=utf-8" } } });
    };
    // A few at a time, as a client does: all at once, the last would wait past the answers' time limit.
    const QMetaObject::Connection counting
        = QObject::connect(&http, &DavHttp::finished, &http, [&](quint64, const DavReply &reply) {
              ++answered;
              refused += reply.status >= 200 && reply.status < 300 ? 0 : 1;
              if (sent < count)
                  sendNext();
          });
    QSignalSpy answers(&http, &DavHttp::finished);
    while (sent < std::min(count, 4))
        sendNext();
    while (answered < count && answers.wait(MaxWaitMs))
        answers.clear();
    QObject::disconnect(counting);
    if (refused > 0)
        std::fprintf(stderr, "caldav_bench: %d of the other client's %d tasks were refused\n", refused, count);
    return answered == count && refused == 0;
}

int fail(const char *why)
{
    std::fprintf(stderr, "caldav_bench: %s\n", why);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : DefaultGoals;
    const QString radicale = QStandardPaths::findExecutable(QStringLiteral("radicale"));
    if (radicale.isEmpty() || count <= 0)
        return fail("needs Radicale (scripts/deps.sh --test) and a positive number of goals");

    QTemporaryDir dir;
    QFile users(dir.filePath(QStringLiteral("users")));
    if (!dir.isValid() || !users.open(QIODevice::WriteOnly))
        return fail("no temporary folder");
    users.write("anna:bench\n");
    users.close();
    LoopbackServer server;
    const bool started = server.start(radicale, [&](int port) {
        QFile config(dir.filePath(QStringLiteral("config")));
        if (config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\n"
                                        "htpasswd_filename = %2\nhtpasswd_encryption = plain\n[storage]\n"
                                        "filesystem_folder = %3\n[logging]\nlevel = warning\n")
                             .arg(port)
                             .arg(users.fileName(), dir.filePath(QStringLiteral("collections")))
                             .toUtf8());
        return QStringList { QStringLiteral("--config"), config.fileName() };
    });
    if (!started)
        return fail("Radicale did not start");

    CountingRelay relay(static_cast<quint16>(server.port()));
    DavHttp http(QStringLiteral("anna"), QStringLiteral("bench"), {});
    const QUrl address(QStringLiteral("http://127.0.0.1:%1/").arg(relay.port()));
    const QUrl start = CalDavDiscovery::startUrl(address);
    const std::optional<QUrl> principal
        = CalDavDiscovery::principal(DavFixture::propfind(http, start, "0", CalDavDiscovery::principalQuery()), start);
    const QList<QUrl> homes = principal
        ? CalDavDiscovery::homeSets(
            DavFixture::propfind(http, *principal, "0", CalDavDiscovery::homeSetQuery()), *principal)
        : QList<QUrl>();
    if (homes.isEmpty())
        return fail("no calendar home found");
    const DavRequest make = NewTaskList::request(homes.constFirst(), QStringLiteral("Bench"));
    if (NewTaskList::refusal(DavFixture::exchange(http, make)))
        return fail("the task list was not made");

    // As the panel stamps them, with milliseconds.
    const QDateTime created = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QList<TodoItem> goals;
    for (int i = 0; i < count; ++i)
        goals.append({ QUuid::createUuid(), QStringLiteral("Goal number %1 of the day").arg(i + 1), false, i,
            created.addMSecs(i), created.addMSecs(i), {} });
    SyncState state;

    relay.reset();
    const Measured up = sync(http, make.url, goals, state);
    rusage self {};
    getrusage(RUSAGE_SELF, &self);
    std::printf("%d goals up to an empty list: %.2f s (this side's processor %.2f s), %lld requests, at most %d "
                "connections at once%s%s\n",
        count, double(up.ms) / 1000.0,
        double(self.ru_utime.tv_sec + self.ru_stime.tv_sec)
            + double(self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1e6,
        static_cast<long long>(up.requests), relay.mostOpenAtOnce,
        up.failure.isEmpty() ? "" : ", failed: ", qPrintable(up.failure));

    // The first sync after the upload hears of the upload's own writes, which came after its token.
    bool quietFailed = false;
    for (const char *which : { "nothing changed, after the upload", "nothing changed, again" }) {
        relay.reset();
        const Measured quiet = sync(http, make.url, goals, state);
        quietFailed = quietFailed || !quiet.failure.isEmpty();
        std::printf("%s: %.3f s, %lld requests, %lld bytes sent and %lld received%s%s\n", which,
            double(quiet.ms) / 1000.0, static_cast<long long>(quiet.requests), static_cast<long long>(relay.bytesUp),
            static_cast<long long>(relay.bytesDown),
            quiet.failure.isEmpty() ? "" : ", failed: ", qPrintable(quiet.failure));
    }

    goals[count / 2].text += QStringLiteral(", changed");
    goals[count / 2].modifiedAt = QDateTime::currentDateTimeUtc();
    relay.reset();
    const Measured one = sync(http, make.url, goals, state);
    report(qPrintable(QStringLiteral("one goal changed among %1").arg(count)), one, relay);

    // As the panel keeps its list: renumbered after a delete or a move, the moved goal stamped.
    const auto renumber = [&] {
        for (qsizetype i = 0; i < goals.size(); ++i)
            goals[i].order = i;
    };
    goals.removeFirst();
    renumber();
    relay.reset();
    const Measured deleted = sync(http, make.url, goals, state);
    report("the top goal deleted", deleted, relay);
    goals.move(goals.size() - 1, 0);
    goals[0].modifiedAt = QDateTime::currentDateTimeUtc();
    renumber();
    relay.reset();
    const Measured moved = sync(http, make.url, goals, state);
    report("the last goal moved to the top", moved, relay);

    const int phoneTasks = 2 * count;
    const DavRequest makePhone = NewTaskList::request(homes.constFirst(), QStringLiteral("Phone"));
    if (NewTaskList::refusal(DavFixture::exchange(http, makePhone))
        || !uploadAsAnotherClient(http, makePhone.url, phoneTasks))
        return fail("the other client's tasks were not uploaded");
    QList<TodoItem> fresh;
    SyncState freshState;
    relay.reset();
    const Measured pulled = sync(http, makePhone.url, fresh, freshState);
    std::printf("%d tasks from another client, %lld shown after %.3f s, ", phoneTasks,
        static_cast<long long>(fresh.size()), double(pulled.shownMs) / 1000.0);
    report("all done", pulled, relay);
    const bool failed = !up.failure.isEmpty() || quietFailed || !one.failure.isEmpty() || !deleted.failure.isEmpty()
        || !moved.failure.isEmpty() || !pulled.failure.isEmpty() || fresh.size() != phoneTasks;
    return failed ? 1 : 0;
}
