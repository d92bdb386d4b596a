#include "goalsfile.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringDecoder>

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <string_view>

namespace
{

// Ordered keeps integers exact to 64 bits, as the file's `order` needs.
using Json = nlohmann::ordered_json;

constexpr std::string_view NilUuid = "00000000-0000-0000-0000-000000000000";
constexpr std::size_t UuidLength = NilUuid.size();
// The date and time every createdAt starts with; '0' stands for any digit.
constexpr std::string_view DateTimeShape = "0000-00-00T00:00:00";
constexpr std::string_view OffsetShape = "+00:00";
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
    if (text.size() != UuidLength)
        return std::nullopt;
    const QUuid id = QUuid::fromString(QLatin1StringView(text.data(), qsizetype(text.size())));
    if (id.isNull() && text != NilUuid)
        return std::nullopt;
    return id;
}

bool hasShape(std::string_view text, std::string_view shape)
{
    if (text.size() < shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool fits = shape[i] == '0' ? text[i] >= '0' && text[i] <= '9' : text[i] == shape[i];
        if (!fits && !(shape[i] == 'T' && text[i] == 't'))
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

// An RFC 3339 internet date-time. Qt's own ISO reader is not used: it takes a time without a zone
// designator, which the file must refuse, as well as 24:00, +hhmm and a comma before the fraction.
std::optional<QDateTime> parseDate(std::string_view text)
{
    if (!hasShape(text, DateTimeShape))
        return std::nullopt;
    const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    std::size_t pos = DateTimeShape.size();
    // The fraction is cut to milliseconds, never rounded into the next second.
    int millisecond = 0;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t start = ++pos;
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
            millisecond = pos - start < 3 ? millisecond * 10 + (text[pos] - '0') : millisecond;
        if (pos == start)
            return std::nullopt;
        for (std::size_t digits = pos - start; digits < 3; ++digits)
            millisecond *= 10;
    }
    const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2), millisecond);

    const std::string_view zone = text.substr(pos);
    int offsetSeconds = 0;
    if (zone == "Z" || zone == "z") {
        offsetSeconds = 0;
    } else if (zone.size() == OffsetShape.size() && (zone[0] == '+' || zone[0] == '-')
        && hasShape(zone.substr(1), OffsetShape.substr(1))) {
        const int hours = digitsAt(zone, 1, 2);
        const int minutes = digitsAt(zone, 4, 2);
        if (hours > 23 || minutes > 59)
            return std::nullopt;
        offsetSeconds = (hours * 3600 + minutes * 60) * (zone[0] == '-' ? -1 : 1);
    } else {
        return std::nullopt;
    }
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // An offset can carry a date out of the four-digit years, where it could not be written back.
    const QDateTime utc = QDateTime(date, time, Qt::UTC).addSecs(-offsetSeconds);
    if (utc.date().year() < FirstYear || utc.date().year() > LastYear)
        return std::nullopt;
    return utc;
}

std::optional<TodoItem> readGoal(const Json &value)
{
    if (!value.is_object())
        return std::nullopt;
    // A key may appear more than once; the parser keeps its last value.
    const auto field = [&value](const char *key, Json::value_t type) -> const Json * {
        const auto it = value.find(key);
        if (it == value.end())
            return nullptr;
        const bool integer = type == Json::value_t::number_integer && it->is_number_integer();
        return it->type() == type || integer ? &*it : nullptr;
    };
    const Json *id = field("id", Json::value_t::string);
    const Json *text = field("text", Json::value_t::string);
    const Json *completed = field("completed", Json::value_t::boolean);
    const Json *order = field("order", Json::value_t::number_integer);
    const Json *createdAt = field("createdAt", Json::value_t::string);
    if (!id || !text || !completed || !order || !createdAt)
        return std::nullopt;
    // Non-negative integers are kept unsigned, so 2^63 and above arrive as such and are refused.
    if (order->is_number_unsigned()
        && order->get<Json::number_unsigned_t>() > Json::number_unsigned_t(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    const auto uuid = parseUuid(id->get_ref<const std::string &>());
    const auto date = parseDate(createdAt->get_ref<const std::string &>());
    if (!uuid || !date)
        return std::nullopt;
    return TodoItem { *uuid, decodeText(text->get_ref<const std::string &>()), completed->get<bool>(),
        order->get<qint64>(), *date };
}

// Whole seconds in UTC; the broken-down time cuts toward the past, so a reading never lies in the
// future of the instant. Nothing outside the four-digit years.
bool appendDate(QByteArray &out, const QDateTime &createdAt)
{
    if (!createdAt.isValid())
        return false;
    const QDateTime utc = createdAt.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    if (date.year() < FirstYear || date.year() > LastYear)
        return false;
    std::array<char, DateTimeShape.size() + 2> text {};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02dZ", date.year(), date.month(), date.day(),
        time.hour(), time.minute(), time.second());
    out.append(text.data(), qsizetype(text.size() - 1));
    return true;
}

// Standard JSON escaping: the quote, the backslash and the control characters; all else, the slash and
// non-ASCII included, is written as raw UTF-8.
void appendEscaped(QByteArray &out, const QByteArray &utf8)
{
    constexpr std::string_view Hex = "0123456789abcdef";
    // Short forms for U+0008 to U+000D; the vertical tab has none.
    constexpr std::string_view ShortEscapes = "btn?fr";
    // Unescaped runs go out in one piece: most texts have nothing to escape.
    qsizetype run = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(utf8.constData() + run, i - run);
        run = i + 1;
        if (c == '"' || c == '\\')
            out.append('\\').append(c);
        else if (byte >= '\b' && byte <= '\r' && byte != '\v')
            out.append('\\').append(ShortEscapes[byte - '\b']);
        else
            out.append("\\u00").append(Hex[byte >> 4]).append(Hex[byte & 0xF]);
    }
    out.append(utf8.constData() + run, utf8.size() - run);
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
        out.append(R"(","text":")");
        appendEscaped(out, item.text.toUtf8());
        out.append('"');
        out.append(item.completed ? R"(,"completed":true)" : R"(,"completed":false)");
        out.append(R"(,"order":)");
        out.append(QByteArray::number(item.order));
        out.append(R"(,"createdAt":")");
        if (!appendDate(out, item.createdAt))
            return false;
        out.append(R"("})");
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

std::optional<QList<TodoItem>> decode(const QByteArray &bytes)
{
    const Json document = Json::parse(bytes.cbegin(), bytes.cend(), nullptr, false);
    if (!document.is_array())
        return std::nullopt;
    QList<TodoItem> todos;
    todos.reserve(qsizetype(document.size()));
    for (const Json &value : document) {
        auto goal = readGoal(value);
        if (!goal)
            return std::nullopt;
        todos.append(std::move(*goal));
    }
    return todos;
}

QString defaultLocation()
{
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mirel");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/todos.json");
}

} // namespace GoalsFile
