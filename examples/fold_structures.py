"""Fold every sequence of a FASTA file and write its structure in dot-bracket notation.

For each record it writes the header, the sequence, and one optimal structure of the base-pair
maximisation (Nussinov) with its number of pairs, the layout RNA folding programs print:

    >hairpin_gcloop synthetic stem-loop, GC stem
    GGGCGCAAGCCCGCCUUCGGGCGGCUUGCGCCC
    (((((((((.(((.((...)))))))))))))) (14)

    python examples/fold_structures.py [FASTA] [--min-loop N] [--output FILE]

No pair may close a hairpin loop of fewer than `--min-loop` unpaired bases: 3 by default, the
usual choice (0 is the model of `quorin.nussinov`, in which neighbours may pair). Every record is
folded in one call, which does its work without holding the interpreter. A record the fold
refuses (an ambiguity code such as N) is written with the reason in place of a structure.
"""

import argparse
import pathlib
import sys
from collections.abc import Iterator
from typing import TextIO

import quorin_np

DEFAULT_FASTA = pathlib.Path(__file__).resolve().parent / "data" / "rna.fasta"


def read_fasta(path: pathlib.Path) -> Iterator[tuple[str, str]]:
    """(header, sequence) for each record: the header without its '>', the sequence lines up to
    the next header joined."""
    header: str | None = None
    lines: list[str] = []
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith(">"):
            if header is not None:
                yield header, "".join(lines)
            header, lines = line[1:].strip(), []
        elif line and header is not None:
            lines.append(line)
    if header is not None:
        yield header, "".join(lines)


def structures(sequences: list[str], min_loop: int) -> list[str | ValueError]:
    """The dot-bracket text of each sequence, or the refusal of the fold."""
    try:
        return [str(s) for s in quorin_np.nussinov_structure(sequences, min_loop=min_loop)]
    except ValueError:
        pass
    # Some record was refused: fold them one at a time to keep the others.
    folded: list[str | ValueError] = []
    for sequence in sequences:
        try:
            folded.append(quorin_np.nussinov_structure(sequence, min_loop=min_loop))
        except ValueError as refusal:
            folded.append(refusal)
    return folded


def write(records: list[tuple[str, str]], folded: list[str | ValueError], out: TextIO) -> None:
    for (header, sequence), structure in zip(records, folded):
        out.write(f">{header}\n{sequence}\n")
        if isinstance(structure, ValueError):
            out.write(f"refused: {structure.args[0]}\n")
        else:
            out.write(f"{structure} ({structure.count('(')})\n")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("fasta", nargs="?", type=pathlib.Path, default=DEFAULT_FASTA)
    parser.add_argument("--min-loop", type=int, default=3,
                        help="fewest unpaired bases a hairpin loop may close (default 3)")
    parser.add_argument("--output", type=pathlib.Path, help="write here instead of to stdout")
    options = parser.parse_args()
    if options.min_loop < 0:
        parser.error("--min-loop must be 0 or more")

    records = list(read_fasta(options.fasta))
    folded = structures([sequence for _, sequence in records], options.min_loop)
    if options.output is None:
        write(records, folded, sys.stdout)
    else:
        with options.output.open("w", encoding="utf-8") as out:
            write(records, folded, out)


if __name__ == "__main__":
    main()
