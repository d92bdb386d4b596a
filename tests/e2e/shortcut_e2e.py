#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop-wide new-goal shortcut under an X window manager: typed in another program it gives the panel
the keyboard in adding mode, and Escape gives it back; a combination another program holds is reported.
Usage: shortcut_e2e.py MIREL_BINARY CASE [HOLDKEYGRAB]   (inside xsession.sh)"""
import subprocess
import sys
import time

from panel_driver import (STARTED, Mirel, active_window, check, environment, focused_window, goals_in, keys, main,
                          run, start_other_window, wait_until)


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


if __name__ == "__main__":
    sys.exit(main({name[len("case_"):]: function for name, function in globals().items()
                   if name.startswith("case_")}))
