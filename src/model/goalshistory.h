// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "goalsfile.h"
#include "goalsmerge.h"

#include <QDate>
#include <QString>

#include <optional>

// What the store keeps in the user's state folder beside the goals: when goals were recently deleted, so that
// a merge does not bring them back from another program's older copy, and good versions of the goals file (the
// one last saved, and the last of each of the past days), to open when the goals file cannot be read at all.
// Without a folder the deletions live in memory only and no versions are kept.
class GoalsHistory final
{
public:
    explicit GoalsHistory(QString folder = {});

    // $XDG_STATE_HOME/Mirel, or ~/.local/state/Mirel.
    static QString defaultFolder();

    const GoalsMerge::Deletions &deletions() const { return m_deletions; }
    // Remembers the deletions and forgets those older than a few weeks; the folder's copy is rewritten.
    void recordDeletions(const QList<QUuid> &ids, const QDateTime &when);
    // The goals are back (a deletion undone): an older copy of them may bring them in again.
    void forgetDeletions(const QList<QUuid> &ids);

    // Before the first save of a day: keeps the goals file as it stands, the last version of the day it was
    // written on, and drops the versions beyond the past week's.
    void keepDailyVersion(const QString &goalsFile);

    // After each save: the goals file as it was written, so that a loss of the file never goes back further
    // than the last save.
    void keepSavedVersion(const QByteArray &goalsFile) const;

    struct Version {
        QDate day;
        GoalsFile::ReadFile goals;
    };
    // The newest kept version that reads as a goals file: the one last saved, else the newest day's.
    std::optional<Version> latestGoodVersion() const;

private:
    QString deletionsFile() const;
    void loadDeletions();
    void writeDeletions() const;

    QString m_folder;
    GoalsMerge::Deletions m_deletions;
    QDate m_dayKept;
};
