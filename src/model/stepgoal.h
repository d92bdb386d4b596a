// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todostore.h"

#include <QString>
#include <QUuid>

// The goal's text as a menu names it: on one line, and cut short when long.
QString goalTextForMenu(const QString &text);

// How the undo steps reach the goals they act on, by id, in the store as it is now: other hands may have changed
// or removed them since the step last ran.
namespace StepGoal
{

// The first goal with that id, or null.
const TodoItem *find(const TodoStore *store, const QUuid &id);
// A step names its goal by the text it has now, or had when the step last saw it while it is gone.
QString textOf(const TodoStore *store, const QUuid &id, const QString &lastSeen);
// Puts the goals back; false when none came back, each being in the list again by now.
bool putBack(TodoStore *store, const QList<TodoStore::PlacedGoal> &goals);

} // namespace StepGoal
