#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end checks of what a first day of use runs into, against the real binary in a private X session.

Usage: rough_e2e.py MIREL_BINARY CASE   (run inside tests/e2e/xsession.sh, which sets DISPLAY)
"""
import json
import os
import subprocess
import sys
import time

from panel_driver import (SCREEN_H, SCREEN_W, STARTED, Failure, Mirel, check, click_to_focus, drag_header, environment,
                          geometry, goals_in, header_point, keys, main, run, wait_until, write_goals)


def mirel(binary, home, *arguments, stdin=None, **extra):
    return subprocess.run([binary, *arguments], env=environment(home, **extra), input=stdin, capture_output=True,
                          text=True, timeout=30)


def is_control(c):
    return ord(c) < 0x20 or 0x7F <= ord(c) <= 0x9F


def case_second_start_then_drag_keeps_the_panel(binary, home):
    # A launcher icon or Open at Login starts the program again while it runs; a drag and a goal added
    # afterwards leave the panel where the drag put it.
    panel = Mirel(binary, home, "--ui-testing")
    check(mirel(binary, home, "--ui-testing").returncode == 0, "the second start failed")
    time.sleep(0.5)
    drag_header(header_point(geometry(panel.window)), -400, -250)
    time.sleep(0.6)
    dragged = geometry(panel.window)
    check(mirel(binary, home, "--ui-testing", "--send", "Water the plants").returncode == 0, "the send failed")
    wait_until("the new goal's row", lambda: geometry(panel.window)[3] >= dragged[3] + 28)
    time.sleep(0.5)
    check(geometry(panel.window)[:2] == dragged[:2],
          f"the panel jumped from {dragged} to {geometry(panel.window)} when the goal was added")


def case_click_edit_then_keys(binary, home):
    # An edit started by a click and ended with Escape leaves the keyboard on that goal: Down moves on to the
    # next one, and Space ticks exactly that one.
    write_goals(home, ["Write the report", "Buy milk", "Call the bank"])
    panel = Mirel(binary, home)
    x, y, _, _ = geometry(panel.window)
    click_to_focus(panel.window, (x + 70, y + 6 + 30 + 14))
    # The editor takes the keyboard 100 ms after it opens, or at the first key typed before then.
    keys("Escape", "Down", "space")
    try:
        wait_until("a goal to be ticked", lambda: any(done for _, done in goals_in(home)))
    except Failure:
        raise Failure(f"Down and Space after the edit changed nothing: {goals_in(home)}") from None
    time.sleep(0.3)
    check([done for _, done in goals_in(home)] == [False, True, False], f"the keys ticked {goals_in(home)}")


def case_unplugged_monitor_leaves_the_panel_on_the_other(binary, home):
    # The screen as two monitors side by side; the panel dragged onto the right one, which is then unplugged
    # and the screen shrunk to the left one: the window manager keeps only a strip of the panel on screen,
    # and the panel comes back wholly onto the remaining monitor. (Xvfb cannot grow its screen, so the two
    # monitors share the one it has.)
    half = SCREEN_W // 2
    run("xrandr", "--setmonitor", "left", f"{half}/190x{SCREEN_H}/238+0+0", "screen")
    run("xrandr", "--setmonitor", "right", f"{half}/190x{SCREEN_H}/238+{half}+0", "none")
    time.sleep(0.5)
    panel = Mirel(binary, home, "--ui-testing")
    drag_header(header_point(geometry(panel.window)), half, -100)
    time.sleep(0.6)
    check(geometry(panel.window)[0] >= half, f"the panel is not on the right monitor: {geometry(panel.window)}")

    run("xrandr", "--delmonitor", "right")
    run("xrandr", "--newmode", "left", "60", str(half), str(half + 40), str(half + 120), str(half + 240),
        str(SCREEN_H), str(SCREEN_H + 3), str(SCREEN_H + 13), str(SCREEN_H + 32))
    run("xrandr", "--addmode", "screen", "left")
    run("xrandr", "--output", "screen", "--mode", "left")
    def wholly_on_screen():
        px, py, pw, ph = geometry(panel.window)
        return px >= 0 and px + pw <= half and py >= 0 and py + ph <= SCREEN_H
    try:
        wait_until("the panel wholly on the remaining monitor", wholly_on_screen)
    except Failure:
        raise Failure(f"the panel stays at {geometry(panel.window)} on a {half} x {SCREEN_H} screen") from None


def case_control_characters_never_reach_the_goals_file(binary, home):
    # Sent as arguments, through standard input, and pasted into the new-goal field.
    panel = Mirel(binary, home, goals="")
    check(mirel(binary, home, "--send", "Tab\there\a \033[31mred\033[0m").returncode == 0, "the send failed")
    check(mirel(binary, home, "--send", stdin="Line\x00one\r\n\x7fLine\x9b1mtwo\x07\n").returncode == 0,
          "the send from standard input failed")
    # xclip stays in the background to hand the clipboard out; the session's end ends it.
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"Pasted\tgoal\x1b[1m\x08", check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5)
    time.sleep(0.5)
    # A click on the header gives the panel the keyboard; Ctrl+N opens the new-goal field.
    click_to_focus(panel.window, header_point(geometry(panel.window)))
    keys("ctrl+n")
    time.sleep(0.4)
    keys("ctrl+v", "Return")
    path = os.path.join(home, "data", "Mirel", "todos.json")
    wait_until("the pasted goal", lambda: len(goals_in(home)) == 4)
    texts = [goal["text"] for goal in json.load(open(path, encoding="utf-8"))]
    check(texts == ["Tab here red", "Lineone", "Linetwo", "Pasted goal"], f"the goals file holds {texts}")
    check(not any(is_control(c) for c in open(path, encoding="utf-8").read()), "a control character is in the file")


def case_pushed_up_panel_comes_back(binary, home):
    # Two tall goals push the panel up from where it opened (a row shows eight lines at most, so one is not
    # enough); once both are deleted, the panel is back there.
    tall = " ".join(["Plan the whole move, box by box, room by room"] * 40)
    panel = Mirel(binary, home, "--ui-testing", goals="\n".join([f"Goal {i}" for i in range(8)] + [tall, tall]))
    opened_top = SCREEN_H - 12 - 400
    x, y, w, h = geometry(panel.window)
    check(y < opened_top and y + h == SCREEN_H - 12, f"the tall goal did not push the panel up: {(x, y, w, h)}")
    # A click on the header gives the panel the keyboard; Up reaches the last goal, and each Delete deletes the
    # focused goal, the focus then moving to the one before it.
    click_to_focus(panel.window, header_point((x, y, w, h)))
    keys("Up", "Delete", "Delete")
    try:
        wait_until("the panel back where it opened", lambda: geometry(panel.window)[1] == opened_top)
    except Failure:
        raise Failure(f"after the delete the panel is at {geometry(panel.window)}, its top not at {opened_top}")
    check(geometry(panel.window)[0] == x, f"the panel moved sideways to {geometry(panel.window)}")


NOTIFICATION_SERVICE = r"""
import json, dbus, dbus.service, dbus.mainloop.glib
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.Notifications", bus)
class Notifications(dbus.service.Object):
    @dbus.service.method("org.freedesktop.Notifications", in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        print(json.dumps([str(app), str(summary), str(body)]), flush=True)
        return 1
Notifications(bus, "/org/freedesktop/Notifications")
print("ready", flush=True)
GLib.MainLoop().run()
"""


def case_failure_shows_as_a_notification(binary, home):
    # Run from a shortcut, standard error goes nowhere: the desktop's notification service shows the message.
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                         capture_output=True, text=True, check=True).stdout.split()
    address, pid = bus[0], int(bus[1])
    try:
        service = subprocess.Popen(["/usr/bin/python3", "-c", NOTIFICATION_SERVICE], stdout=subprocess.PIPE,
                                   text=True, env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address))
        STARTED.append(service)
        check(service.stdout.readline().strip() == "ready", "the notification service did not start")
        result = mirel(binary, home, "--send-selection", DBUS_SESSION_BUS_ADDRESS=address)
        check("no text is selected" in result.stderr, f"standard error said {result.stderr!r}")
        app, summary, body = json.loads(service.stdout.readline())
        check(app == "Mirel" and body == result.stderr.strip().removeprefix("mirel: "),
              f"the notification was {(app, summary, body)}")
    finally:
        os.kill(pid, 15)


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(main(CASES))
