// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktopnotification.h"
#include "intakeclient.h"
#include "intakemodule.h"

namespace
{

constexpr IntakeModule::EntryPoints EntryPoints {
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
