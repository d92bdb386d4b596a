// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "davmultistatus.h"
#include "model/todoitem.h"
#include "vtodomapping.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <utility>

// What the last sync left, kept from one sync to the next: the server's version of each task Mirel has seen.
struct SyncState {
    struct Task {
        // Quoted, as If-Match wants it back; empty where the server gave none with a write.
        QByteArray etag;
        QByteArray calendarData;
    };
    // Empty before the first sync and where the server offers none.
    QString syncToken;
    // By the task's full address.
    QHash<QString, Task> tasks;

    // Takes in a listing of the list's tasks by full address (TaskListAddress::tasksIn): a task with its data is
    // held, one reported gone is dropped, and where the listing is `whole`, so is every task it leaves out. Gives
    // the tasks listed without their data whose ETag is not the one held, to fetch.
    QStringList takeListing(const QList<std::pair<QString, DavMultiStatus::Response>> &listing, bool whole);
    // Whether every change a listing of changes tells of is one this state already holds: a write of this
    // panel's, answered with the ETag the listing gives, or a task it removed.
    bool holdsAll(const QList<std::pair<QString, DavMultiStatus::Response>> &listing) const;
};

// The server's tasks as the state holds them, read once: the readable ones, the first address of an id winning,
// those shown as goals and those cancelled.
struct SyncedTasks {
    QHash<QUuid, QString> hrefs;
    QHash<QUuid, VTodoMapping::Task> shown;
    QSet<QUuid> cancelled;

    static SyncedTasks of(const SyncState &state);
};

// How many of the panel's goals were added, changed or deleted since the server's tasks as last synced.
int changesWaiting(const QList<TodoItem> &panel, const SyncedTasks &synced);
