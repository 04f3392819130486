"""Typed use of quorin_np's functions over texts and lists: checked by `mypy --strict` against
the stubs and run by tests/test_np_texts.py, so that the stubs and the module agree."""

from typing import assert_type

import numpy as np
from numpy.typing import NDArray

import quorin_np


def check() -> None:
    one = quorin_np.gc_content("GGCA")
    assert_type(one, np.float64)
    assert isinstance(one, np.float64)

    many = quorin_np.nussinov(["GGGAAACCC", "ACGU"])
    assert_type(many, NDArray[np.int64])
    assert many.dtype == np.int64

    identity = quorin_np.sequence_identity(np.array(["ACGU"], dtype=object), "ACGA")
    assert_type(identity, NDArray[np.float64])
    assert identity.dtype == np.float64

    rmsd = quorin_np.protein_rmsd(np.zeros((2, 4, 3)), np.zeros((4, 3)))
    assert isinstance(rmsd, np.ndarray) and rmsd.shape == (2,)


def refused() -> None:
    """Calls the type checker refuses; never run."""
    quorin_np.gc_content(5)  # type: ignore[call-overload]


if __name__ == "__main__":
    check()
