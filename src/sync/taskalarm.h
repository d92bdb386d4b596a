// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goalreminder.h"

#include <libical/ical.h>

#include <QDateTime>
#include <QString>

// A goal's reminder as an alarm of its task: a VALARM that shows a message at an absolute moment, marked as the
// panel's own. Another client's alarm, at a moment or relative to the task's start or due time, is read as the
// moment it names while the task has none of the panel's; every further alarm stays as that client wrote it.
namespace TaskAlarm
{

// `start` and `due` are the task's DTSTART and DUE, invalid where it has none.
GoalReminder reminderOf(icalcomponent *todo, const QDateTime &start, const QDateTime &due);

// The panel's alarm for the reminder, showing the goal's text, in place of the alarm the reminder was read from;
// none for an unset reminder.
void setReminder(icalcomponent *todo, const GoalReminder &reminder, const QString &text, const QDateTime &start,
    const QDateTime &due);

// The text the panel's own alarm shows; another client's alarms keep theirs.
void setText(icalcomponent *todo, const QString &text);

} // namespace TaskAlarm
