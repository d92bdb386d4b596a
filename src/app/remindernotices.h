// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QCoreApplication>
#include <QObject>

#include <functional>

class TodoStore;
class UndoHistory;

// The reminders that rang, as desktop notifications: the goal's text under the panel's title, with "Mark as
// Done" and "In 10 Minutes", each a step of the undo history; those missed while no panel ran as one message.
// Where no notification service takes them, the rows' accent colour is the only sign, which the log says once.
class ReminderNotices final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderNotices)

public:
    ReminderNotices(
        TodoStore *store, UndoHistory *history, std::function<QString()> panelTitle, QObject *parent = nullptr);

    void showRung(const QList<TodoItem> &goals);
    void showMissed(const QList<TodoItem> &goals);

private:
    void show(const QString &summary, const QString &body, const QStringList &actions, const QUuid &id);
    void takeAction(const QUuid &id, const QString &key);

    TodoStore *m_store = nullptr;
    UndoHistory *m_history = nullptr;
    std::function<QString()> m_panelTitle;
    bool m_hasToldOfNoService = false;
};
