// SPDX-License-Identifier: GPL-3.0-or-later

#include "x11connection.h"

#include <QGuiApplication>
#include <QHash>
#include <QVarLengthArray>

#include <algorithm>

namespace X11Platform::Connection
{

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// Qt opens the display named by $DISPLAY and works on its default screen; so does this file.
int screenNumber()
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    const bool parsed = xcb_parse_display(nullptr, &host, &display, &screen) != 0;
    std::free(host);
    return parsed ? screen : 0;
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = screenNumber(); i > 0 && it.rem > 1; --i)
        xcb_screen_next(&it);
    return it.data ? it.data->root : XCB_NONE;
}

void internAtoms(xcb_connection_t *c, const char *const *names, xcb_atom_t *atoms, size_t count, bool onlyIfExists)
{
    // An atom keeps its number for the server's lifetime, and the panel's conversations ask for the same few
    // names again and again; each round trip before the first map delays the first frame.
    static xcb_connection_t *knownFor = nullptr;
    static QHash<QByteArray, xcb_atom_t> known;
    if (knownFor != c) {
        known.clear();
        knownFor = c;
    }
    QList<QByteArray> unknown;
    for (size_t i = 0; i < count; ++i) {
        const QByteArray name(names[i]);
        if (!known.contains(name) && !unknown.contains(name))
            unknown.append(name);
    }
    QVarLengthArray<xcb_intern_atom_cookie_t, 8> cookies;
    for (const QByteArray &name : std::as_const(unknown))
        cookies.append(xcb_intern_atom(c, onlyIfExists, uint16_t(name.size()), name.constData()));
    for (qsizetype i = 0; i < unknown.size(); ++i) {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
        if (reply && reply->atom != XCB_ATOM_NONE)
            known.insert(unknown[i], reply->atom);
    }
    for (size_t i = 0; i < count; ++i)
        atoms[i] = known.value(QByteArray(names[i]), XCB_ATOM_NONE);
}

QList<xcb_atom_t> atomListProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, false, window, property, XCB_ATOM_ATOM, 0, 4096), nullptr));
    return atomList(reply.get());
}

QList<xcb_atom_t> atomList(const xcb_get_property_reply_t *reply)
{
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return {};
    const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
    return QList<xcb_atom_t>(data, data + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
}

void sendToRoot(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5> &data)
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.cbegin(), data.cend(), event.data.data32);
    xcb_send_event(c, false, rootWindow(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&event));
}

QByteArray compositorSelectionName()
{
    return "_NET_WM_CM_S" + QByteArray::number(screenNumber());
}

} // namespace X11Platform::Connection
