// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QRect>

namespace X11Platform
{
class WindowWatch;
}
class QTimer;
class QWidget;
class QWindow;

// Brings the panel back after an unmap it did not ask for: iconified, hidden with the desktop, left on
// another desktop, or let go by a window manager that then forgets its states and places it as it likes.
class PanelMapKeeper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelMapKeeper)

public:
    // Owned by the panel it keeps on screen.
    explicit PanelMapKeeper(QWidget *panel);

    // From now on shows the panel's native window again whenever something else unmaps it.
    void watch(QWindow *handle);
    // Shows the panel again wherever it went, still without taking the focus; a panel on screen stays as it is.
    void showAgain();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Maps the panel again, and puts it back where it was once the window manager has taken it on.
    void mapAgainAfterUnmap();
    void checkShownAgain();
    // A window manager that took the panel on anew may have dropped the panel's request for its states
    // while it was still letting it go, or cleared those it does not know after the panel put them back.
    void requestMissingStates();

    QWidget *m_panel = nullptr;
    // The window manager may have let the panel go and forgotten its states when it was unmapped.
    bool m_requestStatesWhenExposed = false;
    QRect m_geometryBeforeUnmap;
    int m_mapChecksLeft = 0;
    // A window manager that refuses a state, or clears those it does not know at every change, would
    // otherwise be asked without end.
    int m_stateRequestsLeft = 0;
    QTimer *m_statesSettle = nullptr;
    X11Platform::WindowWatch *m_windowWatch = nullptr;
};
