// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarsynclink.h"

#include "app/logging.h"
#include "calendaraccount.h"
#include "model/todostore.h"

#include <QSettings>

CalendarSyncLink::CalendarSyncLink(QSettings *preferences, TodoStore *store, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_store(store)
{
    // The sync's own result coming in is no change to send.
    connect(m_store, &TodoStore::todosChanged, this, [this](TodoStore::Origin origin) {
        if (m_session && origin != TodoStore::Origin::CalendarServer)
            m_session->goalsChanged();
    });
}

CalendarSyncLink::~CalendarSyncLink() = default;

CalendarSyncModule *CalendarSyncLink::module()
{
    QString error;
    CalendarSyncModule *sync = CalendarSyncModule::load(&error);
    if (!sync) {
        qCWarning(lcMirel, "cannot sync with the calendar server: %s", qPrintable(error));
        emit syncStateChanged({}, tr("The sync module cannot be loaded: %1").arg(error), {});
    }
    return sync;
}

void CalendarSyncLink::takeUpConnection(const QString &passwordForThisRun)
{
    const bool wasConnected = isConnected();
    m_session.reset();
    m_preferences->sync();
    if (CalendarSyncModule *sync = CalendarAccount::read(*m_preferences) ? module() : nullptr) {
        m_session = sync->startSession(m_preferences, passwordForThisRun,
            { [this] { return m_store->todos(); }, [this] { return m_store->recentDeletions(); },
                [this](const QList<TodoItem> &synced, const QList<TodoItem> &sent, const QDateTime &sentAt) {
                    m_store->mergeSynced(synced, sent, sentAt);
                },
                [this](const SyncStatus &status) {
                    emit syncStateChanged(status.changesWaiting == 0
                            ? QString()
                            : tr("%n change(s) waiting to go to the calendar server", nullptr, status.changesWaiting),
                        status.failure, status.notice);
                } });
    }
    if (!m_session)
        emit syncStateChanged({}, {}, {});
    if (wasConnected != isConnected())
        emit connectedChanged(isConnected());
}

void CalendarSyncLink::syncNow()
{
    if (m_session)
        m_session->syncNow();
}

void CalendarSyncLink::stopSyncing()
{
    if (CalendarSyncModule *sync = module())
        sync->forgetConnection(m_preferences);
    takeUpConnection();
}

void CalendarSyncLink::panelNoticed()
{
    if (m_session)
        m_session->panelNoticed();
}

void CalendarSyncLink::openConnectDialog(QWidget *parent, const QString &title)
{
    if (CalendarSyncModule *sync = module()) {
        sync->openConnectDialog(
            parent, m_preferences, title, [this](const QString &password) { takeUpConnection(password); });
    }
}
