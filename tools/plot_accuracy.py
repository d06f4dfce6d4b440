#!/usr/bin/python3
"""Draws docs/accuracy.png: how far normcalc's answers lie from the exact values.

Runs normcalc-cli over a grid of X in [0, 4] (x2p) and of P in [0, 0.4999]
(p2x) and compares each answer with the exact value of the standard normal
distribution:
    P(X) = erf(X / sqrt(2)) / 2          (math.erf)
    X(P) = inverse of the normal CDF at 0.5 + P   (statistics.NormalDist)
Both references are good to about 1e-15, far below the differences drawn.
Prints the largest differences per stretch, for docs/accuracy.md.

Needs Debian's python3-matplotlib.
    /usr/bin/python3 tools/plot_accuracy.py CLI [PNG]   (Debian's python3)
    e.g. /usr/bin/python3 tools/plot_accuracy.py build/default/cli/normcalc-cli docs/accuracy.png
"""

import math
import statistics
import subprocess
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402  (the backend must be chosen first)

X_STEP = 0.0005  # 8001 values of X in [0, 4]
X_COUNT = 8001
# P in [0, 0.499) every 1e-5, then [0.499, 0.4999] every 1e-7: near 0.5 a small
# step in P is a long way in X, and the table's rows lie far apart there.
P_STEP, P_COUNT = 0.00001, 49900
TAIL_STEP, TAIL_COUNT = 0.0000001, 9001
P_TICKS = [0.1, 0.2, 0.3, 0.4, 0.45, 0.49, 0.499, 0.4999]
LAST_X = 3.98466366361372  # the table's last row
LAST_P = 0.49996719678728


def run_cli(cli, command, texts):
    """The answers of `normcalc-cli command` for texts, one per line, as floats."""
    result = subprocess.run([cli, command], input="".join(t + "\n" for t in texts),
                            capture_output=True, text=True, check=True)
    lines = result.stdout.split("\n")[:-1]
    if len(lines) != len(texts):
        sys.exit(f"{cli} {command}: {len(lines)} answers for {len(texts)} texts")
    return [float(line) for line in lines]


def exact_p(x):
    return math.erf(x / math.sqrt(2)) / 2


def exact_x(p, normal=statistics.NormalDist()):
    return normal.inv_cdf(0.5 + p)


def report(name, inputs, errors, stretches):
    print(f"{name}: answer - exact")
    for low, high in stretches:
        picked = [(abs(e), e, v) for v, e in zip(inputs, errors) if low <= v < high]
        _, worst, where = max(picked)
        print(f"  [{low}, {high}): from {min(p[1] for p in picked):.3g} to "
              f"{max(p[1] for p in picked):.3g}, largest {worst:.3g} at {where}")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    cli = sys.argv[1]
    png = sys.argv[2] if len(sys.argv) == 3 else "docs/accuracy.png"

    x_texts = [f"{i * X_STEP:.4f}" for i in range(X_COUNT)]
    xs = [float(t) for t in x_texts]
    p_errors = [a - exact_p(x) for x, a in zip(xs, run_cli(cli, "x2p", x_texts))]

    p_texts = ([f"{i * P_STEP:.5f}" for i in range(P_COUNT)] +
               [f"{0.499 + i * TAIL_STEP:.7f}" for i in range(TAIL_COUNT)])
    ps = [float(t) for t in p_texts]
    x_errors = [a - exact_x(p) for p, a in zip(ps, run_cli(cli, "p2x", p_texts))]

    report("x2p", xs, p_errors, [(0, 1), (1, 2), (2, 3), (3, 3.6), (3.6, LAST_X),
                                 (LAST_X, 4.0001)])
    report("p2x", ps, x_errors, [(0, 0.1), (0.1, 0.3), (0.3, 0.45), (0.45, 0.49),
                                 (0.49, 0.499), (0.499, 0.4999001)])

    figure, (top, bottom) = plt.subplots(2, 1, figsize=(8, 9))
    top.plot(xs, [e * 1e7 for e in p_errors], linewidth=0.8, color="#1f4e9c")
    top.axhline(0, color="black", linewidth=0.6)
    top.axvline(LAST_X, color="grey", linestyle=":", linewidth=1)
    top.text(LAST_X - 0.03, 7, f"last row of the table\nX = {LAST_X}\nbeyond it P stays\n"
             f"{LAST_P}", ha="right", fontsize=8)
    top.set_xlim(0, 4)
    top.set_xlabel("X")
    top.set_ylabel("answer − exact P   (units of 10⁻⁷)")
    top.set_title("x2p (X→P): the table's P against ½·erf(X/√2)")
    top.grid(alpha=0.3)

    # Drawn over the exact X that belongs to each P, so that the last
    # thousandth of P, where the rows lie far apart, gets room; the P values
    # are marked on the upper axis. The size of the difference is drawn on a
    # log scale; where the answer lies below the exact X it is marked.
    exact_xs = [exact_x(p) for p in ps]
    bottom.semilogy(exact_xs, [abs(e) for e in x_errors], linewidth=0.8, color="#b03020",
                    label="size of the difference")
    below = [(x, -e) for x, e in zip(exact_xs, x_errors) if e < 0]
    bottom.plot([x for x, _ in below], [e for _, e in below], ".", markersize=2,
                color="#2a8a2a", label="where the answer lies below the exact X")
    bottom.set_xlim(0, 3.8)
    bottom.set_ylim(1e-8, 1e-2)
    bottom.set_xlabel("exact X that belongs to P")
    bottom.set_ylabel("|answer − exact X|   (log scale)")
    bottom.grid(alpha=0.3, which="both")
    bottom.legend(loc="lower right", fontsize=8)
    p_axis = bottom.twiny()
    p_axis.set_xlim(bottom.get_xlim())
    p_axis.set_xticks([exact_x(p) for p in P_TICKS])
    p_axis.set_xticklabels([str(p) for p in P_TICKS], fontsize=8, rotation=45)
    p_axis.set_xlabel("P", labelpad=2)
    p_axis.set_title("p2x (P→X): the table's X against the exact inverse")

    figure.tight_layout()
    figure.savefig(png, dpi=100)
    print(f"wrote {png}")


if __name__ == "__main__":
    main()
