// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>

// When a goal is due, as another calendar client set it: a whole day, or a moment. The panel sets none of its
// own; it shows the one it was given and keeps it.
class GoalDue final
{
public:
    GoalDue() = default;
    static GoalDue onDay(QDate day);
    // In UTC.
    static GoalDue at(const QDateTime &moment);

    bool isSet() const { return m_day.isValid() || m_moment.isValid(); }
    bool isWholeDay() const { return m_day.isValid(); }
    // Invalid unless it is a whole day.
    QDate day() const { return m_day; }
    // Invalid unless it is a moment.
    QDateTime moment() const { return m_moment; }
    // A whole day passes when the next one begins.
    bool hasPassedAt(const QDateTime &now) const;

    bool operator==(const GoalDue &other) const = default;

private:
    QDate m_day;
    QDateTime m_moment;
};
