#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the keyboard is after the panel is activated by a click on its header, as a screen reader hears it
over a private D-Bus session and accessibility bus.   Usage: focus_e2e.py MIREL_BINARY CASE   (inside xsession.sh)"""
import os
import sys
import tempfile
import time

from accessibility_bus import accessibility_bus, tree
from panel_driver import (Mirel, check, focused_window, geometry, header_point, outcome, run, start_other_window,
                          wait_until, write_goals)

def heard(nodes):
    return ", ".join(f"{node.getRoleName()} {node.name!r}" for node in nodes)


def case_header_click_focuses_no_control(binary, home, pyatspi, GLib):
    """Activated by a click on its header, the panel gives no control the keyboard: no control is announced as
    focused, a Space then changes neither the goals nor what the panel shows, and Tab reaches the first control."""
    goals_file = write_goals(home, ["Write the report", "Buy milk"])
    stored = open(goals_file, encoding="utf-8").read()
    start_other_window()
    os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    mirel = Mirel(binary, home)
    panel = lambda: next((app for app in pyatspi.Registry.getDesktop(0) if app and app.name == "Mirel"), None)
    wait_until("the panel on the accessibility bus", panel, timeout=10.0)
    shown = lambda: sorted((node.getRoleName(), node.name, node.getState().contains(pyatspi.STATE_CHECKED))
                           for node in tree(panel()) if node.getState().contains(pyatspi.STATE_SHOWING))
    before = shown()

    events = []
    # The panel's root, right under its window, holds the keyboard while no control does: the keys act on
    # the panel as a whole (Up, Down, Tab reach its controls), and it has no name of its own to announce.
    is_control = lambda node: node.parent.getRoleName() != "frame"
    listener = lambda event: event.detail1 and events.append(event.source)
    pyatspi.Registry.registerEventListener(listener, "object:state-changed:focused")
    context = GLib.MainContext.default()
    pump = lambda seconds: [context.iteration(False) or time.sleep(0.01) for _ in range(int(seconds * 100))]

    frame = geometry(mirel.window)
    run("xdotool", "mousemove", *map(str, header_point(frame)), "click", "1")
    wait_until("the panel's focus", lambda: focused_window() == mirel.window)
    # Away from the panel, where a person reading with a screen reader may well leave the pointer.
    run("xdotool", "mousemove", "5", "5")
    pump(1.0)
    focused = [node for node in tree(panel()) if node.getState().contains(pyatspi.STATE_FOCUSED)]
    check(not [node for node in events if is_control(node)], f"announced as focused: {heard(events)}")
    check(not [node for node in focused if is_control(node)], f"focused after the header click: {heard(focused)}")

    run("xdotool", "key", "space")
    pump(0.6)
    check(open(goals_file, encoding="utf-8").read() == stored, "a space changed the goals file")
    check(shown() == before, f"a space changed the panel: {before} became {shown()}")
    check(geometry(mirel.window) == frame, "a space changed the panel's size")

    # A key moves the keyboard to the first control, and that is what is heard.
    events.clear()
    run("xdotool", "key", "Tab")
    pump(0.6)
    check([(node.getRoleName(), node.name) for node in events] == [("push button", "Add goal")],
          f"Tab announced {heard(events)}")


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


def main():
    binary, case = sys.argv[1], sys.argv[2]
    def body():
        with accessibility_bus() as bus, tempfile.TemporaryDirectory(prefix="mirel-focus-") as home:
            CASES[case](binary, home, bus.pyatspi, bus.GLib)
    return outcome(case, body)


if __name__ == "__main__":
    sys.exit(main())
