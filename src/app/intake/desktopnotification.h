// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// A message shown by the desktop's notification service (org.freedesktop.Notifications on the session
// bus), for commands that run from a shortcut, where nobody reads standard error.
namespace DesktopNotification
{

// Waits briefly for the service to take it; without a session bus or a service, nothing happens.
void show(const QString &summary, const QString &body);
// Hands the message over without waiting; see IntakeModule::showNotificationWithActions.
void showWithActions(const QString &summary, const QString &body, const QStringList &actions, QObject *context,
    std::function<void(const QString &key)> onAction, std::function<void(const QString &error)> onFailed);

} // namespace DesktopNotification
