// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalreminder.h"

namespace
{

// A weekly goal is due at least once in this many days, counted with the day the search starts on.
constexpr int DaysToSearch = 8;
// A clock that skips the time of day skips at most this much of it, as the day start's does.
constexpr int GapStepMinutes = 15;
constexpr int GapSteps = 8;

} // namespace

GoalReminder::GoalReminder(const QDateTime &moment)
    : GoalReminder(moment, moment.toLocalTime().time())
{
}

GoalReminder::GoalReminder(const QDateTime &moment, QTime timeOfDay)
    : m_moment(moment.toUTC())
    , m_timeOfDay(QTime(timeOfDay.hour(), timeOfDay.minute()))
{
    if (!m_moment.isValid() || !timeOfDay.isValid()) {
        m_moment = {};
        m_timeOfDay = {};
    }
}

QDateTime GoalReminder::ringOn(QDate day) const
{
    QDateTime ring(day, m_timeOfDay);
    for (int step = 1; !ring.isValid() && step <= GapSteps; ++step)
        ring = QDateTime(day, m_timeOfDay.addSecs(step * GapStepMinutes * 60));
    return ring;
}

bool GoalReminder::ringsOn(const GoalRepeat &repeat, QDate day) const
{
    return repeat.isDueOn(day) && ringOn(day) > m_moment;
}

std::optional<QDateTime> GoalReminder::nextRingAfter(const GoalRepeat &repeat, const QDateTime &after) const
{
    if (!isSet())
        return std::nullopt;
    if (m_moment > after)
        return m_moment;
    const QDate first = after.toLocalTime().date();
    for (int offset = 0; offset < DaysToSearch; ++offset) {
        const QDate day = first.addDays(offset);
        if (ringsOn(repeat, day) && ringOn(day) > after)
            return ringOn(day);
    }
    return std::nullopt;
}

std::optional<QDateTime> GoalReminder::latestRingIn(
    const GoalRepeat &repeat, const QDateTime &since, const QDateTime &until) const
{
    if (!isSet() || m_moment > until)
        return std::nullopt;
    const auto counts = [&since](const QDateTime &ring) { return !since.isValid() || ring > since; };
    // Rings longer ago than a week are only ever passed over by a later one of the same goal.
    const QDate last = until.toLocalTime().date();
    for (int offset = 0; offset < DaysToSearch; ++offset) {
        const QDate day = last.addDays(-offset);
        if (ringOn(day) <= m_moment)
            break;
        if (ringsOn(repeat, day) && ringOn(day) <= until)
            return counts(ringOn(day)) ? std::optional(ringOn(day)) : std::nullopt;
    }
    return counts(m_moment) ? std::optional(m_moment) : std::nullopt;
}
