"""Tables read and written in chunks with pyarrow: CSV and TSV (plain or gzip), Parquet.

A CSV or TSV written back out as CSV or TSV keeps every input cell's text as it was: its
columns are read as text (no type guessed, so nothing is reformatted and no later chunk can
disagree with the types of the first), and only the columns a function reads are converted. A
table written as Parquet is read with pyarrow's types (inferred from the first block of a CSV).
"""

from __future__ import annotations

import csv
import io
import os
import sys
from collections.abc import Iterator
from typing import IO, Any

from ._cli import DataError, UsageError

try:
    import pyarrow as pa
    import pyarrow.compute as pc
    import pyarrow.csv as pacsv
except ImportError:  # pragma: no cover - exercised without the extra
    raise UsageError("apply reads and writes tables with pyarrow, which is not installed: "
                     "pip install 'quorin[tables]'") from None

FORMATS = ("csv", "tsv", "parquet")
DELIMITERS = {"csv": ",", "tsv": "\t"}
# The cells pandas reads as missing by default (`pd.read_csv`'s na_values).
NA_TEXTS = ("", "#N/A", "#N/A N/A", "#NA", "-1.#IND", "-1.#QNAN", "-NaN", "-nan", "1.#IND",
            "1.#QNAN", "<NA>", "N/A", "NA", "NULL", "NaN", "None", "n/a", "nan", "null")
BLOCK = 1 << 22  # bytes pyarrow parses at once


def format_of(path: str | None, given: str | None = None) -> str | None:
    """csv, tsv or parquet by the name's extension (.gz looked through), or None."""
    if given:
        return given
    if path is None or path == "-":
        return None
    name = path.lower().removesuffix(".gz")
    for ext, fmt in ((".csv", "csv"), (".tsv", "tsv"), (".tab", "tsv"), (".txt", "tsv"),
                     (".parquet", "parquet"), (".pq", "parquet")):
        if name.endswith(ext):
            return fmt
    return None


# ---- reading ----------------------------------------------------------------------------

class _Replay(io.RawIOBase):
    """A stream whose first bytes were already read (to find the header): those, then the rest."""

    def __init__(self, head: bytes, rest: IO[bytes]) -> None:
        self._head, self._rest = memoryview(head), rest

    def readable(self) -> bool:
        return True

    def readinto(self, buffer: Any) -> int:
        if self._head:
            n = min(len(buffer), len(self._head))
            buffer[:n] = self._head[:n]
            self._head = self._head[n:]
            return n
        data = self._rest.read1(len(buffer)) if hasattr(self._rest, "read1") else \
            self._rest.read(len(buffer))
        buffer[:len(data)] = data
        return len(data)


class _Throttle(io.RawIOBase):
    """A stream that pyarrow's CSV reader may read only a few blocks ahead of the batches taken
    from it: left alone, the reader parses the whole file ahead of a slower consumer, and the
    memory a run needs grows with the file. A read waits (never returns short, which would mean
    the end) until the consumer has caught up, or at most a moment, so that it cannot wait
    forever on a reader that needs more than the blocks allowed to give its next batch."""

    AHEAD = 4  # blocks

    def __init__(self, stream: IO[bytes], block: int) -> None:
        import threading

        self._stream, self._block = stream, block
        self._read = 0
        self._taken = 0
        self._inside = 0  # reads in progress, on pyarrow's threads
        self._closed = False
        self._turn = threading.Condition()

    def readable(self) -> bool:
        return True

    def took_batch(self) -> None:
        with self._turn:
            self._taken += 1
            self._turn.notify_all()

    def readinto(self, buffer: Any) -> int:
        with self._turn:
            self._turn.wait_for(lambda: self._closed or
                                self._read < (self._taken + self.AHEAD) * self._block,
                                timeout=0.5)
            if self._closed:
                return 0
            self._inside += 1
        view, n = memoryview(buffer).cast("B"), 0
        try:
            while n < len(view):  # whole, but at the end
                got = self._stream.readinto(view[n:])
                if not got:
                    break
                n += got
        finally:
            with self._turn:
                self._inside -= 1
                self._turn.notify_all()
        self._read += n
        return n

    def close(self) -> None:
        """Ends the stream for the reader: a read waiting returns at once, as at the end, and
        this returns once no read is in progress. A reader thread that still called into the
        interpreter while it shuts down would end the process."""
        with self._turn:
            self._closed = True
            self._turn.notify_all()
            self._turn.wait_for(lambda: self._inside == 0, timeout=5.0)
        super().close()


class Source:
    """A table read in chunks of about `rows` rows; `names` are its columns, `position` and
    `total` its progress (bytes of the file, compressed ones for .gz; rows for Parquet)."""

    names: list[str]
    total: int | None
    unit: str

    def __init__(self, path: str | None, fmt: str, rows: int, typed: bool) -> None:
        self.path = None if path in (None, "-") else path
        self.label = self.path or "<stdin>"
        self.fmt, self.rows, self.typed = fmt, rows, typed
        if self.path is not None and not os.path.isfile(self.path):
            raise UsageError(f"cannot read {self.path}: "
                             f"{'no such file' if not os.path.exists(self.path) else 'not a file'}")
        self._raw: Any = None
        self._reader: Any = None
        if fmt == "parquet":
            self._open_parquet()
        else:
            self._open_text()

    # Parquet: row groups, read in batches.
    def _open_parquet(self) -> None:
        import pyarrow.parquet as pq

        if self.path is None:
            raise UsageError("Parquet cannot be read from standard input; give the file")
        try:
            self._parquet = pq.ParquetFile(self.path)
        except (pa.ArrowException, OSError) as error:
            raise DataError(f"{self.label}: not a Parquet file: {error}") from None
        self.schema = self._parquet.schema_arrow
        self.names = list(self.schema.names)
        self.total, self.unit, self._done = self._parquet.metadata.num_rows, "rows", 0

    # CSV and TSV: the header read first (with the standard library's csv module), then
    # pyarrow's streaming reader over the whole stream.
    def _open_text(self) -> None:
        self.delimiter = DELIMITERS[self.fmt]
        gz = self.path is not None and self.path.lower().endswith(".gz")
        stream: IO[bytes]
        if self.path is None:
            head, _ = self._peek(sys.stdin.buffer)
            stream = io.BufferedReader(_Replay(head, sys.stdin.buffer))
            self.total, self.unit = None, "rows"
        else:
            self._raw = open(self.path, "rb")
            stream = self._raw
            if gz:
                import gzip

                stream = gzip.GzipFile(fileobj=self._raw, mode="rb")  # type: ignore[assignment]
            head, _ = self._peek(stream)
            stream.seek(0)
            self.total, self.unit = os.path.getsize(self.path), "B"
        self._throttle = _Throttle(stream, BLOCK)
        self._stream = pa.PythonFile(self._throttle, mode="r")
        self.row_bytes = len(head) / max(1, head.count(b"\n"))  # about, from the first lines
        text = head.decode("utf-8-sig", errors="replace")
        try:
            self.names = next(csv.reader(io.StringIO(text), delimiter=self.delimiter))
        except StopIteration:
            raise DataError(f"{self.label}: empty, without a header line") from None
        except csv.Error as error:
            raise DataError(f"{self.label}: cannot read the header line: {error}") from None

    def _peek(self, stream: IO[bytes]) -> tuple[bytes, IO[bytes]]:
        """The first bytes of the stream, up to a line end after the header."""
        head = b""
        try:
            while True:
                data = stream.read1(1 << 16) if hasattr(stream, "read1") else stream.read(1 << 16)
                head += data
                if not data or (b"\n" in head and head.count(b'"') % 2 == 0) or len(head) > 1 << 24:
                    return head, stream
        except (OSError, EOFError) as error:
            raise DataError(f"{self.label}: cannot be read: {error}") from None

    @property
    def position(self) -> int:
        if self.fmt == "parquet":
            return self._done
        try:
            return self._raw.tell() if self._raw is not None else 0
        except (OSError, ValueError, pa.ArrowException):
            return 0

    def _batches(self) -> Iterator[pa.RecordBatch]:
        if self.fmt == "parquet":
            for batch in self._parquet.iter_batches(batch_size=self.rows):
                self._done += batch.num_rows
                yield batch
            return
        convert = pacsv.ConvertOptions(null_values=list(NA_TEXTS), strings_can_be_null=True)
        if not self.typed:  # every cell as text, kept as it was
            convert = pacsv.ConvertOptions(column_types={n: pa.string() for n in self.names},
                                           strings_can_be_null=False)
        try:
            reader = self._reader = pacsv.open_csv(
                self._stream, read_options=pacsv.ReadOptions(block_size=BLOCK),
                parse_options=pacsv.ParseOptions(delimiter=self.delimiter,
                                                 newlines_in_values=True),
                convert_options=convert)
            if reader.schema.names != self.names:
                raise DataError(f"{self.label}: its header reads differently as CSV: "
                                f"{reader.schema.names}")
            self.schema = reader.schema
            for batch in reader:
                self._throttle.took_batch()
                yield batch
        except pa.ArrowInvalid as error:
            raise DataError(f"{self.label}: {_arrow_message(error)}") from None

    def chunks(self) -> Iterator[pa.Table]:
        """Tables of `rows` rows (the last one shorter; none for an empty table)."""
        pending: list[pa.RecordBatch] = []
        count = 0
        for batch in self._batches():
            pending.append(batch)
            count += batch.num_rows
            while count >= self.rows:
                table = pa.Table.from_batches(pending)
                yield table.slice(0, self.rows)
                rest = table.slice(self.rows)
                pending, count = rest.to_batches(), rest.num_rows
        if count:
            yield pa.Table.from_batches(pending)

    def close(self) -> None:
        """Stops the reader and closes the file, on every path (a run ended by a refusal
        included), before the command returns."""
        if self.fmt == "parquet":
            return
        self._throttle.close()
        if self._reader is not None:
            self._reader.close()
        if self._raw is not None:
            self._raw.close()

    def empty(self) -> pa.Table:
        """The table with no rows (its columns as text unless typed)."""
        schema = getattr(self, "schema", None)
        if schema is None:
            schema = pa.schema([(n, pa.string()) for n in self.names])
        return schema.empty_table()


def _arrow_message(error: Exception) -> str:
    return str(error).strip().replace("\n", " ")


# ---- writing ----------------------------------------------------------------------------

def format_reals(values: Any) -> pa.Array:
    """float64 values as text that reads back as the same float64 (shortest round trip), with
    ".0" on integral values so that a reader still takes the column for reals; NaN as empty."""
    strings = pc.cast(pc.if_else(pc.is_nan(values), None, values), pa.string())
    integral = pc.match_substring_regex(strings, r"^-?[0-9]+$")
    return pc.if_else(integral, pc.binary_join_element_wise(strings, ".0", ""), strings)


class CsvWriter:
    """CSV or TSV in chunks: cells quoted only where one of the chunk needs it (pyarrow quotes
    every text cell when it quotes at all); the header by the standard library's csv module."""

    def __init__(self, stream: IO[bytes], fmt: str, names: list[str]) -> None:
        self.stream, self.delimiter = stream, DELIMITERS[fmt]
        line = io.StringIO()
        csv.writer(line, delimiter=self.delimiter, lineterminator="\n").writerow(names)
        self.stream.write(line.getvalue().encode("utf-8"))

    def write(self, table: pa.Table) -> None:
        columns = [format_reals(c) if pa.types.is_floating(c.type) else c for c in table.columns]
        table = pa.table(columns, names=table.column_names)
        for quoting in ("none", "needed"):
            buffer = pa.BufferOutputStream()
            try:
                pacsv.write_csv(table, buffer, pacsv.WriteOptions(
                    include_header=False, delimiter=self.delimiter, quoting_style=quoting))
            except pa.ArrowInvalid:
                continue
            self.stream.write(buffer.getvalue())
            return

    def close(self) -> None:
        pass


class ParquetWriter:
    def __init__(self, stream: IO[bytes], schema: pa.Schema) -> None:
        import pyarrow.parquet as pq

        self.schema = schema
        self._writer = pq.ParquetWriter(stream, schema)

    def write(self, table: pa.Table) -> None:
        if table.schema != self.schema:
            table = table.cast(self.schema)
        self._writer.write_table(table)

    def close(self) -> None:
        self._writer.close()


def gzip_stream(stream: IO[bytes]) -> Any:
    return pa.CompressedOutputStream(stream, "gzip")
