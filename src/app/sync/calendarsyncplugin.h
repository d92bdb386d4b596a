// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendarsyncmodule.h"

#include <QObject>

// The calendar sync module's root object, which the panel and the calendar commands reach through
// CalendarSyncModule.
class CalendarSyncPlugin final : public QObject, public CalendarSyncModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID CalendarSyncModule_iid)
    Q_INTERFACES(CalendarSyncModule)
    Q_DISABLE_COPY_MOVE(CalendarSyncPlugin)

public:
    CalendarSyncPlugin() = default;

    std::unique_ptr<Session> startSession(QSettings *preferences, const QString &password, PanelSide panel) override;
    int runCommand(int &argc, char **argv, const CalendarCommand &command) override;
    void forgetConnection(QSettings *preferences) override;
    void openConnectDialog(QWidget *parent, QSettings *preferences, const QString &title,
        std::function<void(const QString &)> connected) override;
};
