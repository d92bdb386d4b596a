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

// Where each goal stands on each side, by its first listing.
struct Listings {
    QHash<QUuid, qsizetype> inPanel;
    QHash<QUuid, qsizetype> inOther;
    QHash<QUuid, qsizetype> inBase;
    // Listed more than once in the panel or on the other side.
    QSet<QUuid> listedTwice;
};

Listings listingsOf(const QList<TodoItem> &panel, const GoalsMerge::Other &other)
{
    Listings listings;
    listings.inPanel = firstIndexById(panel, listings.listedTwice);
    listings.inOther = firstIndexById(other.todos, listings.listedTwice);
    QSet<QUuid> listedTwiceInBase;
    if (other.base)
        listings.inBase = firstIndexById(*other.base, listedTwiceInBase);
    return listings;
}

const TodoItem *baseOf(const QUuid &id, const GoalsMerge::Other &other, const Listings &listings)
{
    const auto there = listings.inBase.constFind(id);
    return there == listings.inBase.cend() ? nullptr : &other.base->at(*there);
}

// What becomes of the panel's goals.
struct Decisions {
    // Who won each goal held on both sides.
    QHash<QUuid, Winner> winners;
    // The panel's goals that take their place from the panel: its own additions and its later changes, which
    // may be moves.
    QSet<QUuid> placedByPanel;
    // The panel's goals the other side deleted.
    QSet<QUuid> dropped;
};

// A goal listed twice counts once, by its first listing.
Decisions decide(const QList<TodoItem> &panel, const GoalsMerge::Other &other, const Listings &listings)
{
    Decisions decisions;
    for (const TodoItem &item : panel) {
        const auto there = listings.inOther.constFind(item.id);
        if (there != listings.inOther.cend()) {
            if (decisions.winners.contains(item.id))
                continue;
            const Winner winner = winnerOf(panel.at(listings.inPanel.value(item.id)), other.todos.at(*there),
                baseOf(item.id, other, listings), other.madeFromBase);
            decisions.winners.insert(item.id, winner);
            if (winner == Winner::Panel)
                decisions.placedByPanel.insert(item.id);
        } else if (baseOf(item.id, other, listings) && !(lastChange(item) > other.modified)) {
            decisions.dropped.insert(item.id);
        } else {
            decisions.placedByPanel.insert(item.id);
        }
    }
    return decisions;
}

// The panel's goals placed by the panel, by their index in the panel: each follows the nearest goal above it in
// the panel that is in the result; a chain hangs after a goal of the other side's order, or at the front.
struct Chains {
    QHash<QUuid, QList<qsizetype>> after;
    QList<qsizetype> front;
};

Chains chainsOf(const QList<TodoItem> &panel, const Decisions &decisions)
{
    Chains chains;
    std::optional<QUuid> anchor;
    for (qsizetype i = 0; i < panel.size(); ++i) {
        const TodoItem &item = panel.at(i);
        if (decisions.dropped.contains(item.id))
            continue;
        if (decisions.placedByPanel.contains(item.id))
            (anchor ? chains.after[*anchor] : chains.front).append(i);
        else
            anchor = item.id;
    }
    return chains;
}

// The other side's goals in its order, each with the values that won, and the panel's chains hung in.
QList<TodoItem> weave(const QList<TodoItem> &panel, const GoalsMerge::Other &other,
    const GoalsMerge::Deletions &deletions, const Listings &listings, const Decisions &decisions, const Chains &chains)
{
    QList<TodoItem> merged;
    merged.reserve(panel.size() + other.todos.size());
    // A chain meets the goals that only the other side holds after the same goal (both sides added there
    // while apart): they interleave by when each goal was made, so that both computers arrive at one order.
    QList<qsizetype> pending = chains.front;
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
        const auto here = listings.inPanel.constFind(item.id);
        if (here == listings.inPanel.cend()) {
            const auto deleted = deletions.constFind(item.id);
            if (deleted != deletions.cend() && *deleted >= lastChange(item))
                continue;
            placeMadeBefore(&item);
            merged.append(item);
        } else if (!decisions.placedByPanel.contains(item.id) && !placed.contains(item.id)) {
            placed.insert(item.id);
            placeMadeBefore(nullptr);
            // Where neither won the panel's values stay, at the other side's place; every listing of the goal
            // with them.
            const bool otherWins = decisions.winners.value(item.id) == Winner::Other;
            const QList<TodoItem> &side = otherWins ? other.todos : panel;
            if (!listings.listedTwice.contains(item.id)) {
                merged.append(side.at(otherWins ? i : *here));
            } else {
                for (const TodoItem &listed : side) {
                    if (listed.id == item.id)
                        merged.append(listed);
                }
            }
            pending = chains.after.value(item.id);
            next = 0;
        }
    }
    placeMadeBefore(nullptr);
    return merged;
}

// Orders are kept where they still strictly ascend and match the other side's, else renumbered.
void numberAlike(QList<TodoItem> &merged, const GoalsMerge::Other &other, const Listings &listings)
{
    const bool ascending = std::adjacent_find(merged.cbegin(), merged.cend(), [](const TodoItem &a, const TodoItem &b) {
        return a.order >= b.order;
    }) == merged.cend();
    // Two computers whose lists stand in one sequence under different numbers (one renumbered after a deletion,
    // the other not) would each keep its own numbers and rewrite the file for ever; both arrive at the same ones.
    const bool numberedAlike = std::all_of(merged.cbegin(), merged.cend(), [&](const TodoItem &item) {
        const auto there = listings.inOther.constFind(item.id);
        return there == listings.inOther.cend() || other.todos.at(*there).order == item.order;
    });
    if (!ascending || !numberedAlike) {
        for (qsizetype i = 0; i < merged.size(); ++i)
            merged[i].order = i;
    }
}

} // namespace

namespace GoalsMerge
{

QList<TodoItem> merge(const QList<TodoItem> &panel, const Other &other, const Deletions &deletions)
{
    const Listings listings = listingsOf(panel, other);
    const Decisions decisions = decide(panel, other, listings);
    QList<TodoItem> merged = weave(panel, other, deletions, listings, decisions, chainsOf(panel, decisions));
    numberAlike(merged, other, listings);
    return merged;
}

bool sameGoals(const QList<TodoItem> &a, const QList<TodoItem> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), sameGoal);
}

} // namespace GoalsMerge
