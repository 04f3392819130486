"""quorin_np's folds with a minimum hairpin loop: counts, dot-brackets and pairs against the slow
solvers of test_nussinov, over every container, in the three refusal modes and on threads."""

import itertools
import random
import re
import warnings

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st

import quorin_np
from test_nussinov import assert_valid, brackets_of, chosen_by_search, random_rna, span_table

STRING = np.dtypes.StringDType()
WITH_NA = np.dtypes.StringDType(na_object=None)
INVALID = "Quorin.NussinovStructure: invalid base 'N' (alphabet is A,U,G,C; T accepted as U)"


def canonical(s):
    return s.upper().replace("T", "U")


def fold(s, min_loop):
    """The count, the dot-bracket and the pairs of one sequence, each by its own call."""
    pairs = [tuple(p) for p in quorin_np.nussinov_pairs(s, min_loop=min_loop).tolist()]
    return (int(quorin_np.nussinov(s, min_loop=min_loop)),
            quorin_np.nussinov_structure(s, min_loop=min_loop), pairs)


# ---- against the slow solvers ---------------------------------------------------------------

@settings(max_examples=150, deadline=None)
@given(st.text(st.sampled_from("ACGUTacgut"), max_size=70), st.integers(0, 6))
def test_structures_are_valid_and_hold_the_count(s, min_loop):
    count, brackets, pairs = fold(s, min_loop)
    assert_valid(canonical(s), min_loop, count, brackets, pairs)
    assert count == (span_table(canonical(s), min_loop)[0][-1] if len(s) > 1 else 0)


ALL_SHORT = ["".join(p) for n in range(6) for p in itertools.product("ACGU", repeat=n)]


@pytest.mark.parametrize("min_loop", range(5))
def test_every_short_sequence_gets_the_structure_the_rule_names(min_loop):
    # One batch call: the counts go through the lane kernel, the structures through threads.
    counts = quorin_np.nussinov(ALL_SHORT, min_loop=min_loop, workers=2).tolist()
    structures = quorin_np.nussinov_structure(ALL_SHORT, min_loop=min_loop, workers=2).tolist()
    for s, count, brackets in zip(ALL_SHORT, counts, structures):
        best = chosen_by_search(s, min_loop)
        assert (count, brackets) == (len(best), brackets_of(len(s), best)), s


@settings(max_examples=150, deadline=None)
@given(st.text(st.sampled_from("ACGU"), min_size=6, max_size=10), st.integers(0, 4))
def test_sequences_up_to_ten_against_exhaustive_search(s, min_loop):
    best = chosen_by_search(s, min_loop)
    assert fold(s, min_loop) == (len(best), brackets_of(len(s), best), best)


@pytest.mark.parametrize("min_loop", [0, 3, 8])
def test_every_fill_and_the_lanes_agree(min_loop):
    # Lengths across the lane kernel (to 192, which a batch of 32 takes), the 8-bit fill (to
    # 511) and the tiled one.
    seqs = [random_rna(n, seed=n) for n in (*range(2, 193, 6), 193, 300, 511, 640)]
    counts = quorin_np.nussinov(seqs, min_loop=min_loop).tolist()
    for s, count, brackets in zip(seqs, counts,
                                  quorin_np.nussinov_structure(seqs, min_loop=min_loop)):
        assert count == int(quorin_np.nussinov(s, min_loop=min_loop)) == brackets.count("(")
    assert counts[:3] == [span_table(s, min_loop)[0][-1] for s in seqs[:3]]


# ---- options ------------------------------------------------------------------------------

@pytest.mark.parametrize("value, error, text", [
    (-1, ValueError, "min_loop must be 0 or more, not -1"),
    (-10**30, ValueError, "min_loop must be 0 or more"),
    (2.0, TypeError, "min_loop must be an int, not float"),
    (True, TypeError, "min_loop must be an int, not bool"),
])
def test_min_loop_refused(value, error, text):
    for function in (quorin_np.nussinov, quorin_np.nussinov_structure, quorin_np.nussinov_pairs):
        with pytest.raises(error, match=text):
            function("GGGAAACCC", min_loop=value)


def test_a_loop_longer_than_any_sequence_pairs_nothing():
    assert fold("GGGAAACCC", 10**30) == (0, ".........", [])
    assert fold("GGGAAACCC", 7) == (1, "(.......)", [(0, 8)])


# ---- containers -----------------------------------------------------------------------------

SEQS = ["GGGAAACCC", "AUAU", "ggaucAAAGAUcc"]
FOLDED = ["(((...)))", "()()", "((())...(()))"]


def series(values):
    pd = pytest.importorskip("pandas")
    return pd.Series(values, index=list("xyz"[:len(values)]), name="rna")


@pytest.mark.parametrize("make, expected, dtype", [
    (lambda: list(SEQS), FOLDED, STRING),
    (lambda: tuple(SEQS), FOLDED, STRING),
    (lambda: iter(SEQS), FOLDED, STRING),
    (lambda: np.array(SEQS, dtype=STRING), FOLDED, STRING),
    (lambda: np.array(SEQS, dtype=object).reshape(3, 1), [[f] for f in FOLDED], STRING),
    (lambda: np.array([SEQS[0], None], dtype=object), [FOLDED[0], None], WITH_NA),
    (lambda: np.array([SEQS[0], None], dtype=WITH_NA), [FOLDED[0], None], WITH_NA),
    (lambda: [SEQS[0], float("nan")], [FOLDED[0], None], WITH_NA),
    (lambda: [], [], STRING),
])
def test_arrays_of_structures(make, expected, dtype):
    result = quorin_np.nussinov_structure(make(), min_loop=0)
    assert result.dtype == dtype and result.tolist() == expected


def test_a_str_gives_a_str_and_a_series_a_series():
    assert quorin_np.nussinov_structure(SEQS[0]) == FOLDED[0]
    assert quorin_np.nussinov_structure(None) is None
    result = quorin_np.nussinov_structure(series([SEQS[0], None, SEQS[1]]))
    assert str(result.dtype) == "string" and list(result.index) == list("xyz")
    assert result.name == "rna" and result.isna().tolist() == [False, True, False]
    assert result.iloc[[0, 2]].tolist() == [FOLDED[0], FOLDED[1]]


@pytest.mark.parametrize("argument, error, text", [
    (["GGGAAACCC"], TypeError, "argument 'sequence' must be one str, not a collection"),
    (None, TypeError, "argument 'sequence' is missing"),
    ("ACGN", ValueError, INVALID),
])
def test_pairs_take_one_sequence_and_always_raise(argument, error, text):
    for mode in ("raise", "nan", "warn"):
        with quorin_np.errstate(refused=mode), pytest.raises(error, match=re.escape(text)) as raised:
            quorin_np.nussinov_pairs(argument)
        assert not getattr(raised.value, "__notes__", None)


# ---- refusals -------------------------------------------------------------------------------

BATCH = ["GGGAAACCC", "ACGN", None, 5, "AUAU"]


def test_raise_names_the_first_refused_element():
    with pytest.raises(ValueError, match="invalid base 'N'") as raised:
        quorin_np.nussinov_structure(BATCH)
    assert raised.value.__notes__ == ["quorin_np.nussinov_structure: refused the element at "
                                      "flat index 1"]
    with pytest.raises(TypeError, match="'int' object cannot be converted"):
        quorin_np.nussinov_structure(BATCH[2:])


@pytest.mark.parametrize("mode, warned", [("nan", None), ("warn", 2)])
def test_refused_structures_are_none(mode, warned):
    with warnings.catch_warnings(record=True) as seen, quorin_np.errstate(refused=mode):
        warnings.simplefilter("always")
        result = quorin_np.nussinov_structure(BATCH, min_loop=3)
        quorin_np.nussinov_structure(["AU", None])  # a missing element is no refusal
    assert result.dtype == WITH_NA and result.tolist() == ["(((...)))", None, None, None, "...."]
    if warned is None:
        assert not seen
    else:
        assert [str(w.message) for w in seen] == [
            f"quorin_np.nussinov_structure: {warned} element(s) refused and set to None; the "
            f"first, at flat index 1: {INVALID}"]


# ---- threads ------------------------------------------------------------------------------

def test_workers_fold_as_one_thread_does():
    rng = random.Random(7)
    seqs = [random_rna(rng.randrange(0, 400), seed=k) for k in range(300)]
    seqs[150] = "GGGNCCC"
    for mode in ("nan", "raise"):
        outcomes = []
        for workers in (1, 2):
            with quorin_np.errstate(refused=mode):
                try:
                    outcomes.append(quorin_np.nussinov_structure(seqs, min_loop=3,
                                                                 workers=workers).tolist())
                except ValueError as error:
                    outcomes.append((str(error), error.__notes__))
        assert outcomes[0] == outcomes[1]
    assert outcomes[0] == (INVALID, [
        "quorin_np.nussinov_structure: refused the element at flat index 150"])
