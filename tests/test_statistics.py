"""Hardy-Weinberg frequencies and test, and protein RMSD."""

import math
from collections import namedtuple

import pytest
from hypothesis import given, strategies as st

import quorin
from exact import assert_same

inf, nan = math.inf, math.nan
U64 = 2**64 - 1

HW_P = "Quorin.HardyWeinberg: p must be in [0, 1] (AlleleFreq.hp + hq + hsum)"
HW_TOTAL = "Quorin.HardyWeinberg: total count must be positive"
RMSD_LEN = "Quorin.ProteinRMSD: coordinate arrays must have the same length"


def reference_test(dom, het, rec):
    """The frequency-based statistic from exact integer totals: Python's int -> float conversion
    rounds to nearest, ties to even, for every size."""
    n, d, h, r = float(het + dom + rec), float(dom), float(het), float(rec)
    f_dom, f_het, f_rec = d / n, h / n, r / n
    p = (h + (d + d)) / (n + n)
    q = 1.0 - p
    e = {"dom": p * p, "het": (p + p) * q, "rec": q * q}
    f = {"dom": f_dom, "het": f_het, "rec": f_rec}
    t = {k: ((f[k] - e[k]) * (f[k] - e[k])) / e[k] if e[k] > 0 else 0.0 for k in e}
    return (f_dom, f_het, f_rec, t["rec"] + (t["dom"] + t["het"]))


# ---- hardy_weinberg --------------------------------------------------------------------------

@pytest.mark.parametrize("p, expected", [
    (0.5, (0.25, 0.5, 0.25)),
    (0.0, (0.0, 0.0, 1.0)),
    (-0.0, (0.0, -0.0, 1.0)),        # (1 - -0.0) * (2 * -0.0) is -0.0
    (1.0, (1.0, 0.0, 0.0)),
    (0.3, (0.09, 0.42, 0.48999999999999994)),
    (0.1, (0.1 * 0.1, (1 - 0.1) * (2 * 0.1), (1 - 0.1) * (1 - 0.1))),
    (5e-324, (0.0, 1e-323, 1.0)),
    (True, (1.0, 0.0, 0.0)),
])
def test_hardy_weinberg_values(p, expected):
    assert_same(quorin.hardy_weinberg(p), expected)


@pytest.mark.parametrize("p", [1.0000001, -1e-300, nan, -nan, inf, -inf, 2])
def test_hardy_weinberg_range(p):
    with pytest.raises(ValueError) as e:
        quorin.hardy_weinberg(p)
    assert e.value.args == (HW_P,)


# ---- hardy_weinberg_test ---------------------------------------------------------------------

@pytest.mark.parametrize("counts, expected", [
    ((25, 50, 25), (0.25, 0.5, 0.25, 0.0)),
    ((30, 40, 30), (0.3, 0.4, 0.3, 0.03999999999999998)),   # Pearson's 4.0 divided by N
    ((1, 2, 3), (0.16666666666666666, 0.3333333333333333, 0.5, 0.0625)),
    ((10, 0, 0), (1.0, 0.0, 0.0, 0.0)),       # monomorphic: the zero expectations add nothing
    ((0, 0, 10), (0.0, 0.0, 1.0, 0.0)),
    ((0, 10, 0), (0.0, 1.0, 0.0, 1.0)),
    ((50, 0, 50), (0.5, 0.0, 0.5, 1.0)),
    ((0, 1, 0), (0.0, 1.0, 0.0, 1.0)),
    ((True, False, True), (0.5, 0.0, 0.5, 1.0)),
])
def test_hardy_weinberg_test_values(counts, expected):
    assert_same(quorin.hardy_weinberg_test(*counts), expected)
    assert_same(reference_test(*counts), expected)


# Totals above 2^64 - 1: formed exactly, then rounded once to the nearest double. Near 2^65 the
# doubles are 2^13 apart, so these totals probe rounding up, both ties and an exact value;
# f_rec = rec / N shows which double N became.
BIG = [
    (U64, U64, U64),
    (U64, 1, 0),                   # would wrap to a zero total
    (U64, U64, 2),                 # exactly 2^65
    (U64, U64, 2**13 + 1),         # 2^65 + 2^13 - 1 rounds up to 2^65 + 2^13
    (U64, U64, 2**12 + 2),         # 2^65 + 2^12: a tie, to the even 2^65
    (U64, U64, 3 * 2**12 + 2),     # 2^65 + 3 * 2^12: a tie, to the even 2^65 + 2^14
    (2**63, 2**63, 1),
    (U64 - 1, 1, 0),               # fits: unchanged
    (U64, 0, 0),
]


@pytest.mark.parametrize("counts", BIG)
def test_hardy_weinberg_test_totals_beyond_64_bits(counts):
    assert_same(quorin.hardy_weinberg_test(*counts), reference_test(*counts))


def test_hardy_weinberg_test_total_rounding_is_visible():
    # Guard the table above: truncating the total instead of rounding would change f_rec.
    f_rec = quorin.hardy_weinberg_test(U64, U64, 2**13 + 1)[2]
    assert_same(f_rec, float(2**13 + 1) / float(2**65 + 2**13))
    assert f_rec != float(2**13 + 1) / float(2**65)


@given(st.tuples(*[st.integers(0, U64) | st.integers(0, 1000)] * 3).filter(any))
def test_hardy_weinberg_test_matches_reference(counts):
    assert_same(quorin.hardy_weinberg_test(*counts), reference_test(*counts))


def test_hardy_weinberg_test_zero_total():
    with pytest.raises(ValueError) as e:
        quorin.hardy_weinberg_test(0, 0, 0)
    assert e.value.args == (HW_TOTAL,)


# ---- protein_rmsd ----------------------------------------------------------------------------

Point = namedtuple("Point", "x y z")


@pytest.mark.parametrize("coords1, coords2, expected", [
    ([], [], 0.0),
    ((), [], 0.0),
    ([(0, 0, 0)], [(3, 4, 0)], 5.0),
    ([(0, 0, 0), (0, 0, 0)], [(1, 2, 2), (0, 0, 0)], 2.1213203435596424),
    ([(1.5, -2.0, 0.25)], [(1.5, -2.0, 0.25)], 0.0),
    ([Point(0.0, 0.0, 0.0)], (Point(0.0, 0.0, 2.0),), 2.0),        # tuple subclasses
    ([(0.1, 0.2, 0.3), (0.4, 0.5, 0.6)], [(0.7, 0.8, 0.9), (1.0, 1.1, 1.2)],
     math.sqrt(((0.1 - 0.7) ** 2 + (0.2 - 0.8) ** 2 + (0.3 - 0.9) ** 2
                + ((0.4 - 1.0) ** 2 + (0.5 - 1.1) ** 2 + (0.6 - 1.2) ** 2)) / 2)),
    ([(1e200, 0, 0)], [(-1e200, 0, 0)], inf),                     # the squares overflow
    ([(inf, 0, 0)], [(inf, 0, 0)], nan),
    ([(nan, 0, 0), (0, 0, 0)], [(0, 0, 0), (0, 0, 0)], nan),
])
def test_protein_rmsd_values(coords1, coords2, expected):
    assert_same(quorin.protein_rmsd(coords1, coords2), expected)


def test_protein_rmsd_sums_in_order():
    # Sequential sum from -0.0 with each point's (dx^2 + dy^2) + dz^2; the result is the
    # correctly rounded sqrt of s / n.
    a = [(0.1 * k, 0.3 * k, -0.7 * k) for k in range(50)]
    b = [(0.2 * k, -0.1 * k, 0.05 * k) for k in range(50)]
    s = -0.0
    for (x1, y1, z1), (x2, y2, z2) in zip(a, b):
        dx, dy, dz = x1 - x2, y1 - y2, z1 - z2
        s = s + ((dx * dx + dy * dy) + dz * dz)
    assert_same(quorin.protein_rmsd(a, b), math.sqrt(s / 50))


@pytest.mark.parametrize("coords1, coords2", [
    ([(0, 0, 0)] * 2, [(0, 0, 0)] * 3),
    ([], [(0, 0, 0)]),
    ([(0, 0, 0)], []),
])
def test_protein_rmsd_lengths_differ(coords1, coords2):
    with pytest.raises(ValueError) as e:
        quorin.protein_rmsd(coords1, coords2)
    assert e.value.args == (RMSD_LEN,)
