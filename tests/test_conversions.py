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


# ---- count64 ---------------------------------------------------------------------------------

class IntSub(int):
    pass


class IndexRaises:
    def __init__(self, exc, cause=None):
        self.exc, self.cause = exc, cause

    def __index__(self):
        if self.cause is not None:
            raise self.exc from self.cause
        raise self.exc


HALF = (0.5, 0.0, 0.5, 1.0)


@pytest.mark.parametrize("counts", [
    (1, 0, 1),
    (True, False, True),
    (IntSub(1), 0, IntSub(1)),
    (IndexLike(1), IndexLike(0), IndexLike(1)),
    (2**62, 0, 2**62),               # beyond the compact integers
    (IntSub(2**64 - 1), 0, 2**64 - 1),
    (IndexLike(2**64 - 1), 0, 2**64 - 1),
])
def test_count64_accepts_ints_and_index(counts):
    assert_same(quorin.hardy_weinberg_test(*counts), HALF)


@pytest.mark.parametrize("counts, message", [
    ((-1, 1, 1), "can't convert negative int to unsigned"),
    ((1, -2**70, 1), "can't convert negative int to unsigned"),
    ((1, 1, IntSub(-5)), "can't convert negative int to unsigned"),
    ((IndexLike(-1), 1, 1), "can't convert negative int to unsigned"),
    ((2**64, 1, 1), "int too big to convert"),
    ((1, 2**200, 1), "int too big to convert"),
    ((1, 1, IndexLike(2**64)), "int too big to convert"),
    ((0, 0, -1), "can't convert negative int to unsigned"),  # before the zero-total check
])
def test_count64_out_of_range_is_the_interpreters_overflow(counts, message):
    exc = raised(lambda: quorin.hardy_weinberg_test(*counts))
    assert type(exc) is OverflowError and exc.args == (message,)


@pytest.mark.parametrize("counts, message", [
    ((1.0, 1, 1), "argument 'n_aa_dom': 'float' object cannot be interpreted as an integer"),
    ((1, "1", 1), "argument 'n_aa_het': 'str' object cannot be interpreted as an integer"),
    ((1, 1, None), "argument 'n_aa_rec': 'NoneType' object cannot be interpreted as an integer"),
    ((IndexLike("x"), 1, 1), "argument 'n_aa_dom': __index__ returned non-int (type str)"),
    ((IndexRaises(TypeError("no index")), 1, 1), "argument 'n_aa_dom': no index"),
    ((1, [1], -1), "argument 'n_aa_het': 'list' object cannot be interpreted as an integer"),
    # The first argument that fails decides, before any later one is looked at.
    ((2.5, -1, 2**64), "argument 'n_aa_dom': 'float' object cannot be interpreted as an integer"),
])
def test_count64_type_errors(counts, message):
    check_remapped(raised(lambda: quorin.hardy_weinberg_test(*counts)), message)


def test_count64_remapped_error_keeps_the_original_cause():
    cause = LookupError("underneath")
    exc = raised(lambda: quorin.hardy_weinberg_test(1, IndexRaises(TypeError("t"), cause), 1))
    assert type(exc) is TypeError and exc.args == ("argument 'n_aa_het': t",)
    assert exc.__cause__ is cause and exc.__suppress_context__ is True


def test_count64_index_error_types_pass_unchanged():
    exc = raised(lambda: quorin.hardy_weinberg_test(IndexRaises(ValueError("v")), 1, 1))
    assert type(exc) is ValueError and exc.args == ("v",)


def test_count64_releases_the_index_result():
    big = 2**40 + 12345  # not a cached small int
    holder = IndexLike(big)
    before = sys.getrefcount(big)
    for _ in range(100):
        quorin.hardy_weinberg_test(holder, holder, holder)
    assert sys.getrefcount(big) == before


# ---- list of (real, real, real) --------------------------------------------------------------

ORIGIN = [(0.0, 0.0, 0.0)]


@pytest.mark.parametrize("coords1, coords2, message", [
    ([[1.0, 2.0, 3.0]], ORIGIN, "argument 'coords1': 'list' object cannot be converted to 'PyTuple'"),
    (ORIGIN, [None], "argument 'coords2': 'NoneType' object cannot be converted to 'PyTuple'"),
    (ORIGIN, [(0.0, 0.0, 0.0), 1.0], "argument 'coords2': 'float' object cannot be converted to 'PyTuple'"),
    ("xyz", ORIGIN, "argument 'coords1': Can't extract `str` to `Vec`"),
    (ORIGIN, "", "argument 'coords2': Can't extract `str` to `Vec`"),
    ((0.0, 0.0, 0.0), ORIGIN, "argument 'coords1': 'float' object cannot be converted to 'PyTuple'"),
    (5, ORIGIN, "argument 'coords1': 'int' object cannot be converted to 'Sequence'"),
    ({(0.0, 0.0, 0.0)}, ORIGIN, "argument 'coords1': 'set' object cannot be converted to 'Sequence'"),
    ([("a", 2.0, 3.0)], ORIGIN, "argument 'coords1': must be real number, not str"),
    ([(1.0, 2.0, None)], ORIGIN, "argument 'coords1': must be real number, not NoneType"),
    # The whole of coords1 is converted before coords2 is looked at.
    ([(0.0, 0.0, 0.0), [0.0, 0.0, 0.0]], "bad", "argument 'coords1': 'list' object cannot be converted to 'PyTuple'"),
    # Conversion comes before the length check.
    ([(0.0, 0.0, 0.0)] * 2, [[0.0, 0.0, 0.0]], "argument 'coords2': 'list' object cannot be converted to 'PyTuple'"),
])
def test_triple_list_type_errors(coords1, coords2, message):
    check_remapped(raised(lambda: quorin.protein_rmsd(coords1, coords2)), message)


@pytest.mark.parametrize("coords1, coords2, length", [
    ([(1.0, 2.0)], ORIGIN, 2),
    (ORIGIN, [(1.0, 2.0, 3.0, 4.0)], 4),
    ([()], ORIGIN, 0),
    ([(1.0,)], 5, 1),                                   # coords1 first
    ([(0.0, 0.0, 0.0), (1.0, 2.0)], [], 2),              # before the length check
    ([(1.0, 2.0, 3.0), ("a", "b")], ORIGIN, 2),          # the length before the items
])
def test_triple_of_wrong_length_is_a_value_error_without_the_name(coords1, coords2, length):
    exc = raised(lambda: quorin.protein_rmsd(coords1, coords2))
    assert type(exc) is ValueError
    assert exc.args == (f"expected tuple of length 3, but got tuple of length {length}",)


def test_triple_items_convert_like_reals():
    assert_same(quorin.protein_rmsd([(FloatLike(3.0), True, 0)], [(0, 1, IndexLike(4))]), 5.0)
    assert_same(quorin.protein_rmsd(Seq([(0.0, 0.0, 0.0)], length=7), ((0.0, 0.0, 2.0),)), 2.0)
    exc = raised(lambda: quorin.protein_rmsd([(10**400, 0.0, 0.0)], ORIGIN))
    assert type(exc) is OverflowError


def test_triple_lists_do_not_leak():
    x = FloatLike(1.0)
    point = (x, x, x)
    before = sys.getrefcount(x)
    for _ in range(100):
        quorin.protein_rmsd([point, point], [point, point])
        with pytest.raises(ValueError):
            quorin.protein_rmsd([point, point], [point])
        with pytest.raises(TypeError):
            quorin.protein_rmsd([point, point], [point, [1.0, 2.0, 3.0]])
    assert sys.getrefcount(x) == before
