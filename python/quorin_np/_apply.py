"""`quorin apply FUNCTION [FILE]`: the function over every row of a table, read, computed and
written in chunks; on this machine, or on a Dask cluster with --scheduler."""

from __future__ import annotations

import argparse
import re
from collections.abc import Sequence
from typing import TYPE_CHECKING, Any

from ._cli import (PROG, DataError, Formatter, Progress, UsageError, add_progress, dedent,
                   destination, progress_shown)

if TYPE_CHECKING:
    import quorin_np

    from ._rows import Outcome, Plan, Refused

CHUNK_ROWS = 65536
ERRORS = ("raise", "nan", "warn")

DESCRIPTION = dedent("""
    Adds the column FUNCTION to every row of a table: every input column, unchanged and in its
    order, then the function's result, last (a function with several results adds a column per
    result: FUNCTION_1, FUNCTION_2, ...). `quorin list` shows the functions it can use: the
    elementwise ones over reals and counts, and those over one text per row (gc_content of a
    sequence column, say).

    Input: FILE as CSV, TSV or Parquet by its extension (or --format), CSV and TSV also ending
    .gz; no FILE, or '-', reads CSV from standard input. Output: -o OUT, its format by its
    extension (.csv, .tsv, .parquet, .gz for gzip; otherwise the input's), or standard output as
    CSV. A CSV or TSV written as CSV or TSV keeps every input cell's text as it was; reals are
    written so that they read back as the same float64.

    Arguments: each parameter takes the column of its name, or the column --map PARAM=COLUMN
    names, or the constant --set PARAM=VALUE gives (--set also gives a function's keyword
    options). A parameter without a column or value is a usage error. A function's optional
    parameters keep their defaults unless a column or --set gives them.

    Rows: a missing cell in an argument (an empty field, or NA, NaN, null, ... as pandas reads
    them) gives a missing (empty) result, never an error. A row the function refuses (a value
    outside its checks, a text that is not a number) follows --errors: 'raise' (default) stops
    with exit status 1 and a message giving the data row's number (1-based, the header not
    counted), its arguments and the reason; 'nan' leaves its result empty; 'warn' does the same
    and says on standard error how many rows were refused and which was the first.

    The file is read, computed and written in chunks of --chunk-rows rows, so the memory
    needed does not grow with the file. --scheduler ADDRESS runs the same job on a running Dask
    cluster (dask.dataframe reads FILE there, which the workers must be able to open), with the
    same output.
    """)
EPILOG = dedent("""
    examples:
      quorin apply bmi patients.csv --map weight_kg=mass -o with_bmi.csv
      quorin apply gc_content transcripts.tsv --as gc
      quorin apply michaelis_menten rates.parquet --set vmax=12.5 --set km=0.8 -o out.parquet
      zcat cohort.csv.gz | quorin apply bmi --errors warn > with_bmi.csv
      quorin apply bmi big.csv --scheduler tcp://10.0.0.5:8786 -o with_bmi.csv
    """)


def add_parser(commands: Any) -> None:
    parser = commands.add_parser("apply", help="add a computed column to every row of a table",
                                 description=DESCRIPTION, epilog=EPILOG, formatter_class=Formatter)
    parser.add_argument("function", metavar="FUNCTION",
                        help="a function of quorin_np (see `quorin list`)")
    parser.add_argument("file", nargs="?", metavar="FILE",
                        help="CSV, TSV or Parquet ('-' or none: CSV on standard input)")
    parser.add_argument("-o", "--out", metavar="OUT",
                        help="write to OUT (beside it, renamed at the end) instead of standard "
                             "output")
    parser.add_argument("--map", action="append", default=[], metavar="PARAM=COLUMN",
                        help="take the parameter PARAM from the column COLUMN (repeatable)")
    parser.add_argument("--set", action="append", default=[], metavar="PARAM=VALUE",
                        help="give the parameter (or keyword option) PARAM the value VALUE for "
                             "every row (repeatable)")
    parser.add_argument("--as", dest="as_", metavar="NAME",
                        help="name the result column NAME (several results: NAME_1, ... or "
                             "NAME1,NAME2,...)")
    parser.add_argument("--errors", choices=ERRORS, default="raise",
                        help="what a refused row does: stop the run (raise, default), leave its "
                             "result empty (nan), or that and a summary on standard error (warn)")
    parser.add_argument("--format", choices=("csv", "tsv", "parquet"),
                        help="the input's format, when its name does not say it")
    parser.add_argument("--chunk-rows", type=int, default=CHUNK_ROWS, metavar="N",
                        help=f"rows read, computed and written at once (default {CHUNK_ROWS})")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="run on the Dask cluster whose scheduler is at ADDRESS "
                             "(tcp://host:port)")
    add_progress(parser)
    parser.set_defaults(run=run)


# ---- the plan: which column or value each parameter takes ---------------------------------

def _pairs(given: Sequence[str], option: str) -> dict[str, str]:
    pairs: dict[str, str] = {}
    for item in given:
        key, sep, value = item.partition("=")
        key = key.strip()
        if not sep or not key:
            raise UsageError(f"{option} {item!r}: write it as {option} NAME=VALUE")
        if key in pairs:
            raise UsageError(f"{option} gives {key} twice")
        pairs[key] = value
    return pairs


def _listing(names: Sequence[str], most: int = 24) -> str:
    shown = ", ".join(names[:most])
    return shown + (f", ... ({len(names) - most} more)" if len(names) > most else "")


def _constant(info: quorin_np.FunctionInfo, param: str, kind: str, text: str) -> Any:
    try:
        if kind == "real":
            return float(text)
        if kind == "count":
            return int(text)
    except ValueError:
        what = "a real number" if kind == "real" else "a count (an integer)"
        raise UsageError(f"--set {param}={text}: {info.name}'s {param} takes {what}") from None
    return text


def _option(text: str) -> Any:
    """A keyword option's value: an int, a real, true/false, or the text itself."""
    if re.fullmatch(r"[+-]?[0-9]+", text.strip()):
        return int(text)
    try:
        return float(text)
    except ValueError:
        pass
    return {"true": True, "false": False}.get(text.lower(), text)


# NumPy's own keywords of a ufunc call: not the function's options.
_UFUNC_KEYWORDS = {"out", "where", "casting", "order", "dtype", "subok", "signature", "axes",
                   "axis", "keepdims"}


def make_plan(info: quorin_np.FunctionInfo, args: argparse.Namespace, columns: list[str],
              label: str) -> Plan:
    import numpy as np

    import quorin_np

    from ._rows import Argument, Plan

    maps, sets = _pairs(args.map, "--map"), _pairs(args.set, "--set")
    params = list(info.params)
    for param, column in maps.items():
        if param not in params:
            raise UsageError(f"--map {param}={column}: {info.name} has no parameter {param} "
                             f"(its parameters: {', '.join(params)})")
        if column not in columns:
            raise UsageError(f"--map {param}={column}: {label} has no column {column!r} "
                             f"(its columns: {_listing(columns)})")
        if param in sets:
            raise UsageError(f"{param} is given both by --map and by --set")
    bound: list[Argument] = []
    lacking: list[str] = []
    for i, (param, kind) in enumerate(zip(params, info.kinds)):
        if param in sets:
            bound.append(Argument(param, kind, value=_constant(info, param, kind, sets[param])))
        elif param in maps or param in columns:
            bound.append(Argument(param, kind, column=maps.get(param, param)))
        elif i < info.required:
            lacking.append(param)
        else:  # an optional parameter keeps its default
            bound.append(Argument(param, kind, value=info.defaults[i - info.required]))
    if lacking:
        p = lacking[0]
        raise UsageError(
            f"{info.name} needs {' and '.join(lacking)}, and {label} has no column "
            f"{'of that name' if len(lacking) == 1 else 'of those names'} (its columns: "
            f"{_listing(columns)}); take one with --map {p}=COLUMN or give it with --set {p}=VALUE")
    full = any(a.column is not None or a.param in sets for a in bound[info.required:])
    if not full:
        bound = bound[:info.required]

    options = {k: _option(v) for k, v in sets.items() if k not in params}
    function_name = info.full if full and info.full else info.name
    function = getattr(quorin_np, function_name)
    for key in options:
        if key in _UFUNC_KEYWORDS or key.startswith("_"):
            raise UsageError(f"--set {key}: {info.name} has no parameter or option {key} "
                             f"(its parameters: {', '.join(params)})")
    if options:  # a call on no rows tells whether the function takes them
        empty = [np.empty(0, dtype=object if a.kind == "text" else
                          np.int64 if a.kind == "count" else np.float64) for a in bound]
        try:
            function(*empty, **options)
        except (TypeError, ValueError) as error:
            raise UsageError(f"--set {', '.join(options)}: {info.name} does not take "
                             f"{'it' if len(options) == 1 else 'them'}: {error}") from None

    outputs = _outputs(info, args.as_)
    clash = [name for name in outputs if name in columns]
    if clash:
        raise UsageError(f"{label} already has a column {clash[0]!r}; name the result with "
                         "--as NAME")
    return Plan(name=info.name, function=function_name, texts=info.kind == "texts",
                arguments=tuple(bound), options=tuple(options.items()), outputs=outputs,
                counts=info.result == "count", errors=args.errors)


def _outputs(info: quorin_np.FunctionInfo, given: str | None) -> tuple[str, ...]:
    base = info.name
    if given:
        names = [n.strip() for n in given.split(",")]
        if len(names) == info.outputs and all(names):
            return tuple(names)
        if len(names) != 1 or not names[0]:
            raise UsageError(f"--as {given}: {info.name} gives {info.outputs} result(s); give "
                             f"one name or {info.outputs} separated by commas")
        base = names[0]
    if info.outputs == 1:
        return (base,)
    return tuple(f"{base}_{k}" for k in range(1, info.outputs + 1))


# ---- messages --------------------------------------------------------------------------------

def _shown(value: Any) -> str:
    if isinstance(value, str):
        if len(value) > 40:
            return repr(value[:37] + "...")
        return value if value and re.fullmatch(r"[\w.+-]+", value) else repr(value)
    return repr(value)


def describe(refused: Refused, offset: int) -> str:
    values = ", ".join(f"{k}={_shown(v)}" for k, v in refused.values.items())
    return f"row {offset + refused.row + 1} ({values}): {refused.message}"


# ---- the run ---------------------------------------------------------------------------------

def _input_format(path: str | None, given: str | None) -> str:
    from ._tables import format_of

    fmt = format_of(path, given)
    if fmt is not None:
        return fmt
    if path not in (None, "-"):
        try:
            with open(path, "rb") as f:
                if f.read(4) == b"PAR1":
                    return "parquet"
        except OSError:
            pass  # the reader says what is wrong with the file
    return "csv"


def run(args: argparse.Namespace) -> int:
    from ._functions import per_row

    info = per_row(args.function)
    if args.chunk_rows < 1:
        raise UsageError(f"--chunk-rows must be 1 or more, not {args.chunk_rows}")
    from . import _tables

    fmt_in = _input_format(args.file, args.format)
    out = None if args.out in (None, "-") else args.out
    fmt_out = (_tables.format_of(out) or fmt_in) if out else "csv"
    typed = fmt_out == "parquet" or fmt_in == "parquet"
    shown = progress_shown(args.progress)
    if args.scheduler:
        from ._cluster import Cluster

        cluster = Cluster(args.scheduler, args.file, fmt_in, typed, args.chunk_rows)
        plan = make_plan(info, args, cluster.names, cluster.label)
        return _write(cluster.label, cluster.chunks(plan), cluster.empty(), plan, out, fmt_out,
                      Progress(shown, cluster.total, "partitions"), cluster.position, cluster)
    source = _tables.Source(args.file, fmt_in, args.chunk_rows, typed)
    plan = make_plan(info, args, source.names, source.label)
    from ._rows import compute

    outcomes = (compute(chunk, plan) for chunk in source.chunks())
    return _write(source.label, outcomes, source.empty, plan, out, fmt_out,
                  Progress(shown, source.total, source.unit), lambda: source.position, source)


def _write(label: str, outcomes: Any, empty: Any, plan: Plan, out: str | None, fmt_out: str,
           bar: Progress, position: Any, closing: Any) -> int:
    """Writes every outcome in order to OUT (or standard output) and reports the refusals."""
    from . import _tables

    refused = 0
    first: tuple[int, Refused] | None = None
    rows = 0
    try:
        with destination(out) as dest:
            gz = out is not None and out.lower().endswith(".gz")
            stream = _tables.gzip_stream(dest.stream) if gz else dest.stream
            writer: Any = None

            def writer_for(table: Any) -> Any:
                if fmt_out == "parquet":
                    return _tables.ParquetWriter(stream, table.schema)
                return _tables.CsvWriter(stream, fmt_out, table.column_names)

            for outcome in outcomes:
                if writer is None:
                    writer = writer_for(outcome.table)
                if outcome.first is not None:
                    if plan.errors == "raise":  # the rows before it, then the refusal
                        writer.write(outcome.table.slice(0, outcome.first.row))
                        raise DataError(f"{label}: {describe(outcome.first, rows)}")
                    if first is None:
                        first = (rows, outcome.first)
                    refused += outcome.refused
                writer.write(outcome.table)
                rows += outcome.rows
                bar.update_to(position(), f"{rows} rows")
            if writer is None:  # no rows: the header, or the schema, alone
                from ._rows import compute

                writer = writer_for(compute(empty(), plan).table)
            writer.close()
            if gz:
                stream.close()
            dest.commit()
    finally:
        bar.close()
        if closing is not None:
            closing.close()
    if plan.errors == "warn" and first is not None:
        offset, row = first
        import sys

        sys.stderr.write(f"{PROG} apply: {label}: {refused} row(s) refused, their results left "
                         f"empty; the first, {describe(row, offset)}\n")
    return 0
