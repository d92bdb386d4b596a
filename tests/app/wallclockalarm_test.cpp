// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/wallclockalarm.h"

#include <QSignalSpy>
#include <QTest>

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

    const QDateTime moment = QDateTime::currentDateTimeUtc().addMSecs(200);
    alarm.ringAt(moment);
    QVERIFY(rang.wait(5000));
    QVERIFY(QDateTime::currentDateTimeUtc() >= moment);

    alarm.ringAt(QDateTime::currentDateTimeUtc().addSecs(-60));
    QVERIFY(rang.wait(1000));

    alarm.ringAt(QDateTime::currentDateTimeUtc().addMSecs(100));
    alarm.stop();
    QVERIFY(!rang.wait(400));
}

QTEST_GUILESS_MAIN(WallClockAlarmTest)

#include "wallclockalarm_test.moc"
