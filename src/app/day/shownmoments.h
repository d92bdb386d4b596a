// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class TodoStore;
class WallClockAlarm;

// Tells when the moments the rows show read otherwise: at midnight, when "Thu 09:00" becomes "09:00" and "due
// Thu" becomes "due today", and when an open goal's due moment passes. One alarm, and none while no goal has a
// reminder or a due date.
class ShownMoments final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShownMoments)

public:
    explicit ShownMoments(TodoStore *store, QObject *parent = nullptr);

signals:
    void changed();

private:
    void waitForNextChange();

    TodoStore *m_store = nullptr;
    // Made with the first goal that shows a moment.
    WallClockAlarm *m_alarm = nullptr;
};
