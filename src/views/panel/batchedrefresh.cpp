// SPDX-License-Identifier: GPL-3.0-or-later

#include "batchedrefresh.h"

#include <utility>

void BatchedRefresh::schedule(Motion motion, ListGeometry::ChangedBy changedBy)
{
    m_springs = m_springs || motion == Motion::Springs;
    m_isPersonsOwn = m_isPersonsOwn || changedBy == ListGeometry::ChangedBy::ThisPanel;
    if (std::exchange(m_isPending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_isPending = false;
            const bool isPersonsOwn = std::exchange(m_isPersonsOwn, false);
            emit due(std::exchange(m_springs, false),
                isPersonsOwn ? ListGeometry::ChangedBy::ThisPanel : ListGeometry::ChangedBy::Elsewhere);
        },
        Qt::QueuedConnection);
}
