#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Two computers sharing their goals through real Syncthing: two devices on this machine, each syncing the data
folder of its own panel, first while connected and then after both changed their goals apart.

Usage: syncthing_e2e.py MIREL_BINARY   (inside tests/e2e/xsession.sh, which sets DISPLAY)
Everything runs on 127.0.0.1: Syncthing listens there only, with discovery, relays and NAT off. The panels are
read as a screen reader reads them (a private D-Bus session and accessibility bus), so the test sees the lists
the person sees; the system's interpreter, since the accessibility bindings are a Debian package.
"""
import glob
import json
import os
import secrets
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

from panel_driver import (SCREEN_H, Failure, Skipped, check, focused_window, geometry, header_point, keys, outcome,
                          run, wait_until)
from accessibility_bus import accessibility_bus, tree

FOLDER_ID = "mirel-goals"
# Syncthing's own start, a scan after the watcher's delay and a transfer: seconds each, under load.
SYNC_TIMEOUT = 30.0
# Two devices' TLS handshake and Hello, redialled every second, on a machine whose cores are busy.
CONNECT_TIMEOUT = 45.0
CONFIG = """<configuration version="36">
    <folder id="{folder}" label="Mirel" path="{path}" type="sendreceive" rescanIntervalS="3600"
            fsWatcherEnabled="true" fsWatcherDelayS="1" ignorePerms="false" autoNormalize="true">
        <device id="{own_id}"></device>
        <device id="{other_id}"></device>
        <minDiskFree unit="%">0</minDiskFree>
        <maxConflicts>10</maxConflicts>
    </folder>
    <device id="{own_id}" name="{own_name}" compression="metadata">
        <address>dynamic</address>
    </device>
    <device id="{other_id}" name="{other_name}" compression="metadata">
        <address>tcp://127.0.0.1:{other_port}</address>
    </device>
    <gui enabled="true" tls="false">
        <address>127.0.0.1:{gui_port}</address>
        <apikey>{api_key}</apikey>
    </gui>
    <options>
        <listenAddress>tcp://127.0.0.1:{listen_port}</listenAddress>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <stunKeepaliveStartS>0</stunKeepaliveStartS>
        <urAccepted>-1</urAccepted>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <crashReportingEnabled>false</crashReportingEnabled>
        <startBrowser>false</startBrowser>
        <reconnectionIntervalS>1</reconnectionIntervalS>
        <minHomeDiskFree unit="%">0</minHomeDiskFree>
    </options>
</configuration>
"""
# Loopback only, whatever proxy the caller's environment names.
LOOPBACK = urllib.request.build_opener(urllib.request.ProxyHandler({}))
PROXY_VARIABLES = ("http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY")


def free_ports(count):
    sockets = [socket.socket() for _ in range(count)]
    try:
        for s in sockets:
            s.bind(("127.0.0.1", 0))
        return [s.getsockname()[1] for s in sockets]
    finally:
        for s in sockets:
            s.close()


class Computer:
    """One person's computer: a home with a Syncthing device and a panel whose data folder it shares."""

    def __init__(self, root, name, binary, bus_address, left):
        self.name = name
        self.binary = binary
        self.home = os.path.join(root, name)
        self.data = os.path.join(self.home, "data", "Mirel")
        self.goals_file = os.path.join(self.data, "todos.json")
        self.syncthing_home = os.path.join(self.home, "syncthing")
        runtime = os.path.join(self.home, "run")
        os.makedirs(os.path.join(self.data, ".stfolder"))
        os.makedirs(runtime, mode=0o700)
        # Side by side, so that a click on one panel never lands on the other.
        config = os.path.join(self.home, "config", "Mirel")
        os.makedirs(config)
        with open(os.path.join(config, "Mirel.conf"), "w", encoding="utf-8") as file:
            file.write(f"[General]\npanelX={left}\npanelY={SCREEN_H - 500}\npanelW=300\npanelH=126\n")
        self.env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"),
                        XDG_STATE_HOME=os.path.join(self.home, "state"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"), XDG_RUNTIME_DIR=runtime,
                        DBUS_SESSION_BUS_ADDRESS=bus_address, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.env.pop("QT_QPA_PLATFORM", None)
        for variable in PROXY_VARIABLES:
            self.env.pop(variable, None)
        subprocess.run(["syncthing", "generate", "--home", self.syncthing_home, "--no-default-folder"],
                       env=self.env, check=True, capture_output=True)
        self.device_id = subprocess.run(["syncthing", "serve", "--home", self.syncthing_home, "--device-id"],
                                        env=self.env, check=True, capture_output=True, text=True).stdout.strip()
        self.api_key = secrets.token_hex(16)
        self.syncthing = self.panel = None
        self.log = os.path.join(self.home, "syncthing.log")

    def configure(self, listen_port, gui_port, other, other_port):
        self.gui_port = gui_port
        with open(os.path.join(self.syncthing_home, "config.xml"), "w", encoding="utf-8") as file:
            file.write(CONFIG.format(folder=FOLDER_ID, path=self.data, own_id=self.device_id, own_name=self.name,
                                     other_id=other.device_id, other_name=other.name, other_port=other_port,
                                     gui_port=gui_port, api_key=self.api_key, listen_port=listen_port))
        self.other = other

    def start_syncthing(self):
        env = dict(self.env, STNOUPGRADE="1", STNODEFAULTFOLDER="1")
        with open(self.log, "a") as log:
            self.syncthing = subprocess.Popen(["syncthing", "serve", "--home", self.syncthing_home, "--no-browser",
                                               "--no-restart"], env=env, stdout=log, stderr=subprocess.STDOUT)

    def rest(self, path, method="GET", **query):
        url = f"http://127.0.0.1:{self.gui_port}/rest/{path}"
        if query:
            url += "?" + urllib.parse.urlencode(query)
        request = urllib.request.Request(url, method=method, headers={"X-API-Key": self.api_key})
        with LOOPBACK.open(request, timeout=5) as response:
            body = response.read()
        return json.loads(body) if body else None

    def answers(self):
        try:
            return self.rest("system/ping") == {"ping": "pong"}
        except OSError:
            check(self.syncthing.poll() is None, f"{self.name}'s Syncthing ended: {self.log_tail()}")
            return False

    def connected(self):
        return self.rest("system/connections")["connections"].get(self.other.device_id, {}).get("connected")

    def folder_idle(self):
        return self.rest("db/status", folder=FOLDER_ID).get("state") == "idle"

    def set_other_paused(self, paused):
        self.rest("system/pause" if paused else "system/resume", method="POST", device=self.other.device_id)

    def restart_syncthing(self):
        self.syncthing.send_signal(signal.SIGTERM)
        try:
            self.syncthing.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.syncthing.kill()
            self.syncthing.wait()
        self.start_syncthing()
        wait_until(f"{self.name}'s Syncthing to answer again", self.answers, timeout=20)

    def log_tail(self):
        with open(self.log, encoding="utf-8", errors="replace") as log:
            return "".join(log.readlines()[-15:])

    def start_panel(self):
        self.panel = subprocess.Popen([self.binary], env=self.env, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)

    def window(self):
        search = ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.panel.pid), "--name", "^Mirel$"]
        out = subprocess.run(search, capture_output=True, text=True).stdout.split()
        return int(out[0]) if out else None

    def delete_by_keyboard(self, reader, text):
        """Clicks the panel's header, which leaves no goal focused, walks down to the goal and deletes it."""
        window = wait_until(f"{self.name}'s panel window", self.window)
        run("xdotool", "mousemove", *map(str, header_point(geometry(window))), "click", "1")
        wait_until(f"{self.name}'s panel to take the keyboard", lambda: focused_window() == window)
        texts = [shown for shown, _ in reader.shown(self)]
        check(text in texts, f"{self.name}'s panel shows no {text!r} to delete: {texts}")
        keys(*["Down"] * (texts.index(text) + 1), "Delete")

    def send(self, *texts):
        result = subprocess.run([self.binary, "--send", *texts], env=self.env, capture_output=True, text=True,
                                timeout=30)
        check(result.returncode == 0, f"{self.name}'s send of {texts} exited {result.returncode}: {result.stderr!r}")

    def stored(self):
        """The goals file as (text, done) in list order; None while it is missing or not whole."""
        try:
            goals = json.load(open(self.goals_file, encoding="utf-8"))
        except (OSError, ValueError):
            return None
        return [(goal["text"], goal["completed"]) for goal in sorted(goals, key=lambda goal: goal["order"])]

    def conflict_copies(self):
        return sorted(os.path.basename(path) for path in glob.glob(os.path.join(self.data, "*sync-conflict*")))

    def stop(self):
        for process in (self.panel, self.syncthing):
            if process and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


class ScreenReader:
    """What each panel shows, read from the accessibility bus: its goals as (text, ticked) in list order."""

    def __init__(self, pyatspi, GLib):
        self.pyatspi = pyatspi
        self.GLib = GLib
        self.context = GLib.MainContext.default()

    def panel(self, computer):
        # The bindings keep their cache up to date from events, which arrive through the main loop.
        while self.context.pending():
            self.context.iteration(False)
        pid = computer.panel.pid
        return next((app for app in self.pyatspi.Registry.getDesktop(0)
                     if app and app.name == "Mirel" and app.get_process_id() == pid), None)

    def boxes(self, computer):
        panel = self.panel(computer)
        return [node for node in tree(panel) if node.getRoleName() == "check box"] if panel else []

    def shown(self, computer):
        checked = self.pyatspi.STATE_CHECKED
        # A row that goes away while it is read, as the panel takes a change in, fails that read; the next one
        # finds the list as it stands by then.
        for attempt in range(20):
            try:
                return [(box.name, box.getState().contains(checked)) for box in self.boxes(computer)]
            except self.GLib.GError:
                if attempt == 19:
                    raise
                time.sleep(0.05)

    def toggle(self, computer, text):
        boxes = [box for box in self.boxes(computer) if box.name == text]
        check(len(boxes) == 1, f"{computer.name}'s panel shows {len(boxes)} goals named {text!r}")
        actions = boxes[0].queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        check("Toggle" in names, f"{computer.name}'s check box {text!r} offers {names}, no Toggle")
        actions.doAction(names.index("Toggle"))


def wait_for_everyone(what, computers, reader, expected, timeout=SYNC_TIMEOUT):
    """Waits until every goals file and every panel holds `expected` as (text, done), in any order, the files
    alike byte for byte and with no conflict copy beside them; the failure tells what each holds."""
    want = sorted(expected)

    def state():
        files = [open(c.goals_file, "rb").read() if os.path.exists(c.goals_file) else b"" for c in computers]
        return files, [(c.stored(), reader.shown(c), c.conflict_copies()) for c in computers]

    def agreed():
        files, held = state()
        return len(set(files)) == 1 and all(
            stored is not None and sorted(stored) == want and shown == stored and not copies
            for stored, shown, copies in held)

    try:
        wait_until(what, agreed, timeout=timeout)
    except Failure:
        _, held = state()
        report = "; ".join(f"{c.name}: file {stored}, panel {shown}, conflict copies {copies}"
                           for c, (stored, shown, copies) in zip(computers, held))
        raise Failure(f"timed out waiting for {what}: want {want}; {report}") from None


def connect(computers, what):
    """Waits for the devices to see each other. Now and then Syncthing's Hello exchange ends in an i/o timeout
    and the devices keep failing to connect however long they redial; that is Syncthing's fault, not the
    panel's, so both devices are started again once, and the run's output says so."""
    def all_connected():
        return all(computer.connected() for computer in computers)
    try:
        wait_until(f"the devices to {what}", all_connected, timeout=CONNECT_TIMEOUT)
        return
    except Failure:
        logs = "\n".join(f"{computer.name}'s log ends:\n{computer.log_tail()}" for computer in computers)
        print(f"Syncthing's devices did not {what} within {CONNECT_TIMEOUT:.0f} s; starting both again once.\n{logs}",
              flush=True)
    for computer in computers:
        computer.restart_syncthing()
    try:
        wait_until(f"the devices to {what} after a restart", all_connected, timeout=CONNECT_TIMEOUT)
    except Failure as failure:
        logs = "\n".join(f"{computer.name}'s log ends:\n{computer.log_tail()}" for computer in computers)
        raise Failure(f"{failure}; {logs}") from None


def run_case(binary, root, bus_address, reader):
    a = Computer(root, "alpha", binary, bus_address, left=100)
    b = Computer(root, "beta", binary, bus_address, left=700)
    computers = (a, b)
    try:
        listen_a, listen_b, gui_a, gui_b = free_ports(4)
        a.configure(listen_a, gui_a, b, listen_b)
        b.configure(listen_b, gui_b, a, listen_a)
        for computer in computers:
            computer.start_syncthing()
        for computer in computers:
            wait_until(f"{computer.name}'s Syncthing to answer", computer.answers, timeout=20)
        connect(computers, "connect")
        for computer in computers:
            try:
                wait_until(f"{computer.name}'s folder to be scanned", computer.folder_idle, timeout=20)
            except Failure as failure:
                raise Failure(f"{failure}; its log ends:\n{computer.log_tail()}") from None
        for computer in computers:
            computer.start_panel()
            wait_until(f"{computer.name}'s panel on the accessibility bus", lambda: reader.panel(computer),
                       timeout=15)

        # Live: each adds in turn, the second once the first one's goals show in its panel.
        a.send("Milk", "Bread")
        wait_until("alpha's goals in beta's file", lambda: b.stored() == [("Milk", False), ("Bread", False)],
                   timeout=SYNC_TIMEOUT)
        wait_until("alpha's goals in beta's panel", lambda: reader.shown(b) == b.stored(), timeout=5)
        b.send("Eggs")
        wait_for_everyone("the goals added in turn on both computers", computers, reader,
                          [("Milk", False), ("Bread", False), ("Eggs", False)])

        # Apart: both add, then alpha ticks one goal while beta deletes another.
        for computer in computers:
            computer.set_other_paused(True)
        for computer in computers:
            wait_until(f"{computer.name} to disconnect", lambda: not computer.connected(), timeout=15)
        a.send("Tea")
        b.send("Soap")
        reader.toggle(a, "Milk")
        wait_until("alpha's tick in its file", lambda: ("Milk", True) in (a.stored() or []))
        b.delete_by_keyboard(reader, "Bread")
        wait_until("beta's deletion in its file", lambda: "Bread" not in dict(b.stored() or []))

        for computer in computers:
            computer.set_other_paused(False)
        connect(computers, "reconnect")
        expected = [("Milk", True), ("Eggs", False), ("Tea", False), ("Soap", False)]
        wait_for_everyone("every change made apart on both computers", computers, reader, expected)
        # A merge that kept rewriting the file would start the conflicts over: it has to hold still.
        time.sleep(3)
        wait_for_everyone("both computers to stay agreed", computers, reader, expected, timeout=0.5)
    finally:
        for computer in computers:
            computer.stop()


def main():
    def body():
        if not shutil.which("syncthing"):
            raise Skipped("syncthing missing (scripts/deps.sh --test)")
        with accessibility_bus() as bus, tempfile.TemporaryDirectory(prefix="mirel-sync-") as root:
            run_case(sys.argv[1], root, bus.address, ScreenReader(bus.pyatspi, bus.GLib))
    return outcome("syncthing", body)


if __name__ == "__main__":
    sys.exit(main())
