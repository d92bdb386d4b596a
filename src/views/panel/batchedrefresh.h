// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// Store changes come in bursts (text from another program arrives as one add per line). A burst is shown in one
// refresh on the next turn of the event loop, so its cost grows with the goals, not their square. The refresh is
// animated when any change in the burst came from an operation run on the list spring.
class BatchedRefresh final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BatchedRefresh)

public:
    using QObject::QObject;

    void schedule();
    // Runs a store operation whose effect on the list springs into place.
    template<typename Operation> void withListSpring(Operation &&operation)
    {
        m_isListSpringing = true;
        operation();
        m_isListSpringing = false;
    }

signals:
    void due(bool animated);

private:
    bool m_isListSpringing = false;
    bool m_isPending = false;
    bool m_springs = false;
};
