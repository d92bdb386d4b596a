// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "goalplaces.h"
#include "goalshistory.h"
#include "todoitem.h"

#include <QList>
#include <QObject>
#include <QSet>

#include <optional>

class GoalsDisk;

// The one owner of the day's goal list. Every changing operation writes the whole goals file before it
// returns (add leaves that to its caller) and then tells observers, and whence, through todosChanged(). What
// other programs write to the file, and sync tools' conflict copies beside it, are merged in as they appear.
class TodoStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TodoStore)

public:
    // Whence a change: this panel's operations, the goals file (read at start, or changed by others), the sync.
    enum class Origin { ThisPanel, Disk, CalendarServer };

    // Loads the goals file at the default location.
    explicit TodoStore(QObject *parent = nullptr);
    // Without a location the store lives in memory only: nothing is read and nothing is ever written. With
    // one but no state folder, recent deletions are remembered for the run and no daily versions are kept.
    explicit TodoStore(std::optional<QString> fileURL, QObject *parent = nullptr);
    TodoStore(const QString &fileURL, const QString &stateFolder, QObject *parent = nullptr);

    const QList<TodoItem> &todos() const { return m_todos; }
    const std::optional<QString> &fileURL() const { return m_fileURL; }

    void add(const QString &text);
    void addLines(const QString &text);
    void toggle(const QUuid &id);
    void updateText(const QUuid &id, const QString &text);
    // Removes every goal with that id; named remove because delete is a C++ keyword.
    void remove(const QUuid &id);
    void save();

    using PlacedGoal = GoalPlaces::PlacedGoal;
    // Set `completed`, or how it repeats, of the first goal with that id and save; false, without a save, when it
    // already was so or no goal has that id.
    bool setCompleted(const QUuid &id, bool completed);
    bool setRepeat(const QUuid &id, const GoalRepeat &repeat);
    // Sets the reminder of every goal with one of the ids and saves once; false, without a save, when none changed.
    bool setReminder(const QSet<QUuid> &ids, const GoalReminder &reminder);
    // Opens every done goal that comes back on the day beginning at `dayStart` and saves once; nothing happens
    // when none does. The change is stamped with the day start itself: two computers opening the same goal
    // agree, and a tick of that day made anywhere is later and wins a merge.
    void reopenRepeatingGoals(const QDateTime &dayStart);
    // Removes every goal with one of the ids, renumbers and saves; gives what it took, at their places.
    QList<PlacedGoal> removeGoals(const QSet<QUuid> &ids);
    // Puts goals back at their places (or at the end, should the list have become shorter), renumbers and
    // saves. A goal whose id is in the list again by now is left out.
    void restore(const QList<PlacedGoal> &goals);
    // Moves the first goal with that id to a place in the list (the nearest one, should the list be shorter),
    // renumbers and saves; false, without a save, when no goal has that id or it is there already.
    bool moveTo(const QUuid &id, qsizetype position);
    // As moveTo, that many places down (up when negative); false, without a save, past either end of the list.
    bool moveBy(const QUuid &id, int places);

    // The one way changes from outside come in: another program's version of the goals file and any conflict
    // copies are merged with the list (todosChanged once when it changed) and the result written back where
    // it differs, or where the file is gone. None of it is the person's own operation.
    void mergeFromDisk();

    // A sync service's version of the goals, worked out from `sent`, the list as it was handed to it at `sentAt`:
    // merged by the same rules, so that what the panel changed meanwhile stays, and saved where it changed the list.
    void mergeSynced(const QList<TodoItem> &synced, const QList<TodoItem> &sent, const QDateTime &sentAt);
    // When goals were deleted here lately, so that a sync does not bring them back from an older copy.
    const GoalsMerge::Deletions &recentDeletions() const { return m_history.deletions(); }

    // Whether the goals file holds the list: the last save succeeded and the file is still there.
    bool allOnDisk() const;
    // Why the goals in memory are not all on disk: the reason the last save failed, or empty once one succeeded.
    QString saveFailure() const;
    // Where a goals file that could not be read was kept before the first save replaced it.
    std::optional<QString> keptUnreadableFile() const;
    // Says that a goals file could not be read whole and where it was kept; empty while none was.
    QString readNotice() const;

signals:
    void todosChanged(TodoStore::Origin origin);
    // A save failed where the last one succeeded, failed for another reason, or succeeded again (empty).
    void saveFailureChanged(const QString &failure);
    void readNoticeChanged(const QString &notice);

private:
    void open();
    // Merges what another program wrote since the panel last read or wrote the file; true when the file then
    // differs from the list, so that it should be written.
    bool takeOutsideChange();
    void setTodos(QList<TodoItem> todos, Origin origin);
    // One past the largest order in the list, renumbering first when no order can follow the largest.
    qint64 nextOrder();
    void append(const QString &text, qint64 order);
    void renumber();
    // Lets `change` change the first goal with that id, true where it did; a change is stamped, told and saved.
    template<typename Change> bool changeGoal(const QUuid &id, Change change);

    QList<TodoItem> m_todos;
    std::optional<QString> m_fileURL;
    GoalsHistory m_history;
    // Null while the store lives in memory only.
    GoalsDisk *m_disk = nullptr;
};
