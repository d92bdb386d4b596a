// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "syncrun.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <optional>

class DavHttp;

// Sends one sync's requests over HTTP and hands their replies back, a few at a time so that a first sync of a
// long list does not flood the server.
class SyncRunner final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SyncRunner)

public:
    SyncRunner(DavHttp *http, const SyncRun &run, QObject *parent = nullptr);

    void start();

signals:
    // The goals as merged, before anything is written: a first sync of a long list shows them at once.
    void merged(const QList<TodoItem> &goals);
    void finished(const QList<TodoItem> &goals, const SyncState &state, const std::optional<QString> &failure);

private:
    void sendWhatFits();

    DavHttp *m_http = nullptr;
    SyncRun m_run;
    QList<SyncRun::Request> m_queued;
    // The run's tag of each request on its way, by its HTTP id.
    QHash<quint64, quint64> m_sent;
};
