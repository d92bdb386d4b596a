// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <memory>

// What the panel's X11 conversations share: the application's own connection, its screen and a few requests
// every one of them makes.
namespace X11Platform::Connection
{

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
// xcb hands every reply to its caller to free.
template<typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// Source indication of client messages: a normal application asks, not a pager.
constexpr uint32_t SourceApplication = 1;
// A pager or taskbar asks on the user's behalf.
constexpr uint32_t SourcePager = 2;

// Null when the application does not run on X11.
xcb_connection_t *connection();
int screenNumber();
xcb_window_t rootWindow(xcb_connection_t *c);
// The compositing-manager selection of the screen Qt works on.
QByteArray compositorSelectionName();

// Atoms for `names`, in their order. Names asked for before are answered from memory; the others are all
// asked for first and then collected, one round trip for the lot. With `onlyIfExists`, a name nobody has
// interned yet comes back as XCB_ATOM_NONE and is asked for again next time.
void internAtoms(xcb_connection_t *c, const char *const *names, xcb_atom_t *atoms, size_t count, bool onlyIfExists);

template<size_t N>
std::array<xcb_atom_t, N> internAtoms(
    xcb_connection_t *c, const std::array<const char *, N> &names, bool onlyIfExists = false)
{
    std::array<xcb_atom_t, N> atoms {};
    internAtoms(c, names.data(), atoms.data(), N, onlyIfExists);
    return atoms;
}

QList<xcb_atom_t> atomListProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property);
// The atoms of a property reply of type ATOM; none for a missing property or another type.
QList<xcb_atom_t> atomList(const xcb_get_property_reply_t *reply);
// A client message about window to the window manager, which listens on the root window.
void sendToRoot(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5> &data);

} // namespace X11Platform::Connection
