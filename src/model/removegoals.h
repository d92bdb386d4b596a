// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todostore.h"
#include "undohistory.h"

#include <QCoreApplication>
#include <QSet>

// Deleting one goal, and removing the done ones: the goals come back with their ids, texts, states, creation
// times and places. Removing the done goals leaves those that repeat: they stay done until their next day.
class RemoveGoals final : public UndoStep
{
    Q_DECLARE_TR_FUNCTIONS(RemoveGoals)

public:
    enum class Which { OneGoal, DoneGoals, DoneGoalsOfADay };
    // The id is that of the goal to delete; the other two remove the goals done when the step first runs, those
    // of a day only when last changed before `dayStart`, so that a goal ticked since stays.
    RemoveGoals(TodoStore *store, Which which, const QUuid &id = {}, QDateTime dayStart = {});

    QString text() const override;
    bool redo() override;
    bool undo() override;

private:
    TodoStore *m_store = nullptr;
    Which m_which = Which::OneGoal;
    QSet<QUuid> m_ids;
    QDateTime m_dayStart;
    QString m_goalText;
    QList<TodoStore::PlacedGoal> m_removed;
};
