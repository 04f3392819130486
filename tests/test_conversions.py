"""Conversion of text, list-of-real, count64 and list-of-triple arguments, and the errors they
raise, observed through the functions that take those kinds."""

import gc
import math
import sys

import pytest

import quorin
from exact import assert_same


def raised(call):
    with pytest.raises(BaseException) as e:
        call()
    return e.value


def check_remapped(exc, message):
    """A TypeError re-raised under the parameter's name: exactly TypeError, the message, and the
    original's cause (None here) installed with the context suppressed."""
    assert type(exc) is TypeError
    assert exc.args == (message,)
    assert exc.__cause__ is None
    assert exc.__suppress_context__ is True


class Outer:
    class Inner:
        pass


class FloatLike:
    def __init__(self, v):
        self.v = v

    def __float__(self):
        return self.v


class IndexLike:
    def __init__(self, v):
        self.v = v

    def __index__(self):
        return self.v


class Text(str):
    pass


# ---- text ------------------------------------------------------------------------------------

@pytest.mark.parametrize("call, message", [
    (lambda: quorin.gc_content(b"ACGU"),
     "argument 'sequence': 'bytes' object cannot be converted to 'PyString'"),
    (lambda: quorin.gc_content(bytearray(b"GC")),
     "argument 'sequence': 'bytearray' object cannot be converted to 'PyString'"),
    (lambda: quorin.gc_content(None),
     "argument 'sequence': 'NoneType' object cannot be converted to 'PyString'"),
    (lambda: quorin.gc_content(["G"]),
     "argument 'sequence': 'list' object cannot be converted to 'PyString'"),
    (lambda: quorin.gc_content(Outer.Inner()),
     "argument 'sequence': 'Outer.Inner' object cannot be converted to 'PyString'"),
    # The empty bytes would fail the precondition; conversion comes first.
    (lambda: quorin.gc_content(b""),
     "argument 'sequence': 'bytes' object cannot be converted to 'PyString'"),
    # seq1 is converted, and reported, before seq2 is looked at.
    (lambda: quorin.sequence_identity(1, b"A"),
     "argument 'seq1': 'int' object cannot be converted to 'PyString'"),
    (lambda: quorin.sequence_identity("", 2.5),
     "argument 'seq2': 'float' object cannot be converted to 'PyString'"),
    (lambda: quorin.sequence_identity(seq2=3, seq1="A"),
     "argument 'seq2': 'int' object cannot be converted to 'PyString'"),
])
def test_text_refuses_non_str(call, message):
    check_remapped(raised(call), message)


@pytest.mark.parametrize("call", [
    lambda: quorin.gc_content("\ud800"),
    lambda: quorin.gc_content("GC\udfff"),
    lambda: quorin.sequence_identity("\udc80", b"x"),  # seq1 fails before seq2's type matters
    lambda: quorin.sequence_identity("A", "\ud83d"),
])
def test_text_lone_surrogate_is_the_interpreters_error(call):
    exc = raised(call)
    assert type(exc) is UnicodeEncodeError
    assert exc.encoding == "utf-8" and exc.reason == "surrogates not allowed"
    assert "argument" not in str(exc)


def test_text_accepts_str_subclasses():
    assert_same(quorin.gc_content(Text("GCAT")), 0.5)
    assert_same(quorin.sequence_identity(Text("AC"), "AG"), 0.5)


# ---- list of real ----------------------------------------------------------------------------

class FloatRaises:
    """An element whose conversion raises `exc`, optionally chained from `cause`."""

    def __init__(self, exc, cause=None):
        self.exc, self.cause = exc, cause

    def __float__(self):
        if self.cause is not None:
            raise self.exc from self.cause
        raise self.exc


class Seq:
    """A sequence that is not a list or tuple, with a configurable (possibly lying) length."""

    def __init__(self, items, length=None, fail_at=None):
        self.items, self.length, self.fail_at = items, length, fail_at

    def __len__(self):
        if isinstance(self.length, BaseException):
            raise self.length
        return len(self.items) if self.length is None else self.length

    def __getitem__(self, k):
        if k == self.fail_at:
            raise RuntimeError("broken sequence")
        return self.items[k]


@pytest.mark.parametrize("value, message", [
    ("0.5", "argument 'probabilities': Can't extract `str` to `Vec`"),
    ("", "argument 'probabilities': Can't extract `str` to `Vec`"),
    (Text("1"), "argument 'probabilities': Can't extract `str` to `Vec`"),
    (5, "argument 'probabilities': 'int' object cannot be converted to 'Sequence'"),
    (None, "argument 'probabilities': 'NoneType' object cannot be converted to 'Sequence'"),
    ({0.5: 1, 0.5000001: 2}, "argument 'probabilities': 'dict' object cannot be converted to 'Sequence'"),
    ({1.0}, "argument 'probabilities': 'set' object cannot be converted to 'Sequence'"),
    (frozenset([1.0]), "argument 'probabilities': 'frozenset' object cannot be converted to 'Sequence'"),
    ((x for x in [1.0]), "argument 'probabilities': 'generator' object cannot be converted to 'Sequence'"),
    (iter([1.0]), "argument 'probabilities': 'list_iterator' object cannot be converted to 'Sequence'"),
    ([0.5, "x"], "argument 'probabilities': must be real number, not str"),
    ((0.5, None), "argument 'probabilities': must be real number, not NoneType"),
    (Seq([0.5, [0.5]]), "argument 'probabilities': must be real number, not list"),
    ([FloatRaises(TypeError("no float today"))], "argument 'probabilities': no float today"),
])
def test_real_list_type_errors(value, message):
    check_remapped(raised(lambda: quorin.shannon_entropy_dist(value)), message)


def test_real_list_remapped_error_keeps_the_original_cause():
    cause = KeyError("why")
    exc = raised(lambda: quorin.shannon_entropy_dist([1.0, FloatRaises(TypeError("bad"), cause)]))
    assert type(exc) is TypeError and exc.args == ("argument 'probabilities': bad",)
    assert exc.__cause__ is cause
    assert exc.__suppress_context__ is True


class MyTypeError(TypeError):
    pass


@pytest.mark.parametrize("value, kind, text", [
    ([10**400], OverflowError, "int too large to convert to float"),
    ([FloatRaises(ValueError("not this one"))], ValueError, "not this one"),
    # A subclass of TypeError is not remapped: only exactly TypeError is.
    ([FloatRaises(MyTypeError("subclass"))], MyTypeError, "subclass"),
    (Seq([1.0, 2.0], fail_at=1), RuntimeError, "broken sequence"),
])
def test_real_list_other_errors_unchanged(value, kind, text):
    exc = raised(lambda: quorin.shannon_entropy_dist(value))
    assert type(exc) is kind and str(exc) == text


@pytest.mark.parametrize("value, expected", [
    ([FloatLike(0.5), 0.5], math.log(2)),
    ([True], 0.0),                                   # bool is 1.0
    ([1], 0.0),
    (Seq([0.5, 0.5]), math.log(2)),
    (Seq([0.5, 0.5], length=10**6), math.log(2)),     # a length that lies too high
    (Seq([0.5, 0.5], length=0), math.log(2)),         # ... or too low
    (Seq([0.5, 0.5], length=ValueError("no len")), math.log(2)),  # a failing length is ignored
    (memoryview(b"\x01"), 0.0),
    (bytearray(b"\x00\x01"), 0.0),
])
def test_real_list_accepts_sequences(value, expected):
    assert_same(quorin.shannon_entropy_dist(value), expected)


def test_real_list_survives_mutation_during_conversion():
    ps = [0.25, None, 0.25]

    class Shrinks:
        def __float__(self):
            ps.clear()
            gc.collect()
            return 0.5

    ps[1] = Shrinks()
    # The list is walked as its iterator would: after the clear it has no further element.
    with pytest.raises(ValueError) as e:
        quorin.shannon_entropy_dist(ps)
    assert e.value.args == ("Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 0.75000000)",)


def test_real_list_does_not_leak_elements():
    element = FloatLike(0.5)
    before = sys.getrefcount(element)
    for _ in range(100):
        quorin.shannon_entropy_dist([element, element])
        with pytest.raises(TypeError):
            quorin.shannon_entropy_dist([element, "x"])
    assert sys.getrefcount(element) == before
