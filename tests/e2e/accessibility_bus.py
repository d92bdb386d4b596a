# SPDX-License-Identifier: GPL-3.0-or-later
"""A private D-Bus session with the accessibility bus on it, for the flows that read the panel as a screen reader
does (with the system's interpreter: the bindings are a Debian package)."""
import contextlib
import os
import shutil
import subprocess
from types import SimpleNamespace

from panel_driver import Skipped

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


@contextlib.contextmanager
def accessibility_bus():
    """Yields the session bus's address and the bindings (pyatspi, GLib); a machine without them skips."""
    if not shutil.which("dbus-daemon") or not os.path.exists(LAUNCHER):
        raise Skipped("dbus-daemon or at-spi-bus-launcher missing (scripts/deps.sh --test)")
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                         capture_output=True, text=True)
    if bus.returncode != 0:
        raise Skipped(f"no private D-Bus session: {bus.stderr.strip()}")
    address, pid = bus.stdout.split()[:2]
    # The bindings find the accessibility bus through the session bus, so that comes first.
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    launcher = subprocess.Popen([LAUNCHER, "--launch-immediately"], stderr=subprocess.DEVNULL)
    try:
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as error:
            raise Skipped(f"{error} (python3-pyatspi, scripts/deps.sh --test)") from None
        yield SimpleNamespace(address=address, pyatspi=pyatspi, GLib=GLib)
    finally:
        launcher.terminate()
        launcher.wait(timeout=10)
        os.kill(int(pid), 15)


def tree(node):
    yield node
    for child in node:
        if child is not None:
            yield from tree(child)
