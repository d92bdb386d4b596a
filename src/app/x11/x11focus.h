// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWindow>

// Who has the keyboard: the ICCCM hints that say whether the panel takes the focus, and the requests that give
// it to the panel or back to another program, which Qt makes only for windows that accept it. Every function
// does nothing (or answers 0) when the application does not run on X11.
namespace X11Platform
{

// Makes the window one that takes no input at all in ICCCM's terms: besides the input hint Qt clears,
// WM_TAKE_FOCUS must go too, or window managers treat the window as "globally active", hand it the focus
// message and report it as the active window.
void setNeverFocused(const QWindow *window);
// The ICCCM input hint, read by window managers whenever it changes: a window that does not accept the focus
// is not focused when it appears or when they restore it, even by those that ignore _NET_WM_USER_TIME.
// Qt sets it only from a window flag when it creates the window.
void setAcceptsFocus(const QWindow *window, bool accepts);
// Makes the window the leader of a window group of its own, out of the group of the program's other windows
// that Qt puts every window in.
void setOwnWindowGroup(const QWindow *window);
// Gives the window the focus for a press it received at the given server time: the window manager is asked,
// so that it records the window as the active one, and the focus is set directly too, since the request
// is only a request (Qt refuses to make either for a window that does not accept the focus).
void takeFocus(const QWindow *window, uint32_t pressTime);
// Gives the window the focus for a request the user made outside it, such as a desktop shortcut that ran a
// command: asked as a pager would ask, which window managers grant without their focus-stealing checks, and
// set directly too. `userTime` is the X server time of the user's action, or 0 when it is unknown.
void activateForUser(const QWindow *window, uint32_t userTime);
// The window the window manager reports as active (_NET_ACTIVE_WINDOW), or 0 when none is or there is no
// window manager to say.
quint32 activeWindow();
// Gives the keyboard back to a window of another program, as a pager asks for it: only the window manager
// may focus another client's window the way that client expects (some take the focus themselves).
void activateOtherWindow(quint32 window, uint32_t userTime);

} // namespace X11Platform
