"""quorin's contracts over NumPy arrays.

Every function of quorin whose parameters are reals and counts is a NumPy ufunc here, with the
same name and parameter order: it broadcasts, takes ``out=``, ``where=`` and ``dtype=``, and
dispatches through ``__array_ufunc__`` (a pandas Series in gives a Series out, a Dask array a
lazy Dask array). Element by element the results are those of the scalar function, bit for bit.

An element the scalar function would refuse is handled by the refusal mode, chosen with
:class:`errstate`: ``"raise"`` (the default) raises the scalar function's own exception for the
first refused element, with a note giving its position; ``"nan"`` sets refused elements to NaN;
``"warn"`` does the same and issues one ``RuntimeWarning`` per call.
"""

from __future__ import annotations

__version__ = "0.1.0"  # the distribution's version (pyproject.toml); quorin itself keeps none

import contextvars
from types import BuiltinFunctionType as _BuiltinFunction
from types import TracebackType
from typing import TYPE_CHECKING, Literal


def _in_a_sub_interpreter() -> bool:
    try:
        import _interpreters  # CPython's own, private: absent elsewhere
    except ImportError:
        return False
    return bool(_interpreters.get_current()[0] != _interpreters.get_main()[0])


# NumPy's extension modules load once per process, in the main interpreter: a sub-interpreter
# would load them a second time, which NumPy refuses (or, in a legacy sub-interpreter, half does).
if _in_a_sub_interpreter():
    raise ImportError("quorin_np cannot be imported in a sub-interpreter: NumPy cannot be loaded "
                      "twice in one process, and a sub-interpreter would load it again; use "
                      "quorin_np in the main interpreter")

try:
    import numpy as _numpy
except ImportError as error:  # pragma: no cover - exercised without NumPy installed
    import importlib.util

    if importlib.util.find_spec("numpy") is not None:
        raise ImportError(f"quorin_np cannot import NumPy, which is installed: {error}") from error
    raise ImportError(
        "quorin_np needs NumPy 2 or later, which is not installed; "
        "install it with: pip install 'quorin[numpy]'"
    ) from error
if int(_numpy.__version__.split(".")[0]) < 2:
    raise ImportError(
        f"quorin_np needs NumPy 2 or later, but NumPy {_numpy.__version__} is installed; "
        "upgrade it with: pip install 'quorin[numpy]'"
    )

from . import _core
from ._core import *  # noqa: F401,F403  (the ufuncs)

if TYPE_CHECKING:
    _Mode = Literal["raise", "nan", "warn"]
_MODES = ("raise", "nan", "warn")
_refused: contextvars.ContextVar[str] = _core.refused


def geterr() -> dict[str, _Mode]:
    """The refusal mode in force in this thread and task, as ``{"refused": mode}``."""
    return {"refused": _refused.get("raise")}  # type: ignore[dict-item]


class errstate:
    """Context manager that sets the refusal mode of quorin_np's functions.

    ``refused`` is ``"raise"``, ``"nan"`` or ``"warn"``. The mode is kept in a context
    variable, so it holds for the current thread and asyncio task only, and is restored on exit.
    """

    __slots__ = ("refused", "_token")

    def __init__(self, *, refused: _Mode) -> None:
        if refused not in _MODES:
            raise ValueError(f"refused must be one of 'raise', 'nan', 'warn', not {refused!r}")
        self.refused: _Mode = refused
        self._token: contextvars.Token[str] | None = None

    def __enter__(self) -> errstate:
        if self._token is not None:
            raise TypeError("this errstate is already in use; create a new one to nest")
        self._token = _refused.set(self.refused)
        return self

    def __exit__(
        self,
        exc_type: type[BaseException] | None,
        exc: BaseException | None,
        tb: TracebackType | None,
    ) -> None:
        assert self._token is not None
        _refused.reset(self._token)
        self._token = None

    def __repr__(self) -> str:
        return f"errstate(refused={self.refused!r})"


# The ufuncs, and the functions over collections of str (gc_content, sequence_identity, nussinov).
__all__ = [name for name in dir(_core) if not name.startswith("_")
           and isinstance(getattr(_core, name), (_numpy.ufunc, _BuiltinFunction))]
__all__ += ["errstate", "geterr"]

# Labels for the codes of kdigo_gfr_category, as categories that pandas and polars group by.
from ._kdigo import kdigo_gfr_labels  # noqa: E402

__all__ += ["kdigo_gfr_labels"]

# Dask collections and pandas' nullable arrays reach these ufuncs through their own
# __array_ufunc__; see _interop for why it is wrapped. This imports neither Dask nor pandas.
from . import _interop  # noqa: E402

_interop.install()
