// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QObject>

#include <optional>

class PanelSettings;
class TodoStore;
class UndoHistory;
class WallClockAlarm;

// A day of goals begins at 04:00 local time, so that a late evening's ticks stay until the morning.
namespace DayStart
{

// 04:00 on that date, or the first local time after it on a day whose clock skips it.
QDateTime on(QDate date);
// The latest day start at or before `now`, and the first one after it.
QDateTime mostRecent(const QDateTime &now);
QDateTime next(const QDateTime &now);

} // namespace DayStart

// "Clear Done Goals Each Day": while it is on, the goals that are done when a day begins are removed, in one
// step of the undo history. The day start last handled is kept in the preferences, so that a start on a new
// day clears what the last day left and a restart on the same day clears nothing.
class DailyClearing final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DailyClearing)

public:
    // Catches up at once with a day that began while no panel ran.
    DailyClearing(PanelSettings *settings, TodoStore *store, UndoHistory *history, QObject *parent = nullptr);

    // Off until the person turns it on; anything but a stored true reads as off.
    bool isEnabled() const;
    // Turning it on clears nothing: the goals done so far today stay until the next day begins.
    void setEnabled(bool enabled);

private:
    // Clears the done goals when a day began since the one last handled, then waits for the next day start.
    void catchUp();
    void waitForNextDayStart(const QDateTime &now);
    std::optional<QDateTime> handledDayStart(const QDateTime &now) const;

    PanelSettings *m_settings = nullptr;
    TodoStore *m_store = nullptr;
    UndoHistory *m_history = nullptr;
    WallClockAlarm *m_alarm = nullptr;
};
