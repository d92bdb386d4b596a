// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

// The tasks' sort orders (X-APPLE-SORT-ORDER) for a list, changed as little as they can be: each task keeps its
// own where it still stands in sequence, a moved or new one takes a number between its neighbours, and one
// without a number keeps none while its creation time places it where the list has it. Numbers are spread
// apart so that a later move finds room; where none is left, the nearest neighbours are numbered anew with it.
namespace SortOrders
{

// The numbers that change: `list` is the order every device is to show, `held` each task's number on the
// server now (a task without one absent), `writtenAnyway` the goals written for other reasons, which take a
// number wherever they lack one. Placing the list's goals by the numbers they then have, as
// VTodoMapping::place() does, gives `list` again.
QHash<QUuid, qint64> arrange(
    const QList<TodoItem> &list, const QHash<QUuid, qint64> &held, const QSet<QUuid> &writtenAnyway);

} // namespace SortOrders
