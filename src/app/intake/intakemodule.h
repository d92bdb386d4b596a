// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;
struct PanelAddress;
struct SendCommand;

// The sending end of `mirel --send` and of a second start lives in a module loaded only when needed: Qt
// Network and the libraries behind it take milliseconds and megabytes to load, and the panel needs none of them.
namespace IntakeModule
{

struct EntryPoints {
    // Runs a send command to its end and returns the process's exit status (see IntakeClient::run).
    int (*runSend)(int &argc, char **argv, const SendCommand &command);
    // A second plain start: asks the running panel to come to the front; returns the exit status.
    int (*bringPanelToFront)(int &argc, char **argv, const PanelAddress &address);
    // A message from the desktop's notification service; nothing without one.
    void (*showNotification)(const QString &summary, const QString &body);
    // The same without waiting, with actions, and `actions` the key and the label of each: `onAction` hears the
    // key the person chose, `onFailed` why no service took the message. Neither is called once `context` is gone.
    void (*showNotificationWithActions)(const QString &summary, const QString &body, const QStringList &actions,
        QObject *context, std::function<void(const QString &key)> onAction,
        std::function<void(const QString &error)> onFailed);
};

// The module's entry points, loaded on the first call; nullptr with *error set when it cannot be loaded.
const EntryPoints *load(QString *error);

} // namespace IntakeModule
