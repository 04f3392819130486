"""quorin_np where NumPy alone would not agree with the scalar functions: the first refusal and
its flat index in C order on every layout, with where= and masks counted; masked arrays; counts
up to 2**64 - 1 in every form; an odd refusal mode; Ctrl-C in long calls; sub-interpreters."""

import re
import subprocess
import sys
import textwrap
import warnings

import pytest

np = pytest.importorskip("numpy")
pd = pytest.importorskip("pandas")
import quorin  # noqa: E402
import quorin_np  # noqa: E402
from stopping import outcome_of_interrupted  # noqa: E402

# ---- the first refusal in C order -----------------------------------------------------------

# mrna_halflife_concentration(initial, decay_rate, time) refuses initial <= 0 and time < 0 with
# two messages, so a wrong "first" shows in the message as well as in the index.
INITIAL = np.array([[5.0, 5.0, 5.0, -1.0],
                    [5.0, 5.0, 5.0, 5.0],
                    [5.0, 5.0, 5.0, 5.0]])
TIME = np.array([[1.0, 1.0, 1.0, 1.0],
                 [1.0, 1.0, -1.0, 1.0],
                 [-1.0, 1.0, 1.0, 1.0]])
SKIP_FIRST_ROW = np.array([[False] * 4, [True] * 4, [True] * 4])


def first_refusal_by_the_scalar(initial, time, selected):
    """(count, flat index, message) of the refusals, walking the result in C order."""
    found = []
    for i, at in enumerate(np.ndindex(selected.shape)):
        if selected[at]:
            try:
                quorin.mrna_halflife_concentration(float(initial[at]), 0.1, float(time[at]))
            except ValueError as error:
                found.append((i, str(error)))
    return len(found), found[0][0], found[0][1]


def raw(a):
    return np.ma.getdata(a) if isinstance(a, np.ma.MaskedArray) else np.asarray(a)


LAYOUTS = {  # name: (initial, time, keyword arguments, the elements computed)
    "C order": (INITIAL, TIME, {}, None),
    "Fortran order": (np.asfortranarray(INITIAL), np.asfortranarray(TIME), {}, None),
    "transposed": (INITIAL.T.copy().T, TIME.T.copy().T, {}, None),
    "negative strides": (INITIAL[::-1, ::-1].copy()[::-1, ::-1], TIME[::-1].copy()[::-1], {}, None),
    "byte-swapped, Fortran": (np.asfortranarray(INITIAL).astype(">f8"), TIME, {}, None),
    "broadcast": (INITIAL[:1], np.asfortranarray(TIME), {}, None),
    "where=": (np.asfortranarray(INITIAL), TIME,
               {"where": SKIP_FIRST_ROW, "out": np.zeros((3, 4))}, SKIP_FIRST_ROW),
    "where= into Fortran float32": (INITIAL, np.asfortranarray(TIME),
                                    {"where": SKIP_FIRST_ROW,
                                     "out": np.zeros((3, 4), np.float32, order="F")},
                                    SKIP_FIRST_ROW),
    "masked array": (np.ma.array(np.asfortranarray(INITIAL), mask=~SKIP_FIRST_ROW), TIME, {},
                     SKIP_FIRST_ROW),
    "in place, Fortran": (np.asfortranarray(INITIAL), "out", {}, None),
}


def layout_call(name):
    initial, time, kwargs, selected = LAYOUTS[name]
    if isinstance(time, str):  # the output is the time array itself
        time = np.asfortranarray(TIME)
        kwargs = {"out": time}
    kwargs = {k: (v.copy(order="K") if k == "out" and v is not time else v)
              for k, v in kwargs.items()}
    shape = np.broadcast_shapes(np.shape(initial), np.shape(time))
    selected = np.ones(shape, bool) if selected is None else selected
    want = first_refusal_by_the_scalar(np.broadcast_to(raw(initial), shape),
                                       np.broadcast_to(raw(time), shape), selected)
    return (lambda: quorin_np.mrna_halflife_concentration(initial, 0.1, time, **kwargs)), want


def flat_index(text):
    return int(re.search(r"at flat index (\d+)", text).group(1))


@pytest.mark.parametrize("name", LAYOUTS)
def test_raise_reports_the_first_refusal_in_c_order(name):
    call, (_, index, message) = layout_call(name)
    with pytest.raises(ValueError) as caught:
        call()
    assert str(caught.value) == message
    assert caught.value.__notes__ == [
        f"quorin_np.mrna_halflife_concentration: refused the element at flat index {index}"]


@pytest.mark.parametrize("name", LAYOUTS)
def test_warn_counts_every_refusal_and_names_the_first_in_c_order(name):
    call, (count, index, message) = layout_call(name)
    with quorin_np.errstate(refused="warn"), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        call()
    (warning,) = [w for w in seen if w.category is RuntimeWarning]
    assert str(warning.message) == (
        f"quorin_np.mrna_halflife_concentration: {count} element(s) refused and set to NaN; "
        f"the first, at flat index {index}: {message}")


def test_where_and_nullable_columns_count_the_elements_left_out():
    h = np.full(40, 1.75)
    h[30] = 0.0
    computed = np.arange(40) >= 10
    with pytest.raises(ValueError) as caught:
        quorin_np.bmi(np.full(40, 70.0), h, out=np.zeros(40), where=computed)
    assert flat_index(caught.value.__notes__[0]) == 30
    column = pd.Series([pd.NA, 1.75, 0.0], dtype="Float64")
    with pytest.raises(ValueError) as caught:
        quorin_np.bmi(70.0, column)
    assert flat_index(caught.value.__notes__[0]) == 2


def test_a_generalised_ufunc_reports_the_first_refusal_of_its_loop_in_c_order():
    d0 = np.asfortranarray(np.ones((4, 5)))
    d0[3, 0] = d0[1, 4] = 0.0
    with pytest.raises(ValueError, match="d₀ must be non-zero") as caught:
        quorin_np.tm_score(np.ones((4, 5, 3)), 3, d0)
    assert flat_index(caught.value.__notes__[0]) == 9


# ---- numpy.ma -------------------------------------------------------------------------------

def test_masked_elements_are_neither_computed_nor_refused_in_any_mode():
    w = np.ma.array([70.0, 80.0, 90.0], mask=[False, True, False])
    h = np.array([1.75, 0.0, 1.80])  # the masked element would be refused
    for mode in ["raise", "nan", "warn"]:
        with quorin_np.errstate(refused=mode), warnings.catch_warnings():
            warnings.simplefilter("error")
            got = quorin_np.bmi(w, h)
        assert isinstance(got, np.ma.MaskedArray) and got.mask.tolist() == [False, True, False]
        assert got.compressed().tolist() == [quorin.bmi(70.0, 1.75), quorin.bmi(90.0, 1.80)]


def test_masked_outputs_lists_and_scalars():
    outs = quorin_np.hardy_weinberg(np.ma.array([0.5, 2.0], mask=[False, True]))
    assert len(outs) == 3 and all(o.mask.tolist() == [False, True] for o in outs)
    # A list with a masked element is not computed: its result is masked.
    p = np.ma.array([[0.5, 0.5], [0.9, 0.9]], mask=[[False, False], [False, True]])
    got = quorin_np.shannon_entropy_dist(p)
    assert got.mask.tolist() == [False, True] and got[0] == quorin.shannon_entropy_dist([0.5, 0.5])
    assert quorin_np.bmi(np.ma.array(70.0, mask=True), 0.0) is np.ma.masked


# ---- counts ---------------------------------------------------------------------------------

LIMITS = [2**32 - 1, 2**32, 2**63 - 1, 2**63, 2**64 - 1, 2**64, -1, -2**63 - 1]
COUNT_CALLS = {  # the scalar call and its ufunc, with the count in the last place given
    "pcr_copies (32-bit)": (lambda n: quorin.pcr_copies(10.0, 1.5, n),
                            lambda n: quorin_np.pcr_copies(10.0, 1.5, n)),
    "hardy_weinberg_test (64-bit)": (lambda n: quorin.hardy_weinberg_test(5, 5, n)[1],
                                     lambda n: quorin_np.hardy_weinberg_test(5, 5, n)[1]),
    "tm_score (64-bit, a generalised ufunc)": (lambda n: quorin.tm_score([0.5, 1.0, 2.0], n, 1.5),
                                               lambda n: quorin_np.tm_score([0.5, 1.0, 2.0], n, 1.5)),
}


def forms(n):
    """The count as a Python int, an object array, a list, and the integer arrays that hold it."""
    out = {"int": n, "object array": np.array([n], object), "list": [n]}
    for dtype in (np.int64, np.uint64):
        if np.iinfo(dtype).min <= n <= np.iinfo(dtype).max:
            out[np.dtype(dtype).name] = np.array([n], dtype)
    return out


def outcome(call, n):
    try:
        return "value", float(np.asarray(call(n)).reshape(-1)[0])
    except (OverflowError, ValueError, TypeError) as error:
        return type(error), str(error)


@pytest.mark.parametrize("name", COUNT_CALLS)
@pytest.mark.parametrize("n", LIMITS, ids=str)
def test_counts_at_every_limit_as_the_scalar_function(name, n):
    scalar, ufunc = COUNT_CALLS[name]
    want = outcome(scalar, n)
    for form, value in forms(n).items():
        assert outcome(ufunc, value) == want, form
        with quorin_np.errstate(refused="nan"):
            got = np.asarray(ufunc(value)).reshape(-1)[0]
        assert np.isnan(got) if want[0] != "value" else got == want[1], form


def test_objects_for_counts_are_refused_element_by_element():
    n = np.array([3, 2**64, 1.5, -1], object)
    with quorin_np.errstate(refused="warn"), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        got = quorin_np.pcr_copies(10.0, 1.5, n)
    assert got[0] == quorin.pcr_copies(10.0, 1.5, 3) and np.isnan(got[1:]).all()
    assert str(seen[0].message).endswith(
        "3 element(s) refused and set to NaN; the first, at flat index 1: "
        "Python int too large to convert to C long")
    with pytest.raises(TypeError) as caught:
        quorin_np.pcr_copies(10.0, 1.5, n[2:])
    assert str(caught.value) == "argument 'n': 'float' object cannot be interpreted as an integer"


def test_the_first_count_refused_in_parameter_order_decides():
    # At element 0 the third count is beyond uint64; at element 1 the first is negative.
    with pytest.raises(OverflowError) as caught:
        quorin_np.hardy_weinberg_test(np.array([5, -1]), 5, np.array([2**64, 5], object))
    assert str(caught.value) == "int too big to convert"
    assert flat_index(caught.value.__notes__[0]) == 0
    with pytest.raises(OverflowError, match="negative") as caught:
        quorin_np.hardy_weinberg_test(np.array([5, -1]), 5, np.array([5, 2**64], object))
    assert flat_index(caught.value.__notes__[0]) == 1


def test_counts_beyond_int64_beside_pandas_and_dask_keep_their_containers():
    da = pytest.importorskip("dask.array")
    got = quorin_np.hardy_weinberg_test(pd.Series([5, 6], index=["a", "b"]), 5, 2**63)[1]
    assert isinstance(got, pd.Series) and list(got.index) == ["a", "b"]
    assert got["a"] == quorin.hardy_weinberg_test(5, 5, 2**63)[1]
    with quorin_np.errstate(refused="nan"):
        lazy = quorin_np.pcr_copies(10.0, 1.5, da.from_array(np.array([1, 2**64, 3], object), 2))
    assert isinstance(lazy, da.Array)
    got = lazy.compute()
    assert np.isnan(got[1]) and got[2] == quorin.pcr_copies(10.0, 1.5, 3)


# ---- the mode variable ----------------------------------------------------------------------

class Unprintable:
    def __repr__(self):
        raise RuntimeError("no repr")


@pytest.mark.parametrize("value", [1.5, None, "NaN", b"nan", ["nan"], Unprintable()],
                         ids=["float", "None", "NaN", "bytes", "list", "unprintable"])
def test_an_odd_refusal_mode_is_a_clear_error_not_a_crash(value):
    token = quorin_np._core.refused.set(value)
    try:
        for call in (lambda: quorin_np.bmi(70.0, 1.75), lambda: quorin_np.gc_content("ACGU")):
            with pytest.raises((ValueError, RuntimeError)) as caught:
                call()
            assert "refusal mode" in str(caught.value) or "no repr" in str(caught.value)
    finally:
        quorin_np._core.refused.reset(token)
    assert quorin_np.bmi(70.0, 2.0) == 17.5


# ---- Ctrl-C and sub-interpreters ------------------------------------------------------------

LONG_CALLS = {  # minutes of work over inputs (and an output) of a few bytes
    "ufunc over 10**11 elements": (
        "import numpy as np, quorin_np\n"
        "from numpy.lib.stride_tricks import as_strided\n"
        "x = np.broadcast_to(1.0, (10**11,))\n"
        "out = as_strided(np.empty(1), shape=x.shape, strides=(0,))",
        "quorin_np.arrhenius_rate(x, x, x, out=out)"),
    "generalised ufunc over 10**12 terms": (
        "import numpy as np, quorin_np\np = np.broadcast_to(1e-6, (10**6, 10**6))",
        "quorin_np.shannon_entropy_dist(p)"),
}


@pytest.mark.parametrize("case", LONG_CALLS)
def test_a_long_call_stops_for_a_signal(case):
    setup, job = LONG_CALLS[case]
    assert outcome_of_interrupted(setup, job) == ["interrupted"]


@pytest.mark.parametrize("config", ["isolated", "legacy"])
def test_a_sub_interpreter_is_told_that_numpy_cannot_load_twice(config):
    pytest.importorskip("_interpreters")
    script = textwrap.dedent(f"""
        import _interpreters, numpy
        interp = _interpreters.create(_interpreters.new_config({config!r}))
        failure = _interpreters.run_string(interp, "import sys; sys.path[:] = %r\\nimport quorin_np"
                                           % sys.path)
        print(failure.type.__name__, failure.msg)
    """)
    out = subprocess.run([sys.executable, "-c", "import sys\n" + script], capture_output=True,
                         text=True, timeout=120, check=True).stdout
    assert out.startswith("ImportError") and "NumPy cannot be loaded twice in one process" in out
