"""GC content, positional identity and the two Shannon entropies."""

import math

import pytest
from hypothesis import given, strategies as st

import quorin
from exact import assert_same

NAN = math.nan
INF = math.inf
LN2 = 0.6931471805599453

# Text without lone surrogates (those cannot reach a core: the conversion refuses them), drawn
# from every UTF-8 width: ASCII, two-, three- and four-byte characters.
texts = st.text(st.characters(exclude_categories=("Cs",)), max_size=40)
mixed = st.text(st.sampled_from("ACGTacgtN\u00e9\u00e8\u00c9\u4e2d\u4e2e\U0001f600\U0001f601"),
                max_size=40)


# Long runs of bases with a few wider characters placed anywhere: the scans take whole vectors,
# spans of blocks and a last partial vector, and fall back to characters around a wide one.
def _placed(run, wide):
    for at, ch in wide:
        run = run[:at] + ch + run[at:]
    return run


long_mixed = st.builds(_placed, st.text(st.sampled_from("ACGUacgu"), max_size=700),
                       st.lists(st.tuples(st.integers(0, 700), st.sampled_from("\u00e9\u4e2d\U0001f600")),
                                max_size=3))


def reference_gc(s):
    return sum(ch in "GCgc" for ch in s) / len(s.encode())


def reference_identity(a, b):
    return sum(x == y for x, y in zip(a, b)) / max(len(a.encode()), len(b.encode()))


# ---- gc_content ------------------------------------------------------------------------------

@pytest.mark.parametrize("sequence, expected", [
    ("GGCC", 1.0),
    ("ATAT", 0.0),
    ("gcAT", 0.5),
    ("GCSN", 0.5),            # ambiguity codes never count
    ("U", 0.0),
    ("G\u00e9", 1 / 3),       # one match over three bytes
    ("\u4e2dG", 0.25),        # three-byte letter
    ("\U0001f600c", 0.2),     # four-byte letter
    ("\u0147", 0.0),          # U+0147 is encoded C5 87: no byte of it is a G or C
    ("\u0143\u0147G", 0.2),   # C5 83, C5 87, then G
    ("G" * 1000 + "A" * 3000, 0.25),
    ("cG" * 400 + "\u00e9", 800 / 802),  # every block of 255 bytes full, then a partial one
])
def test_gc_content_values(sequence, expected):
    assert_same(quorin.gc_content(sequence), expected)


@given(mixed | texts | long_mixed)
def test_gc_content_counts_characters_over_bytes(s):
    if not s:
        return
    assert_same(quorin.gc_content(s), reference_gc(s))


def test_gc_content_empty():
    with pytest.raises(ValueError) as e:
        quorin.gc_content("")
    assert e.value.args == ("Quorin.GCContent: sequence must not be empty (total > 0 precondition)",)


# ---- sequence_identity -----------------------------------------------------------------------

@pytest.mark.parametrize("seq1, seq2, expected", [
    ("ACGT", "ACGA", 0.75),
    ("ACGT", "AC", 0.5),                # the longer length is the denominator
    ("AC", "ACGT", 0.5),
    ("acgt", "ACGT", 0.0),              # case-sensitive
    ("ACGT", "ACGU", 0.75),             # no T/U equivalence
    ("N", "A", 0.0),                    # no wildcard
    ("\u00e9", "\u00e9", 0.5),          # one match over two bytes
    ("\u00e9", "\u00e8", 0.0),          # same lead byte, different characters
    ("\u00e9A", "xA", 1 / 3),           # pairing is by character, not by byte
    ("xA", "\u00e9A", 1 / 3),
    ("\u4e2dA", "\u4e2eA", 0.25),
    ("\U0001f600\U0001f601", "\U0001f600\U0001f600", 0.125),
    ("A\U0001f600B", "A\u4e2dB", 2 / 6),
    ("A" * 500, "A" * 250, 0.5),
])
def test_sequence_identity_values(seq1, seq2, expected):
    assert_same(quorin.sequence_identity(seq1, seq2), expected)
    assert_same(quorin.sequence_identity(seq2=seq2, seq1=seq1), expected)


@given(mixed | texts, mixed | texts)
def test_sequence_identity_pairs_characters(a, b):
    if not a or not b:
        return
    assert_same(quorin.sequence_identity(a, b), reference_identity(a, b))


@given(long_mixed, st.data())
def test_sequence_identity_of_long_texts_that_mostly_agree(a, data):
    # The second text: the first with a few characters changed, cut or extended.
    b = list(a)
    for at in data.draw(st.lists(st.integers(0, max(len(b) - 1, 0)), max_size=4)):
        if b:
            b[at] = data.draw(st.sampled_from("A\u00e9\u4e2d"))
    b = "".join(b)[:data.draw(st.integers(0, len(a) + 5))] + data.draw(st.sampled_from(["", "GG"]))
    if not a or not b:
        return
    assert_same(quorin.sequence_identity(a, b), reference_identity(a, b))


@pytest.mark.parametrize("seq1, seq2", [("", "A"), ("A", ""), ("", "")])
def test_sequence_identity_empty(seq1, seq2):
    with pytest.raises(ValueError) as e:
        quorin.sequence_identity(seq1, seq2)
    assert e.value.args == ("Quorin.SequenceIdentity: sequences must not be empty",)


# ---- shannon_entropy -------------------------------------------------------------------------

@pytest.mark.parametrize("p, expected", [
    (0.5, LN2),
    (0.0, 0.0),
    (-0.0, 0.0),
    (1.0, 0.0),
    (0.25, -(math.log(0.25) * 0.25 + math.log(0.75) * 0.75)),
    (5e-324, -(math.log(5e-324) * 5e-324)),  # subnormal p, q rounds to 1
    (1e-300, -(math.log(1e-300) * 1e-300 + 0.0)),
    (True, 0.0),
    (0, 0.0),
])
def test_shannon_entropy_values(p, expected):
    assert_same(quorin.shannon_entropy(p), expected)


@pytest.mark.parametrize("p", [1.0000001, NAN, -NAN, -1e-300, -INF, INF, 2])
def test_shannon_entropy_range(p):
    with pytest.raises(ValueError) as e:
        quorin.shannon_entropy(p)
    assert e.value.args == ("Quorin.ShannonEntropy: p must be in [0, 1]",)


# ---- shannon_entropy_dist --------------------------------------------------------------------

@pytest.mark.parametrize("probabilities, expected", [
    ([0.5, 0.5], LN2),
    ([0.25] * 4, 1.3862943611198906),
    ([1.0], 0.0),
    ([1.0, 0.0, -0.0], 0.0),
    ([0.5, 0.5000005], -(math.log(0.5) * 0.5) - math.log(0.5000005) * 0.5000005),  # not normalised
    ([0.5, 0.5, NAN], LN2),          # a NaN element contributes nothing
    ([NAN], 0.0),                    # NaN sum passes; H stays -0.0, reported as +0.0
    ([1.0000009], 0.0),              # within the tolerance
    ((0.5, 0.5), LN2),               # any sequence works like a list
    (range(1, 2), 0.0),
    (b"\x01", 0.0),                  # bytes are a sequence of integers
    (b"\x00\x01\x00", 0.0),
])
def test_shannon_entropy_dist_values(probabilities, expected):
    assert_same(quorin.shannon_entropy_dist(probabilities), expected)


def test_shannon_entropy_dist_adds_in_list_order():
    # Sequential sum from -0.0: 1e-7 added ten times to 0.999999 differs from pairwise sums.
    ps = [0.999999] + [1e-7] * 10
    s = -0.0
    for p in ps:
        s += p
    h = -0.0
    for p in ps:
        h = h - math.log(p) * p
    assert abs(s - 1.0) <= 1e-6
    assert_same(quorin.shannon_entropy_dist(ps), h)


@pytest.mark.parametrize("probabilities, message", [
    ([], "Quorin.ShannonEntropy: probabilities must not be empty"),
    ((), "Quorin.ShannonEntropy: probabilities must not be empty"),
    ([1.5, -0.5], "Quorin.ShannonEntropy: all probabilities must be non-negative"),
    ([0.2, 0.2, -1e-300], "Quorin.ShannonEntropy: all probabilities must be non-negative"),
    ([NAN, -INF], "Quorin.ShannonEntropy: all probabilities must be non-negative"),
    ([0.5, 0.4], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 0.90000000)"),
    ([2.0], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 2.00000000)"),
    ([-0.0, -0.0], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got -0.00000000)"),
    ([1.0000011], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 1.00000110)"),
    ([0.999998], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 0.99999800)"),
    ([INF], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got inf)"),
    ([1e20], "Quorin.ShannonEntropy: probabilities must sum to 1.0 "
             "(got 100000000000000000000.00000000)"),
    ([0.123456785], "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 0.12345678)"),
    (b"\x02", "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 2.00000000)"),
])
def test_shannon_entropy_dist_preconditions(probabilities, message):
    with pytest.raises(ValueError) as e:
        quorin.shannon_entropy_dist(probabilities)
    assert e.value.args == (message,)
