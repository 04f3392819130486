"""Hill, Langmuir, Monod, receptor binding, competitive inhibition, catalytic efficiency and
protein steady state: values bit for bit, the order of the checks, their messages, and the
conversion of the Hill coefficient as an unsigned 32-bit count."""

import math

import pytest

import quorin
from contract_tables import check_nan_flows, check_refused, check_value, label, nan_cases
from exact import assert_same

nan, inf = math.nan, math.inf


def powi(x, n):
    """Binary exponentiation, squaring as the bits of n are shifted out (x ** n is pow())."""
    y = x if n & 1 else 1.0
    n >>= 1
    while n:
        x = x * x
        if n & 1:
            y = y * x
        n >>= 1
    return y


VALUES = [
    ("hill_effect", (100, 10, 10, 1), 50.0),
    ("hill_effect", (100, 10, 0, 2), 0.0),
    ("hill_effect", (100, 10, 0, 0), 50.0),
    ("hill_effect", (100, 10, 5, 0), 50.0),
    ("hill_effect", (100, 10, nan, 0), 50.0),
    ("hill_effect", (100, 10, -0.0, 1), -0.0),
    # 1.3**3 by squaring differs from pow() in the last bit.
    ("hill_effect", (100, 10, 1.3, 3), (100.0 * powi(1.3, 3)) / (powi(10.0, 3) + powi(1.3, 3))),
    ("hill_effect", (2.5, 1.1, 1.3, 9), (2.5 * powi(1.3, 9)) / (powi(1.1, 9) + powi(1.3, 9))),
    ("hill_effect", (1, 1e200, 1e200, 2), nan),
    ("hill_effect", (1, 2, inf, 1), nan),
    ("hill_occupancy", (2, 1, 2), 0.8),
    ("hill_occupancy", (0, 1, 3), 0.0),
    ("hill_occupancy", (0, 1, 0), 0.5),
    ("hill_occupancy", (1e200, 1e200, 2), nan),
    ("hill_occupancy", (-0.0, 1, 1), -0.0),
    ("hill_occupancy", (-0.0, 1, 2), 0.0),
    ("hill_occupancy", (1.3, 0.7, 4), powi(1.3, 4) / (powi(0.7, 4) + powi(1.3, 4))),
    ("hill_occupancy", (1, 1, 4294967295), 0.5),
    ("hill_occupancy", (0.5, 1, 4294967295), 0.0),
    ("hill_occupancy", (2, 1, 4294967295), nan),
    ("langmuir_coverage", (2, 3), 0.8571428571428571),
    ("langmuir_coverage", (1e200, 1e200), nan),
    ("monod_growth", (1, 2, 2), 0.5),
    ("receptor_occupancy", (1, 1), 0.5),
    ("competitive_inhibition", (10, 2, 2, 0, 1), 5.0),
    ("competitive_inhibition", (10, 2, 2, -0.0, 1), 5.0),
    ("competitive_inhibition", (10, 2, 2, 1, 1), 3.3333333333333335),
    ("competitive_inhibition", (1.7, 0.3, 0.9, 0.7, 0.1),
     (1.7 * 0.9) / ((0.3 * ((0.7 / 0.1) + 1.0)) + 0.9)),
    ("competitive_inhibition", (10, 2, 2, inf, 1), 0.0),
    ("catalytic_efficiency", (100, 1e-4), 1000000.0),
    ("protein_steady_state", (10, 0.1), 100.0),
    ("protein_steady_state", (1, inf), 0.0),
]

HILL_E = "Quorin.HillEquation: "
HILL_C = "Quorin.HillCooperativity: "
MONOD = "Quorin.MonodGrowth: \u03bcmax, Ks, S must be positive"
CI = "Quorin.CompetitiveInhibition: "

# The first failing check decides, whatever the later arguments are.
ERRORS = [
    ("hill_effect", (0, 0, -1, 1), HILL_E + "emax must be positive"),
    ("hill_effect", (-0.0, 10, 1, 1), HILL_E + "emax must be positive"),
    ("hill_effect", (100, 0, -1, 1), HILL_E + "ec50 must be positive"),
    ("hill_effect", (100, -0.0, 1, 1), HILL_E + "ec50 must be positive"),
    ("hill_effect", (100, 10, -1, 1), HILL_E + "c must be non-negative"),
    ("hill_effect", (100, 10, -inf, 0), HILL_E + "c must be non-negative"),
    ("hill_occupancy", (-1, 0, 1), HILL_C + "S must be non-negative"),
    ("hill_occupancy", (1, 0, 1), HILL_C + "K must be positive"),
    ("hill_occupancy", (1, -0.0, 1), HILL_C + "K must be positive"),
    ("langmuir_coverage", (0, 3), "Quorin.LangmuirIsotherm: K and c must be positive"),
    ("langmuir_coverage", (2, 0), "Quorin.LangmuirIsotherm: K and c must be positive"),
    ("langmuir_coverage", (2, -0.0), "Quorin.LangmuirIsotherm: K and c must be positive"),
    ("monod_growth", (0, 2, 2), MONOD),
    ("monod_growth", (1, 0, 2), MONOD),
    ("monod_growth", (1, 2, 0), MONOD),
    ("monod_growth", (1, 2, -0.0), MONOD),
    ("receptor_occupancy", (0, 1), "Quorin.ReceptorBinding: L and KD must be positive"),
    ("receptor_occupancy", (1, -0.0), "Quorin.ReceptorBinding: L and KD must be positive"),
    ("competitive_inhibition", (0, 0, 0, -1, 0), CI + "vmax must be positive"),
    ("competitive_inhibition", (10, 0, 0, -1, 1), CI + "km and ki must be positive"),
    ("competitive_inhibition", (10, 2, 0, -1, 0), CI + "km and ki must be positive"),
    ("competitive_inhibition", (10, 2, 0, 0, 1), CI + "s>0, I>=0 required"),
    ("competitive_inhibition", (10, 2, -0.0, 0, 1), CI + "s>0, I>=0 required"),
    ("competitive_inhibition", (10, 2, 2, -1, 1), CI + "s>0, I>=0 required"),
    ("catalytic_efficiency", (0, 1), "Quorin.CatalyticEfficiency: kcat and Km must be positive"),
    ("catalytic_efficiency", (1, 0), "Quorin.CatalyticEfficiency: kcat and Km must be positive"),
    ("protein_steady_state", (0, 1), "Quorin.ProteinSteadyState: ksyn and kdeg must be positive"),
    ("protein_steady_state", (1, -0.0), "Quorin.ProteinSteadyState: ksyn and kdeg must be positive"),
]

# Arguments that pass every check; a NaN in any real place must pass the checks too.
VALID = {
    "hill_effect": (100, 10, 5, 2),
    "hill_occupancy": (2, 1, 2),
    "langmuir_coverage": (2, 3),
    "monod_growth": (1, 2, 2),
    "receptor_occupancy": (1, 1),
    "competitive_inhibition": (10, 2, 2, 1, 1),
    "catalytic_efficiency": (100, 1e-4),
    "protein_steady_state": (10, 0.1),
}
COUNTS = {"hill_effect": 3, "hill_occupancy": 2}

OUT_OF_RANGE = "out of range integral type conversion attempted"
COUNT_ERRORS = [
    (-1, OverflowError, OUT_OF_RANGE),
    (4294967296, OverflowError, OUT_OF_RANGE),
    (-2**40, OverflowError, OUT_OF_RANGE),
    (2.0, TypeError, "argument 'n': 'float' object cannot be interpreted as an integer"),
    (None, TypeError, "argument 'n': 'NoneType' object cannot be interpreted as an integer"),
    (2**70, OverflowError, "Python int too large to convert to C long"),
]


@pytest.mark.parametrize("name, args, expected", VALUES, ids=map(label, VALUES))
def test_value(name, args, expected):
    check_value(name, args, expected)


@pytest.mark.parametrize("name, args, message", ERRORS, ids=map(label, ERRORS))
def test_failed_check(name, args, message):
    check_refused(name, args, message)


@pytest.mark.parametrize("name, position", nan_cases(VALID, COUNTS))
def test_nan_passes_checks(name, position):
    check_nan_flows(VALID, name, position)


@pytest.mark.parametrize("name", COUNTS)
@pytest.mark.parametrize("value, error, message", COUNT_ERRORS, ids=repr)
def test_count_conversion(name, value, error, message):
    # Every real argument would also fail its check: conversion comes first.
    args = [0.0, -1.0, -1.0][:COUNTS[name]]
    args.insert(COUNTS[name], value)
    with pytest.raises(error) as info:
        getattr(quorin, name)(*args)
    assert type(info.value) is error and str(info.value) == message


class Index:
    def __index__(self):
        return 2


@pytest.mark.parametrize("n", [2, True, Index()], ids=repr)
def test_count_accepts_integers(n):
    k = 1 if n is True else 2
    assert_same(quorin.hill_occupancy(2, 1, n), powi(2.0, k) / (1.0 + powi(2.0, k)))
