"""The functions the command knows: quorin_np.catalogue, the records of the rows quorin_np is
built from (names, parameters, kinds, summaries), and the functions' own docstrings."""

from __future__ import annotations

import difflib
from typing import Any

import numpy as np

import quorin_np

from ._cli import PROG, UsageError

# One value per row: ufuncs over reals and counts, and the functions over texts.
PER_ROW = ("elementwise", "texts")


def usable() -> list[quorin_np.FunctionInfo]:
    """The functions `apply` can use, in registration order."""
    return [info for info in quorin_np.catalogue if info.kind in PER_ROW]


def _record(name: str) -> quorin_np.FunctionInfo | None:
    for info in quorin_np.catalogue:
        if name in (info.name, info.full):
            return info
    return None


def _unknown(name: str) -> UsageError:
    names = [info.name for info in quorin_np.catalogue]
    close = difflib.get_close_matches(name, names, n=3, cutoff=0.6)
    hint = f" (did you mean {', '.join(close)}?)" if close else ""
    return UsageError(f"unknown function {name!r}{hint}; `{PROG} list` shows them all")


def per_row(name: str) -> quorin_np.FunctionInfo:
    """The record of a function `apply` can use, or the usage error that says why not."""
    info = _record(name)
    if info is None:
        if name.startswith("nussinov") and callable(getattr(quorin_np, name, None)):
            raise UsageError(f"{name} gives a structure per sequence, not one value per row: "
                             f"`{PROG} fold` writes folds as dot-brackets, pairs or counts")
        if callable(getattr(quorin_np, name, None)) and not name.startswith("_"):
            raise UsageError(f"quorin_np.{name} is not a function of one value per row; call it "
                             "from Python")
        raise _unknown(name)
    if info.kind not in PER_ROW:
        lists = [p for p, kind in zip(info.params, info.kinds) if kind == "list"]
        raise UsageError(
            f"{info.name} takes a list per call ({', '.join(lists)}: core dimensions "
            f"{info.layout}), not one value per row of a table; call quorin_np.{info.name} "
            "from Python on arrays whose last axes hold the lists")
    return info


def function_of(info: quorin_np.FunctionInfo, full: bool) -> Any:
    return getattr(quorin_np, info.full if full and info.full else info.name)


def _own_doc(name: str, function: Any) -> str:
    doc = function.__doc__ or ""
    if isinstance(function, np.ufunc):
        # NumPy puts its generic call signature first; the function's own follows.
        head, _, rest = doc.partition("\n\n")
        if head.startswith(f"{name}(") and "out=" in head:
            doc = rest
    elif getattr(function, "__text_signature__", None):
        doc = f"{name}{function.__text_signature__}\n\n{doc}"
    return doc.strip("\n")


def reference_text(name: str) -> str:
    """The function's reference text (its docstring), and how `apply` calls it."""
    info = _record(name)
    function = getattr(quorin_np, name, None)
    if function is None or name.startswith("_") or not callable(function):
        raise _unknown(name)
    text = _own_doc(name, function)
    if info is None or info.kind not in PER_ROW:
        return text
    params = list(info.params)
    if info.full and name != info.full:
        params = params[:info.required]
    columns = ", ".join(params)
    names = info.name if info.outputs == 1 else ", ".join(
        f"{info.name}_{k}" for k in range(1, info.outputs + 1))
    optional = ""
    if info.full:
        optional = (f" The optional parameters {', '.join(info.params[info.required:])} keep "
                    "their defaults unless a column or --set gives them.")
    shell = (f"From the shell: `{PROG} apply {info.name} [FILE]` reads the columns {columns} "
             "(or --map PARAM=COLUMN, --set PARAM=VALUE) and adds the result column"
             f"{'s' if info.outputs > 1 else ''} {names}.{optional}")
    import textwrap

    return text + "\n\n" + textwrap.fill(shell, 92)
