#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end checks of what a second day of use ran into, against the real binary in a private X session.

Usage: second_day_e2e.py MIREL_BINARY CASE   (run inside tests/e2e/xsession.sh, which sets DISPLAY)
"""
import os
import re
import subprocess
import sys
import time

from panel_driver import (Failure, Mirel, check, environment, focused_window, geometry, goals_in, keys, main, run,
                          stored_frame, wait_until, write_goals)

# The first goal's row: below the 6-point padding and the 30-point header, 28 points high.
FIRST_ROW_CENTRE = 6 + 30 + 14


def start_adding(binary, home, panel):
    """`mirel --new-goal`, as a desktop shortcut runs it: the panel takes the keyboard in adding mode."""
    check(subprocess.run([binary, "--new-goal"], env=environment(home), timeout=30).returncode == 0,
          "--new-goal failed")
    wait_until("the panel's focus after --new-goal", lambda: focused_window() == panel.window, timeout=15)
    # The field takes the keyboard a moment after it appears.
    time.sleep(0.4)


def row_pixels(window, top):
    """The pixels of the strip of one goal row, `top` points below the panel's top, as a person sees them."""
    x, y, w, _ = geometry(window)
    out = run("import", "-window", "root", "-crop", f"{w - 40}x20+{x + 20}+{y + top}", "-depth", "8", "txt:-")
    return re.findall(r"\((\d+),(\d+),(\d+)", out)


def case_undo_after_a_delete_with_the_add_row_open(binary, home):
    write_goals(home, ["Buy milk", "Call the bank"])
    panel = Mirel(binary, home)
    start_adding(binary, home, panel)
    run("xdotool", "type", "--delay", "20", "Write report")
    keys("Return")
    wait_until("the typed goal", lambda: len(goals_in(home)) == 3)
    # The × of the first goal shows while the pointer is over its row, at the row's right end.
    x, y, w, _ = geometry(panel.window)
    run("xdotool", "mousemove", str(x + w - 23), str(y + FIRST_ROW_CENTRE))
    time.sleep(0.4)
    run("xdotool", "click", "1")
    wait_until("the deleted goal to go", lambda: [text for text, _ in goals_in(home)] == ["Call the bank", "Write report"])
    run("xdotool", "mousemove", "5", "5")
    adding_height = geometry(panel.window)[3]

    keys("ctrl+z")
    expected = [("Buy milk", False), ("Call the bank", False), ("Write report", False)]
    try:
        wait_until("the deleted goal to come back", lambda: goals_in(home) == expected)
    except Failure:
        raise Failure(f"Ctrl+Z left the goals at {goals_in(home)}") from None
    # The field is empty: Return closes it and adds nothing, and the panel loses the add row.
    keys("Return")
    wait_until("the add row to close", lambda: geometry(panel.window)[3] < adding_height + 28, timeout=10)
    time.sleep(0.5)
    check(goals_in(home) == expected, f"Return after the undo added to the goals: {goals_in(home)}")


def case_pasted_lines_make_one_goal_each(binary, home):
    write_goals(home, ["Buy milk"])
    panel = Mirel(binary, home)
    # xclip stays in the background to hand the clipboard out; the session's end ends it.
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"Pasted one\nPasted two\n\nPasted three\n",
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5)
    start_adding(binary, home, panel)
    keys("ctrl+v", "Return")
    expected = ["Buy milk", "Pasted one", "Pasted two", "Pasted three"]
    try:
        wait_until("the pasted goals", lambda: [text for text, _ in goals_in(home)] == expected)
    except Failure:
        raise Failure(f"the paste made {goals_in(home)}") from None
    # Each is a row of its own: the panel shows the header, four rows and the open add row.
    wait_until("four rows", lambda: geometry(panel.window)[3] == 6 + 30 + 5 * 28 + 6)


def case_frame_saved_on_a_larger_screen(binary, home):
    # Saved on a 1440 x 900 screen with its bottom 12 points above the screen's bottom edge; the screen is a
    # 1024 x 600 one now.
    config = os.path.join(home, "config", "Mirel")
    os.makedirs(config)
    with open(os.path.join(config, "Mirel.conf"), "w", encoding="utf-8") as file:
        file.write("[General]\npanelX=828\npanelY=12\npanelW=300\npanelH=126\n")
    write_goals(home, ["Write the report", "Buy milk", "Call the bank"])
    run("xrandr", "--newmode", "netbook", "49.00", "1024", "1064", "1168", "1312", "600", "603", "613", "624")
    run("xrandr", "--addmode", "screen", "netbook")
    run("xrandr", "--output", "screen", "--mode", "netbook")
    wait_until("the smaller screen", lambda: "current 1024 x 600" in run("xrandr"))
    panel = Mirel(binary, home)
    expected = (1024 - 12 - 300, 600 - 12 - 126, 300, 126)
    try:
        wait_until("the panel wholly on the screen", lambda: geometry(panel.window) == expected)
    except Failure:
        raise Failure(f"the panel stands at {geometry(panel.window)} on a 1024 x 600 screen, not {expected}") from None
    wait_until("the new frame to be saved", lambda: stored_frame(panel.user_file()) == (712.0, 12.0, 300.0, 126.0))


def case_outside_write_keeps_the_first_goal_shown(binary, home):
    texts = ["Write the report", "Buy milk", "Call the bank"]
    path = write_goals(home, texts)
    panel = Mirel(binary, home)
    run("xdotool", "mousemove", "5", "5")
    time.sleep(0.5)
    first_row = row_pixels(panel.window, FIRST_ROW_CENTRE - 10)
    # Another program writes a thousand goals, the panel's three first; the panel grows to the screen's height.
    many = texts + [f"Goal number {i} from another program" for i in range(997)]
    write_goals(home, many)
    wait_until("the long list", lambda: len(goals_in(home)) == 1000)
    wait_until("the panel to grow", lambda: geometry(panel.window)[3] > 600, timeout=15)
    time.sleep(0.5)
    shown = row_pixels(panel.window, FIRST_ROW_CENTRE - 10)
    changed = sum(a != b for a, b in zip(first_row, shown))
    check(len(shown) == len(first_row) and changed <= len(first_row) // 50,
          f"the first goal no longer shows at the top of the list: {changed} of {len(first_row)} pixels changed")
    check(os.path.exists(path), "the goals file went away")


if __name__ == "__main__":
    sys.exit(main({
        "undo_after_a_delete_with_the_add_row_open": case_undo_after_a_delete_with_the_add_row_open,
        "pasted_lines_make_one_goal_each": case_pasted_lines_make_one_goal_each,
        "frame_saved_on_a_larger_screen": case_frame_saved_on_a_larger_screen,
        "outside_write_keeps_the_first_goal_shown": case_outside_write_keeps_the_first_goal_shown,
    }))
