// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todoitem.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

#include <optional>

// Brings the panel's goals together with another program's, goal by goal: the id is the goal's identity, and
// where both sides changed a goal the later change wins. Values in, values out; nothing is read or written.
namespace GoalsMerge
{

// When each recently deleted goal was deleted here.
using Deletions = QHash<QUuid, QDateTime>;

struct Other {
    QList<TodoItem> todos;
    // The version of the file this panel last read or wrote. Without one (a sync tool's conflict copy) a goal
    // only the panel holds was never seen by the other side and is kept, and only times decide between sides.
    std::optional<QList<TodoItem>> base;
    // When the other side last wrote; sync tools carry it over from the computer where the change was made.
    QDateTime modified;
    // The other side was made from the base (a calendar sync's outcome): a goal that only one side changed since
    // takes that side's values whatever the clocks say, and only goals both changed go by time.
    bool madeFromBase = false;
};

// - On both sides: with madeFromBase, the one side that changed it since the base wins; else the later
//   lastChange wins. On a tie the other side's values win where only they differ
//   from the base (an editor or a script leaves modifiedAt as it was), else the panel's stay.
// - Only in `other`: added, unless deleted here at or after its last change.
// - Only in `panel`: kept, unless the base had it (the other side deleted it) and the panel did not change it
//   after the other side wrote.
// The goals stand in the other side's order, each goal whose panel side won or that only the panel holds
// moved to follow the goal it follows in the panel. Orders are kept where they still strictly ascend, else
// renumbered, so that two panels merging the same changes number them alike.
QList<TodoItem> merge(const QList<TodoItem> &panel, const Other &other, const Deletions &deletions);

// Whether two lists hold the same goals with the same values in the same order.
bool sameGoals(const QList<TodoItem> &a, const QList<TodoItem> &b);

} // namespace GoalsMerge
