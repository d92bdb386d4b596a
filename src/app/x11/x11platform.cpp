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
