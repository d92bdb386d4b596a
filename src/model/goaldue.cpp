// SPDX-License-Identifier: GPL-3.0-or-later

#include "goaldue.h"

GoalDue GoalDue::onDay(QDate day)
{
    GoalDue due;
    due.m_day = day;
    return due;
}

GoalDue GoalDue::at(const QDateTime &moment)
{
    GoalDue due;
    if (moment.isValid())
        due.m_moment = moment.toUTC();
    return due;
}

bool GoalDue::hasPassedAt(const QDateTime &now) const
{
    if (isWholeDay())
        return now.toLocalTime().date() > m_day;
    return m_moment.isValid() && now >= m_moment;
}
