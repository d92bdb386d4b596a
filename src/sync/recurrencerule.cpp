// SPDX-License-Identifier: GPL-3.0-or-later

#include "recurrencerule.h"

#include <QList>

#include <optional>

using namespace Qt::StringLiterals;

namespace
{

// A weekly goal's stored form names its days with BYDAY's own two-letter codes.
constexpr QStringView WeeklyForm = u"weekly:";

GoalRepeat elsewhere(QStringView rule)
{
    return GoalRepeat::fromStored(rule.toString());
}

// The days of a BYDAY value in Qt's numbering, each read as a weekly goal's form reads it; nothing where one of
// them is no plain day of the week (a position such as 1MO or -1FR is a monthly or yearly matter).
std::optional<QList<int>> daysOf(QStringView byDay)
{
    QList<int> days;
    for (QStringView code : byDay.split(u',')) {
        const GoalRepeat day = GoalRepeat::fromStored(WeeklyForm.toString() + code.toString().toUpper());
        if (day.kind() != GoalRepeat::Kind::Weekly)
            return {};
        days.append(day.days().constFirst());
    }
    return days;
}

QString weeklyRule(const QList<int> &days)
{
    return u"FREQ=WEEKLY;BYDAY="_s + GoalRepeat::weekly(days).stored().sliced(WeeklyForm.size());
}

} // namespace

namespace RecurrenceRule
{

GoalRepeat repeatOf(QStringView rule, QDate start)
{
    QStringView frequency;
    std::optional<QStringView> byDay;
    for (QStringView part : rule.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(u'=');
        const QStringView name = part.first(qMax<qsizetype>(equals, 0));
        const QStringView value = equals < 0 ? QStringView() : part.sliced(equals + 1);
        if (name.compare("FREQ"_L1, Qt::CaseInsensitive) == 0)
            frequency = value;
        else if (name.compare("BYDAY"_L1, Qt::CaseInsensitive) == 0)
            byDay = value;
        else if (name.compare("INTERVAL"_L1, Qt::CaseInsensitive) == 0 && value == u"1")
            continue;
        // The week's first day only matters to rules every other week or more.
        else if (name.compare("WKST"_L1, Qt::CaseInsensitive) != 0)
            return elsewhere(rule);
    }
    const bool daily = frequency.compare("DAILY"_L1, Qt::CaseInsensitive) == 0;
    const bool weekly = frequency.compare("WEEKLY"_L1, Qt::CaseInsensitive) == 0;
    if (!daily && !weekly)
        return elsewhere(rule);
    QList<int> days;
    if (byDay) {
        const std::optional<QList<int>> named = daysOf(*byDay);
        if (!named)
            return elsewhere(rule);
        days = *named;
    } else if (daily) {
        return GoalRepeat::everyDay();
    } else if (start.isValid()) {
        days = { start.dayOfWeek() };
    } else {
        return elsewhere(rule);
    }
    const GoalRepeat repeat = GoalRepeat::weekly(days);
    if (repeat.days().size() == 7)
        return GoalRepeat::everyDay();
    if (repeat.days() == QList<int> { 1, 2, 3, 4, 5 })
        return GoalRepeat::weekdays();
    return repeat;
}

QString ruleOf(const GoalRepeat &repeat)
{
    switch (repeat.kind()) {
    case GoalRepeat::Kind::Never:
        return {};
    case GoalRepeat::Kind::EveryDay:
        return u"FREQ=DAILY"_s;
    case GoalRepeat::Kind::Weekdays:
        return weeklyRule({ 1, 2, 3, 4, 5 });
    case GoalRepeat::Kind::Weekly:
        return weeklyRule(repeat.days());
    case GoalRepeat::Kind::SetElsewhere: {
        const QString form = repeat.stored();
        return form.startsWith("FREQ="_L1, Qt::CaseInsensitive) ? form : QString();
    }
    }
    return {};
}

GoalRepeat asHeldByTask(const GoalRepeat &repeat)
{
    const QString rule = ruleOf(repeat);
    if (rule.isEmpty())
        return {};
    // A rule set elsewhere stands for the task's rules as they are, even where its first reads as a choice of
    // the panel's: choosing that choice in the panel is still a change, which leaves the task one rule.
    return repeat.kind() == GoalRepeat::Kind::SetElsewhere ? repeat : repeatOf(rule);
}

QDate firstDay(const GoalRepeat &repeat, QDate from)
{
    for (int ahead = 0; ahead < 7; ++ahead) {
        if (repeat.isDueOn(from.addDays(ahead)))
            return from.addDays(ahead);
    }
    return from;
}

} // namespace RecurrenceRule
