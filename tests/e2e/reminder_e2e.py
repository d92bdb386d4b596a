#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reminders against the real binary in a private X session: set through a goal's own menu as a screen reader
reaches it, rung at their minutes of a faked clock as notifications of a real dunst on the session's bus, whose
actions come back as the daemon sends them; and `mirel --send --remind-at`.

Usage: reminder_e2e.py MIREL_BINARY CASE   (inside xsession.sh; the system's interpreter, for pyatspi)
"""
import contextlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

from accessibility_bus import tree
from panel_driver import Failure, Mirel, Skipped, check, environment, keys, main, wait_until
from repeat_e2e import goals_path, panel
from undo_e2e import FAKETIME, choose, faketime, focus_panel, screen_reader

# Ten faked seconds to each real one, so that a ring put off by ten minutes comes within a minute. Qt's timers
# and animations keep the real monotonic clock.
SPEED = 10


def clock(moment, speed=SPEED):
    return dict(faketime(moment), FAKETIME=f"@{moment} x{speed}", DONT_FAKE_MONOTONIC="1")


def write(home, goals):
    """`goals` as dicts of the keys after the first five; made a week before."""
    os.makedirs(os.path.dirname(goals_path(home)), exist_ok=True)
    todos = [dict({"id": "00000000-0000-4000-8000-00000000000%d" % order, "text": goal.pop("text"),
                   "completed": goal.pop("completed", False), "order": order, "createdAt": "2026-12-01T09:00:00Z"},
                  **goal) for order, goal in enumerate(goals)]
    with open(goals_path(home), "w", encoding="utf-8") as file:
        json.dump(todos, file)


def stored(home, text):
    return next(todo for todo in json.load(open(goals_path(home), encoding="utf-8")) if todo["text"] == text)


class Dunst:
    """A real dunst on the session's bus, each message going to its history a moment after it shows."""

    def __init__(self, folder):
        if not shutil.which("dunst"):
            raise Skipped("dunst missing (scripts/deps.sh --test)")
        config = os.path.join(folder, "dunstrc")
        with open(config, "w", encoding="utf-8") as file:
            file.write("[global]\nidle_threshold = 0\n[urgency_low]\ntimeout = 1\n[urgency_normal]\ntimeout = 1\n")
        self.process = subprocess.Popen(["dunst", "-config", config], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_until("dunst on the bus", lambda: subprocess.run(["dunstctl", "is-paused"],
                                                              capture_output=True).returncode == 0, timeout=15)

    def shown(self):
        """Every message shown so far, oldest first, as dicts of id, appname, summary and body."""
        out = subprocess.run(["dunstctl", "history"], capture_output=True, text=True).stdout
        entries = json.loads(out)["data"][0] if out.strip() else []
        return [{key: entry[key]["data"] for key in ("id", "appname", "summary", "body")}
                for entry in reversed(entries)]

    def wait_for(self, what, summary, after=0):
        """The message with that summary once it has shown, after the first `after` messages."""
        try:
            return wait_until(what, lambda: next((m for m in self.shown()[after:] if m["summary"] == summary), None),
                              timeout=90)
        except Failure:
            raise Failure(f"{what}: dunst showed {self.shown()}") from None

    def choose(self, message, key):
        """The action `key` of a message, as dunst sends it when the person picks it."""
        import dbus
        import dbus.lowlevel
        bus = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])
        signal = dbus.lowlevel.SignalMessage("/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                                             "ActionInvoked")
        signal.append(dbus.UInt32(message["id"]), key)
        bus.send_message(signal)
        bus.flush()
        bus.close()

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


@contextlib.contextmanager
def session():
    """A screen reader's bus with dunst on it."""
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    with screen_reader() as reader, tempfile.TemporaryDirectory() as folder:
        dunst = Dunst(folder)
        try:
            yield reader, dunst
        finally:
            dunst.stop()


def case_reminder_from_the_menu_rings_and_its_actions_work(binary, home):
    write(home, [{"text": "Call the bank"}, {"text": "Buy milk"}])
    with session() as (reader, dunst):
        # A real minute before 18:00, for the menu to be reached on a loaded machine.
        mirel = Mirel(binary, home, env=clock("2026-12-08 17:50:00"))
        focus_panel(mirel)
        keys("Down")
        reader.focused.clear()
        keys("shift+F10")
        remind = wait_until("the goal menu's Remind Me",
                            lambda: next((n for n in reader.menu() if n.name == "Remind Me"), None))
        items = [node for node in tree(remind) if node is not None and node.getRoleName() == "menu item"]
        evening = next((node for node in items if node.name == "This Evening"), None)
        if not evening:
            reader.focused.clear()
            choose(remind)
            evening = wait_until("This Evening", lambda: next(
                (n for n in reader.menu() if n.name == "This Evening"), None))
        choose(evening)
        wait_until("the reminder in the file",
                   lambda: stored(home, "Call the bank").get("remindAt") == "2026-12-08T17:00:00.000Z", timeout=15)
        # A screen reader hears it as part of the goal.
        box = wait_until("the goal's check box", lambda: next(
            (n for n in tree(panel(reader)) if n.getRoleName() == "check box" and n.name == "Call the bank"), None))
        check("reminder at 18:00" in box.description, f"the goal reads {box.description!r}")

        first = dunst.wait_for("the ring at 18:00", "Call the bank")
        check(first["appname"] == "Mirel" and first["body"] == "Today's Goals", f"the ring reads {first}")
        check([m["summary"] for m in dunst.shown()] == ["Call the bank"], f"dunst showed {dunst.shown()}")
        dunst.choose(first, "later")
        wait_until("the ring put off", lambda: stored(home, "Call the bank")["remindAt"] > "2026-12-08T17:09:59",
                   timeout=15)
        later = dunst.wait_for("the ring ten minutes later", "Call the bank", after=1)
        dunst.choose(later, "done")
        wait_until("the goal ticked", lambda: stored(home, "Call the bank")["completed"], timeout=15)
        check(not stored(home, "Buy milk")["completed"], "the other goal was ticked too")
        mirel.stop()


def case_ticked_goal_stays_quiet_and_missed_ones_ring_as_one(binary, home):
    write(home, [{"text": "Call the bank", "remindAt": "2026-12-08T08:00:00.000Z"},
                 {"text": "Water the plants", "remindAt": "2026-12-08T09:30:00.000Z"},
                 {"text": "Pay the rent", "completed": True, "remindAt": "2026-12-08T09:00:00.000Z"},
                 {"text": "Buy milk", "remindAt": "2026-12-08T11:02:00.000Z"}])
    with session() as (reader, dunst):
        # Twice as fast only: Buy milk is ticked before its minute comes, a real minute after the start.
        started = time.time()
        mirel = Mirel(binary, home, env=clock("2026-12-08 12:00:00", speed=2))
        missed = dunst.wait_for("the missed reminders", "2 reminders while Mirel was not running")
        check(missed["body"].split("\n") == ["Call the bank", "Water the plants"], f"the message reads {missed}")
        box = wait_until("the check box of Buy milk", lambda: next(
            (n for n in tree(panel(reader)) if n.getRoleName() == "check box" and n.name == "Buy milk"), None))
        action = box.queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Toggle"))
        wait_until("the goal ticked", lambda: stored(home, "Buy milk")["completed"], timeout=15)
        # Well past its minute nothing more has shown.
        wait_until("12:02:30 on the panel's clock", lambda: time.time() > started + 75, timeout=90)
        check([m["summary"] for m in dunst.shown()] == ["2 reminders while Mirel was not running"],
              f"dunst showed {dunst.shown()}")
        mirel.stop()


def case_repeating_goal_rings_on_its_mornings(binary, home):
    # Monday and Tuesday at 07:30 in Berlin.
    write(home, [{"text": "Stretch", "repeat": "weekly:MO,TU", "remindAt": "2026-12-07T06:30:00.000Z",
                  "remindTime": "07:30"}, {"text": "Buy milk"}])
    with session() as (reader, dunst):
        for day, date in (("Monday", "2026-12-07"), ("Tuesday", "2026-12-08")):
            before = len(dunst.shown())
            mirel = Mirel(binary, home, env=clock(f"{date} 07:29:40"))
            dunst.wait_for(f"{day}'s ring", "Stretch", after=before)
            mirel.stop()
        # Wednesday the goal is hidden: its minute passes quietly.
        mirel = Mirel(binary, home, env=clock("2026-12-09 07:29:40"))
        started = time.time()
        wait_until("07:31 on the panel's clock", lambda: time.time() > started + 90 / SPEED + 5, timeout=30)
        check([m["summary"] for m in dunst.shown()] == ["Stretch", "Stretch"], f"dunst showed {dunst.shown()}")
        check(stored(home, "Stretch").get("remindTime") == "07:30", "the time of day was lost")
        mirel.stop()


def case_reminders_go_both_ways_with_the_phone(binary, home):
    from calendar_e2e import connect, desktop_session, tasks
    from calendar_servers import Radicale, client
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    server = Radicale(home)
    list_url = server.make_list("goals")
    # Due at 18:10 in Berlin, reminding ten minutes before.
    client("add-reminding", list_url, "bank@phone.example", "Call the bank", "20261208T171000Z", "10")
    write(home, [])
    with desktop_session(home) as reader, tempfile.TemporaryDirectory() as folder:
        dunst = Dunst(folder)
        try:
            mirel = Mirel(binary, home, env=clock("2026-12-08 17:57:00", speed=4))
            check(connect(binary, home, server.url).returncode == 0, "--connect-calendar failed")
            wait_until("the phone's reminder and due time in the panel", lambda: os.path.exists(goals_path(home))
                       and any(todo.get("remindAt") == "2026-12-08T17:00:00.000Z"
                               and todo.get("due") == "2026-12-08T17:10:00.000Z"
                               for todo in json.load(open(goals_path(home), encoding="utf-8"))), timeout=30)
            box = wait_until("the goal's check box", lambda: next(
                (n for n in tree(panel(reader)) if n.getRoleName() == "check box" and n.name == "Call the bank"),
                None))
            check("reminder at 18:00, due 18:10" in box.description, f"the goal reads {box.description!r}")
            sent = subprocess.run([binary, "--send", "Pay the rent", "--remind-at", "2026-12-10 09:00"],
                                  env=environment(home, **faketime("2026-12-08 18:00:00")), capture_output=True,
                                  text=True, timeout=30)
            check(sent.returncode == 0, f"--send failed: {sent.stderr}")

            def triggers():
                return {task["summary"]: task["triggers"] for task in tasks(list_url)}
            try:
                wait_until("the panel's reminder on the server", lambda: triggers().get("Pay the rent") == [
                    "20261210T080000Z own"], timeout=30)
            except Failure:
                raise Failure(f"the server holds {triggers()}") from None
            check(triggers()["Call the bank"] == ["-PT10M"], f"the phone's alarm changed: {triggers()}")
            due = {task["summary"]: task["due"] for task in tasks(list_url)}
            check(due == {"Call the bank": "20261208T171000Z", "Pay the rent": ""}, f"the server's due dates: {due}")
            dunst.wait_for("the phone's reminder ringing", "Call the bank")
            mirel.stop()
        finally:
            dunst.stop()


def case_remind_at_from_the_command_line(binary, home):
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    write(home, [])
    mirel = Mirel(binary, home, env=clock("2026-12-08 16:00:00"))
    env = environment(home, **faketime("2026-12-08 16:00:00"))

    def send(*arguments):
        return subprocess.run([binary, "--send", *arguments], env=env, capture_output=True, text=True, timeout=30)

    # 15:00 has passed: tomorrow's, in UTC.
    for text, moment, remindAt in (("Call the bank", "15:00", "2026-12-09T14:00:00.000Z"),
                                   ("Book the trip", "2026-12-10 09:00", "2026-12-10T08:00:00.000Z")):
        result = send(text, "--remind-at", moment)
        check(result.returncode == 0, f"--remind-at {moment}: {result.returncode} {result.stderr}")
        check(stored(home, text).get("remindAt") == remindAt, f"{text} reminds at {stored(home, text)}")
    result = send("Water the plants", "--remind-at", "25:00")
    check(result.returncode == 2 and "25:00" in result.stderr, f"a bad time: {result.returncode} {result.stderr}")
    check(len(json.load(open(goals_path(home), encoding="utf-8"))) == 2, "a goal with a bad time was added")
    mirel.stop()


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(main(CASES))
