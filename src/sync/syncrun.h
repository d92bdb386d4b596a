// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "davhttp.h"
#include "model/goalsmerge.h"
#include "model/todoitem.h"
#include "syncstate.h"
#include "tasklistaddress.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

// One sync of the panel's goals with a task list: the server's changes since the last sync come down, are merged
// with the panel's by the goals file's rules (the goals as last synced being the base), and what then differs
// goes up, each write conditional on the version it was decided on. A write the server refuses as outdated
// (412) has that task fetched, merged once more and written again. Plain code: it says which requests to send
// and reads their replies, whoever holds the network sends them, in any order.
class SyncRun final
{
public:
    struct Request {
        quint64 tag = 0;
        DavRequest request;
    };

    // `deletions`: goals deleted in the panel lately, with when; a goal last synced and missing from the panel
    // counts as deleted no earlier than its last synced change, so a later edit on the server brings it back.
    SyncRun(const QUrl &taskList, const QList<TodoItem> &panel, const GoalsMerge::Deletions &deletions,
        const SyncState &state, const QDateTime &now);

    // The first request: the changes since the state's token, all tasks when it has none.
    QList<Request> start();
    // The reply to the request of that tag, and the requests it leads to.
    QList<Request> answer(quint64 tag, const DavReply &reply);

    // No request is waiting for its reply.
    bool finished() const { return m_waiting.isEmpty(); }
    // The server's changes and the panel's are merged: goals() is what the panel is to show, the writes
    // follow.
    bool merged() const { return m_merged; }
    // The goals after the sync; the panel's own where nothing came down.
    const QList<TodoItem> &goals() const { return m_goals; }
    // What the server holds as far as this sync saw it, the state for the next one.
    const SyncState &state() const { return m_state; }
    // The first reason why a part of the sync did not go through; nothing when all of it did.
    const std::optional<QString> &failure() const { return m_failure; }

private:
    enum class Kind { Changes, ETags, Fetch, PutNew, PutChange, Delete, Refetch, CatchUp };
    struct Waiting {
        Kind kind = Kind::Changes;
        QString href = {};
        // The token a question for changes was sent with.
        QString token = {};
        QUuid goal = {};
        QByteArray written = {};
        int attempt = 0;
    };

    Request send(const Waiting &waiting, DavRequest request);
    Request changes(const QString &token);
    QList<Request> pulled(const Waiting &waiting, const DavReply &reply);
    QList<Request> fetchOrMerge(const QStringList &hrefs);
    QList<Request> mergeAndPush();
    QList<Request> pushed(const Waiting &waiting, const DavReply &reply);
    QList<Request> refetched(const Waiting &waiting, const DavReply &reply);
    QList<Request> caughtUp();
    QList<Request> caughtUp(const DavReply &reply);
    std::optional<Request> put(const TodoItem &goal, const QString &href, int attempt);
    Request remove(const QUuid &goal, const QString &href, int attempt);
    void fail(const QString &reason);

    TaskListAddress m_taskList;
    QList<TodoItem> m_goals;
    GoalsMerge::Deletions m_deletions;
    QHash<QUuid, TodoItem> m_base;
    SyncState m_state;
    QDateTime m_now;
    QString m_token;
    quint64 m_lastTag = 0;
    QHash<quint64, Waiting> m_waiting;
    std::optional<QString> m_failure;
    bool m_merged = false;
    int m_written = 0;
    // The sort order each goal written is given; a goal absent keeps the task's own.
    QHash<QUuid, qint64> m_sortOrders;
};
