// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsteps.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace
{

// Long enough to tell goals apart, short enough for a menu line.
constexpr qsizetype MenuTextLength = 40;

const TodoItem *findGoal(const TodoStore *store, const QUuid &id)
{
    const QList<TodoItem> &todos = store->todos();
    const auto it = std::find_if(todos.cbegin(), todos.cend(), [&id](const TodoItem &item) { return item.id == id; });
    return it == todos.cend() ? nullptr : &*it;
}

std::optional<qsizetype> positionOf(const TodoStore *store, const QUuid &id)
{
    const QList<TodoItem> &todos = store->todos();
    const auto it = std::find_if(todos.cbegin(), todos.cend(), [&id](const TodoItem &item) { return item.id == id; });
    if (it == todos.cend())
        return std::nullopt;
    return it - todos.cbegin();
}

// The goal's text now, or the one last seen while it is gone.
QString textOf(const TodoStore *store, const QUuid &id, const QString &lastSeen)
{
    const TodoItem *goal = findGoal(store, id);
    return goalTextForMenu(goal ? goal->text : lastSeen);
}

// Puts the goals back; false when none came back, each being in the list again by now.
bool putBack(TodoStore *store, const QList<TodoStore::PlacedGoal> &goals)
{
    const qsizetype before = store->todos().size();
    store->restore(goals);
    return store->todos().size() > before;
}

QSet<QUuid> idsOf(const QList<TodoStore::PlacedGoal> &goals)
{
    QSet<QUuid> ids;
    for (const TodoStore::PlacedGoal &placed : goals)
        ids.insert(placed.goal.id);
    return ids;
}

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
        return tr("Add \u201C%1\u201D").arg(textOf(m_store, m_firstId, m_firstText));
    return tr("Add %n Goals", nullptr, int(std::min<qsizetype>(m_count, std::numeric_limits<int>::max())));
}

bool AddGoals::redo()
{
    if (m_count > 0)
        return putBack(m_store, std::exchange(m_added, {}));
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
    m_added = m_store->removeGoals(idsOf(m_added));
    for (const TodoStore::PlacedGoal &placed : std::as_const(m_added)) {
        if (placed.goal.id == m_firstId)
            m_firstText = placed.goal.text;
    }
    return !m_added.isEmpty();
}

SetGoalCompleted::SetGoalCompleted(TodoStore *store, const QUuid &id)
    : m_store(store)
    , m_id(id)
{
}

QString SetGoalCompleted::text() const
{
    const QString goal = textOf(m_store, m_id, m_goalText);
    return m_completed.value_or(false) ? tr("Mark \u201C%1\u201D as Done").arg(goal)
                                       : tr("Mark \u201C%1\u201D as Not Done").arg(goal);
}

bool SetGoalCompleted::redo()
{
    if (!m_completed) {
        const TodoItem *goal = findGoal(m_store, m_id);
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
    return tr("Edit \u201C%1\u201D").arg(textOf(m_store, m_id, m_oldText));
}

bool EditGoalText::redo()
{
    const TodoItem *goal = findGoal(m_store, m_id);
    if (!goal)
        return false;
    if (m_oldText.isNull()) {
        m_oldText = goal->text;
        // An unchanged text is saved all the same, but there is nothing to undo.
        m_store->updateText(m_id, m_newText);
        return m_oldText != m_newText;
    }
    if (goal->text != m_oldText)
        return false;
    m_store->updateText(m_id, m_newText);
    return true;
}

bool EditGoalText::undo()
{
    const TodoItem *goal = findGoal(m_store, m_id);
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
    return textOf(m_store, m_id, m_goalText);
}

template<typename Value, Value TodoItem::*Field> bool SetGoalValue<Value, Field>::redo()
{
    const TodoItem *goal = findGoal(m_store, m_id);
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
    const TodoItem *goal = findGoal(m_store, m_id);
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
    return tr("Move \u201C%1\u201D").arg(textOf(m_store, m_id, m_goalText));
}

bool MoveGoal::redo()
{
    if (m_after)
        return m_store->moveTo(m_id, *m_after);
    m_before = positionOf(m_store, m_id);
    if (!m_before)
        return false;
    m_goalText = m_store->todos().at(*m_before).text;
    if (!m_store->moveBy(m_id, m_places))
        return false;
    m_after = positionOf(m_store, m_id);
    return true;
}

bool MoveGoal::undo()
{
    return m_store->moveTo(m_id, *m_before);
}

RemoveGoals::RemoveGoals(TodoStore *store, Which which, const QUuid &id, QDateTime dayStart)
    : m_store(store)
    , m_which(which)
    , m_dayStart(std::move(dayStart))
{
    if (which == Which::OneGoal) {
        m_ids.insert(id);
        if (const TodoItem *goal = findGoal(store, id))
            m_goalText = goal->text;
    }
}

QString RemoveGoals::text() const
{
    switch (m_which) {
    case Which::OneGoal:
        return tr("Delete \u201C%1\u201D").arg(textOf(m_store, *m_ids.cbegin(), m_goalText));
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
    return putBack(m_store, m_removed);
}
