// SPDX-License-Identifier: GPL-3.0-or-later

#include "synctiming.h"

#include <algorithm>

void SyncTiming::started()
{
    m_changedSinceStart = false;
}

void SyncTiming::synced(Ms now, bool succeeded)
{
    m_lastSync = now;
    if (succeeded) {
        m_retryWait = Ms(0);
        m_retryAfter = now;
        m_due = now + Idle;
    } else {
        m_retryWait = std::min(m_retryWait == Ms(0) ? FirstRetry : m_retryWait * 2, Idle);
        m_retryAfter = now + m_retryWait;
        m_due = m_retryAfter;
    }
    if (m_changedSinceStart)
        changedHere(now);
}

void SyncTiming::changedHere(Ms now)
{
    m_changedSinceStart = true;
    bringForward(std::max(now + ChangeBatch, m_retryAfter));
}

void SyncTiming::noticed(Ms now)
{
    if (!m_lastSync || now - *m_lastSync >= Recent)
        bringForward(std::max(now, m_retryAfter));
}

void SyncTiming::wanted(Ms now)
{
    m_retryWait = Ms(0);
    m_retryAfter = now;
    m_due = now;
}

void SyncTiming::bringForward(Ms at)
{
    m_due = std::min(m_due, at);
}
