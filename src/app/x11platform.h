#pragma once

#include <QAbstractNativeEventFilter>
#include <QRegion>
#include <QWindow>

#include <functional>
#include <memory>

// The few window-manager conversations Qt has no API for, spoken over the application's own xcb connection.
// Every function does nothing (or answers false) when the application does not run on X11.
namespace X11Platform {

// Called before the application object exists: in a Wayland session the panel runs through XWayland unless
// the user chose a platform, because a Wayland client may neither place its own window nor keep it above
// others and on every workspace.
void preferXWaylandInWaylandSessions();

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
// Makes the window one that takes no input at all in ICCCM's terms: besides the input hint Qt clears,
// WM_TAKE_FOCUS must go too, or window managers treat the window as "globally active", hand it the focus
// message and report it as the active window.
void setNeverFocused(const QWindow *window);
// Qt's xcb backend activates a window on every press of a button other than the wheel, before anything
// else sees the press. The returned filter, while it lives, takes presses of the middle and extra buttons
// on the unfocused window away from that path and delivers them to the window directly, so that only the
// window's own code decides what focuses it.
std::unique_ptr<QAbstractNativeEventFilter> deliverOtherButtonsWithoutActivating(QWindow *window);
// Asks the compositor to blur what lies behind the region, in the window's device pixels.
void setBlurBehindRegion(const QWindow *window, const QRegion &region);
// Calls onChange, from inside event dispatch, whenever a compositing manager takes or gives up the screen or
// the root window's offer of blur changes; hasCompositor() and supportsBlurBehind() then tell what holds.
// The watch lasts as long as the returned filter.
std::unique_ptr<QAbstractNativeEventFilter> watchCompositor(std::function<void()> onChange);

} // namespace X11Platform
