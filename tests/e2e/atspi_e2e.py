#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the real panel as a screen reader does, over a private D-Bus session and accessibility bus, and
ticks a goal through its check box's action.   Usage: atspi_e2e.py MIREL_BINARY   (inside xsession.sh)"""
import json
import os
import subprocess
import sys
import tempfile
import time

from accessibility_bus import accessibility_bus, tree
from panel_driver import check, environment, outcome

GOALS = ["Write the report", "Buy milk", "Call the bank"]


def wait_until(what, predicate, pump=lambda: None, timeout=10.0):
    deadline = time.monotonic() + timeout
    while not predicate():
        pump()
        check(time.monotonic() < deadline, f"timed out waiting for {what}")
        time.sleep(0.05)


def run_case(binary, home, pyatspi, GLib):
    goals_file = os.path.join(home, "data", "Mirel", "todos.json")
    os.makedirs(os.path.dirname(goals_file))
    with open(goals_file, "w", encoding="utf-8") as file:
        json.dump([{"id": f"00000000-0000-4000-8000-00000000000{order}", "text": text, "completed": False,
                    "order": order, "createdAt": "2026-01-05T08:00:00Z"} for order, text in enumerate(GOALS)], file)
    done = lambda: {todo["text"]: todo["completed"] for todo in json.load(open(goals_file, encoding="utf-8"))}
    env = environment(home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    mirel = subprocess.Popen([binary], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        panel = lambda: next((app for app in pyatspi.Registry.getDesktop(0) if app and app.name == "Mirel"), None)
        wait_until("the panel on the accessibility bus", panel)
        boxes = lambda: [node for node in tree(panel()) if node.getRoleName() == "check box"]
        wait_until("the goals in the tree", lambda: len(boxes()) == len(GOALS))
        nodes = list(tree(panel()))
        heard = "\n".join(f"{node.getRoleName()} {node.name!r}" for node in nodes)

        check([box.name for box in boxes()] == GOALS, f"the check boxes are not named by the goals:\n{heard}")
        check(not any(box.getState().contains(pyatspi.STATE_CHECKED) for box in boxes()), f"open reads done:\n{heard}")
        check(any(n.getRoleName() == "push button" and n.name == "Add goal" for n in nodes), f"no Add goal:\n{heard}")
        lists = [node for node in nodes if node.getRoleName() == "list"]
        check(len(lists) == 1 and [(item.getRoleName(), item.name) for item in lists[0]]
              == [("list item", goal) for goal in GOALS], f"the goals are not one list of items:\n{heard}")
        hidden = [f"{n.getRoleName()} {n.name!r}" for n in nodes if not n.getState().contains(pyatspi.STATE_SHOWING)]
        check(not hidden, f"hidden parts are announced: {hidden}")

        events = []
        listener = lambda event: events.append((event.source.name, event.detail1))
        pyatspi.Registry.registerEventListener(listener, "object:state-changed:checked")
        box = boxes()[1]
        action = box.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        check("Toggle" in names, f"the check box offers {names}, no Toggle")
        action.doAction(names.index("Toggle"))
        wait_until("the tick in the goals file", lambda: done()["Buy milk"])
        check(done() == {"Write the report": False, "Buy milk": True, "Call the bank": False}, f"stored {done()}")
        check(box.getState().contains(pyatspi.STATE_CHECKED), "the ticked goal does not read as checked")
        context = GLib.MainContext.default()
        wait_until("the state-change event", lambda: ("Buy milk", 1) in events,
                   pump=lambda: [context.iteration(False) for _ in range(50)])
    finally:
        mirel.terminate()
        mirel.wait(timeout=10)


def main():
    def body():
        with accessibility_bus() as bus, tempfile.TemporaryDirectory(prefix="mirel-atspi-") as home:
            run_case(sys.argv[1], home, bus.pyatspi, bus.GLib)
    return outcome("atspi", body)


if __name__ == "__main__":
    sys.exit(main())
