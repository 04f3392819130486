"""Sigmoid, logistic and clonal growth, doubling time, PCR, serial dilution, allometry, Weibull
survival and the SIR reproduction number: values bit for bit, the order of the checks, their
messages, the count conversions and the parameter named `lambda`."""

import math

import pytest

import quorin
from contract_tables import check_nan_flows, check_refused, check_value, label, nan_cases
from exact import assert_same

nan, inf = math.nan, math.inf
E_1 = 0.36787944117144233  # exp(-1)


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


def logistic(k, n0, r, t):
    return k / (math.exp(t * (-r)) * ((k - n0) / n0) + 1.0)


VALUES = [
    ("sigmoid", (0,), 0.5),
    ("sigmoid", (-0.0,), 0.5),
    ("sigmoid", (1000,), 1.0),
    ("sigmoid", (-1000,), 0.0),
    ("sigmoid", (inf,), 1.0),
    ("sigmoid", (-inf,), 0.0),
    ("sigmoid", (nan,), nan),
    ("sigmoid", (1.5,), 1.0 / (math.exp(-1.5) + 1.0)),
    ("logistic_growth", (100, 10, 0, 5), 10.0),
    ("logistic_growth", (100, 10, 0.3, 7), logistic(100.0, 10.0, 0.3, 7.0)),
    ("logistic_growth", (50, 80, 0.7, 1.3), logistic(50.0, 80.0, 0.7, 1.3)),
    ("logistic_growth", (5, 5, -1000, 1), nan),
    ("logistic_growth", (5, 5, 1, 1), 5.0),
    ("logistic_growth", (100, 10, 1000, 1), 100.0),
    ("clone_size", (10, 0, 5), 10.0),
    ("clone_size", (3, 0.2, 1.7), math.exp(0.2 * 1.7) * 3.0),
    ("clone_size", (3, -0.2, 1.7), math.exp(-0.2 * 1.7) * 3.0),
    ("clone_size", (3, 1000, 1), inf),
    ("clone_size", (3, inf, 0), nan),
    ("doubling_time", (0.6931471805599453,), 1.0),
    ("doubling_time", (inf,), 0.0),
    ("pcr_copies", (1, 2, 10), 1024.0),
    ("pcr_copies", (1, 2, 3000000000), inf),
    ("pcr_copies", (3.7, 2, 0), 3.7),
    ("pcr_copies", (3.7, nan, 0), 3.7),
    ("pcr_copies", (1.5, 1.1, 9), powi(1.1, 9) * 1.5),
    ("pcr_copies", (2.5, 1.3, 11), powi(1.3, 11) * 2.5),
    ("pcr_copies", (1, 0.5, 3000000000), 0.0),
    ("dilution_concentration", (100, 10, 2), 1.0000000000000002),
    ("dilution_concentration", (100, 10, 0), 100.0),
    ("dilution_concentration", (1, 0.5, 3), 8.0),
    ("dilution_concentration", (7.3, 3, 5), powi(1.0 / 3.0, 5) * 7.3),
    ("dilution_concentration", (1, 2, 4294967295), 0.0),
    ("allometric", (2, 4, 0.5), 4.0),
    ("allometric", (2, 4, -0.5), 1.0),
    ("allometric", (3.1, 7.3, 0.75), math.pow(7.3, 0.75) * 3.1),
    ("allometric", (3.1, 7.3, 0), 3.1),
    ("allometric", (3.1, inf, -1), 0.0),
    ("weibull_survival", (0, 2, 1.5), 1.0),
    ("weibull_survival", (2, 2, 1.5), E_1),
    ("weibull_survival", (0.7, 0.7, 100), E_1),
    ("weibull_survival", (5, 5, 0.01), E_1),
    ("weibull_survival", (0, 2, 0), E_1),
    ("weibull_survival", (123, 2, 0), E_1),
    ("weibull_survival", (-1, 2, 1.5), nan),
    ("weibull_survival", (-2, 1, 2), math.exp(-4.0)),
    ("weibull_survival", (1.3, 2.1, 1.7), math.exp(-math.pow(1.3 / 2.1, 1.7))),
    ("weibull_survival", (inf, 2, 1.5), 0.0),
    ("reproduction_number", (3, 1.5), 2.0),
]

LG = "Quorin.LogisticGrowth: "
PCR = "Quorin.PcrAmplification: N\u2080 and E must be positive"
DIL = "Quorin.DilutionSeries: C\u2080 and d must be positive"
ALLO = "Quorin.AllometricScaling: a and M must be positive"
SIR = "Quorin.SirEpidemic: \u03b2 and \u03b3 must be positive"

# The first failing check decides, whatever the later arguments are.
ERRORS = [
    ("logistic_growth", (0, 0, 1, 1), LG + "K must be positive"),
    ("logistic_growth", (-0.0, 10, 1, 1), LG + "K must be positive"),
    ("logistic_growth", (100, -1, 1, 1), LG + "N\u2080 must be positive"),
    ("logistic_growth", (100, -0.0, 1, 1), LG + "N\u2080 must be positive"),
    ("clone_size", (0, 1, 1), "Quorin.ClonalExpansion: N\u2080 must be positive"),
    ("clone_size", (-0.0, 1, 1), "Quorin.ClonalExpansion: N\u2080 must be positive"),
    ("doubling_time", (0,), "Quorin.CellDoublingTime: \u03bc must be positive"),
    ("doubling_time", (-0.0,), "Quorin.CellDoublingTime: \u03bc must be positive"),
    ("doubling_time", (-inf,), "Quorin.CellDoublingTime: \u03bc must be positive"),
    ("pcr_copies", (0, 0, 3), PCR),
    ("pcr_copies", (1, 0, 3), PCR),
    ("pcr_copies", (1, -0.0, 0), PCR),
    ("dilution_concentration", (0, 0, 2), DIL),
    ("dilution_concentration", (100, 0, 2), DIL),
    ("dilution_concentration", (100, -10, 0), DIL),
    ("allometric", (0, 0, 1), ALLO),
    ("allometric", (2, 0, 1), ALLO),
    ("allometric", (2, -0.0, 1), ALLO),
    ("weibull_survival", (1, 0, 1), "Quorin.WeibullSurvival: \u03bb must be positive"),
    ("weibull_survival", (1, -0.0, 1), "Quorin.WeibullSurvival: \u03bb must be positive"),
    ("reproduction_number", (0, 0), SIR),
    ("reproduction_number", (3, 0), SIR),
    ("reproduction_number", (3, -0.0), SIR),
]

# Arguments that pass every check; a NaN in any real place must pass the checks too.
VALID = {
    "sigmoid": (0.5,),
    "logistic_growth": (100, 10, 0.3, 7),
    "clone_size": (10, 0.1, 5),
    "doubling_time": (0.3,),
    "pcr_copies": (1, 2, 10),
    "dilution_concentration": (100, 10, 2),
    "allometric": (2, 4, 0.5),
    "weibull_survival": (1, 2, 1.5),
    "reproduction_number": (3, 1.5),
}
COUNTS = {"pcr_copies": 2, "dilution_concentration": 2}

OUT_OF_RANGE = "out of range integral type conversion attempted"
COUNT_ERRORS = [
    (-1, OverflowError, OUT_OF_RANGE),
    (4294967296, OverflowError, OUT_OF_RANGE),
    (2.0, TypeError, "argument 'n': 'float' object cannot be interpreted as an integer"),
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
    # Both reals would fail their check: conversion comes first.
    with pytest.raises(error) as info:
        getattr(quorin, name)(0.0, 0.0, value)
    assert type(info.value) is error and str(info.value) == message


def test_lambda_binds_by_keyword():
    by_position = quorin.weibull_survival(1.3, 2.1, 1.7)
    assert_same(quorin.weibull_survival(1.3, **{"lambda": 2.1}, k=1.7), by_position)
    assert_same(quorin.weibull_survival(**{"k": 1.7, "lambda": 2.1, "t": 1.3}), by_position)


@pytest.mark.parametrize("call, error, message", [
    (lambda: quorin.weibull_survival(1, k=1), TypeError,
     "weibull_survival() missing 1 required positional argument: 'lambda'"),
    (lambda: quorin.weibull_survival(1, 2, 1, **{"lambda": 2}), TypeError,
     "weibull_survival() got multiple values for argument 'lambda'"),
    (lambda: quorin.weibull_survival(1, lambda_=2, k=1), TypeError,
     "weibull_survival() got an unexpected keyword argument 'lambda_'"),
    (lambda: quorin.weibull_survival(1, "2", 1), TypeError,
     "argument 'lambda': must be real number, not str"),
    (lambda: quorin.weibull_survival(1, **{"lambda": 0}, k=1), ValueError,
     "Quorin.WeibullSurvival: \u03bb must be positive"),
])
def test_lambda_in_messages(call, error, message):
    with pytest.raises(error) as info:
        call()
    assert type(info.value) is error and str(info.value) == message
