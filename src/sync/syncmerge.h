// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goalsmerge.h"
#include "model/todoitem.h"
#include "syncstate.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

#include <optional>

// The panel's goals and a task list's tasks merged by the goals file's rules, the goals as last synced being the
// base. Merged as the server holds goals (HeldByTask), so that a goal the panel has not changed since the last
// sync reads as it did then, milliseconds and all; a goal the server kept as it was comes back as the panel's own.
// Values in, values out.
namespace SyncMerge
{

struct Merged {
    // What the panel is to show, numbered in list order.
    QList<TodoItem> goals;
    // The goals whose task is to be written for what they hold: new ones and those changed since the server's
    // version, moves included.
    QSet<QUuid> changed;
    // The sort order each task written is given; a task absent keeps its own.
    QHash<QUuid, qint64> sortOrders;
};

// `base`: the goals as last synced, by id. A goal the server no longer holds goes, unless the panel changed it.
Merged merge(const QList<TodoItem> &panel, const QHash<QUuid, TodoItem> &base, const SyncedTasks &server,
    const GoalsMerge::Deletions &deletions);

// One task fetched again, merged with the panel's goal (null where the panel has none) over its version as last
// synced (null where there is none); nothing where the goal is to go.
std::optional<TodoItem> mergeTask(
    const TodoItem *panel, const TodoItem &task, const TodoItem *synced, const GoalsMerge::Deletions &deletions);

} // namespace SyncMerge
