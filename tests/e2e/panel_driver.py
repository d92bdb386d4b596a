# SPDX-License-Identifier: GPL-3.0-or-later
"""What the end-to-end cases share: starting the panel in a private home, driving the X session with
xdotool, reading windows, pixels, the stored settings and goals, and running one named case."""
import contextlib
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import traceback

SCREEN_W, SCREEN_H = 1440, 900
GOALS = "Write the report\nBuy milk\nCall the bank"


class Failure(Exception):
    pass


class Skipped(Exception):
    """The case cannot run here; ctest reports it as skipped, never as passed."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def wait_until(what, predicate, timeout=5.0):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


def window_named(name):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                         capture_output=True, text=True).stdout.split()
    return int(out[0]) if out else None


def geometry(window):
    """(x, y, width, height) in X's root coordinates, y down."""
    info = run("xwininfo", "-id", str(window))
    value = lambda key: int(re.search(rf"{key}:\s+(-?\d+)", info).group(1))
    return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))


def prop(window, name):
    target = ["-root"] if window is None else ["-id", str(window)]
    return run("xprop", *target, name)


def focused_window():
    """The X input focus, or None while it is PointerRoot or nothing."""
    result = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True)
    return int(result.stdout.strip()) if result.returncode == 0 and result.stdout.strip() else None


def active_window():
    match = re.search(r"window id # (0x[0-9a-f]+)", prop(None, "_NET_ACTIVE_WINDOW"))
    return int(match.group(1), 16) if match else None


def pixel(x, y):
    out = run("import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-")
    return tuple(int(v) for v in re.search(r"\((\d+),(\d+),(\d+)", out).groups())


def close_to(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def drag(start, end, steps=12, button=1):
    run("xdotool", "mousemove", str(start[0]), str(start[1]), "mousedown", str(button))
    for i in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        run("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.02)
    run("xdotool", "mouseup", str(button))


def drag_header(grab, dx, dy):
    """Drags the header so that the panel moves by (dx, dy): the header's drag starts 10 pixels out, and
    the panel then follows the pointer from where it was at that first step."""
    run("xdotool", "mousemove", str(grab[0]), str(grab[1]), "mousedown", "1")
    reference = (grab[0], grab[1] + 12)
    run("xdotool", "mousemove", str(reference[0]), str(reference[1]))
    time.sleep(0.05)
    steps = 10
    for i in range(1, steps + 1):
        run("xdotool", "mousemove", str(reference[0] + dx * i // steps), str(reference[1] + dy * i // steps))
        time.sleep(0.02)
    run("xdotool", "mouseup", "1")


def settings(path):
    values = {}
    if os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            key, sep, value = line.strip().partition("=")
            if sep:
                values[key] = value
    return values


def stored_frame(path):
    values = settings(path)
    if "panelX" not in values:
        return None
    return tuple(float(values[key]) for key in ("panelX", "panelY", "panelW", "panelH"))


def to_stored(rect):
    """X's (x, y-down top, w, h) as the stored frame: origin bottom-left of the screen, y up."""
    x, y, w, h = rect
    return (float(x), float(SCREEN_H - y - h), float(w), float(h))


def environment(home, **extra):
    """The panel's environment with every folder it uses inside `home`, on the X session's display. The runtime
    folder is one of its own, private as Qt requires even where `home` is opened to a server's system user:
    otherwise every case's panel would fall back to one shared folder and take another case's for its own."""
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), XDG_RUNTIME_DIR=runtime, **extra)
    env.pop("QT_QPA_PLATFORM", None)
    return env


STARTED = []
# The exit status ctest is told means "skipped".
SKIPPED = 77


class Mirel:
    def __init__(self, binary, home, *arguments, goals=GOALS, env=None):
        """`env` adds to the environment."""
        self.home = home
        # Each start's own log, so that a panel that never shows can say why.
        self.log = tempfile.NamedTemporaryFile(prefix="mirel-log-", mode="w+", encoding="utf-8", errors="replace")
        self.process = subprocess.Popen([binary, *arguments], env=environment(home, UITEST_GOALS=goals, **(env or {})),
                                        stdout=subprocess.DEVNULL, stderr=self.log)
        STARTED.append(self.process)
        try:
            self.window = wait_until("the panel", lambda: window_named("Mirel"), timeout=30)
        except Failure:
            state = "still running" if self.process.poll() is None else f"ended with {self.process.returncode}"
            self.log.seek(0)
            raise Failure(f"the panel never showed ({state}); its log ends: {self.log.read()[-800:]!r}") from None
        # The content sizes the window right after it maps; wait until the size holds still.
        time.sleep(0.4)
        def settled():
            before = geometry(self.window)
            time.sleep(0.15)
            return geometry(self.window) == before
        wait_until("the panel's size to settle", settled)

    def suite_file(self):
        return os.path.join(self.home, "config", "mirel-uitests.conf")

    def user_file(self):
        return os.path.join(self.home, "config", "Mirel", "Mirel.conf")

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=5)
        wait_until("the panel to go", lambda: window_named("Mirel") is None)


def header_point(rect, dx=40):
    """A point on the header's empty middle, away from the title's text and the count."""
    x, y, w, _ = rect
    return (x + w // 2 + dx // 4, y + 20)


def xmessage(name, geometry):
    """Another application's window, named `name`, once it shows."""
    def mapped():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", f"^{name}$"],
                             capture_output=True, text=True).stdout.split()
        return int(out[0]) if out else None

    # Now and then, in a long run, the window never shows: it is no part of what is checked, so it is started
    # once more before the case gives up.
    for attempt in (1, 2):
        process = subprocess.Popen(["xmessage", "-name", name, "-geometry", geometry, name],
                                   stderr=subprocess.PIPE, text=True)
        STARTED.append(process)
        try:
            return wait_until(f"the {name} window", mapped, timeout=8.0)
        except Failure:
            if process.poll() is None:
                process.kill()
            status = process.wait()
            if attempt == 2:
                raise Failure(f"the {name} window did not show twice; xmessage ended with {status}: "
                              f"{process.stderr.read().strip()!r}") from None


def click_to_focus(window, point, button="1"):
    """Clicks `point` on the panel and waits until the panel has the X input focus, which the keys typed next
    need; a loaded machine can take longer than any fixed pause."""
    run("xdotool", "mousemove", *map(str, point), "click", button)
    wait_until("the panel's focus after the click", lambda: focused_window() == window, timeout=10.0)


class SmallDisk:
    """The panel's data folder on a file system of 64 KiB, which `fill` fills to the last byte."""

    def __init__(self, data):
        self.data = data
        self.filler = os.path.join(data, "filler")

    def fill(self):
        with open(self.filler, "wb", buffering=0) as file:
            try:
                while True:
                    file.write(b"x" * 1024)
            except OSError:
                pass

    def free(self):
        os.remove(self.filler)


@contextlib.contextmanager
def small_disk(home):
    """Mounts a SmallDisk as `home`'s data folder; at the end the panels started on it end before it goes."""
    data = os.path.join(home, "data")
    os.makedirs(data)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", data], capture_output=True, text=True)
    if mounted.returncode != 0:
        raise Skipped(f"a small file system cannot be mounted here: {mounted.stderr.strip()}")
    try:
        yield SmallDisk(data)
    finally:
        for process in STARTED:
            if process.poll() is None:
                process.kill()
                process.wait()
        subprocess.run(["umount", "-l", data])


def start_other_window():
    """Another application's window, which the window manager focuses when it maps."""
    window = xmessage("elsewhere", "+50+50")
    focus_other_window(window)
    return window


def focus_other_window(window):
    # The window manager may not have taken a just-mapped window on yet, and a busy one can ignore an
    # activation request; ask until it has, and click on the window's message text as a person would.
    activate = ["xdotool", "windowactivate", "--sync", str(window)]
    x, y, _, _ = geometry(window)
    def focused():
        try:
            activated = subprocess.run(activate, capture_output=True, timeout=2).returncode == 0
        except subprocess.TimeoutExpired:
            activated = False
        if activated and focused_window() not in (None, window_named("Mirel")):
            return True
        subprocess.run(["xdotool", "mousemove", str(x + 8), str(y + 8), "click", "1"], capture_output=True)
        return False
    try:
        wait_until("the other window's focus", focused, timeout=10.0)
    except Failure as failure:
        raise Failure(f"{failure}: {window} at {(x, y)}, focus {focused_window()}, active {active_window()}, "
                      f"panel {window_named('Mirel')}") from None
    # Let the panel hear that it lost the focus before the next click.
    time.sleep(0.3)


def send(binary, home, *texts):
    return subprocess.run([binary, "--send", *texts], env=environment(home), capture_output=True, text=True, timeout=30)


def shows_save_warning(window):
    """Whether the header shows the amber warning glyph that says the goals are not on disk."""
    x, y, w, _ = geometry(window)
    out = run("import", "-window", "root", "-crop", f"{w}x36+{x}+{y}", "-depth", "8", "txt:-")
    amber = 0
    for r, g, b in re.findall(r"\((\d+),(\d+),(\d+)", out):
        r, g, b = int(r), int(g), int(b)
        amber += r > 170 and 90 < g < 170 and b < 90
    return amber >= 4


def goals_in(home):
    """The stored goals as (text, done) in list order."""
    path = os.path.join(home, "data", "Mirel", "todos.json")
    if not os.path.exists(path):
        return []
    todos = sorted(json.load(open(path, encoding="utf-8")), key=lambda todo: todo["order"])
    return [(todo["text"], todo["completed"]) for todo in todos]


def keys(*names):
    for name in names:
        run("xdotool", "key", name)
        time.sleep(0.15)


def write_goals(home, texts):
    folder = os.path.join(home, "data", "Mirel")
    os.makedirs(folder, exist_ok=True)
    goals = [{"id": "%08x-0000-4000-8000-000000000000" % i, "text": text, "completed": False, "order": i,
              "createdAt": "2026-12-01T09:00:00.000Z"} for i, text in enumerate(texts)]
    with open(os.path.join(folder, "todos.json"), "w", encoding="utf-8") as file:
        json.dump(goals, file)
    return os.path.join(folder, "todos.json")


def outcome(name, body):
    """Runs `body` as the case `name`, ends what it started, and gives the exit status ctest reads."""
    # Under which window manager, so that one line of a long run's output says what failed where.
    where = f"{name} under {os.environ.get('MIREL_E2E_WM', 'no session')}"
    try:
        body()
    except Failure as failure:
        print(f"FAIL {where}: {failure}")
        return 1
    except Skipped as reason:
        print(f"SKIP {where}: {reason}")
        return SKIPPED
    except Exception as error:  # a tool that failed or hung: still one line first, then where it happened
        print(f"FAIL {where}: {type(error).__name__}: {error}")
        traceback.print_exc(file=sys.stdout)
        return 1
    finally:
        for process in STARTED:
            if process.poll() is None:
                process.kill()
                process.wait()
    print(f"PASS {where}")
    return 0


def main(cases):
    """Runs the case named on the command line, from `cases`, in a fresh home."""
    binary, case = sys.argv[1], sys.argv[2]
    # The case's programs end before their home goes.
    with tempfile.TemporaryDirectory(prefix="mirel-e2e-") as home:
        return outcome(case, lambda: cases[case](binary, home))
