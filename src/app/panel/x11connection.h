#pragma once

#include <QByteArray>
#include <QList>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
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

// Null when the application does not run on X11.
xcb_connection_t *connection();
int screenNumber();
xcb_window_t rootWindow(xcb_connection_t *c);
// The compositing-manager selection of the screen Qt works on.
QByteArray compositorSelectionName();

// Asks for all names first and then collects the answers, one round trip for the lot.
template<size_t N>
std::array<xcb_atom_t, N> internAtoms(
    xcb_connection_t *c, const std::array<const char *, N> &names, bool onlyIfExists = false)
{
    std::array<xcb_intern_atom_cookie_t, N> cookies {};
    for (size_t i = 0; i < N; ++i)
        cookies[i] = xcb_intern_atom(c, onlyIfExists, uint16_t(std::strlen(names[i])), names[i]);
    std::array<xcb_atom_t, N> atoms {};
    for (size_t i = 0; i < N; ++i) {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
        atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    return atoms;
}

QList<xcb_atom_t> atomListProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property);
// A client message about window to the window manager, which listens on the root window.
void sendToRoot(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5> &data);

} // namespace X11Platform::Connection
