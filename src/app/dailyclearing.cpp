#include "dailyclearing.h"

#include "model/goalsteps.h"
#include "wallclockalarm.h"

#include <QSettings>

namespace
{

constexpr QLatin1StringView EnabledKey("clearDoneGoalsEachDay");
constexpr QLatin1StringView HandledKey("lastDayStartCleared");
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

DailyClearing::DailyClearing(QSettings *defaults, TodoStore *store, UndoHistory *history, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
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
    const QVariant stored = m_defaults->value(EnabledKey);
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    // The preferences file keeps it as text; QVariant would read any other text but "false" as on.
    return stored.typeId() == QMetaType::QString && stored.toString() == QLatin1StringView("true");
}

void DailyClearing::setEnabled(bool enabled)
{
    m_defaults->setValue(EnabledKey, enabled);
    if (enabled)
        setHandledDayStart(DayStart::mostRecent(QDateTime::currentDateTime()));
    else
        m_defaults->sync();
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
        setHandledDayStart(dayStart);
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
    // Written in UTC with its Z; Qt would read a time without a zone as local time.
    const QString stored = m_defaults->value(HandledKey).toString();
    if (!stored.endsWith(u'Z'))
        return std::nullopt;
    const QDateTime handled = QDateTime::fromString(stored, Qt::ISODate);
    // One from the future, left by a clock that was wrong, would hold back every clearing until then.
    if (!handled.isValid() || handled > now)
        return std::nullopt;
    return handled;
}

void DailyClearing::setHandledDayStart(const QDateTime &dayStart)
{
    m_defaults->setValue(HandledKey, dayStart.toUTC().toString(Qt::ISODate));
    m_defaults->sync();
}
