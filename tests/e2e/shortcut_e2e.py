#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop-wide new-goal shortcut under an X window manager: typed in another program it gives the panel
the keyboard in adding mode, and Escape gives it back; a combination another program holds is reported. In
GNOME's Wayland session, the panel writes a custom shortcut into GNOME's settings, kept by dconf on a private
session bus.
Usage: shortcut_e2e.py MIREL_BINARY CASE [HOLDKEYGRAB]   (inside xsession.sh)"""
import os
import subprocess
import sys
import time

from panel_driver import (STARTED, Mirel, Skipped, active_window, check, environment, focused_window, goals_in, keys, main,
                          geometry, header_point, run, start_other_window, wait_until, window_named)


def add_from_elsewhere(mirel, other, text):
    """Types the shortcut while the other program has the keyboard, a goal and Return, then Escape."""
    keys("ctrl+alt+g")
    wait_until("the panel's focus after the shortcut", lambda: focused_window() == mirel.window, timeout=10.0)
    # The field takes the keyboard a moment after it appears.
    time.sleep(0.3)
    run("xdotool", "type", "--delay", "20", text)
    keys("Return")
    wait_until(f"{text!r} in the goals file", lambda: (text, False) in goals_in(mirel.home), timeout=10.0)
    keys("Escape")
    wait_until("the other program active again", lambda: active_window() == other, timeout=10.0)
    wait_until("the other program's keyboard", lambda: focused_window() not in (None, mirel.window), timeout=10.0)


def case_from_another_program(binary, home):
    other = start_other_window()
    mirel = Mirel(binary, home, goals="")
    run("xdotool", "mousemove", "5", "5")
    add_from_elsewhere(mirel, other, "Call the bank")
    # NumLock on changes the modifiers every key arrives with.
    keys("Num_Lock")
    add_from_elsewhere(mirel, other, "Buy milk")
    keys("Num_Lock")
    check(goals_in(home) == [("Call the bank", False), ("Buy milk", False)], f"the goals file holds {goals_in(home)}")


def case_taken_by_another_program(binary, home):
    holder = subprocess.Popen([sys.argv[3]], stdout=subprocess.PIPE, text=True)
    STARTED.append(holder)
    check(holder.stdout.readline().strip() == "grabbed", "the other program could not take Ctrl+Alt+G")
    mirel = Mirel(binary, home, goals="")
    def reported():
        mirel.log.seek(0)
        return "Ctrl+Alt+G is already taken by another program" in mirel.log.read()
    wait_until("the message naming the shortcut", reported, timeout=10.0)
    # The other program keeps the combination, and the panel works as ever.
    keys("ctrl+alt+g")
    time.sleep(0.5)
    check(focused_window() != mirel.window, "the panel took the keyboard for a combination it does not hold")
    check(subprocess.run([binary, "--new-goal"], env=environment(home),
                         timeout=30).returncode == 0, "--new-goal failed")
    wait_until("the panel's focus after --new-goal", lambda: focused_window() == mirel.window, timeout=10.0)
    time.sleep(0.3)
    run("xdotool", "type", "--delay", "20", "Water the plants")
    keys("Return")
    wait_until("the goal in the goals file", lambda: goals_in(home) == [("Water the plants", False)], timeout=10.0)
    check(mirel.process.poll() is None, "the panel ended")


def kde_binding():
    """The keys KDE's shortcut service holds for the panel's shortcut, as Qt key codes; None while it has none."""
    import dbus
    try:
        keys_held = dbus.SessionBus().get_object("org.kde.kglobalaccel", "/kglobalaccel").shortcut(
            ["mirel", "new-goal", "", ""], dbus_interface="org.kde.KGlobalAccel")
    except dbus.DBusException:
        return None
    return [int(key) for key in keys_held] or None


def case_kde_portal(binary, home):
    """KDE Plasma under Wayland: the shortcut bound through the desktop portal, pressed through KDE's own
    shortcut service as the compositor does, opens the add row, and Escape gives the keyboard back."""
    for program in ("/usr/libexec/xdg-desktop-portal", "/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde",
                    "/usr/bin/kglobalaccel5"):
        if not os.path.exists(program):
            raise Skipped(f"{program} is not installed (scripts/deps.sh --test)")
    # The portal and KDE's services start on the session bus when first called, into the session it describes.
    subprocess.run(["dbus-update-activation-environment", "WAYLAND_DISPLAY", "DISPLAY", "XDG_CURRENT_DESKTOP",
                    "XDG_RUNTIME_DIR", "HOME"], env=dict(os.environ, XDG_CURRENT_DESKTOP="KDE"), check=True)
    other = start_other_window()
    mirel = Mirel(binary, home, goals="", env={"XDG_CURRENT_DESKTOP": "KDE", "XDG_SESSION_TYPE": "wayland"})
    ctrl_alt_g = 0x04000000 | 0x08000000 | 0x47
    held = wait_until("Ctrl+Alt+G bound through the portal", kde_binding, timeout=30.0)
    check(held == [ctrl_alt_g], f"KDE holds {held} for the panel's shortcut, not Ctrl+Alt+G")

    run("dbus-send", "--session", "--type=method_call", "--dest=org.kde.kglobalaccel", "/component/mirel",
        "org.kde.kglobalaccel.Component.invokeShortcut", "string:new-goal")
    wait_until("the panel's focus after the shortcut", lambda: focused_window() == mirel.window, timeout=10.0)
    time.sleep(0.3)
    run("xdotool", "type", "--delay", "20", "From Plasma")
    keys("Return")
    wait_until("the goal in the goals file", lambda: goals_in(home) == [("From Plasma", False)], timeout=10.0)
    keys("Escape")
    wait_until("the other program active again", lambda: active_window() == other, timeout=10.0)


MEDIA_KEYS = "org.gnome.settings-daemon.plugins.media-keys"
CUSTOM = MEDIA_KEYS + ".custom-keybinding:"
PERSONS_PATH = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/"


def case_gnome_custom_keybinding(binary, home):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=environment(home),
                           stdout=subprocess.PIPE, text=True)
    STARTED.append(bus)
    session = {"DBUS_SESSION_BUS_ADDRESS": bus.stdout.readline().strip()}
    env = environment(home, **session)
    gsettings = lambda *args: run("env", *(f"{k}={v}" for k, v in env.items() if k.startswith(("DBUS", "XDG"))),
                                  "gsettings", *args).strip()
    # The person's own shortcut, as GNOME's keyboard settings write one.
    gsettings("set", CUSTOM + PERSONS_PATH, "name", "'Terminal'")
    gsettings("set", CUSTOM + PERSONS_PATH, "command", "'x-terminal-emulator'")
    gsettings("set", CUSTOM + PERSONS_PATH, "binding", "'<Super>t'")
    gsettings("set", MEDIA_KEYS, "custom-keybindings", f"['{PERSONS_PATH}']")
    mirel = Mirel(binary, home, goals="", env=dict(session, WAYLAND_DISPLAY="wayland-gnome", XDG_SESSION_TYPE="wayland",
                                                    XDG_CURRENT_DESKTOP="GNOME"))

    def choose_in_dialog(*names):
        run("xdotool", "mousemove", *map(str, header_point(geometry(mirel.window))), "click", "3")
        time.sleep(0.4)
        # Up from the top wraps to Quit, then passes the calendar item to reach the shortcut's.
        keys("Up", "Up", "Up", "Return")
        dialog = wait_until("the shortcut dialog", lambda: window_named("New Goal Shortcut"), timeout=10.0)
        wait_until("the dialog's focus", lambda: focused_window() == dialog, timeout=10.0)
        keys(*names)
        wait_until("the dialog to close", lambda: window_named("New Goal Shortcut") is None, timeout=10.0)

    listed = lambda: gsettings("get", MEDIA_KEYS, "custom-keybindings")
    choose_in_dialog("Return")
    paths = wait_until("Mirel's shortcut listed", lambda: listed().count("/") > PERSONS_PATH.count("/") and listed())
    own = [path for path in paths.strip("[]").replace("'", "").split(", ") if path != PERSONS_PATH]
    check(PERSONS_PATH in paths and len(own) == 1, f"GNOME lists {paths}")
    check(gsettings("get", CUSTOM + own[0], "binding") == "'<Control><Alt>g'", "the binding is not Ctrl+Alt+G")
    check(gsettings("get", CUSTOM + own[0], "command") == f"'{os.path.realpath(binary)} --new-goal'",
          f"the shortcut runs {gsettings('get', CUSTOM + own[0], 'command')}")

    choose_in_dialog("alt+s")
    wait_until("Mirel's shortcut gone", lambda: listed() == f"['{PERSONS_PATH}']")
    check(gsettings("get", CUSTOM + own[0], "command") == "''", "Mirel's shortcut left its command behind")
    check((gsettings("get", CUSTOM + PERSONS_PATH, "binding"), gsettings("get", CUSTOM + PERSONS_PATH, "command"))
          == ("'<Super>t'", "'x-terminal-emulator'"), "the person's own shortcut changed")


if __name__ == "__main__":
    sys.exit(main({name[len("case_"):]: function for name, function in globals().items()
                   if name.startswith("case_")}))
