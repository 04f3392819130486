"""quorin_np over collections of str (gc_content, sequence_identity, nussinov): every element
the scalar function's result, refusals under errstate, folds without the interpreter lock that
still stop for signals."""

import os
import re
import runpy
import subprocess
import sys
import threading
import time
import warnings

import numpy as np
import pandas as pd
import pytest
from hypothesis import given, settings, strategies as st

import quorin
import quorin_np
from exact import same
from stopping import outcome_and_peak_growth, outcome_of_interrupted

STRING = np.dtypes.StringDType()
TEXTS = ["GGGAAACCC", "acgu", "ACGT", "G\u00e9C", "", "AC GU", "\ud800", "UUUGGGCCCAAA", "N"]


def random_rna(seed, count, length):
    letters = np.array(list("ACGU"))
    rows = letters[np.random.default_rng(seed).integers(0, 4, size=(count, length))]
    return ["".join(row) for row in rows]


def is_missing(x):
    return x is None or x is pd.NA or (isinstance(x, float) and x != x)


def scalar(name, *args):
    """The scalar function's result, or NaN (-1 for a count) where it refuses or an argument is
    missing."""
    if any(is_missing(a) for a in args):
        return -1 if name == "nussinov" else float("nan")
    try:
        return getattr(quorin, name)(*args)
    except (ValueError, TypeError):
        return -1 if name == "nussinov" else float("nan")


def assert_elementwise(name, result, *columns):
    spread = [np.broadcast_to(c if isinstance(c, np.ndarray) else np.array(c, dtype=object),
                              result.shape) for c in columns]
    for index in np.ndindex(result.shape):
        value = result[index].item()
        assert same(value, scalar(name, *(c[index] for c in spread))), (index, value)


# Each kind of collection a user holds, built from a list of str.
COLLECTIONS = {
    "list": list,
    "tuple": tuple,
    "list subclass": type("Texts", (list,), {}),
    "generator": lambda xs: (x for x in xs),
    "object": lambda xs: np.array(xs, dtype=object),
    "StringDType": lambda xs: np.array(xs, dtype=STRING),
    "unicode": np.array,
    "Series": lambda xs: pd.Series(xs, index=range(10, 10 + len(xs)), name="seq", dtype=object),
    "Series[str]": lambda xs: pd.Series(xs, dtype="str"),
}


@pytest.mark.parametrize("kind", COLLECTIONS)
@pytest.mark.parametrize("name", ["gc_content", "nussinov"])
def test_every_kind_of_collection(kind, name):
    texts = [t for t in TEXTS if t != "\ud800"]  # StringDType and pandas refuse lone surrogates
    given_ = COLLECTIONS[kind](texts)
    with quorin_np.errstate(refused="nan"):
        result = getattr(quorin_np, name)(given_)
    assert np.asarray(result).dtype == (np.int64 if name == "nussinov" else np.float64)
    assert_elementwise(name, np.asarray(result), texts)
    if kind.startswith("Series"):
        assert result.index.equals(given_.index) and result.name == given_.name


@settings(max_examples=40, deadline=None)
@given(st.lists(st.text(alphabet="ACGUTacgu N\u00e9", max_size=40), max_size=12),
       st.text(alphabet="ACGUacgu\u00e9", max_size=40))
def test_bit_identical_to_the_scalar_functions(texts, reference):
    with quorin_np.errstate(refused="nan"):
        for name in ("gc_content", "nussinov"):
            assert_elementwise(name, getattr(quorin_np, name)(np.array(texts, dtype=object)), texts)
        identity = quorin_np.sequence_identity(texts, reference)
        assert_elementwise("sequence_identity", identity, texts, [reference])


class Text(str):
    pass


def test_long_collections_mixing_every_kind_of_element():
    # Runs of plain str longer than the batch reads at once, of lengths about the vector widths
    # and beyond, broken by elements that take the slower way (or are refused, or missing).
    rng = np.random.default_rng(3)
    lengths = rng.choice([1, 15, 16, 17, 31, 33, 64, 300, 1100, 5000], size=600, p=[.1] * 10)
    texts = [random_rna(int(n), 1, int(n))[0] for n in lengths]
    for at, odd in zip(rng.choice(600, size=8, replace=False),
                       [None, float("nan"), "G\u00e9C", Text("GGC"), b"AU", "", pd.NA, 5]):
        texts[at] = odd
    others = texts[::-1]
    with quorin_np.errstate(refused="nan"):
        assert_elementwise("gc_content", quorin_np.gc_content(texts), texts)
        assert_elementwise("sequence_identity", quorin_np.sequence_identity(texts, others),
                           texts, others)
        # Broadcast: the inner loops are rows of 30.
        grid = np.array(texts, dtype=object).reshape(20, 30)
        column = np.array(others[:30], dtype=object)
        assert_elementwise("sequence_identity", quorin_np.sequence_identity(grid, column),
                           grid, column)


@pytest.mark.parametrize("first, later, expected", [
    ("", b"AU", ValueError("Quorin.GCContent: sequence must not be empty (total > 0 precondition)")),
    (b"AU", "", TypeError("argument 'sequence': 'bytes' object cannot be converted to 'PyString'")),
])
@pytest.mark.parametrize("mode", ["raise", "warn"])
def test_a_refusal_deep_in_a_long_collection_is_found_where_it_is(first, later, expected, mode):
    texts = random_rna(6, 300, 40)
    texts[170], texts[260] = first, later
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        if mode == "raise":
            with pytest.raises(type(expected), match=re.escape(str(expected))) as error:
                quorin_np.gc_content(texts)
            assert error.value.__notes__ == ["quorin_np.gc_content: refused the element at flat index 170"]
            return
        result = quorin_np.gc_content(texts)
    assert np.isnan(result[[170, 260]]).all() and not np.isnan(np.delete(result, [170, 260])).any()
    assert [str(w.message) for w in seen] == [
        f"quorin_np.gc_content: 2 element(s) refused and set to NaN; the first, at flat index 170: "
        f"{expected}"]


def test_arguments_broadcast_and_keep_their_shape():
    a = np.array([["ACGU", "ACGA"], ["AC", "UUUU"]], dtype=STRING)
    b = ["ACGU", "ACG\u00e9"]
    result = quorin_np.sequence_identity(a, b)
    assert result.shape == (2, 2)
    assert_elementwise("sequence_identity", result, a, np.array(b, object))
    assert quorin_np.gc_content("GGCA") == quorin.gc_content("GGCA")
    assert isinstance(quorin_np.nussinov("GGGAAACCC"), np.int64)
    assert quorin_np.nussinov([]).dtype == np.int64 and quorin_np.gc_content([]).shape == (0,)
    with pytest.raises(ValueError, match="broadcast"):
        quorin_np.sequence_identity(["A", "C"], ["A", "C", "G"])


# (collection, the refused element's index, the scalar function's exception)
REFUSALS = [
    (["GC", 5, "AU"], 1, TypeError("argument 'sequence': 'int' object cannot be converted to 'PyString'")),
    (["GC", b"AU"], 1, TypeError("argument 'sequence': 'bytes' object cannot be converted to 'PyString'")),
    # Missing elements before the refused one are neither refused nor counted.
    (np.array([None, "GC", 5.0], dtype=object), 2,
     TypeError("argument 'sequence': 'float' object cannot be converted to 'PyString'")),
    ([float("nan"), pd.NA, "GC", "AU", b"AU", None], 4,
     TypeError("argument 'sequence': 'bytes' object cannot be converted to 'PyString'")),
    (["AU", "AXG", 5], 1, ValueError("Quorin.RnaNussinov: invalid base 'X' (alphabet is A,U,G,C; T accepted as U)")),
    (["AU", "\ud800"], 1, UnicodeEncodeError("utf-8", "\ud800", 0, 1, "surrogates not allowed")),
]


@pytest.mark.parametrize("texts, at, expected", REFUSALS)
@pytest.mark.parametrize("mode", ["raise", "nan", "warn"])
def test_refusals_follow_the_mode(texts, at, expected, mode):
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        if mode == "raise":
            with pytest.raises(type(expected)) as error:
                quorin_np.nussinov(texts)
            assert str(error.value) == str(expected)
            assert error.value.__notes__ == [f"quorin_np.nussinov: refused the element at flat index {at}"]
            return
        result = quorin_np.nussinov(texts)
    assert result[at] == -1 and result.dtype == np.int64
    assert_elementwise("nussinov", result, list(texts))
    refused = sum(scalar("nussinov", x) == -1 and not is_missing(x) for x in texts)
    assert [str(w.message) for w in seen] == ([] if mode == "nan" else [
        f"quorin_np.nussinov: {refused} element(s) refused and set to -1; the first, at flat "
        f"index {at}: {expected}"])


def brute_force(sequence):
    """The largest set of non-crossing pairs, by trying every pairing of the first base."""
    pairs = {("A", "U"), ("U", "A"), ("G", "C"), ("C", "G"), ("G", "U"), ("U", "G")}
    if len(sequence) < 2:
        return 0
    rest = brute_force(sequence[1:])
    for k in range(1, len(sequence)):
        if (sequence[0], sequence[k]) in pairs:
            rest = max(rest, 1 + brute_force(sequence[1:k]) + brute_force(sequence[k + 1:]))
    return rest


def test_batch_folds_agree_with_the_scalar_function_and_an_exhaustive_search():
    rng = np.random.default_rng(11)
    short = ["".join(rng.choice(list("ACGU"), size=n)) for n in rng.integers(0, 11, size=60)]
    longer = ["".join(rng.choice(list("ACGU"), size=n)) for n in (31, 200, 511, 512, 700)]
    assert quorin_np.nussinov(short).tolist() == [brute_force(s) for s in short]
    assert quorin_np.nussinov(longer).tolist() == [quorin.nussinov(s) for s in longer]


def test_folds_in_lanes_agree_at_every_length_and_mix():
    # Groups of similar lengths fold together up to 192 bases, lowercase and T included; the
    # lengths around that bound and a group padded for its longest member must not matter.
    rng = np.random.default_rng(5)
    lengths = [*range(0, 40), 191, 192, 193, *rng.integers(0, 200, size=150)]
    texts = ["".join(rng.choice(list("ACGUacgT"), size=n)) for n in lengths]
    expected = [quorin.nussinov(t) for t in texts]
    assert quorin_np.nussinov(texts).tolist() == expected
    assert quorin_np.nussinov(texts, workers=2).tolist() == expected


# ---- missing values ------------------------------------------------------------------------

NA_STRING = np.dtypes.StringDType(na_object=pd.NA)
MISSING_IN = {  # each container a user holds with missing texts, from a list with None in it
    "list": list,
    "object array": lambda xs: np.array(xs, dtype=object),
    "object array, NaN": lambda xs: np.array([np.nan if x is None else x for x in xs], object),
    "StringDType NA": lambda xs: np.array([pd.NA if x is None else x for x in xs], NA_STRING),
    "Series[object]": lambda xs: pd.Series(xs, dtype=object),
    "Series[string]": lambda xs: pd.Series(xs, dtype="string"),
    "Series[string, pyarrow]": lambda xs: pd.Series(xs, dtype="string[pyarrow]"),
    "Series[str]": lambda xs: pd.Series(xs, dtype="str"),
}
WITH_GAPS = ["GGGAAACCC", None, "AXG", None, "ACGU"]  # "AXG" is a real refusal


@pytest.mark.parametrize("mode", ["nan", "warn"])
@pytest.mark.parametrize("kind", MISSING_IN)
def test_missing_texts_stay_missing_and_are_not_refused(kind, mode):
    given_ = MISSING_IN[kind](WITH_GAPS)
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        folds = quorin_np.nussinov(given_)
        gc = quorin_np.gc_content(given_)
    assert [str(w.message).split(";")[0] for w in seen] == ([] if mode == "nan" else [
        "quorin_np.nussinov: 1 element(s) refused and set to -1"])
    assert np.isnan(np.asarray(gc, float)).tolist() == [False, True, False, True, False]
    if kind.startswith("Series"):  # a nullable count: missing where the text was
        assert folds.dtype == "Int64" and folds.isna().tolist() == [False, True, False, True, False]
        assert folds.fillna(-2).tolist() == [3, -2, -1, -2, 2]
    else:  # -1 marks no count, missing or refused
        assert folds.tolist() == [3, -1, -1, -1, 2]


def test_missing_texts_are_not_refused_in_raise_mode():
    assert quorin_np.nussinov(np.array([None, "GGGAAACCC"], object)).tolist() == [-1, 3]
    assert np.isnan(quorin_np.gc_content(None))
    # An element with one argument missing is missing, whatever the other holds.
    assert np.isnan(quorin_np.sequence_identity([None, "AC"], [5, "AC"])).tolist() == [True, False]


# ---- workers ---------------------------------------------------------------------------------

def mixed_batch(seed):
    """Short and long folds, lanes and single ones, missing and refused elements."""
    rng = np.random.default_rng(seed)
    texts = random_rna(seed, 300, 30) + random_rna(seed + 1, 30, 400)
    for k in rng.choice(len(texts), size=12, replace=False):
        texts[k] = None if k % 2 else texts[k][:5] + "X" + texts[k][6:]
    return [texts[k] for k in rng.permutation(len(texts))]


@pytest.mark.parametrize("mode", ["raise", "nan", "warn"])
@pytest.mark.parametrize("workers", [2, 3, -1])
def test_workers_give_what_one_worker_gives(workers, mode):
    texts = mixed_batch(workers + 7)

    def outcome(**options):
        with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
            warnings.simplefilter("always")
            try:
                result = quorin_np.nussinov(texts, **options).tolist()
            except ValueError as error:
                result = (str(error), error.__notes__)
        return result, [str(w.message) for w in seen]

    assert outcome(workers=workers) == outcome()


@pytest.mark.parametrize("workers, error", [
    (0, "workers must be a number of threads, or from -1 (every core) to"),
    (-10_000, "workers must be a number of threads"),
    (1.5, "workers must be an int, not float"),
    (True, "workers must be an int, not bool"),
    ("2", "workers must be an int, not str"),
])
def test_workers_refused(workers, error):
    with pytest.raises((TypeError, ValueError), match=re.escape(error)):
        quorin_np.nussinov(["GGGAAACCC"], workers=workers)
    with pytest.raises(TypeError, match="unexpected keyword argument 'workers'"):
        quorin_np.gc_content(["GC"], workers=2)


# ---- what is not a collection ------------------------------------------------------------------

@pytest.mark.parametrize("mapping", [{"seq1": "GGGAAACCC"}, __import__("types").MappingProxyType({"a": "AU"})])
def test_a_mapping_is_refused_with_a_hint(mapping):
    with pytest.raises(TypeError, match=r"argument 'sequence' is a mapping \(\w+\), not a collection "
                                        r"of str; pass its values \(\.values\(\)\) or a pandas Series"):
        quorin_np.nussinov(mapping)
    assert quorin_np.nussinov(mapping.values()).tolist() == [quorin.nussinov(v) for v in mapping.values()]


def test_threads_fold_while_the_caller_runs_python():
    texts = random_rna(2, 400, 300)
    expected = [quorin.nussinov(s) for s in texts]
    ticks, results = [], {}

    def fold(k):
        results[k] = quorin_np.nussinov(texts[k::2]).tolist()

    threads = [threading.Thread(target=fold, args=(k,)) for k in range(2)]
    for t in threads:
        t.start()
    while any(t.is_alive() for t in threads):  # runs only if the folds let go of the lock
        ticks.append(time.monotonic())
        time.sleep(0.001)
    assert results[0] == expected[0::2] and results[1] == expected[1::2]
    assert len(ticks) > 5


def test_a_list_resized_during_the_call_is_an_error_not_a_crash():
    texts = random_rna(4, 40_000, 100)
    resize = threading.Timer(0.05, lambda: texts.extend(["A"] * 1000))  # while folding a chunk
    resize.start()
    with pytest.raises(RuntimeError, match="a list argument changed size during the call"):
        quorin_np.nussinov(texts)
    resize.join()


# ---- interruption and hopeless sizes ---------------------------------------------------------

# Batches that would take minutes: a long fold, and four million short ones.
BATCHES = {
    "one long": "batch = ['ACGU' * 10_000]",
    "many short": "import random; rng = random.Random(8)\n"
                  "batch = [''.join(rng.choice('ACGU') for _ in range(300)) for _ in range(20)] * 200_000",
}


@pytest.mark.parametrize("mode, workers", [("raise", 1), ("nan", 1), ("raise", 2)])
@pytest.mark.parametrize("batch", list(BATCHES))
def test_a_signal_stops_a_batch_long_before_its_end(batch, mode, workers):
    setup = f"import quorin_np\n{BATCHES[batch]}"
    job = (f"with quorin_np.errstate(refused={mode!r}):\n"
           f"    quorin_np.nussinov(batch, workers={workers})")
    after = "print(quorin_np.nussinov(['GGGAAACCC']).tolist())"
    assert outcome_of_interrupted(setup, job, after) == ["interrupted", "[3]"]


def test_ctrl_c_from_another_process_stops_a_batch():
    setup = f"import quorin_np\n{BATCHES['many short']}"
    assert outcome_of_interrupted(setup, "quorin_np.nussinov(batch)", by_timer=False) == ["interrupted"]


@pytest.mark.parametrize("mode, workers", [("raise", 1), ("nan", 1), ("nan", 2)])
def test_a_hopeless_table_is_memory_error_in_every_mode(mode, workers):
    setup = "import quorin_np\nbatch = ['GGGAAACCC', 'A' * 3_000_000, 'ACGU' * 100]"
    job = (f"with quorin_np.errstate(refused={mode!r}):\n"
           f"    quorin_np.nussinov(batch, workers={workers})")
    # Refused before any table is allocated: the peak memory grows by no more than the input.
    raised, grew_mib = outcome_and_peak_growth(setup, job)
    assert raised == "MemoryError" and grew_mib < 64


@pytest.mark.parametrize("scheduler", ["workers", "threads", "distributed"])
def test_fold_many_example_writes_the_scalar_results(tmp_path, scheduler):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = tmp_path / "folds.csv"
    subprocess.run([sys.executable, os.path.join(root, "examples", "fold_many.py"),
                    "--output", str(out), "--scheduler", scheduler], check=True, timeout=300)
    rows = pd.read_csv(out, keep_default_na=False)
    fasta = open(os.path.join(root, "examples", "data", "rna.fasta"), encoding="utf-8").read()
    records = [r.split("\n", 1) for r in fasta.split(">")[1:]]
    sequences = {h.split()[0]: "".join(body.split()) for h, body in records}
    assert list(rows["record"]) == list(sequences)
    for row in rows.itertuples():
        try:
            expected = str(quorin.nussinov(sequences[row.record]))
        except ValueError as error:
            expected = str(error)
        assert (row.refused or str(row.pairs)) == expected


def test_typed_use_runs():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "typecheck", "texts_np.py")
    runpy.run_path(path)["check"]()
