// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalplaces.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace GoalPlaces
{

bool renumber(QList<TodoItem> &todos)
{
    bool changed = false;
    for (qsizetype i = 0; i < todos.size(); ++i) {
        if (todos[i].order != i) {
            todos[i].order = i;
            changed = true;
        }
    }
    return changed;
}

std::optional<qint64> nextOrder(const QList<TodoItem> &todos)
{
    qint64 largest = todos.isEmpty() ? -1 : std::numeric_limits<qint64>::min();
    for (const TodoItem &item : todos)
        largest = std::max(largest, item.order);
    if (largest == std::numeric_limits<qint64>::max())
        return std::nullopt;
    return largest + 1;
}

QList<PlacedGoal> takeOut(QList<TodoItem> &todos, const QSet<QUuid> &ids)
{
    QList<PlacedGoal> removed;
    QList<TodoItem> kept;
    kept.reserve(todos.size());
    for (qsizetype i = 0; i < todos.size(); ++i) {
        if (ids.contains(todos.at(i).id))
            removed.append({ i, std::move(todos[i]) });
        else
            kept.append(std::move(todos[i]));
    }
    todos = std::move(kept);
    return removed;
}

QList<QUuid> idsOf(const QList<PlacedGoal> &goals)
{
    QList<QUuid> ids;
    ids.reserve(goals.size());
    for (const PlacedGoal &placed : goals)
        ids.append(placed.goal.id);
    return ids;
}

QList<QUuid> putBack(QList<TodoItem> &todos, QList<PlacedGoal> goals, const QDateTime &now)
{
    QSet<QUuid> present;
    for (const TodoItem &item : std::as_const(todos))
        present.insert(item.id);
    std::stable_sort(
        goals.begin(), goals.end(), [](const PlacedGoal &a, const PlacedGoal &b) { return a.position < b.position; });
    QList<QUuid> restored;
    for (PlacedGoal &placed : goals) {
        if (present.contains(placed.goal.id))
            continue;
        placed.goal.modifiedAt = now;
        restored.append(placed.goal.id);
        todos.insert(std::clamp(placed.position, qsizetype(0), todos.size()), std::move(placed.goal));
    }
    return restored;
}

std::optional<qsizetype> positionOf(const QList<TodoItem> &todos, const QUuid &id)
{
    const auto it = std::find_if(todos.cbegin(), todos.cend(), [&id](const TodoItem &item) { return item.id == id; });
    if (it == todos.cend())
        return std::nullopt;
    return it - todos.cbegin();
}

} // namespace GoalPlaces
