// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsteps.h"

#include "goalplaces.h"
#include "stepgoal.h"

#include <utility>

SetGoalCompleted::SetGoalCompleted(TodoStore *store, const QUuid &id)
    : m_store(store)
    , m_id(id)
{
}

QString SetGoalCompleted::text() const
{
    const QString goal = StepGoal::textOf(m_store, m_id, m_goalText);
    return m_completed.value_or(false) ? tr("Mark \u201C%1\u201D as Done").arg(goal)
                                       : tr("Mark \u201C%1\u201D as Not Done").arg(goal);
}

bool SetGoalCompleted::redo()
{
    if (!m_completed) {
        const TodoItem *goal = StepGoal::find(m_store, m_id);
        if (!goal)
            return false;
        m_completed = !goal->completed;
        m_goalText = goal->text;
    }
    return m_store->setCompleted(m_id, *m_completed);
}

bool SetGoalCompleted::undo()
{
    return m_store->setCompleted(m_id, !*m_completed);
}

EditGoalText::EditGoalText(TodoStore *store, const QUuid &id, QString text)
    : m_store(store)
    , m_id(id)
    , m_newText(std::move(text))
{
}

QString EditGoalText::text() const
{
    return tr("Edit \u201C%1\u201D").arg(StepGoal::textOf(m_store, m_id, m_oldText));
}

bool EditGoalText::redo()
{
    const TodoItem *goal = StepGoal::find(m_store, m_id);
    if (!goal)
        return false;
    if (m_oldText.isNull()) {
        m_oldText = goal->text;
        // An unchanged text is saved all the same, but there is nothing to undo. The store keeps the text
        // cleaned; undo and redo then know the goal by what it kept.
        m_store->updateText(m_id, m_newText);
        m_newText = StepGoal::textOf(m_store, m_id, m_newText);
        return m_oldText != m_newText;
    }
    if (goal->text != m_oldText)
        return false;
    m_store->updateText(m_id, m_newText);
    return true;
}

bool EditGoalText::undo()
{
    const TodoItem *goal = StepGoal::find(m_store, m_id);
    if (!goal || goal->text != m_newText)
        return false;
    m_store->updateText(m_id, m_oldText);
    return true;
}

template<typename Value, Value TodoItem::*Field>
SetGoalValue<Value, Field>::SetGoalValue(TodoStore *store, const QUuid &id, Value value)
    : m_store(store)
    , m_id(id)
    , m_newValue(std::move(value))
{
}

template<typename Value, Value TodoItem::*Field> QString SetGoalValue<Value, Field>::goalText() const
{
    return StepGoal::textOf(m_store, m_id, m_goalText);
}

template<typename Value, Value TodoItem::*Field> bool SetGoalValue<Value, Field>::redo()
{
    const TodoItem *goal = StepGoal::find(m_store, m_id);
    if (!goal)
        return false;
    m_goalText = goal->text;
    if (!m_oldValue) {
        m_oldValue = goal->*Field;
    } else if (goal->*Field != *m_oldValue) {
        return false;
    }
    return apply(m_newValue);
}

template<typename Value, Value TodoItem::*Field> bool SetGoalValue<Value, Field>::undo()
{
    const TodoItem *goal = StepGoal::find(m_store, m_id);
    if (!goal || goal->*Field != m_newValue)
        return false;
    m_goalText = goal->text;
    return apply(*m_oldValue);
}

template class SetGoalValue<GoalRepeat, &TodoItem::repeat>;
template class SetGoalValue<GoalReminder, &TodoItem::reminder>;

SetGoalRepeat::SetGoalRepeat(TodoStore *store, const QUuid &id, GoalRepeat repeat)
    : SetGoalValue(store, id, std::move(repeat))
{
}

QString SetGoalRepeat::text() const
{
    return tr("Repeat \u201C%1\u201D").arg(goalText());
}

bool SetGoalRepeat::apply(const GoalRepeat &repeat)
{
    return m_store->setRepeat(m_id, repeat);
}

SetGoalReminder::SetGoalReminder(TodoStore *store, const QUuid &id, GoalReminder reminder)
    : SetGoalValue(store, id, std::move(reminder))
{
}

QString SetGoalReminder::text() const
{
    return tr("Remind Me for \u201C%1\u201D").arg(goalText());
}

bool SetGoalReminder::apply(const GoalReminder &reminder)
{
    return m_store->setReminder({ m_id }, reminder);
}

MoveGoal::MoveGoal(TodoStore *store, const QUuid &id, int places)
    : m_store(store)
    , m_id(id)
    , m_places(places)
{
}

QString MoveGoal::text() const
{
    return tr("Move \u201C%1\u201D").arg(StepGoal::textOf(m_store, m_id, m_goalText));
}

bool MoveGoal::redo()
{
    if (m_after)
        return m_store->moveTo(m_id, *m_after);
    m_before = GoalPlaces::positionOf(m_store->todos(), m_id);
    if (!m_before)
        return false;
    m_goalText = m_store->todos().at(*m_before).text;
    if (!m_store->moveBy(m_id, m_places))
        return false;
    m_after = GoalPlaces::positionOf(m_store->todos(), m_id);
    return true;
}

bool MoveGoal::undo()
{
    return m_store->moveTo(m_id, *m_before);
}
