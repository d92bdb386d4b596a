#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of mirel with N goals beside bench/bare_window, counted in instructions instead of timed.

Usage (from the repository, after scripts/build.sh; needs valgrind):
    tests/e2e/xsession.sh -- python3 bench/start_instructions.py [--build build] [--goals 1,5,200] [--words-of 200]

Each program starts once under callgrind, in the same fresh home and frame as in start_bench.py, and is stopped
once its first paint has ended. Printed: the instructions its main thread ran from exec to the end of that first
paint, as millions and as ratios to bare_window's. A count is the same from run to run, so it shows a change of a
few per cent that the noise of a small or shared machine hides from the wall clock; it leaves out what the clock
holds besides: other threads, the X server, the compositor and waiting. --words-of N also counts bare_window
drawing a line of words for each of N goals that fits in their frame.
"""
import argparse
import glob
import os
import shutil
import subprocess
import tempfile
import time

import screenwatch
import start_bench

# Valgrind writes a profile each time the first paint, and every later one, has pushed its pixels out.
FIRST_PAINT_ENDS = "QWidgetRepaintManager::paintAndFlush()"


def main_thread_instructions(argv, env, timeout=120.0):
    """Millions of instructions of the main thread from exec to the end of the first paint, or None."""
    with tempfile.TemporaryDirectory(prefix="mirel-callgrind-") as out:
        valgrind = subprocess.Popen(
            ["valgrind", "--tool=callgrind", "--separate-threads=yes", f"--dump-after={FIRST_PAINT_ENDS}",
             f"--callgrind-out-file={out}/profile.%p"] + argv,
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The main thread's profile up to the first dump: profile.PID.1-01.
        deadline = time.monotonic() + timeout
        first = []
        while not first and time.monotonic() < deadline and valgrind.poll() is None:
            time.sleep(0.2)
            first = glob.glob(os.path.join(out, "profile.*.1-01"))
        # Written whole once valgrind has moved on to the next part; give it that moment.
        time.sleep(0.5)
        valgrind.kill()
        valgrind.wait()
        if not first:
            return None
        with open(first[0], encoding="utf-8", errors="replace") as profile:
            for line in profile:
                if line.startswith("summary:"):
                    return int(line.split()[1]) / 1e6
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--goals", default="1,5,200")
    parser.add_argument("--words-of", default="", help="goal counts whose words bare_window also draws")
    parser.add_argument("--settle", type=float, default=1.0)
    args = parser.parse_args()
    if not shutil.which("valgrind"):
        raise SystemExit("start_instructions.py counts under callgrind: apt-get install valgrind")
    mirel = os.path.abspath(os.path.join(args.build, "src", "mirel"))
    bare = os.path.abspath(os.path.join(args.build, "bench", "bare_window"))

    screen = screenwatch.Screen()
    counts = [int(n) for n in args.goals.split(",")]
    words_of = [int(n) for n in args.words_of.split(",") if n]
    frames = {goals: start_bench.probe_frame(screen, mirel, goals, args.settle) for goals in set(counts + words_of)}
    programs = start_bench.programs_for(counts, words_of)

    counted = {}
    for program in programs:
        home, runtime, env, argv = start_bench.prepare_start(program, screen, frames, mirel, bare)
        counted[program[0]] = main_thread_instructions(argv, env)
        start_bench.remove_home(home, runtime)

    base = counted["bare_window"]
    print("main thread's instructions from exec to the end of the first paint; ratios to bare_window's")
    print(f"{'program':<16} {'millions':>9} {'x':>6}")
    for label, _, _ in programs:
        value = counted[label]
        shown = f"{value:9.2f} {value / base:6.2f}" if value and base else f"{'NA':>9} {'NA':>6}"
        print(f"{label:<16} {shown}")


if __name__ == "__main__":
    main()
