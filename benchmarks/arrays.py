"""quorin_np against the ways users otherwise run quorin over arrays, measured side by side in one
run and printed as ratios. A benchmark, not a test: the machine is shared and noisy, so each
figure is the best of several repeats.

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/arrays.py [--quick] [--before DIR]
"""

import argparse
import concurrent.futures
import statistics
import time

import numpy as np
import pandas as pd

import quorin
import quorin_np


def best(fn, repeat):
    times = []
    for _ in range(repeat):
        t0 = time.perf_counter()
        fn()
        times.append(time.perf_counter() - t0)
    return min(times)


def row(label, seconds, reference):
    print(f"  {label:<52} {seconds * 1e3:10.2f} ms  {seconds / reference:8.2f}x")


def bmi_checked(w, h):
    """The NumPy expression with the contract's checks, as a careful user would write it."""
    if (w <= 0).any() or (h <= 0).any():
        raise ValueError("Quorin.BMI: weight and height must be positive")
    return w / (h * h)


def arrhenius_numpy(a, ea, t):
    return np.exp(-ea / (8.314 * t)) * a


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="fewer repeats and smaller sizes")
    parser.add_argument("--before", help="a directory PYTHONPATH imports an earlier build from "
                        "(the vector loops' comparison, benchmarks/arrays_lanes.py)")
    args = parser.parse_args()
    n = 10**5 if args.quick else 10**6
    repeat = 3 if args.quick else 7
    slow_repeat = 1 if args.quick else 3
    rng = np.random.default_rng(0)
    w = rng.uniform(40.0, 120.0, n)
    h = rng.uniform(1.4, 2.1, n)
    assert np.array_equal(quorin_np.bmi(w, h), np.array([quorin.bmi(a, b) for a, b in zip(w.tolist(), h.tolist())]))

    print(f"bmi over {n:,} float64 pairs (ratio: time / quorin_np.bmi)")
    ours = best(lambda: quorin_np.bmi(w, h), repeat)
    row("quorin_np.bmi(w, h)", ours, ours)
    row("NumPy w / (h * h)", best(lambda: w / (h * h), repeat), ours)
    row("NumPy with the same checks", best(lambda: bmi_checked(w, h), repeat), ours)
    wl, hl = w.tolist(), h.tolist()
    row("[quorin.bmi(a, b) for a, b in zip(lists)]",
        best(lambda: [quorin.bmi(a, b) for a, b in zip(wl, hl)], slow_repeat), ours)
    row("np.vectorize(quorin.bmi)(w, h)", best(lambda: np.vectorize(quorin.bmi)(w, h), slow_repeat), ours)

    a = rng.uniform(1e3, 1e9, n)
    ea = rng.uniform(1e4, 1e5, n)
    t = rng.uniform(250.0, 400.0, n)
    print(f"\narrhenius_rate over {n:,} triples (ratio: time / quorin_np)")
    ours = best(lambda: quorin_np.arrhenius_rate(a, ea, t), repeat)
    row("quorin_np.arrhenius_rate(a, ea, t)", ours, ours)
    row("NumPy exp(-ea / (R * t)) * a (NumPy's own exp)", best(lambda: arrhenius_numpy(a, ea, t), repeat), ours)
    al, el, tl = a.tolist(), ea.tolist(), t.tolist()
    row("list comprehension over quorin.arrhenius_rate",
        best(lambda: [quorin.arrhenius_rate(x, y, z) for x, y, z in zip(al, el, tl)], slow_repeat), ours)

    m = n // 10
    df = pd.DataFrame({"w": w[:m], "h": h[:m]})
    print(f"\npandas, {m:,} rows (ratio: time / quorin_np on the columns)")
    ours = best(lambda: quorin_np.bmi(df["w"], df["h"]), repeat)
    row("quorin_np.bmi(df['w'], df['h'])", ours, ours)
    row("df.apply(lambda r: quorin.bmi(r.w, r.h), axis=1)",
        best(lambda: df.apply(lambda r: quorin.bmi(r.w, r.h), axis=1), 1), ours)

    big = 10 * n
    x = rng.uniform(1e3, 1e9, big)
    halves = (x[: big // 2], x[big // 2:])
    one = best(lambda: quorin_np.arrhenius_rate(x, x, x), repeat)
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        def two():
            list(pool.map(lambda part: quorin_np.arrhenius_rate(part, part, part), halves))
        speedups = [one / best(two, 1) for _ in range(repeat)]
    print(f"\narrhenius_rate over {big:,} elements, two threads on two halves against one thread")
    print(f"  speed-up: median {statistics.median(speedups):.2f}x, "
          f"range {min(speedups):.2f}x to {max(speedups):.2f}x over {repeat} runs")

    import arrays_lists  # lists, coordinate stacks and collections of sequences

    arrays_lists.run(args.quick)

    import arrays_lanes  # the vector loops against NumPy in place, and against an earlier build

    arrays_lanes.run(args.quick, args.before)


if __name__ == "__main__":
    main()
