// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/day/wallclockalarm.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

namespace
{

// How far the wall clock may drift from the monotonic clock within a wait without having been set: the
// slewing a time daemon does stays far below this.
constexpr qint64 ClockStepMs = 20;

// Tells whether the wall clock was set while it ran: then the alarm rightly rings at once.
class ClockSetWatch
{
public:
    ClockSetWatch() { m_elapsed.start(); }

    bool clockWasSet() const
    {
        const qint64 wall = m_start.msecsTo(QDateTime::currentDateTimeUtc());
        return std::abs(wall - m_elapsed.elapsed()) > ClockStepMs;
    }

private:
    QDateTime m_start = QDateTime::currentDateTimeUtc();
    QElapsedTimer m_elapsed;
};

} // namespace

class WallClockAlarmTest final : public QObject
{
    Q_OBJECT

private slots:
    void ringsAtItsMomentAtOnceWhenPastAndNotOnceStopped();
};

void WallClockAlarmTest::ringsAtItsMomentAtOnceWhenPastAndNotOnceStopped()
{
    WallClockAlarm alarm;
    QSignalSpy rang(&alarm, &WallClockAlarm::rang);

    // A ring before the moment is a fault unless the system clock was set meanwhile (a time daemon's step),
    // which rings the alarm by design; that try is then made again.
    for (int attempt = 1;; ++attempt) {
        const ClockSetWatch watch;
        const QDateTime moment = QDateTime::currentDateTimeUtc().addMSecs(200);
        alarm.ringAt(moment);
        QVERIFY(rang.wait(5000));
        if (QDateTime::currentDateTimeUtc() >= moment)
            break;
        QVERIFY2(watch.clockWasSet() && attempt < 3, "rang before its moment while the clock was not set");
        qInfo("the system clock was set during the wait; trying again");
        rang.clear();
    }

    alarm.ringAt(QDateTime::currentDateTimeUtc().addSecs(-60));
    QVERIFY(rang.wait(1000));

    // A stopped alarm is disarmed, so not even a set clock rings it.
    alarm.ringAt(QDateTime::currentDateTimeUtc().addMSecs(100));
    alarm.stop();
    QVERIFY(!rang.wait(400));
}

QTEST_GUILESS_MAIN(WallClockAlarmTest)

#include "wallclockalarm_test.moc"
