"""quorin.nussinov against two reference folds of the same recurrence, compiled here with the
same compiler and -O3 (references.cpp): the textbook memoised recursion over an n x n table of
optional 64-bit counts, and the bottom-up fill over a row-major and a transposed 16-bit table.

Short sequences first: per length, the time per fold over many random sequences (each fold
measured as the fastest of many batches of about a millisecond, which a busy machine leaves
undisturbed now and then), for quorin.nussinov called from Python, the 16-bit fill, and quorin's
fold as it chose its fill before short sequences had one of their own (previous.cpp, built from
the same sources), and quorin_np.nussinov folding the same sequences in one batch call (timed in
turns with the loop). The whole comparison runs several rounds; the ratios are given as the
median and the range over the rounds.

Then long sequences: every fold runs in a fresh process on the same random sequence; the three
counts must agree. Per size it prints seconds, cells per second (n^3 / 6 split evaluations per
second), the ratios, and the peak memory each fold added to its process, per n^2 bytes (VmHWM
before and after).

Last, the structure fold against the count fold (structures.cpp, built from the same sources
with the module's flags): per size and loop minimum (0 and 3), the time per fold of each, the
two taking turns in one process, over several rounds, with the ratio as the median and range
over the rounds; for random sequences and for a hairpin (a stem and its reverse complement,
the traceback's worst case: every paired base scans the whole span for its nearest partner).
Then the peak memory each added to a fresh process, per n^2 bytes. The same rows follow for
quorin_np.nussinov_structure against quorin_np.nussinov on one str, as a user calls them (the
count of a short sequence then goes through the lane kernel, the structure through the 8-bit
fill and its traceback).

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/nussinov/bench.py \
        [--short-sizes ...] [--rounds R] [--sizes ...] [--structure-sizes ...]

(an empty list skips its table: `--short-sizes --sizes` leaves only the structure table).
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# The peak resident memory of the process so far (kB), for the scripts below.
PEAK_KB = r"""
def peak_kb():
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
"""

# Runs in a fresh interpreter: the sequence arrives on stdin; prints the count, the best time
# of `repeats` calls and the peak memory the first call added (kB).
QUORIN_RUN = PEAK_KB + r"""
import sys, time
import quorin

sequence = sys.stdin.readline().strip()
repeats = int(sys.argv[1])
quorin.nussinov("GGGAAACCC")
before = peak_kb()
times = []
for _ in range(repeats):
    start = time.perf_counter()
    count = quorin.nussinov(sequence)
    times.append(time.perf_counter() - start)
    if len(times) == 1:
        added = peak_kb() - before
best = min(times)
print(count, best, added)
"""

# Reads one sequence per line from stdin; prints the sum of the counts and the seconds per fold
# of the fastest of `batches` passes over all of them (the protocol of many.hpp).
QUORIN_MANY = r"""
import sys, time
import quorin

sequences = sys.stdin.read().split()
batches = int(sys.argv[1])
fold = quorin.nussinov
total = sum(map(fold, sequences))
best = batch = float("inf")
try:
    import quorin_np
except ImportError:
    quorin_np = None
for _ in range(batches):
    start = time.perf_counter()
    count = sum(map(fold, sequences))
    best = min(best, time.perf_counter() - start)
    assert count == total
    if quorin_np is not None:  # the same folds as one batch call, in turns with the loop
        start = time.perf_counter()
        count = int(quorin_np.nussinov(sequences).sum())
        batch = min(batch, time.perf_counter() - start)
        assert count == total
print(total, best / len(sequences), batch / len(sequences))
"""


def run_many(command, sequences, batch=None):
    out = subprocess.run(command, input="".join(s + "\n" for s in sequences), capture_output=True,
                         text=True, check=True).stdout.split()
    if batch is not None and len(out) > 2:
        batch.append(float(out[2]))
    return int(out[0]), float(out[1])


def median(xs):
    xs = sorted(xs)
    return (xs[(len(xs) - 1) // 2] + xs[len(xs) // 2]) / 2


def short_sequences(sizes, rounds, seed, references, previous):
    """The table for short sequences; returns {n: (median fill ratio, median speed-up)}."""
    batches = "40"
    samples = {n: {"quorin": [], "fill": [], "previous": [], "batch": []} for n in sizes}
    for _ in range(rounds):
        for n in sizes:
            rng = random.Random(seed + n)
            # Short batches (a busy machine leaves more of them undisturbed), of at least 4
            # sequences: about 0.2 ms of quorin's work, a millisecond or two of the others'.
            count = max(4, min(50, int(2e7 / n ** 3)))
            sequences = ["".join(rng.choice("ACGU") for _ in range(n)) for _ in range(count)]
            runs = {"quorin": run_many([sys.executable, "-c", QUORIN_MANY, batches], sequences,
                                       samples[n]["batch"]),
                    "fill": run_many([references, "fill-many", batches], sequences),
                    "previous": run_many([previous, batches], sequences)}
            if len({total for total, _ in runs.values()}) != 1:
                sys.exit(f"bench.py: the folds disagree at n = {n}: {runs}")
            for name, (_, seconds) in runs.items():
                samples[n][name].append(seconds)
            if len(samples[n]["batch"]) < len(samples[n]["quorin"]):  # quorin_np not built
                samples[n]["batch"].append(float("nan"))

    print(f"short sequences: microseconds per fold (median of {rounds} rounds); ratios as median"
          f" [min - max] over the rounds")
    header = (f"{'n':>6} | {'quorin':>8} | {'16-bit fill':>11} {'quorin/fill':>20} |"
              f" {'before':>8} {'before/quorin':>20} | {'batch':>8} {'loop/batch':>20}")
    print(header)
    print("-" * len(header))
    summary = {}
    for n in sizes:
        q, f, p = samples[n]["quorin"], samples[n]["fill"], samples[n]["previous"]
        ratio = [a / b for a, b in zip(q, f)]
        speedup = [b / a for a, b in zip(q, p)]
        summary[n] = (median(ratio), median(speedup))
        b = samples[n]["batch"]
        gain = [a / c for a, c in zip(q, b)]  # the loop over quorin.nussinov / one batch call
        print(f"{n:>6} | {median(q) * 1e6:>8.2f} | {median(f) * 1e6:>11.2f}"
              f" {median(ratio):>6.2f} [{min(ratio):.2f} - {max(ratio):.2f}] |"
              f" {median(p) * 1e6:>8.2f} {median(speedup):>6.2f}x [{min(speedup):.2f} - {max(speedup):.2f}] |"
              f" {median(b) * 1e6:>8.2f} {median(gain):>6.2f}x [{min(gain):.2f} - {max(gain):.2f}]",
              flush=True)
    worst = max(summary, key=lambda n: summary[n][0])
    print(f"slowest against the 16-bit fill: n = {worst}, {summary[worst][0]:.2f} of its time (target"
          f" at most 0.8 for every n from 20 to 500)")
    if 100 in summary:
        print(f"n = 100: {summary[100][1]:.1f}x faster than before (target 2x)")
    print()
    return summary


def hairpin(n, rng):
    complement = {"A": "U", "U": "A", "G": "C", "C": "G"}
    stem = "".join(rng.choice("ACGU") for _ in range(n // 2))
    return stem + "".join(complement[b] for b in reversed(stem))


def sampled(sizes, rounds, seed, measure):
    """{(n, kind, min_loop): [(count s, structure s) per round]}: `measure(sequences, n,
    min_loop)` times a batch of random sequences or hairpins of each size, every round."""
    samples = {(n, kind, loop): [] for n in sizes for kind in ("random", "hairpin")
               for loop in (0, 3)}
    for _ in range(rounds):
        for n, kind, loop in samples:
            rng = random.Random(seed + n)
            count = max(1, min(50, int(5e6 / n ** 2)))  # a batch of a few milliseconds or more
            sequences = ["".join(rng.choice("ACGU") for _ in range(n)) if kind == "random"
                         else hairpin(n, rng) for _ in range(count)]
            samples[n, kind, loop].append(measure(sequences, n, loop))
    return samples


def structure_rows(sizes, rounds, seed, structures):
    """The structure fold against the count fold; returns {(n, kind, min_loop): median ratio}."""
    def measure(sequences, n, loop):
        batches = "20" if n <= 300 else "3" if n <= 2000 else "1"
        out = subprocess.run([structures, "time", batches, str(loop)],
                             input="".join(s + "\n" for s in sequences), capture_output=True,
                             text=True)
        if out.returncode != 0:
            sys.exit(f"bench.py: the structure fold disagrees with the count at n = {n}")
        return tuple(map(float, out.stdout.split()))

    samples = sampled(sizes, rounds, seed, measure)
    summary = ratio_table("structure fold against the count fold", samples, rounds)
    for n in sizes:
        rng = random.Random(seed + n)
        sequence = "".join(rng.choice("ACGU") for _ in range(n))
        grown = {}
        for which in ("count", "structure"):
            out = subprocess.run([structures, "memory", which, "0"], input=sequence + "\n",
                                 capture_output=True, text=True, check=True).stdout.split()
            grown[which] = int(out[1]) * 1024 / n ** 2
        print(f"n = {n}: peak memory added, bytes per n^2: count {grown['count']:.2f},"
              f" structure {grown['structure']:.2f} (resident pages, 4 kB each)")
    slowest(summary, sizes)
    return summary


def ratio_table(title, samples, rounds):
    """Prints {(n, kind, min_loop): [(count s, structure s) per round]} as a table; returns
    {(n, kind, min_loop): median ratio}."""
    print(f"{title}: milliseconds per fold (median of {rounds} rounds); ratios as median"
          f" [min - max] over the rounds")
    header = (f"{'n':>6} {'sequence':>8} {'min_loop':>8} | {'count':>9} {'structure':>9} |"
              f" {'structure/count':>22}")
    print(header)
    print("-" * len(header))
    summary = {}
    for (n, kind, loop), runs in samples.items():
        ratio = [s / c for c, s in runs]
        summary[n, kind, loop] = median(ratio)
        print(f"{n:>6} {kind:>8} {loop:>8} | {median([c for c, _ in runs]) * 1e3:>9.3f}"
              f" {median([s for _, s in runs]) * 1e3:>9.3f} |"
              f" {median(ratio):>8.2f} [{min(ratio):.2f} - {max(ratio):.2f}]", flush=True)
    return summary


def slowest(summary, sizes):
    worst = {n: max(r for (m, _, _), r in summary.items() if m == n) for n in sizes}
    print("slowest ratio per n: " + ", ".join(f"{n}: {r:.2f}" for n, r in worst.items()) +
          " (targets: at most 2 at n = 100, 1.5 from n = 1,000; at most 2.5 bytes per n^2)")
    print()


# Reads sequences from stdin; prints the seconds per fold of quorin_np.nussinov and of
# quorin_np.nussinov_structure on each str, the fastest of `repeats` passes, the two taking turns.
NP_STRUCTURES = r"""
import sys, time
import quorin_np

sequences = sys.stdin.read().split()
loop, repeats = int(sys.argv[1]), int(sys.argv[2])
count, structure = quorin_np.nussinov, quorin_np.nussinov_structure
if [int(count(s, min_loop=loop)) for s in sequences] != \
        [structure(s, min_loop=loop).count("(") for s in sequences]:
    sys.exit("the structure disagrees with the count")
best = {count: float("inf"), structure: float("inf")}
for _ in range(repeats):
    for f in best:
        start = time.perf_counter()
        for s in sequences:
            f(s, min_loop=loop)
        best[f] = min(best[f], (time.perf_counter() - start) / len(sequences))
print(best[count], best[structure])
"""

# One call on the sequence from stdin in a fresh interpreter: the peak memory it added (kB).
NP_MEMORY = PEAK_KB + r"""
import sys
import quorin_np

sequence = sys.stdin.readline().strip()
function = getattr(quorin_np, sys.argv[1])
function("GGGAAACCC")
before = peak_kb()
function(sequence)
print(peak_kb() - before)
"""


def np_structure_rows(sizes, rounds, seed):
    """quorin_np.nussinov_structure against quorin_np.nussinov, one str per call."""
    def measure(sequences, n, loop):
        repeats = "10" if n <= 300 else "2" if n <= 2000 else "1"
        out = subprocess.run([sys.executable, "-c", NP_STRUCTURES, str(loop), repeats],
                             input="\n".join(sequences), capture_output=True, text=True)
        if out.returncode != 0:
            sys.exit(f"bench.py: quorin_np at n = {n}: {out.stderr.strip()}")
        return tuple(map(float, out.stdout.split()))

    samples = sampled(sizes, rounds, seed, measure)
    summary = ratio_table("quorin_np.nussinov_structure against quorin_np.nussinov, one str per"
                          " call", samples, rounds)
    for n in sizes:
        rng = random.Random(seed + n)
        sequence = "".join(rng.choice("ACGU") for _ in range(n))
        grown = {which: int(subprocess.run([sys.executable, "-c", NP_MEMORY, which],
                                           input=sequence + "\n", capture_output=True, text=True,
                                           check=True).stdout) * 1024 / n ** 2
                 for which in ("nussinov", "nussinov_structure")}
        print(f"n = {n}: peak memory added, bytes per n^2: count {grown['nussinov']:.2f},"
              f" structure {grown['nussinov_structure']:.2f}")
    slowest(summary, sizes)


def run(command, sequence, timeout=None):
    out = subprocess.run(command, input=sequence + "\n", capture_output=True, text=True,
                         check=True, timeout=timeout).stdout.split()
    return int(out[0]), float(out[1]), int(out[2])


def compile_references(workdir):
    cxx = os.environ.get("CXX") or shutil.which("g++") or shutil.which("c++")
    if cxx is None:
        sys.exit("bench.py: no C++ compiler (set CXX)")
    exe = os.path.join(workdir, "references")
    subprocess.run([cxx, "-std=c++23", "-O3", "-pthread", os.path.join(HERE, "references.cpp"),
                    "-o", exe], check=True)
    # quorin's own fold as before, from its sources, with the module's flags.
    src = os.path.join(HERE, "..", "..", "src")
    previous = os.path.join(workdir, "previous")
    subprocess.run([cxx, "-std=c++23", "-O3", "-ffp-contract=off", "-I", src,
                    os.path.join(HERE, "previous.cpp"),
                    *(os.path.join(src, "rna", f) for f in ("nussinov.cpp", "tiled.cpp", "bytes.cpp")),
                    "-o", previous], check=True)
    structures = os.path.join(workdir, "structures")
    subprocess.run([cxx, "-std=c++23", "-O3", "-ffp-contract=off", "-fno-math-errno", "-I", src,
                    os.path.join(HERE, "structures.cpp"),
                    *(os.path.join(src, "rna", f) for f in ("nussinov.cpp", "tiled.cpp", "bytes.cpp")),
                    "-o", structures], check=True)
    version = subprocess.run([cxx, "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    return exe, previous, structures, version


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--short-sizes", type=int, nargs="*", default=[20, 50, 100, 200, 300, 500])
    parser.add_argument("--rounds", type=int, default=5, help="rounds of the short comparison")
    parser.add_argument("--sizes", type=int, nargs="*", default=[500, 1000, 1500, 2000, 4000, 8000])
    parser.add_argument("--memo-max", type=int, default=2000,
                        help="largest size for the memoised recursion (default 2000)")
    parser.add_argument("--structure-sizes", type=int, nargs="*", default=[100, 1000, 4000])
    parser.add_argument("--seed", type=int, default=2024)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as workdir:
        exe, previous, structures, version = compile_references(workdir)
        print(f"references: {version}, -O3")
        print(f"python: {sys.executable}")
        print()
        if args.short_sizes:
            short_sequences(args.short_sizes, args.rounds, args.seed, exe, previous)
        if args.structure_sizes:
            structure_rows(args.structure_sizes, args.rounds, args.seed, structures)
            np_structure_rows(args.structure_sizes, args.rounds, args.seed)
        if not args.sizes:
            return
        # The reference process's own footprint, to subtract from its peak.
        _, _, empty_kb = run([exe, "fill"], "")
        header = (f"{'n':>6} | {'quorin s':>9} {'cells/s':>8} {'B/n^2':>6} | {'fill s':>8} {'cells/s':>8}"
                  f" {'B/n^2':>6} {'ratio':>6} | {'memo s':>8} {'cells/s':>8} {'B/n^2':>6} {'ratio':>7}")
        print(header)
        print("-" * len(header))
        summary = {}
        for n in args.sizes:
            rng = random.Random(args.seed + n)
            sequence = "".join(rng.choice("ACGU") for _ in range(n))
            cells = n ** 3 / 6
            per_n2 = 1024 / n ** 2

            repeats = 5 if n <= 2000 else 2
            q_count, q_s, q_kb = run([sys.executable, "-c", QUORIN_RUN, str(repeats)], sequence)
            f_count, f_s, f_kb = run([exe, "fill"], sequence)
            row = (f"{n:>6} | {q_s:>9.4f} {cells / q_s:>8.2e} {q_kb * per_n2:>6.2f} |"
                   f" {f_s:>8.3f} {cells / f_s:>8.2e} {(f_kb - empty_kb) * per_n2:>6.2f} {f_s / q_s:>5.1f}x |")
            counts = {q_count, f_count}
            summary[n] = {"fill": f_s / q_s}
            if n <= args.memo_max:
                m_count, m_s, m_kb = run([exe, "memo"], sequence)
                counts.add(m_count)
                summary[n]["memo"] = m_s / q_s
                row += (f" {m_s:>8.3f} {cells / m_s:>8.2e} {(m_kb - empty_kb) * per_n2:>6.2f}"
                        f" {m_s / q_s:>6.0f}x")
            else:
                row += f" {'-':>8} {'-':>8} {'-':>6} {'-':>7}"
            print(row, flush=True)
            if len(counts) != 1:
                sys.exit(f"bench.py: the folds disagree at n = {n}: {sorted(counts)}")
        print("all folds agree")
        if 4000 in summary:
            print(f"n = 4000: quorin {summary[4000]['fill']:.1f}x faster than the 16-bit fill (target 5x)")
        if 1500 in summary and "memo" in summary[1500]:
            print(f"n = 1500: quorin {summary[1500]['memo']:.0f}x faster than the memoised recursion"
                  f" (target 200x)")


if __name__ == "__main__":
    main()
