// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "goaldue.h"
#include "goalreminder.h"
#include "goalrepeat.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One goal of the day's list. Goals are identified by id alone; whole records are never compared.
struct TodoItem final {
    QUuid id;
    QString text;
    bool completed = false;
    qint64 order = 0;
    QDateTime createdAt;
    // The person's last change to the goal, to the millisecond; invalid for a goal never changed since a
    // version that did not keep it.
    QDateTime modifiedAt;
    GoalRepeat repeat;
    // Defaulted, so that a goal spelled out field by field need not name it.
    GoalReminder reminder = {};
    GoalDue due = {};
};

// Now, as the goals file keeps a createdAt: in whole seconds. A goal made or repaired in memory then reads the
// same as on disk, and its own time never beats another program's later edit of it that left the times alone.
QDateTime creationTimeNow();

// When the goal last changed: its modifiedAt, or its createdAt where none was kept. Merges compare these.
QDateTime lastChange(const TodoItem &item);

// Whether a done goal stands open again when the day that begins at `dayStart` (local time) begins: it repeats
// on that day and was last changed before the day began, so that a tick of the day itself stays. A day or more
// the computer was off changes nothing: the first day start after it decides.
bool reopensAt(const TodoItem &item, const QDateTime &dayStart);

// The ring of a goal's reminder that its row shows at `now`: one that passed while the goal stayed open (for a
// goal that repeats, open since it last changed, so that yesterday's ring goes once the day opens it again),
// else the next one. Nothing without a reminder, or for a repeating goal with no ring left.
struct ShownReminder {
    QDateTime moment;
    bool isOverdue = false;
};
std::optional<ShownReminder> shownReminder(const TodoItem &item, const QDateTime &now);

// The whitespace-and-newline set that every typed goal text and title is trimmed with:
// Unicode Zs, Zl and Zp plus U+0009..U+000D and U+0085. Unlike QString::trimmed() it keeps U+FEFF.
bool isTrimmable(QChar c);

// The text without leading and trailing trimmable characters (inner ones stay).
QString trimmedText(const QString &text);

// The text as a goal or a title keeps it, from whatever program it came: a tab or a line break becomes a
// space, a terminal's escape sequence (ESC or CSI, parameters, final byte) goes whole, and every other
// control character (C0, DEL, C1) is dropped. Text that needs none of this is returned as it is.
QString printableText(const QString &text);

// The text as a goal or a title keeps it: printable, and trimmed.
QString keptGoalText(const QString &text);
// The kept text, or nothing when that is empty.
std::optional<QString> trimmedNonEmpty(const QString &text);
// Whether anything is left of the text once it is kept: an editor's question, answered without making the text.
bool holdsGoalText(const QString &text);

// The longest text a goal is given, in UTF-16 code units: a page of prose. Text from the person or another
// program beyond it is refused, never cut; a longer goal that another program wrote to the file is kept whole.
constexpr qsizetype MaxGoalTextLength = 10'000;

// Whether the text holds a line break (LF, VT, FF, CR, NEL, U+2028 or U+2029).
bool hasLineBreak(QStringView text);
// The text cut at each of those line breaks, empty lines included.
QList<QStringView> linesOf(QStringView text);
// Whether the text, trimmed as a goal keeps it, is within MaxGoalTextLength.
bool fitsInAGoal(const QString &text);
// The same for each of its lines, for text whose every line becomes a goal.
bool eachLineFitsInAGoal(const QString &text);
