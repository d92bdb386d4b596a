// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktopnotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

namespace
{

constexpr auto Service = "org.freedesktop.Notifications";
constexpr auto Path = "/org/freedesktop/Notifications";
// The command exits right after: a notification it did not wait for may never reach the service, and a
// service that hangs must not hold up the shortcut for long.
constexpr int DeliveryTimeoutMs = 2000;
// The service's own default for how long it shows the message.
constexpr int DefaultExpiry = -1;

} // namespace

namespace DesktopNotification
{

void show(const QString &summary, const QString &body)
{
    // Without an address or the session's bus socket, the D-Bus library would try to launch a bus of its own.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")
        && !QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus")))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QLatin1StringView(Service), QLatin1StringView(Path), QLatin1StringView(Service), QStringLiteral("Notify"));
    notify << QStringLiteral("Mirel") << 0u << QStringLiteral("mirel") << summary << body << QStringList()
           << QVariantMap() << DefaultExpiry;
    bus.call(notify, QDBus::Block, DeliveryTimeoutMs);
}

} // namespace DesktopNotification
