// SPDX-License-Identifier: GPL-3.0-or-later

#include "x11watches.h"

#include "x11connection.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xfixes.h>

namespace X11Platform
{

using namespace Connection;

namespace
{

const xcb_generic_event_t *xcbEvent(const QByteArray &eventType, void *message)
{
    return eventType == "xcb_generic_event_t" ? static_cast<const xcb_generic_event_t *>(message) : nullptr;
}

} // namespace

WindowWatch *WindowWatch::watch(const QWindow *window, QObject *parent)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return nullptr;
    const auto [states] = internAtoms<1>(c, { "_NET_WM_STATE" });
    return new WindowWatch(quint32(window->winId()), states, parent);
}

WindowWatch::WindowWatch(quint32 window, quint32 statesAtom, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_statesAtom(statesAtom)
{
    qGuiApp->installNativeEventFilter(this);
}

WindowWatch::~WindowWatch()
{
    qGuiApp->removeNativeEventFilter(this);
}

bool WindowWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    // Sent events are announcements (Qt's own to the root window when it hides), not unmaps.
    const xcb_generic_event_t *event = xcbEvent(eventType, message);
    if (!event)
        return false;
    if (event->response_type == XCB_UNMAP_NOTIFY
        && reinterpret_cast<const xcb_unmap_notify_event_t *>(event)->window == m_window)
        emit unmapped();
    // Qt selects property changes on its windows.
    const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
    if (event->response_type == XCB_PROPERTY_NOTIFY && property->window == m_window && property->atom == m_statesAtom)
        emit statesChanged();
    return false;
}

CompositorWatch *CompositorWatch::watch(QObject *parent)
{
    xcb_connection_t *c = connection();
    if (!c)
        return nullptr;
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return nullptr;
    // The server answers XFixes requests only from clients that have said which version they speak; saying
    // it is enough, since the server takes a client's requests in order.
    xcb_discard_reply(c, xcb_xfixes_query_version(c, 1, 0).sequence);
    return new CompositorWatch(quint8(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY), parent);
}

// XFixes reports every change of the selection's owner, also when a compositor exits without giving it up.
// Qt already listens to the root window's properties, where a compositor announces blur.
CompositorWatch::CompositorWatch(quint8 selectionNotify, QObject *parent)
    : QObject(parent)
    , m_selectionNotify(selectionNotify)
{
    xcb_connection_t *c = connection();
    m_root = rootWindow(c);
    const QByteArray selection = compositorSelectionName();
    const auto atoms = internAtoms<2>(c, { selection.constData(), "_NET_SUPPORTED" });
    m_selection = atoms[0];
    m_supported = atoms[1];
    m_blur = blurAtom();
    xcb_xfixes_select_selection_input(c, m_root, m_selection,
        XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
            | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    qGuiApp->installNativeEventFilter(this);
}

CompositorWatch::~CompositorWatch()
{
    qGuiApp->removeNativeEventFilter(this);
}

bool CompositorWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    const xcb_generic_event_t *event = xcbEvent(eventType, message);
    if (!event)
        return false;
    const uint8_t type = event->response_type & ~0x80;
    if (type == m_selectionNotify) {
        if (reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event)->selection == m_selection)
            emit changed();
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        if (notify->window != m_root)
            return false;
        // Until a program names the blur property it cannot be on the root window; the first one may be the
        // compositor that is about to set it.
        if (m_blur == XCB_ATOM_NONE && notify->atom != m_supported)
            m_blur = blurAtom();
        if (notify->atom == m_blur || notify->atom == m_supported)
            emit changed();
    }
    return false;
}

quint32 CompositorWatch::blurAtom() const
{
    // Asked as supportsBlurBehind() asks: watching must not create the atom that tells whether blur is offered.
    return internAtoms<1>(connection(), { "_KDE_NET_WM_BLUR_BEHIND_REGION" }, true)[0];
}

} // namespace X11Platform
