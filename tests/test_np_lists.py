"""quorin_np's generalised ufuncs over list parameters: every element bit for bit the scalar
function's, over any memory layout and broadcast; refusals as for the ufuncs."""

import warnings

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st

import quorin
import quorin_np
from exact import same

SPECIAL = [0.25, 0.5, 0.125, 1.0, 0.0, -0.0, -0.5, 1e-310, 2.0, np.inf, np.nan]


def as_list(row):
    return [float(x) for x in row]


def as_triples(block):
    return [tuple(float(x) for x in point) for point in block]


# name: (core shape of each list operand, scalar operands as (values, dtype), scalar call)
GUFUNCS = {
    "shannon_entropy_dist": ([("n",)], [], lambda p: quorin.shannon_entropy_dist(as_list(p))),
    "pairwise_potential": ([("n",)], [], lambda p: quorin.pairwise_potential(as_list(p))),
    "tm_score": ([("n",)], [([1, 3, 10], np.int64), ([1.5, 0.0, -2.0, np.nan], np.float64)],
                 lambda d, l_target, d0: quorin.tm_score(as_list(d), int(l_target), float(d0))),
    "protein_rmsd": ([("n", 3), ("n", 3)], [],
                     lambda a, b: quorin.protein_rmsd(as_triples(a), as_triples(b))),
}


def scalar_or_nan(call, *args):
    try:
        return call(*args)
    except ValueError:
        return float("nan")


def relayout(a, how):
    """The same values in another memory layout."""
    if how == "reversed":
        return np.flip(np.flip(a, -1).copy(), -1)
    if how == "strided":
        wide = np.zeros(a.shape[:-1] + (2 * a.shape[-1],))
        wide[..., ::2] = a
        return wide[..., ::2]
    if how == "fortran":
        return np.asfortranarray(a)
    if how == "swapped":
        return a.astype(a.dtype.newbyteorder(">"))
    if how == "unaligned":
        raw = np.zeros(a.nbytes + 1, np.uint8)[1:].view(np.float64).reshape(a.shape) if a.size else a
        raw[...] = a
        return raw
    return a


@settings(max_examples=60, deadline=None)
@given(name=st.sampled_from(sorted(GUFUNCS)), lead=st.lists(st.integers(0, 3), max_size=2),
       n=st.integers(0, 5), how=st.sampled_from(["plain", "reversed", "strided", "fortran",
                                                   "swapped", "unaligned"]),
       seed=st.integers(0, 2**32 - 1), broadcast=st.booleans())
def test_every_element_is_the_scalar_result(name, lead, n, how, seed, broadcast):
    cores, scalars, call = GUFUNCS[name]
    rng = np.random.default_rng(seed)
    shape = tuple(lead)
    operands = []
    for k, core in enumerate(cores):
        # The second operand may be one list broadcast against all of the first.
        outer = () if (broadcast and k > 0) else shape
        full = outer + tuple(n if d == "n" else d for d in core)
        operands.append(relayout(rng.choice(SPECIAL, size=full), how))
    for values, dtype in scalars:
        operands.append(rng.choice(np.array(values, dtype), size=() if broadcast else shape))
    with quorin_np.errstate(refused="nan"):
        result = getattr(quorin_np, name)(*operands)
    assert result.shape == shape and result.dtype == np.float64
    spread = [np.broadcast_to(o, shape + o.shape[o.ndim - len(core):])
              for o, core in zip(operands, cores + [()] * len(scalars))]
    for index in np.ndindex(shape):
        assert same(float(result[index]), scalar_or_nan(call, *(s[index] for s in spread)))


@pytest.mark.parametrize("mode", ["raise", "nan", "warn"])
def test_refusals_follow_the_mode(mode):
    rows = np.array([[0.5, 0.5], [0.5, 0.4], [1.0, 0.0], [-1.0, 2.0]])
    message = "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 0.90000000)"
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        if mode == "raise":
            with pytest.raises(ValueError) as error:
                quorin_np.shannon_entropy_dist(rows)
            assert error.value.args == (message,)
            assert error.value.__notes__ == [
                "quorin_np.shannon_entropy_dist: refused the element at flat index 1"]
            return
        result = quorin_np.shannon_entropy_dist(rows)
    assert np.isnan(result[[1, 3]]).all() and result[0] == np.log(2) and result[2] == 0.0
    assert [str(w.message) for w in seen] == ([] if mode == "nan" else [
        f"quorin_np.shannon_entropy_dist: 2 element(s) refused and set to NaN; the first, at flat "
        f"index 1: {message}"])


@pytest.mark.parametrize("a_shape, b_shape, expected", [
    ((4, 5, 3), (5, 3), (4,)),        # k structures against one reference
    ((2, 1, 5, 3), (3, 5, 3), (2, 3)),  # leading dimensions broadcast
    ((0, 5, 3), (5, 3), (0,)),
])
def test_coordinate_stacks_broadcast(a_shape, b_shape, expected):
    rng = np.random.default_rng(3)
    a, b = rng.normal(size=a_shape), rng.normal(size=b_shape)
    result = quorin_np.protein_rmsd(a, b)
    assert result.shape == expected
    np.testing.assert_array_equal(result, np.sqrt(((a - b) ** 2).sum(-1).mean(-1)))


@pytest.mark.parametrize("call, exception, text", [
    (lambda: quorin_np.protein_rmsd(np.zeros((2, 4, 3)), np.zeros((5, 3))), ValueError,
     "Quorin.ProteinRMSD: coordinate arrays must have the same length"),
    (lambda: quorin_np.protein_rmsd(np.zeros((4, 2)), np.zeros((4, 2))), ValueError, "mismatch"),
    (lambda: quorin_np.tm_score([1.0], 2.0, 1.0), TypeError,
     "argument 'l_target' is a count and takes integers"),
    (lambda: quorin_np.tm_score([1.0], -1, 1.0), OverflowError,
     "can't convert negative int to unsigned"),
    (lambda: quorin_np.tm_score([1.0], 3, 0.0), ValueError, "Quorin.TMScore: d\u2080 must be non-zero"),
])
def test_bad_input_is_a_clear_error(call, exception, text):
    with pytest.raises(exception, match=text):
        call()


def test_length_mismatch_is_nan_under_nan_mode():
    with quorin_np.errstate(refused="nan"):
        assert np.isnan(quorin_np.protein_rmsd(np.zeros((3, 4, 3)), np.zeros((5, 3)))).all()


def test_dask_stack_is_lazy_exact_and_keeps_the_mode():
    da = pytest.importorskip("dask.array")
    p = np.random.default_rng(5).dirichlet(np.ones(6), size=40)
    p[7] = 0.5  # refused: the mode in force when the graph is built applies in its tasks
    with quorin_np.errstate(refused="nan"):
        lazy = quorin_np.shannon_entropy_dist(da.from_array(p, chunks=(10, 6)))
        expected = quorin_np.shannon_entropy_dist(p)
    assert isinstance(lazy, da.Array) and np.isnan(expected[7])
    np.testing.assert_array_equal(lazy.compute(), expected)
    with pytest.raises(ValueError, match="must sum to 1.0"):
        quorin_np.shannon_entropy_dist(da.from_array(p, chunks=(10, 6))).compute()
