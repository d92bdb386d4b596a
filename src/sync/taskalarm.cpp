// SPDX-License-Identifier: GPL-3.0-or-later

#include "taskalarm.h"

namespace
{

constexpr char OwnAlarmProperty[] = "X-MIREL-REMINDER";

bool isOwn(icalcomponent *alarm)
{
    for (icalproperty *property = icalcomponent_get_first_property(alarm, ICAL_X_PROPERTY); property;
         property = icalcomponent_get_next_property(alarm, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(property), OwnAlarmProperty) == 0)
            return true;
    }
    return false;
}

// The moment the alarm names; invalid for one relative to a time the task does not have, or of a kind that
// tells the person nothing (a procedure, an email).
QDateTime momentOf(icalcomponent *alarm, const QDateTime &start, const QDateTime &due)
{
    icalproperty *action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
    if (action && icalproperty_get_action(action) != ICAL_ACTION_DISPLAY
        && icalproperty_get_action(action) != ICAL_ACTION_AUDIO)
        return {};
    icalproperty *trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (!trigger)
        return {};
    const icaltriggertype when = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(when.time)) {
        if (!icaltime_is_valid_time(when.time))
            return {};
        return QDateTime::fromSecsSinceEpoch(
            icaltime_as_timet_with_zone(when.time, when.time.zone ? when.time.zone : icaltimezone_get_utc_timezone()),
            Qt::UTC);
    }
    icalparameter *related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    const bool toEnd = related && icalparameter_get_related(related) == ICAL_RELATED_END;
    // A task's start is optional; clients that remind relative to it without one mean its due time.
    const QDateTime base = toEnd || !start.isValid() ? due : start;
    if (!base.isValid())
        return {};
    return base.addSecs(icaldurationtype_as_int(when.duration));
}

// The alarm the goal's reminder is read from: the panel's own, else the first of another client's that names a
// moment.
icalcomponent *reminderAlarm(icalcomponent *todo, const QDateTime &start, const QDateTime &due)
{
    icalcomponent *foreign = nullptr;
    for (icalcomponent *alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(todo, ICAL_VALARM_COMPONENT)) {
        if (isOwn(alarm))
            return alarm;
        if (!foreign && momentOf(alarm, start, due).isValid())
            foreign = alarm;
    }
    return foreign;
}

} // namespace

namespace TaskAlarm
{

GoalReminder reminderOf(icalcomponent *todo, const QDateTime &start, const QDateTime &due)
{
    icalcomponent *alarm = reminderAlarm(todo, start, due);
    return alarm ? GoalReminder(momentOf(alarm, start, due)) : GoalReminder();
}

void setText(icalcomponent *todo, const QString &text)
{
    for (icalcomponent *alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(todo, ICAL_VALARM_COMPONENT)) {
        if (!isOwn(alarm))
            continue;
        if (icalproperty *description = icalcomponent_get_first_property(alarm, ICAL_DESCRIPTION_PROPERTY))
            icalproperty_set_description(description, text.toUtf8().constData());
    }
}

void setReminder(icalcomponent *todo, const GoalReminder &reminder, const QString &text, const QDateTime &start,
    const QDateTime &due)
{
    if (icalcomponent *old = reminderAlarm(todo, start, due)) {
        icalcomponent_remove_component(todo, old);
        icalcomponent_free(old);
    }
    if (!reminder.isSet())
        return;
    icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_description(text.toUtf8().constData()));
    icaltriggertype when {};
    when.time = icaltime_from_timet_with_zone(
        static_cast<time_t>(reminder.moment().toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
    when.duration = icaldurationtype_null_duration();
    icalproperty *trigger = icalproperty_new_trigger(when);
    icalproperty_add_parameter(trigger, icalparameter_new_value(ICAL_VALUE_DATETIME));
    icalcomponent_add_property(alarm, trigger);
    icalproperty *own = icalproperty_new_x("TRUE");
    icalproperty_set_x_name(own, OwnAlarmProperty);
    icalcomponent_add_property(alarm, own);
    icalcomponent_add_component(todo, alarm);
}

} // namespace TaskAlarm
