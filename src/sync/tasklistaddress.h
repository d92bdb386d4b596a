// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "davmultistatus.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>
#include <utility>

// Where a task list and its tasks live: the list's address as a folder, and its members' full addresses, which
// the state keeps the tasks by.
class TaskListAddress final
{
public:
    explicit TaskListAddress(QUrl list);

    const QUrl &url() const { return m_url; }
    // The full address of a member the server named; nothing for the list itself and for an address elsewhere.
    std::optional<QString> member(const QString &href) const;
    // Where the task of a goal the server never held is written.
    QString newTask(const QUuid &goal) const;
    // The members a listing tells of, at their full addresses, collections left out.
    QList<std::pair<QString, DavMultiStatus::Response>> tasksIn(const DavMultiStatus::MultiStatus &listing) const;

private:
    QUrl m_url;
};
