// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

// The running panel's end of `mirel --send`: listens on the panel's local socket and hands each text it
// receives to onText on the main thread. The reply is sent only after onText returned, that is after the
// goals were added and saved, so the sender can rely on its exit status. A plain Unix socket watched by the
// event loop, so that the panel never loads Qt Network and what it brings (Kerberos, libproxy); the senders'
// QLocalSocket speaks to it as to any local server.
class IntakeServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IntakeServer)

public:
    // What became of a text: the goals added to the panel, why they are not on disk when the save failed, or
    // why the panel took none of it.
    struct TextIntake {
        qsizetype added = 0;
        QString saveFailure = {};
        QString refusal = {};
    };

    struct Callbacks {
        // Adds the goals in the text, each reminding at the moment where it is valid, and says how many it added
        // and whether they were saved.
        std::function<TextIntake(const QString &text, const QDateTime &remindAt)> onText;
        // A second start of the program asks the running panel to come to the front.
        std::function<void()> onBringToFront;
        // `mirel --new-goal`: the panel comes to the front in adding mode with the keyboard. The X server time
        // of the user's action, 0 when unknown.
        std::function<void(uint32_t userTime)> onNewGoal;
        // The calendar connection changed in the preferences; with the password for this run where the desktop
        // keeps none.
        std::function<void(const QString &password)> onCalendarChanged;
    };

    explicit IntakeServer(Callbacks callbacks, QObject *parent = nullptr);
    ~IntakeServer() override;

    // Must only be called by the process holding the panel lock: a socket file already at the path can
    // then only be left over from a crash, and is replaced.
    bool listen(const QString &socketPath);
    QString errorString() const;

private:
    void acceptConnections();

    Callbacks m_callbacks;
    int m_listener = -1;
    QByteArray m_socketFile;
    QSocketNotifier *m_incoming = nullptr;
    QString m_error;
};
