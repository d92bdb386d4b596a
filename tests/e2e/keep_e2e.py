#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end checks that no goal is lost when its file goes away or is edited by hand, and that the day's
clearing at start can be undone, against the real binary in a private X session.

Usage: keep_e2e.py MIREL_BINARY CASE   (inside xsession.sh; the system's interpreter, for pyatspi)
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import time

from accessibility_bus import accessibility_bus, tree
from panel_driver import (Mirel, Skipped, check, click_to_focus, focused_window, geometry, goals_in, header_point,
                          keys, main, run, shows_save_warning, wait_until, write_goals)
from undo_e2e import FAKETIME, GOALS, expect, faketime, focus_panel, panel_env
from undo_e2e import write_goals as write_goals_with_ids

KEPT = [(text, False) for text in GOALS]


def goals_file(home):
    return os.path.join(home, "data", "Mirel", "todos.json")


def height(mirel):
    return geometry(mirel.window)[3]


def quit_dialog():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quit Mirel.$"],
                         capture_output=True, text=True).stdout.split()
    return int(out[0]) if out else None


def case_lost_file_is_written_again(binary, home):
    write_goals(home, GOALS)
    mirel = Mirel(binary, home)
    before = height(mirel)
    os.remove(goals_file(home))
    wait_until("the goals file back", lambda: goals_in(home) == KEPT)
    # Gone at once, as rm -r makes it; deleted in place, the panel could write into it again before it went.
    folder = os.path.dirname(goals_file(home))
    os.rename(folder, folder + ".gone")
    shutil.rmtree(folder + ".gone")
    wait_until("the goals file back in its folder", lambda: goals_in(home) == KEPT)
    check(height(mirel) == before, "the panel changed while its file was gone")
    check(os.path.exists(os.path.join(home, ".local", "state", "Mirel", "todos-last-saved.json")),
          "the state folder keeps no copy of the last save")


def case_quit_with_the_file_gone(binary, home):
    write_goals(home, GOALS)
    folder = os.path.dirname(goals_file(home))
    # Stopped, the panel can only find the file gone once Ctrl+Q has reached it.
    mirel = Mirel(binary, home)
    click_to_focus(mirel.window, header_point(geometry(mirel.window)))
    mirel.process.send_signal(signal.SIGSTOP)
    os.remove(goals_file(home))
    run("xdotool", "key", "ctrl+q")
    mirel.process.send_signal(signal.SIGCONT)
    mirel.process.wait(timeout=10)
    check(goals_in(home) == KEPT, f"quit with the goals file gone: {goals_in(home)}")

    # A file where the folder was: the goals cannot be written again, and Quit asks.
    mirel = Mirel(binary, home)
    click_to_focus(mirel.window, header_point(geometry(mirel.window)))
    mirel.process.send_signal(signal.SIGSTOP)
    shutil.rmtree(folder)
    open(folder, "w").close()
    mirel.process.send_signal(signal.SIGCONT)
    wait_until("the header's warning", lambda: shows_save_warning(mirel.window))
    run("xdotool", "key", "ctrl+q")
    wait_until("the question", quit_dialog)
    wait_until("the question's focus", lambda: focused_window() == quit_dialog())
    run("xdotool", "key", "Escape")
    wait_until("the question to go", lambda: quit_dialog() is None)
    check(mirel.process.poll() is None, "the panel quit with its goals not on disk")
    os.remove(folder)
    click_to_focus(mirel.window, header_point(geometry(mirel.window)))
    run("xdotool", "key", "ctrl+q")
    mirel.process.wait(timeout=10)
    check(goals_in(home) == KEPT, f"quit once the folder could be made: {goals_in(home)}")


def case_outside_edit_of_a_repaired_goal_is_kept(binary, home):
    path = goals_file(home)
    os.makedirs(os.path.dirname(path))
    with open(path, "w", encoding="utf-8") as file:
        file.write('[{"text":"Call the bank"}]')
    with accessibility_bus() as bus:
        mirel = Mirel(binary, home, env=panel_env())
        wait_until("the repaired goal", lambda: "id" in json.load(open(path, encoding="utf-8"))[0])
        subprocess.run(["sed", "-i", "s/Call the bank/Call the bank at 9/", path], check=True)
        def shown():
            panel = next((app for app in bus.pyatspi.Registry.getDesktop(0) if app and app.name == "Mirel"), None)
            return [node.name for node in tree(panel) if node.getRoleName() == "check box"] if panel else []
        wait_until("the edit in the panel", lambda: shown() == ["Call the bank at 9"], timeout=10)
        # Long enough for a panel that would write its own text back to have done so.
        time.sleep(1.5)
        check(goals_in(home) == [("Call the bank at 9", False)], f"the edit was not kept: {goals_in(home)}")
        check(shown() == ["Call the bank at 9"], f"the panel shows {shown()}")
        mirel.stop()


def case_undo_the_clearing_at_start(binary, home):
    if not os.path.exists(FAKETIME):
        raise Skipped("libfaketime missing (scripts/deps.sh --test)")
    write_goals_with_ids(home, done={"Write the report", "Call the bank"})
    conf = os.path.join(home, "config", "Mirel", "Mirel.conf")
    os.makedirs(os.path.dirname(conf))
    # On since the day before: 04:00 in Berlin is 03:00 UTC in winter.
    with open(conf, "w", encoding="utf-8") as file:
        file.write("[General]\nclearDoneGoalsEachDay=true\nlastDayStartCleared=2026-12-08T03:00:00Z\n")
    mirel = Mirel(binary, home, env=faketime("2026-12-09 09:00:00"))
    expect(home, "the next morning's start", ["Buy milk"])
    cleared = height(mirel)
    focus_panel(mirel)
    keys("ctrl+z")
    expect(home, "the clearing undone", ["Write the report*", "Buy milk", "Call the bank*"])
    wait_until("the goals back in the panel", lambda: height(mirel) > cleared)


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(main(CASES))
