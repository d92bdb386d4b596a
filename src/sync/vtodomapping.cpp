// SPDX-License-Identifier: GPL-3.0-or-later

#include "vtodomapping.h"

#include "rawxvalues.h"
#include "recurrencerule.h"
#include "taskalarm.h"
#include "tasktimes.h"

#include <libical/ical.h>

#include <QUuid>

#include <algorithm>
#include <limits>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

using namespace TaskTimes;

namespace
{

constexpr char SortOrderProperty[] = "X-APPLE-SORT-ORDER";
constexpr char ProductId[] = "-//Mirel//Mirel//EN";
// Names the goal ids made for other clients' UIDs. Fixed, so that every computer derives the same id.
constexpr QUuid ForeignUidNamespace(0x3b0e5c1a, 0x8d4f, 0x4e27, 0x9a, 0x61, 0x2f, 0x7c, 0x55, 0xd0, 0x13, 0xe8);

struct ComponentFree {
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct Parsed {
    RawXValues raw;
    Component root;
};

Parsed parse(const QByteArray &text)
{
    // libical aborts on its own errors unless told otherwise; a server's text must never end the panel.
    static const bool quiet = [] {
        icalerror_set_errors_are_fatal(0);
        return true;
    }();
    Q_UNUSED(quiet);
    RawXValues raw(text);
    Component root(icalcomponent_new_from_string(raw.text().constData()));
    return { std::move(raw), std::move(root) };
}

// The task itself, not one of its recurrence overrides.
icalcomponent *masterTask(icalcomponent *root)
{
    if (!root)
        return nullptr;
    const auto isMaster
        = [](icalcomponent *todo) { return !icalcomponent_get_first_property(todo, ICAL_RECURRENCEID_PROPERTY); };
    if (icalcomponent_isa(root) == ICAL_VTODO_COMPONENT)
        return isMaster(root) ? root : nullptr;
    for (icalcomponent *todo = icalcomponent_get_first_component(root, ICAL_VTODO_COMPONENT); todo;
         todo = icalcomponent_get_next_component(root, ICAL_VTODO_COMPONENT)) {
        if (isMaster(todo))
            return todo;
    }
    return nullptr;
}

std::vector<icalproperty *> propertiesOf(icalcomponent *todo, icalproperty_kind kind, const char *xName = nullptr)
{
    std::vector<icalproperty *> found;
    for (icalproperty *property = icalcomponent_get_first_property(todo, kind); property;
         property = icalcomponent_get_next_property(todo, kind)) {
        if (!xName || qstricmp(icalproperty_get_x_name(property), xName) == 0)
            found.push_back(property);
    }
    return found;
}

void removeAll(icalcomponent *todo, icalproperty_kind kind, const char *xName = nullptr)
{
    // Collected first: removing while iterating skips properties.
    for (icalproperty *property : propertiesOf(todo, kind, xName)) {
        icalcomponent_remove_property(todo, property);
        icalproperty_free(property);
    }
}

void replace(icalcomponent *todo, icalproperty *property)
{
    const icalproperty_kind kind = icalproperty_isa(property);
    removeAll(todo, kind, kind == ICAL_X_PROPERTY ? icalproperty_get_x_name(property) : nullptr);
    icalcomponent_add_property(todo, property);
}

std::optional<qint64> sortOrderOf(icalcomponent *todo, const RawXValues &raw)
{
    const std::vector<icalproperty *> found = propertiesOf(todo, ICAL_X_PROPERTY, SortOrderProperty);
    if (found.empty())
        return {};
    bool ok = false;
    const qint64 order = raw.valueOf(icalproperty_get_x(found.front())).trimmed().toLongLong(&ok);
    return ok ? std::optional(order) : std::nullopt;
}

// STATUS decides where there is one; a client that writes none marks a done task by its COMPLETED alone.
bool isDone(icalcomponent *todo)
{
    if (icalcomponent_get_first_property(todo, ICAL_STATUS_PROPERTY))
        return icalcomponent_get_status(todo) == ICAL_STATUS_COMPLETED;
    return icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY) != nullptr;
}

void setDone(icalcomponent *todo, bool done, const QDateTime &when)
{
    icalcomponent_set_status(todo, done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION);
    if (done) {
        replace(todo, icalproperty_new_completed(icalTime(when)));
        replace(todo, icalproperty_new_percentcomplete(100));
    } else {
        removeAll(todo, ICAL_COMPLETED_PROPERTY);
        removeAll(todo, ICAL_PERCENTCOMPLETE_PROPERTY);
    }
}

// The task's repetition. A task of several rules, or with dates of its own besides, is as set elsewhere: the
// panel could only ever show one of its rules.
GoalRepeat repeatOf(icalcomponent *todo)
{
    const std::vector<icalproperty *> rules = propertiesOf(todo, ICAL_RRULE_PROPERTY);
    if (rules.empty())
        return {};
    char *value = icalproperty_get_value_as_string_r(rules.front());
    const QString rule = QString::fromUtf8(value);
    icalmemory_free_buffer(value);
    if (rules.size() > 1 || icalcomponent_get_first_property(todo, ICAL_RDATE_PROPERTY))
        return GoalRepeat::fromStored(rule);
    QDate start;
    if (icalproperty *dtstart = icalcomponent_get_first_property(todo, ICAL_DTSTART_PROPERTY)) {
        const icaltimetype time = icalproperty_get_dtstart(dtstart);
        start = QDate(time.year, time.month, time.day);
    }
    return RecurrenceRule::repeatOf(rule, start);
}

// A rule counts from the task's start, which is its first time: a day the rule includes, or another client may
// show another first day. A start the rule does not include moves to the first day it does from the goal's
// creation (from the start itself where that is earlier), keeping its time of day; a task with a due time and
// no start keeps it so, and a rule set elsewhere keeps the start it came with.
void setRepeat(icalcomponent *todo, const TodoItem &goal)
{
    removeAll(todo, ICAL_RRULE_PROPERTY);
    const QString rule = RecurrenceRule::ruleOf(goal.repeat);
    if (rule.isEmpty())
        return;
    icalcomponent_add_property(todo, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.toUtf8().constData())));
    icalproperty *dtstart = icalcomponent_get_first_property(todo, ICAL_DTSTART_PROPERTY);
    if (goal.repeat.kind() == GoalRepeat::Kind::SetElsewhere
        || (!dtstart && icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY)))
        return;
    icaltimetype start = dtstart ? icalproperty_get_dtstart(dtstart) : icaltime_null_date();
    const QDate startDay(start.year, start.month, start.day);
    if (dtstart && goal.repeat.isDueOn(startDay))
        return;
    const QDate created = goal.createdAt.toLocalTime().date();
    const QDate first = RecurrenceRule::firstDay(goal.repeat, dtstart ? std::min(startDay, created) : created);
    start.year = first.year();
    start.month = first.month();
    start.day = first.day();
    if (dtstart)
        icalproperty_set_dtstart(dtstart, start);
    else
        icalcomponent_add_property(todo, icalproperty_new_dtstart(start));
}

QUuid goalIdFor(const QString &uid)
{
    const QUuid id = QUuid::fromString(uid);
    return id.isNull() ? QUuid::createUuidV5(ForeignUidNamespace, uid) : id;
}

} // namespace

namespace VTodoMapping
{

std::optional<Task> read(const QByteArray &calendarObject)
{
    const Parsed parsed = parse(calendarObject);
    icalcomponent *todo = masterTask(parsed.root.get());
    if (!todo)
        return {};
    const QString uid = QString::fromUtf8(icalcomponent_get_uid(todo));
    const std::optional<QString> text = trimmedNonEmpty(QString::fromUtf8(icalcomponent_get_summary(todo)));
    QDateTime created = timeOf(todo, ICAL_CREATED_PROPERTY);
    // CREATED is optional; DTSTAMP is not, and is the closest a task without it has.
    for (const icalproperty_kind fallback : { ICAL_DTSTAMP_PROPERTY, ICAL_LASTMODIFIED_PROPERTY }) {
        if (!created.isValid())
            created = timeOf(todo, fallback);
    }
    if (uid.isEmpty() || !text || !created.isValid())
        return {};
    Task task;
    task.uid = uid;
    task.goal.id = goalIdFor(uid);
    task.goal.text = *text;
    task.goal.completed = isDone(todo);
    task.goal.createdAt = created;
    task.goal.modifiedAt = timeOf(todo, ICAL_LASTMODIFIED_PROPERTY);
    task.goal.repeat = repeatOf(todo);
    task.goal.reminder
        = TaskAlarm::reminderOf(todo, timeOf(todo, ICAL_DTSTART_PROPERTY), timeOf(todo, ICAL_DUE_PROPERTY));
    task.goal.due = dueOf(todo);
    task.sortOrder = sortOrderOf(todo, parsed.raw);
    task.goal.order = task.sortOrder.value_or(0);
    task.cancelled = icalcomponent_get_status(todo) == ICAL_STATUS_CANCELLED;
    return task;
}

std::optional<QByteArray> write(
    const TodoItem &goal, const QDateTime &now, const QByteArray &serverVersion, std::optional<qint64> sortOrder)
{
    if (!goal.createdAt.isValid())
        return {};
    Parsed parsed { RawXValues({}), nullptr };
    Component &root = parsed.root;
    icalcomponent *todo = nullptr;
    std::optional<Task> before;
    if (serverVersion.isEmpty()) {
        root.reset(icalcomponent_vanew(
            ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"), icalproperty_new_prodid(ProductId), nullptr));
        todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
        icalcomponent_add_component(root.get(), todo);
        icalcomponent_set_uid(todo, goal.id.toByteArray(QUuid::WithoutBraces).toUpper().constData());
    } else {
        before = read(serverVersion);
        if (!before || before->cancelled)
            return {};
        parsed = parse(serverVersion);
        todo = masterTask(root.get());
    }
    if (!before || before->goal.text != goal.text)
        icalcomponent_set_summary(todo, goal.text.toUtf8().constData());
    if (!before || before->goal.completed != goal.completed)
        setDone(todo, goal.completed, lastChange(goal));
    if (sortOrder && (!before || before->sortOrder != sortOrder)) {
        icalproperty *order = icalproperty_new_x(QByteArray::number(*sortOrder).constData());
        icalproperty_set_x_name(order, SortOrderProperty);
        replace(todo, order);
    }
    if (!before || RecurrenceRule::asHeldByTask(before->goal.repeat) != RecurrenceRule::asHeldByTask(goal.repeat))
        setRepeat(todo, goal);
    // Only for a task written anew, or where the panel's version of the goal won over another client's: the
    // panel itself never changes a due date.
    if (before ? before->goal.due != goal.due : goal.due.isSet()) {
        removeAll(todo, ICAL_DUE_PROPERTY);
        if (icalproperty *due = dueProperty(goal.due))
            icalcomponent_add_property(todo, due);
    }
    if (!before || before->goal.reminder != goal.reminder)
        TaskAlarm::setReminder(
            todo, goal.reminder, goal.text, timeOf(todo, ICAL_DTSTART_PROPERTY), timeOf(todo, ICAL_DUE_PROPERTY));
    else if (before->goal.text != goal.text)
        TaskAlarm::setText(todo, goal.text);
    if (!before || before->goal.createdAt != goal.createdAt)
        replace(todo, icalproperty_new_created(icalTime(goal.createdAt)));
    replace(todo, icalproperty_new_lastmodified(icalTime(lastChange(goal))));
    icalcomponent_set_dtstamp(todo, icalTime(now));

    char *text = icalcomponent_as_ical_string_r(root.get());
    const QByteArray written = parsed.raw.restored(text);
    icalmemory_free_buffer(text);
    return written;
}

QList<TodoItem> place(const QList<Task> &tasks)
{
    QList<const Task *> ordered;
    QList<const Task *> unordered;
    for (const Task &task : tasks) {
        if (!task.cancelled)
            (task.sortOrder ? ordered : unordered).append(&task);
    }
    // Ties go by id: the tasks come in no order of their own, and every computer must place them alike.
    std::sort(ordered.begin(), ordered.end(), [](const Task *a, const Task *b) {
        return std::tuple(*a->sortOrder, a->goal.createdAt, a->goal.id)
            < std::tuple(*b->sortOrder, b->goal.createdAt, b->goal.id);
    });
    std::sort(unordered.begin(), unordered.end(), [](const Task *a, const Task *b) {
        return std::pair(a->goal.createdAt, a->goal.id) < std::pair(b->goal.createdAt, b->goal.id);
    });

    // Each goal in its place first; an order for the ones without follows.
    QList<const Task *> sequence;
    sequence.reserve(ordered.size() + unordered.size());
    auto nextUnordered = unordered.cbegin();
    for (const Task *task : std::as_const(ordered)) {
        for (; nextUnordered != unordered.cend() && (*nextUnordered)->goal.createdAt < task->goal.createdAt;
             ++nextUnordered)
            sequence.append(*nextUnordered);
        sequence.append(task);
    }
    for (; nextUnordered != unordered.cend(); ++nextUnordered)
        sequence.append(*nextUnordered);

    QList<TodoItem> goals;
    goals.reserve(sequence.size());
    bool ascending = true;
    for (const Task *task : std::as_const(sequence)) {
        goals.append(task->goal);
        if (goals.size() == 1) {
            goals.last().order = task->sortOrder.value_or(0);
            continue;
        }
        const qint64 previous = goals.at(goals.size() - 2).order;
        if (task->sortOrder)
            ascending = ascending && *task->sortOrder > previous;
        else if (previous < std::numeric_limits<qint64>::max())
            goals.last().order = previous + 1;
        else
            ascending = false;
    }
    if (!ascending) {
        for (qsizetype i = 0; i < goals.size(); ++i)
            goals[i].order = i;
    }
    return goals;
}

} // namespace VTodoMapping
