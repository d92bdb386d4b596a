// SPDX-License-Identifier: GPL-3.0-or-later

#include "wallclockalarm.h"

#include "app/logging.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

WallClockAlarm::WallClockAlarm(QObject *parent)
    : QObject(parent)
    , m_timer(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_timer < 0) {
        qCWarning(lcMirel, "no wall-clock timer: %s", std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(m_timer, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WallClockAlarm::takeExpiry);
}

WallClockAlarm::~WallClockAlarm()
{
    if (m_timer >= 0)
        ::close(m_timer);
}

void WallClockAlarm::ringAt(const QDateTime &moment)
{
    if (m_timer < 0)
        return;
    // Zero would disarm it: a moment at or before the epoch rings a nanosecond after it.
    const qint64 ms = std::max<qint64>(moment.toMSecsSinceEpoch(), 0);
    itimerspec when {};
    when.it_value.tv_sec = time_t(ms / 1000);
    when.it_value.tv_nsec = long(ms % 1000) * 1'000'000 + 1;
    if (timerfd_settime(m_timer, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) != 0)
        qCWarning(lcMirel, "the wall-clock timer cannot be set: %s", std::strerror(errno));
}

void WallClockAlarm::stop()
{
    if (m_timer < 0)
        return;
    const itimerspec never {};
    timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &never, nullptr);
}

void WallClockAlarm::takeExpiry()
{
    std::uint64_t expiries = 0;
    // ECANCELED: the clock was set, which disarmed the timer; EAGAIN: stopped after it became readable.
    if (::read(m_timer, &expiries, sizeof expiries) < 0 && errno != ECANCELED)
        return;
    emit rang();
}
