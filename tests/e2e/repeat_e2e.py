#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Goals that repeat, set through a goal's own menu as a screen reader reaches it, on the days a faked clock
brings, against the real binary in a private X session.

Usage: repeat_e2e.py MIREL_BINARY CASE   (inside xsession.sh; the system's interpreter, for pyatspi)
"""
import json
import os
import re
import sys
import time

from accessibility_bus import tree
from panel_driver import Failure, Mirel, Skipped, check, keys, main, settings, wait_until
from undo_e2e import FAKETIME, choose, faketime, focus_panel, menu_item, screen_reader

FIVE_KEYS = ["id", "text", "completed", "order", "createdAt"]


def goals_path(home):
    return os.path.join(home, "data", "Mirel", "todos.json")


def write(home, goals):
    """`goals` as (text, done, repeat or None), made a week before."""
    os.makedirs(os.path.dirname(goals_path(home)), exist_ok=True)
    todos = []
    for order, (text, done, repeat) in enumerate(goals):
        todo = {"id": "00000000-0000-4000-8000-00000000000%d" % order, "text": text, "completed": done,
                "order": order, "createdAt": "2026-11-30T09:00:00Z"}
        if repeat:
            todo["repeat"] = repeat
        todos.append(todo)
    with open(goals_path(home), "w", encoding="utf-8") as file:
        json.dump(todos, file)


def stored(home):
    """The goals file as (text, done, repeat or None) in list order, after checking that every goal keeps the
    five keys first."""
    todos = sorted(json.load(open(goals_path(home), encoding="utf-8")), key=lambda todo: todo["order"])
    for todo in todos:
        check(list(todo)[:5] == FIVE_KEYS, f"a goal does not start with the five keys: {list(todo)}")
    return [(todo["text"], todo["completed"], todo.get("repeat")) for todo in todos]


def expect(home, what, goals):
    try:
        wait_until(what, lambda: stored(home) == goals, timeout=15)
    except Failure:
        raise Failure(f"{what}: the goals file holds {stored(home)}, not {goals}") from None


def panel(reader):
    return next((app for app in reader.pyatspi.Registry.getDesktop(0) if app and app.name == "Mirel"), None)


def heard(reader):
    """The goals the panel's list reads out, and its count; nothing while a row it came across has just gone."""
    try:
        nodes = list(tree(panel(reader)))
        lists = [node for node in nodes if node.getRoleName() == "list"]
        goals = [item.name for item in lists[0]] if lists else []
        count = next((node.name for node in nodes if re.fullmatch(r"\d+ of \d+ done", node.name or "")), None)
    except Exception:  # the bus names an object that is gone by the time it is asked
        return None, None
    return goals, count


def expect_heard(reader, what, goals, count):
    try:
        wait_until(what, lambda: panel(reader) and heard(reader) == (goals, count), timeout=15)
    except Failure:
        raise Failure(f"{what}: the panel reads {heard(reader) if panel(reader) else 'nothing'}") from None


def tick(reader, text):
    box = wait_until(f"the check box of {text}", lambda: next(
        (node for node in tree(panel(reader)) if node.getRoleName() == "check box" and node.name == text), None))
    action = box.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Toggle"))


def repeat_choice(reader, name):
    """With the goal's menu open, its Repeat item's choice `name`: the submenu is the item's child on the bus,
    or shows once the item is pressed."""
    repeat = wait_until("the goal menu's Repeat", lambda: next((n for n in reader.menu() if n.name == "Repeat"), None))
    items = [node for node in tree(repeat) if node is not None and node.getRoleName() == "menu item"]
    found = next((node for node in items if node.name == name), None)
    if found:
        return found
    reader.focused.clear()
    choose(repeat)
    return wait_until(f"the choice {name}", lambda: next((n for n in reader.menu() if n.name == name), None))


def set_repeat_of_focused_goal(reader, name):
    """Through the keys a screen reader user presses: Shift+F10 on the goal that has the keyboard."""
    reader.focused.clear()
    keys("shift+F10")
    choose(repeat_choice(reader, name))


def case_daily_goal_stands_open_again_next_morning(binary, home):
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    write(home, [("Stretch", False, None), ("Buy milk", False, None), ("Call the bank", False, None)])
    with screen_reader() as reader:
        mirel = Mirel(binary, home, env=faketime("2026-12-08 20:00:00"))
        choose(menu_item(reader, mirel, "Clear Done Goals Each Day"))
        wait_until("the preference", lambda: settings(mirel.user_file()).get("clearDoneGoalsEachDay") == "true")
        focus_panel(mirel)
        keys("Down")
        set_repeat_of_focused_goal(reader, "Every Day")
        expect(home, "the goal set to repeat", [("Stretch", False, "daily"), ("Buy milk", False, None),
                                                ("Call the bank", False, None)])
        keys("ctrl+z")
        expect(home, "the change undone", [("Stretch", False, None), ("Buy milk", False, None),
                                           ("Call the bank", False, None)])
        # The goal keeps the keyboard through its menu and the undo.
        set_repeat_of_focused_goal(reader, "Every Day")
        expect(home, "the goal set to repeat again", [("Stretch", False, "daily"), ("Buy milk", False, None),
                                                      ("Call the bank", False, None)])
        tick(reader, "Stretch")
        tick(reader, "Buy milk")
        expect(home, "the evening's ticks", [("Stretch", True, "daily"), ("Buy milk", True, None),
                                             ("Call the bank", False, None)])
        mirel.stop()

        # The next morning: the repeating goal stands open in its place, the other done goal is cleared.
        mirel = Mirel(binary, home, env=faketime("2026-12-09 09:00:00"))
        expect(home, "the next morning", [("Stretch", False, "daily"), ("Call the bank", False, None)])
        expect_heard(reader, "the next morning's panel", ["Stretch", "Call the bank"], "0 of 2 done")
        mirel.stop()


def case_weekly_goal_shows_on_its_days(binary, home):
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    write(home, [("Gym", False, "weekly:MO,WE"), ("Pay the rent", False, None)])
    with screen_reader() as reader:
        mirel = Mirel(binary, home, env=faketime("2026-12-07 09:00:00"))
        expect_heard(reader, "Monday's panel", ["Gym", "Pay the rent"], "0 of 2 done")
        tick(reader, "Gym")
        expect(home, "Monday's tick", [("Gym", True, "weekly:MO,WE"), ("Pay the rent", False, None)])
        mirel.stop()

        # Tuesday begins while the panel runs. Its faked clock runs while it starts, which on a loaded machine
        # takes seconds: what it shows before 04:00 is looked at only while that time is not up.
        started = time.monotonic()
        mirel = Mirel(binary, home, env=faketime("2026-12-08 03:59:30"))
        if time.monotonic() - started < 20:
            check(heard(reader)[0] == ["Gym", "Pay the rent"], f"Monday's goal went early: {heard(reader)}")
        try:
            wait_until("Tuesday's panel", lambda: heard(reader) == (["Pay the rent"], "0 of 1 done"), timeout=60)
        except Failure:
            raise Failure(f"Tuesday's panel reads {heard(reader)}") from None
        expect(home, "Tuesday's file", [("Gym", True, "weekly:MO,WE"), ("Pay the rent", False, None)])
        mirel.stop()

        mirel = Mirel(binary, home, env=faketime("2026-12-09 09:00:00"))
        expect(home, "Wednesday's file", [("Gym", False, "weekly:MO,WE"), ("Pay the rent", False, None)])
        expect_heard(reader, "Wednesday's panel", ["Gym", "Pay the rent"], "0 of 2 done")
        mirel.stop()


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(main(CASES))
