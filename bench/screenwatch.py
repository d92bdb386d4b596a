# SPDX-License-Identifier: GPL-3.0-or-later
"""Watching X11 programs start from outside: exec -> first pixels on the root window, and peak memory.

The root window is read back, so what is timed is what a user sees after the compositor, not the moment a
program believes it painted. It is read back only when the X server reports something drawn there (the Damage
extension), two or three times a start: read back every half millisecond, a tall window kept the X server and
this process busy on a small machine's processors while the program they timed was starting. Without the
extension it is read back every half millisecond still. Used by start_bench.py and send_bench.py; needs $DISPLAY
with nothing else mapping windows meanwhile.
"""
import ctypes
import ctypes.util
import os
import select
import signal
import statistics
import time

X = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
X.XConnectionNumber.argtypes = [ctypes.c_void_p]
X.XPending.argtypes = [ctypes.c_void_p]
X.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X.XGetImage.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                        ctypes.c_ulong, ctypes.c_int]
X.XFree.argtypes = [ctypes.c_void_p]
X.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong)] + \
    [ctypes.POINTER(ctypes.c_int)] * 2 + [ctypes.POINTER(ctypes.c_uint)] * 4
X.XEventsQueued.argtypes = [ctypes.c_void_p, ctypes.c_int]
LIBC = ctypes.CDLL(None)
try:
    XDAMAGE = ctypes.CDLL(ctypes.util.find_library("Xdamage") or "libXdamage.so.1")
    XDAMAGE.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                              ctypes.POINTER(ctypes.c_int)]
    XDAMAGE.XDamageCreate.restype = ctypes.c_ulong
    XDAMAGE.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
    XDAMAGE.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
except OSError:
    XDAMAGE = None
# One event each time the screen's damage goes from empty to not empty; emptied again before each read-back.
X_DAMAGE_REPORT_NON_EMPTY = 3
QUEUED_AFTER_FLUSH = 2
LIBC.free.argtypes = [ctypes.c_void_p]
ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19
# The window counts as seen once this share of its rows differs from the screen before the start.
SEEN_ROWS = 0.1


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


class Screen:
    def __init__(self):
        self.dpy = X.XOpenDisplay(None)
        if not self.dpy:
            raise SystemExit(f"cannot open display {os.environ.get('DISPLAY')!r}")
        self.root = X.XDefaultRootWindow(self.dpy)
        X.XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        X.XSync(self.dpy, 0)
        self.fd = X.XConnectionNumber(self.dpy)
        _, _, self.width, self.height = self.geometry(self.root)
        self.damage_event = None
        self.damaged = True
        event_base, error_base = ctypes.c_int(), ctypes.c_int()
        if XDAMAGE and XDAMAGE.XDamageQueryExtension(self.dpy, ctypes.byref(event_base), ctypes.byref(error_base)):
            self.damage = XDAMAGE.XDamageCreate(self.dpy, self.root, X_DAMAGE_REPORT_NON_EMPTY)
            self.damage_event = event_base.value

    def take_damage(self):
        """Whether anything may have been drawn since the last call. Without the Damage extension, always."""
        if self.damage_event is None:
            return True
        damaged, self.damaged = self.damaged, False
        if damaged:
            # Emptied before the read-back that follows, so that drawing after it reports again.
            XDAMAGE.XDamageSubtract(self.dpy, self.damage, 0, 0)
        return damaged

    def wait(self, seconds):
        """Until the X server sends an event or `seconds` pass; events already read in count at once."""
        if not X.XEventsQueued(self.dpy, QUEUED_AFTER_FLUSH):
            select.select([self.fd], [], [], seconds)

    def grab(self, x, y, w, h):
        p = X.XGetImage(self.dpy, self.root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
        if not p:
            return None
        image = XImage.from_address(p)
        data = ctypes.string_at(image.data, image.bytes_per_line * image.height)
        LIBC.free(image.data)
        X.XFree(p)
        return data

    def geometry(self, window):
        root = ctypes.c_ulong()
        x, y = ctypes.c_int(), ctypes.c_int()
        w, h, b, d = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        if not X.XGetGeometry(self.dpy, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                              ctypes.byref(w), ctypes.byref(h), ctypes.byref(b), ctypes.byref(d)):
            return None
        return x.value, y.value, w.value, h.value

    def mapped_windows(self):
        """Top-level windows mapped since the last call; notes whether anything was drawn meanwhile."""
        event = XEvent()
        windows = []
        while X.XPending(self.dpy):
            X.XNextEvent(self.dpy, ctypes.byref(event))
            if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                windows.append(event.xmap.window)
            elif event.type == self.damage_event:
                self.damaged = True
        return windows


def peak_rss_mib(pid):
    """VmHWM starts afresh at exec, so it leaves out the Python process that spawned the program."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return None


def rss_by_file_kib(pid):
    """Resident memory per mapped file (by name) and for anonymous memory, from /proc/PID/smaps."""
    sizes = {}
    name = "[anonymous]"
    try:
        with open(f"/proc/{pid}/smaps") as smaps:
            for line in smaps:
                fields = line.split()
                if not fields[0].endswith(":"):
                    name = os.path.basename(fields[5]) if len(fields) > 5 and fields[5].startswith("/") else "[anonymous]"
                elif fields[0] == "Rss:":
                    sizes[name] = sizes.get(name, 0) + int(fields[1])
    except OSError:
        pass
    return sizes


def start(screen, argv, env, timeout=20.0):
    """Starts argv; returns (pid, ms from exec to the first pixels of its window seen on screen, the window)."""
    screen.mapped_windows()
    screen.take_damage()
    before = screen.grab(0, 0, screen.width, screen.height)
    devnull = os.open(os.devnull, os.O_RDWR)
    t0 = time.monotonic_ns()
    pid = os.posix_spawnp(argv[0], argv, env, file_actions=[
        (os.POSIX_SPAWN_DUP2, devnull, 0), (os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)])
    os.close(devnull)
    deadline = t0 + int(timeout * 1e9)
    area = None
    shown = None
    while time.monotonic_ns() < deadline:
        screen.wait(0.0005 if area and screen.damage_event is None else 0.05)
        for window in screen.mapped_windows():
            geometry = screen.geometry(window) if area is None else None
            if geometry:
                shown = window
                x, y, w, h = geometry
                x0, y0 = max(0, x), max(0, y)
                x1, y1 = min(screen.width, x + w), min(screen.height, y + h)
                if x1 > x0 and y1 > y0:
                    area = (x0, y0, x1 - x0, y1 - y0)
        if area and screen.take_damage():
            x0, y0, w, h = area
            now = screen.grab(x0, y0, w, h)
            seen = time.monotonic_ns()
            if now:
                # Rows compared as bytes: cheap enough to poll every half millisecond.
                changed = sum(1 for row in range(h)
                              if before[((y0 + row) * screen.width + x0) * 4:((y0 + row) * screen.width + x0 + w) * 4]
                              != now[row * w * 4:(row + 1) * w * 4])
                if changed >= SEEN_ROWS * h:
                    return pid, (seen - t0) / 1e6, shown
        if os.waitpid(pid, os.WNOHANG)[0] == pid:
            return None, None, None
    return pid, None, shown


def stop(pid):
    os.kill(pid, signal.SIGTERM)
    for _ in range(60):
        if os.waitpid(pid, os.WNOHANG)[0] == pid:
            return
        time.sleep(0.05)
    os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def spread(values):
    values = [v for v in values if v is not None]
    if not values:
        return "NA"
    return f"{statistics.median(values):8.1f} ({min(values):.1f}–{max(values):.1f})"
