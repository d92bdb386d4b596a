#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of mirel with N goals beside bench/bare_window, watched from outside.

Usage (from the repository, after scripts/build.sh):
    tests/e2e/xsession.sh -- python3 bench/start_bench.py [--build build] [-n 11] [--goals 1,5,200,1000] [--busy 2]
        [--words-of 200]

Each start gets a fresh HOME holding a goals file of N goals and the frame the panel saves for them: the frame
it took in an uncounted start from bare_window's frame (a saved frame holds the height the content had, so
the panel does not resize itself once it is on screen). The
programs run round-robin (bare, 1, 5, ... , bare, 1, 5, ...) so drift hits all alike; the first round is a
warm-up. Per start: exec -> first pixels of the window on the root window (after the compositor), and peak
RSS (VmHWM) once the window has been up for --settle seconds. Printed as medians (min–max) and as ratios
to bare_window's medians, then what the memory above bare_window's is: the resident kilobytes of each file
(a library, a font) and of anonymous memory that exceed bare_window's by more than --above KiB. With --busy N,
N programs keep the processors busy meanwhile, as a login's other programs do: a start that waits on work of
lower priority than its own shows there. With --words-of N, bare_window also runs in the frame of N goals,
drawing a line of words for each goal that fits there: how much of a long list's start is only its words.
"""
import argparse
import os
import shutil
import subprocess
import tempfile
import time
import uuid

import screenwatch

BARE_FRAME = (1128, 488, 300, 400)


def write_home(home, goals, screen_height, frame):
    data = os.path.join(home, "data", "Mirel")
    config = os.path.join(home, "config", "Mirel")
    os.makedirs(data)
    os.makedirs(config)
    entries = []
    for i in range(goals):
        done = "true" if i % 3 == 2 else "false"
        entries.append(f'{{"id":"{uuid.uuid4()}","text":"Goal {i}: a line of ordinary length","completed":{done},'
                       f'"order":{i},"createdAt":"2026-12-01T09:00:00.000Z"}}')
    with open(os.path.join(data, "todos.json"), "w", encoding="utf-8") as file:
        file.write("[" + ",".join(entries) + "]")
    x, y, w, h = frame
    with open(os.path.join(config, "Mirel.conf"), "w", encoding="utf-8") as file:
        # Stored with the origin at the bottom-left of the screen, y up.
        file.write(f"[General]\npanelX={x}\npanelY={screen_height - y - h}\npanelW={w}\npanelH={h}\n")


# A session's runtime directory is kept in memory (/run/user/UID is a tmpfs); one on disk would add the
# panel's lock-file sync to every start, which no user's start pays.
RUNTIME_PARENT = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None


def new_home():
    """A fresh home on disk and a runtime directory for it in memory."""
    return tempfile.mkdtemp(prefix="mirel-bench-"), tempfile.mkdtemp(prefix="mirel-bench-run-", dir=RUNTIME_PARENT)


def remove_home(home, runtime):
    shutil.rmtree(home, ignore_errors=True)
    shutil.rmtree(runtime, ignore_errors=True)


def environment(home, runtime):
    return dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                XDG_DATA_HOME=os.path.join(home, "data"), XDG_RUNTIME_DIR=runtime)


def probe_frame(screen, mirel, goals, settle):
    """The frame the panel takes for `goals`, started from the bare window's frame."""
    home, runtime = new_home()
    write_home(home, goals, screen.height, BARE_FRAME)
    pid, _, window = screenwatch.start(screen, [mirel], environment(home, runtime))
    time.sleep(settle)
    frame = (screen.geometry(window) if window else None) or BARE_FRAME
    if pid:
        screenwatch.stop(pid)
    remove_home(home, runtime)
    return frame


def programs_for(counts, words_of):
    """(label, goals, whether bare_window draws their words instead of mirel showing them), bare_window first."""
    return [("bare_window", None, False)] + [(f"{n} goals", n, False) for n in counts] \
        + [(f"bare, {n} lines", n, True) for n in words_of]


def prepare_start(program, screen, frames, mirel, bare):
    """A fresh home for one start of `program` (an entry of programs_for): (home, runtime, environment, argv)."""
    _, goals, words_only = program
    home, runtime = new_home()
    env = environment(home, runtime)
    if words_only:
        env.update(MIREL_BARE_LINES=str(goals), MIREL_BARE_FRAME=",".join(map(str, frames[goals])))
    elif goals is not None:
        write_home(home, goals, screen.height, frames[goals])
    return home, runtime, env, [mirel] if goals is not None and not words_only else [bare]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("-n", type=int, default=11, help="counted starts of each program")
    parser.add_argument("--goals", default="1,5,200,1000")
    parser.add_argument("--settle", type=float, default=1.0)
    parser.add_argument("--busy", type=int, default=0, help="programs keeping the processors busy meanwhile")
    parser.add_argument("--above", type=int, default=32, help="smallest difference per file listed, KiB")
    parser.add_argument("--words-of", default="", help="goal counts whose words bare_window also draws")
    args = parser.parse_args()
    mirel = os.path.abspath(os.path.join(args.build, "src", "mirel"))
    bare = os.path.abspath(os.path.join(args.build, "bench", "bare_window"))

    screen = screenwatch.Screen()
    counts = [int(n) for n in args.goals.split(",")]
    words_of = [int(n) for n in args.words_of.split(",") if n]
    programs = programs_for(counts, words_of)
    frames = {goals: probe_frame(screen, mirel, goals, args.settle) for goals in set(counts + words_of)}
    busy = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(args.busy)]
    results = {label: ([], []) for label, _, _ in programs}
    resident = {label: [] for label, _, _ in programs}
    try:
        for round_ in range(1 + args.n):
            for program in programs:
                label = program[0]
                home, runtime, env, argv = prepare_start(program, screen, frames, mirel, bare)
                pid, pixels_ms, _ = screenwatch.start(screen, argv, env)
                rss = None
                if pid:
                    time.sleep(args.settle)
                    rss = screenwatch.peak_rss_mib(pid)
                    if round_ > 0:
                        resident[label].append(screenwatch.rss_by_file_kib(pid))
                    screenwatch.stop(pid)
                remove_home(home, runtime)
                if round_ > 0:
                    results[label][0].append(pixels_ms)
                    results[label][1].append(rss)
                time.sleep(0.2)
    finally:
        for program in busy:
            program.kill()

    def round_ratio(label, base):
        """The median of one start's time over the base's in the same round: a slow minute of the machine
        falls on both."""
        pairs = zip(results[label][0], results[base][0])
        return screenwatch.median([ms / base_ms for ms, base_ms in pairs if ms and base_ms])

    bare_ms, bare_rss = (screenwatch.median(values) for values in results["bare_window"])
    print(f"{args.n} starts each after one warm-up round; median (min–max); ratios to bare_window's medians,"
          " and the median of the ratios within each round")
    print(f"{'program':<16} {'exec->first pixels ms':<26} {'peak RSS MiB':<24} {'time x':>7} {'RSS x':>7} "
          f"{'round x':>8}")
    ratio = lambda value, base: f"{value / base:7.2f}" if value and base else "     NA"
    for label, _, _ in programs:
        times, rss = results[label]
        ms, mib = screenwatch.median(times), screenwatch.median(rss)
        by_round = round_ratio(label, "bare_window")
        print(f"{label:<16} {screenwatch.spread(times):<26} {screenwatch.spread(rss):<24} "
              f"{ratio(ms, bare_ms)} {ratio(mib, bare_rss)} {by_round or 0:8.2f}")

    for n in words_of:
        if n in counts:
            shown, words = f"{n} goals", f"bare, {n} lines"
            both = (screenwatch.median(results[label][0]) for label in (shown, words))
            print(f"{shown} over {words}: {ratio(*both).strip()}x, within rounds {round_ratio(shown, words) or 0:.2f}x")

    def medians(label):
        runs = resident[label]
        names = set().union(*runs) if runs else set()
        return {name: screenwatch.median([run.get(name, 0) for run in runs]) for name in names}

    bare_files = medians("bare_window")
    print(f"\nresident KiB above bare_window's, by file (median; more than {args.above} KiB)")
    for label, goals, words_only in programs:
        if goals is None or words_only:
            continue
        files = medians(label)
        above = {name: kib - bare_files.get(name, 0) for name, kib in files.items()}
        listed = sorted((item for item in above.items() if item[1] > args.above), key=lambda item: -item[1])
        print(f"{label:<12} " + ", ".join(f"{name} {kib:+.0f}" for name, kib in listed))


if __name__ == "__main__":
    main()
