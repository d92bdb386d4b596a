#include "goalsfile.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringDecoder>

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <limits>
#include <string_view>

namespace {

// QString::fromUtf8 takes a leading U+FEFF for a byte-order mark and drops it; in a goal's text it is text.
QString decodeText(const std::string &utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
}

using Json = nlohmann::json;

constexpr qint64 MSecsPerSecond = 1000;
constexpr qint64 SecondsPerMinute = 60;
constexpr qint64 SecondsPerHour = 3600;
constexpr qint64 SecondsPerDay = 86400;
constexpr std::size_t UuidLength = 36;
constexpr std::size_t UuidBytes = 16;
constexpr char UpperHex[] = "0123456789ABCDEF";
constexpr char LowerHex[] = "0123456789abcdef";

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, the one QDate uses
// (the well-known days_from_civil / civil_from_days pair, which needs no tables and no time zone).
constexpr qint64 daysFromCivil(qint64 year, qint64 month, qint64 day)
{
    year -= month <= 2 ? 1 : 0;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate final {
    qint64 year = 0;
    qint64 month = 0;
    qint64 day = 0;
};

constexpr CivilDate civilFromDays(qint64 days)
{
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shiftedMonth = (5 * dayOfYear + 2) / 153;
    const qint64 day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const qint64 month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// The file writes four-digit years, so only instants from year 1 to year 9999 (UTC) can be stored.
constexpr qint64 FirstStorableSecond = daysFromCivil(1, 1, 1) * SecondsPerDay;
constexpr qint64 EndStorableSecond = daysFromCivil(10000, 1, 1) * SecondsPerDay;

constexpr qint64 daysInMonth(qint64 year, qint64 month)
{
    constexpr std::array<qint64, 12> Days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[std::size_t(month - 1)];
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isUuidHyphenPosition(std::size_t i)
{
    return i == 8 || i == 13 || i == 18 || i == 23;
}

// Only the bare 8-4-4-4-12 form, in either case; QUuid::fromString would also take braces.
std::optional<QUuid> parseUuid(std::string_view text)
{
    if (text.size() != UuidLength)
        return std::nullopt;
    std::array<uchar, UuidBytes> bytes{};
    std::size_t digit = 0;
    for (std::size_t i = 0; i < UuidLength; ++i) {
        if (isUuidHyphenPosition(i)) {
            if (text[i] != '-')
                return std::nullopt;
            continue;
        }
        const int value = hexValue(text[i]);
        if (value < 0)
            return std::nullopt;
        bytes[digit / 2] = uchar(bytes[digit / 2] << 4 | value);
        ++digit;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

void appendUuid(QByteArray &out, const QUuid &id)
{
    const std::array<uchar, UuidBytes> bytes = {
        uchar(id.data1 >> 24), uchar(id.data1 >> 16), uchar(id.data1 >> 8), uchar(id.data1),
        uchar(id.data2 >> 8),  uchar(id.data2),       uchar(id.data3 >> 8), uchar(id.data3),
        id.data4[0],           id.data4[1],           id.data4[2],          id.data4[3],
        id.data4[4],           id.data4[5],           id.data4[6],          id.data4[7],
    };
    std::array<char, UuidLength> text{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < UuidBytes; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text[pos++] = '-';
        text[pos++] = UpperHex[bytes[i] >> 4];
        text[pos++] = UpperHex[bytes[i] & 0xF];
    }
    out.append(text.data(), qsizetype(text.size()));
}

// Reads `count` ASCII digits at `pos`, or -1 when any of them is missing or not a digit.
qint64 readDigits(std::string_view text, std::size_t pos, std::size_t count)
{
    if (pos + count > text.size())
        return -1;
    qint64 value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool hasCharAt(std::string_view text, std::size_t pos, char expected)
{
    return pos < text.size() && text[pos] == expected;
}

// An RFC 3339 internet date-time. Qt's own ISO parser also takes a time without a zone designator,
// which the file must refuse, and is several times slower on large files.
std::optional<QDateTime> parseDate(std::string_view text)
{
    const qint64 year = readDigits(text, 0, 4);
    const qint64 month = readDigits(text, 5, 2);
    const qint64 day = readDigits(text, 8, 2);
    const qint64 hour = readDigits(text, 11, 2);
    const qint64 minute = readDigits(text, 14, 2);
    const qint64 second = readDigits(text, 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour < 0 || hour > 23
        || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    if (!hasCharAt(text, 4, '-') || !hasCharAt(text, 7, '-') || !hasCharAt(text, 13, ':')
        || !hasCharAt(text, 16, ':') || !(hasCharAt(text, 10, 'T') || hasCharAt(text, 10, 't')))
        return std::nullopt;

    std::size_t pos = 19;
    qint64 millisecond = 0;
    if (hasCharAt(text, pos, '.')) {
        const std::size_t fractionStart = ++pos;
        qint64 scale = 100;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            millisecond += (text[pos] - '0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == fractionStart)
            return std::nullopt;
    }

    qint64 offsetSeconds = 0;
    if (hasCharAt(text, pos, 'Z') || hasCharAt(text, pos, 'z')) {
        ++pos;
    } else if (hasCharAt(text, pos, '+') || hasCharAt(text, pos, '-')) {
        const qint64 offsetHours = readDigits(text, pos + 1, 2);
        const qint64 offsetMinutes = readDigits(text, pos + 4, 2);
        if (offsetHours < 0 || offsetHours > 23 || offsetMinutes < 0 || offsetMinutes > 59
            || !hasCharAt(text, pos + 3, ':'))
            return std::nullopt;
        offsetSeconds = (offsetHours * SecondsPerHour + offsetMinutes * SecondsPerMinute) * (text[pos] == '-' ? -1 : 1);
        pos += 6;
    } else {
        return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    const qint64 utcSecond = daysFromCivil(year, month, day) * SecondsPerDay + hour * SecondsPerHour
        + minute * SecondsPerMinute + second - offsetSeconds;
    // An offset can carry a date out of the four-digit years, where it could not be written back.
    if (utcSecond < FirstStorableSecond || utcSecond >= EndStorableSecond)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(utcSecond * MSecsPerSecond + millisecond, Qt::UTC);
}

// Whole seconds by truncation toward the past, so a reading never lies in the future of the instant.
bool appendDate(QByteArray &out, const QDateTime &date)
{
    if (!date.isValid())
        return false;
    const qint64 msecs = date.toMSecsSinceEpoch();
    const qint64 second = msecs / MSecsPerSecond - (msecs % MSecsPerSecond < 0 ? 1 : 0);
    if (second < FirstStorableSecond || second >= EndStorableSecond)
        return false;
    const qint64 days = second / SecondsPerDay - (second % SecondsPerDay < 0 ? 1 : 0);
    const qint64 secondOfDay = second - days * SecondsPerDay;
    const CivilDate civil = civilFromDays(days);

    std::array<char, 20> text = {'0', '0', '0', '0', '-', '0', '0', '-', '0', '0',
                                 'T', '0', '0', ':', '0', '0', ':', '0', '0', 'Z'};
    const auto put = [&text](std::size_t end, qint64 value) {
        for (std::size_t i = end; value > 0; value /= 10)
            text[--i] = char('0' + value % 10);
    };
    put(4, civil.year);
    put(7, civil.month);
    put(10, civil.day);
    put(13, secondOfDay / SecondsPerHour);
    put(16, secondOfDay % SecondsPerHour / SecondsPerMinute);
    put(19, secondOfDay % SecondsPerMinute);
    out.append(text.data(), qsizetype(text.size()));
    return true;
}

// Standard JSON escaping: the quote, the backslash and the control characters; everything else,
// the slash and non-ASCII included, is written as raw UTF-8.
void appendEscaped(QByteArray &out, const QByteArray &utf8)
{
    const char *run = utf8.constData();
    const char *end = run + utf8.size();
    for (const char *p = run; p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(run, p - run);
        run = p + 1;
        switch (c) {
        case '"':
            out.append("\\\"", 2);
            break;
        case '\\':
            out.append("\\\\", 2);
            break;
        case '\b':
            out.append("\\b", 2);
            break;
        case '\f':
            out.append("\\f", 2);
            break;
        case '\n':
            out.append("\\n", 2);
            break;
        case '\r':
            out.append("\\r", 2);
            break;
        case '\t':
            out.append("\\t", 2);
            break;
        default: {
            const std::array<char, 6> escape = {'\\', 'u', '0', '0', LowerHex[c >> 4], LowerHex[c & 0xF]};
            out.append(escape.data(), qsizetype(escape.size()));
        }
        }
    }
    out.append(run, end - run);
}

void appendInteger(QByteArray &out, qint64 value)
{
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    out.append(digits.data(), result.ptr - digits.data());
}

// Builds the goals straight from the parser's events, so no document tree is kept and each value
// is checked as it arrives. Depth 1 is the top-level array, depth 2 the inside of one goal object.
class GoalsReader final {
public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    QList<TodoItem> &todos() { return m_todos; }

    bool null() { return scalar([] { return false; }); }
    bool boolean(bool value)
    {
        return scalar([&] {
            if (m_field != Field::Completed)
                return false;
            m_item.completed = value;
            return true;
        });
    }
    bool number_integer(number_integer_t value)
    {
        return scalar([&] {
            if (m_field != Field::Order)
                return false;
            m_item.order = value;
            return true;
        });
    }
    bool number_unsigned(number_unsigned_t value)
    {
        // The parser keeps non-negative integers unsigned, so 2^63 and above arrive here and are refused.
        return scalar([&] {
            if (m_field != Field::Order || value > number_unsigned_t(std::numeric_limits<qint64>::max()))
                return false;
            m_item.order = qint64(value);
            return true;
        });
    }
    // A fraction, an exponent, or an integer too large for 64 bits.
    bool number_float(number_float_t, const string_t &) { return scalar([] { return false; }); }
    bool binary(binary_t &) { return false; }
    bool string(string_t &value) { return scalar([&] { return readString(value); }); }

    bool start_object(std::size_t)
    {
        if (m_depth == 1) {
            m_item = TodoItem();
            m_valid.fill(false);
            m_field = Field::Other;
        } else if (m_depth == 2) {
            markCurrent(false);
        } else if (m_depth == 0) {
            // A single object instead of the array. Deeper objects belong to a value being skipped.
            return false;
        }
        ++m_depth;
        return true;
    }
    bool key(string_t &name)
    {
        if (m_depth == 2)
            m_field = fieldNamed(name);
        return true;
    }
    bool end_object()
    {
        --m_depth;
        if (m_depth != 1)
            return true;
        for (bool valid : m_valid) {
            if (!valid)
                return false;
        }
        m_todos.append(std::move(m_item));
        return true;
    }
    bool start_array(std::size_t)
    {
        if (m_depth == 1)
            return false;
        if (m_depth == 2)
            markCurrent(false);
        ++m_depth;
        return true;
    }
    bool end_array()
    {
        --m_depth;
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) { return false; }

private:
    enum class Field { Id, Text, Completed, Order, CreatedAt, Other };

    static Field fieldNamed(std::string_view name)
    {
        if (name == "id")
            return Field::Id;
        if (name == "text")
            return Field::Text;
        if (name == "completed")
            return Field::Completed;
        if (name == "order")
            return Field::Order;
        if (name == "createdAt")
            return Field::CreatedAt;
        return Field::Other;
    }

    // A scalar is valid only as a goal's value; `apply` says whether it suits the key and stores it only then,
    // so that a wrongly typed value under one key never lands in another field.
    template <typename Apply>
    bool scalar(Apply apply)
    {
        if (m_depth < 2)
            return false;
        if (m_depth == 2 && m_field != Field::Other)
            markCurrent(apply());
        return true;
    }

    bool readString(const string_t &value)
    {
        switch (m_field) {
        case Field::Id:
            if (const auto id = parseUuid(value)) {
                m_item.id = *id;
                return true;
            }
            return false;
        case Field::Text:
            m_item.text = decodeText(value);
            return true;
        case Field::CreatedAt:
            if (const auto date = parseDate(value)) {
                m_item.createdAt = *date;
                return true;
            }
            return false;
        default:
            return false;
        }
    }

    // When a key appears twice its last value counts, as in a parsed document.
    void markCurrent(bool valid)
    {
        if (m_field != Field::Other)
            m_valid[std::size_t(m_field)] = valid;
    }

    QList<TodoItem> m_todos;
    TodoItem m_item;
    std::array<bool, std::size_t(Field::Other)> m_valid{};
    Field m_field = Field::Other;
    int m_depth = 0;
};

} // namespace

namespace GoalsFile {

bool encodeInto(const QList<TodoItem> &todos, QByteArray &out)
{
    // Written by hand rather than through a JSON library: the file's form is fixed and small, and
    // this runs on every change of the list.
    constexpr qsizetype TypicalGoalSize = 160;
    out.resize(0);
    out.reserve(2 + todos.size() * TypicalGoalSize);
    out.append('[');
    for (const TodoItem &item : todos) {
        if (out.size() > 1)
            out.append(',');
        out.append(R"({"id":")", 7);
        appendUuid(out, item.id);
        out.append(R"(","text":")", 10);
        appendEscaped(out, item.text.toUtf8());
        out.append(R"(","completed":)", 14);
        if (item.completed)
            out.append("true", 4);
        else
            out.append("false", 5);
        out.append(R"(,"order":)", 9);
        appendInteger(out, item.order);
        out.append(R"(,"createdAt":")", 14);
        if (!appendDate(out, item.createdAt))
            return false;
        out.append(R"("})", 2);
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
    GoalsReader reader;
    const char *begin = bytes.constData();
    if (!Json::sax_parse(begin, begin + bytes.size(), &reader))
        return std::nullopt;
    return std::move(reader.todos());
}

QString defaultLocation()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mirel");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/todos.json");
}

} // namespace GoalsFile
