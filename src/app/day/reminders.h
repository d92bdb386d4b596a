// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QDateTime>
#include <QList>
#include <QObject>

class PanelSettings;
class TodoStore;
class WallClockAlarm;

// Rings the goals' reminders on the wall clock: at their moments while the panel runs, as soon as it wakes from
// a suspend or the clock is set past them, and once at start for those that passed while no panel ran. Only open
// goals ring, so a goal ticked before its moment stays quiet. How far the rings have gone is kept in the
// preferences, so a restart rings nothing twice; one alarm waits for the next ring, and none while no goal has one.
class Reminders final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Reminders)

public:
    Reminders(TodoStore *store, PanelSettings *settings, QObject *parent = nullptr);

    // Catches up with the rings that passed since the last run; before this, nothing rings.
    void start();

signals:
    // Open goals whose reminder rang, in list order.
    void rang(const QList<TodoItem> &goals);
    // The same at start, for the rings that passed while no panel ran.
    void missed(const QList<TodoItem> &goals);

private:
    QList<TodoItem> takeDueGoals(const QDateTime &now);
    void ringDue();
    void waitForNextRing();

    TodoStore *m_store = nullptr;
    PanelSettings *m_settings = nullptr;
    // Made with the first reminder.
    WallClockAlarm *m_alarm = nullptr;
    // Every ring up to this moment has rung; invalid before the first run with a reminder.
    QDateTime m_rungUntil;
    bool m_isStarted = false;
};
