// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;
struct PanelAddress;
struct SendCommand;

// The local-socket end of `mirel --send` and of a second start lives in a module loaded only when needed:
// the networking libraries behind it take milliseconds to load, and the panel's first frame needs none of
// them.
namespace IntakeModule
{

// What became of a text: the goals added to the panel, why they are not on disk when the save failed, or why
// the panel took none of it.
struct TextIntake {
    qsizetype added = 0;
    QString saveFailure = {};
    QString refusal = {};
};

struct ServerCallbacks {
    // Adds the goals in the text, each reminding at the moment where it is valid, and says how many it added and
    // whether they were saved.
    std::function<TextIntake(const QString &text, const QDateTime &remindAt)> onText;
    // A second start of the program asks the running panel to come to the front.
    std::function<void()> onBringToFront;
    // `mirel --new-goal`: the panel comes to the front in adding mode with the keyboard. The X server time of
    // the user's action, 0 when unknown.
    std::function<void(uint32_t userTime)> onNewGoal;
    // The calendar connection changed in the preferences; with the password for this run where the desktop
    // keeps none.
    std::function<void(const QString &password)> onCalendarChanged;
};

struct EntryPoints {
    // Listens on the panel's socket and hands each text received to onText on the main thread. Returns the
    // server, owned by parent, or nullptr with *error set. Only for the process holding the panel lock.
    QObject *(*startServer)(const QString &socketPath, ServerCallbacks callbacks, QObject *parent, QString *error);
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
