// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarsyncsession.h"

#include "calendarsecret.h"
#include "sync/davhttp.h"
#include "sync/syncrunner.h"

#include <QDBusConnection>
#include <QNetworkInformation>
#include <QTimer>

#include <algorithm>
#include <memory>

CalendarSyncSession::CalendarSyncSession(
    const CalendarAccount &account, const QString &password, CalendarSyncModule::PanelSide panel)
    : m_account(account)
    , m_panel(std::move(panel))
    , m_stored(SyncStateFile::read(account.taskList))
    , m_synced(SyncedTasks::of(m_stored.state))
    , m_due(new QTimer(this))
{
    m_clock.start();
    m_due->setSingleShot(true);
    connect(m_due, &QTimer::timeout, this, &CalendarSyncSession::sync);
    // A password given for this run is one the keyring did not keep: the person is told what that means.
    m_stored.notice.clear();
    if (!password.isEmpty()) {
        m_stored.notice
            = tr("The keyring did not keep the password, so Mirel keeps it only until it quits.\nTo keep it "
                 "for good, run mirel --connect-calendar again once the keyring is unlocked.");
    }
    // What waits from before a restart shows before the first sync.
    tell();
    watchTheNetworkAndSleep();
    if (password.isEmpty())
        readPassword();
    else
        start(password);
}

void CalendarSyncSession::readPassword()
{
    m_readingPassword = true;
    CalendarSecret::read(m_account.secretKey(), this, [this](const CalendarSecret::Outcome &outcome) {
        m_readingPassword = false;
        if (!outcome.password.isEmpty()) {
            start(outcome.password);
            return;
        }
        // Kept, so that `mirel --sync-status` tells it too.
        m_stored.failure = outcome.failure.isEmpty()
            ? tr("The keyring holds no password for this task list: run mirel --connect-calendar again")
            : tr("%1, so the password cannot be read: unlock the keyring and choose Sync Now, or run mirel "
                 "--connect-calendar again")
                  .arg(outcome.failure);
        if (const std::optional<QString> unsaved = SyncStateFile::write(m_stored))
            qWarning("the calendar sync's state could not be kept: %s", qPrintable(*unsaved));
        tell();
    });
}

void CalendarSyncSession::goalsChanged()
{
    m_timing.changedHere(now());
    tell();
    wakeWhenDue();
}

void CalendarSyncSession::panelNoticed()
{
    m_timing.noticed(now());
    wakeWhenDue();
}

void CalendarSyncSession::syncNow()
{
    // A keyring unlocked since gives the password now.
    if (!m_http && !m_readingPassword)
        readPassword();
    m_timing.wanted(now());
    wakeWhenDue();
}

void CalendarSyncSession::start(const QString &password)
{
    m_http = new DavHttp(m_account.user, password, {}, this);
    if (!m_account.trustedCertificate.isEmpty())
        m_http->setPinnedCertificate(m_account.trustedCertificate);
    wakeWhenDue();
}

void CalendarSyncSession::wakeWhenDue()
{
    if (!m_http || m_syncing)
        return;
    m_due->start(std::max(SyncTiming::Ms(0), m_timing.dueAt() - now()));
}

void CalendarSyncSession::sync()
{
    m_syncing = true;
    m_timing.started();
    const Sent sent { m_panel.goals(), QDateTime::currentDateTimeUtc() };
    auto *runner = new SyncRunner(
        m_http, SyncRun(m_account.taskList, sent.goals, m_panel.deletions(), m_stored.state, sent.at), this);
    // What the panel shows while the writes go out is what the sync's outcome is later merged with.
    auto shown = std::make_shared<Sent>(sent);
    connect(runner, &SyncRunner::merged, this, [this, shown](const QList<TodoItem> &merged) {
        m_panel.takeSynced(merged, shown->goals, shown->at);
        shown->goals = merged;
    });
    connect(runner, &SyncRunner::finished, this,
        [this, runner, shown](
            const QList<TodoItem> &synced, const SyncState &state, const std::optional<QString> &failure) {
            runner->deleteLater();
            finish(*shown, synced, state, failure);
        });
    runner->start();
}

void CalendarSyncSession::finish(
    const Sent &sent, const QList<TodoItem> &synced, const SyncState &state, const std::optional<QString> &failure)
{
    m_syncing = false;
    m_panel.takeSynced(synced, sent.goals, sent.at);
    m_stored.state = state;
    m_synced = SyncedTasks::of(state);
    m_stored.failure = failure.value_or(QString());
    if (!failure)
        m_stored.lastSync = QDateTime::currentDateTimeUtc();
    if (const std::optional<QString> unsaved = SyncStateFile::write(m_stored))
        qWarning("the calendar sync's state could not be kept: %s", qPrintable(*unsaved));
    m_timing.synced(now(), !failure);
    tell();
    wakeWhenDue();
}

void CalendarSyncSession::tell()
{
    m_panel.statusChanged({ changesWaiting(m_panel.goals(), m_synced), m_stored.failure, m_stored.notice });
}

void CalendarSyncSession::watchTheNetworkAndSleep()
{
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                if (reachability == QNetworkInformation::Reachability::Online)
                    syncNow();
            });
    }
    // The clock a suspend stops: what changed on the server meanwhile comes down at the wake.
    QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("PrepareForSleep"), this, SLOT(sleepingChanged(bool)));
}

void CalendarSyncSession::sleepingChanged(bool sleeping)
{
    if (!sleeping)
        syncNow();
}

SyncTiming::Ms CalendarSyncSession::now() const
{
    return SyncTiming::Ms(m_clock.elapsed());
}
