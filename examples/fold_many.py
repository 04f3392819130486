"""Fold every record of a FASTA file on every core and write one CSV row per record.

    python examples/fold_many.py [FASTA] [--output folds.csv]
                                 [--scheduler workers|threads|distributed] [--partitions N]

By default one call of quorin_np.nussinov folds every record with workers=-1: threads of the
call's own on every core, which is all a FASTA file that fits in memory needs. With `--scheduler
threads` or `distributed` the records go into a Dask bag instead; each partition is folded by one call of quorin_np.nussinov (and
one of quorin_np.gc_content), which reads the sequences and then folds them without holding the
interpreter lock, so Dask's threaded scheduler keeps every core busy. With `--scheduler
distributed` the same graph runs on a dask.distributed cluster of two local worker processes.
A record the contracts refuse keeps its row, with the contract's message instead of the counts.
"""

import argparse
import contextlib
import csv
import pathlib
import sys
from collections.abc import Iterator

import dask.bag as db

import quorin
import quorin_np

DEFAULT_FASTA = pathlib.Path(__file__).resolve().parent / "data" / "rna.fasta"
COLUMNS = ["record", "length", "gc", "pairs", "refused"]
Row = dict[str, str | int | float]


def read_fasta(path: pathlib.Path) -> Iterator[tuple[str, str]]:
    """(name, sequence) for each record: the header's first word, and the joined lines."""
    name: str | None = None
    lines: list[str] = []
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith(">"):
            if name is not None:
                yield name, "".join(lines)
            name, lines = line[1:].split(maxsplit=1)[0], []
        elif line and name is not None:
            lines.append(line)
    if name is not None:
        yield name, "".join(lines)


def fold_partition(records: list[tuple[str, str]], workers: int = 1) -> list[Row]:
    """One row per record of a partition, from one batch call per contract."""
    sequences = [sequence for _, sequence in records]
    # Refused records become -1 and NaN instead of stopping the batch. The mode is set here, in
    # the task: Dask's workers do not see the caller's context.
    with quorin_np.errstate(refused="nan"):
        pairs = quorin_np.nussinov(sequences, workers=workers)
        gc = quorin_np.gc_content(sequences)
    rows: list[Row] = []
    for (name, sequence), p, g in zip(records, pairs.tolist(), gc.tolist()):
        if p >= 0:
            rows.append({"record": name, "length": len(sequence), "gc": g, "pairs": p,
                         "refused": ""})
            continue
        try:  # the scalar function says why
            quorin.nussinov(sequence)
            reason = "refused"
        except ValueError as refusal:
            reason = str(refusal)
        rows.append({"record": name, "length": len(sequence), "gc": "" if g != g else g,  # NaN
                     "pairs": "", "refused": reason})
    return rows


def fold_all(records: list[tuple[str, str]], scheduler: str, partitions: int) -> list[Row]:
    if scheduler == "workers":
        return fold_partition(records, workers=-1)
    count = max(1, min(partitions, len(records)))
    bag = db.from_sequence(records, npartitions=count)  # type: ignore[no-untyped-call]
    folded = bag.map_partitions(fold_partition)
    if scheduler == "threads":
        return list(folded.compute(scheduler="threads"))
    from dask.distributed import Client, LocalCluster

    cluster = LocalCluster(  # type: ignore[no-untyped-call]
        n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None)
    with cluster, Client(cluster):  # type: ignore[no-untyped-call]
        return list(folded.compute())


def main() -> None:
    parser = argparse.ArgumentParser(description=(__doc__ or "").splitlines()[0])
    parser.add_argument("fasta", nargs="?", type=pathlib.Path, default=DEFAULT_FASTA)
    parser.add_argument("--output", type=pathlib.Path, help="CSV file (default: standard output)")
    parser.add_argument("--scheduler", choices=["workers", "threads", "distributed"],
                        default="workers")
    parser.add_argument("--partitions", type=int, default=4)
    options = parser.parse_args()

    rows = fold_all(list(read_fasta(options.fasta)), options.scheduler, options.partitions)
    with (options.output.open("w", newline="", encoding="utf-8") if options.output
          else contextlib.nullcontext(sys.stdout)) as out:
        writer = csv.DictWriter(out, fieldnames=COLUMNS)
        writer.writeheader()
        writer.writerows(rows)


if __name__ == "__main__":
    main()
