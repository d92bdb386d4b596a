// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendaraccount.h"

#include <QSettings>

namespace
{

const QString Group = QStringLiteral("CalendarSync");
const QString ServerKey = QStringLiteral("server");
const QString TaskListKey = QStringLiteral("taskList");
const QString ListNameKey = QStringLiteral("listName");
const QString UserKey = QStringLiteral("user");
const QString TrustedCertificateKey = QStringLiteral("trustedCertificate");

QString stringAt(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

QUrl CalendarAccount::serverAddress(const QString &typed)
{
    const QString address = typed.trimmed();
    return QUrl(address.contains(QStringLiteral("://")) ? address : QStringLiteral("https://") + address);
}

QString CalendarAccount::secretKey() const
{
    return QStringLiteral("%1 on %2").arg(user, server.toString(QUrl::RemoveUserInfo));
}

std::optional<CalendarAccount> CalendarAccount::read(QSettings &settings)
{
    settings.beginGroup(Group);
    CalendarAccount account { QUrl(stringAt(settings, ServerKey)), QUrl(stringAt(settings, TaskListKey)),
        stringAt(settings, ListNameKey), stringAt(settings, UserKey), stringAt(settings, TrustedCertificateKey) };
    settings.endGroup();
    if (!account.taskList.isValid() || account.taskList.isRelative() || !account.server.isValid()
        || account.user.isEmpty())
        return {};
    return account;
}

void CalendarAccount::write(QSettings &settings) const
{
    settings.beginGroup(Group);
    settings.setValue(ServerKey, server.toString());
    settings.setValue(TaskListKey, taskList.toString());
    settings.setValue(ListNameKey, listName);
    settings.setValue(UserKey, user);
    if (trustedCertificate.isEmpty())
        settings.remove(TrustedCertificateKey);
    else
        settings.setValue(TrustedCertificateKey, trustedCertificate);
    settings.endGroup();
    settings.sync();
}

void CalendarAccount::forget(QSettings &settings)
{
    settings.remove(Group);
    settings.sync();
}
