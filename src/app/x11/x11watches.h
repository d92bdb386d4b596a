// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class QWindow;

// Events of the X server that Qt does not report, each told by a signal for as long as its watch lives. The
// watches see the application's X events and take none away from Qt, whose own clipboard, screen and window
// handling need them too. The signals come from inside Qt's event dispatch.
namespace X11Platform
{

class WindowWatch final : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowWatch)

public:
    // Nothing outside an X11 session or without a window.
    static WindowWatch *watch(const QWindow *window, QObject *parent);
    ~WindowWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // By its own program or any other.
    void unmapped();
    // The window's _NET_WM_STATE was written or removed, by the window manager or the program itself.
    void statesChanged();

private:
    WindowWatch(quint32 window, quint32 statesAtom, QObject *parent);

    quint32 m_window = 0;
    quint32 m_statesAtom = 0;
};

class CompositorWatch final : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CompositorWatch)

public:
    // Nothing outside an X11 session or where the server lacks the XFixes extension.
    static CompositorWatch *watch(QObject *parent);
    ~CompositorWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // A compositing manager took or gave up the screen, or the root window's offer of blur changed;
    // hasCompositor() and supportsBlurBehind() then tell what holds.
    void changed();

private:
    CompositorWatch(quint8 selectionNotify, QObject *parent);
    quint32 blurAtom() const;

    quint8 m_selectionNotify = 0;
    quint32 m_root = 0;
    quint32 m_selection = 0;
    quint32 m_blur = 0;
    quint32 m_supported = 0;
};

} // namespace X11Platform
