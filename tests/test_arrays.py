"""quorin_np's ufuncs against the scalar functions of quorin, element by element and bit for bit:
every real/count contract, over random and special values, shapes, layouts and dtypes; the
refusal modes; count dtypes; out= and where=; bad input."""

import doctest
import math
import pathlib
import re
import struct
import subprocess
import sys
import threading
import warnings

import pytest

np = pytest.importorskip("numpy")
quorin_np = pytest.importorskip("quorin_np")
hypothesis = pytest.importorskip("hypothesis")
from hypothesis import given, settings, strategies as st  # noqa: E402
from hypothesis.extra import numpy as hnp  # noqa: E402

import quorin  # noqa: E402
from catalogue import COUNT32, COUNT64, REAL, entries  # noqa: E402

UFUNC_ENTRIES = [e for e in entries() if all(k in (REAL, COUNT32, COUNT64) for k in e.kinds)]
SPECIAL = [0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 1e-310, -1e-310, 1e308, -1e308, math.inf, -math.inf,
           math.nan, struct.unpack("<d", struct.pack("<q", 0x7FF75B178B9D8A2A))[0], 3.0, 0.25, 1e-3]


def ufunc_of(entry, full=False):
    return getattr(quorin_np, entry.name + ("_full" if full else ""))


def arity(entry, full):
    return len(entry.kinds) if full else entry.required


def scalar_outcome(entry, args):
    """The scalar function's result as a tuple of floats, or its exception."""
    try:
        r = entry.function(*args)
    except (ValueError, OverflowError) as e:
        return e
    return r if isinstance(r, tuple) else (r,)


def as_tuple(result):
    return result if isinstance(result, tuple) else (result,)


def bits(a):
    return np.asarray(a, dtype=np.float64).view(np.uint64)


def expected_arrays(entry, cols, full=False):
    """Elementwise scalar results over broadcast inputs, NaN where the scalar refuses."""
    b = np.broadcast_arrays(*cols)
    shape = b[0].shape if b else ()
    nout = {"real": 1, "tuple3": 3, "tuple4": 4}[entry.result]
    outs = [np.empty(shape) for _ in range(nout)]
    for idx in np.ndindex(shape):
        args = [c[idx].item() for c in b]
        r = scalar_outcome(entry, args)
        for k in range(nout):
            outs[k][idx] = math.nan if isinstance(r, Exception) else r[k]
    return outs


def values(kind):
    if kind == REAL:
        return st.sampled_from(SPECIAL) | st.floats(allow_nan=True, allow_infinity=True)
    return st.integers(0, 40)


def dtype_of(kind):
    return np.float64 if kind == REAL else np.int64


@pytest.mark.parametrize("full", [False, True])
@pytest.mark.parametrize("entry", UFUNC_ENTRIES, ids=lambda e: e.name)
@settings(max_examples=25, deadline=None)
@given(data=st.data())
def test_bit_identical_to_the_scalar_function(entry, full, data):
    if full and entry.required == len(entry.kinds):
        return
    kinds = entry.kinds[: arity(entry, full)]
    shapes = data.draw(hnp.mutually_broadcastable_shapes(num_shapes=len(kinds), max_dims=3, max_side=4))
    cols = []
    for kind, shape in zip(kinds, shapes.input_shapes):
        a = data.draw(hnp.arrays(dtype_of(kind), shape, elements=values(kind)))
        layout = data.draw(st.sampled_from(["plain", "reversed", "strided", "swapped", "unaligned"]))
        cols.append(relayout(a, layout))
    with quorin_np.errstate(refused="nan"):
        got = as_tuple(ufunc_of(entry, full)(*cols))
    for g, e in zip(got, expected_arrays(entry, cols, full)):
        assert g.dtype == np.float64 and g.shape == e.shape
        # NaN results keep their bits except where a refusal made them: compare those as NaN.
        refused_or_same = (bits(g) == bits(e)) | (np.isnan(g) & np.isnan(e))
        assert refused_or_same.all(), (entry.name, cols, g, e)


def relayout(a, layout):
    """The same values in another memory layout."""
    if layout == "reversed" and a.ndim:
        return np.ascontiguousarray(a[::-1])[::-1]
    if layout == "strided" and a.ndim:
        big = np.empty(a.shape[:-1] + (2 * a.shape[-1],), a.dtype)
        big[..., ::2] = a
        return big[..., ::2]
    if layout == "swapped":
        return a.astype(a.dtype.newbyteorder())
    if layout == "unaligned":
        raw = np.empty(a.nbytes + 1, np.uint8)[1:]
        out = raw.view(a.dtype).reshape(a.shape) if a.size else a.copy()
        out[...] = a
        return out
    return a


@pytest.mark.parametrize("entry", UFUNC_ENTRIES, ids=lambda e: e.name)
def test_exact_nan_payloads_pass_through_as_in_the_scalar(entry):
    args = tuple(np.array([a]) for a in entry.ok[: entry.required])
    with quorin_np.errstate(refused="nan"):
        got = as_tuple(ufunc_of(entry)(*args))
    want = scalar_outcome(entry, entry.ok[: entry.required])
    assert [bits(g[0]) for g in got] == [bits(w) for w in want]


# ---- refusals -------------------------------------------------------------------------------

def refusing_rows(entry):
    """Three rows: ok, bad, ok; the bad one at flat index 1."""
    return [np.array([o, b, o]) for o, b in zip(entry.ok, entry.bad)]


REFUSING = [e for e in UFUNC_ENTRIES if e.bad is not None]


@pytest.mark.parametrize("entry", REFUSING, ids=lambda e: e.name)
def test_refusal_modes(entry):
    cols = refusing_rows(entry)
    f = ufunc_of(entry, full=len(cols) > entry.required)
    with pytest.raises(ValueError) as caught:
        f(*cols)
    assert caught.value.args == (entry.message,)
    assert any("flat index 1" in n for n in caught.value.__notes__)
    with quorin_np.errstate(refused="nan"):
        out = as_tuple(f(*cols))
    assert all(np.isnan(o[1]) and not np.isnan(o[0]) for o in out)
    with quorin_np.errstate(refused="warn"), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        warned = as_tuple(f(*cols))
    assert [bits(w).tolist() for w in warned] == [bits(o).tolist() for o in out]
    assert len(seen) == 1 and seen[0].category is RuntimeWarning
    assert "1 element(s) refused" in str(seen[0].message) and entry.message in str(seen[0].message)


def test_raise_reports_the_first_refusal_in_c_order_with_the_scalar_message():
    w = np.array([[70.0, 70.0], [-1.0, 0.0]])
    h = np.array([1.0, -5.0])
    with pytest.raises(ValueError, match="weight and height must be positive") as caught:
        quorin_np.bmi(w, h)
    assert caught.value.__notes__ == ["quorin_np.bmi: refused the element at flat index 1"]


def test_modes_are_per_context_and_restored():
    assert quorin_np.geterr() == {"refused": "raise"}
    with quorin_np.errstate(refused="nan"):
        seen = []
        t = threading.Thread(target=lambda: seen.append(quorin_np.geterr()["refused"]))
        t.start()
        t.join()
        assert seen == ["raise"] and quorin_np.geterr() == {"refused": "nan"}
        with quorin_np.errstate(refused="warn"):
            assert quorin_np.geterr() == {"refused": "warn"}
        assert quorin_np.geterr() == {"refused": "nan"}
    with pytest.raises(ValueError):
        quorin_np.errstate(refused="ignore")


# ---- dtypes ---------------------------------------------------------------------------------

@pytest.mark.parametrize("dtype", ["bool", "int8", "uint8", "int16", "uint16", "int32", "uint32",
                                   "int64", "uint64", "float16", "float32", "float64", "longdouble"])
def test_reals_accept_every_real_and_integer_dtype_as_the_scalar_conversion(dtype):
    info = np.iinfo(dtype) if np.dtype(dtype).kind in "iu" else None
    raw = [1, 2, 3] if info is None else [1, int(info.max), int(info.max) - 1]
    a = np.array(raw, dtype=dtype)
    got = quorin_np.mrna_halflife(a)
    want = [quorin.mrna_halflife(float(x)) for x in a.tolist()] if dtype != "longdouble" else \
        [quorin.mrna_halflife(float(x)) for x in a]
    assert bits(got).tolist() == bits(np.array(want)).tolist()


@pytest.mark.parametrize("dtype", ["bool", "int8", "uint16", "int32", "uint32", "int64", "uint64"])
def test_counts_accept_integer_dtypes(dtype):
    n = np.array([0, 1, 7], dtype=dtype)
    got = quorin_np.pcr_copies(2.0, 0.9, n)
    assert bits(got).tolist() == bits(np.array([quorin.pcr_copies(2.0, 0.9, int(k)) for k in n])).tolist()


@pytest.mark.parametrize("ufunc, args, message", [
    ("pcr_copies", (1.0, 1.0, np.array([-1])), "out of range integral type conversion attempted"),
    ("pcr_copies", (1.0, 1.0, np.array([2**32], np.uint64)), "out of range integral type conversion attempted"),
    ("pcr_copies", (1.0, 1.0, np.array([2**32])), "out of range integral type conversion attempted"),
    ("hardy_weinberg_test", (np.array([-1]), 1, 1), "can't convert negative int to unsigned"),
])
def test_counts_out_of_range_are_refused_as_the_scalar_conversion(ufunc, args, message):
    with pytest.raises(OverflowError) as caught:
        getattr(quorin_np, ufunc)(*args)
    assert str(caught.value) == message


def test_large_unsigned_counts_do_not_wrap():
    big = np.array([2**63 + 5], np.uint64)
    got = quorin_np.hardy_weinberg_test(big, 1, 1)
    assert [g[0] for g in got] == list(quorin.hardy_weinberg_test(2**63 + 5, 1, 1))


@pytest.mark.parametrize("bad", [np.array([2.0]), np.array([2.0], np.float32), np.array([1j]), 2.0])
def test_a_float_for_a_count_is_refused_not_truncated(bad):
    with pytest.raises(TypeError, match="argument 'n' is a count and takes integers"):
        quorin_np.pcr_copies(1.0, 1.0, bad)


@pytest.mark.parametrize("bad", [np.array(["1.0"]), np.array([1 + 2j]), np.array([None], object)])
def test_non_real_input_is_refused_with_a_type_error(bad):
    with pytest.raises(TypeError):
        quorin_np.bmi(bad, 1.0)


# ---- numpy.ufunc behaviour ------------------------------------------------------------------

def test_scalars_zero_d_out_where_and_dtype():
    assert isinstance(quorin_np.bmi, np.ufunc) and quorin_np.bmi.nin == 2
    assert type(quorin_np.bmi(70.0, 2.0)) is np.float64
    assert quorin_np.bmi(np.array(70.0), np.array(2.0)).shape == ()
    out = np.full(3, -7.0)
    r = quorin_np.bmi(np.array([70.0, -1.0, 80.0]), 2.0, out=out, where=[True, False, True])
    assert r is out and out.tolist() == [17.5, -7.0, 20.0]  # masked element neither computed nor refused
    assert quorin_np.bmi([70.0], [2.0], dtype=np.float64).tolist() == [17.5]
    out32 = np.empty(1, np.float32)
    quorin_np.bmi([70.0], [3.0], out=out32)
    assert out32[0] == np.float32(70.0 / 9.0)
    hw = quorin_np.hardy_weinberg(np.array([0.25, 0.5]))
    assert len(hw) == 3 and all(h.shape == (2,) for h in hw)
    assert quorin_np.biological_age_bound_full.nin == 6 and quorin_np.biological_age_bound.nin == 3


@pytest.mark.parametrize("shape", [(0,), (3, 0), (0, 4, 2)])
def test_zero_size_dimensions(shape):
    assert quorin_np.bmi(np.ones(shape), 2.0).shape == shape


def test_huge_broadcast_from_small_inputs():
    w = np.broadcast_to(np.float64(70.0), (10**8,))
    r = quorin_np.bmi(w, np.array([2.0, 4.0]).repeat(1)[:1])
    assert r.shape == (10**8,) and r[0] == r[-1] == 17.5


def test_object_elements_that_raise_in_float_give_a_clear_error():
    class Bad:
        def __float__(self):
            raise RuntimeError("no float here")
    with pytest.raises(TypeError):
        quorin_np.bmi(np.array([Bad()], object), 2.0)
    with pytest.raises(RuntimeError, match="no float here"):
        quorin_np.bmi(np.array([Bad()], object), 2.0, casting="unsafe")


def test_loops_run_without_the_interpreter_lock():
    # While one thread is inside a long ufunc call, another thread keeps running Python code.
    w = np.full(3 * 10**7, 70.0)
    ticks = []
    done = threading.Event()

    def tick():
        while not done.is_set():
            ticks.append(1)

    t = threading.Thread(target=tick)
    t.start()
    before = len(ticks)
    quorin_np.arrhenius_rate(w, w, w)
    during = len(ticks) - before
    done.set()
    t.join()
    assert during > 100


def test_the_array_guide_examples_run():
    doc = pathlib.Path(__file__).resolve().parent.parent / "docs" / "arrays.md"
    text = doc.read_text(encoding="utf-8")
    # One doctest of all blocks: later examples use what earlier ones defined.
    source = "".join(re.findall(r"^```python\n(.*?)^```$", text, re.M | re.S))
    test = doctest.DocTestParser().get_doctest(source, {}, "arrays.md", str(doc), 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE)
    failures = []
    runner.run(test, out=failures.append)
    assert runner.failures == 0, "".join(failures)


def test_quorin_works_without_numpy_and_quorin_np_says_how_to_get_it():
    code = ("import sys; sys.modules['numpy'] = None\n"
            "import quorin; assert quorin.bmi(70.0, 2.0) == 17.5\n"
            "try:\n    import quorin_np\nexcept ImportError as e:\n    print(e)\n")
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, check=True)
    assert "pip install 'quorin[numpy]'" in out.stdout


@pytest.mark.parametrize("entry", UFUNC_ENTRIES, ids=lambda e: e.name)
def test_ufunc_docstrings_give_signature_formula_and_checks(entry):
    doc = ufunc_of(entry).__doc__
    assert entry.name + entry.signature in doc and "Formula::" in doc
    assert entry.namespace is None or entry.namespace in doc
    test = doctest.DocTestParser().get_doctest(doc, {"quorin_np": quorin_np, "np": np}, entry.name, None, 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE)
    failures = []
    runner.run(test, out=failures.append)
    assert runner.failures == 0, "".join(failures)
