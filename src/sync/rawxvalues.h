// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>

// libical reads the value of an X- property as text, dropping its escapes, and writes it back without them
// (`X-FOO:a\,b` comes back as `X-FOO:a,b`); an empty one it drops. Another client's value must come back byte
// for byte, so each one passes through libical as a placeholder and is put back in the text libical writes.
class RawXValues final
{
public:
    // Takes the X- properties' values out of an iCalendar text.
    explicit RawXValues(const QByteArray &text);

    // The text with the placeholders, for libical to read.
    const QByteArray &text() const { return m_text; }

    // The value as the text had it, for a value as libical holds it.
    QByteArray valueOf(const QByteArray &held) const;

    // A text libical wrote from the one given, the values put back and lines folded at 75 octets (never within
    // a character). The error notes libical adds for what it could not read are left out.
    QByteArray restored(const QByteArray &written) const;

private:
    QByteArray m_text;
    QList<QByteArray> m_values;
};
