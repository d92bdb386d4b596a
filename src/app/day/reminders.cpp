// SPDX-License-Identifier: GPL-3.0-or-later

#include "reminders.h"

#include "model/panelsettings.h"
#include "model/todostore.h"
#include "wallclockalarm.h"

#include <algorithm>
#include <utility>

Reminders::Reminders(TodoStore *store, PanelSettings *settings, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_settings(settings)
    , m_rungUntil(settings->remindersRungUntil().value_or(QDateTime()))
{
    // A reminder set, put off, ticked or taken from elsewhere moves the next ring; one already past rings at once.
    connect(m_store, &TodoStore::todosChanged, this, &Reminders::waitForNextRing);
}

void Reminders::start()
{
    if (std::exchange(m_isStarted, true))
        return;
    const QList<TodoItem> missed = takeDueGoals(QDateTime::currentDateTimeUtc());
    if (!missed.isEmpty())
        emit this->missed(missed);
    waitForNextRing();
}

QList<TodoItem> Reminders::takeDueGoals(const QDateTime &now)
{
    const QList<TodoItem> &todos = m_store->todos();
    if (std::none_of(todos.cbegin(), todos.cend(), [](const TodoItem &todo) { return todo.reminder.isSet(); })) {
        m_rungUntil = now;
        return {};
    }
    QList<TodoItem> due;
    // A clock set back leaves the rings after it to come again.
    if (m_rungUntil.isValid() && m_rungUntil > now) {
        m_rungUntil = now;
    } else {
        for (const TodoItem &todo : todos) {
            if (!todo.completed && todo.reminder.latestRingIn(todo.repeat, m_rungUntil, now))
                due.append(todo);
        }
        m_rungUntil = now;
    }
    m_settings->setRemindersRungUntil(now);
    return due;
}

void Reminders::ringDue()
{
    const QList<TodoItem> due = takeDueGoals(QDateTime::currentDateTimeUtc());
    if (!due.isEmpty())
        emit rang(due);
    waitForNextRing();
}

void Reminders::waitForNextRing()
{
    if (!m_isStarted)
        return;
    std::optional<QDateTime> next;
    const QDateTime after = m_rungUntil.isValid() ? m_rungUntil : QDateTime::currentDateTimeUtc();
    for (const TodoItem &todo : m_store->todos()) {
        if (todo.completed)
            continue;
        if (const std::optional<QDateTime> ring = todo.reminder.nextRingAfter(todo.repeat, after))
            next = std::min(next.value_or(*ring), *ring);
    }
    if (!next) {
        if (m_alarm)
            m_alarm->stop();
        return;
    }
    if (!m_alarm) {
        m_alarm = new WallClockAlarm(this);
        // It also rings after a resume and whenever the clock is set; the wall clock then decides what is due.
        connect(m_alarm, &WallClockAlarm::rang, this, &Reminders::ringDue);
    }
    m_alarm->ringAt(*next);
}
