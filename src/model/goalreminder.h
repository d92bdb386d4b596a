// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "goalrepeat.h"

#include <QDateTime>
#include <QTime>

#include <optional>

// When a goal taps the person on the shoulder: a moment, and the local time of day it rings at on each later
// day of a goal that repeats. The time of day is kept apart from the moment, so that a repeating goal set for
// 07:30 rings at 07:30 on the wall clock after a change of zone or of summer time, and a snooze moves only the
// next ring.
class GoalReminder final
{
public:
    GoalReminder() = default;
    // The moment's local time of day, as this computer's clock reads it, is the one a repeating goal keeps.
    explicit GoalReminder(const QDateTime &moment);
    GoalReminder(const QDateTime &moment, QTime timeOfDay);

    bool isSet() const { return m_moment.isValid(); }
    // In UTC; invalid when no reminder is set.
    QDateTime moment() const { return m_moment; }
    QTime timeOfDay() const { return m_timeOfDay; }

    // The rings are the moment itself and, for a goal that repeats, its time of day on each day it is due
    // after the moment. The first ring after `after`.
    std::optional<QDateTime> nextRingAfter(const GoalRepeat &repeat, const QDateTime &after) const;
    // The latest ring after `since` (any ring when it is invalid) and at or before `until`.
    std::optional<QDateTime> latestRingIn(
        const GoalRepeat &repeat, const QDateTime &since, const QDateTime &until) const;

    bool operator==(const GoalReminder &other) const = default;

private:
    // The day's ring of a repeating goal: its time of day on that date, or the first local time after it on a
    // day whose clock skips it.
    QDateTime ringOn(QDate day) const;
    bool ringsOn(const GoalRepeat &repeat, QDate day) const;

    QDateTime m_moment;
    QTime m_timeOfDay;
};
