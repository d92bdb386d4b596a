// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/synctiming.h"

#include <QTest>

using namespace std::chrono_literals;

class SyncTimingTest final : public QObject
{
    Q_OBJECT

private slots:
    void changesGoUpSoonAndFailuresWaitLongerEachTime()
    {
        SyncTiming timing;
        timing.started();
        timing.synced(10s, true);
        QCOMPARE(timing.dueAt(), 10s + SyncTiming::Idle);
        // A look at the panel right after a sync asks nothing; half a minute later it pulls.
        timing.noticed(20s);
        QCOMPARE(timing.dueAt(), 10s + SyncTiming::Idle);
        timing.noticed(41s);
        QCOMPARE(timing.dueAt(), 41s);

        timing.started();
        timing.synced(50s, false);
        timing.changedHere(51s);
        QCOMPARE(timing.dueAt(), 50s + SyncTiming::FirstRetry);
        timing.started();
        timing.synced(65s, false);
        QCOMPARE(timing.dueAt(), 65s + 2 * SyncTiming::FirstRetry);
        // However many failures, a try at least every five minutes; "Sync Now" at once.
        for (int i = 0; i < 8; ++i)
            timing.synced(100s, false);
        QCOMPARE(timing.dueAt(), 100s + SyncTiming::Idle);
        timing.wanted(101s);
        QCOMPARE(timing.dueAt(), 101s);
    }

    void aChangeMadeDuringASyncGoesUpAfterIt()
    {
        SyncTiming timing;
        timing.started();
        timing.changedHere(5s);
        timing.synced(6s, true);
        QCOMPARE(timing.dueAt(), 6s + SyncTiming::ChangeBatch);
        timing.started();
        timing.synced(8s, true);
        QCOMPARE(timing.dueAt(), 8s + SyncTiming::Idle);
    }
};

QTEST_APPLESS_MAIN(SyncTimingTest)
#include "synctiming_test.moc"
