// SPDX-License-Identifier: GPL-3.0-or-later

#include "recurrencerule.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{

constexpr std::array<QStringView, 7> DayCodes = { u"MO", u"TU", u"WE", u"TH", u"FR", u"SA", u"SU" };

GoalRepeat elsewhere(QStringView rule)
{
    return GoalRepeat::fromStored(rule.toString());
}

// The days of a BYDAY value in Qt's numbering; nothing where one of them is no plain day of the week (a
// position such as 1MO or -1FR is a monthly or yearly matter).
std::optional<QList<int>> daysOf(QStringView byDay)
{
    QList<int> days;
    for (QStringView code : byDay.split(u',')) {
        const auto *found = std::find_if(DayCodes.cbegin(), DayCodes.cend(),
            [&](QStringView day) { return code.compare(day, Qt::CaseInsensitive) == 0; });
        if (found == DayCodes.cend())
            return {};
        days.append(int(found - DayCodes.cbegin()) + 1);
    }
    return days;
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
    const auto weeklyOn = [](const QList<int> &days) {
        QStringList codes;
        for (int day : days)
            codes.append(DayCodes.at(std::size_t(day - 1)).toString());
        return u"FREQ=WEEKLY;BYDAY="_s + codes.join(u',');
    };
    switch (repeat.kind()) {
    case GoalRepeat::Kind::Never:
        return {};
    case GoalRepeat::Kind::EveryDay:
        return u"FREQ=DAILY"_s;
    case GoalRepeat::Kind::Weekdays:
        return weeklyOn({ 1, 2, 3, 4, 5 });
    case GoalRepeat::Kind::Weekly:
        return weeklyOn(repeat.days());
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
    return rule.isEmpty() ? GoalRepeat() : repeatOf(rule);
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
