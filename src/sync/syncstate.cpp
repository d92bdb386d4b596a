// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncstate.h"

#include "heldbytask.h"

#include <algorithm>

QStringList SyncState::takeListing(const QList<std::pair<QString, DavMultiStatus::Response>> &listing, bool whole)
{
    QSet<QString> listed;
    QStringList toFetch;
    for (const auto &[href, response] : listing) {
        if (response.status == 404) {
            tasks.remove(href);
            continue;
        }
        listed.insert(href);
        if (!response.calendarData.isEmpty())
            tasks.insert(href, { response.etag.toUtf8(), response.calendarData });
        else if (!tasks.contains(href) || tasks.value(href).etag != response.etag.toUtf8())
            toFetch.append(href);
    }
    if (whole) {
        for (const QString &href : tasks.keys()) {
            if (!listed.contains(href))
                tasks.remove(href);
        }
    }
    return toFetch;
}

bool SyncState::holdsAll(const QList<std::pair<QString, DavMultiStatus::Response>> &listing) const
{
    return std::all_of(listing.cbegin(), listing.cend(), [this](const auto &task) {
        const auto &[href, response] = task;
        const auto known = tasks.constFind(href);
        return response.status == 404
            ? known == tasks.cend()
            : known != tasks.cend() && !known->etag.isEmpty() && known->etag == response.etag.toUtf8();
    });
}

SyncedTasks SyncedTasks::of(const SyncState &state)
{
    QStringList hrefs = state.tasks.keys();
    std::sort(hrefs.begin(), hrefs.end());
    SyncedTasks tasks;
    for (const QString &href : std::as_const(hrefs)) {
        const std::optional<VTodoMapping::Task> task = VTodoMapping::read(state.tasks.value(href).calendarData);
        if (!task || tasks.hrefs.contains(task->goal.id))
            continue;
        tasks.hrefs.insert(task->goal.id, href);
        if (task->cancelled)
            tasks.cancelled.insert(task->goal.id);
        else
            tasks.shown.insert(task->goal.id, *task);
    }
    return tasks;
}

int changesWaiting(const QList<TodoItem> &panel, const SyncedTasks &synced)
{
    int waiting = 0;
    QSet<QUuid> inPanel;
    for (const TodoItem &goal : panel) {
        inPanel.insert(goal.id);
        const auto task = synced.shown.constFind(goal.id);
        if (!synced.cancelled.contains(goal.id)
            && (task == synced.shown.cend() || HeldByTask::changedSince(goal, task->goal)))
            ++waiting;
    }
    for (auto task = synced.shown.cbegin(); task != synced.shown.cend(); ++task)
        waiting += inPanel.contains(task.key()) ? 0 : 1;
    return waiting;
}
