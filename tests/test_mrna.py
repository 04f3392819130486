"""mRNA decay, half-life, ribosome density and translation rate."""

import math

import pytest

import quorin
from exact import assert_same

inf, nan = math.inf, math.nan

M_INITIAL = "Quorin.MrnaHalfLife: initial (m₀) must be positive"
M_DECAY = "Quorin.MrnaHalfLife: decay_rate must be non-negative"
M_TIME = "Quorin.MrnaHalfLife: time must be non-negative"
M_HALF = "Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)"
R_N = "Quorin.RibosomeDensity: n_ribosomes must be non-negative (coverage_nonneg)"
R_LEN = "Quorin.RibosomeDensity: length must be positive"
T_CODON = "Quorin.TranslationRate: codon_rate must be positive (translationRate_pos)"
T_DENSITY = "Quorin.TranslationRate: ribosome_density must be positive (translationRate_pos)"
T_COPIES = "Quorin.TranslationRate: mrna_copies must be positive (translationRate_pos)"

VALUES = [
    ("mrna_halflife_concentration", (100.0, 0.0, 5.0), 100.0),
    ("mrna_halflife_concentration", (100.0, 0.0, inf), nan),  # 0 * inf in the exponent
    ("mrna_halflife_concentration", (100.0, 0.1, inf), 0.0),
    ("mrna_halflife_concentration", (100.0, 0.1, 5.0), math.exp(5.0 * -0.1) * 100.0),
    ("mrna_halflife_concentration", (100.0, -0.0, 0.0), 100.0),
    ("mrna_halflife_concentration", (nan, 0.1, 1.0), nan),
    ("mrna_halflife_concentration", (1.0, nan, 1.0), nan),
    ("mrna_halflife_concentration", (1.0, 0.1, nan), nan),
    ("mrna_halflife_concentration", (1e300, 0.0, 1.0), 1e300),
    ("mrna_halflife", (1.0,), 0.6931471805599453),
    ("mrna_halflife", (2,), 0.34657359027997264),
    ("mrna_halflife", (inf,), 0.0),
    ("mrna_halflife", (nan,), nan),
    ("mrna_halflife", (5e-324,), inf),
    ("ribosome_density", (5.0, 10.0), 0.5),
    ("ribosome_density", (50.0, 10.0), 1.0),
    ("ribosome_density", (0.0, 10.0), 0.0),
    ("ribosome_density", (-0.0, 10.0), -0.0),
    ("ribosome_density", (nan, 10.0), 1.0),
    ("ribosome_density", (1.0, nan), 1.0),
    ("ribosome_density", (inf, inf), 1.0),
    ("ribosome_density", (1.0, 3.0), 1.0 / 3.0),
    ("translation_rate", (2.0, 3.0, 4.0), 24.0),
    ("translation_rate", (1e200, 1e200, 1.0), inf),
    ("translation_rate", (0.1, 0.2, 0.3), (0.1 * 0.2) * 0.3),
    ("translation_rate", (nan, 1.0, 1.0), nan),
    ("translation_rate", (1.0, nan, 1.0), nan),
    ("translation_rate", (1.0, 1.0, nan), nan),
]


@pytest.mark.parametrize("name, args, expected", VALUES)
def test_values(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


PRECONDITIONS = [
    ("mrna_halflife_concentration", (0.0, -1.0, -1.0), M_INITIAL),  # first failing check wins
    ("mrna_halflife_concentration", (-0.0, 1.0, 1.0), M_INITIAL),
    ("mrna_halflife_concentration", (1.0, -1.0, -1.0), M_DECAY),
    ("mrna_halflife_concentration", (1.0, 1.0, -1.0), M_TIME),
    ("mrna_halflife_concentration", (1.0, -inf, 1.0), M_DECAY),
    ("mrna_halflife", (0.0,), M_HALF),
    ("mrna_halflife", (-0.0,), M_HALF),
    ("mrna_halflife", (-inf,), M_HALF),
    ("ribosome_density", (-1.0, 0.0), R_N),
    ("ribosome_density", (1.0, 0.0), R_LEN),
    ("ribosome_density", (1.0, -0.0), R_LEN),
    ("translation_rate", (0.0, 0.0, 0.0), T_CODON),
    ("translation_rate", (1.0, 0.0, 1.0), T_DENSITY),
    ("translation_rate", (1.0, 1.0, -0.0), T_COPIES),
]


@pytest.mark.parametrize("name, args, message", PRECONDITIONS)
def test_preconditions(name, args, message):
    with pytest.raises(ValueError) as info:
        getattr(quorin, name)(*args)
    assert info.value.args == (message,)


def test_keywords():
    assert_same(quorin.mrna_halflife_concentration(time=5.0, initial=100.0, decay_rate=0.0), 100.0)
    assert_same(quorin.translation_rate(2.0, mrna_copies=4.0, ribosome_density=3.0), 24.0)
