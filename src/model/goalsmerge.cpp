// SPDX-License-Identifier: GPL-3.0-or-later

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
        && a.createdAt == b.createdAt && a.modifiedAt == b.modifiedAt && a.repeat == b.repeat
        && a.reminder == b.reminder && a.due == b.due;
}

// Whether a goal reads as it did, its place aside: the panel renumbers goals around every move and deletion
// without stamping them, and each side's place is taken from its order of the list anyway.
bool sameValues(const TodoItem &a, const TodoItem &b)
{
    return a.text == b.text && a.completed == b.completed && a.createdAt == b.createdAt && a.modifiedAt == b.modifiedAt
        && a.repeat == b.repeat && a.reminder == b.reminder && a.due == b.due;
}

// The same on both computers for any two goals: by creation, then by id.
bool madeBefore(const TodoItem &a, const TodoItem &b)
{
    return a.createdAt != b.createdAt ? a.createdAt < b.createdAt : a.id < b.id;
}

enum class Winner { Panel, Other, Neither };

// The later change wins. Times tie where another program edited the goal and left its time alone, as text
// editors and scripts do: the panel stamps each change of its own, so the goal still as the panel last saw it
// here and different there was edited there. A base is not the other side's ancestor (a sync tool delivers
// another computer's version), so it only breaks ties, unless the other side was made from it.
Winner winnerOf(const TodoItem &mine, const TodoItem &theirs, const TodoItem *base, bool madeFromBase)
{
    if (base && madeFromBase) {
        const bool mineChanged = !sameValues(mine, *base);
        const bool theirsChanged = !sameValues(theirs, *base);
        if (mineChanged != theirsChanged)
            return mineChanged ? Winner::Panel : Winner::Other;
        if (!mineChanged)
            return Winner::Neither;
    }
    if (lastChange(mine) != lastChange(theirs))
        return lastChange(mine) > lastChange(theirs) ? Winner::Panel : Winner::Other;
    if (base && sameValues(mine, *base) && !sameValues(theirs, *base))
        return Winner::Other;
    return Winner::Neither;
}

} // namespace

namespace GoalsMerge
{

QList<TodoItem> merge(const QList<TodoItem> &panel, const Other &other, const Deletions &deletions)
{
    QSet<QUuid> listedTwice;
    const QHash<QUuid, qsizetype> inPanel = firstIndexById(panel, listedTwice);
    const QHash<QUuid, qsizetype> inOther = firstIndexById(other.todos, listedTwice);
    QSet<QUuid> listedTwiceInBase;
    const QHash<QUuid, qsizetype> inBase
        = other.base ? firstIndexById(*other.base, listedTwiceInBase) : QHash<QUuid, qsizetype>();
    const auto baseOf = [&](const QUuid &id) -> const TodoItem * {
        const auto there = inBase.constFind(id);
        return there == inBase.cend() ? nullptr : &other.base->at(*there);
    };
    // Who won each goal held on both sides; a goal listed twice counts once, by its first listing.
    QHash<QUuid, Winner> winners;

    // The panel's goals that take their place from the panel: its own additions and its later changes, which
    // may be moves. A goal listed twice counts once, by its first listing.
    QSet<QUuid> placedByPanel;
    QSet<QUuid> dropped;
    for (const TodoItem &item : panel) {
        const auto there = inOther.constFind(item.id);
        if (there != inOther.cend()) {
            if (winners.contains(item.id))
                continue;
            const Winner winner = winnerOf(
                panel.at(inPanel.value(item.id)), other.todos.at(*there), baseOf(item.id), other.madeFromBase);
            winners.insert(item.id, winner);
            if (winner == Winner::Panel)
                placedByPanel.insert(item.id);
        } else if (baseOf(item.id) && !(lastChange(item) > other.modified)) {
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
    // A chain meets the goals that only the other side holds after the same goal (both sides added there
    // while apart): they interleave by when each goal was made, so that both computers arrive at one order.
    QList<qsizetype> pending = front;
    qsizetype next = 0;
    const auto placeMadeBefore = [&](const TodoItem *goal) {
        for (; next < pending.size(); ++next) {
            const TodoItem &mine = panel.at(pending.at(next));
            if (goal && !madeBefore(mine, *goal))
                break;
            merged.append(mine);
        }
    };
    QSet<QUuid> placed;
    for (qsizetype i = 0; i < other.todos.size(); ++i) {
        const TodoItem &item = other.todos.at(i);
        const auto here = inPanel.constFind(item.id);
        if (here == inPanel.cend()) {
            const auto deleted = deletions.constFind(item.id);
            if (deleted != deletions.cend() && *deleted >= lastChange(item))
                continue;
            placeMadeBefore(&item);
            merged.append(item);
        } else if (!placedByPanel.contains(item.id) && !placed.contains(item.id)) {
            placed.insert(item.id);
            placeMadeBefore(nullptr);
            // Where neither won the panel's values stay, at the other side's place; every listing of the goal
            // with them.
            const bool otherWins = winners.value(item.id) == Winner::Other;
            const QList<TodoItem> &side = otherWins ? other.todos : panel;
            if (!listedTwice.contains(item.id)) {
                merged.append(side.at(otherWins ? i : *here));
            } else {
                for (const TodoItem &listed : side) {
                    if (listed.id == item.id)
                        merged.append(listed);
                }
            }
            pending = after.value(item.id);
            next = 0;
        }
    }
    placeMadeBefore(nullptr);

    const bool ascending = std::adjacent_find(merged.cbegin(), merged.cend(), [](const TodoItem &a, const TodoItem &b) {
        return a.order >= b.order;
    }) == merged.cend();
    // Two computers whose lists stand in one sequence under different numbers (one renumbered after a deletion,
    // the other not) would each keep its own numbers and rewrite the file for ever; both arrive at the same ones.
    const bool numberedAlike = std::all_of(merged.cbegin(), merged.cend(), [&](const TodoItem &item) {
        const auto there = inOther.constFind(item.id);
        return there == inOther.cend() || other.todos.at(*there).order == item.order;
    });
    if (!ascending || !numberedAlike) {
        for (qsizetype i = 0; i < merged.size(); ++i)
            merged[i].order = i;
    }
    return merged;
}

bool sameGoals(const QList<TodoItem> &a, const QList<TodoItem> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), sameGoal);
}

} // namespace GoalsMerge
