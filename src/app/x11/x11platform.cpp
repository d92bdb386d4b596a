// SPDX-License-Identifier: GPL-3.0-or-later

#include "x11platform.h"

#include "x11connection.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>

namespace X11Platform
{

using namespace Connection;

namespace
{

// Source indication of client messages: a normal application asks, not a pager.
constexpr uint32_t SourceApplication = 1;
// A pager or taskbar asks on the user's behalf.
constexpr uint32_t SourcePager = 2;
constexpr uint32_t NetWmStateAdd = 1;
constexpr uint32_t AllDesktops = 0xFFFFFFFF;

enum PanelAtom { WmState, Above, Sticky, SkipTaskbar, SkipPager, WmDesktop, PanelAtomCount };

constexpr std::array<const char *, PanelAtomCount> PanelAtomNames { "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_DESKTOP" };

// The hints and states the window manager says it supports (_NET_SUPPORTED).
QList<xcb_atom_t> supportedAtoms(xcb_connection_t *c)
{
    const auto [supported] = internAtoms<1>(c, { "_NET_SUPPORTED" });
    return atomListProperty(c, rootWindow(c), supported);
}

enum class MissingStates { UnknownToWindowManager, All };

// Asks again for those of the panel's states that its state property lacks, and tells whether any did. A
// window manager grants only the states it knows: the others the panel puts in the property itself, for the
// taskbars and pagers that read them there, since the window manager clears them with the rest whenever it
// lets the window go, also after the panel had written them anew while it was busy.
bool requestMissingStates(
    xcb_connection_t *c, xcb_window_t id, const std::array<xcb_atom_t, PanelAtomCount> &atoms, MissingStates which)
{
    const QList<xcb_atom_t> supported = supportedAtoms(c);
    const QList<xcb_atom_t> states = atomListProperty(c, id, atoms[WmState]);
    bool anyMissing = false;
    QList<xcb_atom_t> unknown;
    for (const PanelAtom state : { Above, Sticky, SkipTaskbar, SkipPager }) {
        if (states.contains(atoms[state]))
            continue;
        anyMissing = true;
        if (!supported.contains(atoms[state]))
            unknown.append(atoms[state]);
        else if (which == MissingStates::All)
            sendToRoot(c, id, atoms[WmState], { NetWmStateAdd, atoms[state], 0, SourceApplication, 0 });
    }
    // Appended, so that a change the window manager makes meanwhile stays.
    if (!unknown.isEmpty())
        xcb_change_property(c, XCB_PROP_MODE_APPEND, id, atoms[WmState], XCB_ATOM_ATOM, 32, uint32_t(unknown.size()),
            unknown.constData());
    xcb_flush(c);
    return anyMissing;
}

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
    const auto [selection] = internAtoms<1>(c, { name.constData() });
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_NONE;
}

bool supportsBlurBehind()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    // An atom nobody ever interned cannot be supported; asking so (as the compositor watch does) leaves it uncreated.
    const auto [blur] = internAtoms<1>(c, { "_KDE_NET_WM_BLUR_BEHIND_REGION" }, true);
    if (blur == XCB_ATOM_NONE)
        return false;
    // A compositor that can blur says so by a root window property of that name, others through _NET_SUPPORTED.
    const auto [supported] = internAtoms<1>(c, { "_NET_SUPPORTED" });
    const xcb_window_t root = rootWindow(c);
    const xcb_list_properties_cookie_t propertiesAsked = xcb_list_properties(c, root);
    const xcb_get_property_cookie_t supportedAsked
        = xcb_get_property(c, false, root, supported, XCB_ATOM_ATOM, 0, 4096);
    const Reply<xcb_list_properties_reply_t> properties(xcb_list_properties_reply(c, propertiesAsked, nullptr));
    const Reply<xcb_get_property_reply_t> supportedList(xcb_get_property_reply(c, supportedAsked, nullptr));
    if (properties) {
        const xcb_atom_t *names = xcb_list_properties_atoms(properties.get());
        const xcb_atom_t *end = names + xcb_list_properties_atoms_length(properties.get());
        if (std::find(names, end, blur) != end)
            return true;
    }
    return atomList(supportedList.get()).contains(blur);
}

QString windowManagerName()
{
    xcb_connection_t *c = connection();
    if (!c)
        return {};
    const auto [check, name, utf8] = internAtoms<3>(c, { "_NET_SUPPORTING_WM_CHECK", "_NET_WM_NAME", "UTF8_STRING" });
    const Reply<xcb_get_property_reply_t> checkWindow(
        xcb_get_property_reply(c, xcb_get_property(c, false, rootWindow(c), check, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!checkWindow || checkWindow->format != 32 || xcb_get_property_value_length(checkWindow.get()) != 4)
        return {};
    const auto wm = *static_cast<const xcb_window_t *>(xcb_get_property_value(checkWindow.get()));
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, false, wm, name, utf8, 0, 64), nullptr));
    if (!reply || reply->format != 8)
        return {};
    return QString::fromUtf8(
        static_cast<const char *>(xcb_get_property_value(reply.get())), xcb_get_property_value_length(reply.get()));
}

void internAtomsBeforeMap()
{
    if (xcb_connection_t *c = connection()) {
        const QByteArray selection = compositorSelectionName();
        std::array<const char *, 4 + PanelAtomCount> names { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "_NET_SUPPORTED",
            selection.constData() };
        std::copy(PanelAtomNames.cbegin(), PanelAtomNames.cend(), names.begin() + 4);
        internAtoms(c, names);
    }
}

void setFloatingPanelProperties(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto atoms = internAtoms(c, PanelAtomNames);
    const auto id = xcb_window_t(window->winId());
    // Qt merges its own states into this property when it maps the window, so the list is kept whole.
    QList<xcb_atom_t> states = atomListProperty(c, id, atoms[WmState]);
    for (const PanelAtom state : { Above, Sticky, SkipTaskbar, SkipPager }) {
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
    const auto atoms = internAtoms(c, PanelAtomNames);
    const auto id = xcb_window_t(window->winId());
    // Each message carries at most two states.
    sendToRoot(c, id, atoms[WmState], { NetWmStateAdd, atoms[Above], atoms[Sticky], SourceApplication, 0 });
    sendToRoot(c, id, atoms[WmState], { NetWmStateAdd, atoms[SkipTaskbar], atoms[SkipPager], SourceApplication, 0 });
    sendToRoot(c, id, atoms[WmDesktop], { AllDesktops, SourceApplication, 0, 0, 0 });
    requestMissingStates(c, id, atoms, MissingStates::UnknownToWindowManager);
}

bool requestMissingFloatingPanelStates(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return false;
    return requestMissingStates(c, xcb_window_t(window->winId()), internAtoms(c, PanelAtomNames), MissingStates::All);
}

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

void raiseForUser(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const auto [restack] = internAtoms<1>(c, { "_NET_RESTACK_WINDOW" });
    if (supportedAtoms(c).contains(restack)) {
        sendToRoot(c, id, restack, { SourcePager, XCB_NONE, XCB_STACK_MODE_ABOVE, 0, 0 });
    } else {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    }
    xcb_flush(c);
}

void mapAgain(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    // The time of the last press in the panel predates the user's actions elsewhere since, so a window
    // manager that takes the window on anew would count it as refused activation and mark it as demanding
    // attention. Without a time it is a program's only window starting up. Qt keeps the time on a window of
    // its own where the window manager reads it there.
    const auto [userTime, userTimeWindow] = internAtoms<2>(c, { "_NET_WM_USER_TIME", "_NET_WM_USER_TIME_WINDOW" });
    const Reply<xcb_get_property_reply_t> timeWindow(
        xcb_get_property_reply(c, xcb_get_property(c, false, id, userTimeWindow, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (timeWindow && timeWindow->format == 32 && xcb_get_property_value_length(timeWindow.get()) == 4)
        xcb_delete_property(c, *static_cast<const xcb_window_t *>(xcb_get_property_value(timeWindow.get())), userTime);
    xcb_delete_property(c, id, userTime);
    xcb_map_window(c, id);
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
    const auto [blur] = internAtoms<1>(c, { "_KDE_NET_WM_BLUR_BEHIND_REGION" });
    QList<uint32_t> rects;
    for (const QRect &rect : region)
        rects << uint32_t(rect.x()) << uint32_t(rect.y()) << uint32_t(rect.width()) << uint32_t(rect.height());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), blur, XCB_ATOM_CARDINAL, 32,
        uint32_t(rects.size()), rects.constData());
    xcb_flush(c);
}

} // namespace X11Platform
