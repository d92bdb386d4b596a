// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncmerge.h"

#include "heldbytask.h"
#include "sortorders.h"

namespace SyncMerge
{

Merged merge(const QList<TodoItem> &panelGoals, const QHash<QUuid, TodoItem> &base, const SyncedTasks &server,
    const GoalsMerge::Deletions &deletions)
{
    QList<VTodoMapping::Task> shown;
    QHash<QUuid, qint64> held;
    for (const VTodoMapping::Task &task : server.shown) {
        shown.append(task);
        if (task.sortOrder)
            held.insert(task.goal.id, *task.sortOrder);
    }

    QList<TodoItem> panel;
    QHash<QUuid, TodoItem> panelOwn;
    for (const TodoItem &goal : panelGoals) {
        const auto synced = base.constFind(goal.id);
        if (synced != base.cend() && !server.shown.contains(goal.id) && !HeldByTask::changedSince(goal, *synced))
            continue;
        panel.append(HeldByTask::of(goal));
        panelOwn.insert(goal.id, goal);
    }
    QList<TodoItem> baseGoals;
    for (const TodoItem &synced : base)
        baseGoals.append(HeldByTask::of(synced));
    QList<TodoItem> onServer = VTodoMapping::place(shown);
    for (TodoItem &goal : onServer)
        goal = HeldByTask::of(goal);
    Merged merged { GoalsMerge::merge(panel, { onServer, baseGoals, {}, true }, deletions), {}, {} };
    QList<TodoItem> placed;
    for (qsizetype i = 0; i < merged.goals.size(); ++i) {
        TodoItem &goal = merged.goals[i];
        // The panel's own where the server brought nothing new for it; the goals file keeps its own order.
        const auto own = panelOwn.constFind(goal.id);
        if (own != panelOwn.cend() && !HeldByTask::changedSince(*own, goal))
            goal = *own;
        goal.order = i;
        if (server.cancelled.contains(goal.id))
            continue;
        placed.append(goal);
        // A move stamps the goal: its time goes up even where its number can stay.
        const auto task = server.shown.constFind(goal.id);
        if (task == server.shown.cend() || HeldByTask::changedSince(goal, task->goal))
            merged.changed.insert(goal.id);
    }
    merged.sortOrders = SortOrders::arrange(placed, held, merged.changed);
    return merged;
}

std::optional<TodoItem> mergeTask(
    const TodoItem *panel, const TodoItem &task, const TodoItem *synced, const GoalsMerge::Deletions &deletions)
{
    QList<TodoItem> panelSide;
    if (panel)
        panelSide.append(HeldByTask::of(*panel));
    const GoalsMerge::Other other { { HeldByTask::of(task) },
        synced ? QList<TodoItem> { HeldByTask::of(*synced) } : QList<TodoItem>(), {}, true };
    const QList<TodoItem> merged = GoalsMerge::merge(panelSide, other, deletions);
    if (merged.isEmpty())
        return std::nullopt;
    return merged.constFirst();
}

} // namespace SyncMerge
