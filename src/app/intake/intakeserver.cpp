// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakeserver.h"

#include "intakeprotocol.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <memory>

using namespace IntakeProtocol;

namespace
{

// A client sends its whole request at once; one that stays silent this long is dropped so it cannot hold
// a connection open forever.
constexpr int RequestTimeoutMs = 5000;

} // namespace

IntakeServer::IntakeServer(Callbacks callbacks, QObject *parent)
    : QObject(parent)
    , m_callbacks(std::move(callbacks))
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &IntakeServer::acceptConnections);
}

IntakeServer::~IntakeServer() = default;

bool IntakeServer::listen(const QString &socketPath)
{
    QLocalServer::removeServer(socketPath);
    return m_server->listen(socketPath);
}

QString IntakeServer::errorString() const
{
    return m_server->errorString();
}

void IntakeServer::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection())
        serve(socket);
}

void IntakeServer::serve(QLocalSocket *socket)
{
    auto reader = std::make_shared<FrameReader>();
    auto *timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, socket, &QLocalSocket::abort);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);

    const auto reply = [socket](Kind kind, const QByteArray &payload) {
        socket->write(encode(kind, payload));
        // Flushes the reply before closing; the peer sees the end of the stream after it.
        socket->disconnectFromServer();
    };
    const auto readRequest = [this, socket, reader, timeout, reply] {
        while (reader->state() == FrameReader::State::Reading && socket->bytesAvailable() > 0)
            reader->append(socket->read(reader->bytesWanted()));
        if (reader->state() == FrameReader::State::Reading)
            return;
        timeout->stop();
        // Anything after the one request is ignored; the connection is being closed.
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        if (reader->state() == FrameReader::State::Invalid)
            return reply(Kind::Refused, reader->error());
        const Frame &frame = reader->frame();
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
            socket->write(encode(Kind::Received));
            socket->flush();
            // Invalid UTF-8 becomes replacement characters rather than being dropped.
            const IntakeModule::TextIntake intake = m_callbacks.onText(QString::fromUtf8(text), remindAt);
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
    };
    connect(socket, &QLocalSocket::readyRead, this, readRequest);
    timeout->start(RequestTimeoutMs);
    readRequest();
}
