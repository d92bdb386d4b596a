// SPDX-License-Identifier: GPL-3.0-or-later

#include "storedtimes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace
{

// The date and time every createdAt starts with; '0' stands for any digit.
constexpr std::string_view DateTimeShape = "0000-00-00T00:00:00";
// A whole day, as a due date set on a calendar may be.
constexpr std::string_view DateShape = "0000-00-00";
// The hours and minutes after the sign of an offset.
constexpr std::string_view OffsetShape = "00:00";
constexpr int FirstYear = 1;
constexpr int LastYear = 9999;

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

} // namespace

namespace StoredTimes
{

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

std::optional<QTime> parseTimeOfDay(std::string_view text)
{
    if (text.size() != OffsetShape.size() || !hasShape(text, OffsetShape))
        return std::nullopt;
    const QTime time(digitsAt(text, 0, 2), digitsAt(text, 3, 2));
    return time.isValid() ? std::optional(time) : std::nullopt;
}

std::optional<QDate> parseDay(std::string_view text)
{
    if (text.size() != DateShape.size() || !hasShape(text, DateShape))
        return std::nullopt;
    const QDate day(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    return day.isValid() ? std::optional(day) : std::nullopt;
}

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

bool appendDay(QByteArray &out, QDate day)
{
    if (!day.isValid() || day.year() < FirstYear || day.year() > LastYear)
        return false;
    out.append(day.toString(Qt::ISODate).toLatin1());
    return true;
}

} // namespace StoredTimes
