#include "x11platform.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace X11Platform {

namespace {

// Source indication of client messages: a normal application asks, not a pager.
constexpr uint32_t SourceApplication = 1;
// A pager or taskbar asks on the user's behalf.
constexpr uint32_t SourcePager = 2;
constexpr uint32_t NetWmStateAdd = 1;
constexpr uint32_t AllDesktops = 0xFFFFFFFF;

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

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

// Asks for all names first and then collects the answers, one round trip for the lot.
template<size_t N>
std::array<xcb_atom_t, N> internAtoms(
    xcb_connection_t *c, const std::array<const char *, N> &names, bool onlyIfExists = false)
{
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (size_t i = 0; i < N; ++i)
        cookies[i] = xcb_intern_atom(c, onlyIfExists, uint16_t(std::strlen(names[i])), names[i]);
    std::array<xcb_atom_t, N> atoms{};
    for (size_t i = 0; i < N; ++i) {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
        atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    return atoms;
}

QList<xcb_atom_t> atomListProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, false, window, property, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return {};
    const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    return QList<xcb_atom_t>(data, data + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t));
}

void sendToRoot(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5> &data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.cbegin(), data.cend(), event.data.data32);
    xcb_send_event(c, false, rootWindow(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&event));
}

enum PanelAtom { WmState, Above, Sticky, SkipTaskbar, SkipPager, WmDesktop, PanelAtomCount };

std::array<xcb_atom_t, PanelAtomCount> panelAtoms(xcb_connection_t *c)
{
    return internAtoms<PanelAtomCount>(c,
        { "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
            "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_DESKTOP" });
}

// WM_HINTS as ICCCM lays it out: nine 32-bit fields, the first saying which of the others count.
constexpr uint32_t WmHintsFieldCount = 9;
constexpr uint32_t InputHintFlag = 1;
constexpr uint32_t WmHintsInputField = 1;

class UnmapWatch final : public QAbstractNativeEventFilter
{
public:
    UnmapWatch(xcb_window_t window, std::function<void()> onUnmapped)
        : m_window(window)
        , m_onUnmapped(std::move(onUnmapped))
    {
        qGuiApp->installNativeEventFilter(this);
    }
    ~UnmapWatch() override { qGuiApp->removeNativeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(UnmapWatch)

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        // Sent events are announcements (Qt's own to the root window when it hides), not unmaps.
        if (event->response_type != XCB_UNMAP_NOTIFY)
            return false;
        if (reinterpret_cast<const xcb_unmap_notify_event_t *>(event)->window == m_window)
            m_onUnmapped();
        return false;
    }

private:
    xcb_window_t m_window = XCB_NONE;
    std::function<void()> m_onUnmapped;
};

} // namespace

namespace {

QByteArray compositorSelectionName()
{
    return "_NET_WM_CM_S" + QByteArray::number(screenNumber());
}

// XFixes reports every change of the compositing-manager selection's owner, including a compositor that
// exits without giving it up. Qt already listens to the root window's properties, where a compositor
// announces blur.
class CompositorFilter final : public QAbstractNativeEventFilter {
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
        qGuiApp->installNativeEventFilter(this);
    }
    ~CompositorFilter() override { qGuiApp->removeNativeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(CompositorFilter)

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const uint8_t type = event->response_type & ~0x80;
        if (type == m_selectionNotify) {
            if (reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event)->selection == m_selection)
                m_onChange();
        } else if (type == XCB_PROPERTY_NOTIFY) {
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (notify->window == m_root && (notify->atom == m_blur || notify->atom == m_supported))
                m_onChange();
        }
        // Qt's own clipboard and screen handling see these events too.
        return false;
    }

private:
    xcb_window_t m_root = XCB_NONE;
    uint8_t m_selectionNotify = 0;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    xcb_atom_t m_blur = XCB_ATOM_NONE;
    xcb_atom_t m_supported = XCB_ATOM_NONE;
    std::function<void()> m_onChange;
};

} // namespace

void preferXWaylandInWaylandSessions()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

bool isActive()
{
    return connection() != nullptr;
}

bool hasCompositor()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const QByteArray name = compositorSelectionName();
    const auto [selection] = internAtoms<1>(c, {name.constData()});
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_NONE;
}

bool supportsBlurBehind()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    // An atom nobody ever interned cannot be supported; asking this way avoids creating it.
    const auto [blur] = internAtoms<1>(c, {"_KDE_NET_WM_BLUR_BEHIND_REGION"}, true);
    if (blur == XCB_ATOM_NONE)
        return false;
    // A compositor that can blur says so by a property of that name on the root window, others through
    // _NET_SUPPORTED.
    const xcb_window_t root = rootWindow(c);
    const Reply<xcb_list_properties_reply_t> properties(
        xcb_list_properties_reply(c, xcb_list_properties(c, root), nullptr));
    if (properties) {
        const xcb_atom_t *names = xcb_list_properties_atoms(properties.get());
        if (std::find(names, names + xcb_list_properties_atoms_length(properties.get()), blur)
            != names + xcb_list_properties_atoms_length(properties.get()))
            return true;
    }
    const auto [supported] = internAtoms<1>(c, {"_NET_SUPPORTED"});
    return atomListProperty(c, root, supported).contains(blur);
}

void setFloatingPanelProperties(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto atoms = panelAtoms(c);
    const auto id = xcb_window_t(window->winId());
    // Qt merges its own states into this property when it maps the window, so the list is kept whole.
    QList<xcb_atom_t> states = atomListProperty(c, id, atoms[WmState]);
    for (const PanelAtom state : {Above, Sticky, SkipTaskbar, SkipPager}) {
        if (!states.contains(atoms[state]))
            states.append(atoms[state]);
    }
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, id, atoms[WmState], XCB_ATOM_ATOM, 32, uint32_t(states.size()), states.constData());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atoms[WmDesktop], XCB_ATOM_CARDINAL, 32, 1, &AllDesktops);
    xcb_flush(c);
}

void requestFloatingPanelState(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto atoms = panelAtoms(c);
    const auto id = xcb_window_t(window->winId());
    // Each message carries at most two states.
    sendToRoot(c, id, atoms[WmState], {NetWmStateAdd, atoms[Above], atoms[Sticky], SourceApplication, 0});
    sendToRoot(c, id, atoms[WmState], {NetWmStateAdd, atoms[SkipTaskbar], atoms[SkipPager], SourceApplication, 0});
    sendToRoot(c, id, atoms[WmDesktop], {AllDesktops, SourceApplication, 0, 0, 0});
    xcb_flush(c);
}

void setNeverFocused(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto [protocols, takeFocus] = internAtoms<2>(c, {"WM_PROTOCOLS", "WM_TAKE_FOCUS"});
    const auto id = xcb_window_t(window->winId());
    QList<xcb_atom_t> kept = atomListProperty(c, id, protocols);
    kept.removeAll(takeFocus);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, protocols, XCB_ATOM_ATOM, 32, uint32_t(kept.size()),
                        kept.constData());
    xcb_flush(c);
}

void setAcceptsFocus(const QWindow *window, bool accepts)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, WmHintsFieldCount), nullptr));
    std::array<uint32_t, WmHintsFieldCount> hints {};
    if (reply && reply->format == 32) {
        const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        std::copy_n(
            values, std::min<size_t>(WmHintsFieldCount, xcb_get_property_value_length(reply.get()) / 4), hints.begin());
    }
    hints[0] |= InputHintFlag;
    hints[WmHintsInputField] = accepts ? 1 : 0;
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, WmHintsFieldCount, hints.data());
    xcb_flush(c);
}

void takeFocus(const QWindow *window, uint32_t pressTime)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const auto [activeWindow] = internAtoms<1>(c, { "_NET_ACTIVE_WINDOW" });
    sendToRoot(c, id, activeWindow, { SourceApplication, pressTime, XCB_NONE, 0, 0 });
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, id, pressTime);
    xcb_flush(c);
}

void activateForUser(const QWindow *window, uint32_t userTime)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const auto [activeWindow] = internAtoms<1>(c, { "_NET_ACTIVE_WINDOW" });
    sendToRoot(c, id, activeWindow, { SourcePager, userTime, XCB_NONE, 0, 0 });
    // The user's time may predate the last focus change the server saw, which would void the request.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, id, XCB_CURRENT_TIME);
    xcb_flush(c);
}

std::unique_ptr<QAbstractNativeEventFilter> watchUnmaps(const QWindow *window, std::function<void()> onUnmapped)
{
    if (!connection() || !window)
        return nullptr;
    return std::make_unique<UnmapWatch>(xcb_window_t(window->winId()), std::move(onUnmapped));
}

void mapAgain(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    xcb_map_window(c, xcb_window_t(window->winId()));
    xcb_flush(c);
}

bool isShowingDesktop()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const auto [showing] = internAtoms<1>(c, { "_NET_SHOWING_DESKTOP" });
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, rootWindow(c), showing, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    return reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 4
        && *static_cast<const uint32_t *>(xcb_get_property_value(reply.get())) != 0;
}

void stopShowingDesktop()
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const auto [showing] = internAtoms<1>(c, { "_NET_SHOWING_DESKTOP" });
    sendToRoot(c, rootWindow(c), showing, { 0, 0, 0, 0, 0 });
    xcb_flush(c);
}

void setBlurBehindRegion(const QWindow *window, const QRegion &region)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto [blur] = internAtoms<1>(c, {"_KDE_NET_WM_BLUR_BEHIND_REGION"});
    QList<uint32_t> rects;
    for (const QRect &rect : region)
        rects << uint32_t(rect.x()) << uint32_t(rect.y()) << uint32_t(rect.width()) << uint32_t(rect.height());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), blur, XCB_ATOM_CARDINAL, 32,
        uint32_t(rects.size()), rects.constData());
    xcb_flush(c);
}

std::unique_ptr<QAbstractNativeEventFilter> watchCompositor(std::function<void()> onChange)
{
    xcb_connection_t *c = connection();
    if (!c)
        return nullptr;
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return nullptr;
    // The server answers XFixes requests only from clients that have said which version they speak.
    const Reply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 1, 0), nullptr));
    if (!version)
        return nullptr;
    return std::make_unique<CompositorFilter>(
        c, uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY), std::move(onChange));
}

} // namespace X11Platform
