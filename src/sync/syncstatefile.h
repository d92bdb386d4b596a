// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "syncstate.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <optional>

// What the last sync of a task list left, kept in the state folder: the server's tasks as last seen (from which
// the changes still waiting follow, so they survive a restart or a crash), when it last went through, why
// the last one did not, and what the person should know although it goes through.
struct StoredSync final {
    QUrl taskList;
    SyncState state;
    QDateTime lastSync;
    QString failure;
    QString notice;
};

namespace SyncStateFile
{

// In the state folder, beside the goals' other history.
QString path();
// What was kept for that list; an empty one for another list, or when nothing readable was kept.
StoredSync read(const QUrl &taskList);
// Nothing on success, else the reason.
std::optional<QString> write(const StoredSync &stored);
void remove();

} // namespace SyncStateFile
