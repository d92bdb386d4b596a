// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QList>
#include <QString>

// When a goal comes back: never, every day, Monday to Friday, or on chosen days of the week. Its stored form is
// "daily", "weekdays" or "weekly:MO,WE,FR"; a form written by another program that is none of these is kept
// verbatim and counts as repeating as set elsewhere, which the panel neither resets nor hides.
class GoalRepeat final
{
public:
    enum class Kind { Never, EveryDay, Weekdays, Weekly, SetElsewhere };

    GoalRepeat() = default;
    static GoalRepeat everyDay();
    static GoalRepeat weekdays();
    // Days as Qt numbers them, 1 for Monday to 7 for Sunday; none at all means never.
    static GoalRepeat weekly(const QList<int> &days);
    // The empty form is never.
    static GoalRepeat fromStored(const QString &form);

    Kind kind() const { return m_kind; }
    bool repeats() const { return m_kind != Kind::Never; }
    // Empty for never.
    QString stored() const;
    // The days of a weekly goal, Monday first.
    QList<int> days() const;

    // Whether the goal comes back on that day: it stands open when the day begins. Never for a rule set
    // elsewhere, whose days the panel cannot tell.
    bool isDueOn(QDate day) const;
    // Whether the goal stands in the day's list: every goal but one repeating on other days.
    bool isShownOn(QDate day) const;

    bool operator==(const GoalRepeat &other) const = default;

private:
    Kind m_kind = Kind::Never;
    // Bit d - 1 for day d of a weekly goal.
    quint8 m_days = 0;
    QString m_elsewhere;
};
