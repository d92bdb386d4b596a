// SPDX-License-Identifier: GPL-3.0-or-later

#include "repeatinggoals.h"

#include "dailyclearing.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "wallclockalarm.h"

RepeatingGoals::RepeatingGoals(TodoStore *store, UndoHistory *history, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_alarm(new WallClockAlarm(this))
{
    connect(m_alarm, &WallClockAlarm::rang, this, &RepeatingGoals::catchUp);
    connect(history, &UndoHistory::aboutToPerform, this, &RepeatingGoals::catchUp);
    catchUp();
}

void RepeatingGoals::catchUp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime dayStart = DayStart::mostRecent(now);
    // Each time, not only when the date moves on: a goal another program marked done yesterday may have come in.
    m_store->reopenRepeatingGoals(dayStart);
    m_alarm->ringAt(DayStart::next(now));
    const QDate today = dayStart.date();
    if (today != m_today) {
        m_today = today;
        emit dayBegan(today);
    }
}
