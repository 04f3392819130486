"""Property-based fuzzing of the call frame. For every registered function, random calls mix
positions and keywords (sometimes through the raw vector call, whose keyword names may repeat),
valid and invalid types, special floats and huge or negative integers. Each call is compared
with a model of binding and conversion written here:

- where binding or conversion fails, the exception's type and message must be exactly the
  model's;
- otherwise the result is of the function's result kind, or a ValueError whose message starts
  with the function's contract name, and it is the very outcome of calling the function with
  the converted plain values by position.

Examples per function: the "fuzz" profile (default) runs FUZZ_EXAMPLES; set QUORIN_FUZZ=long
for a longer local run (LONG_EXAMPLES per function).
"""

import ctypes
import math
import os

import pytest
from hypothesis import HealthCheck, event, given, settings
from hypothesis import strategies as st

import quorin
from catalogue import CATALOGUE, COUNT32, COUNT64, REAL, REALS, TEXT, TRIPLES, entries, result_matches
from exact import same

FUZZ_EXAMPLES = 120
LONG_EXAMPLES = 5000
settings.register_profile("fuzz", max_examples=FUZZ_EXAMPLES, deadline=None,
                          suppress_health_check=[HealthCheck.too_slow], print_blob=True)
settings.register_profile("long", max_examples=LONG_EXAMPLES, deadline=None,
                          suppress_health_check=[HealthCheck.too_slow], print_blob=True)
PROFILE = settings.get_profile(os.environ.get("QUORIN_FUZZ", "fuzz"))

ENTRIES = entries()


def test_catalogue_matches_the_module():
    """Every registered function is described here, in registration order, with its text
    signature; otherwise the fuzzing below would test the wrong thing."""
    names = list(quorin.__all__)
    assert all(n in CATALOGUE for n in names), [n for n in names if n not in CATALOGUE]
    order = list(CATALOGUE)
    assert [order.index(n) for n in names] == sorted(order.index(n) for n in names)
    for e in ENTRIES:
        assert e.function.__text_signature__ == e.signature, e.name


# ---- the model of conversion ----------------------------------------------------------------

class Failure(Exception):
    """The model's verdict: this exception type with this message."""

    def __init__(self, kind, message):
        super().__init__(kind, message)
        self.kind, self.message = kind, message


def tname(o):
    return type(o).__qualname__


def is_int(o):
    return isinstance(o, int)  # bool included


def real(o):
    if isinstance(o, float):
        return float(o)
    if is_int(o):
        try:
            return float(o)  # the interpreter's own rounding, and its OverflowError
        except OverflowError as e:
            raise Failure(OverflowError, str(e)) from None
    raise Failure(TypeError, f"must be real number, not {tname(o)}")


def count32(o):
    if not is_int(o):
        raise Failure(TypeError, f"'{tname(o)}' object cannot be interpreted as an integer")
    if not -2**63 <= o < 2**63:
        raise Failure(OverflowError, "Python int too large to convert to C long")
    if not 0 <= o < 2**32:
        raise Failure(OverflowError, "out of range integral type conversion attempted")
    return int(o)


def count64(o):
    if not is_int(o):
        raise Failure(TypeError, f"'{tname(o)}' object cannot be interpreted as an integer")
    if o < 0:
        raise Failure(OverflowError, "can't convert negative int to unsigned")
    if o >= 2**64:
        raise Failure(OverflowError, "int too big to convert")
    return int(o)


def text(o):
    if not isinstance(o, str):
        raise Failure(TypeError, f"'{tname(o)}' object cannot be converted to 'PyString'")
    try:
        o.encode("utf-8")
    except UnicodeEncodeError as e:
        raise Failure(UnicodeEncodeError, str(e)) from None
    return str(o)


SEQUENCES = (list, tuple, bytes, bytearray, range)  # the sequence types the strategies below make


def sequence(o, item):
    if isinstance(o, str):
        raise Failure(TypeError, "Can't extract `str` to `Vec`")
    if not isinstance(o, SEQUENCES):
        raise Failure(TypeError, f"'{tname(o)}' object cannot be converted to 'Sequence'")
    return [item(x) for x in o]


def triple(o):
    if not isinstance(o, tuple):
        raise Failure(TypeError, f"'{tname(o)}' object cannot be converted to 'PyTuple'")
    if len(o) != 3:
        raise Failure(ValueError, f"expected tuple of length 3, but got tuple of length {len(o)}")
    return tuple(real(x) for x in o)


CONVERT = {
    REAL: real, COUNT32: count32, COUNT64: count64, TEXT: text,
    REALS: lambda o: sequence(o, real), TRIPLES: lambda o: sequence(o, triple),
}


def convert(entry, slots):
    """Plain values in parameter order, or the Failure of the first parameter that fails
    (a TypeError renamed after the parameter, anything else as it is)."""
    out = []
    for i, (p, kind) in enumerate(zip(entry.params, entry.kinds)):
        if slots[i] is MISSING:
            out.append(entry.defaults[p])
            continue
        try:
            out.append(CONVERT[kind](slots[i]))
        except Failure as f:
            if f.kind is TypeError:
                raise Failure(TypeError, f"argument '{p}': {f.message}") from None
            raise
    return out


# ---- the model of binding -------------------------------------------------------------------

MISSING = object()


def names_list(names):
    quoted = [f"'{n}'" for n in names]
    if len(quoted) == 1:
        return quoted[0]
    if len(quoted) == 2:
        return f"{quoted[0]} and {quoted[1]}"
    return ", ".join(quoted[:-1]) + ", and " + quoted[-1]


def bind(entry, positional, keywords):
    """Slots in parameter order (MISSING where left out), or the binding Failure."""
    fn, params, p, r = entry.name + "()", entry.params, len(entry.params), entry.required
    n = len(positional)
    if n > p:
        verb = "was" if n == 1 else "were"
        if r == p:
            raise Failure(TypeError, f"{fn} takes {p} positional arguments but {n} {verb} given")
        raise Failure(TypeError, f"{fn} takes from {r} to {p} positional arguments but {n} {verb} given")
    slots = list(positional) + [MISSING] * (p - n)
    for name, value in keywords:
        if name not in params:
            raise Failure(TypeError, f"{fn} got an unexpected keyword argument '{name}'")
        i = params.index(name)
        if slots[i] is not MISSING:
            raise Failure(TypeError, f"{fn} got multiple values for argument '{name}'")
        slots[i] = value
    missing = [params[i] for i in range(r) if slots[i] is MISSING]
    if missing:
        word = "argument" if len(missing) == 1 else "arguments"
        raise Failure(TypeError, f"{fn} missing {len(missing)} required positional {word}: {names_list(missing)}")
    return slots


# ---- calling --------------------------------------------------------------------------------

_vectorcall = ctypes.pythonapi.PyObject_Vectorcall
_vectorcall.restype = ctypes.py_object
_vectorcall.argtypes = [ctypes.py_object, ctypes.POINTER(ctypes.py_object), ctypes.c_size_t,
                        ctypes.py_object]


def call(fn, positional, keywords, raw):
    """Calls fn; `raw` passes the keyword names through the vector call as they are, repeats
    included, which the language's own call syntax would reject or merge."""
    if raw and keywords:
        values = list(positional) + [v for _, v in keywords]
        vector = (ctypes.py_object * len(values))(*values)
        return _vectorcall(fn, vector, len(positional), tuple(k for k, _ in keywords))
    return fn(*positional, **dict(keywords))


def outcome(thunk):
    try:
        return ("value", thunk())
    except BaseException as e:  # noqa: BLE001 - every exception is an outcome to compare
        return ("raised", e)


# ---- strategies -----------------------------------------------------------------------------

SPECIAL_FLOATS = [0.0, -0.0, math.inf, -math.inf, math.nan, -math.nan, 5e-324, -5e-324,
                  2.2250738585072014e-308, 2.225073858507201e-308, 1.7976931348623157e308,
                  -1.7976931348623157e308, 1e-300, 1e300, 0.5, 1.0, -1.0, 140.0, 150.0, 1e-6,
                  1.0000001, 0.9999999]
BOUNDARY_INTS = [0, 1, 2, -1, 2**31 - 1, 2**31, 2**32 - 1, 2**32, 2**53 + 1, 2**63 - 1, 2**63,
                 -2**63, -2**63 - 1, 2**64 - 1, 2**64, -2**64, 2**1023, 2**1024, -2**1024,
                 2**1024 - 2**970, 2**1024 - 2**971, 10**400]


class FloatSub(float):
    pass


class IntSub(int):
    pass


class StrSub(str):
    pass


reals = st.one_of(
    st.floats(), st.sampled_from(SPECIAL_FLOATS), st.floats(-1e3, 1e3),
    st.floats().map(FloatSub),
)
ints = st.one_of(st.sampled_from(BOUNDARY_INTS), st.integers(-10, 10**6), st.booleans(),
                 st.integers(-2**1100, 2**1100), st.integers(0, 500).map(IntSub))
surrogate_texts = st.sampled_from(["\ud800", "A\udfffC", "\udc80\udc81", "GC\ud83d"])
texts = st.one_of(
    st.text("ACGUTacgutNn -", max_size=40), st.text(max_size=20), surrogate_texts,
    st.text("ACGU", max_size=30).map(StrSub),
)
triples = st.one_of(
    st.tuples(reals, reals, reals), st.tuples(reals, ints, reals),
    st.lists(reals, max_size=4).map(tuple), st.lists(reals, min_size=3, max_size=3),
)
junk = st.sampled_from([None, "x", "", b"x", b"", bytearray(b"\x01"), [1.0], (1.0, 2.0, 3.0), {}, {1.0},
                        1j, object(), Ellipsis, range(3), type])


def weighted(*choices):
    """A strategy that draws from choices[k][1] with probability proportional to choices[k][0]."""
    total = sum(w for w, _ in choices)

    @st.composite
    def pick(draw):
        x = draw(st.integers(0, total - 1))
        for w, strategy in choices:
            if x < w:
                return draw(strategy)
            x -= w
        raise AssertionError

    return pick()


count_edges = st.sampled_from([2**32 - 1, 2**32, 2**64 - 1, 2**64, -1, 0, 2**63 - 1, 2**63, -2**63,
                               -2**63 - 1, 2**31, 1, True, False])
small_ints = st.one_of(st.integers(-10, 10**6), st.integers(0, 500).map(IntSub), st.booleans())
VALID = {
    REAL: weighted((8, reals), (1, small_ints), (1, ints)),
    COUNT32: weighted((4, small_ints), (4, count_edges), (2, ints)),
    COUNT64: weighted((4, small_ints), (4, count_edges), (2, ints)),
    TEXT: texts,
    REALS: weighted((6, st.lists(weighted((9, reals), (1, ints)), max_size=6)),
                    (2, st.lists(st.floats(0, 1), max_size=4).map(tuple)),
                    (1, st.sampled_from([[0.25, 0.25, 0.5], (0.5, 0.5), range(2)])),
                    (1, st.binary(max_size=4))),
    TRIPLES: weighted((6, st.lists(st.tuples(reals, reals, reals), max_size=3)),
                      (3, st.lists(triples, max_size=4)),
                      (1, st.lists(st.tuples(reals, reals, reals), min_size=1, max_size=2).map(tuple))),
}


def value_for(kind):
    """Mostly a value of the parameter's kind; one in ten is of another kind or junk."""
    other = texts if kind != TEXT else reals
    return weighted((18, VALID[kind]), (1, junk), (1, other))


@st.composite
def call_vectors(draw, entry):
    """(positional values, ordered (name, value) keywords, raw vector call or not)."""
    params, p = entry.params, len(entry.params)
    # Hypothesis leans towards small draws, so the rare branch is the largest one.
    one_in = lambda n: draw(st.integers(0, n - 1)) == n - 1  # noqa: E731
    n = draw(st.integers(p + 1, p + 2)) if one_in(12) else draw(st.integers(0, p))
    positional = [draw(value_for(entry.kinds[i] if i < p else REAL)) for i in range(n)]
    keywords = []
    sparse = one_in(6)  # leave out about half of the remaining parameters
    for i in range(n, p):
        if (i >= entry.required and one_in(3)) or (one_in(2) if sparse else one_in(30)):
            continue
        keywords.append((params[i], draw(value_for(entry.kinds[i]))))
    if n and one_in(20):  # a keyword for a parameter given by position
        i = draw(st.integers(0, min(n, p) - 1))
        keywords.append((params[i], draw(value_for(entry.kinds[i]))))
    if one_in(20):  # a name that is no parameter
        bogus = draw(st.sampled_from(["bogus", params[0].upper(), params[0] + "_", "", "é", "\udc80"]))
        keywords.append((bogus, draw(value_for(REAL))))
    keywords = draw(st.permutations(keywords)) if keywords else []
    raw = draw(st.booleans())
    if raw and keywords and one_in(10):  # a repeated name, vector call only
        keywords.append(draw(st.sampled_from(keywords)))
    if not raw:
        # Without the vector call, Python itself merges or rejects repeats before calling.
        seen, unique = set(), []
        for k, v in keywords:
            if k not in seen:
                seen.add(k)
                unique.append((k, v))
        keywords = unique
    return positional, keywords, raw


# ---- the property ---------------------------------------------------------------------------

def check(entry, positional, keywords, raw):
    fn = entry.function
    got = outcome(lambda: call(fn, positional, keywords, raw))
    try:
        slots = bind(entry, positional, keywords)
        plain = convert(entry, slots)
    except Failure as f:
        event("binding error" if not f.message.startswith("argument '") and f.kind is TypeError
              and "()" in f.message else f"conversion error: {f.kind.__name__}")
        assert got[0] == "raised", f"expected {f.kind.__name__}: {f.message}, got {got[1]!r}"
        e = got[1]
        assert type(e) is f.kind and str(e) == f.message, f"expected {f.kind.__name__}({f.message!r}), got {e!r}"
        if f.kind is TypeError and f.message.startswith("argument '"):
            assert e.__cause__ is None and e.__suppress_context__
        return
    event("result" if got[0] == "value" else "failed precondition")
    if got[0] == "value":
        assert result_matches(entry, got[1]), f"{got[1]!r} is not a {entry.result}"
    else:
        e = got[1]
        assert type(e) is ValueError and entry.namespace is not None, repr(e)
        assert len(e.args) == 1 and e.args[0].startswith(entry.namespace + ": "), repr(e)
    # The conversion is transparent: the plain converted values by position give the same.
    again = outcome(lambda: fn(*plain))
    if got[0] == "value":
        assert again[0] == "value" and same(again[1], got[1]), (got, again)
    else:
        assert again[0] == "raised" and type(again[1]) is ValueError and again[1].args == got[1].args


@pytest.mark.parametrize("entry", ENTRIES, ids=[e.name for e in ENTRIES])
@settings(PROFILE)
@given(data=st.data())
def test_fuzz_call_frame(entry, data):
    check(entry, *data.draw(call_vectors(entry), label="call"))
