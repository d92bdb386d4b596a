// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarsecret.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLoggingCategory>

namespace
{

// The keyring's own words stay out of what the person reads, but can be asked for when a keyring misbehaves
// (QT_LOGGING_RULES="mirel.keyring.debug=true").
Q_LOGGING_CATEGORY(lcKeyring, "mirel.keyring", QtWarningMsg)

const QString Service = QStringLiteral("Mirel calendar sync");

// Whether the session bus has, or can start, a service that keeps secrets; QtKeychain reports a missing one
// only as an error like any other.
bool hasSecretService()
{
    const QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return false;
    const QStringList activatable = bus->activatableServiceNames().value();
    for (const QString &name : { QStringLiteral("org.freedesktop.secrets"), QStringLiteral("org.kde.kwalletd5"),
             QStringLiteral("org.kde.kwalletd6") }) {
        if (bus->isServiceRegistered(name).value() || activatable.contains(name))
            return true;
    }
    return false;
}

// The Secret Service's own texts name D-Bus objects and paths ("Object does not exist at path …"): the person
// is told what it means for them instead.
QString failureInWords(const QKeychain::Job &job)
{
    if (job.error() == QKeychain::NoBackendAvailable || !hasSecretService())
        return QCoreApplication::translate("CalendarSecret", "There is no keyring (Secret Service) on this desktop");
    if (job.error() == QKeychain::AccessDeniedByUser)
        return QCoreApplication::translate("CalendarSecret", "The keyring's prompt was cancelled");
    return QCoreApplication::translate("CalendarSecret", "The keyring is locked, or its prompt was cancelled");
}

void run(QKeychain::Job *job, const QString &key, QObject *context,
    std::function<void(const CalendarSecret::Outcome &)> done)
{
    job->setKey(key);
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, context, [done = std::move(done)](QKeychain::Job *finished) {
        CalendarSecret::Outcome outcome;
        if (finished->error() != QKeychain::NoError && finished->error() != QKeychain::EntryNotFound) {
            qCDebug(lcKeyring) << "the keyring answered" << finished->error() << finished->errorString();
            outcome.failure = failureInWords(*finished);
        }
        if (const auto *reading = qobject_cast<QKeychain::ReadPasswordJob *>(finished))
            outcome.password = reading->textData();
        done(outcome);
    });
    job->start();
}

} // namespace

namespace CalendarSecret
{

void read(const QString &key, QObject *context, std::function<void(const Outcome &)> done)
{
    run(new QKeychain::ReadPasswordJob(Service), key, context, std::move(done));
}

void write(const QString &key, const QString &password, QObject *context, std::function<void(const Outcome &)> done)
{
    auto *job = new QKeychain::WritePasswordJob(Service);
    job->setTextData(password);
    run(job, key, context, std::move(done));
}

void forget(const QString &key, QObject *context, std::function<void(const Outcome &)> done)
{
    run(new QKeychain::DeletePasswordJob(Service), key, context, std::move(done));
}

} // namespace CalendarSecret
