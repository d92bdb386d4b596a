#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Sending N lines to a running panel through the real `mirel --send`, beside bench/bare_window's start.

Usage (from the repository, after scripts/build.sh):
    tests/e2e/xsession.sh -- python3 bench/send_bench.py [--build build] [-n 5] [--lines 1000,5000]

Each round starts bare_window and a panel with an empty goals file in a fresh HOME, both watched from outside
(exec -> first pixels on the root window), then pipes N lines into `mirel --send` and times it until it exits,
which is after the panel has answered that all of them are saved. The goals file is then read back: a send
counts only if it exited 0 and every line is stored once. Printed as medians (min–max).
"""
import argparse
import json
import os
import subprocess
import time

import screenwatch
from start_bench import environment, new_home, remove_home


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("-n", type=int, default=5, help="rounds")
    parser.add_argument("--lines", default="1000,5000")
    args = parser.parse_args()
    mirel = os.path.abspath(os.path.join(args.build, "src", "mirel"))
    bare = os.path.abspath(os.path.join(args.build, "bench", "bare_window"))
    counts = list(map(int, args.lines.split(",")))

    screen = screenwatch.Screen()
    starts = {"bare_window": [], "panel": []}
    sends = {count: [] for count in counts}
    failures = []
    for _ in range(args.n):
        pid, ms, _ = screenwatch.start(screen, [bare], dict(os.environ))
        starts["bare_window"].append(ms)
        if pid:
            screenwatch.stop(pid)
        for count in counts:
            home, runtime = new_home()
            env = environment(home, runtime)
            pid, ms, _ = screenwatch.start(screen, [mirel], env)
            starts["panel"].append(ms)
            if not pid:
                failures.append(f"{count} lines: the panel did not start")
                remove_home(home, runtime)
                continue
            time.sleep(0.5)
            lines = "".join(f"Sent goal {i}\n" for i in range(count))
            began = time.monotonic()
            result = subprocess.run([mirel, "--send"], input=lines, env=env, capture_output=True, text=True,
                                    timeout=120)
            took = (time.monotonic() - began) * 1000
            goals_file = os.path.join(home, "data", "Mirel", "todos.json")
            stored = [goal["text"] for goal in json.load(open(goals_file, encoding="utf-8"))]
            if result.returncode != 0 or stored != [f"Sent goal {i}" for i in range(count)]:
                failures.append(f"{count} lines: exit {result.returncode}, {len(stored)} stored: "
                                f"{result.stderr.strip()!r}")
            else:
                sends[count].append(took)
            screenwatch.stop(pid)
            remove_home(home, runtime)

    print(f"{args.n} rounds; median (min–max)")
    for label, values in starts.items():
        print(f"{label + ' start, first pixels ms':<36} {screenwatch.spread(values)}")
    bare_ms = screenwatch.median(starts["bare_window"])
    for count, values in sends.items():
        took = screenwatch.median(values)
        ratio = f"  ({took / bare_ms:.1f}x bare_window's start)" if took and bare_ms else ""
        print(f"{f'mirel --send, {count} lines, ms':<36} {screenwatch.spread(values)}{ratio}")
    for failure in failures:
        print("FAILED:", failure)


if __name__ == "__main__":
    main()
