// SPDX-License-Identifier: GPL-3.0-or-later

#include "todostore.h"

#include "goalsdisk.h"
#include "goalsfile.h"
#include "goalsmerge.h"

#include <algorithm>
#include <limits>

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
        emit todosChanged();
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
        setTodos(GoalsMerge::merge(m_todos, { copy.todos, std::nullopt, {} }, m_history.deletions()));
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
    setTodos(std::move(merged));
    save();
}

bool TodoStore::takeOutsideChange()
{
    std::optional<QList<TodoItem>> merged = m_disk->takeOutsideChange(m_todos);
    if (!merged)
        return false;
    setTodos(std::move(*merged));
    return m_disk->differsFrom(m_todos);
}

void TodoStore::setTodos(QList<TodoItem> todos)
{
    if (GoalsMerge::sameGoals(todos, m_todos))
        return;
    m_todos = std::move(todos);
    emit todosChanged();
}

void TodoStore::add(const QString &text)
{
    append(printableText(text), nextOrder());
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
    // An empty list starts at 0; otherwise one past the largest order, however negative the orders are.
    qint64 largest = m_todos.isEmpty() ? -1 : std::numeric_limits<qint64>::min();
    for (const TodoItem &item : std::as_const(m_todos))
        largest = std::max(largest, item.order);
    // Only a hand-edited file can hold the largest order; renumbering makes room for the next one.
    if (largest == std::numeric_limits<qint64>::max()) {
        renumber();
        largest = m_todos.size() - 1;
    }
    return largest + 1;
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
    emit todosChanged();
}

void TodoStore::toggle(const QUuid &id)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return;
    it->completed = !it->completed;
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
}

void TodoStore::updateText(const QUuid &id, const QString &text)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return;
    it->text = printableText(text);
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
}

void TodoStore::remove(const QUuid &id)
{
    removeGoals({ id });
}

bool TodoStore::setCompleted(const QUuid &id, bool completed)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end() || it->completed == completed)
        return false;
    it->completed = completed;
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
    return true;
}

bool TodoStore::setRepeat(const QUuid &id, const GoalRepeat &repeat)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end() || it->repeat == repeat)
        return false;
    it->repeat = repeat;
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
    return true;
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
    emit todosChanged();
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
    emit todosChanged();
    save();
}

QList<TodoStore::PlacedGoal> TodoStore::removeGoals(const QSet<QUuid> &ids)
{
    QList<PlacedGoal> removed;
    QList<TodoItem> kept;
    kept.reserve(m_todos.size());
    for (qsizetype i = 0; i < m_todos.size(); ++i) {
        if (ids.contains(m_todos.at(i).id))
            removed.append({ i, std::move(m_todos[i]) });
        else
            kept.append(std::move(m_todos[i]));
    }
    m_todos = std::move(kept);
    if (!removed.isEmpty()) {
        QList<QUuid> removedIds;
        for (const PlacedGoal &placed : std::as_const(removed))
            removedIds.append(placed.goal.id);
        m_history.recordDeletions(removedIds, QDateTime::currentDateTimeUtc());
    }
    emit todosChanged();
    renumber();
    save();
    return removed;
}

void TodoStore::restore(const QList<PlacedGoal> &goals)
{
    QSet<QUuid> present;
    for (const TodoItem &item : std::as_const(m_todos))
        present.insert(item.id);
    QList<PlacedGoal> sorted = goals;
    std::stable_sort(
        sorted.begin(), sorted.end(), [](const PlacedGoal &a, const PlacedGoal &b) { return a.position < b.position; });
    // A goal put back is the person's latest change to it, so a merge with an older copy keeps it, and its
    // deletion no longer stands.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QUuid> restored;
    for (PlacedGoal &placed : sorted) {
        if (present.contains(placed.goal.id))
            continue;
        placed.goal.modifiedAt = now;
        restored.append(placed.goal.id);
        m_todos.insert(std::clamp(placed.position, qsizetype(0), m_todos.size()), std::move(placed.goal));
    }
    m_history.forgetDeletions(restored);
    emit todosChanged();
    renumber();
    save();
}

bool TodoStore::moveTo(const QUuid &id, qsizetype position)
{
    const auto it = std::find_if(m_todos.begin(), m_todos.end(), [&id](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return false;
    const qsizetype from = it - m_todos.begin();
    // An undo may put a goal back into a list that has become shorter meanwhile.
    const qsizetype to = std::clamp(position, qsizetype(0), m_todos.size() - 1);
    if (from == to)
        return false;
    // Only the goal moved changes; the others' orders are renumbered but their places among each other stay.
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    m_todos.move(from, to);
    emit todosChanged();
    renumber();
    save();
    return true;
}

bool TodoStore::moveBy(const QUuid &id, int places)
{
    const auto it
        = std::find_if(m_todos.cbegin(), m_todos.cend(), [&id](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.cend())
        return false;
    const qsizetype to = (it - m_todos.cbegin()) + places;
    return to >= 0 && to < m_todos.size() && moveTo(id, to);
}

void TodoStore::renumber()
{
    bool changed = false;
    for (qsizetype i = 0; i < m_todos.size(); ++i) {
        if (m_todos[i].order != i) {
            m_todos[i].order = i;
            changed = true;
        }
    }
    if (changed)
        emit todosChanged();
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
