#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end checks of the sync with a calendar server's task list: the real binary in a private X session, a
real Radicale, Xandikos, Cyrus or DAViCal on loopback (calendar_servers.py), python3-caldav as the other client (a
phone), and the password in a GNOME Keyring on the test's own session bus.

Usage: calendar_e2e.py MIREL_BINARY CASE   (inside xsession.sh; the system's interpreter, for pyatspi)
"""
import contextlib
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

from accessibility_bus import accessibility_bus, tree
from calendar_servers import PASSWORD, SERVERS, USER, Radicale, Xandikos, client
from panel_driver import (Failure, Mirel, Skipped, check, environment, focused_window, geometry, goals_in,
                          keys, main, run, wait_until, write_goals)
from repeat_e2e import expect_heard, panel, stored
from undo_e2e import FAKETIME, Reader, choose, faketime, menu_item, panel_env


def tasks(list_url, password=PASSWORD):
    return json.loads(client("dump", list_url, password=password))


def order_above_all(list_url):
    """The sort order that moves a task to the top, as a phone gives it: below every task's, whichever sort orders
    the panel gave them, which depend on when its syncs ran."""
    return min([t["order"] for t in tasks(list_url) if t["order"] is not None], default=0) - 1


def expect_tasks(list_url, what, wanted, password=PASSWORD):
    """Waits until the server holds tasks with these (summary, done), in the list's order."""
    def held():
        return [(t["summary"], t["status"] == "COMPLETED") for t in tasks(list_url, password)]
    try:
        wait_until(what, lambda: held() == wanted, timeout=20)
    except Failure:
        raise Failure(f"{what}: the server holds {held()}, not {wanted}") from None


def expect_goals(home, what, wanted):
    try:
        wait_until(what, lambda: goals_in(home) == wanted, timeout=20)
    except Failure:
        raise Failure(f"{what}: the goals file holds {goals_in(home)}, not {wanted}") from None


def mirel_command(binary, home, *arguments, password=None):
    return subprocess.run([binary, *arguments], input=password, env=environment(home), capture_output=True,
                          text=True, timeout=60)


def connect(binary, home, url, password=PASSWORD, list_switch="--list", name="goals"):
    """Without a `name`, the server's only task list is taken."""
    chosen = [list_switch, name] if name else []
    return mirel_command(binary, home, "--connect-calendar", url, "--user", USER, *chosen, password=password + "\n")


def listed(status):
    """The task list's address as --sync-status prints it."""
    return status.split("Task list: ", 1)[-1].split(" (", 1)[-1].split(")", 1)[0]


@contextlib.contextmanager
def desktop_session(home, keyring=True):
    """A private session bus with the accessibility bus and an unlocked GNOME Keyring on it; yields a Reader.
    `keyring` False: no Secret Service at all; "unmade": a GNOME Keyring without a keyring yet, which asks for
    the new keyring's password on screen."""
    if not shutil.which("gnome-keyring-daemon"):
        raise Skipped("gnome-keyring-daemon is not installed (scripts/deps.sh --test)")
    if not keyring:
        with bare_session_bus():
            yield None
        return
    with accessibility_bus() as bus:
        unlock = ["--unlock"] if keyring is True else []
        keyring = subprocess.Popen(["gnome-keyring-daemon", "--foreground", *unlock, "--components=secrets"],
                                   stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=environment(home), text=True)
        keyring.stdin.write("keyring password")
        keyring.stdin.close()
        try:
            wait_until("the Secret Service on the session bus", lambda: subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                 "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.secrets"],
                capture_output=True, text=True).stdout.strip().endswith("true"), timeout=15)
            yield Reader(bus.pyatspi)
        finally:
            keyring.terminate()
            keyring.wait(timeout=10)


BARE_BUS = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
</policy></busconfig>"""


@contextlib.contextmanager
def bare_session_bus():
    """A session bus that starts no services, as on a desktop without a Secret Service."""
    with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
        config.write(BARE_BUS)
        config.flush()
        bus = subprocess.run(["dbus-daemon", f"--config-file={config.name}", "--fork", "--print-address=1",
                              "--print-pid=1"], capture_output=True, text=True, check=True)
    address, pid = bus.stdout.split()[:2]
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    try:
        yield
    finally:
        os.kill(int(pid), 15)


def take_keyboard(binary, home, mirel):
    check(mirel_command(binary, home, "--new-goal").returncode == 0, "--new-goal failed")
    wait_until("the panel's focus after --new-goal", lambda: focused_window() == mirel.window)
    time.sleep(0.3)


def type_goals(*texts):
    for text in texts:
        run("xdotool", "type", "--delay", "20", text)
        keys("Return")


def sync_status(binary, home):
    done = mirel_command(binary, home, "--sync-status")
    return done.returncode, done.stdout


def case_both_ways(kind):
    def body(binary, home):
        server = SERVERS[kind](home)
        list_url = server.make_list("goals")
        client("add-planned", list_url, "dentist-1@phone.example", "Dentist")
        with desktop_session(home) as reader:
            mirel = Mirel(binary, home, goals="", env=panel_env())
            connected = connect(binary, home, server.url)
            check(connected.returncode == 0, f"--connect-calendar failed: {connected.stderr}")
            check("goals" in connected.stdout, f"--connect-calendar did not name the list: {connected.stdout!r}")
            expect_goals(home, "the other client's task in the panel", [("Dentist", False)])

            # Added, ticked, moved, edited and deleted in the panel, from the keyboard.
            take_keyboard(binary, home, mirel)
            type_goals("Buy milk", "Old note", "Call the bank")
            keys("Escape", "Up", "space", "Up", "Delete", "Up", "alt+Up", "Down", "F2")
            time.sleep(0.3)
            keys("ctrl+a")
            run("xdotool", "type", "--delay", "20", "Dentist at 3")
            keys("Return", "space")
            expect_goals(home, "the panel's changes",
                         [("Buy milk", False), ("Dentist at 3", True), ("Call the bank", True)])
            expect_tasks(list_url, "the panel's changes on the server",
                         [("Buy milk", False), ("Dentist at 3", True), ("Call the bank", True)])
            dentist = next(t for t in tasks(list_url) if t["summary"] == "Dentist at 3")
            check(dentist["completed"] and dentist["description"] == "Bring the card, and cash"
                  and dentist["due"] == "20261224" and dentist["alarms"] == 1,
                  f"the other client's details did not survive the edit and the tick: {dentist}")
            code, status = sync_status(binary, home)
            check(code == 0 and "Changes waiting: 0" in status, f"--sync-status after the sync: {code} {status!r}")

            # The other client's changes (edited, unticked, moved to the top, deleted, added), pulled by Sync Now.
            client("rename-text", list_url, "Buy milk", "Buy oat milk")
            client("untick-text", list_url, "Dentist at 3")
            client("order-text", list_url, "Dentist at 3", str(order_above_all(list_url)))
            client("delete-text", list_url, "Call the bank")
            client("add", list_url, "phone-2@phone.example", "From the phone")
            choose(menu_item(reader, mirel, "Sync Now"))
            synced_at = time.monotonic()
            expect_goals(home, "the other client's changes after Sync Now",
                         [("Dentist at 3", False), ("Buy oat milk", False), ("From the phone", False)])
            client("tick-text", list_url, "Buy oat milk")

            # Pulled again when the pointer enters the panel, once the last sync is half a minute old.
            client("add", list_url, "phone-3@phone.example", "Seen on entering")
            run("xdotool", "mousemove", "5", "5")
            time.sleep(max(0.0, synced_at + 31 - time.monotonic()))
            x, y, w, h = geometry(mirel.window)
            run("xdotool", "mousemove", str(x + w // 2), str(y + 12))
            expect_goals(home, "the other client's changes after the pointer entered",
                         [("Dentist at 3", False), ("Buy oat milk", True), ("From the phone", False),
                          ("Seen on entering", False)])
    return body


def case_server_people_run(kind):
    """A server as a person connects to it: the address they would type, the task list the server made for them.
    Goals both ways, the other client's move kept, a deletion on the server, the other client's properties kept."""
    def body(binary, home):
        server = SERVERS[kind](home)
        list_name, list_url = server.default_list
        client("add-planned", list_url, "dentist-1@phone.example", "Dentist")
        client("add", list_url, "phone-2@phone.example", "From the phone")
        with desktop_session(home) as reader:
            mirel = Mirel(binary, home, goals="", env=panel_env())
            if kind == "davical":
                lost = connect(binary, home, f"{server.url}calendars/", name=None)
                check(lost.returncode != 0 and "…/caldav.php for DAViCal" in lost.stderr,
                      f"an address without a calendar server did not say what to type: {lost.stderr!r}")
                # No well-known address there, so the root is asked as typed; its only task list is taken once the
                # scheduling inbox and outbox, typed as calendars, are left out.
                connected = connect(binary, home, server.url, name=None)
            else:
                connected = connect(binary, home, server.url, name=list_name)
            check(connected.returncode == 0 and list_name in connected.stdout,
                  f"--connect-calendar: {connected.returncode} {connected.stdout!r} {connected.stderr!r}")
            expect_goals(home, "the other client's tasks in the panel", [("Dentist", False), ("From the phone", False)])

            take_keyboard(binary, home, mirel)
            type_goals("Buy milk")
            keys("Escape", "Up", "Up", "Up", "space")
            wanted = [("Buy milk", False), ("Dentist", True), ("From the phone", False)]
            try:
                wait_until("the panel's goals on the server", lambda: sorted(
                    (t["summary"], t["status"] == "COMPLETED") for t in tasks(list_url)) == wanted, timeout=20)
            except Failure:
                raise Failure(f"the panel's goals on the server: it holds {tasks(list_url)}") from None
            dentist = next(t for t in tasks(list_url) if t["summary"] == "Dentist")
            check(dentist["completed"] and dentist["description"] == "Bring the card, and cash"
                  and dentist["due"] == "20261224" and dentist["alarms"] == 1,
                  f"the other client's details did not survive the tick: {dentist}")

            top = order_above_all(list_url)
            client("order-text", list_url, "Buy milk", str(top))
            client("delete-text", list_url, "From the phone")
            choose(menu_item(reader, mirel, "Sync Now"))
            wait_until("the deletion on the server in the panel",
                       lambda: sorted(goals_in(home)) == [("Buy milk", False), ("Dentist", True)], timeout=20)
            wait_until("in sync", lambda: sync_status(binary, home)[0] == 0, timeout=20)
            check(goals_in(home) == [("Buy milk", False), ("Dentist", True)],
                  f"the other client's move is not in the panel: {goals_in(home)}")
            held = {t["summary"]: t for t in tasks(list_url)}
            check(held["Buy milk"]["order"] == top and held["Dentist"]["description"] == "Bring the card, and cash",
                  f"the other client's move was not kept on the server: {held}")
    return body


def case_repeating_goals(binary, home):
    """Goals that repeat are tasks with a rule both ways, a day's reset goes up as a change, and a rule the
    panel cannot show as one of its choices stays the other client's."""
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    server = Radicale(home)
    list_url = server.make_list("goals")
    client("add-repeating", list_url, "gym@phone.example", "Gym", "FREQ=WEEKLY;BYDAY=MO,WE")
    client("add-repeating", list_url, "review@phone.example", "Review", "FREQ=WEEKLY;INTERVAL=2;BYDAY=WE")
    path = os.path.join(home, "data", "Mirel", "todos.json")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as file:
        json.dump([{"id": "00000000-0000-4000-8000-000000000001", "text": "Stretch", "completed": True,
                    "order": 0, "createdAt": "2026-11-30T09:00:00Z", "modifiedAt": "2026-12-08T19:00:00Z",
                    "repeat": "daily"}], file)

    def server_holds(what, wanted):
        def held():
            return sorted((t["summary"], t["status"], t["rrule"], t["dtstart"]) for t in tasks(list_url))
        try:
            wait_until(what, lambda: held() == wanted, timeout=20)
        except Failure:
            raise Failure(f"{what}: the server holds {held()}, not {wanted}") from None

    def file_holds(what, wanted):
        try:
            wait_until(what, lambda: sorted(stored(home)) == wanted, timeout=20)
        except Failure:
            raise Failure(f"{what}: the goals file holds {stored(home)}, not {wanted}") from None

    with desktop_session(home) as reader:
        # A Tuesday evening: the daily goal was done today, the Monday and Wednesday one is out of sight.
        mirel = Mirel(binary, home, env=faketime("2026-12-08 20:00:00"))
        connected = connect(binary, home, server.url)
        check(connected.returncode == 0, f"--connect-calendar failed: {connected.stderr}")
        server_holds("the daily goal on the server", [
            ("Gym", "", "FREQ=WEEKLY;BYDAY=MO,WE", "20261202"),
            ("Review", "", "FREQ=WEEKLY;INTERVAL=2;BYDAY=WE", "20261202"),
            ("Stretch", "COMPLETED", "FREQ=DAILY", "20261130")])
        review = next(goal for goal in stored(home) if goal[0] == "Review")
        file_holds("the other client's tasks in the panel", [
            ("Gym", False, "weekly:MO,WE"), review, ("Stretch", True, "daily")])
        check(review[2] and review[2].startswith("FREQ=WEEKLY"), f"the fortnightly rule is not kept: {review}")
        expect_heard(reader, "Tuesday's panel", ["Stretch", "Review"], "1 of 2 done")
        mirel.stop()

        # Wednesday morning: the daily goal stands open again, on the server too; the other rule is untouched.
        mirel = Mirel(binary, home, env=faketime("2026-12-09 09:00:00"))
        file_holds("Wednesday's goals", [("Gym", False, "weekly:MO,WE"), review, ("Stretch", False, "daily")])
        server_holds("the day's reset on the server", [
            ("Gym", "", "FREQ=WEEKLY;BYDAY=MO,WE", "20261202"),
            ("Review", "", "FREQ=WEEKLY;INTERVAL=2;BYDAY=WE", "20261202"),
            ("Stretch", "NEEDS-ACTION", "FREQ=DAILY", "20261130")])
        expect_heard(reader, "Wednesday's panel", ["Stretch", "Gym", "Review"], "0 of 3 done")
        mirel.stop()


def case_apart_then_killed(binary, home):
    """The server away, both sides change the same goal and others, the panel is killed with its changes waiting:
    after its restart every change is on both sides, the later edit winning. Stop Syncing then keeps both."""
    server = Radicale(home)
    list_url = server.make_list("goals")
    with desktop_session(home) as reader:
        mirel = Mirel(binary, home, goals="", env=panel_env())
        check(connect(binary, home, server.url).returncode == 0, "--connect-calendar failed")
        take_keyboard(binary, home, mirel)
        type_goals("Shared goal", "Kept goal")
        expect_tasks(list_url, "the first goals on the server", [("Shared goal", False), ("Kept goal", False)])

        server.stop()
        keys("Escape", "Up", "Up", "F2")
        time.sleep(0.3)
        keys("ctrl+a")
        run("xdotool", "type", "--delay", "20", "Shared goal, edited in the panel")
        keys("Return")
        check(mirel_command(binary, home, "--send", "Added in the panel").returncode == 0, "--send failed")
        wait_until("two changes waiting", lambda: "Changes waiting: 2" in sync_status(binary, home)[1])
        mirel.process.kill()
        mirel.process.wait()

        server.start()
        # The phone's edit of the shared goal comes later than the panel's, and wins.
        time.sleep(1.1)
        client("rename-text", list_url, "Shared goal", "Shared goal, edited on the phone")
        client("add", list_url, "phone-4@phone.example", "Added on the phone")
        mirel = Mirel(binary, home, goals="", env=panel_env())
        wanted = [("Shared goal, edited on the phone", False), ("Kept goal", False), ("Added in the panel", False),
                  ("Added on the phone", False)]
        expect_goals(home, "both sides' changes in the panel", wanted)
        expect_tasks(list_url, "both sides' changes on the server", wanted)

        choose(menu_item(reader, mirel, "Stop Syncing"))
        wait_until("no list connected", lambda: "Not syncing" in sync_status(binary, home)[1])
        check(mirel_command(binary, home, "--send", "After stopping").returncode == 0, "--send failed")
        expect_goals(home, "the goals kept after stopping", wanted + [("After stopping", False)])
        time.sleep(2)
        expect_tasks(list_url, "the server's tasks kept after stopping", wanted)
        check(menu_item(reader, mirel, "Sync with a Calendar Server\u2026"), "the menu offers no new connection")


def case_wrong_password(binary, home):
    server = Radicale(home)
    list_url = server.make_list("goals")
    with desktop_session(home):
        mirel = Mirel(binary, home, goals="", env=panel_env())
        refused = connect(binary, home, server.url, password="not it")
        check(refused.returncode != 0 and "did not accept the user name and password" in refused.stderr,
              f"a wrong password was not refused plainly: {refused.returncode} {refused.stderr!r}")
        check(connect(binary, home, server.url).returncode == 0, "--connect-calendar failed")
        check(mirel_command(binary, home, "--send", "Before").returncode == 0, "--send failed")
        expect_tasks(list_url, "the first goal on the server", [("Before", False)])

        # The password changed on the server: the sync fails and says why, and nothing is lost.
        server.set_password("a new one")
        check(mirel_command(binary, home, "--send", "While refused").returncode == 0, "--send failed")
        wait_until("the failure in --sync-status",
                   lambda: "did not accept the user name and password" in sync_status(binary, home)[1])
        code, status = sync_status(binary, home)
        check(code != 0 and "Changes waiting: 1" in status, f"--sync-status while refused: {code} {status!r}")
        check(goals_in(home) == [("Before", False), ("While refused", False)], "a goal went while refused")
        check(mirel.process.poll() is None, "the panel ended")

        reconnected = connect(binary, home, server.url, password="a new one")
        check(reconnected.returncode == 0, f"connecting again failed: {reconnected.stderr}")
        expect_tasks(list_url, "what waited on the server", [("Before", False), ("While refused", False)],
                     password="a new one")
        wait_until("in sync", lambda: sync_status(binary, home)[0] == 0)


def case_without_secret_service(binary, home):
    """No Secret Service on the desktop: the command says so, and the running panel syncs with the password for
    as long as it runs. After a restart the panel cannot sync, and --sync-status says why until it does again."""
    server = Radicale(home)
    with desktop_session(home, keyring=False):
        mirel = Mirel(binary, home, goals="", env=panel_env())
        connected = connect(binary, home, server.url, list_switch="--new-list")
        check(connected.returncode == 0 and "no keyring" in connected.stdout,
              f"--connect-calendar without a Secret Service: {connected.returncode} {connected.stdout!r} "
              f"{connected.stderr!r}")
        list_url = listed(sync_status(binary, home)[1])
        check(list_url.startswith(server.url), f"no list made on the server: {list_url!r}")
        check(mirel_command(binary, home, "--send", "Kept for this run").returncode == 0, "--send failed")
        expect_tasks(list_url, "the goal on the server", [("Kept for this run", False)])
        wait_until("in sync", lambda: sync_status(binary, home)[0] == 0)
        check(PASSWORD not in open(os.path.join(home, "config", "Mirel", "Mirel.conf"), encoding="utf-8").read(),
              "the password is in the preferences")

        mirel.stop()
        mirel = Mirel(binary, home, goals="", env=panel_env())
        wait_until("the keyring named in --sync-status", lambda: "keyring" in sync_status(binary, home)[1])
        code, status = sync_status(binary, home)
        check(code != 0 and "Last error: There is no keyring" in status and "dbus" not in status.lower(),
              f"--sync-status of a panel without the password: {code} {status!r}")
        check(connect(binary, home, server.url).returncode == 0, "connecting again failed")
        wait_until("in sync again", lambda: sync_status(binary, home)[0] == 0)


def case_keyring_prompt_cancelled(binary, home):
    """The keyring's prompt for a new keyring cancelled: the running panel syncs with the password for its run,
    and the command and the header say so and what to do, in words of their own."""
    server = Radicale(home)
    list_url = server.make_list("goals")
    with desktop_session(home, keyring="unmade") as reader:
        Mirel(binary, home, goals="", env=panel_env())
        connecting = subprocess.Popen([binary, "--connect-calendar", server.url, "--user", USER, "--list", "goals"],
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                      text=True, env=environment(home))
        connecting.stdin.write(PASSWORD + "\n")
        connecting.stdin.close()
        prompt = wait_until("the keyring's prompt", lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--class", "gcr-prompter"], capture_output=True,
            text=True).stdout.split(), timeout=30)[0]
        run("xdotool", "windowactivate", "--sync", prompt)
        keys("Escape")
        connecting.wait(timeout=60)
        said = connecting.stdout.read() + connecting.stderr.read()
        check(connecting.returncode == 0 and "its prompt was cancelled" in said and "/org/" not in said,
              f"--connect-calendar with the prompt cancelled: {connecting.returncode} {said!r}")
        check(mirel_command(binary, home, "--send", "Kept for this run").returncode == 0, "--send failed")
        expect_tasks(list_url, "the goal on the server", [("Kept for this run", False)])
        told = wait_until("the header's word on the keyring", lambda: next(
            (node.name for node in tree(panel(reader)) if "once the keyring is unlocked" in (node.name or "")), None))
        check("/org/" not in told, f"the header gives the keyring's own words: {told!r}")

        def noted_in_sync():
            code, status = sync_status(binary, home)
            return code == 0 and "Note: The keyring did not keep the password" in status
        wait_until("the note in --sync-status, in sync", noted_in_sync)


def case_list_named_must_exist(binary, home):
    """--list only ever picks a list the server has: a typo names the lists there and makes none, and
    --new-list makes one."""
    server = Xandikos(home)
    server.make_list("Xtasks")
    lists_before = json.loads(client("list-names", server.url))
    with desktop_session(home):
        Mirel(binary, home, goals="", env=panel_env())
        check(mirel_command(binary, home, "--send", "Buy milk").returncode == 0, "--send failed")
        typo = connect(binary, home, server.url, name="Xtaks")
        check(typo.returncode == 1 and "Xtaks" in typo.stderr and "  Xtasks" in typo.stderr,
              f"a list the server lacks: {typo.returncode} {typo.stdout!r} {typo.stderr!r}")
        check(sync_status(binary, home)[0] != 0, "--sync-status in sync with no list connected")
        check(json.loads(client("list-names", server.url)) == lists_before, "a list was made for a typo")

        made = connect(binary, home, server.url, list_switch="--new-list", name="Goals")
        check(made.returncode == 0, f"--new-list failed: {made.stderr!r}")
        check(json.loads(client("list-names", server.url)) == sorted(lists_before + ["Goals"]),
              "--new-list made no list")
        expect_tasks(listed(sync_status(binary, home)[1]), "the goal in the new list", [("Buy milk", False)])
        wait_until("in sync", lambda: sync_status(binary, home)[0] == 0)


def self_signed_certificate(home):
    """A certificate made for the test, and its SHA-256 fingerprint as openssl prints it."""
    if not shutil.which("openssl"):
        raise Skipped("openssl is not installed (scripts/deps.sh --test)")
    certificate, key = os.path.join(home, "certificate.pem"), os.path.join(home, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                    "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", certificate],
                   capture_output=True, check=True)
    printed = subprocess.run(["openssl", "x509", "-noout", "-fingerprint", "-sha256", "-in", certificate],
                             capture_output=True, text=True, check=True).stdout
    return (certificate, key), "SHA256:" + printed.split("=", 1)[1].strip()


def case_self_signed_certificate(binary, home):
    """A certificate the system does not trust is refused with its fingerprint, then trusted by it."""
    tls, fingerprint = self_signed_certificate(home)
    server = Radicale(home, tls=tls)
    with desktop_session(home):
        Mirel(binary, home, goals="", env=panel_env())
        refused = connect(binary, home, server.url)
        check(refused.returncode != 0 and fingerprint in refused.stderr,
              f"the certificate was not refused with its fingerprint {fingerprint}: {refused.stderr!r}")
        trusted = mirel_command(binary, home, "--connect-calendar", server.url, "--user", USER, "--new-list",
                                "goals", "--trust-certificate", fingerprint, password=PASSWORD + "\n")
        check(trusted.returncode == 0, f"the trusted certificate was refused: {trusted.stderr!r}")
        check(mirel_command(binary, home, "--send", "Over TLS").returncode == 0, "--send failed")
        expect_tasks(listed(sync_status(binary, home)[1]), "the goal on the server", [("Over TLS", False)])
        wait_until("in sync", lambda: sync_status(binary, home)[0] == 0)


def in_sync(binary, home):
    wait_until("nothing waiting to go up", lambda: "Changes waiting: 0" in sync_status(binary, home)[1], timeout=60)


FOUR = [("One", False), ("Two", False), ("Three", False), ("Four", False)]


def case_other_clients_move_stands(binary, home):
    """A task the phone moves keeps its place: the panel shows it there and writes nothing back."""
    server = Radicale(home, log=True)
    list_url = server.make_list("goals")
    with desktop_session(home) as reader:
        mirel = Mirel(binary, home, goals="", env=panel_env())
        check(connect(binary, home, server.url).returncode == 0, "--connect-calendar failed")
        check(mirel_command(binary, home, "--send", "One\nTwo\nThree\nFour").returncode == 0, "--send failed")
        expect_tasks(list_url, "the goals on the server", FOUR)
        in_sync(binary, home)
        last = max(task["order"] for task in tasks(list_url))
        client("order-text", list_url, "Two", str(last + 1))
        writes = server.requests("PUT", "DELETE")
        choose(menu_item(reader, mirel, "Sync Now"))
        moved = [("One", False), ("Three", False), ("Four", False), ("Two", False)]
        expect_goals(home, "the phone's order in the panel", moved)
        in_sync(binary, home)
        expect_tasks(list_url, "the phone's order on the server", moved)
        check(server.requests("PUT", "DELETE") == writes, "the panel wrote after the phone's move")


def case_two_panels_agree(binary, home):
    """Two computers on one list each move another goal while the server is away: after both synced they show
    one order, and a further sync of either writes nothing."""
    server = Radicale(home, log=True)
    list_url = server.make_list("goals")
    first, second = (os.path.join(home, name) for name in ("first", "second"))
    with desktop_session(home) as reader:
        mirel = Mirel(binary, first, goals="", env=panel_env())
        check(connect(binary, first, server.url).returncode == 0, "--connect-calendar failed on the first")
        check(mirel_command(binary, first, "--send", "One\nTwo\nThree\nFour").returncode == 0, "--send failed")
        expect_tasks(list_url, "the goals on the server", FOUR)
        in_sync(binary, first)
        mirel.stop()
        mirel = Mirel(binary, second, goals="", env=panel_env())
        check(connect(binary, second, server.url).returncode == 0, "--connect-calendar failed on the second")
        expect_goals(second, "the list on the second computer", FOUR)

        server.stop()
        take_keyboard(binary, second, mirel)
        keys("Escape", "Up", "alt+Up", "alt+Up", "alt+Up")
        expect_goals(second, "Four moved up on the second computer", [FOUR[3]] + FOUR[:3])
        mirel.stop()
        mirel = Mirel(binary, first, goals="", env=panel_env())
        take_keyboard(binary, first, mirel)
        keys("Escape", "Up", "Up", "alt+Up", "alt+Up")
        expect_goals(first, "Three moved up on the first computer", [FOUR[2]] + FOUR[:2] + [FOUR[3]])

        server.start()
        choose(menu_item(reader, mirel, "Sync Now"))
        expect_tasks(list_url, "the first computer's move on the server", [FOUR[2]] + FOUR[:2] + [FOUR[3]])
        in_sync(binary, first)
        mirel.stop()
        agreed = [FOUR[3], FOUR[2], FOUR[0], FOUR[1]]
        mirel = Mirel(binary, second, goals="", env=panel_env())
        expect_goals(second, "both moves on the second computer", agreed)
        in_sync(binary, second)
        expect_tasks(list_url, "both moves on the server", agreed)
        mirel.stop()
        mirel = Mirel(binary, first, goals="", env=panel_env())
        expect_goals(first, "both moves on the first computer", agreed)
        in_sync(binary, first)

        # Each syncs once more: a question for changes, and nothing written.
        writes, questions = server.requests("PUT", "DELETE"), server.requests("REPORT")
        choose(menu_item(reader, mirel, "Sync Now"))
        wait_until("the first computer's question", lambda: server.requests("REPORT") > questions, timeout=30)
        mirel.stop()
        mirel = Mirel(binary, second, goals="", env=panel_env())
        wait_until("the second computer's question", lambda: server.requests("REPORT") > questions + 1, timeout=30)
        in_sync(binary, second)
        check(server.requests("PUT", "DELETE") == writes, "a further sync wrote to the server")
        check(goals_in(first) == agreed and goals_in(second) == agreed and
              [(t["summary"], False) for t in tasks(list_url)] == agreed,
              f"the order moved: {goals_in(first)}, {goals_in(second)}")


def case_delete_in_a_long_list(binary, home):
    """Deleting the top goal of a thousand deletes that one task and writes no other."""
    server = Radicale(home, log=True)
    server.make_list("goals")
    texts = [f"Goal {number}" for number in range(1, 1001)]
    write_goals(home, texts)
    with desktop_session(home):
        mirel = Mirel(binary, home, goals="", env=panel_env())
        check(connect(binary, home, server.url).returncode == 0, "--connect-calendar failed")
        # A thousand writes, each of which Radicale syncs to the disk: a minute or more on a busy machine.
        wait_until("a thousand tasks on the server", lambda: server.stored_tasks("goals") == 1000, timeout=240)
        in_sync(binary, home)
        writes = server.requests("PUT", "DELETE")
        take_keyboard(binary, home, mirel)
        keys("Escape")
        run("xdotool", "key", "--delay", "3", "--repeat", "1010", "Up")
        keys("Delete")
        expect_goals(home, "the top goal deleted", [(text, False) for text in texts[1:]])
        wait_until("the task deleted on the server", lambda: server.stored_tasks("goals") == 999, timeout=30)
        in_sync(binary, home)
        check(server.requests("PUT", "DELETE") == writes + 1,
              f"{server.requests('PUT', 'DELETE') - writes} writes for one deleted goal")


CASES = {
    "both_ways_radicale": case_both_ways("radicale"),
    "both_ways_xandikos": case_both_ways("xandikos"),
    "on_cyrus": case_server_people_run("cyrus"),
    "on_davical": case_server_people_run("davical"),
    "apart_then_killed": case_apart_then_killed,
    "wrong_password": case_wrong_password,
    "without_secret_service": case_without_secret_service,
    "list_named_must_exist": case_list_named_must_exist,
    "keyring_prompt_cancelled": case_keyring_prompt_cancelled,
    "self_signed_certificate": case_self_signed_certificate,
    "repeating_goals": case_repeating_goals,
    "other_clients_move_stands": case_other_clients_move_stands,
    "two_panels_agree": case_two_panels_agree,
    "delete_in_a_long_list": case_delete_in_a_long_list,
}

if __name__ == "__main__":
    sys.exit(main(CASES))
