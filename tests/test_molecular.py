"""Molecular and structural scores: values (bit-exact), preconditions, count and list arguments."""
import math

import pytest

import quorin
from exact import assert_same

NAN = math.nan
M = 2**32 - 1
POOLS, POOL_TOTAL = ("Quorin.NucleotideBalance: pools must be non-negative",
                     "Quorin.NucleotideBalance: total pool must be positive")
MOD_TOTAL, MOD_LE = ("Quorin.ModifiedNucleotideRatio: total must be positive",
                     "Quorin.ModifiedNucleotideRatio: modified must be \u2264 total")
RIBO_DIV, RIBO_MFE = ("Quorin.Riboswitch: ensemble_div must be non-negative",
                      "Quorin.Riboswitch: mfe must be \u2264 0 (free energy)")
TERM_D0 = "Quorin.TmScore: d\u2080 must be non-zero"
TM_D0, TM_L = "Quorin.TMScore: d\u2080 must be non-zero", "Quorin.TMScore: L_target must be positive"
RANGE = "out of range integral type conversion attempted"


class Index:
    def __index__(self):
        return 3


VALUES = [
    ("dna_tm", (1, 2, 3, 4), 34.0), ("dna_tm", (0, 0, 0, 0), 0.0), ("dna_tm", (10, 10, 5, 5), 80.0),
    ("dna_tm", (True, 0, Index(), 0), 14.0),
    # Pair sums beyond 32 bits are kept whole rather than wrapped.
    ("dna_tm", (M, 1, 0, 0), 8589934592.0), ("dna_tm", (0, 0, 1, M), 17179869184.0),
    ("dna_tm", (M, M, M, M), float(2 * M) * 4.0 + (float(2 * M) + float(2 * M))),
    ("energy_charge", (1, 1, 1), 0.5), ("energy_charge", (1, 0, 0), 1.0),
    ("energy_charge", (0, 0, 1), 0.0), ("energy_charge", (5, 3, 2), 0.65),
    ("energy_charge", (0.3, 0.7, 0.1), (0.3 + 0.7 * 0.5) / ((0.3 + 0.7) + 0.1)),
    ("energy_charge", (NAN, 0, 0), NAN),
    ("modified_nucleotide_ratio", (3, 10), 0.3), ("modified_nucleotide_ratio", (10, 10), 1.0),
    ("modified_nucleotide_ratio", (0, 1), 0.0), ("modified_nucleotide_ratio", (M - 1, M), (M - 1) / M),
    ("pairwise_potential", ([-1.5, -2.0, 0.5],), -3.0), ("pairwise_potential", ([],), -0.0),
    ("pairwise_potential", ((1e16, 1.0, -1e16),), 0.0),  # sequential, not compensated
    ("pairwise_potential", (b"\x01\x02",), 3.0),
    ("riboswitch_confidence", (-10, 0), 0.18126924692201818),
    ("riboswitch_confidence", (0, 0), 0.0), ("riboswitch_confidence", (-10, 5), 0.10994535592122393),
    ("riboswitch_confidence", (-3.7, 1.3), (1 - math.exp(-3.7 / 50.0)) * math.exp(1.3 / -10.0)),
    ("riboswitch_confidence", (NAN, 0), NAN),
    ("tm_term", (1, 1), 0.5), ("tm_term", (0, 1), 1.0), ("tm_term", (2, 1), 0.2),
    ("tm_term", (-2, 1), 0.2), ("tm_term", (2, -1), 0.2), ("tm_term", (1, NAN), NAN),
    ("tm_score", ([0, 1, 2], 3, 1), 0.5666666666666667),
    ("tm_score", ([0, 1, 2], 10, 1), 0.16999999999999998), ("tm_score", ([], 5, 1), -0.0),
    ("tm_score", ([0, 0, 0, 0], 2, 1), 2.0), ("tm_score", ([1.0], 2**64 - 1, 1.0), 0.5 / 2**64),
    ("tm_score", ([0.7, 3.1], 7, 2.4),
     ((-0.0 + 1.0 / ((0.7 / 2.4) * (0.7 / 2.4) + 1.0)) + 1.0 / ((3.1 / 2.4) * (3.1 / 2.4) + 1.0)) / 7),
]

ERRORS = [
    ("energy_charge", (0, 0, 0), ValueError, POOL_TOTAL),
    ("energy_charge", (-0.0, 0, 0), ValueError, POOL_TOTAL),
    ("energy_charge", (1, -1, 0), ValueError, POOLS), ("energy_charge", (-1, 0, 0), ValueError, POOLS),
    ("energy_charge", (0, 0, -1), ValueError, POOLS),
    ("modified_nucleotide_ratio", (0, 0), ValueError, MOD_TOTAL),
    ("modified_nucleotide_ratio", (1, 0), ValueError, MOD_TOTAL),
    ("modified_nucleotide_ratio", (11, 10), ValueError, MOD_LE),
    ("riboswitch_confidence", (1, -1), ValueError, RIBO_DIV),
    ("riboswitch_confidence", (1, 0), ValueError, RIBO_MFE),
    ("tm_term", (1, 0), ValueError, TERM_D0), ("tm_term", (1, -0.0), ValueError, TERM_D0),
    ("tm_score", ([1], 0, 0), ValueError, TM_D0), ("tm_score", ([1], 1, -0.0), ValueError, TM_D0),
    ("tm_score", ([1], 0, 1), ValueError, TM_L),
    # Conversions: counts, lists, and conversion before any precondition.
    ("dna_tm", (-1, 0, 0, 0), OverflowError, RANGE), ("dna_tm", (0, 0, 0, 2**32), OverflowError, RANGE),
    ("dna_tm", (1.0, 0, 0, 0), TypeError, "argument 'a': 'float' object cannot be interpreted as an integer"),
    ("modified_nucleotide_ratio", (0, -1), OverflowError, RANGE),
    ("tm_score", ([1], -1, 0), OverflowError, "can't convert negative int to unsigned"),
    ("tm_score", ([1], 2**64, 1), OverflowError, "int too big to convert"),
    ("tm_score", ([1], 2.0, 1), TypeError,
     "argument 'l_target': 'float' object cannot be interpreted as an integer"),
    ("tm_score", ("0.5", -1, 0), TypeError, "argument 'distances': Can't extract `str` to `Vec`"),
    ("tm_score", ([0.5, None], 1, 0), TypeError, "argument 'distances': must be real number, not NoneType"),
    ("pairwise_potential", (5,), TypeError, "argument 'pairs': 'int' object cannot be converted to 'Sequence'"),
]


@pytest.mark.parametrize("name, args, expected", VALUES)
def test_value(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


@pytest.mark.parametrize("name, args, error, message", ERRORS)
def test_error(name, args, error, message):
    with pytest.raises(error) as info:
        getattr(quorin, name)(*args)
    assert type(info.value) is error and info.value.args == (message,)
