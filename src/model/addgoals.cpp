// SPDX-License-Identifier: GPL-3.0-or-later

#include "addgoals.h"

#include "goalplaces.h"
#include "stepgoal.h"

#include <algorithm>
#include <limits>
#include <utility>

AddGoals::AddGoals(TodoStore *store, QString text, Split split, GoalReminder reminder)
    : m_store(store)
    , m_text(std::move(text))
    , m_split(split)
    , m_reminder(std::move(reminder))
{
}

QString AddGoals::text() const
{
    if (m_count == 1)
        return tr("Add \u201C%1\u201D").arg(StepGoal::textOf(m_store, m_firstId, m_firstText));
    return tr("Add %n Goals", nullptr, int(std::min<qsizetype>(m_count, std::numeric_limits<int>::max())));
}

bool AddGoals::redo()
{
    if (m_count > 0)
        return StepGoal::putBack(m_store, std::exchange(m_added, {}));
    const qsizetype before = m_store->todos().size();
    if (m_split == Split::OneGoal) {
        m_store->add(m_text);
        m_store->save();
    } else {
        m_store->addLines(m_text);
    }
    if (m_reminder.isSet()) {
        QSet<QUuid> added;
        for (qsizetype i = before; i < m_store->todos().size(); ++i)
            added.insert(m_store->todos().at(i).id);
        m_store->setReminder(added, m_reminder);
    }
    // New goals go to the end of the list.
    const QList<TodoItem> &todos = m_store->todos();
    for (qsizetype i = before; i < todos.size(); ++i)
        m_added.append({ i, todos.at(i) });
    m_text.clear();
    m_count = m_added.size();
    if (m_count > 0) {
        m_firstId = m_added.first().goal.id;
        m_firstText = m_added.first().goal.text;
    }
    return m_count > 0;
}

bool AddGoals::undo()
{
    // What comes back on redo is the goals as they are now, with any change made to them since.
    const QList<QUuid> ids = GoalPlaces::idsOf(m_added);
    m_added = m_store->removeGoals({ ids.cbegin(), ids.cend() });
    for (const TodoStore::PlacedGoal &placed : std::as_const(m_added)) {
        if (placed.goal.id == m_firstId)
            m_firstText = placed.goal.text;
    }
    return !m_added.isEmpty();
}
