// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakeplugin.h"

#include "desktopnotification.h"
#include "intakeclient.h"

int IntakePlugin::runSend(int &argc, char **argv, const SendCommand &command)
{
    return IntakeClient::run(argc, argv, command);
}

int IntakePlugin::bringPanelToFront(int &argc, char **argv, const PanelAddress &address)
{
    return IntakeClient::bringPanelToFront(argc, argv, address);
}

void IntakePlugin::showNotification(const QString &summary, const QString &body)
{
    DesktopNotification::show(summary, body);
}

void IntakePlugin::showNotificationWithActions(const QString &summary, const QString &body, const QStringList &actions,
    QObject *context, std::function<void(const QString &key)> onAction,
    std::function<void(const QString &error)> onFailed)
{
    DesktopNotification::showWithActions(summary, body, actions, context, std::move(onAction), std::move(onFailed));
}
