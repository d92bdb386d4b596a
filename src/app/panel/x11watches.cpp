#include "x11watches.h"

#include "x11connection.h"

#include <QGuiApplication>

#include <xcb/xfixes.h>

namespace X11Platform
{

using namespace Connection;

namespace
{

// Sees the application's X events for as long as it lives, and takes none away from Qt, whose own
// clipboard, screen and window handling need them too.
class XcbEventWatch : public QAbstractNativeEventFilter
{
public:
    XcbEventWatch() { qGuiApp->installNativeEventFilter(this); }
    ~XcbEventWatch() override { qGuiApp->removeNativeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(XcbEventWatch)

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType == "xcb_generic_event_t")
            see(static_cast<const xcb_generic_event_t *>(message));
        return false;
    }

private:
    virtual void see(const xcb_generic_event_t *event) = 0;
};

class UnmapWatch final : public XcbEventWatch
{
public:
    UnmapWatch(xcb_window_t window, std::function<void()> onUnmapped)
        : m_window(window)
        , m_onUnmapped(std::move(onUnmapped))
    {
    }

private:
    void see(const xcb_generic_event_t *event) override
    {
        // Sent events are announcements (Qt's own to the root window when it hides), not unmaps.
        if (event->response_type == XCB_UNMAP_NOTIFY
            && reinterpret_cast<const xcb_unmap_notify_event_t *>(event)->window == m_window)
            m_onUnmapped();
    }

    xcb_window_t m_window = XCB_NONE;
    std::function<void()> m_onUnmapped;
};

// XFixes reports every change of the compositing-manager selection's owner, including a compositor that
// exits without giving it up. Qt already listens to the root window's properties, where a compositor
// announces blur.
class CompositorFilter final : public XcbEventWatch
{
public:
    CompositorFilter(xcb_connection_t *c, uint8_t selectionNotify, std::function<void()> onChange)
        : m_root(rootWindow(c))
        , m_selectionNotify(selectionNotify)
        , m_onChange(std::move(onChange))
    {
        const QByteArray selection = compositorSelectionName();
        const auto atoms
            = internAtoms<3>(c, { selection.constData(), "_KDE_NET_WM_BLUR_BEHIND_REGION", "_NET_SUPPORTED" });
        m_selection = atoms[0];
        m_blur = atoms[1];
        m_supported = atoms[2];
        xcb_xfixes_select_selection_input(c, m_root, m_selection,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(c);
    }

private:
    void see(const xcb_generic_event_t *event) override
    {
        const uint8_t type = event->response_type & ~0x80;
        if (type == m_selectionNotify) {
            if (reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event)->selection == m_selection)
                m_onChange();
        } else if (type == XCB_PROPERTY_NOTIFY) {
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (notify->window == m_root && (notify->atom == m_blur || notify->atom == m_supported))
                m_onChange();
        }
    }

    xcb_window_t m_root = XCB_NONE;
    uint8_t m_selectionNotify = 0;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    xcb_atom_t m_blur = XCB_ATOM_NONE;
    xcb_atom_t m_supported = XCB_ATOM_NONE;
    std::function<void()> m_onChange;
};

} // namespace

std::unique_ptr<QAbstractNativeEventFilter> watchUnmaps(const QWindow *window, std::function<void()> onUnmapped)
{
    if (!connection() || !window)
        return nullptr;
    return std::make_unique<UnmapWatch>(xcb_window_t(window->winId()), std::move(onUnmapped));
}

std::unique_ptr<QAbstractNativeEventFilter> watchCompositor(std::function<void()> onChange)
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
    return std::make_unique<CompositorFilter>(
        c, uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY), std::move(onChange));
}

} // namespace X11Platform
