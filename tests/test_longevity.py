"""Ensemble biological age, telomere length bound and Gompertz hazard."""

import math

import pytest

import quorin
from exact import assert_same

inf, nan = math.inf, math.nan

AGES = "Quorin.BiologicalAge: all age components must be non-negative (ensemble_nonneg)"
WEIGHTS = "Quorin.BiologicalAge: weights must be non-negative (EnsembleWeights.hw1/hw2/hw3)"
SUM = "Quorin.BiologicalAge: weights must sum to 1.0 (EnsembleWeights.hsum); got "
TELOMERE = "Quorin.Telomere: age must be non-negative"
ALPHA = "Quorin.GompertzMortality: alpha must be positive (mortality_pos)"
TIME = "Quorin.GompertzMortality: time must be non-negative"


def ensemble(a, b, c, w1, w2, w3):
    return (a * w1 + b * w2) + c * w3


VALUES = [
    ("biological_age_bound", (50, 60, 70), 60.010000000000005),
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.333, 0.333, 0.334), 60.010000000000005),
    ("biological_age_bound", (40.0, 50.0, 90.0, 0.5, 0.5, 0.0), 45.0),        # a zero weight
    ("biological_age_bound", (40.0, 50.0, 90.0, 1.0, 0.0, 0.0000005), 40.000045),  # not renormalised
    ("biological_age_bound", (0.0, 0.0, 0.0, 0.0, 0.0, 1.0), 0.0),
    ("biological_age_bound", (-0.0, -0.0, -0.0, 0.2, 0.3, 0.5), -0.0),
    ("biological_age_bound", (31.7, 44.1, 29.3, 0.2, 0.3, 0.5), ensemble(31.7, 44.1, 29.3, 0.2, 0.3, 0.5)),
    ("biological_age_bound", (1.0, 1.0, 1.0, 0.9999995, 0.0, 0.0), 0.9999995),
    ("biological_age_bound", (nan, 60.0, 70.0), nan),
    ("biological_age_bound", (50.0, nan, 70.0), nan),
    ("biological_age_bound", (50.0, 60.0, nan), nan),
    ("biological_age_bound", (50.0, 60.0, 70.0, nan, 0.333, 0.334), nan),     # NaN sum passes
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.333, 0.333, nan), nan),
    ("biological_age_bound", (inf, 1.0, 1.0, 0.0, 0.5, 0.5), nan),           # inf * 0
    ("telomere_length_bound", (0.0,), 8.0),
    ("telomere_length_bound", (-0.0,), 8.0),
    ("telomere_length_bound", (20.0,), 8.0),
    ("telomere_length_bound", (40.0,), 8.0),
    ("telomere_length_bound", (41.0,), 7.973),
    ("telomere_length_bound", (50.0,), 7.73),
    ("telomere_length_bound", (100.0,), 6.38),
    ("telomere_length_bound", (400.0,), -1.7200000000000006),             # no lower clamp
    ("telomere_length_bound", (40.5,), 0.5 * -0.027 + 8.0),
    ("telomere_length_bound", (nan,), 8.0),
    ("telomere_length_bound", (inf,), -inf),
    ("gompertz_hazard", (0.5, 0.1, 10.0), 1.3591409142295225),
    ("gompertz_hazard", (0.5, 0.1, 0.0), 0.5),
    ("gompertz_hazard", (0.5, -0.1, 10.0), math.exp(-1.0) * 0.5),         # decreasing hazard
    ("gompertz_hazard", (0.5, -inf, 0.0), nan),                           # -inf * 0
    ("gompertz_hazard", (0.5, 1000.0, 1.0), inf),
    ("gompertz_hazard", (nan, 1.0, 1.0), nan),
    ("gompertz_hazard", (1.0, nan, 1.0), nan),
    ("gompertz_hazard", (1.0, 1.0, nan), nan),
]


@pytest.mark.parametrize("name, args, expected", VALUES)
def test_values(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


PRECONDITIONS = [
    ("biological_age_bound", (-1.0, 60.0, 70.0), AGES),
    ("biological_age_bound", (50.0, -1.0, 70.0), AGES),
    ("biological_age_bound", (50.0, 60.0, -1.0), AGES),
    ("biological_age_bound", (50.0, 60.0, -1.0, -0.5, 0.5, 0.0), AGES),  # ages before weights
    ("biological_age_bound", (nan, 60.0, -inf), AGES),
    ("biological_age_bound", (50.0, 60.0, 70.0, -0.5, 0.5, 1.0), WEIGHTS),
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.5, -0.5, 1.0), WEIGHTS),
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.5, 0.5, -1e-300), WEIGHTS),  # before the sum
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.5, 0.4, 0.2), SUM + "1.10000000"),
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.0, 0.0, 0.0), SUM + "0.00000000"),
    ("biological_age_bound", (50.0, 60.0, 70.0, 0.5, 0.5, 0.0000011), SUM + "1.00000110"),
    ("biological_age_bound", (50.0, 60.0, 70.0, inf, 0.0, 0.0), SUM + "inf"),
    ("biological_age_bound", (50.0, 60.0, 70.0, 1e20, 0.0, 0.0), SUM + "100000000000000000000.00000000"),
    ("telomere_length_bound", (-1.0,), TELOMERE),
    ("telomere_length_bound", (-inf,), TELOMERE),
    ("gompertz_hazard", (0.0, 0.1, -1.0), ALPHA),  # alpha before time
    ("gompertz_hazard", (-0.0, 0.1, 1.0), ALPHA),
    ("gompertz_hazard", (-1.0, nan, 1.0), ALPHA),
    ("gompertz_hazard", (1.0, 0.1, -1.0), TIME),
    ("gompertz_hazard", (nan, nan, -5e-324), TIME),
]


@pytest.mark.parametrize("name, args, message", PRECONDITIONS)
def test_preconditions(name, args, message):
    with pytest.raises(ValueError) as e:
        getattr(quorin, name)(*args)
    assert e.value.args == (message,)


@pytest.mark.parametrize("kwargs, expected", [
    ({}, ensemble(50.0, 60.0, 70.0, 0.333, 0.333, 0.334)),
    ({"w1": 0.2, "w2": 0.3, "w3": 0.5}, ensemble(50.0, 60.0, 70.0, 0.2, 0.3, 0.5)),
    ({"w3": 0.334}, ensemble(50.0, 60.0, 70.0, 0.333, 0.333, 0.334)),
    ({"w2": 0.333, "w3": 0.334, "w1": 0.333}, 60.010000000000005),
])
def test_weights_by_keyword_and_default(kwargs, expected):
    assert_same(quorin.biological_age_bound(50.0, 60.0, 70.0, **kwargs), expected)


def test_defaults_fill_only_the_weights_left_out():
    # w1 = 0.5 and w2 = 0.167 with the default w3 = 0.334 sum to 1.001.
    with pytest.raises(ValueError) as e:
        quorin.biological_age_bound(50.0, 60.0, 70.0, w2=0.167, w1=0.5)
    assert e.value.args == (SUM + "1.00100000",)


@pytest.mark.parametrize("call, message", [
    (lambda: quorin.biological_age_bound(1, 2, 3, w1=None), "argument 'w1': must be real number, not NoneType"),
    (lambda: quorin.biological_age_bound(1, 2, 3, 0.333, 0.333, None),
     "argument 'w3': must be real number, not NoneType"),
    (lambda: quorin.biological_age_bound(-1, "2", 3), "argument 'telomere_age': must be real number, not str"),
    (lambda: quorin.biological_age_bound(1, 2), "biological_age_bound() missing 1 required positional argument: "
     "'epigenetic_age'"),
    (lambda: quorin.biological_age_bound(1, 2, 3, 4, 5, 6, 7),
     "biological_age_bound() takes from 3 to 6 positional arguments but 7 were given"),
    (lambda: quorin.gompertz_hazard(0.0, "b", -1.0), "argument 'beta': must be real number, not str"),
    (lambda: quorin.telomere_length_bound(age=None), "argument 'age': must be real number, not NoneType"),
])
def test_binding_and_conversion_before_preconditions(call, message):
    with pytest.raises(TypeError) as e:
        call()
    assert e.value.args == (message,)
