// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>

class TodoStore;
class UndoHistory;
class WallClockAlarm;

// Goals that repeat come back when each of their days begins, at the day start the daily clearing keeps: the
// done ones due that day stand open again, and the day tells the panel which goals it shows. It looks at the
// wall clock at start, at each day start, after a resume, when the clock is set and before the person's next
// change, so that a day slept through is caught up before anything else happens.
class RepeatingGoals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RepeatingGoals)

public:
    RepeatingGoals(TodoStore *store, UndoHistory *history, QObject *parent = nullptr);

    // The day of goals now running: a night's hours before the day start still belong to the day before.
    QDate today() const { return m_today; }

signals:
    void dayBegan(QDate day);

private:
    void catchUp();

    TodoStore *m_store = nullptr;
    WallClockAlarm *m_alarm = nullptr;
    QDate m_today;
};
