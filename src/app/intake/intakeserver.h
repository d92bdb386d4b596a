// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "intakemodule.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;

// The running panel's end of `mirel --send`: listens on the panel's local socket and hands each text it
// receives to onText on the main thread. The reply is sent only after onText returned, that is after the
// goals were added and saved, so the sender can rely on its exit status.
class IntakeServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IntakeServer)

public:
    using Callbacks = IntakeModule::ServerCallbacks;

    explicit IntakeServer(Callbacks callbacks, QObject *parent = nullptr);
    ~IntakeServer() override;

    // Must only be called by the process holding the panel lock: a socket file already at the path can
    // then only be left over from a crash, and is replaced.
    bool listen(const QString &socketPath);
    QString errorString() const;

private:
    void acceptConnections();
    void serve(QLocalSocket *socket);

    Callbacks m_callbacks;
    QLocalServer *m_server = nullptr;
};
