#!/usr/bin/env python3
"""Throughput of `normcalc-cli x2p` and `p2x` in lines per second, beside peers in the same run.

Peers, each reading the same file from standard input and writing one line per
input line:
  awk     prints every line unchanged: the floor, reading and writing alone
          (run on the X file and on the P file);
  python  statistics.NormalDist().cdf(x) - 0.5 for each line of the X file, the
          same quantity P = f(0<x<X) from a library that computes it instead of
          looking it up.

The runs of the programs alternate, so that a change in the machine's load
meets all of them alike.

Each program runs --runs times and its fastest run counts, by wall-clock time and
by CPU time (user + system, from the kernel's account of the child). On a shared
machine the CPU figures are the steadier ones: wall time there also counts the
time a program waits for a free core. Use an optimised build:
    cmake --preset bench && cmake --build --preset bench --target normcalc-cli
    python3 bench/cli_throughput.py [--cli build/bench/cli/normcalc-cli]
"""

import argparse
import os
import random
import resource
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_CLI = os.path.join(REPO, "build", "bench", "cli", "normcalc-cli")

PYTHON_PEER = r"""
import sys
from statistics import NormalDist
cdf = NormalDist().cdf
sys.stdout.write("".join(repr(cdf(float(line)) - 0.5) + "\n" for line in sys.stdin))
"""

# The goals: at least this many times Python's throughput, and no more than
# this many times slower than awk's.
GOAL_TIMES_PYTHON = 5.0
GOAL_WITHIN_AWK = 3.0
# And in absolute terms on the development machine, lines per second of CPU time.
GOAL_LINES_PER_SECOND = 9e6


def make_input(path, lines, seed, low=-0.5, high=4.5):
    """Values as a user types them: 1 to 15 decimals, mostly inside the table's range."""
    rng = random.Random(seed)
    with open(path, "w") as f:
        for _ in range(lines):
            x = rng.uniform(low, high)
            f.write(f"{x:.{rng.randint(1, 15)}f}\n")


def cpu_seconds_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def seconds_of_one_run(command, input_path):
    """The (wall, cpu) seconds of one run of the program."""
    with open(input_path, "rb") as stdin:
        cpu_before = cpu_seconds_of_children()
        start = time.perf_counter()
        subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
        return time.perf_counter() - start, cpu_seconds_of_children() - cpu_before


def best_seconds(programs, runs):
    """The fastest (wall, cpu) seconds of each (name, command, input) over runs
    rounds, each round running every program once."""
    best = {name: (float("inf"), float("inf")) for name, _, _ in programs}
    for _ in range(runs):
        for name, command, input_path in programs:
            wall, cpu = seconds_of_one_run(command, input_path)
            best[name] = (min(best[name][0], wall), min(best[name][1], cpu))
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=DEFAULT_CLI, help="the normcalc-cli binary")
    parser.add_argument("--lines", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seed", type=int, default=20240601)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        input_path = os.path.join(tmp, "x.txt")
        make_input(input_path, args.lines, args.seed)
        p_path = os.path.join(tmp, "p.txt")
        make_input(p_path, args.lines, args.seed + 1, -0.05, 0.55)

        # One checked run first: one output line per input line, and no failure.
        for command, path in (("x2p", input_path), ("p2x", p_path)):
            with open(path, "rb") as stdin:
                out = subprocess.run([args.cli, command], stdin=stdin, capture_output=True,
                                     check=True)
            if out.stdout.count(b"\n") != args.lines:
                sys.exit(f"normcalc-cli {command} printed a different number of lines")

        programs = [
            ("normcalc-cli x2p", [args.cli, "x2p"], input_path),
            ("awk '{print}' (X file)", ["awk", "{print}"], input_path),
            ("normcalc-cli p2x", [args.cli, "p2x"], p_path),
            ("awk '{print}' (P file)", ["awk", "{print}"], p_path),
            ("python NormalDist().cdf", [sys.executable, "-c", PYTHON_PEER], input_path),
        ]
        seconds = best_seconds(programs, args.runs)

    print(f"{args.lines} lines, best of {args.runs} runs; lines per second")
    print(f"  {'':26s} {'by wall time':>14s} {'by CPU time':>14s}")
    for name, _, _ in programs:
        wall, cpu = seconds[name]
        print(f"  {name:26s} {args.lines / wall:14,.0f} {args.lines / max(cpu, 1e-9):14,.0f}")
    python = seconds["python NormalDist().cdf"]
    for command, awk_name in (("x2p", "awk '{print}' (X file)"), ("p2x", "awk '{print}' (P file)")):
        cli = seconds[f"normcalc-cli {command}"]
        awk = seconds[awk_name]
        for column, label in ((0, "wall"), (1, "CPU")):
            line = (f"{command} by {label} time: {cli[column] / max(awk[column], 1e-9):5.2f}x "
                    f"awk's time (goal at most {GOAL_WITHIN_AWK:g}x)")
            if command == "x2p":
                line += (f", {python[column] / cli[column]:5.2f}x python "
                         f"(goal at least {GOAL_TIMES_PYTHON:g}x)")
            if column == 1:
                line += (f", {args.lines / cli[column] / 1e6:5.2f} M lines/s "
                         f"(goal at least {GOAL_LINES_PER_SECOND / 1e6:g} M)")
            print(line)


if __name__ == "__main__":
    main()
