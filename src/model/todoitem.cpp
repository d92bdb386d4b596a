// SPDX-License-Identifier: GPL-3.0-or-later

#include "todoitem.h"

#include <algorithm>

namespace
{

constexpr char16_t Escape = 0x1B;
constexpr char16_t ControlSequenceIntroducer = 0x9B;

bool isLineBreak(char16_t u)
{
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

bool isControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool needsCleaning(char16_t u)
{
    return isControl(u) || u == 0x2028 || u == 0x2029;
}

// Where the escape sequence that starts at `at` ends: after ESC [ or CSI come parameter and intermediate
// bytes and one final byte, in that order; any other ESC is dropped alone.
qsizetype escapeSequenceEnd(const QString &text, qsizetype at)
{
    qsizetype end = at + 1;
    if (text.at(at).unicode() == Escape) {
        if (end >= text.size() || text.at(end) != u'[')
            return end;
        ++end;
    }
    const auto isAt = [&text, &end](char16_t first, char16_t last) {
        return end < text.size() && text.at(end).unicode() >= first && text.at(end).unicode() <= last;
    };
    while (isAt(0x30, 0x3F))
        ++end;
    while (isAt(0x20, 0x2F))
        ++end;
    if (isAt(0x40, 0x7E))
        ++end;
    return end;
}

} // namespace

QDateTime creationTimeNow()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return now.addMSecs(-now.time().msec());
}

QDateTime lastChange(const TodoItem &item)
{
    return item.modifiedAt.isValid() ? item.modifiedAt : item.createdAt;
}

bool reopensAt(const TodoItem &item, const QDateTime &dayStart)
{
    return item.completed && lastChange(item) < dayStart && item.repeat.isDueOn(dayStart.toLocalTime().date());
}

std::optional<ShownReminder> shownReminder(const TodoItem &item, const QDateTime &now)
{
    const std::optional<QDateTime> passed = item.reminder.latestRingIn(item.repeat, {}, now);
    if (passed && !item.completed && (!item.repeat.repeats() || *passed > lastChange(item)))
        return ShownReminder { *passed, true };
    if (const std::optional<QDateTime> next = item.reminder.nextRingAfter(item.repeat, now))
        return ShownReminder { *next, false };
    // A one-off moment passed on a done goal still says when it was.
    if (passed && !item.repeat.repeats())
        return ShownReminder { *passed, false };
    return std::nullopt;
}

bool isTrimmable(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0x0009 && u <= 0x000D) || u == 0x0085)
        return true;
    // All of Zs, Zl and Zp lie in the Basic Multilingual Plane, so one UTF-16 unit decides.
    switch (c.category()) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString trimmedText(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmable(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmable(text.at(end - 1)))
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.sliced(begin, end - begin);
}

QString printableText(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return needsCleaning(c.unicode()); }))
        return text;
    QString printable;
    printable.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t u = text.at(i).unicode();
        if (u == Escape || u == ControlSequenceIntroducer) {
            i = escapeSequenceEnd(text, i);
            continue;
        }
        if (u == u'\t' || isLineBreak(u))
            printable.append(u' ');
        else if (!isControl(u))
            printable.append(text.at(i));
        ++i;
    }
    return printable;
}

QString keptGoalText(const QString &text)
{
    return trimmedText(printableText(text));
}

std::optional<QString> trimmedNonEmpty(const QString &text)
{
    QString kept = keptGoalText(text);
    if (kept.isEmpty())
        return std::nullopt;
    return kept;
}

bool holdsGoalText(const QString &text)
{
    // Tabs and line breaks would become spaces, which trimming takes: only another kept character counts.
    for (qsizetype i = 0; i < text.size();) {
        const char16_t u = text.at(i).unicode();
        if (u == Escape || u == ControlSequenceIntroducer) {
            i = escapeSequenceEnd(text, i);
            continue;
        }
        if (!isControl(u) && !isTrimmable(text.at(i)))
            return true;
        ++i;
    }
    return false;
}

bool hasLineBreak(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isLineBreak(c.unicode()); });
}

bool fitsInAGoal(const QString &text)
{
    // Trimming and cleaning only ever shorten a text, so most texts need neither.
    if (text.size() <= MaxGoalTextLength)
        return true;
    return trimmedNonEmpty(text).value_or(QString()).size() <= MaxGoalTextLength;
}

QList<QStringView> linesOf(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineBreak(text.at(i).unicode()))
            continue;
        lines.append(text.sliced(start, i - start));
        start = i + 1;
    }
    return lines;
}

bool eachLineFitsInAGoal(const QString &text)
{
    if (text.size() <= MaxGoalTextLength)
        return true;
    const QList<QStringView> lines = linesOf(text);
    return std::all_of(lines.cbegin(), lines.cend(),
        [](QStringView line) { return line.size() <= MaxGoalTextLength || fitsInAGoal(line.toString()); });
}
