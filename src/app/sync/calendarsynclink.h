// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendarsyncmodule.h"

#include <QObject>

#include <memory>

class QSettings;
class QWidget;
class TodoStore;

// The panel's end of the calendar sync: the module is loaded and a session started only while a task list is
// connected, and the session's findings reach the panel as the header's sync state.
class CalendarSyncLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarSyncLink)

public:
    CalendarSyncLink(QSettings *preferences, TodoStore *store, QObject *parent = nullptr);
    ~CalendarSyncLink() override;

    bool isConnected() const { return m_session != nullptr; }

    // Takes up the connection the preferences hold now, if any; the password is one for this run only, where
    // the desktop keeps none.
    void takeUpConnection(const QString &passwordForThisRun = {});
    void syncNow();
    // "Stop Syncing": the goals stay here and the server keeps its tasks.
    void stopSyncing();
    void panelNoticed();
    // `title`, the panel's, names a list made for the goals.
    void openConnectDialog(QWidget *parent, const QString &title);

signals:
    void connectedChanged(bool connected);
    // What the header shows: the changes waiting, why the last sync failed, and what the person should know and
    // do although it goes through; all empty when in sync.
    void syncStateChanged(const QString &changesWaiting, const QString &failure, const QString &notice);

private:
    CalendarSyncModule *module();

    QSettings *m_preferences = nullptr;
    TodoStore *m_store = nullptr;
    std::unique_ptr<CalendarSyncModule::Session> m_session;
};
