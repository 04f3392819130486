"""One function over the rows of a table: which column or value each parameter takes (a Plan),
and a chunk of rows computed by the function (`compute`), as pure functions of a pyarrow table,
so that the same code runs here and in the tasks of a Dask cluster.

Per row: a missing cell (null, or one of the texts pandas reads as missing, or NaN) in any
argument gives a missing result; a cell that is not a value of its parameter's kind (a text
where a real is wanted, a fraction where a count is) is refused as the function would refuse
it; every other row is computed by the function itself under quorin_np's "nan" mode, and the
rows it refused are then told apart from results that are NaN by calling it on that row alone.
"""

from __future__ import annotations

from dataclasses import dataclass, field
from typing import Any

import numpy as np
import pyarrow as pa
import pyarrow.compute as pc

import quorin_np

from ._tables import NA_TEXTS

_NA = pa.array(NA_TEXTS, pa.string())


@dataclass(frozen=True)
class Argument:
    param: str
    kind: str                  # real, count or text
    column: str | None = None  # the column it reads, or None for a constant
    value: Any = None          # the constant


@dataclass(frozen=True)
class Plan:
    name: str                  # as the user gave it (for messages)
    function: str              # the attribute of quorin_np called
    texts: bool                # a function over collections of str (not a ufunc)
    arguments: tuple[Argument, ...]
    options: tuple[tuple[str, Any], ...]  # keyword options of the function
    outputs: tuple[str, ...]   # the result columns' names
    counts: bool               # the result is a count (int64, -1 when refused)
    errors: str                # raise, nan or warn

    @property
    def callable(self) -> Any:
        return getattr(quorin_np, self.function)


@dataclass
class Refused:
    """A row the function refused: its index in the chunk, its arguments as read, and why."""
    row: int
    values: dict[str, Any]
    message: str


@dataclass
class Outcome:
    table: pa.Table            # the chunk with the result columns after its own
    refused: int = 0           # how many rows were refused (raise: stops at the first)
    first: Refused | None = None
    rows: int = 0              # rows in the chunk
    notes: list[str] = field(default_factory=list)


# ---- the arguments of a chunk ------------------------------------------------------------

_TARGETS = {"real": pa.float64(), "count": pa.int64()}


def _whole(column: pa.ChunkedArray | pa.Array) -> pa.Array:
    if isinstance(column, pa.ChunkedArray):
        return column.combine_chunks() if column.num_chunks != 1 else column.chunk(0)
    return column


def _cast(values: pa.Array, target: pa.DataType, first_only: bool) -> tuple[pa.Array, np.ndarray]:
    """values cast to target, and which of them cannot be (left null): found by halving, so a
    chunk with k such cells costs about k·log(n) casts and one with none costs one."""
    bad = np.zeros(len(values), dtype=bool)
    try:
        return pc.cast(values, target), bad
    except (pa.ArrowInvalid, pa.ArrowNotImplementedError, pa.ArrowTypeError):
        pass

    def find(start: int, length: int) -> bool:  # True once first_only has found one
        part = values.slice(start, length)
        if part.null_count == length:
            return False
        try:
            pc.cast(part, target)
            return False
        except (pa.ArrowInvalid, pa.ArrowNotImplementedError, pa.ArrowTypeError):
            if length == 1:
                bad[start] = True
                return first_only
        half = length // 2
        return find(start, half) or find(start + half, length - half)

    find(0, len(values))
    if first_only and bad.any():  # nothing after the first refused cell is computed
        bad[np.argmax(bad):] = True
    return pc.cast(pc.if_else(pa.array(bad), None, values), target), bad


def _to_numpy(values: pa.Array, fill: Any) -> np.ndarray:
    return pc.fill_null(values, fill).to_numpy(zero_copy_only=False)


def _count_type(values: pa.Array) -> pa.DataType:
    """int64 for counts, or uint64 for an unsigned column (or text) with counts beyond int64."""
    if pa.types.is_unsigned_integer(values.type):
        return pa.uint64() if values.type == pa.uint64() else pa.int64()
    if pa.types.is_string(values.type) or pa.types.is_large_string(values.type):
        try:
            pc.cast(values, pa.int64())
        except (pa.ArrowInvalid, pa.ArrowNotImplementedError):
            try:
                pc.cast(values, pa.uint64())
                return pa.uint64()
            except (pa.ArrowInvalid, pa.ArrowNotImplementedError):
                pass
    return pa.int64()


def column_values(column: Any, kind: str, first_only: bool
                  ) -> tuple[np.ndarray, np.ndarray, np.ndarray]:
    """(values, missing, unreadable) of one argument column."""
    values = _whole(column)
    is_text = pa.types.is_string(values.type) or pa.types.is_large_string(values.type)
    missing = values.is_null()
    if is_text:
        missing = pc.or_(missing, pc.is_in(values, value_set=_NA))
        values = pc.if_else(missing, None, values)
    elif pa.types.is_floating(values.type):  # NaN is missing, for a count too
        missing = pc.or_(missing, pc.fill_null(pc.is_nan(values), False))
        values = pc.if_else(missing, None, values)
    if kind == "text":
        objects = values.to_numpy(zero_copy_only=False)
        return objects, _to_numpy(missing, False), np.zeros(len(values), dtype=bool)
    target = _TARGETS[kind] if kind == "real" else _count_type(values)
    if pa.types.is_floating(values.type) or pa.types.is_integer(values.type) or \
            pa.types.is_boolean(values.type) or pa.types.is_decimal(values.type):
        if kind == "real":  # any number is a real, as in a call (ints round to nearest)
            cast, bad = pc.cast(values, target, safe=False), np.zeros(len(values), dtype=bool)
        else:
            cast, bad = _cast(values, target, first_only)
    elif is_text:
        cast, bad = _cast(values, target, first_only)
    else:  # dates, lists, ...: no value of a real or a count
        cast, bad = pa.nulls(len(values), target), np.ones(len(values), dtype=bool)
    out = _to_numpy(cast, np.nan if kind == "real" else 0)
    missing = _to_numpy(missing, False)
    if kind == "real":  # NaN is missing, but a cell that could not be read is not
        missing = missing | (np.isnan(out) & ~bad)
    return out, missing, bad & ~missing


# ---- the chunk -------------------------------------------------------------------------

def _raw(table: pa.Table, plan: Plan, row: int) -> dict[str, Any]:
    values = {}
    for a in plan.arguments:
        values[a.param] = table.column(a.column)[row].as_py() if a.column else a.value
    return values


def _why_unreadable(a: Argument, value: Any) -> str:
    what = "a real number" if a.kind == "real" else "a count (an integer from 0)"
    where = f"column {a.column!r}" if a.column != a.param else "its column"
    return f"{a.param}: {value!r} in {where} is not {what}"


def _alone(plan: Plan, args: list[Any], row: int) -> str | None:
    """The function on one row, in "raise" mode: the message of its refusal, or None."""
    one = [a[row] if isinstance(a, np.ndarray) else a for a in args]
    try:
        with quorin_np.errstate(refused="raise"):
            plan.callable(*one, **dict(plan.options))
    except (ValueError, OverflowError, TypeError) as error:
        return str(error)
    return None


def compute(table: pa.Table, plan: Plan) -> Outcome:
    """The chunk with the function's results after its columns; in "raise" mode the outcome
    stops at the first refused row (the rows after it are not computed)."""
    n = table.num_rows
    first_only = plan.errors == "raise"
    args: list[Any] = []
    missing = np.zeros(n, dtype=bool)
    bad: list[np.ndarray | None] = []  # per argument, its cells that are no value of its kind
    for a in plan.arguments:
        if a.column is None:
            args.append(a.value)
            bad.append(None)
            continue
        values, absent, unreadable_here = column_values(table.column(a.column), a.kind, first_only)
        args.append(values)
        bad.append(unreadable_here)
        missing |= absent
    unreadable = np.zeros(n, dtype=bool)
    for b in bad:
        if b is not None:
            unreadable |= b
    unreadable &= ~missing  # a missing cell anywhere in the row wins: a missing result
    live = ~(missing | unreadable)

    results = _results(plan, args, live, n)
    refused_rows = _refused(plan, args, live, results)
    rows = sorted(set(refused_rows) | {int(i) for i in np.flatnonzero(unreadable)})
    outcome = Outcome(table, rows=n)
    if rows:
        first = rows[0]
        message = refused_rows.get(first)
        if message is None:  # the first argument, in parameter order, that cannot be read
            a, _ = next((a, b) for a, b in zip(plan.arguments, bad) if b is not None and b[first])
            message = _why_unreadable(a, table.column(a.column)[first].as_py())
        outcome.first = Refused(first, _raw(table, plan, first), message)
        outcome.refused = 1 if first_only else len(rows)
    outcome.table = _append(table, plan, results)
    return outcome


def _results(plan: Plan, args: list[Any], live: np.ndarray, n: int) -> list[np.ndarray]:
    fill = -1 if plan.counts else np.nan
    dtype = np.int64 if plan.counts else np.float64
    outs = [np.full(n, fill, dtype=dtype) for _ in plan.outputs]
    if not live.any():
        return outs
    options = dict(plan.options)
    with quorin_np.errstate(refused="nan"):
        if plan.texts:  # only the rows present go in; the others stay missing
            picked = [a[live] if isinstance(a, np.ndarray) else a for a in args]
            outs[0][live] = plan.callable(*picked, **options)
        else:
            plan.callable(*args, out=tuple(outs), where=live, **options)
    return outs


def _refused(plan: Plan, args: list[Any], live: np.ndarray, results: list[np.ndarray]
             ) -> dict[int, str]:
    """The computed rows the function refused, with its message: among the rows whose results
    read as refused (NaN, or -1 for a count), those it refuses when called on that row alone."""
    if plan.errors == "nan":  # refused results are missing either way; no message is needed
        return {}
    marked = np.zeros(len(live), dtype=bool)
    for r in results:
        marked |= (r == -1) if plan.counts else np.isnan(r)
    refused = {}
    for i in np.flatnonzero(marked & live):
        message = _alone(plan, args, int(i))
        if message is not None:
            refused[int(i)] = message
            if plan.errors == "raise":
                break
    return refused


def _append(table: pa.Table, plan: Plan, results: list[np.ndarray]) -> pa.Table:
    for name, values in zip(plan.outputs, results):
        if plan.counts:
            column = pa.array(values, mask=values < 0)
        else:
            column = pa.array(values, mask=np.isnan(values))
        table = table.append_column(name, column)
    return table
