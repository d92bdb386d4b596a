#!/usr/bin/python3
"""Reads the real panel as a screen reader does, through the desktop's accessibility bus, and ticks a goal
through its check box's action.

Usage: atspi_e2e.py MIREL_BINARY   (run inside tests/e2e/xsession.sh, which sets DISPLAY)
It starts its own D-Bus session and accessibility bus; HOME and the XDG folders are a fresh temporary folder.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import uuid

SKIPPED = 77
GOALS = ["Write the report", "Buy milk", "Call the bank"]
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, predicate, timeout=10.0, pump=None):
    deadline = time.monotonic() + timeout
    while True:
        if pump:
            pump()
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


def write_goals(home):
    folder = os.path.join(home, "data", "Mirel")
    os.makedirs(folder)
    todos = [{"id": str(uuid.uuid4()).upper(), "text": text, "completed": False, "order": order,
              "createdAt": "2026-01-05T08:00:00Z"} for order, text in enumerate(GOALS)]
    with open(os.path.join(folder, "todos.json"), "w", encoding="utf-8") as file:
        json.dump(todos, file)
    return os.path.join(folder, "todos.json")


def stored(path):
    return {todo["text"]: todo["completed"] for todo in json.load(open(path, encoding="utf-8"))}


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def read_panel(pyatspi, app):
    """Every node under the application as (role, name, states, node)."""
    nodes = []
    for node, _ in walk(app):
        states = node.getState()
        nodes.append((node.getRoleName(), node.name,
                      {"checked": states.contains(pyatspi.STATE_CHECKED),
                       "showing": states.contains(pyatspi.STATE_SHOWING)}, node))
    return nodes


def run_case(binary, home, pyatspi, GLib):
    goals_file = write_goals(home)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), XDG_RUNTIME_DIR=home,
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORM", None)
    mirel = subprocess.Popen([binary], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        context = GLib.MainContext.default()
        pump = lambda: [context.iteration(False) for _ in range(50)]

        def application():
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == "Mirel":
                    return app
            return None
        app = wait_until("the panel on the accessibility bus", application)
        wait_until("the goals in the tree",
                   lambda: len([n for n in read_panel(pyatspi, app) if n[0] == "check box"]) == len(GOALS))
        nodes = read_panel(pyatspi, app)
        described = "\n".join(f"{role} {name!r} {states}" for role, name, states, _ in nodes)

        boxes = [(name, states) for role, name, states, _ in nodes if role == "check box"]
        check([name for name, _ in boxes] == GOALS, f"the check boxes are not named by the goals:\n{described}")
        check(not any(states["checked"] for _, states in boxes), f"an open goal reads as done:\n{described}")
        check(any(role == "push button" and name == "Add goal" for role, name, _, _ in nodes),
              f"no \"Add goal\" button:\n{described}")
        lists = [node for role, _, _, node in nodes if role == "list"]
        check(len(lists) == 1, f"the goals are not one list:\n{described}")
        items = [child.name for child in lists[0] if child is not None and child.getRoleName() == "list item"]
        check(items == GOALS, f"the list's items are {items}:\n{described}")
        hidden = [f"{role} {name!r}" for role, name, states, _ in nodes if not states["showing"]]
        check(not hidden, f"hidden parts are announced: {hidden}")
        check(not any(name == "Add today's first goal" for _, name, _, _ in nodes),
              f"the empty-state row is announced beside the goals:\n{described}")

        # The tick reaches a listener as an event, and the goals file.
        events = []
        listener = lambda event: events.append((event.source.name, event.detail1))
        pyatspi.Registry.registerEventListener(listener, "object:state-changed:checked")
        box = next(node for role, name, _, node in nodes if role == "check box" and name == "Buy milk")
        action = box.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        check("Toggle" in names, f"the check box offers {names}, no Toggle")
        action.doAction(names.index("Toggle"))
        wait_until("the tick in the goals file", lambda: stored(goals_file)["Buy milk"])
        check(stored(goals_file) == {"Write the report": False, "Buy milk": True, "Call the bank": False},
              f"the goals file holds {stored(goals_file)}")
        wait_until("the checked state", lambda: box.getState().contains(pyatspi.STATE_CHECKED))
        wait_until("the state-change event", lambda: ("Buy milk", 1) in events, pump=pump)
        pyatspi.Registry.deregisterEventListener(listener, "object:state-changed:checked")
    finally:
        mirel.terminate()
        mirel.wait(timeout=10)


def main():
    binary = sys.argv[1]
    missing = [tool for tool in ("dbus-daemon", LAUNCHER) if not shutil.which(tool)]
    if missing:
        print(f"SKIP atspi: {', '.join(missing)} not installed (scripts/deps.sh --test)")
        return SKIPPED
    # The session bus comes first: the bindings look for the accessibility bus on it when they load.
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                         capture_output=True, text=True)
    if bus.returncode != 0:
        print(f"SKIP atspi: no private D-Bus session: {bus.stderr.strip()}")
        return SKIPPED
    address, pid = bus.stdout.split()[:2]
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    launcher = subprocess.Popen([LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    try:
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as error:
            print(f"SKIP atspi: {error} (python3-pyatspi, scripts/deps.sh --test)")
            return SKIPPED
        with tempfile.TemporaryDirectory(prefix="mirel-atspi-") as home:
            try:
                run_case(binary, home, pyatspi, GLib)
            except Failure as failure:
                print(f"FAIL atspi: {failure}")
                return 1
    finally:
        launcher.terminate()
        launcher.wait(timeout=10)
        os.kill(int(pid), 15)
    print("PASS atspi")
    return 0


if __name__ == "__main__":
    sys.exit(main())
