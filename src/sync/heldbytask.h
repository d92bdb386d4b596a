// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

// A goal compared with its task as a calendar server holds it: times in whole seconds, so that a goal the panel
// has not changed since the last sync reads as it did then, whatever milliseconds its own times carry.
namespace HeldByTask
{

// The goal as its task holds it: times (a due time too) in whole seconds, its last change as modifiedAt, the
// repetition as the task's rule reads back.
TodoItem of(TodoItem goal);

// Whether writing the goal would change the task's values, its place and times aside.
bool differs(const TodoItem &goal, const TodoItem &task);

// Whether the goal changed since that version of it: a move is a change of its time alone. Not whether it is
// later: the other side's clock need not agree.
bool changedSince(const TodoItem &goal, const TodoItem &version);

} // namespace HeldByTask
