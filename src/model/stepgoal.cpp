// SPDX-License-Identifier: GPL-3.0-or-later

#include "stepgoal.h"

#include "goalplaces.h"

namespace
{

// Long enough to tell goals apart, short enough for a menu line.
constexpr qsizetype MenuTextLength = 40;

} // namespace

QString goalTextForMenu(const QString &text)
{
    // A goals file from another program may hold line breaks, tabs or a whole page in one goal.
    QString line = text;
    for (QChar &c : line) {
        if (isTrimmable(c) || c.category() == QChar::Other_Control)
            c = u' ';
    }
    line = line.simplified();
    if (line.size() <= MenuTextLength)
        return line;
    qsizetype cut = MenuTextLength - 1;
    if (line.at(cut - 1).isHighSurrogate())
        --cut;
    return line.first(cut) + u'\u2026';
}

namespace StepGoal
{

const TodoItem *find(const TodoStore *store, const QUuid &id)
{
    const std::optional<qsizetype> position = GoalPlaces::positionOf(store->todos(), id);
    return position ? &store->todos().at(*position) : nullptr;
}

QString textOf(const TodoStore *store, const QUuid &id, const QString &lastSeen)
{
    const TodoItem *goal = find(store, id);
    return goalTextForMenu(goal ? goal->text : lastSeen);
}

bool putBack(TodoStore *store, const QList<TodoStore::PlacedGoal> &goals)
{
    const qsizetype before = store->todos().size();
    store->restore(goals);
    return store->todos().size() > before;
}

} // namespace StepGoal
