#pragma once

#include "todoitem.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>

#include <optional>

// The one owner of the day's goal list. Every changing operation writes the whole goals file before it
// returns (add leaves that to its caller) and then tells observers through todosChanged().
class TodoStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TodoStore)

public:
    // Loads the goals file at the default location.
    explicit TodoStore(QObject *parent = nullptr);
    // Without a location the store lives in memory only: nothing is read and nothing is ever written.
    explicit TodoStore(std::optional<QString> fileURL, QObject *parent = nullptr);

    const QList<TodoItem> &todos() const { return m_todos; }
    const std::optional<QString> &fileURL() const { return m_fileURL; }

    void add(const QString &text);
    void addLines(const QString &text);
    void toggle(const QUuid &id);
    void updateText(const QUuid &id, const QString &text);
    // Removes every goal with that id; named remove because delete is a C++ keyword.
    void remove(const QUuid &id);
    void move(const QSet<int> &sourceOffsets, int destination);
    void save();

    // A goal at its place in the list, as taken out and as put back.
    struct PlacedGoal {
        qsizetype position = 0;
        TodoItem goal;
    };
    // Sets `completed` of the first goal with that id and saves; false, without a save, when it already was so
    // or no goal has that id.
    bool setCompleted(const QUuid &id, bool completed);
    // Removes every goal with one of the ids, renumbers and saves; gives what it took, at their places.
    QList<PlacedGoal> removeGoals(const QSet<QUuid> &ids);
    // Puts goals back at their places (or at the end, should the list have become shorter), renumbers and
    // saves. A goal whose id is in the list again by now is left out.
    void restore(const QList<PlacedGoal> &goals);
    // Moves the first goal of each id to its position, lowest position first, then renumbers and saves.
    void place(const QList<std::pair<QUuid, qsizetype>> &positions);

    // Why the goals in memory are not all on disk: the reason the last save failed, or empty once one succeeded.
    const QString &saveFailure() const { return m_saveFailure; }

    // Where a goals file that could not be read was kept before the first save replaced it.
    const std::optional<QString> &keptUnreadableFile() const { return m_keptUnreadableFile; }

signals:
    void todosChanged();
    // A save failed where the last one succeeded, failed for another reason, or succeeded again (empty).
    void saveFailureChanged(const QString &failure);

private:
    void load();
    // One past the largest order in the list, renumbering first when no order can follow the largest.
    qint64 nextOrder();
    void append(const QString &text, qint64 order);
    void renumber();
    bool keepUnreadableFileAside();
    void setSaveFailure(const QString &failure);

    QList<TodoItem> m_todos;
    std::optional<QString> m_fileURL;
    // Set when the file existed but could not be read or decoded: it is moved aside, not overwritten.
    bool m_fileIsUnreadable = false;
    std::optional<QString> m_keptUnreadableFile;
    QString m_saveFailure;
    // Kept between saves so that each save reuses the memory of the last.
    QByteArray m_saveBuffer;
};
