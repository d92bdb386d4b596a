// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QObject>

class QSocketNotifier;

// Rings at a moment of the wall clock, where a QTimer counts elapsed time: a machine that slept through the
// moment rings as soon as it wakes, and a clock set forward or back rings at once, so that its owner looks at
// the clock again and sets the next moment. Nothing runs while it waits.
class WallClockAlarm final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WallClockAlarm)

public:
    explicit WallClockAlarm(QObject *parent = nullptr);
    ~WallClockAlarm() override;

    // A moment already past rings at once. Replaces the moment set before.
    void ringAt(const QDateTime &moment);
    void stop();

signals:
    void rang();

private:
    void takeExpiry();

    int m_timer = -1;
    QSocketNotifier *m_notifier = nullptr;
};
