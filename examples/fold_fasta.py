"""Fold every sequence of a FASTA file in a pool of worker processes.

For each record it prints the length, the GC content and the largest number of non-crossing
base pairs (Nussinov maximisation). A record that the contracts refuse, such as one with an
ambiguity code, is reported with the contract's message instead of stopping the run.

    python examples/fold_fasta.py [FASTA] [--processes N]

Folding takes time that grows as the cube of the length, and each call holds the interpreter
for its whole duration, so a process pool (not a thread pool) is what spreads the work.
"""

import argparse
import multiprocessing
import pathlib
from collections.abc import Iterator
from dataclasses import dataclass

import quorin

DEFAULT_FASTA = pathlib.Path(__file__).resolve().parent / "data" / "rna.fasta"


@dataclass(frozen=True)
class Fold:
    name: str
    length: int
    gc: float | None = None
    pairs: int | None = None
    refused: str | None = None


def read_fasta(path: pathlib.Path) -> Iterator[tuple[str, str]]:
    """(name, sequence) for each record: the name is the header's first word, and the
    sequence lines up to the next header are joined."""
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


def fold(record: tuple[str, str]) -> Fold:
    name, sequence = record
    try:
        return Fold(name, len(sequence), quorin.gc_content(sequence), quorin.nussinov(sequence))
    except ValueError as refusal:
        return Fold(name, len(sequence), refused=str(refusal))


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("fasta", nargs="?", type=pathlib.Path, default=DEFAULT_FASTA)
    parser.add_argument("--processes", type=int, default=2)
    options = parser.parse_args()

    records = list(read_fasta(options.fasta))
    with multiprocessing.Pool(options.processes) as pool:
        # One record per task: lengths differ widely, so small tasks balance the workers.
        folds = pool.map(fold, records, chunksize=1)

    print(f"{'record':<20} {'length':>6} {'GC':>6} {'pairs':>5}  pairs per 100 nt")
    for f in folds:
        if f.gc is None or f.pairs is None:
            print(f"{f.name:<20} {f.length:>6}  refused: {f.refused}")
        else:
            print(f"{f.name:<20} {f.length:>6} {f.gc:>6.1%} {f.pairs:>5}  {100 * f.pairs / f.length:.1f}")

if __name__ == "__main__":
    main()
