// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarsyncplugin.h"

#include "calendaraccount.h"
#include "calendarcommandrun.h"
#include "calendarconnectdialog.h"
#include "calendarconnection.h"
#include "calendarsyncsession.h"

#include <QApplication>
#include <QSettings>

std::unique_ptr<CalendarSyncModule::Session> CalendarSyncPlugin::startSession(
    QSettings *preferences, const QString &password, PanelSide panel)
{
    preferences->sync();
    const std::optional<CalendarAccount> account = CalendarAccount::read(*preferences);
    if (!account)
        return {};
    return std::make_unique<CalendarSyncSession>(*account, password, std::move(panel));
}

int CalendarSyncPlugin::runCommand(int &argc, char **argv, const CalendarCommand &command)
{
    return CalendarCommandRun::run(argc, argv, command);
}

void CalendarSyncPlugin::forgetConnection(QSettings *preferences)
{
    CalendarConnection::forget(*preferences, qApp, [] {});
}

void CalendarSyncPlugin::openConnectDialog(
    QWidget *parent, QSettings *preferences, const QString &title, std::function<void(const QString &)> connected)
{
    auto *dialog = new CalendarConnectDialog(preferences, title, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &CalendarConnectDialog::connected, dialog, std::move(connected));
    dialog->open();
}
