// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsfile.h"

#include "goalfields.h"
#include "storedtimes.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringDecoder>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <string_view>

using namespace StoredTimes;

namespace
{

// Only for escaping a text: the writer below puts the keys in their fixed order itself.
using Json = nlohmann::json;

constexpr std::string_view NilUuid = "00000000-0000-0000-0000-000000000000";

// QString::fromUtf8 takes a leading U+FEFF for a byte-order mark and drops it; in a goal's text it is text.
QString decodeText(const std::string &utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
}

// Only the bare 8-4-4-4-12 form, in either case: QUuid also takes braces, and gives the nil id for failure.
std::optional<QUuid> parseUuid(std::string_view text)
{
    if (text.size() != NilUuid.size())
        return std::nullopt;
    const QUuid id = QUuid::fromString(QLatin1StringView(text.data(), qsizetype(text.size())));
    if (id.isNull() && text != NilUuid)
        return std::nullopt;
    return id;
}

// A moment that cannot be read is no reminder; a time of day that cannot be read is the moment's own.
GoalReminder readReminder(const std::optional<std::string> &remindAt, const std::optional<std::string> &remindTime)
{
    const auto moment = remindAt ? parseDate(*remindAt) : std::nullopt;
    if (!moment)
        return {};
    if (const auto timeOfDay = remindTime ? parseTimeOfDay(*remindTime) : std::nullopt)
        return GoalReminder(*moment, *timeOfDay);
    return GoalReminder(*moment);
}

// "2026-12-10" is a whole day, else an internet date-time; what cannot be read is no due date.
GoalDue readDue(const std::optional<std::string> &due)
{
    if (!due)
        return {};
    if (const auto day = parseDay(*due))
        return GoalDue::onDay(*day);
    const auto moment = parseDate(*due);
    return moment ? GoalDue::at(*moment) : GoalDue();
}

// One element as far as it can be read. Nothing without a readable text; otherwise every field that is
// missing, mistyped or malformed is left unset and marked in `repaired`.
struct ReadGoal {
    TodoItem item;
    bool hasId = false;
    bool hasOrder = false;
    bool repaired = false;
};

std::optional<ReadGoal> readGoal(const GoalFields &fields)
{
    if (!fields.text)
        return std::nullopt;
    ReadGoal goal;
    goal.item.text = decodeText(*fields.text);
    if (const auto uuid = fields.id ? parseUuid(*fields.id) : std::nullopt) {
        goal.item.id = *uuid;
        goal.hasId = true;
    }
    goal.item.completed = fields.completed.value_or(false);
    if (fields.order) {
        goal.item.order = *fields.order;
        goal.hasOrder = true;
    }
    if (const auto date = fields.createdAt ? parseDate(*fields.createdAt) : std::nullopt)
        goal.item.createdAt = *date;
    // Only this version's own bookkeeping: a goal without it counts as changed when it was created.
    if (const auto date = fields.modifiedAt ? parseDate(*fields.modifiedAt) : std::nullopt)
        goal.item.modifiedAt = *date;
    // A form this version cannot read is kept as it stands; a value that is no text at all leaves the goal plain.
    if (fields.repeat)
        goal.item.repeat = GoalRepeat::fromStored(decodeText(*fields.repeat));
    goal.item.reminder = readReminder(fields.remindAt, fields.remindTime);
    goal.item.due = readDue(fields.due);
    goal.repaired = !goal.hasId || !fields.completed || !goal.hasOrder || !goal.item.createdAt.isValid();
    return goal;
}

// A whole day as "2026-12-10", a moment as the other times; one that cannot be written is left out.
void appendDue(QByteArray &out, const GoalDue &due)
{
    const qsizetype before = out.size();
    out.append(R"(,"due":")");
    if (due.isWholeDay() ? appendDay(out, due.day()) : appendDate(out, due.moment(), true))
        out.append('"');
    else
        out.truncate(before);
}

} // namespace

namespace GoalsFile
{

bool encodeInto(const QList<TodoItem> &todos, QByteArray &out)
{
    // The file's keys stand in a fixed order, which a writer of its own keeps plainly.
    out.resize(0);
    out.append('[');
    for (const TodoItem &item : todos) {
        if (out.size() > 1)
            out.append(',');
        out.append(R"({"id":")");
        out.append(item.id.toByteArray(QUuid::WithoutBraces).toUpper());
        // The library's escaping: the quote, the backslash and the control characters; all else raw UTF-8.
        out.append(R"(","text":)");
        out.append(Json(item.text.toStdString()).dump(-1, ' ', false, Json::error_handler_t::replace));
        out.append(item.completed ? R"(,"completed":true)" : R"(,"completed":false)");
        out.append(R"(,"order":)");
        out.append(QByteArray::number(item.order));
        out.append(R"(,"createdAt":")");
        if (!appendDate(out, item.createdAt, false))
            return false;
        // After the five keys every reader knows; a time that cannot be written leaves the key out, and the
        // goal then counts as changed when it was created.
        const qsizetype beforeModified = out.size();
        out.append(R"(","modifiedAt":")");
        if (!item.modifiedAt.isValid() || !appendDate(out, item.modifiedAt, true))
            out.truncate(beforeModified);
        out.append('"');
        if (item.repeat.repeats()) {
            out.append(R"(,"repeat":)");
            out.append(Json(item.repeat.stored().toStdString()).dump(-1, ' ', false, Json::error_handler_t::replace));
        }
        const qsizetype beforeReminder = out.size();
        out.append(R"(,"remindAt":")");
        if (!item.reminder.isSet() || !appendDate(out, item.reminder.moment(), true)) {
            out.truncate(beforeReminder);
        } else {
            out.append('"');
            if (item.repeat.repeats())
                out.append(R"(,"remindTime":")" + item.reminder.timeOfDay().toString(u"HH:mm").toLatin1() + '"');
        }
        if (item.due.isSet())
            appendDue(out, item.due);
        out.append('}');
    }
    out.append(']');
    return true;
}

std::optional<QByteArray> encode(const QList<TodoItem> &todos)
{
    QByteArray out;
    if (!encodeInto(todos, out))
        return std::nullopt;
    return out;
}

std::optional<ReadFile> read(const QByteArray &bytes)
{
    const std::optional<std::vector<std::optional<GoalFields>>> elements = readGoalFields(bytes);
    if (!elements)
        return std::nullopt;
    ReadFile file;
    file.todos.reserve(qsizetype(elements->size()));
    QList<qsizetype> unordered;
    std::optional<qint64> largestOrder;
    for (const std::optional<GoalFields> &fields : *elements) {
        std::optional<ReadGoal> goal = fields ? readGoal(*fields) : std::nullopt;
        if (!goal) {
            file.repaired = true;
            continue;
        }
        file.repaired = file.repaired || goal->repaired;
        if (!goal->hasId)
            goal->item.id = QUuid::createUuid();
        if (!goal->item.createdAt.isValid())
            goal->item.createdAt = creationTimeNow();
        if (goal->hasOrder)
            largestOrder = std::max(largestOrder.value_or(goal->item.order), goal->item.order);
        else
            unordered.append(file.todos.size());
        file.todos.append(std::move(goal->item));
    }
    // Repaired goals follow the others in the order they stand in the file.
    qint64 next = largestOrder ? *largestOrder : -1;
    for (qsizetype index : std::as_const(unordered)) {
        if (next < std::numeric_limits<qint64>::max())
            ++next;
        file.todos[index].order = next;
    }
    return file;
}

std::optional<QList<TodoItem>> decode(const QByteArray &bytes)
{
    std::optional<ReadFile> file = read(bytes);
    if (!file || file->repaired)
        return std::nullopt;
    return std::move(file->todos);
}

QString defaultLocation()
{
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mirel");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/todos.json");
}

} // namespace GoalsFile
