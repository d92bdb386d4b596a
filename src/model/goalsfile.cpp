// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsfile.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringDecoder>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <string_view>

namespace
{

// Only for reading and for escaping a text: the writer below puts the keys in their fixed order itself and the
// reader looks each key up by name, so the keys' order is of no use here. Integers stay exact to 64 bits, as
// the file's `order` needs.
using Json = nlohmann::json;

constexpr std::string_view NilUuid = "00000000-0000-0000-0000-000000000000";
// The date and time every createdAt starts with; '0' stands for any digit.
constexpr std::string_view DateTimeShape = "0000-00-00T00:00:00";
// A whole day, as a due date set on a calendar may be.
constexpr std::string_view DateShape = "0000-00-00";
// The hours and minutes after the sign of an offset.
constexpr std::string_view OffsetShape = "00:00";
constexpr int FirstYear = 1;
constexpr int LastYear = 9999;

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

// Whether `text` starts with `shape`, where '0' stands for any digit and 'T' may also be written 't'.
bool hasShape(std::string_view text, std::string_view shape)
{
    if (text.size() < shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i] && !(shape[i] == 'T' && text[i] == 't'))
            return false;
    }
    return true;
}

int digitsAt(std::string_view text, std::size_t pos, std::size_t count)
{
    int value = 0;
    std::from_chars(text.data() + pos, text.data() + pos + count, value);
    return value;
}

// The offset in seconds of a zone designator (Z or +hh:mm / -hh:mm), which Qt's own ISO reader would
// let be missing; nothing for any other text.
std::optional<int> offsetSeconds(std::string_view zone)
{
    if (zone == "Z" || zone == "z")
        return 0;
    if (zone.size() != OffsetShape.size() + 1 || (zone[0] != '+' && zone[0] != '-')
        || !hasShape(zone.substr(1), OffsetShape))
        return std::nullopt;
    const int hours = digitsAt(zone, 1, 2);
    const int minutes = digitsAt(zone, 4, 2);
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    return (hours * 3600 + minutes * 60) * (zone[0] == '-' ? -1 : 1);
}

// An RFC 3339 internet date-time. Qt's ISO reader would also take 24:00, +hhmm and a comma before the fraction.
std::optional<QDateTime> parseDate(std::string_view text)
{
    if (!hasShape(text, DateTimeShape))
        return std::nullopt;
    // The fraction is cut to milliseconds, never rounded into the next second.
    std::size_t end = DateTimeShape.size();
    int millisecond = 0;
    if (end < text.size() && text[end] == '.') {
        const std::size_t start = ++end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        if (end == start)
            return std::nullopt;
        millisecond = digitsAt(text, start, std::min<std::size_t>(end - start, 3));
        for (std::size_t digits = end - start; digits < 3; ++digits)
            millisecond *= 10;
    }
    const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2), millisecond);
    const auto offset = offsetSeconds(text.substr(end));
    if (!date.isValid() || !time.isValid() || !offset)
        return std::nullopt;
    // An offset can carry a date out of the four-digit years, where it could not be written back.
    const QDateTime utc = QDateTime(date, time, Qt::UTC).addSecs(-*offset);
    if (utc.date().year() < FirstYear || utc.date().year() > LastYear)
        return std::nullopt;
    return utc;
}

// "07:30": the hours and minutes of the local time of day a repeating goal's reminder keeps.
std::optional<QTime> parseTimeOfDay(std::string_view text)
{
    if (text.size() != OffsetShape.size() || !hasShape(text, OffsetShape))
        return std::nullopt;
    const QTime time(digitsAt(text, 0, 2), digitsAt(text, 3, 2));
    return time.isValid() ? std::optional(time) : std::nullopt;
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
    if (text.size() == DateShape.size() && hasShape(text, DateShape)) {
        const QDate day(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
        return day.isValid() ? GoalDue::onDay(day) : GoalDue();
    }
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

// In UTC, to the whole second (`createdAt`) or to the millisecond (`modifiedAt`), as the file keeps them; what
// is left out is cut, never rounded up, so the written time never lies after the instant.
bool appendDate(QByteArray &out, const QDateTime &instant, bool withMilliseconds)
{
    const QDateTime utc = instant.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    if (!utc.isValid() || date.year() < FirstYear || date.year() > LastYear)
        return false;
    // Qt's own ISO form writes the same text at a quarter of the speed, which a long list pays on every save.
    std::array<char, DateTimeShape.size() + 6> text {};
    const int length = withMilliseconds
        ? std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", date.year(), date.month(),
            date.day(), time.hour(), time.minute(), time.second(), time.msec())
        : std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02dZ", date.year(), date.month(),
            date.day(), time.hour(), time.minute(), time.second());
    out.append(text.data(), qsizetype(length));
    return true;
}

// A whole day as "2026-12-10", a moment as the other times; one that cannot be written is left out.
void appendDue(QByteArray &out, const GoalDue &due)
{
    if (due.isWholeDay()) {
        const QDate day = due.day();
        if (day.year() >= FirstYear && day.year() <= LastYear)
            out.append(R"(,"due":")" + day.toString(Qt::ISODate).toLatin1() + '"');
        return;
    }
    const qsizetype before = out.size();
    out.append(R"(,"due":")");
    if (appendDate(out, due.moment(), true))
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
