"""The `quorin` command against what a user would otherwise write in Python, side by side in one
run, printed as ratios. A benchmark, not a test: the machine is shared and noisy, so each figure
is the best of several repeats and the ratios are given with their spread (worst / best pair).

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/cli.py [--quick] [--no-big]

Rows:
- `quorin fold` of 10^4 records of 300 nt, one worker, against quorin_np's batch fold over the same
  list in this process (nussinov_structure when it exists, else the counts with --min-loop 0);
  `--workers 2` against `--workers 1`. The command's time includes starting the interpreter and
  importing NumPy, printed on its own line.
- `quorin apply` of a 10^6-row CSV of five numeric columns (egfr_ckd_epi_2021 when it exists, else
  bmi) against the pandas pipeline in a process of its own (`pd.read_csv`, the ufunc on the
  columns, `to_csv`), whose output values it must equal; then the peak memory of `apply` on 10^7
  rows against 10^6 (--no-big skips the 10^7-row file, about 600 MB).
"""

import argparse
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import textwrap
import time

import numpy as np

import quorin_np

PANDAS = textwrap.dedent("""
    import sys
    import pandas as pd
    import quorin_np
    frame = pd.read_csv(sys.argv[1])
    frame[sys.argv[3]] = getattr(quorin_np, sys.argv[3])(*(frame[c] for c in sys.argv[4:]))
    frame.to_csv(sys.argv[2], index=False)
""")


def command(*args):
    return [sys.executable, "-m", "quorin_np", *map(str, args)]


def timed(argv):
    """Seconds and peak resident memory (MiB) of one run of a child process."""
    started = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - started
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        raise SystemExit(f"failed ({child.returncode}): {' '.join(argv)}")
    return seconds, usage.ru_maxrss / 1024


def best_of(repeat, job):
    return min(job() for _ in range(repeat))


def pairs(repeat, first, second):
    """first / second measured side by side `repeat` times: the best ratio and the spread."""
    ratios = []
    for _ in range(repeat):
        a, b = first(), second()
        ratios.append(a / b)
    return min(ratios), max(ratios), statistics.median(ratios)


def row(label, value, note=""):
    print(f"  {label:<64} {value:>10} {note}")


def fasta(path, count, length, rng):
    letters = np.array(list("ACGU"))
    with open(path, "w") as f:
        for k, s in enumerate(letters[rng.integers(0, 4, size=(count, length))]):
            f.write(f">r{k}\n{''.join(s)}\n")


def table(path, rows, rng):
    import pyarrow as pa
    import pyarrow.csv as pacsv

    with pacsv.CSVWriter(path, pa.schema([(n, pa.float64() if n in ("scr", "weight_kg", "height_m")
                                                else pa.int64()) for n in COLUMNS])) as writer:
        for start in range(0, rows, 1_000_000):
            n = min(1_000_000, rows - start)
            writer.write_table(pa.table({
                "scr": rng.uniform(0.4, 3.0, n), "age": rng.integers(18, 90, n),
                "female": rng.integers(0, 2, n), "weight_kg": rng.uniform(40, 120, n),
                "height_m": rng.uniform(1.4, 2.0, n)}))


COLUMNS = ("scr", "age", "female", "weight_kg", "height_m")


def fold_rows(folder, repeat, quick):
    rng = np.random.default_rng(1)
    count = 2_000 if quick else 10_000
    path = folder / "folds.fa"
    fasta(path, count, 300, rng)
    sequences = [line.strip() for line in open(path) if not line.startswith(">")]
    structure = getattr(quorin_np, "nussinov_structure", None)
    if structure is not None:
        options, what = [], "dot-brackets (min_loop 3)"
        batch = lambda w: structure(sequences, min_loop=3, workers=w)  # noqa: E731
    else:  # until the structures exist: the counts, as quorin_np folds them today
        options, what = ["--output", "count", "--min-loop", "0"], "counts (min_loop 0)"
        batch = lambda w: quorin_np.nussinov(sequences)  # noqa: E731

    def in_python():
        started = time.perf_counter()
        batch(1)
        return time.perf_counter() - started

    def cli(workers):
        return lambda: timed(command("fold", path, "--workers", workers, *options))[0]

    startup = best_of(repeat, lambda: timed([sys.executable, "-c", "import quorin_np"])[0])
    print(f"\nquorin fold of {count:,} records of 300 nt, {what}")
    python = best_of(repeat, in_python)
    one = best_of(repeat, cli(1))
    row("quorin_np batch fold over the list, in this process, 1 worker", f"{python:.3f} s")
    row("quorin fold FILE --workers 1", f"{one:.3f} s", f"{one / python:.2f}x the batch call")
    row("  of which starting Python and importing quorin_np", f"{startup:.3f} s")
    low, high, median = pairs(repeat, cli(1), cli(2))
    row("--workers 1 / --workers 2 (speed-up)", f"{median:.2f}x", f"spread {low:.2f}-{high:.2f}x")


def apply_rows(folder, repeat, quick, big):
    rng = np.random.default_rng(2)
    rows = 100_000 if quick else 1_000_000
    small = folder / "table.csv"
    table(small, rows, rng)
    if hasattr(quorin_np, "egfr_ckd_epi_2021"):
        function, columns = "egfr_ckd_epi_2021", ["scr", "age", "female"]
    else:
        function, columns = "bmi", ["weight_kg", "height_m"]
    ours, theirs = folder / "ours.csv", folder / "pandas.csv"
    pipeline = [sys.executable, "-c", PANDAS, small, theirs, function, *columns]
    apply = command("apply", function, small, "-o", ours)
    print(f"\nquorin apply {function} over a {rows:,}-row CSV of five numeric columns")
    low, high, median = pairs(repeat, lambda: timed(apply)[0], lambda: timed(pipeline)[0])
    import pandas as pd

    a, b = pd.read_csv(ours), pd.read_csv(theirs)
    same = a.equals(b) and (a.dtypes == b.dtypes).all()
    row("quorin apply / pandas (read_csv, the ufunc, to_csv)", f"{median:.2f}x",
        f"spread {low:.2f}-{high:.2f}x; same output values: {same}")
    if not big:
        return
    large = folder / "large.csv"
    table(large, rows * 10, rng)
    peak_small = best_of(max(1, repeat // 2), lambda: timed(apply)[1])
    peak_large = best_of(max(1, repeat // 2), lambda: timed(
        command("apply", function, large, "-o", folder / "large_out.csv"))[1])
    row(f"peak memory, {rows:,} rows", f"{peak_small:.0f} MiB")
    row(f"peak memory, {rows * 10:,} rows", f"{peak_large:.0f} MiB",
        f"{peak_large / peak_small:.2f}x the smaller file's")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="smaller inputs, fewer repeats")
    parser.add_argument("--no-big", action="store_true", help="skip the 10^7-row peak memory row")
    args = parser.parse_args()
    repeat = 2 if args.quick else 5
    with tempfile.TemporaryDirectory(prefix="quorin-cli-bench-") as folder:
        folder = pathlib.Path(folder)
        fold_rows(folder, repeat, args.quick)
        apply_rows(folder, repeat, args.quick, not args.no_big)


if __name__ == "__main__":
    main()
