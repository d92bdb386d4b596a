// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goaldue.h"

#include <libical/ical.h>

#include <QDateTime>

// A task's times as the panel reads and writes them: each in UTC, whatever zone the task names, a floating time
// being this computer's local time.
namespace TaskTimes
{

// The time of the task's property of that kind; invalid where it has none, or none that can be read.
QDateTime timeOf(icalcomponent *todo, icalproperty_kind kind);
// The time as the panel writes it: in UTC, to the second.
icaltimetype icalTime(const QDateTime &time);

// A due date, a whole day or a moment, goes on the goal as the other client set it.
GoalDue dueOf(icalcomponent *todo);
// The task's DUE for the due date, a whole day or a moment in UTC; none for a goal without one.
icalproperty *dueProperty(const GoalDue &due);

} // namespace TaskTimes
