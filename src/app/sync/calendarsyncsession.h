// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendaraccount.h"
#include "calendarsyncmodule.h"
#include "sync/syncstatefile.h"
#include "sync/synctiming.h"

#include <QElapsedTimer>
#include <QObject>

class DavHttp;
class QTimer;

// Keeps the panel's goals and the connected task list in step: syncs when SyncTiming says one is due, one at
// a time, and leaves what it learnt in the state folder after each.
class CalendarSyncSession final : public QObject, public CalendarSyncModule::Session
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarSyncSession)

public:
    CalendarSyncSession(const CalendarAccount &account, const QString &password, CalendarSyncModule::PanelSide panel);

    void goalsChanged() override;
    void panelNoticed() override;
    void syncNow() override;

private slots:
    void sleepingChanged(bool sleeping);

private:
    void readPassword();
    void start(const QString &password);
    void wakeWhenDue();
    void sync();
    struct Sent {
        QList<TodoItem> goals;
        QDateTime at;
    };
    void finish(
        const Sent &sent, const QList<TodoItem> &synced, const SyncState &state, const std::optional<QString> &failure);
    void tell();
    void watchTheNetworkAndSleep();
    SyncTiming::Ms now() const;

    CalendarAccount m_account;
    CalendarSyncModule::PanelSide m_panel;
    StoredSync m_stored;
    // The tasks of m_stored read, for the count of changes waiting at each change of the goals.
    SyncedTasks m_synced;
    SyncTiming m_timing;
    QElapsedTimer m_clock;
    QTimer *m_due = nullptr;
    DavHttp *m_http = nullptr;
    bool m_readingPassword = false;
    bool m_syncing = false;
};
