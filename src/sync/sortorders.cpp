// SPDX-License-Identifier: GPL-3.0-or-later

#include "sortorders.h"

#include "vtodomapping.h"

#include <QtNumeric>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace
{

// Room for sixteen moves into one gap before its neighbours are numbered anew.
constexpr qint64 Spacing = qint64(1) << 16;

enum class Number { Kept, Given, None };

// The longest run of the list, in list order, whose numbers strictly ascend: those stay.
std::vector<bool> longestAscending(const std::vector<std::optional<qint64>> &held)
{
    std::vector<qsizetype> tails; // Index of the smallest last number of an ascending run of each length.
    std::vector<qsizetype> previous(held.size(), -1);
    for (qsizetype i = 0; i < qsizetype(held.size()); ++i) {
        if (!held[i])
            continue;
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), *held[i], [&](qsizetype tail, qint64 value) { return *held[tail] < value; });
        if (at != tails.begin())
            previous[i] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<bool> kept(held.size(), false);
    for (qsizetype i = tails.empty() ? -1 : tails.back(); i >= 0; i = previous[i])
        kept[i] = true;
    return kept;
}

struct Numbered {
    std::vector<std::optional<qint64>> value;
    // Where a run found no room: the kept neighbour that is to be numbered with it.
    std::optional<qsizetype> crowded;
};

// Numbers for each run of goals to be numbered, between the kept numbers around it.
Numbered numbered(const std::vector<Number> &kind, const std::vector<std::optional<qint64>> &held)
{
    const qsizetype n = qsizetype(kind.size());
    Numbered result { std::vector<std::optional<qint64>>(n), {} };
    std::optional<qint64> below;
    qsizetype lastKept = -1;
    for (qsizetype i = 0; i < n;) {
        if (kind[i] != Number::Given) {
            if (kind[i] == Number::Kept) {
                result.value[i] = held[i];
                below = held[i];
                lastKept = i;
            }
            ++i;
            continue;
        }
        std::vector<qsizetype> run;
        qsizetype j = i;
        for (; j < n && kind[j] != Number::Kept; ++j) {
            if (kind[j] == Number::Given)
                run.push_back(j);
        }
        const std::optional<qint64> above = j < n ? held[j] : std::nullopt;
        const qint64 count = qint64(run.size());
        qint64 first = 0;
        qint64 step = Spacing;
        qint64 room = 0;
        bool full = false;
        if (below && above) {
            full = qSubOverflow(*above, *below, &room) ? false : room <= count;
            step = full ? 0 : std::min(Spacing, (room < 0 ? std::numeric_limits<qint64>::max() : room) / (count + 1));
            first = *below + step;
        } else if (below) {
            full = qAddOverflow(*below, Spacing * count, &room);
            first = *below + Spacing;
        } else if (above) {
            full = qSubOverflow(*above, Spacing * count, &first);
        }
        if (full) {
            result.crowded = above ? j : lastKept;
            return result;
        }
        for (qint64 k = 0; k < count; ++k)
            result.value[run[k]] = first + step * k;
        below = result.value[run.back()];
        i = j;
    }
    return result;
}

} // namespace

namespace SortOrders
{

QHash<QUuid, qint64> arrange(
    const QList<TodoItem> &list, const QHash<QUuid, qint64> &held, const QSet<QUuid> &writtenAnyway)
{
    const qsizetype n = list.size();
    std::vector<std::optional<qint64>> current(n);
    for (qsizetype i = 0; i < n; ++i) {
        const auto found = held.constFind(list.at(i).id);
        if (found != held.cend())
            current[i] = *found;
    }
    const std::vector<bool> ascending = longestAscending(current);
    std::vector<Number> kind(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (ascending[i])
            kind[i] = Number::Kept;
        else
            kind[i] = current[i] || writtenAnyway.contains(list.at(i).id) ? Number::Given : Number::None;
    }

    // Each round numbers one more goal; a list of goals listed twice may never place as listed, and stops.
    for (qsizetype round = 0;; ++round) {
        const Numbered result = numbered(kind, current);
        if (result.crowded) {
            kind[*result.crowded] = Number::Given;
            continue;
        }
        // A task without a number stands where its creation time puts it among the others: where that is
        // not where the list has it, it takes a number after all.
        QList<VTodoMapping::Task> tasks;
        tasks.reserve(n);
        for (qsizetype i = 0; i < n; ++i) {
            // As the server holds it: in whole seconds.
            TodoItem goal = list.at(i);
            goal.createdAt = QDateTime::fromSecsSinceEpoch(goal.createdAt.toSecsSinceEpoch(), Qt::UTC);
            tasks.append({ goal, {}, result.value[i], false });
        }
        const QList<TodoItem> placed = VTodoMapping::place(tasks);
        qsizetype differ = 0;
        while (differ < n && placed.at(differ).id == list.at(differ).id)
            ++differ;
        qsizetype unnumbered = differ;
        if (differ < n && kind[differ] != Number::None) {
            const QUuid early = placed.at(differ).id;
            unnumbered = std::find_if(list.cbegin(), list.cend(), [&](const TodoItem &goal) {
                return goal.id == early;
            }) - list.cbegin();
        }
        if (differ == n || round > n || kind[unnumbered] != Number::None) {
            QHash<QUuid, qint64> changed;
            for (qsizetype i = 0; i < n; ++i) {
                if (kind[i] == Number::Given && result.value[i] != current[i])
                    changed.insert(list.at(i).id, *result.value[i]);
            }
            return changed;
        }
        kind[unnumbered] = Number::Given;
    }
}

} // namespace SortOrders
