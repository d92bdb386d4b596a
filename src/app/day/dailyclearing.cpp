// SPDX-License-Identifier: GPL-3.0-or-later

#include "dailyclearing.h"

#include "model/panelsettings.h"
#include "model/removegoals.h"
#include "wallclockalarm.h"

namespace
{

constexpr int DayStartHour = 4;
// A clock that skips the hour of the day start skips at most this much of it.
constexpr int GapStepMinutes = 15;
constexpr int GapSteps = 8;

} // namespace

namespace DayStart
{

QDateTime on(QDate date)
{
    QDateTime start(date, QTime(DayStartHour, 0));
    for (int step = 1; !start.isValid() && step <= GapSteps; ++step)
        start = QDateTime(date, QTime(DayStartHour, 0).addSecs(step * GapStepMinutes * 60));
    return start;
}

QDateTime mostRecent(const QDateTime &now)
{
    const QDate today = now.toLocalTime().date();
    const QDateTime start = on(today);
    return start <= now ? start : on(today.addDays(-1));
}

QDateTime next(const QDateTime &now)
{
    const QDate today = now.toLocalTime().date();
    const QDateTime start = on(today);
    return start > now ? start : on(today.addDays(1));
}

} // namespace DayStart

DailyClearing::DailyClearing(PanelSettings *settings, TodoStore *store, UndoHistory *history, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_store(store)
    , m_history(history)
    , m_alarm(new WallClockAlarm(this))
{
    // The alarm also rings after a resume and whenever the clock is set; each time the wall clock decides. A
    // person's next change catches up first too, so that a goal ticked after the day began stays.
    connect(m_alarm, &WallClockAlarm::rang, this, &DailyClearing::catchUp);
    connect(m_history, &UndoHistory::aboutToPerform, this, &DailyClearing::catchUp);
    catchUp();
}

bool DailyClearing::isEnabled() const
{
    return m_settings->clearsDoneGoalsEachDay();
}

void DailyClearing::setEnabled(bool enabled)
{
    m_settings->setClearsDoneGoalsEachDay(enabled);
    if (enabled)
        m_settings->setLastDayStartCleared(DayStart::mostRecent(QDateTime::currentDateTime()));
    catchUp();
}

void DailyClearing::catchUp()
{
    if (!isEnabled()) {
        m_alarm->stop();
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime dayStart = DayStart::mostRecent(now);
    const std::optional<QDateTime> handled = handledDayStart(now);
    // Noted before the step runs: the step's own start asks here again.
    if (!handled || *handled < dayStart)
        m_settings->setLastDayStartCleared(dayStart);
    // Without a day start on record the clearing was not on when the day began; the goals stay. A goal ticked
    // since the day began, while the panel slept through its start, stays too.
    if (handled && *handled < dayStart)
        m_history->perform(
            std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::DoneGoalsOfADay, QUuid(), dayStart));
    waitForNextDayStart(now);
}

void DailyClearing::waitForNextDayStart(const QDateTime &now)
{
    m_alarm->ringAt(DayStart::next(now));
}

std::optional<QDateTime> DailyClearing::handledDayStart(const QDateTime &now) const
{
    const std::optional<QDateTime> handled = m_settings->lastDayStartCleared();
    // One from the future, left by a clock that was wrong, would hold back every clearing until then.
    if (handled && *handled > now)
        return std::nullopt;
    return handled;
}
