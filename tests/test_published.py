"""quorin_np's published kidney, liver and Hardy-Weinberg results: the published reference values,
the equations transcribed independently, the bounds and rounding of the MELD scores, units, the
exact test against exact rational arithmetic, refusals and missing values."""

import math
from fractions import Fraction

import pytest

np = pytest.importorskip("numpy")
import quorin  # noqa: E402
import quorin_np as q  # noqa: E402

NAN = float("nan")

# ---- published values --------------------------------------------------------------------

# (call, expected, decimals): each value as its source prints it.
PUBLISHED = {
    # The 2021 refit against the 2009 equation (Inker et al. 2021; the 2009 value by Levey 2009).
    "CKD-EPI 2021, woman of 72, 1.45 mg/dL": (lambda: q.egfr_ckd_epi_2021(1.45, 72, 1), 38.3, 1),
    "CKD-EPI 2009, the same woman": (lambda: q.egfr_ckd_epi_2009(1.45, 72, 1), 35.9, 1),
    # The published piecewise constants: 141 × 1.018 = 144 for women (2009), 133 × 0.932 (2012).
    "CKD-EPI 2009 female constant": (lambda: q.egfr_ckd_epi_2009(0.7, 18, 1) / 0.993**18, 144, 0),
    "CKD-EPI 2012 female constant": (lambda: q.egfr_ckd_epi_2012_cys(0.8, 18, 1) / 0.996**18,
                                     124.0, 1),
    "CKD-EPI 2009, man of 53, 111 µmol/L": (
        lambda: q.egfr_ckd_epi_2009(q.creatinine_mg_dl(111.0), 53, 0), 65, 0),
    "MDRD, woman of 60, 1.2 mg/dL": (lambda: q.egfr_mdrd(1.2, 60, 1), 45.8, 1),
    "Cockcroft-Gault, man of 40, 72 kg, 1.0 mg/dL": (
        lambda: q.crcl_cockcroft_gault(40, 72, 1.0, 0), 100, 0),
    "MELD of bilirubin 1.9, INR 1.2, creatinine 1.3": (lambda: q.meld(1.9, 1.2, 1.3, 0), 13, 0),
    "MN blood groups, chi-squared": (lambda: q.hwe_chi2(1787, 3039, 1303)[0], 0.027, 3),
    "MN blood groups, its p-value": (lambda: q.hwe_chi2(1787, 3039, 1303)[1], 0.87, 2),
}


@pytest.mark.parametrize("case", PUBLISHED)
def test_published_reference_values(case):
    call, expected, decimals = PUBLISHED[case]
    assert round(float(call()), decimals) == expected


# ---- the equations, transcribed from their publications ------------------------------------

def ckd_epi_2021(scr, age, f):
    k, a = (0.7, -0.241) if f else (0.9, -0.302)
    return 142 * min(scr / k, 1) ** a * max(scr / k, 1) ** -1.2 * 0.9938**age * (1.012 if f else 1)


def ckd_epi_2021_cys(scr, scys, age, f):
    k, a = (0.7, -0.219) if f else (0.9, -0.144)
    return (135 * min(scr / k, 1) ** a * max(scr / k, 1) ** -0.544 * min(scys / 0.8, 1) ** -0.323
            * max(scys / 0.8, 1) ** -0.778 * 0.9961**age * (0.963 if f else 1))


def ckd_epi_2012_cys(scys, age, f):
    return (133 * min(scys / 0.8, 1) ** -0.499 * max(scys / 0.8, 1) ** -1.328 * 0.996**age
            * (0.932 if f else 1))


def meld_3(bili, inr, creat, na, alb, f, dialysis):
    b, i = max(bili, 1), max(inr, 1)
    c = 3.0 if dialysis else min(max(creat, 1), 3.0)
    n, a = min(max(na, 125), 137), min(max(alb, 1.5), 3.5)
    s = (1.33 * f + 4.56 * math.log(b) + 0.82 * (137 - n) - 0.24 * (137 - n) * math.log(b)
         + 9.09 * math.log(i) + 11.14 * math.log(c) + 1.85 * (3.5 - a)
         - 1.83 * (3.5 - a) * math.log(c) + 6)
    return min(round(s), 40)


RNG = np.random.default_rng(26)
SCR = RNG.lognormal(0.0, 0.6, 400)
SCYS = RNG.lognormal(0.0, 0.5, 400)
AGE = RNG.uniform(18, 120, 400)
AGE[::2] = np.round(AGE[::2])  # whole years, as most records have them, and fractions
FEMALE = RNG.random(400) < 0.5

TRANSCRIBED = {
    "egfr_ckd_epi_2021": (q.egfr_ckd_epi_2021, ckd_epi_2021, (SCR, AGE, FEMALE)),
    "egfr_ckd_epi_2021_cys": (q.egfr_ckd_epi_2021_cys, ckd_epi_2021_cys, (SCR, SCYS, AGE, FEMALE)),
    "egfr_ckd_epi_2012_cys": (q.egfr_ckd_epi_2012_cys, ckd_epi_2012_cys, (SCYS, AGE, FEMALE)),
}


@pytest.mark.parametrize("name", TRANSCRIBED)
def test_equations_agree_with_their_transcription(name):
    ufunc, formula, columns = TRANSCRIBED[name]
    got = ufunc(*columns)
    want = [formula(*row) for row in zip(*columns)]
    np.testing.assert_allclose(got, want, rtol=4e-16 * 8)


# The forms that are contracts with fixed constants give the contract's values bit for bit.
CONTRACTS = {
    "egfr_ckd_epi_2009": (
        lambda s, a, f: q.egfr_ckd_epi_2009(s, a, f),
        lambda s, a, f: quorin.ckd_epi(s, 0.7 if f else 0.9, -0.329 if f else -0.411,
                                       0.993**a * (1.018 if f else 1.0))),
    "egfr_mdrd": (lambda s, a, f: q.egfr_mdrd(s, a, f),
                  lambda s, a, f: quorin.ckd_mdrd(s, a, 0.742 if f else 1.0)),
    "crcl_cockcroft_gault": (lambda s, a, f: q.crcl_cockcroft_gault(a, 70.0, s, f),
                             lambda s, a, f: quorin.cockcroft_gault(a, 70.0, s, 0.85 if f else 1.0)),
}


@pytest.mark.parametrize("name", CONTRACTS)
def test_contract_forms_are_the_contract_bit_for_bit(name):
    published, contract = CONTRACTS[name]
    got = published(SCR, AGE, FEMALE)
    want = np.array([contract(*row) for row in zip(SCR.tolist(), AGE.tolist(), FEMALE.tolist())])
    assert got.tobytes() == want.tobytes()


# ---- MELD: bounds, dialysis, rounding, range --------------------------------------------------

# (call, the same score reached another way): each pair tells one rule apart.
MELD_RULES = {
    "values below 1.0 count as 1.0": (lambda: q.meld(0.2, 0.8, 0.5, 0), lambda: q.meld(1, 1, 1, 0)),
    "creatinine capped at 4.0": (lambda: q.meld(2, 1.5, 9.0, 0), lambda: q.meld(2, 1.5, 4.0, 0)),
    "dialysis sets creatinine to 4.0": (lambda: q.meld(2, 1.5, 0.7, 1),
                                        lambda: q.meld(2, 1.5, 4.0, 0)),
    "MELD-Na: sodium bounded below at 125": (lambda: q.meld_na(3, 2, 2, 100, 0),
                                             lambda: q.meld_na(3, 2, 2, 125, 0)),
    "MELD-Na: sodium bounded above at 137": (lambda: q.meld_na(3, 2, 2, 150, 0),
                                             lambda: q.meld(3, 2, 2, 0)),
    # MELD(i) 11 (bilirubin 2.2, INR 1.2) is left alone; 12 (bilirubin 2.5) takes the term.
    "MELD-Na: no sodium term at MELD(i) 11": (lambda: q.meld_na(2.2, 1.2, 1, 125, 0),
                                              lambda: 11.0),
    "MELD-Na: the term above 11": (lambda: q.meld_na(2.5, 1.2, 1, 125, 0),
                                   lambda: round(12 + 1.32 * 12 - 0.033 * 12 * 12)),
    "MELD 3.0: creatinine capped at 3.0": (lambda: q.meld_3(2, 1.5, 3.5, 130, 3, 0, 0),
                                           lambda: q.meld_3(2, 1.5, 3.0, 130, 3, 0, 0)),
    "MELD 3.0: dialysis sets creatinine to 3.0": (lambda: q.meld_3(2, 1.5, 1.1, 130, 3, 0, 1),
                                                  lambda: q.meld_3(2, 1.5, 3.0, 130, 3, 0, 0)),
    "MELD 3.0: albumin bounded to 1.5-3.5": (lambda: q.meld_3(2, 1.5, 2, 130, [1.0, 4.5], 0, 0),
                                             lambda: q.meld_3(2, 1.5, 2, 130, [1.5, 3.5], 0, 0)),
    "MELD 3.0: 1.33 points for a woman, rounded": (lambda: q.meld_3(1, 1, 1, 137, 3.5, 1, 0),
                                                   lambda: 7.0),
    "every score capped at 40": (lambda: [q.meld(40, 9, 4, 1), q.meld_na(40, 9, 4, 125, 1),
                                          q.meld_3(40, 9, 3, 125, 1.5, 1, 1)],
                                 lambda: [40.0] * 3),
}


@pytest.mark.parametrize("rule", MELD_RULES)
def test_meld_rules(rule):
    got, same = MELD_RULES[rule]
    assert np.array_equal(got(), same())


def test_meld_scores_are_whole_numbers_from_6_to_40():
    n = 2000
    bili, inr, creat = RNG.lognormal(0.5, 1.2, n), RNG.lognormal(0.3, 0.5, n), RNG.lognormal(0, 0.8, n)
    na, alb, f, d = RNG.uniform(110, 150, n), RNG.uniform(1, 5, n), RNG.random(n) < .5, RNG.random(n) < .1
    for score in (q.meld(bili, inr, creat, d), q.meld_na(bili, inr, creat, na, d),
                  q.meld_3(bili, inr, creat, na, alb, f, d)):
        assert (score == np.round(score)).all() and score.min() >= 6 and score.max() <= 40
        assert 6 in score and 40 in score
    want = [meld_3(*row) for row in zip(bili, inr, creat, na, alb, f, d)]
    assert q.meld_3(bili, inr, creat, na, alb, f, d).tolist() == want


# ---- units ----------------------------------------------------------------------------------

def test_units_give_the_same_results_as_the_division_by_hand():
    umol = RNG.uniform(30, 900, 200)
    assert q.egfr_ckd_epi_2021(q.creatinine_mg_dl(umol), 60, 1).tobytes() == \
        q.egfr_ckd_epi_2021(umol / 88.4, 60, 1).tobytes()
    bili = RNG.uniform(3, 600, 200)
    assert q.meld(q.bilirubin_mg_dl(bili), 1.4, q.creatinine_mg_dl(umol), 0).tobytes() == \
        q.meld(bili / 17.1, 1.4, umol / 88.4, 0).tobytes()
    assert q.meld_3(2, 1.5, 1.2, 135, q.albumin_g_dl(30.0), 0, 0) == q.meld_3(2, 1.5, 1.2, 135, 3, 0, 0)


# ---- Hardy-Weinberg: the exact test against exact rational arithmetic --------------------------

def exact_tail(n_aa, n_ab, n_bb, probabilities):
    """(p, mid-p) from every heterozygote count's exact probability."""
    observed = probabilities[n_ab]
    total = sum(probabilities.values())
    at_most = sum(v for v in probabilities.values() if v <= observed)
    ties = sum(v for v in probabilities.values() if v == observed)
    return at_most / total, (at_most - ties / 2) / total


def enumerated(n_aa, n_ab, n_bb):
    """The conditional distribution by Levene's formula, with factorials (no recurrence)."""
    n, a, b = n_aa + n_ab + n_bb, 2 * n_aa + n_ab, 2 * n_bb + n_ab
    f = math.factorial
    return {h: Fraction(f(n) * 2**h * f(a) * f(b), f((a - h) // 2) * f(h) * f((b - h) // 2) * f(2 * n))
            for h in range(a % 2, min(a, b) + 1, 2)}


def by_ratios(n_aa, n_ab, n_bb):
    """The same distribution by its exact rational ratios, for samples too large for factorials."""
    rare = min(2 * n_aa + n_ab, 2 * n_bb + n_ab)
    h, r = rare % 2, rare // 2
    c = n_aa + n_ab + n_bb - h - r
    out, t = {h: Fraction(1)}, Fraction(1)
    while r > 0:
        t = t * 4 * r * c / ((h + 1) * (h + 2))
        h, r, c = h + 2, r - 1, c - 1
        out[h] = t
    return out


SMALL = [(a, b, n - a - b) for n in range(1, 15) for a in range(n + 1) for b in range(n + 1 - a)]


def test_exact_test_against_every_small_sample():
    counts = np.array(SMALL)
    p, midp = q.hwe_exact(*counts.T), q.hwe_exact_midp(*counts.T)
    want = [exact_tail(*c, enumerated(*c)) for c in SMALL]
    np.testing.assert_allclose(p, [float(w[0]) for w in want], rtol=1e-14)
    np.testing.assert_allclose(midp, [float(w[1]) for w in want], rtol=1e-14)
    assert ((0 < midp) & (midp < p) & (p <= 1)).all()
    assert (q.hwe_exact(*counts.T[::-1]) == p).all()  # the alleles' names do not matter


LARGE = {
    "2000 samples, common allele": (520, 974, 506),
    "2000 samples, deficit of heterozygotes": (600, 720, 680),
    "just below 2^53 individuals": (2**53 - 60, 40, 3),
    "past 2^53 individuals": (2**53 + 10, 40, 3),
    "near 2^64 homozygotes": (2**64 - 1, 7, 2),
}


@pytest.mark.parametrize("case", LARGE)
def test_exact_test_on_large_counts(case):
    counts = LARGE[case]
    p, midp = exact_tail(*counts, by_ratios(*counts))
    got = [q.hwe_exact(*np.array(counts, np.uint64)), q.hwe_exact_midp(*np.array(counts, np.uint64))]
    np.testing.assert_allclose(got, [float(p), float(midp)], rtol=1e-12)


def test_chi2_is_pearsons_statistic_on_counts():
    for n_aa, n_ab, n_bb in [(1787, 3039, 1303), (0, 10, 0), (10, 0, 0)]:
        n = n_aa + n_ab + n_bb
        p = (2 * n_aa + n_ab) / (2 * n)
        expected = [n * p * p, 2 * n * p * (1 - p), n * (1 - p) ** 2]
        chi2 = sum((o - e) ** 2 / e for o, e in zip((n_aa, n_ab, n_bb), expected) if e > 0)
        got = q.hwe_chi2(n_aa, n_ab, n_bb)
        assert got[0] == pytest.approx(chi2, rel=1e-13, abs=1e-300)
        assert got[1] == pytest.approx(math.erfc(math.sqrt(chi2 / 2)), rel=1e-13)


# ---- refusals, flags, missing values ---------------------------------------------------------

GOOD = {  # a valid call of each function
    "egfr_ckd_epi_2021": (1.1, 60, 1), "egfr_ckd_epi_2021_cys": (1.1, 1.0, 60, 1),
    "egfr_ckd_epi_2012_cys": (1.0, 60, 1), "egfr_ckd_epi_2009": (1.1, 60, 1),
    "egfr_mdrd": (1.1, 60, 1), "crcl_cockcroft_gault": (60, 70, 1.1, 1),
    "kdigo_gfr_category": (50.0,), "meld": (2, 1.5, 1.2, 0), "meld_na": (2, 1.5, 1.2, 130, 0),
    "meld_3": (2, 1.5, 1.2, 130, 3.0, 1, 0),
}

# (function, argument index, refused value, message after "Quorin.")
REFUSED = [
    ("egfr_ckd_epi_2021", 0, 0.0, "EgfrCkdEpi2021: scr must be positive"),
    ("egfr_ckd_epi_2021", 1, 17.9, "EgfrCkdEpi2021: age must be in [18, 120]"),
    ("egfr_ckd_epi_2021", 1, 120.5, "EgfrCkdEpi2021: age must be in [18, 120]"),
    ("egfr_ckd_epi_2021", 2, 0.5, "EgfrCkdEpi2021: female must be 0 or 1 (false or true)"),
    ("egfr_ckd_epi_2021_cys", 1, -0.0, "EgfrCkdEpi2021Cys: scr and scys must be positive"),
    ("egfr_ckd_epi_2012_cys", 2, 2.0, "EgfrCkdEpi2012Cys: female must be 0 or 1 (false or true)"),
    ("egfr_ckd_epi_2009", 0, -1.0, "EgfrCkdEpi2009: scr must be positive"),
    ("egfr_mdrd", 1, 5.0, "EgfrMdrd: age must be in [18, 120]"),
    ("crcl_cockcroft_gault", 1, 0.0, "CrclCockcroftGault: weight and scr must be positive"),
    ("crcl_cockcroft_gault", 3, 0.85, "CrclCockcroftGault: female must be 0 or 1 (false or true)"),
    ("kdigo_gfr_category", 0, -0.5, "KdigoGfrCategory: egfr must be non-negative"),
    ("meld", 1, 0.0, "Meld: bili, inr and creat must be positive"),
    ("meld", 3, 2.0, "Meld: dialysis must be 0 or 1 (false or true)"),
    ("meld_na", 3, -130.0, "MeldNa: bili, inr, creat and na must be positive"),
    ("meld_3", 4, 0.0, "Meld3: bili, inr, creat, na and albumin must be positive"),
    ("meld_3", 5, -1.0, "Meld3: female must be 0 or 1 (false or true)"),
]


@pytest.mark.parametrize("name, index, value, message", REFUSED)
def test_implausible_inputs_are_refused_with_the_equation_named(name, index, value, message):
    args = list(GOOD[name])
    args[index] = value
    with pytest.raises(ValueError) as caught:
        getattr(q, name)(*args)
    assert str(caught.value) == "Quorin." + message
    with q.errstate(refused="nan"):
        assert math.isnan(getattr(q, name)(*args))


@pytest.mark.parametrize("name, index", [(n, i) for n, a in GOOD.items() for i in range(len(a))])
def test_nan_in_any_input_gives_nan_never_a_refusal(name, index):
    args = list(GOOD[name])
    args[index] = NAN
    assert math.isnan(getattr(q, name)(*args))


def test_missing_values_of_nullable_columns_stay_missing():
    pd = pytest.importorskip("pandas")
    scr = pd.Series([1.45, None, 0.0], dtype="Float64")  # 0.0 would be refused, but it is there
    female = pd.Series([True, True, None], dtype="boolean")
    got = q.egfr_ckd_epi_2021(scr.mask(scr == 0.0), 72.0, female)
    assert got.isna().tolist() == [False, True, True]
    assert round(float(got[0]), 1) == 38.3
    counts = pd.Series([10, None, 5], dtype="Int64")
    p = q.hwe_exact(counts, 0, 10)
    assert p.isna().tolist() == [False, True, False]


def test_over_dask_chunks_as_over_numpy():
    da = pytest.importorskip("dask.array")
    scr, age = da.from_array(SCR, chunks=64), da.from_array(AGE, chunks=64)
    assert (q.egfr_ckd_epi_2021(scr, age, True).compute() == q.egfr_ckd_epi_2021(SCR, AGE, True)).all()
    chi2, p = q.hwe_chi2(da.from_array(np.arange(1, 201), chunks=50), 40, 30)
    assert (p.compute() == q.hwe_chi2(np.arange(1, 201), 40, 30)[1]).all()


# ---- KDIGO categories and their labels --------------------------------------------------------

BOUNDS = [(120, 1), (90, 1), (89.99, 2), (60, 2), (59.99, 3), (45, 3), (44.99, 4), (30, 4),
          (29.99, 5), (15, 5), (14.99, 6), (0, 6), (math.inf, 1)]


def test_kdigo_categories_at_their_bounds():
    egfr, codes = zip(*BOUNDS)
    assert q.kdigo_gfr_category(egfr).tolist() == list(codes)


LABELLED = {
    "NumPy codes": lambda codes: q.kdigo_gfr_labels(codes).tolist(),
    "pandas Series": lambda codes: q.kdigo_gfr_labels(
        __import__("pandas").Series(codes, index=list("abcdefg"))).tolist(),
    "polars Series": lambda codes: q.kdigo_gfr_labels(
        pytest.importorskip("polars").Series("g", codes)).to_list(),
}


@pytest.mark.parametrize("kind", LABELLED)
def test_labels_of_codes(kind):
    pytest.importorskip("pandas")
    codes = q.kdigo_gfr_category([95, 70, 50, 35, 20, 5, NAN])
    labels = LABELLED[kind](codes)
    assert labels[:6] == ["G1", "G2", "G3a", "G3b", "G4", "G5"]
    assert labels[6] is None or (isinstance(labels[6], float) and math.isnan(labels[6]))


def test_labels_group_in_the_order_of_the_table():
    pd = pytest.importorskip("pandas")
    egfr = pd.Series([50.0, 95.0, 20.0, 55.0])
    groups = egfr.groupby(q.kdigo_gfr_labels(q.kdigo_gfr_category(egfr)), observed=False).size()
    assert groups.index.tolist() == ["G1", "G2", "G3a", "G3b", "G4", "G5"]
    assert groups.tolist() == [1, 0, 2, 0, 1, 0]
    with pytest.raises(ValueError, match="a code is 1 to 6"):
        q.kdigo_gfr_labels([1.0, 2.5])
