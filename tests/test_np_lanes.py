"""The vector loops of quorin_np against the scalar functions, bit for bit, at every level of
vector loop this processor has (none, two lanes, four): special values in every lane position,
every length up to 17 (the tails), broadcast and strided operands, and refusals among valid
lanes in every refusal mode."""

import struct
import warnings

import pytest

np = pytest.importorskip("numpy")
import quorin  # noqa: E402
import quorin_np  # noqa: E402

WIDEST = quorin_np._core._lanes()[1]


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def from_bits(b):
    return struct.unpack("<d", struct.pack("<Q", b))[0]


# Every kind of value a check or an operation treats apart: NaNs with payloads (quiet, signaling,
# negative), signed zeros and infinities, subnormals, the smallest normal, the largest finite, and
# each check's bound with its neighbours.
SPECIALS = [from_bits(b) for b in (0x7FF8000000000123, 0xFFF8000000000456, 0x7FF0000000000001)] + [
    0.0, -0.0, np.inf, -np.inf, 5e-324, -5e-324, 2.2250738585072014e-308, 1.7976931348623157e308,
    -1.5, 1.0, np.nextafter(1.0, 2.0), np.nextafter(1.0, 0.0), 140.0, np.nextafter(140.0, 0.0),
    150.0, np.nextafter(150.0, 200.0), 0.5, 1e-300, 1e300]

# The ufuncs over reals alone with a scalar function of the same name.
REAL_UFUNCS = sorted(
    name for name in dir(quorin_np)
    if isinstance(getattr(quorin_np, name), np.ufunc) and hasattr(quorin, name)
    and getattr(quorin_np, name).signature is None
    and not quorin_np._core._count_inputs(getattr(quorin_np, name)))


@pytest.fixture(params=range(WIDEST + 1), ids=lambda level: f"lanes{level}")
def level(request):
    old = quorin_np._core._lanes(request.param)
    yield request.param
    quorin_np._core._lanes(old)


def scalar(name, *columns):
    """The scalar function element by element, one row per output; a refusal is NaN, as in the
    "nan" mode."""
    f, nout = getattr(quorin, name), getattr(quorin_np, name).nout
    out = []
    for args in zip(*(np.broadcast_arrays(*columns))):
        try:
            out.append(f(*map(float, args)))
        except ValueError:
            out.append((np.nan,) * nout if nout > 1 else np.nan)
    return np.array(out, dtype=np.float64).reshape(-1, nout).T


def assert_same_bits(got, expected):
    got, expected = np.array(got, np.float64, ndmin=2).reshape(expected.shape), expected
    differ = np.argwhere(got.view(np.uint64) != expected.view(np.uint64))
    assert differ.size == 0, f"first difference at {differ[0]}: {got[*differ[0]]!r} vs {expected[*differ[0]]!r}"


def background(nin, n, seed):
    """Values every contract over reals accepts: positive, below every upper bound."""
    return [np.random.default_rng(seed + k).uniform(0.25, 0.9, n) for k in range(nin)]


@pytest.mark.parametrize("name", REAL_UFUNCS)
def test_special_values_in_every_lane_position(name, level):
    ufunc = getattr(quorin_np, name)
    for k in range(ufunc.nin):
        for value in SPECIALS:
            columns = background(ufunc.nin, 40, 0)
            columns[k][::5] = value  # every 5th element: each lane position of 2 and 4 in turn
            with quorin_np.errstate(refused="nan"):
                got = ufunc(*columns)
            assert_same_bits(got, scalar(name, *columns))


@pytest.mark.parametrize("name", REAL_UFUNCS)
def test_every_length_and_layout(name, level):
    ufunc = getattr(quorin_np, name)
    rng = np.random.default_rng(len(name))
    for n in range(18):
        # A special value in about a third of the elements, in one input of each: which NaN
        # comes out of an operation on two NaNs is the instruction's choice, in the scalar
        # function as well.
        special = np.where(rng.random(n) < 0.35, rng.integers(ufunc.nin, size=n), -1)
        columns = [np.where(special == k, rng.choice(SPECIALS, n), rng.uniform(0.25, 0.9, n))
                   for k in range(ufunc.nin)]
        layouts = [columns, [np.repeat(c, 2)[::2] for c in columns]]  # contiguous, strided
        if ufunc.nin > 1 and n > 0:  # one input broadcast: a 0-d first one, a length-1 last one
            layouts += [[np.float64(0.5)] + columns[1:], columns[:-1] + [columns[-1][:1]]]
        for operands in layouts:
            with quorin_np.errstate(refused="nan"):
                got = ufunc(*operands)
            assert_same_bits(got, scalar(name, *operands))
    out = tuple(np.empty(17) for _ in range(ufunc.nout))
    columns = background(ufunc.nin, 17, 1)
    with quorin_np.errstate(refused="nan"):
        got = ufunc(*columns, out=out)
    assert all(a is b for a, b in zip(got if ufunc.nout > 1 else (got,), out))
    assert_same_bits(out, scalar(name, *columns))


# (ufunc, the input refused, a value it refuses)
REFUSALS = [("bmi", 1, 0.0), ("michaelis_menten", 2, -1.0), ("cockcroft_gault", 0, 140.0),
            ("fret_efficiency", 1, 0.0), ("telomere_length_bound", 0, -1.0), ("senolytic_healthy_damage", 0, np.nan)]


@pytest.mark.parametrize("name, k, bad", REFUSALS)
@pytest.mark.parametrize("at", [0, 1, 2, 3, 4, 7, 8, 10])
def test_a_refused_lane_among_valid_ones(name, k, bad, at, level):
    ufunc = getattr(quorin_np, name)
    columns = background(ufunc.nin, 11, 2)
    columns[k][at] = bad
    try:
        getattr(quorin, name)(*(float(c[at]) for c in columns))
        pytest.fail("the scalar function accepts the value meant to be refused")
    except ValueError as error:
        message = str(error)
    expected = scalar(name, *columns)
    with pytest.raises(ValueError) as raised:
        ufunc(*columns)
    assert str(raised.value) == message
    assert f"flat index {at}" in " ".join(raised.value.__notes__)
    with quorin_np.errstate(refused="nan"):
        assert_same_bits(ufunc(*columns), expected)
    with quorin_np.errstate(refused="warn"), warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        got = ufunc(*columns)
    assert_same_bits(got, expected)
    assert [f"1 element(s) refused and set to NaN; the first, at flat index {at}: {message}" in str(w.message)
            for w in caught] == [True]

