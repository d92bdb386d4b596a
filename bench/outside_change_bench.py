#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Another program's change to the goals file of a running panel, timed from the write to the change on screen.

Usage (from the repository, after scripts/build.sh):
    tests/e2e/xsession.sh -- python3 bench/outside_change_bench.py [--build build] [-n 5] [--changes 5] [--editor]
                                                                   [--goals 5,1000]

Each round starts one panel per goal count (round-robin, so drift hits all alike; the first round is a warm-up),
each in a fresh HOME holding a goals file of that many goals. Once it is up, the first goal is changed --changes
times as a sync tool delivers another computer's change: the whole file is written beside the old one and renamed
over it (the first goal's text changes, it is ticked or unticked and its modifiedAt is now; the other goals and
their keys stay). With --editor the change is made as a text editor makes it, modifiedAt untouched. Timed:
from the rename to the first change of the panel's top rows on the root window, after the compositor. A change
not seen within --timeout seconds counts as missed. Printed as medians (min–max), and as ratios to the smallest
goal count's median, all from the same run.
"""
import argparse
import json
import os
import time

import screenwatch
from start_bench import BARE_FRAME, environment, new_home, remove_home, write_home

# The header and the first goal's row, with room to spare: what an edit of the first goal changes.
WATCHED_ROWS = 120


def rewrite_first_goal(goals_file, change, editor):
    """Rewrites the file with its first goal changed, by rename-over; returns the moment of the rename."""
    with open(goals_file, encoding="utf-8") as file:
        goals = json.load(file)
    first = min(goals, key=lambda goal: goal["order"])
    first["text"] = f"Goal 0 changed elsewhere, {change} times"
    first["completed"] = change % 2 == 1
    if not editor:
        now = time.time()
        first["modifiedAt"] = time.strftime("%Y-%m-%dT%H:%M:%S", time.gmtime(now)) + f".{int(now * 1000) % 1000:03d}Z"
    replacement = goals_file + ".new"
    with open(replacement, "w", encoding="utf-8") as file:
        file.write(json.dumps(goals, separators=(",", ":")))
        file.flush()
        os.fsync(file.fileno())
    began = time.monotonic_ns()
    os.replace(replacement, goals_file)
    return began


def time_change(screen, area, goals_file, change, editor, timeout):
    """ms from the rename to the first pixel that differs in `area`; None when nothing changed in time."""
    x, y, w, h = area
    before = screen.grab(x, y, w, h)
    began = rewrite_first_goal(goals_file, change, editor)
    deadline = began + int(timeout * 1e9)
    while time.monotonic_ns() < deadline:
        now = screen.grab(x, y, w, h)
        seen = time.monotonic_ns()
        if now and now != before:
            return (seen - began) / 1e6
        time.sleep(0.0005)
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("-n", type=int, default=5, help="counted rounds")
    parser.add_argument("--changes", type=int, default=5, help="outside changes per panel start")
    parser.add_argument("--goals", default="5,1000")
    parser.add_argument("--settle", type=float, default=1.0, help="seconds before the first change and between")
    parser.add_argument("--timeout", type=float, default=2.0)
    parser.add_argument("--editor", action="store_true", help="leave modifiedAt as it was, as a text editor does")
    args = parser.parse_args()
    mirel = os.path.abspath(os.path.join(args.build, "src", "mirel"))
    counts = list(map(int, args.goals.split(",")))

    screen = screenwatch.Screen()
    results = {count: [] for count in counts}
    missed = {count: 0 for count in counts}
    for round_ in range(1 + args.n):
        for count in counts:
            home, runtime = new_home()
            write_home(home, count, screen.height, BARE_FRAME)
            goals_file = os.path.join(home, "data", "Mirel", "todos.json")
            pid, _, window = screenwatch.start(screen, [mirel], environment(home, runtime))
            frame = screen.geometry(window) if pid and window else None
            if not frame:
                raise SystemExit(f"the panel with {count} goals did not show")
            time.sleep(args.settle)
            # The panel's height follows its goals: measure where it stands now, inside the screen.
            x, y, w, h = screen.geometry(window)
            area = (max(0, x), max(0, y), min(w, screen.width - max(0, x)), min(WATCHED_ROWS, h))
            for change in range(1, args.changes + 1):
                ms = time_change(screen, area, goals_file, change, args.editor, args.timeout)
                if round_ > 0:
                    results[count].append(ms)
                    missed[count] += ms is None
                time.sleep(args.settle / 2)
            screenwatch.stop(pid)
            remove_home(home, runtime)

    base = screenwatch.median(results[counts[0]])
    print(f"{args.n} rounds of {args.changes} changes after one warm-up round; write (rename) -> first changed "
          f"pixels; median (min–max); ratios to {counts[0]} goals")
    print(f"{'goals':<8} {'ms':<26} {'x':>6} {'missed':>7}")
    for count in counts:
        ms = screenwatch.median(results[count])
        ratio = f"{ms / base:6.2f}" if ms and base else "    NA"
        print(f"{count:<8} {screenwatch.spread(results[count]):<26} {ratio} {missed[count]:>7}")


if __name__ == "__main__":
    main()
