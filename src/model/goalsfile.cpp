#include "goalsfile.h"

#include <QDir>
#include <QStandardPaths>

#include <nlohmann/json.hpp>

#include <limits>

using Json = nlohmann::ordered_json;

namespace {

constexpr int UuidLength = 36;
constexpr qint64 SecondsPerMinute = 60;

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isHyphenPosition(int i)
{
    return i == 8 || i == 13 || i == 18 || i == 23;
}

// Reads `count` ASCII digits at `pos`, or -1 when any of them is not a digit.
int readDigits(QStringView text, qsizetype pos, int count)
{
    if (pos + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text.at(pos + i);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool hasCharAt(QStringView text, qsizetype pos, char16_t expected)
{
    return pos < text.size() && text.at(pos) == QChar(expected);
}

QString toQString(const Json &value)
{
    const auto &utf8 = value.get_ref<const std::string &>();
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::optional<qint64> readOrder(const Json &value)
{
    // nlohmann keeps non-negative integers as unsigned, so 2^63 and above arrive here and must be refused.
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > std::uint64_t(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(number);
    }
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    return std::nullopt;
}

std::optional<TodoItem> readItem(const Json &object)
{
    if (!object.is_object())
        return std::nullopt;
    const auto id = object.find("id");
    const auto text = object.find("text");
    const auto completed = object.find("completed");
    const auto order = object.find("order");
    const auto createdAt = object.find("createdAt");
    const auto end = object.end();
    if (id == end || text == end || completed == end || order == end || createdAt == end)
        return std::nullopt;
    if (!id->is_string() || !text->is_string() || !completed->is_boolean() || !createdAt->is_string())
        return std::nullopt;

    TodoItem item;
    const auto uuid = GoalsFile::parseUuid(toQString(*id));
    const auto orderValue = readOrder(*order);
    const auto date = GoalsFile::parseDate(toQString(*createdAt));
    if (!uuid || !orderValue || !date)
        return std::nullopt;
    item.id = *uuid;
    item.text = toQString(*text);
    item.completed = completed->get<bool>();
    item.order = *orderValue;
    item.createdAt = *date;
    return item;
}

} // namespace

namespace GoalsFile {

QString formatUuid(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> parseUuid(QStringView text)
{
    // QUuid::fromString also takes braces and other shapes; the file allows only the bare 8-4-4-4-12 form.
    if (text.size() != UuidLength)
        return std::nullopt;
    for (int i = 0; i < UuidLength; ++i) {
        const QChar c = text.at(i);
        if (isHyphenPosition(i) ? c != u'-' : !isHexDigit(c))
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QString formatDate(const QDateTime &date)
{
    // Whole seconds by truncation; the sub-second part is not kept in the file.
    return date.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + u'Z';
}

std::optional<QDateTime> parseDate(QStringView text)
{
    // RFC 3339 date-time. Qt's ISO parser would also take a time without a zone, which the file forbids.
    const int year = readDigits(text, 0, 4);
    const int month = readDigits(text, 5, 2);
    const int day = readDigits(text, 8, 2);
    const int hour = readDigits(text, 11, 2);
    const int minute = readDigits(text, 14, 2);
    const int second = readDigits(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    if (!hasCharAt(text, 4, u'-') || !hasCharAt(text, 7, u'-') || !hasCharAt(text, 13, u':')
        || !hasCharAt(text, 16, u':'))
        return std::nullopt;
    if (!hasCharAt(text, 10, u'T') && !hasCharAt(text, 10, u't'))
        return std::nullopt;

    qsizetype pos = 19;
    int millisecond = 0;
    if (hasCharAt(text, pos, u'.')) {
        ++pos;
        const qsizetype fractionStart = pos;
        int scale = 100;
        while (pos < text.size() && text.at(pos) >= u'0' && text.at(pos) <= u'9') {
            millisecond += (text.at(pos).unicode() - u'0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == fractionStart)
            return std::nullopt;
    }

    qint64 offsetSeconds = 0;
    if (hasCharAt(text, pos, u'Z') || hasCharAt(text, pos, u'z')) {
        ++pos;
    } else if (hasCharAt(text, pos, u'+') || hasCharAt(text, pos, u'-')) {
        const bool negative = text.at(pos) == u'-';
        const int offsetHours = readDigits(text, pos + 1, 2);
        const int offsetMinutes = readDigits(text, pos + 4, 2);
        if (offsetHours < 0 || offsetMinutes < 0 || !hasCharAt(text, pos + 3, u':') || offsetHours > 23
            || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = (offsetHours * 60 + offsetMinutes) * SecondsPerMinute * (negative ? -1 : 1);
        pos += 6;
    } else {
        return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    const QDate date(year, month, day);
    const QTime time(hour, minute, second, millisecond);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime result = QDateTime(date, time, Qt::UTC).addSecs(-offsetSeconds);
    // A date that leaves four-digit years once in UTC could not be written back in the same form.
    if (!result.isValid() || result.date().year() < 1 || result.date().year() > 9999)
        return std::nullopt;
    return result;
}

QByteArray encode(const QList<TodoItem> &todos)
{
    Json array = Json::array();
    array.get_ref<Json::array_t &>().reserve(std::size_t(todos.size()));
    for (const TodoItem &item : todos) {
        Json object;
        object["id"] = formatUuid(item.id).toStdString();
        object["text"] = item.text.toStdString();
        object["completed"] = item.completed;
        object["order"] = std::int64_t(item.order);
        object["createdAt"] = formatDate(item.createdAt).toStdString();
        array.push_back(std::move(object));
    }
    // Replacement keeps a text with a lone surrogate writable instead of failing the whole save.
    const std::string text = array.dump(-1, ' ', false, Json::error_handler_t::replace);
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::optional<QList<TodoItem>> decode(const QByteArray &bytes)
{
    const Json document = Json::parse(bytes.cbegin(), bytes.cend(), nullptr, /*allow_exceptions=*/false);
    if (!document.is_array())
        return std::nullopt;
    QList<TodoItem> todos;
    todos.reserve(qsizetype(document.size()));
    for (const Json &element : document) {
        auto item = readItem(element);
        if (!item)
            return std::nullopt;
        todos.append(std::move(*item));
    }
    return todos;
}

QString defaultLocation()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mirel");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/todos.json");
}

} // namespace GoalsFile
