"""List-of-real parameters given objects that hold float64 buffers: read straight from the
buffer when iterating the object would yield exactly its values, iterated otherwise; either way
the result and the error are those of iterating it."""

import array
import ctypes
import math
import sys

import pytest

import quorin
from exact import same

try:
    import numpy as np
except ImportError:  # the array and memoryview cases still run
    np = None

CALLS = {
    "shannon_entropy_dist": lambda x: quorin.shannon_entropy_dist(x),
    "pairwise_potential": lambda x: quorin.pairwise_potential(x),
    "tm_score": lambda x: quorin.tm_score(x, 10, 1.5),
}

VALUES = {
    "distribution": [0.25, 0.5, 0.25, 0.0],
    "refused": [0.5, 0.75],
    "special": [-0.0, math.inf, math.nan, 1e-310],
    "one": [1.0],
    "empty": [],
}


class Iterates:
    """A sequence that is only ever iterated: the conversion every other sequence gets."""

    def __init__(self, obj):
        self.obj = obj

    def __getitem__(self, k):
        raise AssertionError("indexed")

    def __iter__(self):
        return iter(self.obj)


def outcome(call, x):
    try:
        return ("value", call(x))
    except Exception as error:
        return (type(error), error.args, type(error.__cause__))


class ArraySub(array.array):
    def __iter__(self):
        return iter([0.5, 0.5])


# A class made in Python that borrows the name of a type read from its buffer.
Impostor = type("array.array", (), {
    "__init__": lambda self, v: setattr(self, "data", array.array("d", v)),
    "__buffer__": lambda self, flags: memoryview(self.data),
    "__getitem__": lambda self, k: self.data[k],
    "__len__": lambda self: len(self.data),
    "__iter__": lambda self: iter([0.5, 0.5]),
})


def released(v):
    view = memoryview(array.array("d", v))
    view.release()
    return view


def doubles(v):
    return bytes(array.array("d", v))


MAKERS = {
    # read from the buffer
    "array d": lambda v: array.array("d", v),
    "memoryview of array d": lambda v: memoryview(array.array("d", v)),
    "memoryview cast to d": lambda v: memoryview(doubles(v)).cast("d"),
    # iterated
    "array f": lambda v: array.array("f", v),
    "array d subclass": lambda v: ArraySub("d", v),
    "impostor": Impostor,
    "memoryview <d": lambda v: memoryview((ctypes.c_double * len(v))(*v)),
    "memoryview 2-d": lambda v: memoryview(doubles(v)).cast("d", [1, len(v)]) if v else None,
}
NUMPY_MAKERS = {
    # read from the buffer
    "ndarray": lambda v: np.array(v),
    "ndarray read-only": lambda v: np.frombuffer(doubles(v)),
    "memoryview of ndarray": lambda v: memoryview(np.array(v)),
    # iterated
    "ndarray strided": lambda v: np.repeat(np.array(v), 2)[::2],
    "ndarray byte-swapped": lambda v: np.array(v, dtype=">f8"),
    "ndarray float32": lambda v: np.array(v, dtype=np.float32),
    "ndarray 2-d row": lambda v: np.array(v).reshape(1, -1),
    "ndarray 2-d column": lambda v: np.array(v).reshape(-1, 1),
    "ndarray 0-d": lambda v: np.array(v[0]) if v else np.array(0.5),
    "ndarray subclass": lambda v: np.array(v).view(type("Sub", (np.ndarray,), {})),
    "memoryview of strided ndarray": lambda v: memoryview(np.repeat(np.array(v), 2)[::2]),
}


@pytest.mark.parametrize("values", VALUES)
@pytest.mark.parametrize("maker", list(MAKERS) + list(NUMPY_MAKERS))
def test_same_outcome_as_iterating(maker, values):
    if maker in NUMPY_MAKERS and np is None:
        pytest.skip("needs numpy")
    obj = {**MAKERS, **NUMPY_MAKERS}[maker](VALUES[values])
    if obj is None:
        pytest.skip("no such object for these values")
    for name, call in CALLS.items():
        got, expected = outcome(call, obj), outcome(call, Iterates(obj))
        if got[0] == "value":
            assert expected[0] == "value" and same(got[1], expected[1]), name
        else:
            assert got == expected, name


@pytest.mark.parametrize("maker", ["array d", "memoryview of array d", "ndarray"])
def test_buffer_released_and_references_kept(maker):
    if maker == "ndarray" and np is None:
        pytest.skip("needs numpy")
    base = array.array("d", VALUES["distribution"]) if maker == "array d" else None
    obj = {**MAKERS, **NUMPY_MAKERS}[maker](VALUES["distribution"]) if base is None else base
    before = sys.getrefcount(obj)
    for _ in range(100):
        quorin.shannon_entropy_dist(obj)
        with pytest.raises(ValueError):
            quorin.tm_score(obj, 0, 1.5)
    assert sys.getrefcount(obj) == before
    if base is not None:
        base.append(0.0)  # BufferError if an export were still held


def test_released_memoryview_is_refused_as_before():
    # (Python's own iter() on it fails differently, so it is not compared with Iterates.)
    error = (ValueError, ("operation forbidden on released memoryview object",), type(None))
    assert all(outcome(call, released([0.5, 0.5])) == error for call in CALLS.values())
