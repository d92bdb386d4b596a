// SPDX-License-Identifier: GPL-3.0-or-later

#include "batchedrefresh.h"

#include <utility>

void BatchedRefresh::schedule()
{
    m_springs = m_springs || m_isListSpringing;
    if (std::exchange(m_isPending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_isPending = false;
            emit due(std::exchange(m_springs, false));
        },
        Qt::QueuedConnection);
}
