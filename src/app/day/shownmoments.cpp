// SPDX-License-Identifier: GPL-3.0-or-later

#include "shownmoments.h"

#include "model/todostore.h"
#include "wallclockalarm.h"

#include <QDateTime>

#include <algorithm>

ShownMoments::ShownMoments(TodoStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    connect(m_store, &TodoStore::todosChanged, this, &ShownMoments::waitForNextChange);
    waitForNextChange();
}

void ShownMoments::waitForNextChange()
{
    const QList<TodoItem> &todos = m_store->todos();
    if (std::none_of(todos.cbegin(), todos.cend(),
            [](const TodoItem &todo) { return todo.reminder.isSet() || todo.due.isSet(); })) {
        if (m_alarm)
            m_alarm->stop();
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime next = now.date().addDays(1).startOfDay();
    for (const TodoItem &todo : todos) {
        const QDateTime due = todo.due.moment();
        if (!todo.completed && due.isValid() && due > now)
            next = std::min(next, due);
    }
    if (!m_alarm) {
        m_alarm = new WallClockAlarm(this);
        // It also rings after a resume and whenever the clock is set, when the day may have changed too.
        connect(m_alarm, &WallClockAlarm::rang, this, [this] {
            emit changed();
            waitForNextChange();
        });
    }
    m_alarm->ringAt(next);
}
