// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todoitem.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QUuid>

#include <optional>

// The goals' places in the list and their orders, as values: taking goals out and putting them back where they
// stood, moving one, and numbering the list. Nothing is saved or told; the store does that.
namespace GoalPlaces
{

// A goal at its place in the list, as taken out and as put back.
struct PlacedGoal {
    qsizetype position = 0;
    TodoItem goal;
};

// Numbers the goals 0, 1, 2, … in list order; true when any order changed.
bool renumber(QList<TodoItem> &todos);
// One past the largest order (0 for an empty list), however negative the orders are; nothing when the largest
// possible order is taken, so that no order can follow it before the list is renumbered.
std::optional<qint64> nextOrder(const QList<TodoItem> &todos);
// Takes out every goal with one of the ids; gives what it took, at their places.
QList<PlacedGoal> takeOut(QList<TodoItem> &todos, const QSet<QUuid> &ids);
QList<QUuid> idsOf(const QList<PlacedGoal> &goals);
// Puts goals back at their places (or at the end, should the list have become shorter), each stamped with `now`;
// a goal whose id is in the list again by now is left out. Gives the ids put back.
QList<QUuid> putBack(QList<TodoItem> &todos, QList<PlacedGoal> goals, const QDateTime &now);
// The place of the first goal with that id; nothing when no goal has it.
std::optional<qsizetype> positionOf(const QList<TodoItem> &todos, const QUuid &id);

} // namespace GoalPlaces
