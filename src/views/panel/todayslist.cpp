// SPDX-License-Identifier: GPL-3.0-or-later

#include "todayslist.h"

#include "views/list/goallist.h"
#include "views/rows/repeatwords.h"
#include "views/rows/todorowview.h"

#include <QTimer>

#include <algorithm>
#include <iterator>

namespace
{

// Long enough to read a short line.
constexpr int FarewellMs = 2500;

} // namespace

TodaysList::TodaysList(GoalList *list, QObject *parent)
    : QObject(parent)
    , m_list(list)
{
}

bool TodaysList::setDay(QDate day, const QList<TodoItem> &todos)
{
    if (day == m_day)
        return false;
    const bool changesList = std::any_of(todos.cbegin(), todos.cend(),
        [this, day](const TodoItem &todo) { return isShown(todo) != todo.repeat.isShownOn(day); });
    m_day = day;
    return changesList;
}

bool TodaysList::isShown(const TodoItem &todo) const
{
    return !m_day.isValid() || todo.repeat.isShownOn(m_day) || m_leaving.contains(todo.id);
}

QList<TodoItem> TodaysList::shownOf(const QList<TodoItem> &todos) const
{
    const auto isShownHere = [this](const TodoItem &todo) { return isShown(todo); };
    if (std::all_of(todos.cbegin(), todos.cend(), isShownHere))
        return todos;
    QList<TodoItem> shown;
    std::copy_if(todos.cbegin(), todos.cend(), std::back_inserter(shown), isShownHere);
    return shown;
}

std::optional<int> TodaysList::storePlaces(const QList<TodoItem> &todos, const QUuid &id, int places) const
{
    QList<qsizetype> shown;
    qsizetype from = -1;
    for (qsizetype i = 0; i < todos.size(); ++i) {
        if (!isShown(todos.at(i)))
            continue;
        if (todos.at(i).id == id && from < 0)
            from = shown.size();
        shown.append(i);
    }
    if (from < 0 || from + places < 0 || from + places >= shown.size())
        return std::nullopt;
    return int(shown.at(from + places) - shown.at(from));
}

void TodaysList::repeatChosen(const QUuid &id, const GoalRepeat &repeat)
{
    TodoRowView *row = m_list->row(id);
    if (!m_day.isValid() || repeat.isShownOn(m_day) || !row || m_leaving.contains(id))
        return;
    m_leaving.insert(id);
    row->setFarewell(tr("%1 – not shown today, %2", "a goal's text, then how it repeats")
                         .arg(row->todo().text, RepeatWords::description(repeat)));
    QTimer::singleShot(FarewellMs, this, [this, id] {
        m_leaving.remove(id);
        // Undone meanwhile, the goal stays, and shows its text again.
        if (TodoRowView *row = m_list->row(id))
            row->setFarewell({});
        emit farewellsEnded();
    });
}
