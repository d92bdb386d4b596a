// SPDX-License-Identifier: GPL-3.0-or-later

#include "x11focus.h"

#include "x11connection.h"

#include <algorithm>
#include <array>

namespace X11Platform
{

using namespace Connection;

namespace
{

// WM_HINTS as ICCCM lays it out: nine 32-bit fields, the first saying which of the others count.
constexpr uint32_t WmHintsFieldCount = 9;
constexpr uint32_t InputHintFlag = 1;
constexpr uint32_t WmHintsInputField = 1;
constexpr uint32_t WindowGroupHintFlag = 1 << 6;
constexpr uint32_t WmHintsWindowGroupField = 8;

// Sets one field of WM_HINTS, with the flag that makes it count, and keeps the others.
void changeWmHints(xcb_connection_t *c, xcb_window_t id, uint32_t flag, uint32_t field, uint32_t value)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, WmHintsFieldCount), nullptr));
    std::array<uint32_t, WmHintsFieldCount> hints {};
    if (reply && reply->format == 32) {
        const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        std::copy_n(
            values, std::min<size_t>(WmHintsFieldCount, xcb_get_property_value_length(reply.get()) / 4), hints.begin());
    }
    hints[0] |= flag;
    hints[field] = value;
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, WmHintsFieldCount, hints.data());
    xcb_flush(c);
}

// Asks the window manager to activate the window and sets the focus directly too, as the request is only a request.
void activate(const QWindow *window, uint32_t source, uint32_t requestTime, uint32_t focusTime)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const auto [activeWindow] = internAtoms<1>(c, { "_NET_ACTIVE_WINDOW" });
    sendToRoot(c, id, activeWindow, { source, requestTime, XCB_NONE, 0, 0 });
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, id, focusTime);
    xcb_flush(c);
}

} // namespace

void setNeverFocused(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto [protocols, takeFocus] = internAtoms<2>(c, { "WM_PROTOCOLS", "WM_TAKE_FOCUS" });
    const auto id = xcb_window_t(window->winId());
    QList<xcb_atom_t> kept = atomListProperty(c, id, protocols);
    kept.removeAll(takeFocus);
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, id, protocols, XCB_ATOM_ATOM, 32, uint32_t(kept.size()), kept.constData());
    xcb_flush(c);
}

void setAcceptsFocus(const QWindow *window, bool accepts)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    changeWmHints(c, xcb_window_t(window->winId()), InputHintFlag, WmHintsInputField, accepts ? 1 : 0);
}

void setOwnWindowGroup(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    changeWmHints(c, id, WindowGroupHintFlag, WmHintsWindowGroupField, id);
}

void takeFocus(const QWindow *window, uint32_t pressTime)
{
    activate(window, SourceApplication, pressTime, pressTime);
}

void activateForUser(const QWindow *window, uint32_t userTime)
{
    // The user's time may predate the last focus change the server saw, which would void the direct focus.
    activate(window, SourcePager, userTime, XCB_CURRENT_TIME);
}

quint32 activeWindow()
{
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    const auto [active] = internAtoms<1>(c, { "_NET_ACTIVE_WINDOW" });
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, false, rootWindow(c), active, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4)
        return 0;
    return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
}

void activateOtherWindow(quint32 window, uint32_t userTime)
{
    xcb_connection_t *c = connection();
    if (!c || window == XCB_NONE)
        return;
    const auto [activeWindow] = internAtoms<1>(c, { "_NET_ACTIVE_WINDOW" });
    sendToRoot(c, window, activeWindow, { SourcePager, userTime, XCB_NONE, 0, 0 });
    xcb_flush(c);
}
} // namespace X11Platform
