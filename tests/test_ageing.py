"""Ageing biomarkers: values (bit-exact), precondition order and messages, the count argument."""
import math

import pytest

import quorin
from exact import assert_same

NAN, INF = math.nan, math.inf
TEL = "Quorin.TelomereAttrition: \u03b4 must be non-negative"
CLOCK, CHRONO = ("Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]",
                 "Quorin.EpigeneticClockAcceleration: chronoAge must be non-negative")
SEL, DOSE = ("Quorin.SenolyticSelectivity: selectivity must be in [0,1]",
             "Quorin.SenolyticSelectivity: dose must be non-negative")
NADH, NADP = "Quorin.NADPlusRatio: NADH must be positive", "Quorin.NADPlusRatio: NAD+ must be non-negative"
WEIGHTS, LEVELS = ("Quorin.InflammAgingScore: weights must be non-negative",
                   "Quorin.InflammAgingScore: cytokine levels must be non-negative")
RANGE = "out of range integral type conversion attempted"

VALUES = [
    ("telomere_attrition", (10000, 50, 100), 5000.0), ("telomere_attrition", (10000, 50, 0), 10000.0),
    ("telomere_attrition", (10000, 0, 100), 10000.0), ("telomere_attrition", (100, 50, 3), -50.0),
    ("telomere_attrition", (-5, 1, 1), -6.0), ("telomere_attrition", (0.0, 0.1, 3), 0.0 - 0.1 * 3.0),
    ("telomere_attrition", (0.0, 1.0, 2**32 - 1), -4294967295.0),
    ("telomere_attrition", (-0.0, 0.0, 7), -0.0), ("telomere_attrition", (NAN, 1, 1), NAN),
    ("epigenetic_acceleration", (45, 40), 5.0), ("epigenetic_acceleration", (150, 0), 150.0),
    ("epigenetic_acceleration", (30, 1e6), -999970.0), ("epigenetic_acceleration", (-0.0, 0), -0.0),
    ("epigenetic_acceleration", (NAN, 40), NAN),
    ("senolytic_healthy_damage", (0.75, 4), 1.0), ("senolytic_healthy_damage", (0, 4), 4.0),
    ("senolytic_healthy_damage", (1, 4), 0.0), ("senolytic_healthy_damage", (0.3, 3.0), (1.0 - 0.3) * 3.0),
    ("senolytic_healthy_damage", (0.5, NAN), NAN),
    ("nad_ratio", (3, 1.5), 2.0), ("nad_ratio", (0, 1), 0.0), ("nad_ratio", (-0.0, 1), -0.0),
    ("nad_ratio", (NAN, 1), NAN), ("nad_ratio", (1, NAN), NAN),
    ("inflamm_aging_score", (1, 1, 1, 2, 3, 4), 9.0), ("inflamm_aging_score", (0,) * 6, 0.0),
    ("inflamm_aging_score", (0.1, 0.2, 0.3, 1.1, 2.2, 3.3), (0.1 * 1.1 + 0.2 * 2.2) + 0.3 * 3.3),
    ("inflamm_aging_score", (0, 1, 1, INF, 1, 1), NAN),
]

ERRORS = [
    ("telomere_attrition", (1, -1, 1), ValueError, TEL),
    ("telomere_attrition", (1, -1, -1), OverflowError, RANGE),  # conversion comes first
    ("telomere_attrition", (1, 1, 2**32), OverflowError, RANGE),
    ("telomere_attrition", (1, 1, 1.0), TypeError, "argument 'n': 'float' object cannot be interpreted as an integer"),
    ("epigenetic_acceleration", (150.5, 0), ValueError, CLOCK),
    ("epigenetic_acceleration", (-1, 0), ValueError, CLOCK),
    ("epigenetic_acceleration", (200, -1), ValueError, CLOCK),
    ("epigenetic_acceleration", (40, -1), ValueError, CHRONO),
    ("senolytic_healthy_damage", (1.5, 1), ValueError, SEL),
    ("senolytic_healthy_damage", (NAN, -1), ValueError, SEL),
    ("senolytic_healthy_damage", (-0.1, 1), ValueError, SEL),
    ("senolytic_healthy_damage", (0.5, -1), ValueError, DOSE),
    ("nad_ratio", (-1, 0), ValueError, NADH), ("nad_ratio", (1, -0.0), ValueError, NADH),
    ("nad_ratio", (-1, 1), ValueError, NADP),
    ("inflamm_aging_score", (-1, 0, 0, -1, 0, 0), ValueError, WEIGHTS),
    ("inflamm_aging_score", (0, 0, -1, 0, 0, 0), ValueError, WEIGHTS),
    ("inflamm_aging_score", (0, 0, 0, -1, 0, 0), ValueError, LEVELS),
    ("inflamm_aging_score", (0, 0, 0, 0, 0, -1), ValueError, LEVELS),
]


@pytest.mark.parametrize("name, args, expected", VALUES)
def test_value(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


@pytest.mark.parametrize("name, args, error, message", ERRORS)
def test_error(name, args, error, message):
    with pytest.raises(error) as info:
        getattr(quorin, name)(*args)
    assert type(info.value) is error and info.value.args == (message,)
