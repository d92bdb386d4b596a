// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

struct PanelAddress;
struct SendCommand;

// The sending end of `mirel --send` and of a second start lives in a plugin loaded only when needed: Qt
// Network and the libraries behind it take milliseconds and megabytes to load, and the panel needs none of them.
class IntakeModule
{
public:
    // The module, loaded on the first call; nullptr with *error set when it cannot be loaded.
    static IntakeModule *load(QString *error);

    virtual ~IntakeModule() = default;
    // Runs a send command to its end and returns the process's exit status (see IntakeClient::run).
    virtual int runSend(int &argc, char **argv, const SendCommand &command) = 0;
    // A second plain start: asks the running panel to come to the front; returns the exit status.
    virtual int bringPanelToFront(int &argc, char **argv, const PanelAddress &address) = 0;
    // A message from the desktop's notification service; nothing without one.
    virtual void showNotification(const QString &summary, const QString &body) = 0;
    // The same without waiting, with actions, and `actions` the key and the label of each: `onAction` hears the
    // key the person chose, `onFailed` why no service took the message. Neither is called once `context` is gone.
    virtual void showNotificationWithActions(const QString &summary, const QString &body, const QStringList &actions,
        QObject *context, std::function<void(const QString &key)> onAction,
        std::function<void(const QString &error)> onFailed)
        = 0;
};

#define IntakeModule_iid "io.github.mirel.IntakeModule/1.0"
Q_DECLARE_INTERFACE(IntakeModule, IntakeModule_iid)
