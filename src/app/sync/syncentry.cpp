// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendaraccount.h"
#include "calendarcommandrun.h"
#include "calendarconnectdialog.h"
#include "calendarconnection.h"
#include "calendarsyncmodule.h"
#include "calendarsyncsession.h"

#include <QApplication>
#include <QSettings>

namespace
{

std::unique_ptr<CalendarSyncModule::Session> startSession(
    QSettings *preferences, const QString &password, CalendarSyncModule::PanelSide panel)
{
    preferences->sync();
    const std::optional<CalendarAccount> account = CalendarAccount::read(*preferences);
    if (!account)
        return {};
    return std::make_unique<CalendarSyncSession>(*account, password, std::move(panel));
}

void forgetConnection(QSettings *preferences)
{
    CalendarConnection::forget(*preferences, qApp, [] {});
}

void openConnectDialog(
    QWidget *parent, QSettings *preferences, const QString &title, std::function<void(const QString &)> connected)
{
    auto *dialog = new CalendarConnectDialog(preferences, title, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &CalendarConnectDialog::connected, dialog, std::move(connected));
    dialog->open();
}

constexpr CalendarSyncModule::EntryPoints EntryPoints {
    .startSession = &startSession,
    .runCommand = &CalendarCommandRun::run,
    .forgetConnection = &forgetConnection,
    .openConnectDialog = &openConnectDialog,
};

} // namespace

// Looked up by name when the module is loaded.
extern "C" Q_DECL_EXPORT const CalendarSyncModule::EntryPoints *mirelSyncEntryPoints()
{
    return &EntryPoints;
}
