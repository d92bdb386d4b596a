// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// A goal as a task of a calendar server (an iCalendar VTODO) and back. Only what a goal holds is Mirel's: the
// summary, done or not, the sort order and the times. Whatever else another client wrote stays as it was.
namespace VTodoMapping
{

struct Task {
    // The goal's id is the task's UID; a UID that is no UUID (made by another client) gives a UUID derived from
    // it, the same on every computer.
    TodoItem goal;
    // The task's own UID, which a write keeps.
    QString uid;
    // Without an X-APPLE-SORT-ORDER the task stands where its creation time puts it (see place()).
    std::optional<qint64> sortOrder;
    // Cancelled by another client: not shown, and never written.
    bool cancelled = false;
};

// The task in a calendar object resource; nothing when the text is no iCalendar, holds no task, or the task
// lacks a UID, a summary or any time to give it a creation time.
std::optional<Task> read(const QByteArray &calendarObject);

// The calendar object resource for the goal, DTSTAMP `now`. Given the server's version, it is that version with
// only what differs from the goal changed (so a task another client marked in progress stays so while its text
// is edited); nothing when that version cannot be read or is cancelled, or the goal has no valid createdAt.
// The goal's order is the goals file's own: the task's sort order is `sortOrder`, and without one stays as the
// server's version has it (none for a new task).
std::optional<QByteArray> write(const TodoItem &goal, const QDateTime &now, const QByteArray &serverVersion = {},
    std::optional<qint64> sortOrder = {});

// The shown tasks as goals in list order: those with a sort order by it, each one without placed before the
// first of them created after it. Orders strictly ascend, kept where they can be.
QList<TodoItem> place(const QList<Task> &tasks);

} // namespace VTodoMapping
