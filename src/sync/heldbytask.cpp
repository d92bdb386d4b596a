// SPDX-License-Identifier: GPL-3.0-or-later

#include "heldbytask.h"

#include "recurrencerule.h"

namespace HeldByTask
{

TodoItem of(TodoItem goal)
{
    const auto seconds = [](const QDateTime &time) {
        return time.isValid() ? QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch(), Qt::UTC) : time;
    };
    goal.createdAt = seconds(goal.createdAt);
    goal.modifiedAt = seconds(lastChange(goal));
    goal.repeat = RecurrenceRule::asHeldByTask(goal.repeat);
    if (!goal.due.isWholeDay())
        goal.due = GoalDue::at(seconds(goal.due.moment()));
    return goal;
}

bool differs(const TodoItem &goal, const TodoItem &task)
{
    // An alarm holds its moment in whole seconds, and no time of day of its own.
    const auto alarmMoment
        = [](const GoalReminder &reminder) { return reminder.isSet() ? reminder.moment().toSecsSinceEpoch() : -1; };
    const TodoItem mine = of(goal);
    const TodoItem theirs = of(task);
    return mine.text != theirs.text || mine.completed != theirs.completed || mine.createdAt != theirs.createdAt
        || mine.repeat != theirs.repeat || alarmMoment(mine.reminder) != alarmMoment(theirs.reminder)
        || mine.due != theirs.due;
}

bool changedSince(const TodoItem &goal, const TodoItem &version)
{
    return differs(goal, version) || of(goal).modifiedAt != of(version).modifiedAt;
}

} // namespace HeldByTask
