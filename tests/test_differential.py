"""quorin against its pure-Python model (benchmarks/pyref.py), bit for bit.

For every function both are called with the same generated arguments: special floats (signed
zeros, infinities, quiet and signaling NaNs, subnormals, the extremes), ordinary values near each domain's bounds,
counts over their whole range and just outside it, short nucleotide texts with foreign and
non-ASCII characters, lists of reals and of triples. The outcomes must agree exactly: the same
bits of every float (NaN matching NaN, -0.0 told from 0.0), or the same exception type and
message. Functions not registered in quorin yet are skipped. A last table puts NaNs of every
kind into each real of a valid call in turn and compares NaN signs and payloads too.

The example count per function comes from the hypothesis profile named by
QUORIN_DIFF_PROFILE: "differential" (200, the default) or "differential-long" (5000).
"""

import inspect
import math
import os
import re
import sys

import pytest
from hypothesis import HealthCheck, given, settings, strategies as st

import quorin
from catalogue import REAL, REALS, TRIPLES, entries_with
from exact import bits, from_bits, pattern, same

sys.path.insert(0, os.path.join(os.path.dirname(__file__), os.pardir, "benchmarks"))
import pyref  # noqa: E402

settings.register_profile("differential", max_examples=200, deadline=None,
                          suppress_health_check=[HealthCheck.too_slow])
settings.register_profile("differential-long", max_examples=5000, deadline=None,
                          suppress_health_check=[HealthCheck.too_slow])
PROFILE = settings.get_profile(os.environ.get("QUORIN_DIFF_PROFILE", "differential"))

inf, nan = math.inf, math.nan

# ---- argument strategies ---------------------------------------------------------------------

SPECIAL = [0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 10.0, inf, -inf, nan, -nan,
           5e-324, -5e-324, 2.2250738585072014e-308, 1e-310, 1e-300, 1e-200, 1e-160,
           1e160, 1e200, 1e300, 1.7976931348623157e308, -1.7976931348623157e308,
           40.0, 140.0, 150.0, 1e-6, 1.0 - 2 ** -53, 1.0 + 2 ** -52, 0.6931471805599453,
           from_bits(0x7FF75B178B9D8A2A), from_bits(0xFFF0000000000001)]  # signaling NaNs

real = st.one_of(
    st.sampled_from(SPECIAL),
    st.floats(-5.0, 5.0),
    st.floats(0.0, 400.0),
    st.floats(),                                  # the whole line, NaN and infinities included
    st.floats(-1e-300, 1e-300),                   # around zero, subnormals included
    st.integers(-3, 300),                         # integers and bools are accepted as reals
    st.booleans(),
)
unit = st.one_of(st.floats(0.0, 1.0),
                 st.sampled_from([0.0, -0.0, 1.0, nan, 1.0 + 2 ** -52, -1e-300]))

OUT32 = [-1, -(2 ** 63), 2 ** 32, 2 ** 63, 2 ** 70]
OUT64 = [-1, 2 ** 64, 2 ** 70]
count32 = st.one_of(
    st.integers(0, 12), st.integers(0, 2 ** 32 - 1),
    st.sampled_from([0, 1, 2, 31, 32, 1023, 2 ** 31, 3_000_000_000, 2 ** 32 - 1, True, False]),
    st.sampled_from(OUT32),
)
count64 = st.one_of(
    st.integers(0, 100), st.integers(0, 2 ** 64 - 1),
    st.sampled_from([0, 1, 2 ** 53 + 1, 2 ** 63, 2 ** 64 - 1, True]),
    st.sampled_from(OUT64),
)

NUCLEOTIDES = "ACGUTacgut"
text = st.one_of(
    st.text(alphabet=NUCLEOTIDES, max_size=30),
    st.text(alphabet=NUCLEOTIDES + "NSX -1é𝔸ñ", max_size=30),
    st.text(max_size=8),
    st.sampled_from(["\ud800", "AC\udfffG"]),     # lone surrogates: not encodable as UTF-8
)
rna = st.one_of(st.text(alphabet=NUCLEOTIDES, max_size=24),
                st.text(alphabet=NUCLEOTIDES + "N é", max_size=16))

reals = st.lists(real, max_size=20) | st.tuples(real, real)


def _normalised(ws):
    total = math.fsum(ws)
    return [w / total for w in ws] if total > 0 else ws


distribution = st.one_of(
    st.lists(st.floats(0.0, 1.0), min_size=1, max_size=20).map(_normalised),
    st.lists(st.floats(0.0, 1.0), min_size=1, max_size=20).map(_normalised).flatmap(
        lambda ps: st.sampled_from([-2e-6, -1e-6, -5e-7, 5e-7, 1e-6, 2e-6]).map(
            lambda e: ps + [e] if e > 0 else ps[:-1] + [ps[-1] + e])),
    reals,
)

triple = st.tuples(real, real, real)
bad_triple = st.one_of(st.tuples(real, real), st.tuples(real, real, real, real),
                       st.lists(real, min_size=3, max_size=3))


@st.composite
def coordinate_pairs(draw):
    n = draw(st.integers(0, 6))
    a = draw(st.lists(triple, min_size=n, max_size=n))
    b = draw(st.lists(triple, min_size=n, max_size=n))
    shape = draw(st.sampled_from(["equal"] * 6 + ["longer", "bad"]))
    if shape == "longer":
        b.append(draw(triple))
    elif shape == "bad":
        (a if draw(st.booleans()) else b).append(draw(bad_triple))
    return (a, b), {}


@st.composite
def age_ensemble(draw):
    ages = tuple(draw(real) for _ in range(3))
    form = draw(st.sampled_from(["defaults", "near one", "near one", "any"]))
    if form == "defaults":
        return ages, {}
    if form == "any":
        return ages, {"w1": draw(real), "w2": draw(real), "w3": draw(real)}
    w1 = draw(st.floats(0.0, 1.0))
    w2 = draw(st.floats(0.0, 1.0 - w1))
    w3 = (1.0 - w1 - w2) + draw(st.sampled_from([0.0, 0.0, 5e-7, -5e-7, 1e-6, -1e-6, 2e-6, 0.1]))
    return ages, {"w1": w1, "w2": w2, "w3": w3}


def positional(*parts):
    return st.tuples(*parts).map(lambda args: (args, {}))


# Strategies by function; every function not listed takes reals only.
SPECIFIC = {
    "gc_content": positional(text),
    "sequence_identity": positional(text, text),
    "shannon_entropy": positional(st.one_of(unit, real)),
    "shannon_entropy_dist": positional(distribution),
    "biological_age_bound": age_ensemble(),
    "cockcroft_gault": positional(st.one_of(st.floats(130.0, 150.0), real), real, real, real),
    "epigenetic_acceleration": positional(st.one_of(st.floats(140.0, 160.0), real), real),
    "senolytic_healthy_damage": positional(st.one_of(unit, real), real),
    "hardy_weinberg": positional(st.one_of(unit, real)),
    "hardy_weinberg_test": positional(count64, count64, count64),
    "protein_rmsd": coordinate_pairs(),
    "hill_effect": positional(real, real, real, count32),
    "hill_occupancy": positional(real, real, count32),
    "pcr_copies": positional(real, real, count32),
    "dilution_concentration": positional(real, real, count32),
    "dna_tm": positional(count32, count32, count32, count32),
    "modified_nucleotide_ratio": positional(st.one_of(st.integers(0, 12), count32),
                                            st.one_of(st.integers(0, 12), count32)),
    "pairwise_potential": positional(reals),
    "tm_score": positional(reals, count64, real),
    "telomere_attrition": positional(real, real, count32),
    "nussinov": positional(rna),
}


def strategy_for(name):
    if name in SPECIFIC:
        return SPECIFIC[name]
    arity = len(inspect.signature(getattr(pyref, name)).parameters)
    return positional(*[real] * arity)


# ---- comparison ------------------------------------------------------------------------------

def outcome(fn, args, kwargs):
    try:
        return "value", fn(*args, **kwargs)
    except (ValueError, OverflowError, TypeError) as exc:
        message = str(exc)
        if type(exc) is TypeError:  # the model does not name the parameter
            message = re.sub(r"^argument '\w+': ", "", message)
        return type(exc), message


def check(name, args, kwargs):
    ours = outcome(getattr(quorin, name), args, kwargs)
    model = outcome(getattr(pyref, name), args, kwargs)
    assert ours[0] == model[0] and same(ours[1], model[1]), (
        f"{name}(*{args!r}, **{kwargs!r}): quorin gives {ours!r}, the model {model!r}")


def registered(name):
    if not hasattr(quorin, name):
        pytest.skip(f"{name} is not registered yet")


NAMES = list(pyref.__all__)


def test_model_covers_every_function():
    assert sorted(NAMES) == sorted(pyref.SAMPLES)
    assert len(NAMES) == 71
    assert set(quorin.__all__) <= set(NAMES)


@pytest.mark.parametrize("name", NAMES)
@settings(PROFILE)
@given(data=st.data())
def test_agrees_with_model(name, data):
    registered(name)
    args, kwargs = data.draw(strategy_for(name), label="arguments")
    check(name, args, kwargs)


# Boundaries that random draws rarely hit: tolerance edges, sums that leave their integer
# type, quotients and powers that overflow or underflow into C's special results.
BIG64, BIG32 = 2 ** 64 - 1, 2 ** 32 - 1
CORNERS = [
    ("shannon_entropy_dist", ([0.5, 0.4],)), ("shannon_entropy_dist", ([1.5, -0.5],)),
    ("shannon_entropy_dist", ([0.5, 0.5000005],)), ("shannon_entropy_dist", ([0.5, 0.5, nan],)),
    ("shannon_entropy_dist", ([-0.0, -0.0],)), ("shannon_entropy_dist", ([1e20],)),
    ("shannon_entropy_dist", ([inf],)), ("shannon_entropy_dist", ([nan, inf],)),
    ("shannon_entropy_dist", ([1.000001],)), ("shannon_entropy_dist", ([0.999999],)),
    ("shannon_entropy_dist", ([0.001953125],)), ("shannon_entropy_dist", ([-inf],)),
    ("shannon_entropy_dist", ([0.9999995, 5e-7, 5e-7],)), ("shannon_entropy_dist", ([],)),
    ("biological_age_bound", (50, 60, 70, 0.5, 0.4, 0.2)),
    ("biological_age_bound", (50, 60, 70, 1.0, 0.0, 5e-7)),
    ("biological_age_bound", (50, 60, 70, 1.0, 0.0, 1e-6)),
    ("biological_age_bound", (1, 2, 3, 1e20, 0.0, 0.0)),
    ("biological_age_bound", (1, 2, 3, inf, 0.0, 0.0)),
    ("biological_age_bound", (1, 2, 3, 0.0, 0.0, 0.0)),
    ("hardy_weinberg_test", (BIG64, BIG64, BIG64)), ("hardy_weinberg_test", (BIG64, 1, 0)),
    ("hardy_weinberg_test", (0, BIG64, 2)), ("hardy_weinberg_test", (1, 0, BIG64)),
    ("dna_tm", (BIG32, BIG32, BIG32, BIG32)), ("dna_tm", (BIG32, 1, 0, 0)),
    ("nussinov", ("GGGAAACCC",)), ("nussinov", ("ACGN",)), ("nussinov", ("AUé",)),
    ("nussinov", ("",)), ("nussinov", ("𝔸",)), ("nussinov", ("A\ud800",)),
    ("nussinov", ("GCAUGCAUGCAUGCAUGCAUGCAUGCAUGCAUGCAUGCAU",)),
    ("gc_content", ("Gé",)), ("sequence_identity", ("é", "é")),
    ("sequence_identity", ("ACGT", "AC")),
    ("boltzmann_factor", (1.0, 1e-310)), ("boltzmann_factor", (0.0, 1e-310)),
    ("boltzmann_factor", (-1.0, 1e-310)), ("boltzmann_probability", (-1.0, 1e-310, 2.0)),
    ("hill_effect", (1.0, 1e-200, 0.0, 2)), ("hill_occupancy", (0.0, 1e-200, 2)),
    ("hill_occupancy", (1e200, 1e200, 2)), ("einstein_stokes", (1.0, 1e-200, 1e-200)),
    ("poiseuille_flow", (1.0, 1.0, 1e-200, 1e-200)), ("bmi", (70.0, 1e-200)),
    ("logistic_growth", (1e-300, 1.0, 0.0, 0.0)), ("logistic_growth", (100.0, 100.0, -1.0, 1000.0)),
    ("henderson_hasselbalch", (0.0, 1e-300, 1e300)),
    ("nernst_potential", (0.0, 300.0, 1.0, 1e-300, 1e300)),
    ("ckd_epi", (1e-300, 1e300, -2.0, 1.0)), ("ckd_epi", (1e-300, 1e300, 0.0, 1.0)),
    ("ckd_epi", (inf, inf, 1.0, 1.0)), ("ckd_mdrd", (5e-324, 1.0, 1.0)),
    ("weibull_survival", (-0.0, 1.0, -1.0)), ("weibull_survival", (-2.0, 1.0, 0.5)),
    ("weibull_survival", (0.0, 1.0, -1.0)), ("weibull_survival", (-1e200, 1.0, 3.0)),
    ("weibull_survival", (10.0, 1e-300, 2.0)), ("weibull_survival", (-1e200, 1.0, 2.0)),
    ("allometric", (1.0, 1e300, 2.0)), ("allometric", (1.0, 1e-300, -2.0)),
    ("arrhenius_rate", (1.0, -1e6, 1.0)), ("sigmoid", (-1000.0,)), ("clone_size", (1.0, 1e3, 1e3)),
    ("mrna_halflife_concentration", (100.0, 0.0, inf)), ("gompertz_hazard", (1.0, 1e3, 1e3)),
    ("first_order_pk_concentration", (10.0, 0.0, inf)), ("pcr_copies", (1.0, 2.0, BIG32)),
    ("dilution_concentration", (100.0, 10.0, 2)), ("tm_score", ([], 5, 1.0)),
    ("tm_score", ([0.0, 1.0, 2.0], BIG64, 1.0)), ("pairwise_potential", ([],)),
    ("protein_rmsd", ([(0, 0, 0), (0, 0, 0)], [(1, 2, 2), (0, 0, 0)])),
    ("protein_rmsd", ([(inf, 0, 0)], [(inf, 0, 0)])),
]


@pytest.mark.parametrize("name, args", CORNERS,
                         ids=[f"{n}-{i}" for i, (n, _) in enumerate(CORNERS)])
def test_agrees_with_model_at_corners(name, args):
    registered(name)
    check(name, args, {})


# ---- NaNs of every kind, one real at a time --------------------------------------------------

# Signaling NaNs (the C library quiets them, and pow(1, y) is NaN only for a signaling y) and
# quiet ones, both signs, several payloads. Each replaces one real of a valid argument vector,
# list elements and triple coordinates included; results must agree to the NaN payload.
NANS = [from_bits(b) for b in (
    0x7FF75B178B9D8A2A, 0x7FF0000000000001, 0x7FF4000000000000, 0xFFF7FFFFFFFFFFFF,
    0xFFF0000000000001, 0x7FF8000000000000, 0xFFF8000000000000, 0x7FF8DEAD00000001,
)]


def with_nan(args, kinds, nan_value):
    """Every argument vector that is `args` with one real (or one element of a list of reals,
    or one coordinate of a triple) replaced by `nan_value`."""
    for i, (value, kind) in enumerate(zip(args, kinds)):
        if kind == REAL:
            yield args[:i] + (nan_value,) + args[i + 1:]
        elif kind == REALS:
            for j in range(len(value)):
                yield args[:i] + (value[:j] + [nan_value] + value[j + 1:],) + args[i + 1:]
        elif kind == TRIPLES:
            for j, t in enumerate(value):
                for k in range(3):
                    triple = t[:k] + (nan_value,) + t[k + 1:]
                    yield args[:i] + (value[:j] + [triple] + value[j + 1:],) + args[i + 1:]


@pytest.mark.parametrize("entry", entries_with(REAL, REALS, TRIPLES), ids=lambda e: e.name)
def test_nans_flow_as_in_the_model(entry):
    mismatches = []
    for nan_value in NANS:
        for args in with_nan(entry.ok, entry.kinds, nan_value):
            ours = outcome(entry.function, args, {})
            model = outcome(getattr(pyref, entry.name), args, {})
            if pattern(ours) != pattern(model):
                mismatches.append(f"{args!r} (NaN {bits(nan_value) & 0xFFFFFFFFFFFFFFFF:#x}): "
                                  f"quorin {ours!r}, model {model!r}")
    assert not mismatches, "\n".join(mismatches)
