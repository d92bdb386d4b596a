// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakeserver.h"

#include "intakeprotocol.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace IntakeProtocol;

namespace
{

// A client sends its whole request at once; one that stays silent this long is dropped so it cannot hold
// a connection open forever.
constexpr int RequestTimeoutMs = 5000;
// Senders come one at a time; the queue only has to outlast a burst of starts.
constexpr int ListenBacklog = 50;
// Out of file descriptors the listener stays readable; waiting a moment keeps the loop from spinning.
constexpr int AcceptPauseMs = 1000;
constexpr qsizetype ReadChunk = 64 * 1024;

// One sender's connection: collects its one request, answers and closes.
class Connection final : public QObject
{
public:
    Connection(int socket, const IntakeServer::Callbacks &callbacks, QObject *parent)
        : QObject(parent)
        , m_socket(socket)
        , m_callbacks(callbacks)
        , m_readable(new QSocketNotifier(socket, QSocketNotifier::Read, this))
    {
        connect(m_readable, &QSocketNotifier::activated, this, &Connection::readRequest);
        QTimer::singleShot(RequestTimeoutMs, this, &Connection::close);
    }

    ~Connection() override { ::close(m_socket); }

private:
    void readRequest()
    {
        while (m_reader.state() == FrameReader::State::Reading) {
            QByteArray chunk(std::min(m_reader.bytesWanted(), ReadChunk), Qt::Uninitialized);
            const ssize_t got = ::read(m_socket, chunk.data(), size_t(chunk.size()));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            // Gone, or gone before the request was whole: nothing to answer.
            if (got <= 0)
                return close();
            chunk.truncate(got);
            m_reader.append(chunk);
        }
        // Anything after the one request is ignored; the connection is being closed.
        m_readable->setEnabled(false);
        if (m_reader.state() == FrameReader::State::Invalid)
            return reply(Kind::Refused, m_reader.error());
        answer(m_reader.frame());
    }

    void answer(const Frame &frame)
    {
        switch (frame.kind) {
        case Kind::SendText:
        case Kind::SendTextWithReminder: {
            QByteArray text = frame.payload;
            QDateTime remindAt;
            if (frame.kind == Kind::SendTextWithReminder) {
                const qsizetype lineEnd = text.indexOf('\n');
                remindAt = QDateTime::fromString(
                    QString::fromLatin1(text.first(std::max<qsizetype>(lineEnd, 0))), Qt::ISODateWithMs);
                // Qt would read a moment without its zone as local time.
                if (lineEnd < 1 || text.at(lineEnd - 1) != 'Z' || !remindAt.isValid())
                    return reply(Kind::Refused, "the reminder's time cannot be read");
                text.remove(0, lineEnd + 1);
            }
            // Adding and saving a long text keeps the panel busy for a while; a sender that gave up meanwhile
            // would report a failure for goals the panel then stores, and a retrying script would store them twice.
            send(encode(Kind::Received));
            // Invalid UTF-8 becomes replacement characters rather than being dropped.
            const IntakeServer::TextIntake intake = m_callbacks.onText(QString::fromUtf8(text), remindAt);
            if (!intake.refusal.isEmpty())
                return reply(Kind::Refused, intake.refusal.toUtf8());
            const QByteArray added = QByteArray::number(intake.added);
            if (intake.saveFailure.isEmpty())
                return reply(Kind::Added, added);
            return reply(Kind::AddedNotSaved, added + '\n' + intake.saveFailure.toUtf8());
        }
        case Kind::BringToFront:
            m_callbacks.onBringToFront();
            return reply(Kind::Added, QByteArrayLiteral("0"));
        case Kind::NewGoal:
            // Anything but a number means the time is unknown.
            m_callbacks.onNewGoal(frame.payload.toUInt());
            return reply(Kind::Added, QByteArrayLiteral("0"));
        case Kind::CalendarChanged:
            m_callbacks.onCalendarChanged(QString::fromUtf8(frame.payload));
            return reply(Kind::Received, {});
        case Kind::Received:
        case Kind::Added:
        case Kind::AddedNotSaved:
        case Kind::Refused:
            return reply(Kind::Refused, QByteArrayLiteral("a reply is not a request"));
        }
    }

    // The peer sees the end of the stream after the reply.
    void reply(Kind kind, const QByteArray &payload)
    {
        send(encode(kind, payload));
        close();
    }

    // Replies are a few dozen bytes, far below what the socket buffers, so a write that cannot finish at once
    // means a peer that is gone or not reading; it is given up rather than waited for. MSG_NOSIGNAL: a sender
    // that hung up must not take the panel down with SIGPIPE.
    void send(const QByteArray &frame)
    {
        qsizetype sent = 0;
        while (sent < frame.size()) {
            const ssize_t written
                = ::send(m_socket, frame.constData() + sent, size_t(frame.size() - sent), MSG_NOSIGNAL);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return;
            sent += written;
        }
    }

    void close()
    {
        m_readable->setEnabled(false);
        deleteLater();
    }

    const int m_socket;
    const IntakeServer::Callbacks &m_callbacks;
    QSocketNotifier *m_readable = nullptr;
    FrameReader m_reader;
};

QString systemError(const char *what)
{
    return QString::fromLatin1(what) + QStringLiteral(": ") + qt_error_string(errno);
}

} // namespace

IntakeServer::IntakeServer(Callbacks callbacks, QObject *parent)
    : QObject(parent)
    , m_callbacks(std::move(callbacks))
{
}

IntakeServer::~IntakeServer()
{
    if (m_listener < 0)
        return;
    // A sender finding no socket starts a panel of its own instead of waiting for an answer that never comes.
    ::unlink(m_socketFile.constData());
    ::close(m_listener);
}

bool IntakeServer::listen(const QString &socketPath)
{
    m_socketFile = QFile::encodeName(socketPath);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (m_socketFile.isEmpty() || size_t(m_socketFile.size()) >= sizeof address.sun_path) {
        m_error = QStringLiteral("the path is too long for a local socket");
        return false;
    }
    std::memcpy(address.sun_path, m_socketFile.constData(), size_t(m_socketFile.size()));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        m_error = systemError("socket");
        return false;
    }
    const auto fail = [this, listener](const char *what) {
        m_error = systemError(what);
        ::close(listener);
        return false;
    };
    ::unlink(m_socketFile.constData());
    if (::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return fail("bind");
    // The runtime folder is the user's alone already; the socket says so itself too.
    if (::chmod(m_socketFile.constData(), S_IRWXU) != 0)
        return fail("chmod");
    if (::listen(listener, ListenBacklog) != 0)
        return fail("listen");
    m_listener = listener;
    m_incoming = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_incoming, &QSocketNotifier::activated, this, &IntakeServer::acceptConnections);
    return true;
}

QString IntakeServer::errorString() const
{
    return m_error;
}

void IntakeServer::acceptConnections()
{
    for (;;) {
        const int socket = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket >= 0) {
            new Connection(socket, m_callbacks, this);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_incoming->setEnabled(false);
            QTimer::singleShot(AcceptPauseMs, m_incoming, [notifier = m_incoming] { notifier->setEnabled(true); });
        }
        return;
    }
}
