#include "goalsmerge.h"

#include <algorithm>

namespace
{

QHash<QUuid, qsizetype> firstIndexById(const QList<TodoItem> &todos, QSet<QUuid> &listedTwice)
{
    QHash<QUuid, qsizetype> index;
    index.reserve(todos.size());
    for (qsizetype i = 0; i < todos.size(); ++i) {
        if (index.contains(todos.at(i).id))
            listedTwice.insert(todos.at(i).id);
        else
            index.insert(todos.at(i).id, i);
    }
    return index;
}

bool sameGoal(const TodoItem &a, const TodoItem &b)
{
    return a.id == b.id && a.text == b.text && a.completed == b.completed && a.order == b.order
        && a.createdAt == b.createdAt && a.modifiedAt == b.modifiedAt;
}

} // namespace

namespace GoalsMerge
{

QList<TodoItem> merge(const QList<TodoItem> &panel, const Other &other, const Deletions &deletions)
{
    QSet<QUuid> listedTwice;
    const QHash<QUuid, qsizetype> inPanel = firstIndexById(panel, listedTwice);
    const QHash<QUuid, qsizetype> inOther = firstIndexById(other.todos, listedTwice);

    // The panel's goals that take their place from the panel: its own additions and its later changes, which
    // may be moves. A goal listed twice counts once, by its first listing.
    QSet<QUuid> placedByPanel;
    QSet<QUuid> dropped;
    for (const TodoItem &item : panel) {
        const auto there = inOther.constFind(item.id);
        if (there != inOther.cend()) {
            if (lastChange(item) > lastChange(other.todos.at(*there)))
                placedByPanel.insert(item.id);
        } else if (other.base && other.base->contains(item.id) && !(lastChange(item) > other.modified)) {
            dropped.insert(item.id);
        } else {
            placedByPanel.insert(item.id);
        }
    }

    // Each panel goal placed by the panel follows the nearest goal above it in the panel that is in the result;
    // a chain hangs after a goal of the other side's order, or at the front.
    QHash<QUuid, QList<qsizetype>> after;
    QList<qsizetype> front;
    std::optional<QUuid> anchor;
    for (qsizetype i = 0; i < panel.size(); ++i) {
        const TodoItem &item = panel.at(i);
        if (dropped.contains(item.id))
            continue;
        if (placedByPanel.contains(item.id))
            (anchor ? after[*anchor] : front).append(i);
        else
            anchor = item.id;
    }

    QList<TodoItem> merged;
    merged.reserve(panel.size() + other.todos.size());
    for (qsizetype i : std::as_const(front))
        merged.append(panel.at(i));
    QSet<QUuid> placed;
    for (qsizetype i = 0; i < other.todos.size(); ++i) {
        const TodoItem &item = other.todos.at(i);
        const auto here = inPanel.constFind(item.id);
        if (here == inPanel.cend()) {
            const auto deleted = deletions.constFind(item.id);
            if (deleted != deletions.cend() && *deleted >= lastChange(item))
                continue;
            merged.append(item);
        } else if (!placedByPanel.contains(item.id)) {
            if (placed.contains(item.id))
                continue;
            placed.insert(item.id);
            // On a tie the panel's values stay, at the other side's place; every listing of the goal with them.
            const bool otherWins = lastChange(item) > lastChange(panel.at(*here));
            const QList<TodoItem> &side = otherWins ? other.todos : panel;
            if (!listedTwice.contains(item.id)) {
                merged.append(side.at(otherWins ? i : *here));
            } else {
                for (const TodoItem &listed : side) {
                    if (listed.id == item.id)
                        merged.append(listed);
                }
            }
        } else {
            continue;
        }
        for (qsizetype j : after.value(item.id))
            merged.append(panel.at(j));
    }

    const bool ascending = std::is_sorted(
        merged.cbegin(), merged.cend(), [](const TodoItem &a, const TodoItem &b) { return a.order < b.order; });
    if (!ascending) {
        for (qsizetype i = 0; i < merged.size(); ++i)
            merged[i].order = i;
    }
    return merged;
}

bool sameGoals(const QList<TodoItem> &a, const QList<TodoItem> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), sameGoal);
}

QSet<QUuid> idsOf(const QList<TodoItem> &todos)
{
    QSet<QUuid> ids;
    ids.reserve(todos.size());
    for (const TodoItem &item : todos)
        ids.insert(item.id);
    return ids;
}

} // namespace GoalsMerge
