"""The call frame: binding by position and keyword, real conversion, error mapping."""

import ctypes
import math

import pytest

import quorin
from exact import assert_same

rd = quorin.ribosome_density        # (n_ribosomes, length)
tr = quorin.translation_rate        # (codon_rate, ribosome_density, mrna_copies)
hl = quorin.mrna_halflife           # (decay_rate)


def raises(exc_type, message, fn, *args, **kwargs):
    with pytest.raises(exc_type) as info:
        fn(*args, **kwargs)
    assert type(info.value) is exc_type
    assert str(info.value) == message
    return info.value


# ---- binding ------------------------------------------------------------------------------

@pytest.mark.parametrize("fn, args, kwargs, message", [
    (hl, (), {}, "mrna_halflife() missing 1 required positional argument: 'decay_rate'"),
    (rd, (1.0,), {}, "ribosome_density() missing 1 required positional argument: 'length'"),
    (rd, (), {}, "ribosome_density() missing 2 required positional arguments: 'n_ribosomes' and 'length'"),
    (tr, (), {}, "translation_rate() missing 3 required positional arguments: "
                 "'codon_rate', 'ribosome_density', and 'mrna_copies'"),
    (tr, (), {"ribosome_density": 1.0},
     "translation_rate() missing 2 required positional arguments: 'codon_rate' and 'mrna_copies'"),
    (tr, (1.0,), {"mrna_copies": 1.0},
     "translation_rate() missing 1 required positional argument: 'ribosome_density'"),
    (hl, (1.0, 2.0), {}, "mrna_halflife() takes 1 positional arguments but 2 were given"),
    (rd, (1, 2, 3), {}, "ribosome_density() takes 2 positional arguments but 3 were given"),
    # Too many positionals is reported before any keyword is looked at.
    (rd, (1, 2, 3), {"bogus": 1}, "ribosome_density() takes 2 positional arguments but 3 were given"),
    (rd, (1.0,), {"lenght": 2.0}, "ribosome_density() got an unexpected keyword argument 'lenght'"),
    (rd, (1.0,), {"Length": 2.0}, "ribosome_density() got an unexpected keyword argument 'Length'"),
    (rd, (1.0, 2.0), {"length": 2.0}, "ribosome_density() got multiple values for argument 'length'"),
    (rd, (1.0,), {"n_ribosomes": 2.0}, "ribosome_density() got multiple values for argument 'n_ribosomes'"),
    # Binding errors come before conversion errors and preconditions.
    (rd, ("x",), {"y": 1}, "ribosome_density() got an unexpected keyword argument 'y'"),
    (rd, (-1.0,), {}, "ribosome_density() missing 1 required positional argument: 'length'"),
])
def test_binding_messages(fn, args, kwargs, message):
    raises(TypeError, message, fn, *args, **kwargs)


def test_first_offending_keyword_decides():
    raises(TypeError, "ribosome_density() got an unexpected keyword argument 'a'",
           rd, 1.0, a=1, length=2.0, n_ribosomes=3)
    raises(TypeError, "ribosome_density() got multiple values for argument 'n_ribosomes'",
           rd, 1.0, n_ribosomes=1, a=2)


@pytest.mark.parametrize("args, kwargs", [
    ((5.0, 10.0), {}),
    ((), {"n_ribosomes": 5.0, "length": 10.0}),
    ((), {"length": 10.0, "n_ribosomes": 5.0}),
    ((5.0,), {"length": 10.0}),
    ((5, 10), {}),
    ((5.0,), {"length": True * 10}),
])
def test_position_and_keyword_bind_alike(args, kwargs):
    assert_same(rd(*args, **kwargs), 0.5)


age = quorin.biological_age_bound  # (pheno_age, telomere_age, epigenetic_age, w1=0.333, w2=0.333, w3=0.334)


# Trailing defaults left out, given in order by position or keyword, or named out of order.
@pytest.mark.parametrize("args, kwargs", [
    ((50, 60, 70), {}),
    ((50.0, 60.0), {"epigenetic_age": 70.0}),
    ((50.0, 60.0, 70.0, 0.333), {"w2": 0.333}),
    ((50.0, 60.0, 70.0, 0.333, 0.333, 0.334), {}),
    ((50.0, 60.0, 70.0), {"w3": 0.334, "w1": 0.333}),
    ((), {"epigenetic_age": 70, "telomere_age": 60, "pheno_age": 50}),
])
def test_defaults_fill_whatever_is_left_out(args, kwargs):
    assert_same(age(*args, **kwargs), 60.010000000000005)


class Name(str):
    pass


def test_keyword_names_that_are_str_subclasses_or_not_interned():
    assert_same(rd(**{Name("n_ribosomes"): 5.0, "".join(["len", "gth"]): 10.0}), 0.5)
    raises(TypeError, "ribosome_density() got an unexpected keyword argument 'x'",
           rd, 1.0, **{Name("x"): 1.0})


def test_keyword_name_with_lone_surrogate_is_unexpected():
    raises(TypeError, "ribosome_density() got an unexpected keyword argument '\udc80'",
           rd, 1.0, **{"\udc80": 1.0})


# The vector calling convention can deliver keyword names that Python syntax cannot.
def vectorcall(fn, args, kwnames):
    api = ctypes.pythonapi.PyObject_Vectorcall
    api.restype = ctypes.py_object
    api.argtypes = [ctypes.py_object, ctypes.POINTER(ctypes.py_object), ctypes.c_size_t,
                    ctypes.py_object]
    vector = (ctypes.py_object * len(args))(*args)
    return api(fn, vector, len(args) - len(kwnames), kwnames)


def test_repeated_keyword_name_in_a_vector_call():
    raises(TypeError, "ribosome_density() got multiple values for argument 'length'",
           vectorcall, rd, [1.0, 2.0, 3.0], ("length", "length"))
    assert_same(vectorcall(rd, [5.0, 10.0], ("n_ribosomes", "length")), 0.5)


# ---- real conversion ----------------------------------------------------------------------

class Real:
    def __init__(self, value):
        self.value = value

    def __float__(self):
        return self.value


class Index:
    def __index__(self):
        return 4


class FloatSub(float):
    def __float__(self):
        return 99.0  # ignored: a float subclass's own value is read


class IntFloat(int):
    def __float__(self):
        return 4.0  # an int subclass keeps the interpreter's conversion, which calls this


class Boom(Exception):
    pass


class Raises:
    def __float__(self):
        raise Boom("no")


class RaisesTypeError:
    def __float__(self):
        try:
            raise KeyError("inner")
        except KeyError as inner:
            raise TypeError("custom") from inner


@pytest.mark.parametrize("value, expected", [
    (2.0, 0.34657359027997264),
    (2, 0.34657359027997264),
    (True, 0.6931471805599453),
    (Real(2.0), 0.34657359027997264),
    (Index(), 0.6931471805599453 / 4),
    (FloatSub(2.0), 0.34657359027997264),
    (IntFloat(2), 0.6931471805599453 / 4),
    (Real(-1.0), None),  # -1.0 from __float__ is a value, not an error
    (math.inf, 0.0),
    (math.nan, math.nan),
])
def test_real_conversion(value, expected):
    if expected is None:
        raises(ValueError, "Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)", hl, value)
    else:
        assert_same(hl(value), expected)


gibbs = quorin.gibbs_free_energy  # (dh, t, ds): dh - t * ds, so gibbs(x, 0.0, 0.0) is x


# Exact ints round to the nearest double, ties to even, as float() does; past a machine word
# they take the interpreter's own conversion. Every binding shape reads them alike.
@pytest.mark.parametrize("value", [
    0, 7, -7, 2 ** 30 - 1, 2 ** 30, -(2 ** 30), 2 ** 31 + 1, 2 ** 53 - 1, 2 ** 53 + 1,
    2 ** 53 + 3, -(2 ** 53 + 1), 2 ** 54 + 2, 2 ** 62 + 2 ** 9, 2 ** 62 + 2 ** 9 + 1,
    2 ** 63 - 1, -(2 ** 63), 2 ** 63, -(2 ** 63) - 1, 2 ** 64 + 2 ** 11 + 1, 10 ** 300,
])
@pytest.mark.parametrize("call", [
    lambda x: gibbs(x, 0.0, 0.0),
    lambda x: gibbs(dh=x, t=0.0, ds=0.0),
    lambda x: gibbs(ds=0.0, t=0.0, dh=x),  # out of order: bound, then converted one by one
], ids=["position", "keyword", "reordered"])
def test_exact_int_converts_as_float_does(value, call):
    assert_same(call(value), float(value))


@pytest.mark.parametrize("value, message", [
    ("70", "argument 'decay_rate': must be real number, not str"),
    (None, "argument 'decay_rate': must be real number, not NoneType"),
    ([1.0], "argument 'decay_rate': must be real number, not list"),
    (1j, "argument 'decay_rate': must be real number, not complex"),
    (Real("x"), "argument 'decay_rate': Real.__float__ returned non-float (type str)"),
])
def test_real_conversion_errors_name_the_parameter(value, message):
    error = raises(TypeError, message, hl, value)
    assert error.__cause__ is None and error.__suppress_context__


def test_conversion_error_keeps_the_original_cause_and_is_a_new_exception():
    error = raises(TypeError, "argument 'decay_rate': custom", hl, RaisesTypeError())
    assert isinstance(error.__cause__, KeyError)
    assert error.__suppress_context__


@pytest.mark.parametrize("value, exc_type, message", [
    (Raises(), Boom, "no"),
    (10 ** 400, OverflowError, "int too large to convert to float"),
])
def test_other_conversion_errors_pass_unchanged(value, exc_type, message):
    raises(exc_type, message, hl, value)


def test_conversion_runs_in_parameter_order_before_any_precondition():
    # 'length' would fail its precondition, but the first argument's conversion fails first.
    raises(TypeError, "argument 'n_ribosomes': must be real number, not str", rd, "x", 0.0)
    raises(TypeError, "argument 'length': must be real number, not str", rd, -1.0, "x")
    raises(TypeError, "argument 'n_ribosomes': must be real number, not str",
           rd, length="y", n_ribosomes="x")


# ---- error mapping ------------------------------------------------------------------------

def test_failed_precondition_is_a_plain_value_error_with_one_argument():
    error = raises(ValueError, "Quorin.RibosomeDensity: length must be positive", rd, 1.0, 0.0)
    assert error.args == ("Quorin.RibosomeDensity: length must be positive",)
    assert error.__cause__ is None


def test_functions_stay_usable_after_errors():
    for _ in range(3):
        with pytest.raises(ValueError):
            hl(0.0)
        with pytest.raises(TypeError):
            hl("x")
    assert_same(hl(1.0), 0.6931471805599453)
