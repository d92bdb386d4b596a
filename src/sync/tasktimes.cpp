// SPDX-License-Identifier: GPL-3.0-or-later

#include "tasktimes.h"

namespace TaskTimes
{

QDateTime timeOf(icalcomponent *todo, icalproperty_kind kind)
{
    icalproperty *property = icalcomponent_get_first_property(todo, kind);
    if (!property)
        return {};
    // With the component, a TZID parameter finds its VTIMEZONE.
    const icaltimetype time = icalproperty_get_datetime_with_component(property, todo);
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time))
        return {};
    if (!time.zone) {
        // A floating time is the reader's local time.
        const QDateTime local(QDate(time.year, time.month, time.day), QTime(time.hour, time.minute, time.second));
        return local.isValid() ? local.toUTC() : QDateTime();
    }
    return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(time, time.zone), Qt::UTC);
}

GoalDue dueOf(icalcomponent *todo)
{
    icalproperty *property = icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY);
    if (!property)
        return {};
    const icaltimetype time = icalproperty_get_datetime_with_component(property, todo);
    if (time.is_date && !icaltime_is_null_time(time))
        return GoalDue::onDay(QDate(time.year, time.month, time.day));
    return GoalDue::at(timeOf(todo, ICAL_DUE_PROPERTY));
}

icaltimetype icalTime(const QDateTime &time)
{
    return icaltime_from_timet_with_zone(
        static_cast<time_t>(time.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
}

icalproperty *dueProperty(const GoalDue &due)
{
    if (!due.isWholeDay())
        return due.isSet() ? icalproperty_new_due(icalTime(due.moment())) : nullptr;
    icaltimetype day = icaltime_null_date();
    day.year = due.day().year();
    day.month = due.day().month();
    day.day = due.day().day();
    return icalproperty_new_due(day);
}

} // namespace TaskTimes
