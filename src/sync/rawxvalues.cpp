// SPDX-License-Identifier: GPL-3.0-or-later

#include "rawxvalues.h"

namespace
{

// Letters, digits and hyphens: what libical holds and writes unchanged.
constexpr char Placeholder[] = "mirel-raw-value-";
constexpr qsizetype MaxLineOctets = 75;

// The logical lines of an iCalendar text: folds undone, line ends dropped.
QList<QByteArray> unfolded(const QByteArray &text)
{
    QList<QByteArray> lines;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t')))
            lines.last() += line.mid(1);
        else if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QByteArray folded(const QByteArray &line)
{
    QByteArray out;
    qsizetype start = 0;
    qsizetype room = MaxLineOctets;
    while (line.size() - start > room) {
        qsizetype end = start + room;
        // Never before a UTF-8 continuation byte.
        while (end > start + 1 && (static_cast<uchar>(line.at(end)) & 0xC0) == 0x80)
            --end;
        out += line.mid(start, end - start) + "\r\n ";
        start = end;
        room = MaxLineOctets - 1;
    }
    return out + line.mid(start) + "\r\n";
}

// Where the value begins: after the first colon that is not within a quoted parameter value; -1 if none.
qsizetype valueStart(const QByteArray &line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ':' && !quoted)
            return i + 1;
    }
    return -1;
}

QByteArray nameOf(const QByteArray &line)
{
    qsizetype end = 0;
    while (end < line.size() && line.at(end) != ';' && line.at(end) != ':')
        ++end;
    return line.left(end).toUpper();
}

} // namespace

RawXValues::RawXValues(const QByteArray &text)
{
    for (const QByteArray &line : unfolded(text)) {
        const qsizetype start = valueStart(line);
        if (start > 0 && nameOf(line).startsWith("X-")) {
            m_text += line.left(start) + Placeholder + QByteArray::number(m_values.size()) + "\r\n";
            m_values.append(line.mid(start));
        } else {
            m_text += line + "\r\n";
        }
    }
}

QByteArray RawXValues::valueOf(const QByteArray &held) const
{
    if (!held.startsWith(Placeholder))
        return held;
    bool ok = false;
    const qsizetype index = held.mid(qsizetype(sizeof Placeholder) - 1).toLongLong(&ok);
    return ok && index >= 0 && index < m_values.size() ? m_values.at(index) : held;
}

QByteArray RawXValues::restored(const QByteArray &written) const
{
    QByteArray out;
    for (QByteArray line : unfolded(written)) {
        const qsizetype start = valueStart(line);
        const QByteArray name = nameOf(line);
        if (start > 0 && name.startsWith("X-")) {
            const QByteArray held = line.mid(start);
            const QByteArray value = valueOf(held);
            if (name == "X-LIC-ERROR" && value == held)
                continue;
            line = line.left(start) + value;
        }
        out += folded(line);
    }
    return out;
}
