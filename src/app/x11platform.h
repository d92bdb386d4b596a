#pragma once

#include <QRegion>
#include <QWindow>

// The few window-manager conversations Qt has no API for, spoken over the application's own xcb connection.
// Every function does nothing (or answers false) when the application does not run on X11.
namespace X11Platform
{

bool isActive();
// True when a compositing manager owns the _NET_WM_CM_S<screen> selection, so that translucent windows are
// blended with what lies beneath instead of showing black where they are transparent.
bool hasCompositor();
bool supportsBlurBehind();

// Above, sticky, out of the taskbar and the pager, on every desktop. Set as properties before the window is
// first mapped, which window managers read when they take the window on.
void setFloatingPanelProperties(const QWindow *window);
// The same states asked of the window manager for a mapped window, where properties no longer count.
void requestFloatingPanelState(const QWindow *window);
// Asks the compositor to blur what lies behind the region, in the window's device pixels.
void setBlurBehindRegion(const QWindow *window, const QRegion &region);

} // namespace X11Platform
