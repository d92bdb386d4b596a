// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRegion>
#include <QWindow>

// The few window-manager conversations Qt has no API for, spoken over the application's own xcb connection.
// Every function does nothing (or answers false) when the application does not run on X11.
namespace X11Platform
{

// Called before the application object exists: in a Wayland session the panel runs through XWayland unless
// the user chose a platform, because a Wayland client may neither place its own window nor keep it above
// others and on every workspace.
void preferXWaylandInWaylandSessions();

bool isActive();
// True when a compositing manager owns the _NET_WM_CM_S<screen> selection, so that translucent windows are
// blended with what lies beneath instead of showing black where they are transparent.
bool hasCompositor();
bool supportsBlurBehind();

// The name the window manager gives itself (_NET_WM_NAME of its _NET_SUPPORTING_WM_CHECK window), or none.
QString windowManagerName();

// The atoms the panel's properties and compositor watch name before the first map, asked for in one round trip.
void internAtomsBeforeMap();
// Above, sticky, out of the taskbar and the pager, on every desktop. Set as properties before the window is
// first mapped, which window managers read when they take the window on.
void setFloatingPanelProperties(const QWindow *window);
// The same states asked of the window manager for a mapped window, where properties no longer count; those
// it does not support the panel puts back in the property itself, where it may have cleared them.
void requestFloatingPanelState(const QWindow *window);
// The same for only those of the states that the property lacks; true when any did.
bool requestMissingFloatingPanelStates(const QWindow *window);
// Raises the window above the others of its layer for a request the user made outside it (a second start):
// asked as a pager asks, where the window manager takes such requests, since KWin marks a window whose own
// raise it refused as demanding attention.
void raiseForUser(const QWindow *window);
// Maps the window again without Qt, which still believes it shown: in ICCCM's terms this takes an iconified
// window back to the normal state, and hands a window the window manager let go of to it anew. The time of
// the user's last action in the window goes first, since such a window manager weighs it as a request.
void mapAgain(const QWindow *window);
// Whether the window manager hides the windows to show the desktop (_NET_SHOWING_DESKTOP), and the request
// to end that mode, for a window manager that keeps every window it hid there unmapped until it ends.
bool isShowingDesktop();
void stopShowingDesktop();
// Asks the compositor to blur what lies behind the region, in the window's device pixels.
void setBlurBehindRegion(const QWindow *window, const QRegion &region);
} // namespace X11Platform
