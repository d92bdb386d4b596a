// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "intakemodule.h"

#include <QObject>

// The intake module's root object, which `mirel --send`, a second start and the panel's notifications reach
// through IntakeModule.
class IntakePlugin final : public QObject, public IntakeModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IntakeModule_iid)
    Q_INTERFACES(IntakeModule)
    Q_DISABLE_COPY_MOVE(IntakePlugin)

public:
    IntakePlugin() = default;

    int runSend(int &argc, char **argv, const SendCommand &command) override;
    int bringPanelToFront(int &argc, char **argv, const PanelAddress &address) override;
    void showNotification(const QString &summary, const QString &body) override;
    void showNotificationWithActions(const QString &summary, const QString &body, const QStringList &actions,
        QObject *context, std::function<void(const QString &key)> onAction,
        std::function<void(const QString &error)> onFailed) override;
};
