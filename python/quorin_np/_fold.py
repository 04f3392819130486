"""`quorin fold`: every record of FASTA files folded by quorin_np's batch folds, in chunks, in
input order."""

from __future__ import annotations

import argparse
import contextvars
import io
import os
import sys
from collections.abc import Callable, Iterator, Sequence
from dataclasses import dataclass
from typing import IO, Any

from ._cli import (PROG, DataError, Destination, Formatter, Progress, UsageError, add_progress,
                   dedent, destination, progress_shown)

OUTPUTS = ("dot-bracket", "pairs", "count")
DEFAULT_MIN_LOOP = 3
# A chunk is folded by one batch call: enough records to keep every worker busy, few enough
# bases that its output and the progress bar follow soon.
CHUNK_RECORDS = 2048
CHUNK_BASES = 1 << 20

DESCRIPTION = dedent("""
    Folds every record of FASTA files (Nussinov base-pair maximisation, as quorin_np.nussinov)
    and writes, per record in input order, its dot-bracket structure, its pairs or its pair count.

    Input: FASTA records of one or many lines; the record's name is its whole header line
    without '>'; blank lines and CRLF line ends are accepted; lower case and T are read as the
    fold reads them. A FILE ending .gz is read through gzip; no FILE, or '-', reads standard
    input. Several files are read in order.

    Output (standard output, or -o OUT):
      dot-bracket  three lines per record: '>' and the name, the sequence on one line, then
                   the structure, a space and the pair count: ((..)). (2)
      count        TSV with the header name, length, pairs
      pairs        TSV with the header name, i, j: one row per base pair, positions 1-based,
                   sorted by i
    A tab in a name is written as a space in the TSV outputs.

    A record the fold refuses (a character other than A, C, G, U, T in either case) stops the
    run with exit status 1; standard error names the file, the line of the record's header,
    the record's name and the reason. With --skip-invalid every other record is written, each
    skipped one is reported the same way, and the exit status is 0.
    """)
EPILOG = dedent("""
    examples:
      quorin fold transcripts.fa                      dot-brackets, hairpins of 3 or more
      quorin fold a.fa b.fa.gz --output count -o counts.tsv
      zcat big.fa.gz | quorin fold --output pairs --workers 2 > pairs.tsv
      quorin fold --min-loop 0 t.fa                   the contract's model (quorin.nussinov)
    """)


def add_parser(commands: Any) -> None:
    parser = commands.add_parser("fold", help="fold every record of FASTA files",
                                 description=DESCRIPTION, epilog=EPILOG, formatter_class=Formatter)
    parser.add_argument("files", nargs="*", metavar="FILE",
                        help="FASTA files, .gz ones through gzip ('-' or none: standard input)")
    parser.add_argument("--min-loop", type=int, default=DEFAULT_MIN_LOOP, metavar="M",
                        help="no pair closes a hairpin of fewer than M unpaired bases (default "
                             f"{DEFAULT_MIN_LOOP}, the usual minimum of folding tools; 0 is the "
                             "contract's own model and gives the counts of quorin.nussinov)")
    parser.add_argument("--output", choices=OUTPUTS, default="dot-bracket",
                        help="what to write per record (default dot-bracket)")
    parser.add_argument("--workers", type=int, default=None, metavar="N",
                        help="fold on N threads (default: every core); the output order is the "
                             "input order whatever N is")
    parser.add_argument("-o", "--out", metavar="OUT",
                        help="write to OUT (beside it, renamed at the end) instead of standard "
                             "output")
    parser.add_argument("--skip-invalid", action="store_true",
                        help="skip the records the fold refuses, reporting each on standard "
                             "error, and exit 0")
    add_progress(parser)
    parser.set_defaults(run=run)


# ---- reading FASTA --------------------------------------------------------------------------

@dataclass
class Record:
    name: str
    sequence: str
    source: str  # the file, as given (or <stdin>)
    line: int    # the header's line in that file, 1-based

    def where(self) -> str:
        return f"{self.source}:{self.line}: record {self.name!r}"


class Fasta:
    """The records of several FASTA files in order; `position` is how many bytes of them have
    been read (compressed bytes for .gz), for the progress bar."""

    def __init__(self, paths: Sequence[str]) -> None:
        self.paths = list(paths) or ["-"]
        for path in self.paths:
            if path != "-" and not os.path.isfile(path):
                raise UsageError(f"cannot read {path}: "
                                 f"{'no such file' if not os.path.exists(path) else 'not a file'}")
        self.total: int | None = None
        if "-" not in self.paths:
            self.total = sum(os.path.getsize(p) for p in self.paths)
        self._done = 0
        self._raw: IO[bytes] | None = None

    @property
    def position(self) -> int:
        try:
            return self._done + (self._raw.tell() if self._raw is not None else 0)
        except (OSError, ValueError):
            return self._done

    def __iter__(self) -> Iterator[Record]:
        for path in self.paths:
            if path == "-":
                yield from self._records(sys.stdin.buffer, "<stdin>", gz=False)
                continue
            with open(path, "rb") as raw:
                self._raw = raw
                yield from self._records(raw, path, gz=path.endswith(".gz"))
                self._raw = None
                self._done += os.path.getsize(path)

    @staticmethod
    def _records(raw: IO[bytes], source: str, gz: bool) -> Iterator[Record]:
        if gz:
            import gzip

            stream: IO[bytes] = gzip.GzipFile(fileobj=raw, mode="rb")  # type: ignore[assignment]
        else:
            stream = raw
        text = io.TextIOWrapper(stream, encoding="utf-8", errors="replace", newline=None)
        name: str | None = None
        start = 0
        parts: list[str] = []
        try:
            for number, line in enumerate(text, 1):
                if line.startswith(">"):
                    if name is not None:
                        yield Record(name, "".join(parts), source, start)
                    name, start, parts = line[1:].rstrip(), number, []
                    continue
                line = line.strip()
                if not line:
                    continue
                if name is None:
                    raise DataError(f"{source}:{number}: sequence before the first '>' header "
                                    "line: not FASTA")
                parts.append(line)
        except (OSError, EOFError) as error:  # a damaged gzip stream, say
            raise DataError(f"{source}: cannot be read: {error}") from None
        finally:
            text.detach()
        if name is not None:
            yield Record(name, "".join(parts), source, start)


def chunks(records: Iterator[Record]) -> Iterator[list[Record]]:
    chunk: list[Record] = []
    bases = 0
    for record in records:
        chunk.append(record)
        bases += len(record.sequence)
        if len(chunk) >= CHUNK_RECORDS or bases >= CHUNK_BASES:
            yield chunk
            chunk, bases = [], 0
    if chunk:
        yield chunk


# ---- folding --------------------------------------------------------------------------------

def _takes(function: Any, empty: Any, **keyword: Any) -> bool:
    """Whether the function takes the keyword: a call on no sequences tells."""
    try:
        function(empty, **keyword)
    except TypeError:
        return False
    return True


class Folder:
    """quorin_np's folds with the options of the run. A keyword the installed quorin_np does
    not take yet is left out where its value is the contract's own (min_loop 0), and workers
    are then threads of this process over parts of each chunk (the folds release the lock)."""

    def __init__(self, output: str, min_loop: int, workers: int | None) -> None:
        import quorin_np

        if min_loop < 0:
            raise UsageError(f"--min-loop must be 0 or more, not {min_loop}")
        if workers is not None and workers < 1:
            raise UsageError(f"--workers must be 1 or more, not {workers}")
        self.np = quorin_np
        self.output = output
        wanted = {"dot-bracket": "nussinov_structure", "pairs": "nussinov_pairs",
                  "count": "nussinov"}[output]
        self.fold: Any = getattr(quorin_np, wanted, None)
        if self.fold is None:
            raise UsageError(f"--output {output} needs quorin_np.{wanted}, which this "
                             "installation of quorin lacks; --output count works")
        self.counts: Any = getattr(quorin_np, "nussinov")
        self.keywords: dict[str, int] = {}
        empty: Any = "" if output == "pairs" else []
        if _takes(self.fold, empty, min_loop=min_loop):
            self.keywords["min_loop"] = min_loop
        elif min_loop != 0:
            raise UsageError(f"--min-loop {min_loop} needs a quorin_np whose folds take "
                             "min_loop; this one folds with the contract's model only "
                             "(--min-loop 0)")
        self.threads = 1
        batch = output != "pairs"
        if batch and _takes(self.fold, empty, workers=1):
            self.batch_keywords = {**self.keywords, "workers": workers or -1}
        else:
            self.batch_keywords = dict(self.keywords)
            self.threads = workers or os.process_cpu_count() or 1
        self._pool: Any = None
        if self.threads > 1:
            from concurrent.futures import ThreadPoolExecutor

            self._pool = ThreadPoolExecutor(self.threads)

    def close(self) -> None:
        if self._pool is not None:
            self._pool.shutdown(wait=False, cancel_futures=True)

    def _map(self, function: Callable[[list[str]], Any], sequences: list[str]) -> list[Any]:
        """function over parts of the sequences, one part per thread, results in order."""
        if self._pool is None or len(sequences) < 2:
            return list(function(sequences))
        step = -(-len(sequences) // self.threads)
        parts = [sequences[k:k + step] for k in range(0, len(sequences), step)]
        # Each thread computes in a copy of this context: the refusal mode is a context variable.
        runs = [self._pool.submit(contextvars.copy_context().run, function, p) for p in parts]
        return [x for run in runs for x in run.result()]

    def refusals(self, sequences: list[str]) -> dict[int, str]:
        """Which sequences the fold refuses, with the contract's message for each."""
        with self.np.errstate(refused="nan"):
            counts = self._map(lambda part: self.counts(part, **self.batch_keywords).tolist(),
                               sequences)
        refused = {}
        for i, count in enumerate(counts):
            if count < 0:
                try:
                    self.counts([sequences[i]], **self.keywords)
                    refused[i] = "refused"
                except ValueError as error:
                    refused[i] = str(error)
        return refused

    def __call__(self, sequences: list[str], keep_going: bool) -> tuple[list[Any], dict[int, str]]:
        """The fold of each sequence (None where refused) and the refusals; unless keep_going,
        only the sequences before the first refused one are folded."""
        if self.output == "pairs":
            return self._pairs(sequences)
        if self.output == "count":
            with self.np.errstate(refused="nan"):
                counts = self._map(lambda part: self.fold(part, **self.batch_keywords).tolist(),
                                   sequences)
            if min(counts, default=0) >= 0:
                return counts, {}
            refused = self.refusals(sequences)
            return [None if i in refused else c for i, c in enumerate(counts)], refused
        structures = lambda part: self.fold(part, **self.batch_keywords).tolist()  # noqa: E731
        try:
            return self._map(structures, sequences), {}
        except ValueError:
            refused = self.refusals(sequences)
        if not keep_going:
            refused = {i: refused[i] for i in sorted(refused)[:1]}
            kept = sequences[:min(refused)]
        else:
            kept = [s for i, s in enumerate(sequences) if i not in refused]
        folded = iter(self._map(structures, kept) if kept else [])
        return [None if i in refused else next(folded, None) for i in range(len(sequences))], refused

    def _pairs(self, sequences: list[str]) -> tuple[list[Any], dict[int, str]]:
        def one(sequence: str) -> Any:
            try:
                return self.fold(sequence, **self.keywords)
            except ValueError as error:
                return error

        if self._pool is None:
            results = [one(s) for s in sequences]
        else:
            # A context is entered by one thread at a time: a copy per call.
            runs = [self._pool.submit(contextvars.copy_context().run, one, s) for s in sequences]
            results = [run.result() for run in runs]
        refused = {i: str(r) for i, r in enumerate(results) if isinstance(r, ValueError)}
        return [None if i in refused else r for i, r in enumerate(results)], refused


# ---- writing --------------------------------------------------------------------------------

def _tsv(name: str) -> str:
    return name.replace("\t", " ")


def header(output: str) -> str:
    return {"dot-bracket": "", "count": "name\tlength\tpairs\n", "pairs": "name\ti\tj\n"}[output]


def lines(output: str, record: Record, folded: Any) -> str:
    if output == "dot-bracket":
        return f">{record.name}\n{record.sequence}\n{folded} ({folded.count('(')})\n"
    if output == "count":
        return f"{_tsv(record.name)}\t{len(record.sequence)}\t{folded}\n"
    name = _tsv(record.name)
    return "".join(f"{name}\t{i + 1}\t{j + 1}\n" for i, j in folded.tolist())


# ---- the run --------------------------------------------------------------------------------

def run(args: argparse.Namespace) -> int:
    source = Fasta(args.files)
    folder = Folder(args.output, args.min_loop, args.workers)
    bar = Progress(progress_shown(args.progress), source.total,
                   "B" if source.total is not None else "records")
    done = 0
    try:
        with destination(args.out) as out:
            write(out, header(args.output))
            for chunk in chunks(iter(source)):
                folds, refused = folder([r.sequence for r in chunk], args.skip_invalid)
                text: list[str] = []
                for i, (record, folded) in enumerate(zip(chunk, folds)):
                    if i in refused:
                        if not args.skip_invalid:
                            write(out, "".join(text))
                            raise DataError(f"{record.where()}: {refused[i]}")
                        bar.write(f"{PROG} fold: skipped {record.where()}: {refused[i]}")
                        continue
                    text.append(lines(args.output, record, folded))
                write(out, "".join(text))
                done += len(chunk)
                bar.update_to(source.position if source.total is not None else done,
                              f"{done} records")
            out.commit()
    finally:
        bar.close()
        folder.close()
    return 0


def write(out: Destination, text: str) -> None:
    if text:
        out.stream.write(text.encode("utf-8"))
