// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "views/list/listgeometry.h"

#include <QObject>

// Store changes come in bursts (text from another program arrives as one add per line). A burst is shown in one
// refresh on the next turn of the event loop, so its cost grows with the goals, not their square. Each change
// asked for says how its rows move and who made it: the refresh springs when any change did, and is the person's
// own when any was.
class BatchedRefresh final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BatchedRefresh)

public:
    // How the rows a change moves reach their new places: at once, or sliding on the list spring.
    enum class Motion { Jumps, Springs };

    using QObject::QObject;

    void schedule(
        Motion motion = Motion::Jumps, ListGeometry::ChangedBy changedBy = ListGeometry::ChangedBy::Elsewhere);

signals:
    void due(bool animated, ListGeometry::ChangedBy changedBy);

private:
    bool m_isPending = false;
    bool m_springs = false;
    bool m_isPersonsOwn = false;
};
