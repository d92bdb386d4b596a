// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>

// One key combination taken for the whole X server: a passive grab on the root window, so that the server
// hands its presses to the panel whichever window has the keyboard. The lock keys change the modifier state
// a press arrives with, so the combination is grabbed once with each of NumLock and CapsLock on and off. The
// grabs go with the object.
namespace X11Platform
{

class GlobalKeyGrab final : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlobalKeyGrab)

public:
    enum class Failure { None, NotX11, NoSuchKey, TakenByAnotherProgram };

    // `key` and `modifiers` as Qt names them: a letter, a digit, F1 to F35 or Space, with Ctrl, Alt, Shift and
    // Super (Qt's Meta). Nothing, with *failure set, when the combination cannot be taken.
    static GlobalKeyGrab *grab(Qt::KeyboardModifiers modifiers, int key, QObject *parent, Failure *failure);
    ~GlobalKeyGrab() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // The combination was pressed, at this X server time.
    void pressed(quint32 time);

private:
    GlobalKeyGrab(quint8 keycode, quint16 modifiers, quint16 lockModifiers, QObject *parent);

    quint8 m_keycode = 0;
    quint16 m_modifiers = 0;
    quint16 m_lockModifiers = 0;
};

} // namespace X11Platform
