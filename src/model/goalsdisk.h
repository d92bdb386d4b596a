// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "diskfile.h"
#include "todoitem.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>

#include <optional>

class GoalsFileWatcher;
class GoalsHistory;

// The goals file as the store keeps it: the first read (the last good version of an earlier day standing in
// for a file that is not goals at all), what other programs and sync tools' conflict copies bring in, a file
// that cannot be read kept aside before anything replaces it, and the saves and why one failed.
class GoalsDisk final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalsDisk)

public:
    // A conflict copy beside the goals file, read whole; `repaired` when reading it dropped or mended a part.
    struct ConflictCopy {
        QString path;
        QList<TodoItem> todos;
        bool repaired = false;
    };

    // `history` keeps the daily versions and the deletions that merges respect; it outlives this object.
    GoalsDisk(QString path, GoalsHistory *history, QObject *parent = nullptr);

    // The goals of the file in list order, or of the last good version when the file is not goals at all;
    // such a file is kept aside at once.
    QList<TodoItem> readGoals();
    // Reports changed() from now on.
    void startWatching();

    // What another program wrote since the panel last read or wrote the file, merged with `todos`; nothing
    // while the file is gone, unchanged, or does not read whole.
    std::optional<QList<TodoItem>> takeOutsideChange(const QList<TodoItem> &todos);
    // Whether the file last taken in differs from `todos`, so that it should be written.
    bool differsFrom(const QList<TodoItem> &todos);
    // The panel read or wrote the goals file, and now it is gone: deleted with its folder, say. Gone is never
    // "every goal deleted" (that is an empty list); the panel writes what it holds again.
    bool disappeared() const;
    // The conflict copies beside the goals file that read whole, in list order.
    QList<ConflictCopy> conflictCopies() const;
    // Once their goals are on disk: each copy removed, or kept aside where reading it lost a part.
    void settle(const QList<ConflictCopy> &copies);

    void writeGoals(const QList<TodoItem> &todos);

    const QString &saveFailure() const { return m_saveFailure; }
    const std::optional<QString> &keptUnreadableFile() const { return m_keptUnreadableFile; }
    const QString &readNotice() const { return m_readNotice; }

signals:
    // The goals file or its folder changed.
    void changed();
    void saveFailureChanged(const QString &failure);
    void readNoticeChanged(const QString &notice);

private:
    bool keepUnreadableFileAside();
    void setSaveFailure(const QString &failure);

    QString m_path;
    GoalsHistory *m_history = nullptr;
    GoalsFileWatcher *m_watcher = nullptr;
    // Set when the file existed but could not be read or decoded: it is moved aside, not overwritten.
    bool m_fileIsUnreadable = false;
    std::optional<QString> m_keptUnreadableFile;
    // The day of the kept version that was opened because the goals file was not goals at all.
    std::optional<QDate> m_restoredDay;
    QString m_readNotice;
    QString m_saveFailure;
    // The version of the goals file the panel last read or wrote, the goals in it, and the bytes last taken in.
    DiskFile::Signature m_lastSeen;
    QList<TodoItem> m_base;
    QByteArray m_takenBytes;
    // Kept between saves so that each save reuses the memory of the last.
    QByteArray m_saveBuffer;
};
