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

    count = 10_000 if quick else 100_000
    texts = random_rna(rng, count, 300)
    strings = np.array(texts, dtype=np.dtypes.StringDType())
    assert quorin_np.gc_content(texts).tolist() == [quorin.gc_content(s) for s in texts]
    print(f"\ngc_content of {count:,} sequences of 300 nt (ratio: time / quorin_np on the list)")
    ours = best(lambda: quorin_np.gc_content(texts), repeat)
    row("quorin_np.gc_content(list of str)", ours, ours)
    row("quorin_np.gc_content(StringDType array)", best(lambda: quorin_np.gc_content(strings), repeat), ours)
    row("[quorin.gc_content(s) for s in list]",
        best(lambda: [quorin.gc_content(s) for s in texts], repeat), ours)

    folds = random_rna(rng, 1_000 if quick else 10_000, 300)
    halves = (folds[0::2], folds[1::2])
    assert quorin_np.nussinov(folds[:200]).tolist() == [quorin.nussinov(s) for s in folds[:200]]
    print(f"\nnussinov of {len(folds):,} sequences of 300 nt (ratio: time / quorin_np, one thread)")
    one = best(lambda: quorin_np.nussinov(folds), repeat)
    row("quorin_np.nussinov(list), one thread", one, one)
    row("[quorin.nussinov(s) for s in list]",
        best(lambda: [quorin.nussinov(s) for s in folds], max(1, repeat // 2)), one)
    print("  two threads on two halves against one thread, measured in turns:")
    thread_speedup("quorin_np.nussinov", quorin_np.nussinov, folds, halves, repeat)
    # The same measurement of work known to run outside the lock: what the machine allows now
    # (on a shared machine, often less than two cores).
    block = b"ACGU" * (1 << 20)
    thread_speedup("control: hashlib.sha256 of 4 MiB blocks",
                   lambda blocks: [hashlib.sha256(b).digest() for b in blocks],
                   [block] * 16, ([block] * 8, [block] * 8), repeat)


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
