// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goalrepeat.h"

#include <QDate>
#include <QString>
#include <QStringView>

// A goal's repetition as an iCalendar recurrence rule (the value of a task's RRULE) and back. Only the rules the
// panel can show as one of its choices become them; any other rule (every other week, monthly, until a date, a
// set number of times) is a repetition set elsewhere whose form is the rule itself, so it goes back unchanged.
namespace RecurrenceRule
{

// The repetition for a rule; `start` (the task's DTSTART date) names the day of a weekly rule without days.
GoalRepeat repeatOf(QStringView rule, QDate start = {});

// The rule for a repetition; empty for never and for a form set elsewhere that is no rule.
QString ruleOf(const GoalRepeat &repeat);

// The repetition as a task on a server holds it: the same rule reads back the same, so "weekly on Monday to
// Friday" is weekdays, a form set elsewhere that is no rule is never, and a rule set elsewhere stays itself.
GoalRepeat asHeldByTask(const GoalRepeat &repeat);

// The first day on or after `from` that the repetition is due, which a task's DTSTART takes; `from` itself
// where no day of the week after it is one.
QDate firstDay(const GoalRepeat &repeat, QDate from);

} // namespace RecurrenceRule
