// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalrepeat.h"

#include <QStringList>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace
{

constexpr std::array<QStringView, 7> DayCodes = { u"MO", u"TU", u"WE", u"TH", u"FR", u"SA", u"SU" };
constexpr QStringView WeeklyPrefix = u"weekly:";
constexpr quint8 MondayToFriday = 0b0011111;

quint8 dayBit(int day)
{
    return quint8(1u << (day - 1));
}

} // namespace

GoalRepeat GoalRepeat::everyDay()
{
    GoalRepeat repeat;
    repeat.m_kind = Kind::EveryDay;
    return repeat;
}

GoalRepeat GoalRepeat::weekdays()
{
    GoalRepeat repeat;
    repeat.m_kind = Kind::Weekdays;
    return repeat;
}

GoalRepeat GoalRepeat::weekly(const QList<int> &days)
{
    GoalRepeat repeat;
    for (int day : days) {
        if (day >= 1 && day <= 7)
            repeat.m_days |= dayBit(day);
    }
    if (repeat.m_days != 0)
        repeat.m_kind = Kind::Weekly;
    return repeat;
}

GoalRepeat GoalRepeat::fromStored(const QString &form)
{
    if (form.isEmpty())
        return {};
    if (form == "daily"_L1)
        return everyDay();
    if (form == "weekdays"_L1)
        return weekdays();
    GoalRepeat repeat;
    if (form.startsWith(WeeklyPrefix)) {
        // Any order is read; a day named twice, an unknown code or no day at all is not this panel's form.
        quint8 days = 0;
        bool readable = true;
        for (QStringView code : QStringView(form).sliced(WeeklyPrefix.size()).split(u',')) {
            const auto *found = std::find(DayCodes.cbegin(), DayCodes.cend(), code);
            const int day = int(found - DayCodes.cbegin()) + 1;
            if (found == DayCodes.cend() || (days & dayBit(day))) {
                readable = false;
                break;
            }
            days |= dayBit(day);
        }
        if (readable) {
            repeat.m_kind = Kind::Weekly;
            repeat.m_days = days;
            return repeat;
        }
    }
    repeat.m_kind = Kind::SetElsewhere;
    repeat.m_elsewhere = form;
    return repeat;
}

QString GoalRepeat::stored() const
{
    switch (m_kind) {
    case Kind::Never:
        return {};
    case Kind::EveryDay:
        return u"daily"_s;
    case Kind::Weekdays:
        return u"weekdays"_s;
    case Kind::Weekly: {
        QStringList codes;
        for (int day : days())
            codes.append(DayCodes.at(day - 1).toString());
        return WeeklyPrefix.toString() + codes.join(u',');
    }
    case Kind::SetElsewhere:
        return m_elsewhere;
    }
    return {};
}

QList<int> GoalRepeat::days() const
{
    QList<int> days;
    for (int day = 1; day <= 7; ++day) {
        if (m_days & dayBit(day))
            days.append(day);
    }
    return days;
}

bool GoalRepeat::isDueOn(QDate day) const
{
    switch (m_kind) {
    case Kind::EveryDay:
        return true;
    case Kind::Weekdays:
        return (MondayToFriday & dayBit(day.dayOfWeek())) != 0;
    case Kind::Weekly:
        return (m_days & dayBit(day.dayOfWeek())) != 0;
    case Kind::Never:
    case Kind::SetElsewhere:
        return false;
    }
    return false;
}

bool GoalRepeat::isShownOn(QDate day) const
{
    return m_kind == Kind::Never || m_kind == Kind::SetElsewhere || isDueOn(day);
}
