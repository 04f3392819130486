"""quorin_np's ufuncs over Dask collections and pandas' nullable arrays.

Dask hands a ufunc called on one of its collections to the collection's ``__array_ufunc__``,
which does two things that do not suit a contract:

- it learns the result dtype by calling the ufunc on one-element arrays of zeros (and
  dask.dataframe on rows of ones), inputs that most contracts refuse, so that under the default
  refusal mode the call fails before any of the caller's data is seen;
- it puts the bare ufunc into every task, and tasks run on Dask's threads or, under
  dask.distributed, in other processes, where the caller's refusal mode is not in force.

Dask has no per-ufunc hook for either (only a lookup by name, and only for ufuncs of several
outputs, which dask.dataframe refuses outright). So this module wraps the ``__array_ufunc__`` of
Dask's Array, Series and DataFrame: for quorin_np's own ufuncs it builds the graph itself, and
every other call goes to Dask's method unchanged. It builds it as Dask would, with two
differences: the result type comes from one call on inputs of the right dtypes made under the
"nan" mode, and every task calls a :class:`Bound` ufunc, which carries the refusal mode in force
when the lazy result was built and sets it around each chunk. The mode is part of the graph (and
of its keys), so threads and worker processes alike apply it, and two results built under
different modes never share a key.

pandas' nullable arrays (``Float64``, ``Int64``, ...) hand the ufunc the values stored under
their mask, which are arbitrary (often the value that was masked as invalid), so a contract
would refuse, or warn about, an element that is missing. The same kind of wrapper on their
``__array_ufunc__`` computes only the elements present in every input.

Two kinds of argument reach quorin_np's own call, which hands them to :func:`exact_call` here
before NumPy sees them: NumPy's masked arrays, which NumPy would compute under the mask as well,
and counts that NumPy cannot read as the scalar function does (ints beyond int64, lists, arrays
of objects).

Nothing here imports Dask or pandas: the wrappers are installed on the classes when their
modules are first imported, or at once if they already are.
"""

from __future__ import annotations

import functools
import operator
import sys
import warnings
from numbers import Number
from types import ModuleType
from typing import Any, Callable

import numpy as np

from . import _core

_refused = _core.refused
UFUNCS = frozenset(v for v in vars(_core).values() if isinstance(v, np.ufunc))


class Bound:
    """A quorin_np ufunc with its refusal mode (and keyword arguments) fixed: what a Dask task
    calls. It pickles by reference to the ufunc, so worker processes rebuild it as it was."""

    def __init__(self, ufunc: np.ufunc, mode: str, kwargs: dict[str, Any] | None = None,
                 columns: bool = False) -> None:
        self.ufunc, self.mode, self.kwargs, self.columns = ufunc, mode, kwargs or {}, columns
        self.__name__ = ufunc.__name__

    def __call__(self, *args: Any, **kwargs: Any) -> Any:
        token = _refused.set(self.mode)
        try:
            result = self.ufunc(*args, **self.kwargs, **kwargs)
        except (ValueError, OverflowError) as error:
            if getattr(error, "__notes__", None):  # a refused element, not a bad call
                shape = loop_shape(self.ufunc, args, _outputs(self.ufunc, kwargs.get("out")),
                                   kwargs.get("where", True))
                error.add_note(f"quorin_np.{self.ufunc.__name__}: in a Dask chunk of shape "
                               f"{shape}; the index counts within that chunk")
            raise
        finally:
            _refused.reset(token)
        if self.columns:  # the outputs of a pandas Series, as the columns 0, 1, ... of a frame
            from pandas import concat

            return concat(result, axis=1, keys=range(len(result)))
        return result

    def __reduce__(self) -> tuple[Any, ...]:
        return (Bound, (self.ufunc, self.mode, self.kwargs, self.columns))

    def __dask_tokenize__(self) -> object:
        from dask.tokenize import normalize_token

        return ("quorin_np", self.__name__, self.mode, normalize_token(self.kwargs), self.columns)

    def __repr__(self) -> str:
        return f"<quorin_np.{self.__name__} under refused={self.mode!r}>"


def _mode() -> str:
    return _refused.get("raise")


def core_ndims(ufunc: np.ufunc, side: int = 0) -> list[int]:
    """The number of core dimensions of each input (side 0) or output (side 1): all 0 but for
    a generalised ufunc."""
    if ufunc.signature is None:
        return [0] * (ufunc.nin, ufunc.nout)[side]
    groups = ufunc.signature.split("->")[side]
    return [0 if group == "" else group.count(",") + 1
            for group in groups[1:-1].split("),(")]


def loop_shape(ufunc: np.ufunc, inputs: Any, outs: Any = (), where: Any = True) -> tuple[int, ...]:
    """The shape a call of `ufunc` loops over: its broadcast result, without core dimensions."""
    shapes = [np.shape(x)[:np.ndim(x) - core] for x, core in zip(inputs, core_ndims(ufunc))]
    shapes += [np.shape(o)[:np.ndim(o) - core] for o, core in zip(outs, core_ndims(ufunc, 1))
               if o is not None]
    if where is not True:
        shapes.append(np.shape(where))
    return np.broadcast_shapes(*shapes)


def _probe(ufunc: np.ufunc, samples: list[Any], kwargs: dict[str, Any]) -> Any:
    """The ufunc's result on stand-in inputs, computed under the "nan" mode: the stand-ins are
    not the caller's data, so what a contract makes of their values does not matter, only the
    result's type (a TypeError for inputs the ufunc takes no loop for is raised here, as NumPy
    would at once)."""
    token = _refused.set("nan")
    try:
        return ufunc(*samples, **kwargs)
    finally:
        _refused.reset(token)


# ---- dask.array ---------------------------------------------------------------------------

def _array_call(core: ModuleType, ufunc: np.ufunc, inputs: tuple[Any, ...],
                kwargs: dict[str, Any]) -> Any:
    """``ufunc(*inputs, **kwargs)`` over Dask arrays, NumPy arrays and scalars."""
    if not all(isinstance(x, (core.Array, np.ndarray, np.generic, Number)) for x in inputs):
        return NotImplemented
    if ufunc.signature is not None:
        # A generalised ufunc (a function over lists): each block keeps its core dimensions
        # whole, and every output is float64.
        if kwargs.get("out") is not None or kwargs.get("where", True) is not True:
            return NotImplemented
        from dask.array.gufunc import apply_gufunc

        dtypes = np.float64 if ufunc.nout == 1 else (np.float64,) * ufunc.nout
        return apply_gufunc(Bound(ufunc, _mode(), kwargs), ufunc.signature, *inputs,
                            output_dtypes=dtypes)
    out, where = kwargs.pop("out", None), kwargs.pop("where", True)
    samples = [np.zeros((1,) * x.ndim, x.dtype) if isinstance(x, (core.Array, np.ndarray)) else x
               for x in inputs]
    result = _probe(ufunc, samples, kwargs)
    op = Bound(ufunc, _mode(), kwargs)
    if ufunc.nout == 1:
        return core.elemwise(op, *inputs, out=out, where=where, dtype=result.dtype)
    # Each block of `whole` is the tuple of the ufunc's outputs; every output picks its part.
    whole = core.elemwise(op, *inputs, out=out, where=where, dtype=object)
    return tuple(whole.map_blocks(operator.getitem, k, dtype=r.dtype, token=f"{op.__name__}-{k}",
                                  meta=np.empty((0,) * whole.ndim, r.dtype))
                 for k, r in enumerate(result))


# ---- dask.dataframe -------------------------------------------------------------------------

def _frame_call(collection: ModuleType, ufunc: np.ufunc, inputs: tuple[Any, ...],
                kwargs: dict[str, Any]) -> Any:
    """``ufunc(*inputs, **kwargs)`` over Dask Series and DataFrames and scalars (several outputs:
    over Series only)."""
    if ufunc.signature is not None:  # core dimensions have no meaning over frames' partitions
        return NotImplemented
    frames = (collection.Series, collection.DataFrame) if ufunc.nout == 1 else (collection.Series,)
    if not all(isinstance(x, (*frames, np.generic, Number)) or
               (isinstance(x, np.ndarray) and x.shape == ()) for x in inputs):
        return NotImplemented
    out = kwargs.pop("out", None)
    # Each frame's meta is empty and keeps its dtype (nullable ones included), index and name.
    meta = _probe(ufunc, [x._meta if isinstance(x, frames) else x for x in inputs], kwargs)
    if ufunc.nout == 1:
        return collection.elemwise(Bound(ufunc, _mode(), kwargs), *inputs, meta=meta, out=out)
    if out is not None:
        return NotImplemented
    # One task per partition computes every output, as the columns of a frame.
    from pandas import concat

    whole = collection.elemwise(Bound(ufunc, _mode(), kwargs, columns=True), *inputs,
                                meta=concat(meta, axis=1, keys=range(len(meta))))
    return tuple(whole.map_partitions(operator.getitem, k, meta=m.rename(k)).rename(m.name)
                 for k, m in enumerate(meta))


# ---- pandas' nullable arrays ---------------------------------------------------------------

def _masked_call(masked: ModuleType, ufunc: np.ufunc, inputs: tuple[Any, ...],
                 kwargs: dict[str, Any]) -> Any:
    """``ufunc(*inputs)`` over pandas' masked arrays, NumPy arrays and scalars, computing only
    the elements that no input masks; the others are missing in every output."""
    if ufunc.signature is not None:  # a mask per element, not per list: left to pandas
        return NotImplemented
    base = masked.BaseMaskedArray
    if kwargs or not all(isinstance(x, (base, np.ndarray, np.generic, Number)) for x in inputs):
        return NotImplemented
    mask = np.logical_or.reduce([x._mask for x in inputs if isinstance(x, base)])
    if not mask.any():
        return NotImplemented  # pandas' own path is then exactly this one
    data = [x._data if isinstance(x, base) else x for x in inputs]
    shape = np.broadcast_shapes(*(np.shape(d) for d in data))
    outs = tuple(np.full(shape, np.nan) for _ in range(ufunc.nout))
    ufunc(*data, out=outs, where=~mask)
    from pandas import get_option
    from pandas.arrays import FloatingArray

    try:  # pandas 3 reads a NaN result of a nullable array as missing unless told otherwise
        nan_is_na = not get_option("future.distinguish_nan_and_na")
    except KeyError:
        nan_is_na = False
    results = tuple(FloatingArray(o, mask | np.isnan(o) if nan_is_na else mask.copy())
                    for o in outs)
    return results if ufunc.nout > 1 else results[0]


# ---- calls that quorin_np's own call hands over -----------------------------------------

def _outputs(ufunc: np.ufunc, out: Any) -> tuple[Any, ...]:
    """The out= of a call as one entry per output, None where none is given."""
    if out is None:
        return (None,) * ufunc.nout
    return tuple(out) if isinstance(out, tuple) else (out,)


def exact_call(ufunc: np.ufunc, args: tuple[Any, ...], kwargs: dict[str, Any]) -> Any:
    """``ufunc(*args, **kwargs)`` with masked arrays among the inputs, or counts that NumPy cannot
    read as the scalar function does; called by quorin_np's own call."""
    inputs = list(args[:ufunc.nin])
    if len(args) > ufunc.nin:
        if "out" in kwargs:
            raise TypeError("cannot specify 'out' as both a positional and keyword argument")
        kwargs["out"] = args[ufunc.nin:]
    if any(isinstance(x, np.ma.MaskedArray) for x in inputs):
        return _masked_array_call(ufunc, inputs, kwargs)
    return _count_call(ufunc, inputs, kwargs)


def _masked_array_call(ufunc: np.ufunc, inputs: list[Any], kwargs: dict[str, Any]) -> Any:
    """Computes only the elements that no input masks (a list with a masked element, for a
    generalised ufunc): the others are neither computed nor refused, and masked in every
    output, each a masked array."""
    outs = _outputs(ufunc, kwargs.pop("out", None))
    where = kwargs.pop("where", True)
    data = [np.ma.getdata(x) for x in inputs]
    shape = loop_shape(ufunc, data, outs, where)
    mask = np.zeros(shape, bool)
    for x, core in zip(inputs, core_ndims(ufunc)):
        if isinstance(x, np.ma.MaskedArray):
            m = np.ma.getmaskarray(x)
            mask |= m.any(axis=tuple(range(-core, 0))) if core else m
    buffers = tuple(np.full(shape, np.nan) if o is None else np.ma.getdata(o) for o in outs)
    _call_selected(ufunc, data, kwargs, shape, ~mask & where, buffers, (0, -1, None))
    results = []
    for o, buffer in zip(outs, buffers):
        if isinstance(o, np.ma.MaskedArray):  # where= left out keeps its old value and mask
            o.mask = mask | (np.ma.getmaskarray(o) & ~np.asarray(where, bool))
            results.append(o)
        else:
            results.append(np.ma.MaskedArray(buffer, mask=mask.copy()))
    if shape == () and all(o is None for o in outs):
        results = [r[()] for r in results]
    return tuple(results) if ufunc.nout > 1 else results[0]


def _as_counts(ufunc: np.ufunc, position: int, largest: int, x: Any) -> tuple[Any, Any, Any]:
    """Count input `position` as the kernel can read it (in range, or 0 where refused), whether
    the scalar function refuses each element, and the elements as given."""
    if isinstance(x, (list, tuple)):
        given = np.asarray(x)
        if given.dtype.kind not in "biu":  # [-1, 2**63] would become floats: read the ints
            given = np.array(x, dtype=object)
    elif isinstance(x, int) and not isinstance(x, bool):
        given = np.array(x, dtype=object)
    else:
        given = np.asarray(x)
    if given.dtype == object:
        values, refused = _core._count_values(ufunc, position, given)
        return values, refused, given
    if given.dtype.kind not in "biu":  # refused as a whole by the promoter, as NumPy would
        return given, None, given
    refused = (given > largest) | (given < 0) if given.dtype.kind == "i" else given > largest
    if not refused.any():
        return given, None, given
    return np.where(refused, 0, given).astype(np.uint64), refused, given


def _count_call(ufunc: np.ufunc, inputs: list[Any], kwargs: dict[str, Any]) -> Any:
    """Reads every count as the scalar function does; an element it refuses is set to NaN and
    left out of the call (where=), then reported with the loops' own refusals."""
    outs = _outputs(ufunc, kwargs.pop("out", None))
    where = kwargs.pop("where", True)
    counts = _core._count_inputs(ufunc)
    refused: dict[int, tuple[Any, Any]] = {}
    for position, largest in counts:
        inputs[position], r, given = _as_counts(ufunc, position, largest, inputs[position])
        if r is not None and r.any():
            refused[position] = (r, given)
    shape = loop_shape(ufunc, inputs, outs, where)
    before = np.zeros(shape, bool)
    for r, _ in refused.values():
        before |= r
    before &= where
    count = int(np.count_nonzero(before))
    if count == 0:
        if any(o is not None for o in outs):
            kwargs["out"] = outs
        if where is not True:
            kwargs["where"] = where
        return ufunc(*inputs, **kwargs)
    index = int(before.argmax())
    at = np.unravel_index(index, shape)
    error = None
    for position, _ in counts:  # in parameter order, as the scalar function reads them
        if position in refused:
            r, given = refused[position]
            if np.broadcast_to(r, shape)[at]:
                error = _core._count_error(ufunc, position, np.broadcast_to(given, shape)[at])
                break
    fresh = all(o is None for o in outs)
    outs = tuple(np.empty(shape) if o is None else o for o in outs)
    for o in outs:
        o[before] = np.nan
    _call_selected(ufunc, inputs, kwargs, shape, ~before & where, outs, (count, index, error))
    if fresh and shape == ():
        outs = tuple(o[()] for o in outs)
    return outs if ufunc.nout > 1 else outs[0]


def _call_selected(ufunc: np.ufunc, inputs: list[Any], kwargs: dict[str, Any],
                   shape: tuple[int, ...], selected: Any, outs: tuple[Any, ...],
                   before: tuple[int, int, Any]) -> None:
    """Computes the `selected` elements of the call into `outs`, reporting the refusals found
    `before` (count, flat index, exception) with the loops' own. A generalised ufunc takes no
    where=: it runs over the selected elements gathered in C order, and its results are put
    back where they belong."""
    if ufunc.signature is None:
        _core._call_with(ufunc, tuple(inputs), {**kwargs, "out": outs, "where": selected},
                         *before, None)
        return
    positions = np.flatnonzero(np.broadcast_to(selected, shape))
    gathered = []
    for x, core in zip(inputs, core_ndims(ufunc)):
        x = np.asarray(x)
        lists = x.shape[x.ndim - core:]
        gathered.append(np.broadcast_to(x, shape + lists).reshape((-1,) + lists)[positions])
    results = _core._call_with(ufunc, tuple(gathered), kwargs, *before, positions)
    for o, r in zip(outs, results if ufunc.nout > 1 else (results,)):
        if shape:
            o[np.unravel_index(positions, shape)] = r
        elif positions.size:
            o[()] = r[0]


# ---- installing the wrappers --------------------------------------------------------------

Handler = Callable[[ModuleType, np.ufunc, tuple[Any, ...], dict[str, Any]], Any]


def _wrap(cls: type, module: ModuleType, handler: Handler) -> None:
    original = cls.__dict__["__array_ufunc__"]
    if getattr(original, "__quorin_np__", False):
        return

    @functools.wraps(original)
    def __array_ufunc__(self: Any, ufunc: Any, method: str, *inputs: Any, **kwargs: Any) -> Any:
        if method == "__call__" and ufunc in UFUNCS:
            result = handler(module, ufunc, inputs, dict(kwargs))
            if result is not NotImplemented:
                return result
        return original(self, ufunc, method, *inputs, **kwargs)

    __array_ufunc__.__quorin_np__ = True  # type: ignore[attr-defined]
    cls.__array_ufunc__ = __array_ufunc__  # type: ignore[attr-defined]


def _hook_array(core: ModuleType) -> None:
    _wrap(core.Array, core, _array_call)


def _hook_frame(collection: ModuleType) -> None:
    for cls in (collection.Series, collection.DataFrame):
        _wrap(cls, collection, _frame_call)


def _hook_masked(masked: ModuleType) -> None:
    _wrap(masked.BaseMaskedArray, masked, _masked_call)


HOOKS: dict[str, Callable[[ModuleType], None]] = {
    "dask.array.core": _hook_array,
    "dask.dataframe.dask_expr._collection": _hook_frame,
    "pandas.core.arrays.masked": _hook_masked,
}


def _run(hook: Callable[[ModuleType], None], module: ModuleType) -> None:
    try:
        hook(module)
    except Exception as error:  # a changed Dask must not stop Dask from importing
        warnings.warn(f"quorin_np cannot dispatch its ufuncs over {module.__name__}: {error!r}",
                      RuntimeWarning, stacklevel=2)


# The finder and the loader below are plain classes: the import system needs only their
# methods, and importing importlib.abc for its base classes took a tenth of quorin_np's import.
class _AfterImport:
    """Runs a hook on a module right after its first import: finds the module with the finders
    that follow this one and wraps its loader."""

    def __init__(self) -> None:
        self._finding: set[str] = set()  # a finder below may look the same name up again

    def find_spec(self, name: str, path: Any, target: Any = None) -> Any:
        hook = HOOKS.get(name)
        if hook is None or name in self._finding:
            return None
        self._finding.add(name)
        try:
            for finder in sys.meta_path:
                find = getattr(finder, "find_spec", None)
                if finder is not self and find is not None:
                    found = find(name, path, target)
                    if found is not None:
                        break
            else:
                return None
        finally:
            self._finding.discard(name)
        if found.loader is not None and hasattr(found.loader, "exec_module"):
            found.loader = _ThenHook(found.loader, hook)
        return found


class _ThenHook:
    def __init__(self, loader: Any, hook: Callable[[ModuleType], None]) -> None:
        self._loader, self._hook = loader, hook

    def create_module(self, found: Any) -> Any:
        return self._loader.create_module(found)

    def exec_module(self, module: ModuleType) -> None:
        self._loader.exec_module(module)
        _run(self._hook, module)

    def __getattr__(self, name: str) -> Any:  # get_source, get_filename, ... as the real loader
        return getattr(self._loader, name)


def install() -> None:
    """Wraps the classes already imported, and the others when they are."""
    for name, hook in HOOKS.items():
        if name in sys.modules:
            _run(hook, sys.modules[name])
    if not any(isinstance(f, _AfterImport) for f in sys.meta_path):
        sys.meta_path.insert(0, _AfterImport())


# ---- the functions over texts: pandas results and polars ----------------------------------
# quorin_np's functions over collections of str (nussinov, gc_content, ...) are no ufuncs; their
# C code reads every container NumPy can turn into an array of objects, marks missing elements
# (None, NaN, pandas' NA, a StringDType's NA) missing, and hands the containers that want a
# result of their own kind here.

def texts_series(values: np.ndarray, missing: np.ndarray | None, series: Any) -> Any:
    """The result over a pandas Series, on its index and with its name: float64 with NaN where
    an element was missing; a count as a nullable Int64, missing where the element was (and -1
    where one was refused under the "nan" or "warn" mode); texts (structures) as pandas'
    string dtype, NA where there is none (missing or refused)."""
    import pandas as pd

    if values.dtype.kind == "T":
        return pd.Series(pd.array(values.astype(object), dtype="string"), index=series.index,
                         name=series.name, copy=False)
    if values.dtype == np.int64:
        mask = missing if missing is not None else np.zeros(values.shape, bool)
        values = pd.arrays.IntegerArray(values, mask)
    return pd.Series(values, index=series.index, name=series.name, copy=False)


# ---- polars ---------------------------------------------------------------------------------
# A polars Series hands a ufunc its whole buffer, null slots included (whose placeholder values
# are arbitrary, often 0, and which a contract would refuse), and applies the validity mask
# afterwards; an expression runs the ufunc at .collect(), outside any errstate that was active
# when it was built. For quorin_np's ufuncs and its functions over texts, a Series is computed
# only where every input is present, nulls stay null, and an expression carries the refusal mode
# in force when it was built, as a Dask graph does.

class _Under:
    """A quorin_np function with the refusal mode (and keyword arguments) of the moment it was
    put in a polars expression; what the expression calls at .collect()."""

    def __init__(self, function: Callable[..., Any], mode: str, kwargs: dict[str, Any]) -> None:
        self.function, self.mode, self.kwargs = function, mode, kwargs

    def __call__(self, *args: Any) -> Any:
        token = _refused.set(self.mode)
        try:
            return self.function(*args, **self.kwargs)
        finally:
            _refused.reset(token)


class _Batch:
    """What polars' map_batches calls: the inputs that are expressions arrive as one Series (a
    struct of them when there are several) and take their places among the others."""

    def __init__(self, under: _Under, inputs: tuple[Any, ...], places: list[int]) -> None:
        self.under, self.inputs, self.places = under, inputs, places

    def __call__(self, series: Any) -> Any:
        args = list(self.inputs)
        if len(self.places) == 1:
            args[self.places[0]] = series
        else:
            for k, column in zip(self.places, series.struct.unnest().iter_columns(), strict=True):
                args[k] = column
        return self.under(*args)


def _polars_expression(pl: ModuleType, function: Callable[..., Any], inputs: tuple[Any, ...],
                       kwargs: dict[str, Any], dtype: Any) -> Any:
    places = [k for k, x in enumerate(inputs) if isinstance(x, pl.Expr)]
    if len(places) == 1:
        root = inputs[places[0]]
    else:  # a struct's fields need distinct names: all but the first are renamed
        root = pl.struct([inputs[k] if n == 0 else inputs[k].alias(f"argument_{k}")
                          for n, k in enumerate(places)])
    return root.map_batches(_Batch(_Under(function, _mode(), kwargs), inputs, places),
                            return_dtype=dtype, is_elementwise=True)


def _null_where(pl: ModuleType, name: str, values: np.ndarray, missing: np.ndarray) -> Any:
    series = pl.Series(name, values)
    return series.scatter(np.flatnonzero(missing), None) if missing.any() else series


def _polars_ufunc(pl: ModuleType, ufunc: np.ufunc, inputs: tuple[Any, ...],
                  kwargs: dict[str, Any]) -> Any:
    """``ufunc(*inputs)`` over polars Series or expressions, NumPy arrays and scalars."""
    if ufunc.signature is not None or kwargs:  # lists and keywords: left to polars
        return NotImplemented
    if any(isinstance(x, pl.Expr) for x in inputs):
        if not all(isinstance(x, (pl.Expr, np.generic, Number)) for x in inputs):
            return NotImplemented
        return _polars_expression(pl, ufunc, inputs, {}, pl.Float64)
    if not all(isinstance(x, (pl.Series, np.ndarray, np.generic, Number)) for x in inputs):
        return NotImplemented
    series = [x for x in inputs if isinstance(x, pl.Series)]
    missing = np.logical_or.reduce([s.is_null().to_numpy() for s in series])
    data = [(x.fill_null(strategy="zero") if x.has_nulls() else x).to_numpy()
            if isinstance(x, pl.Series) else x for x in inputs]
    shape = np.broadcast_shapes(*(np.shape(d) for d in data))
    outs = tuple(np.full(shape, np.nan) for _ in range(ufunc.nout))
    ufunc(*data, out=outs, where=~missing)
    results = tuple(_null_where(pl, series[0].name, o, missing) for o in outs)
    return results if ufunc.nout > 1 else results[0]


def texts_foreign(function: Callable[..., Any], args: tuple[Any, ...],
                  options: dict[str, Any] | None) -> Any:
    """A function over texts called with polars Series or expressions among its arguments: a
    Series gives a Series (Float64, Int64 for a count, String for structures) with nulls where
    an input was null (and, for structures, where one was refused);
    an expression gives an expression computed at .collect() under the mode of this call."""
    import polars as pl

    options = options or {}
    if any(isinstance(x, pl.Expr) for x in args):
        kind = function([]).dtype.kind
        dtype = pl.Int64 if kind == "i" else pl.String if kind == "T" else pl.Float64
        return _polars_expression(pl, function, args, options, dtype)
    series = [x for x in args if isinstance(x, pl.Series)]
    if not series or any(isinstance(x, (pl.DataFrame, pl.LazyFrame)) for x in args):
        raise TypeError(f"quorin_np.{function.__name__}: takes a polars Series or expression "
                        "(a column), not a frame")
    missing = np.logical_or.reduce([s.is_null().to_numpy() for s in series])
    values = function(*(x.to_numpy() if isinstance(x, pl.Series) else x for x in args), **options)
    return _null_where(pl, series[0].name, np.asarray(values), missing)


def _hook_polars_series(module: ModuleType) -> None:
    import polars as pl

    _wrap(module.Series, pl, _polars_ufunc)


def _hook_polars_expr(module: ModuleType) -> None:
    import polars as pl

    _wrap(module.Expr, pl, _polars_ufunc)


HOOKS["polars.series.series"] = _hook_polars_series
HOOKS["polars.expr.expr"] = _hook_polars_expr
