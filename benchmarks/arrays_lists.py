"""quorin_np over lists, coordinate stacks and collections of sequences, against the ways users
otherwise run quorin on them, side by side in one run and printed as ratios. Also run at the end
of benchmarks/arrays.py. A benchmark, not a test: the machine is shared and noisy, so each figure
is the best of several repeats, and the thread speed-up is given with its spread.

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/arrays_lists.py [--quick]
"""

import argparse
import concurrent.futures
import hashlib
import statistics

import numpy as np

import quorin
import quorin_np
from arrays import best, row  # the same timing and the same table as the elementwise rows


def random_rna(rng, count, length):
    letters = np.array(list("ACGU"))
    return ["".join(s) for s in letters[rng.integers(0, 4, size=(count, length))]]


def run(quick=False):
    repeat = 3 if quick else 7
    rng = np.random.default_rng(1)

    k, n = (100, 1000) if quick else (1000, 1000)
    a = rng.normal(size=(k, n, 3))
    b = rng.normal(size=(n, 3))
    a_lists = [[tuple(p) for p in s] for s in a.tolist()]
    b_list = [tuple(p) for p in b.tolist()]
    loop = [quorin.protein_rmsd(s, b_list) for s in a_lists]
    assert quorin_np.protein_rmsd(a, b).tolist() == loop
    print(f"\nprotein_rmsd of {k:,} structures of {n:,} atoms against one (ratio: time / quorin_np)")
    ours = best(lambda: quorin_np.protein_rmsd(a, b), repeat)
    row("quorin_np.protein_rmsd(a, b), a of shape (k, n, 3)", ours, ours)
    row("NumPy sqrt(((a - b) ** 2).sum(-1).mean(-1))",
        best(lambda: np.sqrt(((a - b) ** 2).sum(-1).mean(-1)), repeat), ours)
    row("[quorin.protein_rmsd(s, b) for s in prepared lists]",
        best(lambda: [quorin.protein_rmsd(s, b_list) for s in a_lists], max(1, repeat // 2)), ours)

    texts_against_loops(rng, quick, repeat)
    folds_against_loops(rng, quick, repeat)
    # The same thread measurement of work known to run outside the lock: what the machine
    # allows now (on a shared machine, often less than two cores).
    block = b"ACGU" * (1 << 20)
    print()
    thread_speedup("control: hashlib.sha256 of 4 MiB blocks",
                   lambda blocks: [hashlib.sha256(b).digest() for b in blocks],
                   [block] * 16, ([block] * 8, [block] * 8), repeat)


def side_by_side(label, loop, ours, repeat):
    """Times the loop and quorin_np in turns, `repeat` rounds; prints the best of each and the
    ratio loop / quorin_np as the median and range of the rounds' ratios."""
    ratios, best_loop, best_ours = [], float("inf"), float("inf")
    for _ in range(repeat):
        a, b = best(loop, 1), best(ours, 1)
        best_loop, best_ours = min(best_loop, a), min(best_ours, b)
        ratios.append(a / b)
    print(f"  {label:<30} {best_loop * 1e3:9.2f} ms {best_ours * 1e3:9.2f} ms   "
          f"{statistics.median(ratios):5.2f}x  [{min(ratios):.2f} - {max(ratios):.2f}]")


def texts_against_loops(rng, quick, repeat):
    scale = 10 if quick else 1
    print("\nover a list of str: list comprehension against quorin_np (best of each; loop /"
          " quorin_np\nas the median [range] of the rounds' ratios; targets 3x at 30 nt, 2x at"
          " 300, never below 1)")
    print(f"  {'':<30} {'loop':>12} {'quorin_np':>12}   ratio")
    for length, count in ((30, 100_000), (300, 100_000), (3_000, 10_000)):
        count //= scale
        texts, others = random_rna(rng, count, length), random_rna(rng, count, length)
        assert quorin_np.gc_content(texts).tolist() == [quorin.gc_content(s) for s in texts]
        side_by_side(f"gc_content, {length:,} nt x {count:,}",
                     lambda: [quorin.gc_content(s) for s in texts],
                     lambda: quorin_np.gc_content(texts), repeat)
        side_by_side(f"sequence_identity, {length:,} nt",
                     lambda: [quorin.sequence_identity(a, b) for a, b in zip(texts, others)],
                     lambda: quorin_np.sequence_identity(texts, others), repeat)
    texts = random_rna(rng, 100_000 // scale, 300)
    strings = np.array(texts, dtype=np.dtypes.StringDType())
    side_by_side("gc_content, StringDType, 300", lambda: quorin_np.gc_content(texts),
                 lambda: quorin_np.gc_content(strings), repeat)
    print("  (that row: the list against the StringDType array)")


def folds_against_loops(rng, quick, repeat):
    scale = 10 if quick else 1
    print("\nfolds: a loop over quorin.nussinov against quorin_np.nussinov, one worker (target"
          " 1.5x at 30 nt,\nnever below 1)")
    rounds = max(3, repeat // 2)
    for length, count in ((30, 20_000), (300, 10_000)):
        folds = random_rna(rng, count // scale, length)
        assert quorin_np.nussinov(folds[:500]).tolist() == [quorin.nussinov(s) for s in folds[:500]]
        side_by_side(f"nussinov, {length} nt x {len(folds):,}",
                     lambda: [quorin.nussinov(s) for s in folds],
                     lambda: quorin_np.nussinov(folds), rounds)
    folds = random_rna(rng, 10_000 // scale, 300)
    print("workers=1 against workers=2 on the same folds (target 1.8x; the shared machine's"
          " spread shows)")
    side_by_side(f"nussinov, 300 nt x {len(folds):,}", lambda: quorin_np.nussinov(folds),
                 lambda: quorin_np.nussinov(folds, workers=2), rounds)
    halves = (folds[0::2], folds[1::2])
    print("  and two threads of the caller's on two halves against one call:")
    thread_speedup("quorin_np.nussinov", quorin_np.nussinov, folds, halves, rounds)


def thread_speedup(label, work, whole, halves, repeat):
    speedups = []
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        def two():
            list(pool.map(work, halves))

        for _ in range(repeat):
            alone = best(lambda: work(whole), 1)
            speedups.append(alone / best(two, 1))
    print(f"  {label:<44} median {statistics.median(speedups):.2f}x, "
          f"range {min(speedups):.2f}x to {max(speedups):.2f}x over {repeat} runs")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="fewer repeats and smaller sizes")
    run(parser.parse_args().quick)


if __name__ == "__main__":
    main()
