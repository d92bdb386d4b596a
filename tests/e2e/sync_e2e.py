#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end checks of a goals file that other programs write while the panel runs.

Usage: sync_e2e.py MIREL_BINARY CASE   (run inside tests/e2e/xsession.sh, which sets DISPLAY)
"""
import glob
import json
import os
import subprocess
import sys
import time

from panel_driver import (Mirel, check, click_to_focus, focused_window, geometry, header_point, main,
                          run, send, shows_save_warning, small_disk, wait_until, write_goals)

THREE = ["Write the report", "Buy milk", "Call the bank"]


def stored(path):
    return [goal["text"] for goal in sorted(json.load(open(path, encoding="utf-8")), key=lambda g: g["order"])]


def height(mirel):
    return geometry(mirel.window)[3]


def kept_copies(path):
    return glob.glob(path + ".unreadable-*")


def case_rename_over_shows_and_is_kept(binary, home):
    goals_file = write_goals(home, THREE)
    mirel = Mirel(binary, home)
    before = height(mirel)
    # As an editor saves: a new file renamed over the old one, one goal edited (its times left as they were)
    # and one added.
    theirs = json.load(open(goals_file, encoding="utf-8"))
    theirs[1]["text"] = "Buy oat milk"
    theirs.append(dict(theirs[0], id="0000000a-0000-4000-8000-000000000000", text="Added elsewhere", order=3))
    with open(goals_file + ".tmp", "w", encoding="utf-8") as file:
        json.dump(theirs, file)
    os.rename(goals_file + ".tmp", goals_file)
    wait_until("the added goal's row", lambda: height(mirel) > before, timeout=2)
    # The panel's next change writes the other program's goals with its own.
    check(send(binary, home, "Pay rent").returncode == 0, "the send failed")
    expected = ["Write the report", "Buy oat milk", "Call the bank", "Added elsewhere", "Pay rent"]
    check(stored(goals_file) == expected, f"after the panel's change: {stored(goals_file)}")


def case_goal_added_by_hand_shows_and_is_kept(binary, home):
    goals_file = write_goals(home, THREE)
    with open(goals_file, "r+", encoding="utf-8") as file:
        text = file.read().rstrip()[:-1] + ', {"text": "Added by hand in an editor"}]'
        file.seek(0)
        file.write(text)
        file.truncate()
    original = open(goals_file, "rb").read()
    mirel = Mirel(binary, home)
    check(stored(goals_file) == THREE + ["Added by hand in an editor"], f"at start: {stored(goals_file)}")
    kept = kept_copies(goals_file)
    check(len(kept) == 1 and open(kept[0], "rb").read() == original, f"the file as it was is not kept: {kept}")
    wait_until("the header's warning", lambda: shows_save_warning(mirel.window))
    check(send(binary, home, "Pay rent").returncode == 0, "the send failed")
    check(stored(goals_file) == THREE + ["Added by hand in an editor", "Pay rent"], f"{stored(goals_file)}")


def case_half_written_file_costs_no_goal(binary, home):
    goals_file = write_goals(home, THREE)
    mirel = Mirel(binary, home)
    before = height(mirel)
    # Written in place and not finished: the panel keeps what it shows.
    half = open(goals_file, "rb").read()[:90]
    with open(goals_file, "wb") as file:
        file.write(half)
    time.sleep(0.5)
    check(height(mirel) == before, "the panel changed for a half-written file")
    check(send(binary, home, "Pay rent").returncode == 0, "the send failed")
    check(stored(goals_file) == THREE + ["Pay rent"], f"after the panel's change: {stored(goals_file)}")
    kept = kept_copies(goals_file)
    check(len(kept) == 1 and open(kept[0], "rb").read() == half, f"the half-written file is not kept: {kept}")


def dialog():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quit Mirel.$"],
                         capture_output=True, text=True).stdout.split()
    return int(out[0]) if out else None


def case_quit_asks_while_goals_are_not_on_disk(binary, home):
    with small_disk(home) as disk:
        goals_file = os.path.join(disk.data, "Mirel", "todos.json")
        mirel = Mirel(binary, home)
        check(send(binary, home, "Write the report").returncode == 0, "the first send failed")
        disk.fill()
        check(send(binary, home, "Call the bank").returncode == 3, "the send to a full disk was not refused")

        click_to_focus(mirel.window, header_point(geometry(mirel.window)))
        run("xdotool", "key", "ctrl+q")
        wait_until("the question", dialog)
        wait_until("the question's focus", lambda: focused_window() == dialog())
        run("xdotool", "key", "Escape")
        wait_until("the question to go", lambda: dialog() is None)
        time.sleep(0.3)
        check(mirel.process.poll() is None, "the panel quit with a goal not on disk")

        disk.free()
        check(send(binary, home, "Pay rent").returncode == 0, "the send after freeing the disk failed")
        check(stored(goals_file) == ["Write the report", "Call the bank", "Pay rent"], f"{stored(goals_file)}")


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(main(CASES))
