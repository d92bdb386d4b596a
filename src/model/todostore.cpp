// SPDX-License-Identifier: GPL-3.0-or-later

#include "todostore.h"

#include "goalsdisk.h"
#include "goalsfile.h"
#include "goalsmerge.h"

#include <algorithm>
#include <limits>
#include <utility>

TodoStore::TodoStore(QObject *parent)
    : TodoStore(GoalsFile::defaultLocation(), GoalsHistory::defaultFolder(), parent)
{
}

TodoStore::TodoStore(std::optional<QString> fileURL, QObject *parent)
    : QObject(parent)
    , m_fileURL(std::move(fileURL))
{
    if (m_fileURL)
        open();
}

TodoStore::TodoStore(const QString &fileURL, const QString &stateFolder, QObject *parent)
    : QObject(parent)
    , m_fileURL(fileURL)
    , m_history(stateFolder)
{
    open();
}

void TodoStore::open()
{
    m_disk = new GoalsDisk(*m_fileURL, &m_history, this);
    connect(m_disk, &GoalsDisk::saveFailureChanged, this, &TodoStore::saveFailureChanged);
    connect(m_disk, &GoalsDisk::readNoticeChanged, this, &TodoStore::readNoticeChanged);
    QList<TodoItem> loaded = m_disk->readGoals();
    if (!loaded.isEmpty()) {
        m_todos = std::move(loaded);
        emit todosChanged(Origin::Disk);
    }
    mergeFromDisk();
    m_disk->startWatching();
    connect(m_disk, &GoalsDisk::changed, this, &TodoStore::mergeFromDisk);
}

void TodoStore::mergeFromDisk()
{
    if (!m_disk)
        return;
    const bool write = takeOutsideChange() || m_disk->disappeared();
    const QList<GoalsDisk::ConflictCopy> copies = m_disk->conflictCopies();
    for (const GoalsDisk::ConflictCopy &copy : copies)
        setTodos(GoalsMerge::merge(m_todos, { copy.todos, std::nullopt, {} }, m_history.deletions()), Origin::Disk);
    if (write || !copies.isEmpty())
        m_disk->writeGoals(m_todos);
    // Everything in them is in the goals file now.
    if (m_disk->saveFailure().isEmpty())
        m_disk->settle(copies);
}

void TodoStore::mergeSynced(const QList<TodoItem> &synced, const QList<TodoItem> &sent, const QDateTime &sentAt)
{
    QList<TodoItem> merged = GoalsMerge::merge(m_todos, { synced, sent, sentAt, true }, m_history.deletions());
    if (GoalsMerge::sameGoals(merged, m_todos))
        return;
    setTodos(std::move(merged), Origin::CalendarServer);
    save();
}

bool TodoStore::takeOutsideChange()
{
    std::optional<QList<TodoItem>> merged = m_disk->takeOutsideChange(m_todos);
    if (!merged)
        return false;
    setTodos(std::move(*merged), Origin::Disk);
    return m_disk->differsFrom(m_todos);
}

void TodoStore::setTodos(QList<TodoItem> todos, Origin origin)
{
    if (GoalsMerge::sameGoals(todos, m_todos))
        return;
    m_todos = std::move(todos);
    emit todosChanged(origin);
}

void TodoStore::add(const QString &text)
{
    append(keptGoalText(text), nextOrder());
}

void TodoStore::addLines(const QString &text)
{
    // Each line's goal has the largest order so far, so the next one follows it without a scan of the list;
    // only the largest possible order sends it back to nextOrder() to renumber.
    std::optional<qint64> lastOrder;
    for (const QStringView line : linesOf(text)) {
        if (auto goal = trimmedNonEmpty(line.toString())) {
            const bool follows = lastOrder && *lastOrder < std::numeric_limits<qint64>::max();
            lastOrder = follows ? *lastOrder + 1 : nextOrder();
            append(*goal, *lastOrder);
        }
    }
    save();
}

qint64 TodoStore::nextOrder()
{
    if (const std::optional<qint64> next = GoalPlaces::nextOrder(m_todos))
        return *next;
    // Only a hand-edited file can hold the largest order; renumbering makes room for the next one.
    renumber();
    return m_todos.size();
}

void TodoStore::append(const QString &text, qint64 order)
{
    TodoItem item;
    item.id = QUuid::createUuid();
    item.text = text;
    item.order = order;
    item.createdAt = QDateTime::currentDateTimeUtc();
    item.modifiedAt = item.createdAt;
    m_todos.append(std::move(item));
    emit todosChanged(Origin::ThisPanel);
}

template<typename Change> bool TodoStore::changeGoal(const QUuid &id, Change change)
{
    const std::optional<qsizetype> position = GoalPlaces::positionOf(m_todos, id);
    if (!position || !change(m_todos[*position]))
        return false;
    m_todos[*position].modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged(Origin::ThisPanel);
    save();
    return true;
}

void TodoStore::toggle(const QUuid &id)
{
    changeGoal(id, [](TodoItem &goal) {
        goal.completed = !goal.completed;
        return true;
    });
}

void TodoStore::updateText(const QUuid &id, const QString &text)
{
    changeGoal(id, [&text](TodoItem &goal) {
        goal.text = keptGoalText(text);
        return true;
    });
}

void TodoStore::remove(const QUuid &id)
{
    removeGoals({ id });
}

bool TodoStore::setCompleted(const QUuid &id, bool completed)
{
    return changeGoal(
        id, [completed](TodoItem &goal) { return std::exchange(goal.completed, completed) != completed; });
}

bool TodoStore::setRepeat(const QUuid &id, const GoalRepeat &repeat)
{
    return changeGoal(id, [&repeat](TodoItem &goal) { return std::exchange(goal.repeat, repeat) != repeat; });
}

bool TodoStore::setReminder(const QSet<QUuid> &ids, const GoalReminder &reminder)
{
    bool changed = false;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (TodoItem &item : m_todos) {
        if (!ids.contains(item.id) || item.reminder == reminder)
            continue;
        item.reminder = reminder;
        item.modifiedAt = now;
        changed = true;
    }
    if (!changed)
        return false;
    emit todosChanged(Origin::ThisPanel);
    save();
    return true;
}

void TodoStore::reopenRepeatingGoals(const QDateTime &dayStart)
{
    bool changed = false;
    for (TodoItem &item : m_todos) {
        if (!reopensAt(item, dayStart))
            continue;
        item.completed = false;
        item.modifiedAt = dayStart.toUTC();
        changed = true;
    }
    if (!changed)
        return;
    emit todosChanged(Origin::ThisPanel);
    save();
}

QList<TodoStore::PlacedGoal> TodoStore::removeGoals(const QSet<QUuid> &ids)
{
    QList<PlacedGoal> removed = GoalPlaces::takeOut(m_todos, ids);
    if (!removed.isEmpty())
        m_history.recordDeletions(GoalPlaces::idsOf(removed), QDateTime::currentDateTimeUtc());
    emit todosChanged(Origin::ThisPanel);
    renumber();
    save();
    return removed;
}

void TodoStore::restore(const QList<PlacedGoal> &goals)
{
    // A goal put back is the person's latest change to it, so a merge with an older copy keeps it, and its
    // deletion no longer stands.
    m_history.forgetDeletions(GoalPlaces::putBack(m_todos, goals, QDateTime::currentDateTimeUtc()));
    emit todosChanged(Origin::ThisPanel);
    renumber();
    save();
}

bool TodoStore::moveTo(const QUuid &id, qsizetype position)
{
    const std::optional<qsizetype> from = GoalPlaces::positionOf(m_todos, id);
    if (!from)
        return false;
    // An undo may put a goal back into a list that has become shorter meanwhile.
    const qsizetype to = std::clamp(position, qsizetype(0), m_todos.size() - 1);
    if (*from == to)
        return false;
    // Only the goal moved changes; the others' orders are renumbered but their places among each other stay.
    m_todos[*from].modifiedAt = QDateTime::currentDateTimeUtc();
    m_todos.move(*from, to);
    emit todosChanged(Origin::ThisPanel);
    renumber();
    save();
    return true;
}

bool TodoStore::moveBy(const QUuid &id, int places)
{
    const std::optional<qsizetype> from = GoalPlaces::positionOf(m_todos, id);
    const qsizetype to = from.value_or(-1) + places;
    return from && to >= 0 && to < m_todos.size() && moveTo(id, to);
}

void TodoStore::renumber()
{
    if (GoalPlaces::renumber(m_todos))
        emit todosChanged(Origin::ThisPanel);
}

bool TodoStore::allOnDisk() const
{
    return !m_disk || (m_disk->saveFailure().isEmpty() && !m_disk->disappeared());
}

QString TodoStore::saveFailure() const
{
    return m_disk ? m_disk->saveFailure() : QString();
}

std::optional<QString> TodoStore::keptUnreadableFile() const
{
    return m_disk ? m_disk->keptUnreadableFile() : std::nullopt;
}

QString TodoStore::readNotice() const
{
    return m_disk ? m_disk->readNotice() : QString();
}

void TodoStore::save()
{
    if (!m_disk)
        return;
    // Another program may have written since this panel last looked; its changes are merged, never overwritten.
    takeOutsideChange();
    m_disk->writeGoals(m_todos);
}
