// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todostore.h"
#include "undohistory.h"

#include <QCoreApplication>

// A typed goal, or a text from another program with one goal per line, added as one step however many lines.
class AddGoals final : public UndoStep
{
    Q_DECLARE_TR_FUNCTIONS(AddGoals)

public:
    enum class Split { OneGoal, OneGoalPerLine };
    // Each goal added with the reminder, where one is set.
    AddGoals(TodoStore *store, QString text, Split split, GoalReminder reminder = {});

    QString text() const override;
    bool redo() override;
    bool undo() override;

private:
    TodoStore *m_store = nullptr;
    QString m_text;
    Split m_split = Split::OneGoal;
    GoalReminder m_reminder;
    // How many goals the first run made; later runs bring back these same goals.
    qsizetype m_count = 0;
    QUuid m_firstId;
    QString m_firstText;
    QList<TodoStore::PlacedGoal> m_added;
};
