#!/usr/bin/env python3
"""Times two builds of twinfold-cli against `cp -ru` on the same up-to-date mirror.

    bench/compare-builds.py OLD_CLI NEW_CLI SOURCE DEST [ROUNDS]

DEST must already mirror SOURCE, so that every run is a no-op re-sync. The three commands take
turns within each round, in an order that alternates from round to round, so that a machine
whose speed drifts over the minutes of a measurement favours none of them. Prints each
command's median and mean wall time, its mean user time and its median as a ratio to cp's.
"""
import os
import statistics
import subprocess
import sys
import time

WARM_UP_ROUNDS = 3


def timed(command):
    with open(os.devnull, "w") as sink:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdout=sink, stderr=sink)
        _, status, usage = os.wait4(process.pid, 0)
        elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit("%s failed with status %d" % (command[0], status))
    return elapsed, usage.ru_utime


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__.strip().splitlines()[2].strip())
    old, new, source, dest = sys.argv[1:5]
    rounds = int(sys.argv[5]) if len(sys.argv) == 6 else 300
    commands = [
        ("old", [old, "sync", source, dest, "--all", "--quiet"]),
        ("new", [new, "sync", source, dest, "--all", "--quiet"]),
        ("cp", ["cp", "-ru", "--preserve=timestamps", source + "/.", dest]),
    ]
    wall = {name: [] for name, _ in commands}
    user = {name: [] for name, _ in commands}
    for round_number in range(WARM_UP_ROUNDS + rounds):
        order = commands if round_number % 2 else list(reversed(commands))
        for name, command in order:
            elapsed, user_time = timed(command)
            if round_number >= WARM_UP_ROUNDS:
                wall[name].append(elapsed)
                user[name].append(user_time)
    cp_median = statistics.median(wall["cp"])
    print("| command | median | mean | user | median / cp |")
    print("|---|---:|---:|---:|---:|")
    for name, _ in commands:
        median = statistics.median(wall[name])
        print("| %s | %.2f ms | %.2f ms | %.2f ms | %.3f |" % (
            name, median * 1e3, statistics.mean(wall[name]) * 1e3,
            statistics.mean(user[name]) * 1e3, median / cp_median))


if __name__ == "__main__":
    main()
