"""A list-of-real parameter given a float64 buffer against the same values as a list.

shannon_entropy_dist over 100,000 probabilities, given as a list, a 1-d NumPy array, an
array.array('d') and a memoryview (all read straight from their buffer), and as a strided NumPy
array that takes the iterating path. Cases are interleaved round by round; each round keeps the
best of a few calls per case, and the table gives the median over rounds and the range of the
ratio to the list.

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/buffers.py [--rounds N] [--size N]
"""

import argparse
import array
import statistics
import time

import numpy as np

import quorin


def best_of(call, argument, repeats):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        call(argument)
        best = min(best, time.perf_counter() - start)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=15)
    parser.add_argument("--size", type=int, default=100_000)
    args = parser.parse_args()

    p = np.random.default_rng(7).random(args.size)
    p /= p.sum()
    values = p.tolist()
    cases = {
        "list": values,
        "ndarray": p,
        "array.array('d')": array.array("d", values),
        "memoryview": memoryview(array.array("d", values)),
        "ndarray, strided": np.repeat(p, 2)[::2],
    }
    results = {name: quorin.shannon_entropy_dist(x) for name, x in cases.items()}
    assert len(set(results.values())) == 1, results

    times = {name: [] for name in cases}
    for _ in range(args.rounds):
        for name, x in cases.items():
            times[name].append(best_of(quorin.shannon_entropy_dist, x, 3))

    print(f"shannon_entropy_dist over {args.size:,} float64 values, {args.rounds} rounds")
    print(f"{'given as':<18} {'ms':>8} {'time / list':>24}")
    for name in cases:
        ratios = [t / l for t, l in zip(times[name], times["list"])]
        print(f"{name:<18} {statistics.median(times[name]) * 1e3:>8.3f}"
              f" {statistics.median(ratios):>8.2f} [{min(ratios):.2f} - {max(ratios):.2f}]")
    print("target: the ndarray no slower than the list (ratio at most 1.0)")


if __name__ == "__main__":
    main()
