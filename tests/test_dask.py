"""quorin_np's ufuncs over Dask arrays and dask.dataframe columns, on Dask's own threads: lazy
results for every ufunc, NumPy's bits after compute(), and the refusal mode fixed when the
result is built."""

import os
import subprocess
import sys
import warnings
from concurrent.futures import ThreadPoolExecutor

import pytest

np = pytest.importorskip("numpy")
pd = pytest.importorskip("pandas")
da = pytest.importorskip("dask.array")
dd = pytest.importorskip("dask.dataframe")
import dask  # noqa: E402
import quorin_np  # noqa: E402
from catalogue import COUNT32, COUNT64, REAL, entries  # noqa: E402

UFUNCS = []  # (ufunc name, its catalogue entry, number of inputs)
for e in entries():
    if all(k in (REAL, COUNT32, COUNT64) for k in e.kinds):
        UFUNCS.append((e.name, e, e.required))
        if e.required < len(e.kinds):
            UFUNCS.append((e.name + "_full", e, len(e.kinds)))


def columns(entry, n, bad=True):
    """NumPy columns of four rows, the second refused when the contract refuses anything."""
    second = entry.bad if bad and entry.bad is not None else entry.ok
    return [np.array([o, b, o, o]) for o, b in zip(entry.ok[:n], second[:n])]


def lazy(kind, cols):
    if kind == "array":
        return [da.from_array(c, chunks=2) for c in cols]
    frame = dd.from_pandas(pd.DataFrame({f"c{i}": c for i, c in enumerate(cols)}), npartitions=2)
    return [frame[f"c{i}"] for i in range(len(cols))]


def as_tuple(r):
    return r if isinstance(r, tuple) else (r,)


def computed(result):
    return [np.asarray(r) for r in dask.compute(*as_tuple(result))]


def same_bits(got, want):
    return all(np.array_equal(np.asarray(g).view(np.uint64), np.asarray(w).view(np.uint64))
               for g, w in zip(got, want, strict=True))


LAZY_TYPES = {"array": da.Array, "frame": dd.Series}


@pytest.fixture(scope="module", autouse=True)
def dask_threads():
    """Dask's threads for this module only, in a plain pool that does not pass the caller's
    context on to its threads; none outlives the module (later tests fork)."""
    with ThreadPoolExecutor(2) as pool, dask.config.set(pool=pool):
        yield


@pytest.mark.parametrize("kind", ["array", "frame"])
@pytest.mark.parametrize("name, entry, n", UFUNCS, ids=[u[0] for u in UFUNCS])
def test_every_ufunc_builds_lazily_and_computes_numpys_bits(name, entry, n, kind):
    f, cols = getattr(quorin_np, name), columns(entry, n)
    # Built under the default mode: no stand-in value is refused while building.
    built = as_tuple(f(*lazy(kind, cols)))
    assert all(isinstance(r, LAZY_TYPES[kind]) and r.dtype == np.float64 for r in built)
    with quorin_np.errstate(refused="nan"):
        want = as_tuple(f(*cols))
        got = computed(f(*lazy(kind, cols)))
    assert same_bits(got, want)


MODE_CASES = [("bmi", 2), ("hardy_weinberg_test", 3), ("pcr_copies", 3)]


@pytest.mark.parametrize("kind", ["array", "frame"])
@pytest.mark.parametrize("name, n", MODE_CASES)
def test_refusal_modes_apply_in_dask_tasks(name, n, kind):
    entry = next(e for e in entries() if e.name == name)
    f, cols = getattr(quorin_np, name), columns(entry, n)
    with pytest.raises((ValueError, OverflowError)) as caught:
        computed(f(*lazy(kind, cols)))
    assert caught.value.args == (entry.message,)
    assert caught.value.__notes__ == [
        f"quorin_np.{name}: refused the element at flat index 1",
        f"quorin_np.{name}: in a Dask chunk of shape (2,); the index counts within that chunk"]
    with quorin_np.errstate(refused="nan"):
        want, nan_built = as_tuple(f(*cols)), f(*lazy(kind, cols))
    with quorin_np.errstate(refused="warn"):
        warn_built = f(*lazy(kind, cols))
    assert same_bits(computed(nan_built), want)
    with warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        assert same_bits(computed(warn_built), want)
    refusals = [w for w in seen if issubclass(w.category, RuntimeWarning)]
    assert len(refusals) == 1  # one chunk refuses: one warning, whatever the outputs
    assert f"at flat index 1: {entry.message}" in str(refusals[0].message)


def test_the_mode_is_the_one_in_force_when_the_result_is_built():
    w, h = da.from_array(np.array([70.0, 80.0]), chunks=1), da.from_array(np.array([1.7, 0.0]), 1)
    with quorin_np.errstate(refused="nan"):
        as_nan = quorin_np.bmi(w, h)
    as_raise = quorin_np.bmi(w, h)
    assert as_nan.name != as_raise.name
    with quorin_np.errstate(refused="raise"):
        assert np.isnan(as_nan.compute()[1])
    with quorin_np.errstate(refused="nan"), pytest.raises(ValueError):
        as_raise.compute()
    for scheduler in ["sync", "processes"]:
        assert np.isnan(as_nan.compute(scheduler=scheduler)[1])


W, H = np.array([70.0, 80.0, 90.0]), np.array([1.7, 0.0, 1.8])
DW, DH = da.from_array(W, chunks=2), da.from_array(H, chunks=2)
CALLS = {
    "where and out": (lambda: quorin_np.bmi(DW, DH, where=DH > 0, out=da.zeros(3, chunks=2)),
                      lambda: quorin_np.bmi(W, H, where=H > 0, out=np.zeros(3))),
    "broadcast 2-d": (lambda: quorin_np.bmi(DW[:, None], DH[::2] + 1.0),
                      lambda: quorin_np.bmi(W[:, None], H[::2] + 1.0)),
    "NumPy array": (lambda: quorin_np.bmi(DW, np.full(3, 1.75)), lambda: quorin_np.bmi(W, 1.75)),
    "scalar, 0-d Dask array": (lambda: quorin_np.bmi(da.from_array(np.array(70.0)), 1.75),
                               lambda: quorin_np.bmi(70.0, 1.75)),
    "dtype float64": (lambda: quorin_np.bmi(DW, 1.7, dtype=np.float64),
                      lambda: quorin_np.bmi(W, 1.7)),
}


@pytest.mark.parametrize("case", CALLS)
def test_ufunc_arguments_over_dask_arrays(case):
    build, want = CALLS[case]
    assert same_bits(computed(build()), [want()])


@pytest.mark.parametrize("call, error", [
    (lambda: quorin_np.bmi(DW, DH, dtype=np.float32), TypeError),
    (lambda: quorin_np.pcr_copies(10.0, 1.95, da.from_array(np.array([2.0]))), TypeError),
    (lambda: quorin_np.hardy_weinberg(DH, out=(DH, DH, DH)), NotImplementedError),
])
def test_bad_calls_fail_when_built_as_numpy_would(call, error):
    with pytest.raises(error):
        call()


def test_other_ufuncs_still_go_through_dask():
    assert isinstance(np.sqrt(DW), da.Array) and isinstance(np.add(DW, DH), da.Array)


@pytest.mark.parametrize("order", ["quorin_np first", "dask first"])
def test_dispatch_does_not_depend_on_import_order(order):
    imports = ["import quorin_np", "import dask.array as da, dask.dataframe as dd, pandas as pd"]
    code = "\n".join(imports if order == "quorin_np first" else imports[::-1]) + (
        "\nassert quorin_np.bmi(da.zeros(2), da.zeros(2)).dtype == 'f8'"
        "\ns = dd.from_pandas(pd.Series([0.0]), npartitions=1)"
        "\nassert quorin_np.riboswitch_confidence(s, s).dtype == 'f8'")
    if order == "quorin_np first":
        code = "import sys, quorin_np\nassert 'dask' not in sys.modules\n" + code
    subprocess.run([sys.executable, "-c", code], check=True, env=os.environ)



GUFUNC_REFUSALS = {  # a refusing Dask call of a generalised ufunc: (call, message, flat index)
    "protein_rmsd, a stack against a reference of another length": (
        lambda: quorin_np.protein_rmsd(da.from_array(np.ones((4, 5, 3)), chunks=(2, 5, 3)),
                                       np.zeros((6, 3))),
        "Quorin.ProteinRMSD: coordinate arrays must have the same length", 0),
    "tm_score, a chunked d0 holding a 0": (
        lambda: quorin_np.tm_score(da.from_array(np.ones((4, 3)), chunks=(2, 3)), 3,
                                   da.from_array(np.array([1.0, 1.0, 1.0, 0.0]), chunks=2)),
        "Quorin.TMScore: d₀ must be non-zero", 1),
}


@pytest.mark.parametrize("case", GUFUNC_REFUSALS)
def test_a_generalised_ufunc_refuses_in_a_chunk_with_the_contracts_error(case):
    call, message, index = GUFUNC_REFUSALS[case]
    with pytest.raises(ValueError) as caught:
        call().compute()
    name = caught.value.__notes__[0].split(":")[0]
    assert str(caught.value) == message and caught.value.__context__ is None
    assert caught.value.__notes__ == [
        f"{name}: refused the element at flat index {index}",
        f"{name}: in a Dask chunk of shape (2,); the index counts within that chunk"]
