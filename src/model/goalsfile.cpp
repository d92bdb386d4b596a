// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsfile.h"

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

// Only for reading and for escaping a text: the writer below puts the keys in their fixed order itself and the
// reader looks each key up by name, so the keys' order is of no use here. Integers stay exact to 64 bits, as
// the file's `order` needs.
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
GoalReminder readReminder(const Json *remindAt, const Json *remindTime)
{
    const auto moment = remindAt ? parseDate(remindAt->get_ref<const std::string &>()) : std::nullopt;
    if (!moment)
        return {};
    if (const auto timeOfDay = remindTime ? parseTimeOfDay(remindTime->get_ref<const std::string &>()) : std::nullopt)
        return GoalReminder(*moment, *timeOfDay);
    return GoalReminder(*moment);
}

// "2026-12-10" is a whole day, else an internet date-time; what cannot be read is no due date.
GoalDue readDue(const Json *due)
{
    if (!due)
        return {};
    const std::string_view text = due->get_ref<const std::string &>();
    if (const auto day = parseDay(text))
        return GoalDue::onDay(*day);
    const auto moment = parseDate(text);
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

std::optional<ReadGoal> readGoal(const Json &value)
{
    if (!value.is_object())
        return std::nullopt;
    // A repeated key has its last value here, and a mistyped value counts as a missing one.
    const auto field = [&value](const char *key, bool (Json::*hasType)() const noexcept) -> const Json * {
        const auto it = value.find(key);
        return it != value.end() && ((*it).*hasType)() ? &*it : nullptr;
    };
    const Json *text = field("text", &Json::is_string);
    if (!text)
        return std::nullopt;
    ReadGoal goal;
    goal.item.text = decodeText(text->get_ref<const std::string &>());
    if (const Json *id = field("id", &Json::is_string)) {
        if (const auto uuid = parseUuid(id->get_ref<const std::string &>())) {
            goal.item.id = *uuid;
            goal.hasId = true;
        }
    }
    if (const Json *completed = field("completed", &Json::is_boolean))
        goal.item.completed = completed->get<bool>();
    // Non-negative integers are kept unsigned, so 2^63 and above arrive as such and are refused.
    if (const Json *order = field("order", &Json::is_number_integer); order
        && !(order->is_number_unsigned() && order->get<quint64>() > quint64(std::numeric_limits<qint64>::max()))) {
        goal.item.order = order->get<qint64>();
        goal.hasOrder = true;
    }
    if (const Json *createdAt = field("createdAt", &Json::is_string)) {
        if (const auto date = parseDate(createdAt->get_ref<const std::string &>()))
            goal.item.createdAt = *date;
    }
    // Only this version's own bookkeeping: a goal without it counts as changed when it was created.
    if (const Json *modifiedAt = field("modifiedAt", &Json::is_string)) {
        if (const auto date = parseDate(modifiedAt->get_ref<const std::string &>()))
            goal.item.modifiedAt = *date;
    }
    // A form this version cannot read is kept as it stands; a value that is no text at all leaves the goal plain.
    if (const Json *repeat = field("repeat", &Json::is_string))
        goal.item.repeat = GoalRepeat::fromStored(decodeText(repeat->get_ref<const std::string &>()));
    goal.item.reminder = readReminder(field("remindAt", &Json::is_string), field("remindTime", &Json::is_string));
    goal.item.due = readDue(field("due", &Json::is_string));
    goal.repaired
        = !goal.hasId || !field("completed", &Json::is_boolean) || !goal.hasOrder || !goal.item.createdAt.isValid();
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
    // A goal's fields are plain values, so anything nested deeper is dropped as it is read: a file of a few
    // megabytes of brackets would otherwise be built up into hundreds of megabytes before it is refused.
    const auto keepShallow = [](int depth, Json::parse_event_t event, const Json &) {
        return depth < 2 || (event != Json::parse_event_t::object_start && event != Json::parse_event_t::array_start);
    };
    const Json document = Json::parse(bytes.cbegin(), bytes.cend(), keepShallow, false);
    if (!document.is_array())
        return std::nullopt;
    ReadFile file;
    file.todos.reserve(qsizetype(document.size()));
    QList<qsizetype> unordered;
    std::optional<qint64> largestOrder;
    for (const Json &value : document) {
        auto goal = readGoal(value);
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
