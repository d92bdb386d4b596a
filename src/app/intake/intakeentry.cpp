// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktopnotification.h"
#include "intakeclient.h"
#include "intakemodule.h"
#include "intakeserver.h"

namespace
{

QObject *startServer(
    const QString &socketPath, IntakeModule::ServerCallbacks callbacks, QObject *parent, QString *error)
{
    auto *server = new IntakeServer(std::move(callbacks), parent);
    if (server->listen(socketPath))
        return server;
    *error = server->errorString();
    delete server;
    return nullptr;
}

constexpr IntakeModule::EntryPoints EntryPoints {
    .startServer = &startServer,
    .runSend = &IntakeClient::run,
    .bringPanelToFront = &IntakeClient::bringPanelToFront,
    .showNotification = &DesktopNotification::show,
    .showNotificationWithActions = &DesktopNotification::showWithActions,
};

} // namespace

// Looked up by name when the module is loaded.
extern "C" Q_DECL_EXPORT const IntakeModule::EntryPoints *mirelIntakeEntryPoints()
{
    return &EntryPoints;
}
