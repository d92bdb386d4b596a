// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goalsmerge.h"
#include "model/todoitem.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSettings;
class QWidget;
struct CalendarCommand;

// Where the last sync left things, for the header and `mirel --sync-status`.
struct SyncStatus final {
    // Goals added, changed or deleted in the panel since they were last on the server.
    int changesWaiting = 0;
    // Why the last sync did not go through; empty when it did.
    QString failure;
    // What the person should know and do although the sync goes through; empty when nothing.
    QString notice;
};

// The sync with a calendar server lives in a plugin loaded only for a person who is connected: libical, the
// networking libraries and the Secret Service's client stay out of everyone else's start.
class CalendarSyncModule
{
public:
    // What a sync reaches of the panel, all of it on the main thread.
    struct PanelSide {
        std::function<QList<TodoItem>()> goals;
        std::function<GoalsMerge::Deletions()> deletions;
        // The goals after a sync that started from `sent`, taken at `sentAt`, to merge with the panel's as
        // another program's change.
        std::function<void(const QList<TodoItem> &synced, const QList<TodoItem> &sent, const QDateTime &sentAt)>
            takeSynced;
        std::function<void(const SyncStatus &status)> statusChanged;
    };

    // The running sync of the connected task list; it stops when deleted.
    class Session
    {
    public:
        virtual ~Session() = default;
        // The panel's goals changed: they go up within a second.
        virtual void goalsChanged() = 0;
        // The pointer entered the panel or it took the keyboard: a pull, unless the last one is recent.
        virtual void panelNoticed() = 0;
        virtual void syncNow() = 0;
    };

    // The module, loaded on the first call; nullptr with *error set when it cannot be loaded.
    static CalendarSyncModule *load(QString *error);

    virtual ~CalendarSyncModule() = default;
    // Nothing when no task list is connected. `password` is one given for this run only, where the desktop
    // has no Secret Service; empty to read it from there.
    virtual std::unique_ptr<Session> startSession(QSettings *preferences, const QString &password, PanelSide panel) = 0;
    // Runs a command to its end and returns the process's exit status.
    virtual int runCommand(int &argc, char **argv, const CalendarCommand &command) = 0;
    // Forgets the connected list here: the preferences, the password and what the last sync left. The goals
    // stay, and so do the server's tasks.
    virtual void forgetConnection(QSettings *preferences) = 0;
    // The dialog that connects a task list; `connected` is called once one is, with the password for this run
    // where the desktop has no Secret Service. `title` names a list made for the goals.
    virtual void openConnectDialog(
        QWidget *parent, QSettings *preferences, const QString &title, std::function<void(const QString &)> connected)
        = 0;
};

#define CalendarSyncModule_iid "io.github.mirel.CalendarSyncModule/1.0"
Q_DECLARE_INTERFACE(CalendarSyncModule, CalendarSyncModule_iid)
