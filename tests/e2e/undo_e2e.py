#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Undo and redo from the keys and the panel menu, removing the done goals, and clearing them when a day
begins, against the real binary in a private X session; the menu is used as a screen reader uses it.

Usage: undo_e2e.py MIREL_BINARY CASE   (inside xsession.sh; the system's interpreter, for pyatspi)
"""
import contextlib
import json
import os
import sys
import time

from accessibility_bus import accessibility_bus
from panel_driver import (Failure, Mirel, Skipped, check, click_to_focus, header_point, geometry, keys, main, run, send,
                          settings, wait_until)

GOALS = ["Write the report", "Buy milk", "Call the bank"]
IDS = ["00000000-0000-4000-8000-00000000000%d" % i for i in range(len(GOALS))]
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"


def write_goals(home, done=()):
    path = os.path.join(home, "data", "Mirel", "todos.json")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as file:
        json.dump([{"id": IDS[i], "text": text, "completed": text in done, "order": i,
                    "createdAt": "2026-12-01T09:00:00Z"} for i, text in enumerate(GOALS)], file)


def stored(home):
    """The goals file as (id's last digit or the text of a new goal, text, done), in list order."""
    path = os.path.join(home, "data", "Mirel", "todos.json")
    todos = sorted(json.load(open(path, encoding="utf-8")), key=lambda todo: todo["order"])
    return [(IDS.index(t["id"]) if t["id"] in IDS else None, t["text"], t["completed"]) for t in todos]


def expect(home, what, goals):
    """Waits for the goals file to hold `goals`, each a text with a * when done, with the original ids."""
    wanted = [(GOALS.index(g.rstrip("*")) if g.rstrip("*") in GOALS else None, g.rstrip("*"), g.endswith("*"))
              for g in goals]
    try:
        wait_until(what, lambda: stored(home) == wanted)
    except Failure:
        raise Failure(f"{what}: the goals file holds {stored(home)}, not {wanted}") from None


def focus_panel(mirel):
    click_to_focus(mirel.window, header_point(geometry(mirel.window)))
    run("xdotool", "mousemove", "5", "5")


@contextlib.contextmanager
def screen_reader():
    """A private accessibility bus; yields a Reader."""
    with accessibility_bus() as bus:
        yield Reader(bus.pyatspi)


class Reader:
    """What a screen reader hears: pyatspi, and the objects that took the focus or showed, newest last."""

    def __init__(self, pyatspi):
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.focused = []
        self.context = GLib.MainContext.default()
        pyatspi.Registry.registerEventListener(self.heard, "object:state-changed:focused",
                                               "object:state-changed:showing")

    def heard(self, event):
        if event.detail1:
            self.focused.append(event.source)

    def menu(self):
        for _ in range(50):
            self.context.iteration(False)
        for source in reversed(self.focused):
            try:
                if source.getRoleName() == "menu item":
                    return [node for node in source.parent if node is not None]
                if source.getRoleName() == "popup menu":
                    return [node for node in source if node is not None]
            except Exception:  # a menu closed since: its items are gone from the bus
                pass
        return []


def menu_item(reader, mirel, name):
    """Opens the panel menu with a right click and finds its item by name, as a screen reader does: a popup
    menu is no child of the application in the tree, so the way in is its event of showing, or the focus
    event of its first item."""
    reader.focused.clear()
    run("xdotool", "mousemove", *map(str, header_point(geometry(mirel.window))), "click", "3")
    time.sleep(0.4)
    for _ in range(3):
        try:
            return wait_until(f"the menu item {name}",
                              lambda: next((n for n in reader.menu() if n.name == name), None), timeout=1.5)
        except Failure:
            keys("Down")
    raise Failure(f"no menu item {name!r} among {[n.name for n in reader.menu()]}")


def choose(item):
    action = item.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))


def panel_env():
    return {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


def faketime(moment):
    """The panel's environment with its clock starting at `moment`, local time in Berlin."""
    # The library rather than the faketime command, which would take the signal to stop in the panel's place.
    # A zone with its own offset from UTC, so that a day start computed in UTC would show.
    # File times stay real: shifted, they make fontconfig take every font cache for stale and parse every font
    # again at each start, which on a loaded machine takes longer than any wait for the panel.
    return dict(panel_env(), TZ="Europe/Berlin", LD_PRELOAD=FAKETIME, FAKETIME=f"@{moment}", NO_FAKE_STAT="1")


def case_undo_and_redo_by_keys(binary, home):
    write_goals(home)
    mirel = Mirel(binary, home)
    focus_panel(mirel)
    keys("Down", "Delete")
    expect(home, "the delete", GOALS[1:])
    keys("ctrl+z")
    expect(home, "the undone delete", GOALS)
    keys("ctrl+shift+z")
    expect(home, "the redone delete", GOALS[1:])
    keys("ctrl+z")
    expect(home, "the delete undone again", GOALS)

    # The focus stays with the goal it was on; Up from there reaches the first goal.
    keys("Up", "Up", "Up", "space")
    expect(home, "the tick", ["Write the report*", *GOALS[1:]])
    keys("ctrl+z")
    expect(home, "the undone tick", GOALS)
    keys("F2")
    time.sleep(0.3)
    keys("ctrl+a")
    run("xdotool", "type", "--delay", "20", "Write the memo")
    keys("Return")
    wait_until("the edit", lambda: stored(home)[0][1] == "Write the memo")
    keys("ctrl+z")
    expect(home, "the undone edit", GOALS)
    keys("alt+Down")
    expect(home, "the move", [GOALS[1], GOALS[0], GOALS[2]])
    keys("ctrl+z")
    expect(home, "the undone move", GOALS)
    keys("ctrl+y")
    expect(home, "the redone move", [GOALS[1], GOALS[0], GOALS[2]])

    check(send(binary, home, "Eggs\nTea").returncode == 0, "the send failed")
    expect(home, "the send", [GOALS[1], GOALS[0], GOALS[2], "Eggs", "Tea"])
    keys("ctrl+z")
    expect(home, "the undone send", [GOALS[1], GOALS[0], GOALS[2]])


def case_remove_done_goals_and_undo_from_the_menu(binary, home):
    write_goals(home, done={"Write the report", "Call the bank"})
    with screen_reader() as reader:
        mirel = Mirel(binary, home, env=panel_env())
        undo = menu_item(reader, mirel, "Undo")
        check(not undo.getState().contains(reader.pyatspi.STATE_ENABLED), "Undo is enabled with nothing to undo")
        keys("Escape")
        choose(menu_item(reader, mirel, "Remove Done Goals"))
        expect(home, "the removal", ["Buy milk"])
        choose(menu_item(reader, mirel, "Undo Remove Done Goals"))
        expect(home, "the undone removal", ["Write the report*", "Buy milk", "Call the bank*"])


def case_clear_done_goals_each_day(binary, home):
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    write_goals(home, done={"Write the report", "Call the bank"})
    with screen_reader() as reader:
        # Turned on in the evening: what is done by then stays until the morning.
        mirel = Mirel(binary, home, env=faketime("2026-12-08 20:00:00"))
        choose(menu_item(reader, mirel, "Clear Done Goals Each Day"))
        wait_until("the preference", lambda: settings(mirel.user_file()).get("clearDoneGoalsEachDay") == "true")
        time.sleep(0.5)
        expect(home, "the goals once it is on", ["Write the report*", "Buy milk", "Call the bank*"])
        mirel.stop()

    mirel = Mirel(binary, home, env=faketime("2026-12-09 09:00:00"))
    expect(home, "the next morning's start", ["Buy milk"])
    focus_panel(mirel)
    keys("Down", "space")
    expect(home, "the morning's tick", ["Buy milk*"])
    mirel.stop()

    mirel = Mirel(binary, home, env=faketime("2026-12-09 18:00:00"))
    time.sleep(1)
    expect(home, "a restart later that day", ["Buy milk*"])
    mirel.stop()

    # The faked clock runs while the panel starts, which on a loaded machine takes seconds: the panel starts half
    # a minute before the day does, and what it holds before then is looked at only while that time is not up.
    started = time.monotonic()
    mirel = Mirel(binary, home, env=faketime("2026-12-10 03:59:30"))
    if time.monotonic() - started < 25:
        check(stored(home) == [(1, "Buy milk", True)], f"cleared before the day began: {stored(home)}")
    wait_until("the clearing at 04:00", lambda: stored(home) == [], timeout=60)


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(main(CASES))
