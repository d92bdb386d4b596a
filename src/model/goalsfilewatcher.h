// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Tells when the goals file or its folder changed, a moment after the last of a burst of changes. The folder
// is watched as well as the file: a program that writes a new file and renames it over the old one replaces
// the file the watch was on. Nothing runs between changes.
class GoalsFileWatcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalsFileWatcher)

public:
    explicit GoalsFileWatcher(const QString &goalsFile, QObject *parent = nullptr);

    // Watches the file and the folder again where they (re)appeared, e.g. after the folder was created.
    void rewatch();

signals:
    void changed();

private:
    QString m_goalsFile;
    QString m_folder;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_settle = nullptr;
    quint64 m_watchedDevice = 0;
    quint64 m_watchedInode = 0;
};
