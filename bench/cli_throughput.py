#!/usr/bin/env python3
"""Throughput of `normcalc-cli x2p` in lines per second, beside two peers in the same run.

Peers, each reading the same file of X values from standard input and writing
one line per input line:
  awk     prints every line unchanged: the floor, reading and writing alone;
  python  statistics.NormalDist().cdf(x) - 0.5 for each line, the same quantity
          P = f(0<x<X) from a library that computes it instead of looking it up.

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


def make_input(path, lines, seed):
    """X values as a user types them: 1 to 15 decimals, mostly inside the table's range."""
    rng = random.Random(seed)
    with open(path, "w") as f:
        for _ in range(lines):
            x = rng.uniform(-0.5, 4.5)
            f.write(f"{x:.{rng.randint(1, 15)}f}\n")


def cpu_seconds_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def best_seconds(command, input_path, runs):
    """The fastest (wall, cpu) seconds of the program over runs runs."""
    best_wall = best_cpu = float("inf")
    for _ in range(runs):
        with open(input_path, "rb") as stdin:
            cpu_before = cpu_seconds_of_children()
            start = time.perf_counter()
            subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
            best_wall = min(best_wall, time.perf_counter() - start)
            best_cpu = min(best_cpu, cpu_seconds_of_children() - cpu_before)
    return best_wall, best_cpu


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

        # One checked run first: one output line per input line, and no failure.
        with open(input_path, "rb") as stdin:
            out = subprocess.run([args.cli, "x2p"], stdin=stdin, capture_output=True, check=True)
        if out.stdout.count(b"\n") != args.lines:
            sys.exit("normcalc-cli printed a different number of lines")

        programs = [
            ("normcalc-cli x2p", [args.cli, "x2p"]),
            ("awk '{print}'", ["awk", "{print}"]),
            ("python NormalDist().cdf", [sys.executable, "-c", PYTHON_PEER]),
        ]
        seconds = {name: best_seconds(command, input_path, args.runs) for name, command in programs}

    print(f"{args.lines} lines, best of {args.runs} runs; lines per second")
    print(f"  {'':26s} {'by wall time':>14s} {'by CPU time':>14s}")
    for name, _ in programs:
        wall, cpu = seconds[name]
        print(f"  {name:26s} {args.lines / wall:14,.0f} {args.lines / max(cpu, 1e-9):14,.0f}")
    for column, label in ((0, "wall"), (1, "CPU")):
        cli, awk, python = (seconds[name][column] for name, _ in programs)
        print(f"by {label} time: normcalc-cli is {python / cli:5.2f}x python "
              f"(goal at least {GOAL_TIMES_PYTHON:g}x) and {cli / max(awk, 1e-9):5.2f}x slower "
              f"than awk (goal at most {GOAL_WITHIN_AWK:g}x)")


if __name__ == "__main__":
    main()
