// SPDX-License-Identifier: GPL-3.0-or-later

#include "removegoals.h"

#include "stepgoal.h"

#include <utility>

RemoveGoals::RemoveGoals(TodoStore *store, Which which, const QUuid &id, QDateTime dayStart)
    : m_store(store)
    , m_which(which)
    , m_dayStart(std::move(dayStart))
{
    if (which == Which::OneGoal) {
        m_ids.insert(id);
        if (const TodoItem *goal = StepGoal::find(store, id))
            m_goalText = goal->text;
    }
}

QString RemoveGoals::text() const
{
    switch (m_which) {
    case Which::OneGoal:
        return tr("Delete \u201C%1\u201D").arg(StepGoal::textOf(m_store, *m_ids.cbegin(), m_goalText));
    case Which::DoneGoals:
        return tr("Remove Done Goals");
    case Which::DoneGoalsOfADay:
        return tr("Clear Done Goals");
    }
    return {};
}

bool RemoveGoals::redo()
{
    if (m_which != Which::OneGoal && m_ids.isEmpty()) {
        for (const TodoItem &goal : m_store->todos()) {
            const bool ofTheDay = m_which == Which::DoneGoals || lastChange(goal) < m_dayStart;
            if (goal.completed && ofTheDay && !goal.repeat.repeats())
                m_ids.insert(goal.id);
        }
        if (m_ids.isEmpty())
            return false;
    }
    m_removed = m_store->removeGoals(m_ids);
    if (m_which == Which::OneGoal && !m_removed.isEmpty())
        m_goalText = m_removed.first().goal.text;
    return !m_removed.isEmpty();
}

bool RemoveGoals::undo()
{
    return StepGoal::putBack(m_store, m_removed);
}
