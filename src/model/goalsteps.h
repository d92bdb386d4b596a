// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todostore.h"
#include "undohistory.h"

#include <QCoreApplication>

// The person's changes of one goal, its values or its place, as steps of the undo history (adding and removing
// goals are `AddGoals` and `RemoveGoals`). Each acts on the store by goal id: an undo puts back what its step
// changed and leaves alone what changed since by other hands.

class SetGoalCompleted final : public UndoStep
{
    Q_DECLARE_TR_FUNCTIONS(SetGoalCompleted)

public:
    // Ticks the goal when it is open and opens it when it is done.
    SetGoalCompleted(TodoStore *store, const QUuid &id);

    QString text() const override;
    bool redo() override;
    bool undo() override;

private:
    TodoStore *m_store = nullptr;
    QUuid m_id;
    QString m_goalText;
    std::optional<bool> m_completed;
};

class EditGoalText final : public UndoStep
{
    Q_DECLARE_TR_FUNCTIONS(EditGoalText)

public:
    EditGoalText(TodoStore *store, const QUuid &id, QString text);

    QString text() const override;
    bool redo() override;
    // Only while the goal still holds the edited text: a newer text from elsewhere stays.
    bool undo() override;

private:
    TodoStore *m_store = nullptr;
    QUuid m_id;
    QString m_newText;
    QString m_oldText;
};

// One of a goal's values set, `Value TodoItem::*Field`; undo sets it back while the goal still holds what the
// step left.
template<typename Value, Value TodoItem::*Field> class SetGoalValue : public UndoStep
{
public:
    bool redo() override;
    bool undo() override;

protected:
    SetGoalValue(TodoStore *store, const QUuid &id, Value value);
    // The goal's text for the step's name.
    QString goalText() const;

    TodoStore *m_store = nullptr;
    QUuid m_id;

private:
    virtual bool apply(const Value &value) = 0;

    Value m_newValue;
    std::optional<Value> m_oldValue;
    QString m_goalText;
};

// How a goal repeats.
class SetGoalRepeat final : public SetGoalValue<GoalRepeat, &TodoItem::repeat>
{
    Q_DECLARE_TR_FUNCTIONS(SetGoalRepeat)

public:
    SetGoalRepeat(TodoStore *store, const QUuid &id, GoalRepeat repeat);

    QString text() const override;

private:
    bool apply(const GoalRepeat &repeat) override;
};

// When a goal reminds the person, or that it no longer does.
class SetGoalReminder final : public SetGoalValue<GoalReminder, &TodoItem::reminder>
{
    Q_DECLARE_TR_FUNCTIONS(SetGoalReminder)

public:
    SetGoalReminder(TodoStore *store, const QUuid &id, GoalReminder reminder);

    QString text() const override;

private:
    bool apply(const GoalReminder &reminder) override;
};

// One goal moved some places up or down the list; undo puts it back at its place before.
class MoveGoal final : public UndoStep
{
    Q_DECLARE_TR_FUNCTIONS(MoveGoal)

public:
    MoveGoal(TodoStore *store, const QUuid &id, int places);

    QString text() const override;
    bool redo() override;
    bool undo() override;

private:
    TodoStore *m_store = nullptr;
    QUuid m_id;
    int m_places = 0;
    QString m_goalText;
    std::optional<qsizetype> m_before;
    std::optional<qsizetype> m_after;
};
