// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakeclient.h"

#include "app/logging.h"
#include "app/start/sendcommand.h"
#include "app/start/translations.h"
#include "desktopnotification.h"
#include "intakeprotocol.h"
#include "singleinstance.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <variant>

using namespace IntakeProtocol;

namespace
{

// Long enough for a panel started on demand to load its goals and listen, short enough for a shortcut.
constexpr int PanelAnswerDeadlineMs = 5000;
constexpr int RetryIntervalMs = 50;
// How long the panel may take to acknowledge a request; it then answers once the goals are added and saved.
constexpr int ReplyTimeoutMs = 15000;
constexpr qsizetype MaxReply = 64 * 1024;

// A script must tell "not delivered, send again" from "in the panel but not on disk, do not send again".
constexpr int ExitNotDelivered = 1;
constexpr int ExitNotSaved = 3;

struct Reply final {
    bool delivered = false;
    QString message;
    // Why the panel could not save the goals it added; empty when they are on disk.
    QString saveFailure = {};
};

void printError(const QString &message)
{
    qCWarning(lcMirel, "%s", qPrintable(message));
}

// A command run from a keyboard shortcut or a launcher has nobody reading its standard error; the desktop
// shows the message instead.
void reportProblem(const QString &message)
{
    printError(message);
    if (!::isatty(STDERR_FILENO))
        DesktopNotification::show(QCoreApplication::translate("IntakeClient", "Mirel"), message);
}

// One frame from the panel, or the reason there is none.
std::variant<Frame, QString> readFrame(QLocalSocket &socket, QDeadlineTimer deadline)
{
    FrameReader reader(MaxReply);
    while (reader.state() == FrameReader::State::Reading) {
        if (socket.bytesAvailable() > 0) {
            reader.append(socket.read(reader.bytesWanted()));
            continue;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            return QCoreApplication::translate("IntakeClient", "the panel closed the connection without answering");
        if (!socket.waitForReadyRead(int(deadline.remainingTime())) && socket.bytesAvailable() == 0) {
            if (deadline.hasExpired())
                return QCoreApplication::translate("IntakeClient", "the panel did not answer in time");
        }
    }
    if (reader.state() == FrameReader::State::Invalid)
        return QCoreApplication::translate("IntakeClient", "the panel gave an unreadable answer");
    return reader.frame();
}

Reply exchange(QLocalSocket &socket, Kind kind, const QByteArray &payload)
{
    socket.write(encode(kind, payload));
    std::variant<Frame, QString> answer = readFrame(socket, QDeadlineTimer(ReplyTimeoutMs));
    // Once the panel has the text it is busy adding it, for as long as that takes.
    if (const auto *frame = std::get_if<Frame>(&answer); frame && frame->kind == Kind::Received)
        answer = readFrame(socket, QDeadlineTimer(QDeadlineTimer::Forever));
    if (const auto *failure = std::get_if<QString>(&answer))
        return { false, *failure };
    const Frame &frame = std::get<Frame>(answer);
    const QString answerText = QString::fromUtf8(frame.payload);
    switch (frame.kind) {
    case Kind::Added:
        return { true, answerText };
    case Kind::AddedNotSaved:
        return { true, answerText.section(u'\n', 0, 0), answerText.section(u'\n', 1) };
    default:
        return { false, QCoreApplication::translate("IntakeClient", "the panel refused the text: %1").arg(answerText) };
    }
}

std::optional<qint64> startPanel(const QStringList &modeArguments)
{
    QProcess panel;
    panel.setProgram(QCoreApplication::applicationFilePath());
    panel.setArguments(modeArguments);
    // The panel outlives this command; holding on to its output would keep a caller such as "$(mirel --send
    // x)" waiting for the end of a stream that never comes.
    panel.setStandardInputFile(QProcess::nullDevice());
    panel.setStandardOutputFile(QProcess::nullDevice());
    panel.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!panel.startDetached(&pid))
        return std::nullopt;
    return pid;
}

bool isRunning(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Connects to the panel, retrying while it starts. With modeArguments set, a panel is started when none holds
// the lock; the lock, not a failed connection, tells whether one is merely still starting.
Reply deliver(
    const PanelAddress &address, Kind kind, const QByteArray &payload, const std::optional<QStringList> &modeArguments)
{
    if (!address.isValid())
        return { false,
            QCoreApplication::translate(
                "IntakeClient", "there is no private runtime folder to reach the panel through") };
    const QDeadlineTimer deadline(PanelAnswerDeadlineMs);
    std::optional<qint64> started;
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(address.socket);
        if (socket.waitForConnected(RetryIntervalMs))
            return exchange(socket, kind, payload);
        if (modeArguments && !started && SingleInstance::isFree(address)) {
            started = startPanel(*modeArguments);
            if (!started)
                return { false,
                    QCoreApplication::translate("IntakeClient", "could not start the panel %1")
                        .arg(QCoreApplication::applicationFilePath()) };
        }
        // The panel we started may leave because another start won the lock; only when nobody holds it did
        // it fail, typically for want of a display. No need to wait out the deadline then.
        if (started && !isRunning(*started) && SingleInstance::isFree(address))
            return { false,
                QCoreApplication::translate(
                    "IntakeClient", "the panel started for the text quit at once (can it open a window?)") };
        if (deadline.hasExpired())
            return { false,
                QCoreApplication::translate("IntakeClient", "no Mirel panel answered within %1 seconds")
                    .arg(PanelAnswerDeadlineMs / 1000) };
        QThread::msleep(RetryIntervalMs);
    }
}

// Reads at most one byte more than the limit, so an endless stream is refused instead of filling memory.
std::optional<QByteArray> readStandardInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data;
    while (data.size() <= MaxPayload) {
        const QByteArray chunk = input.read(MaxPayload + 1 - data.size());
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    return data;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int send(const SendCommand &command, const QByteArray &text)
{
    if (text.size() > MaxPayload) {
        reportProblem(QCoreApplication::translate(
            "IntakeClient", "the text is larger than the limit of %1 bytes; nothing was sent")
                          .arg(MaxPayload));
        return ExitNotDelivered;
    }
    const bool reminds = command.remindAt.isValid();
    const Reply reply
        = deliver(PanelAddress::forMode(command.uiTesting), reminds ? Kind::SendTextWithReminder : Kind::SendText,
            reminds ? command.remindAt.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n' + text : text,
            command.modeArguments);
    if (!reply.delivered) {
        reportProblem(QCoreApplication::translate("IntakeClient", "could not send the text: %1").arg(reply.message));
        return ExitNotDelivered;
    }
    const int added = reply.message.toInt();
    if (!reply.saveFailure.isEmpty()) {
        const QString notSaved = added == 1
            ? QCoreApplication::translate("IntakeClient",
                "the panel took the text (%1 goal) but could not save it: %2. It stays in the "
                "panel and is written by the panel's next save that succeeds; do not send it again.")
            : QCoreApplication::translate("IntakeClient",
                "the panel took the text (%1 goals) but could not save it: %2. It stays in the "
                "panel and is written by the panel's next save that succeeds; do not send it again.");
        reportProblem(notSaved.arg(added).arg(reply.saveFailure));
        return ExitNotSaved;
    }
    const QString addedText = added == 1 ? QCoreApplication::translate("IntakeClient", "Added %1 goal to Mirel.")
                                         : QCoreApplication::translate("IntakeClient", "Added %1 goals to Mirel.");
    std::printf("%s\n", qPrintable(addedText.arg(added)));
    return 0;
}

// The time of the key press that started this command, which a launcher following the startup-notification
// convention passes on as "..._TIME<timestamp>" in DESKTOP_STARTUP_ID; empty when there is none.
QByteArray launcherUserTime()
{
    const QByteArray id = qgetenv("DESKTOP_STARTUP_ID");
    const qsizetype at = id.lastIndexOf("_TIME");
    if (at < 0)
        return {};
    bool isNumber = false;
    const QByteArray time = id.mid(at + 5);
    time.toUInt(&isNumber);
    return isNumber ? time : QByteArray();
}

int askForNewGoal(const SendCommand &command)
{
    const Reply reply
        = deliver(PanelAddress::forMode(command.uiTesting), Kind::NewGoal, launcherUserTime(), command.modeArguments);
    if (!reply.delivered) {
        reportProblem(QCoreApplication::translate("IntakeClient", "could not reach the panel: %1").arg(reply.message));
        return ExitNotDelivered;
    }
    return 0;
}

} // namespace

namespace IntakeClient
{

int run(int &argc, char **argv, const SendCommand &command)
{
    switch (command.source) {
    case SendCommand::Source::Arguments: {
        const TranslatedApplication<QCoreApplication> app(argc, argv);
        return send(command, command.texts.join(u'\n').toUtf8());
    }
    case SendCommand::Source::StandardInput: {
        const TranslatedApplication<QCoreApplication> app(argc, argv);
        const std::optional<QByteArray> text = readStandardInput();
        if (!text) {
            reportProblem(QCoreApplication::translate("IntakeClient", "cannot read standard input; nothing was sent"));
            return ExitNotDelivered;
        }
        return send(command, *text);
    }
    case SendCommand::Source::Selection: {
        // Without a display the application object would abort; say what is missing instead.
        if (!hasDisplay()) {
            const TranslatedApplication<QCoreApplication> app(argc, argv);
            reportProblem(
                QCoreApplication::translate("IntakeClient", "no display to read the selection from; nothing was sent"));
            return ExitNotDelivered;
        }
        const TranslatedApplication<QGuiApplication> app(argc, argv);
        const QString text = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (text.isEmpty()) {
            // As with a service request that carries no text: nothing to add, and not an error.
            reportProblem(QCoreApplication::translate("IntakeClient", "no text is selected; nothing was sent"));
            return 0;
        }
        return send(command, text.toUtf8());
    }
    case SendCommand::Source::NewGoal: {
        const TranslatedApplication<QCoreApplication> app(argc, argv);
        return askForNewGoal(command);
    }
    }
    return ExitNotDelivered;
}

int bringPanelToFront(int &argc, char **argv, const PanelAddress &address)
{
    const TranslatedApplication<QCoreApplication> app(argc, argv);
    const Reply reply = deliver(address, Kind::BringToFront, {}, std::nullopt);
    if (!reply.delivered) {
        printError(QCoreApplication::translate("IntakeClient", "another Mirel panel holds %1, but %2")
                       .arg(address.lockFile, reply.message));
        return ExitNotDelivered;
    }
    return 0;
}

} // namespace IntakeClient
