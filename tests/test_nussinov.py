"""nussinov: encoding and its messages, agreement with independent slow solvers on every length
and on adversarial inputs, long sequences, interrupts and refusal of hopeless sizes."""

import collections
import contextlib
import functools
import itertools
import os
import random
import shutil
import signal
import subprocess

import pytest
from hypothesis import given, settings, strategies as st

import quorin
from stopping import outcome_and_peak_growth, outcome_of_interrupted

PAIRS = {("A", "U"), ("U", "A"), ("G", "C"), ("C", "G"), ("G", "U"), ("U", "G")}
MESSAGE = "Quorin.RnaNussinov: invalid base '{}' (alphabet is A,U,G,C; T accepted as U)"


def span_table(s, min_loop=0):
    """g[i][j] for every span of `s` (upper case, U only): the maximisation written out by
    increasing span length, with every term of it (either end unpaired, the two ends paired
    around at least `min_loop` bases, every split)."""
    n = len(s)
    g = [[0] * n for _ in range(n)]
    col = [[0] * n for _ in range(n)]  # col[j][k] = g[k][j], so both halves of a split slice
    for d in range(1, n):
        for i in range(n - d):
            j = i + d
            inside = g[i + 1][j - 1] if d >= 2 else 0
            pairs = (s[i], s[j]) in PAIRS and d - 1 >= min_loop
            best = max(g[i + 1][j], g[i][j - 1], inside + pairs)
            split = max(map(int.__add__, g[i][i:j], col[j][i + 1:j + 1]))
            g[i][j] = col[j][i] = max(best, split)
    return g


def most_pairs_by_search(s):
    """Largest set of allowed pairs with no shared base and no two pairs crossing, found by
    trying every such set (pairs added in a fixed order, so each set is met once)."""
    edges = [(i, j) for i in range(len(s)) for j in range(i + 1, len(s)) if (s[i], s[j]) in PAIRS]
    used = [False] * len(s)
    chosen = []
    best = 0

    def extend(start):
        nonlocal best
        best = max(best, len(chosen))
        for e in range(start, len(edges)):
            i, j = edges[e]
            if used[i] or used[j] or any(a < i < b < j or i < a < j < b for a, b in chosen):
                continue
            chosen.append((i, j))
            used[i] = used[j] = True
            extend(e + 1)
            chosen.pop()
            used[i] = used[j] = False

    extend(0)
    return best


def every_structure(s, min_loop):
    """Every structure of `s` as a tuple of pairs (i, j): each base unpaired or paired with any
    allowed partner that encloses at least `min_loop` bases, the pairs never crossing."""
    @functools.cache
    def within(i, j):  # the structures of s[i:j]
        if j - i < 2:
            return [()]
        found = list(within(i + 1, j))
        for k in range(i + 1 + min_loop, j):
            if (s[i], s[k]) in PAIRS:
                found += [((i, k), *inside, *rest) for inside in within(i + 1, k)
                          for rest in within(k + 1, j)]
        return found

    return within(0, len(s))


def partners(n, pairs):
    """Each base's partner, -1 for an unpaired one."""
    p = [-1] * n
    for i, j in pairs:
        p[i], p[j] = j, i
    return p


def brackets_of(n, pairs):
    b = ["."] * n
    for i, j in pairs:
        b[i], b[j] = "(", ")"
    return "".join(b)


def chosen_by_search(s, min_loop):
    """The structure the fold promises, found among all of them: of the structures with the
    most pairs, the one whose partners, read from the 5' end, come first."""
    structures = every_structure(s, min_loop)
    most = max(map(len, structures))
    best = min((x for x in structures if len(x) == most), key=lambda x: partners(len(s), x))
    return sorted(best)


def chosen_by_rule(s, min_loop, g):
    """The same structure by the stated rule, read from the table g of span_table: the first
    base of a span stays unpaired if the rest holds as many pairs, else it pairs with the
    nearest base that keeps the count; then the inside and the rest are read alike."""
    def gamma(i, j):
        return g[i][j] if i < j else 0

    def read(i, j):
        while i < j and gamma(i, j) > 0:
            if gamma(i + 1, j) < gamma(i, j):
                k = next(k for k in range(i + 1 + min_loop, j + 1) if (s[i], s[k]) in PAIRS
                         and gamma(i + 1, k - 1) + 1 + gamma(k + 1, j) == gamma(i, j))
                return [(i, k), *read(i + 1, k - 1), *read(k + 1, j)]
            i += 1
        return []

    return read(0, len(s) - 1)


def assert_valid(s, min_loop, count, brackets, pairs):
    """A structure as the fold promises it: its pairs sorted, allowed (canonical, enclosing at
    least min_loop bases), none sharing a base or crossing another, written as the brackets,
    as many as the count."""
    assert len(pairs) == count and pairs == sorted(pairs)
    assert brackets == brackets_of(len(s), pairs)
    seen = set()
    for i, j in pairs:
        assert i < j and (s[i], s[j]) in PAIRS and j - i - 1 >= min_loop
        assert i not in seen and j not in seen
        seen |= {i, j}
    # Non-crossing, with the brackets balanced: each ')' closes the latest open '('.
    open_ = []
    for x, c in enumerate(brackets):
        if c == "(":
            open_.append(x)
        elif c == ")":
            assert (open_.pop(), x) in pairs
    assert not open_


def random_rna(n, seed, alphabet="ACGU"):
    rng = random.Random(seed)
    return "".join(rng.choice(alphabet) for _ in range(n))


def hairpin(stem):
    """A stem followed by its reverse complement: exactly len(stem) nested pairs, the most a
    sequence of that length can hold."""
    complement = {"A": "U", "U": "A", "G": "C", "C": "G"}
    return stem + "".join(complement[b] for b in reversed(stem))


# ---- the contract's own cases ------------------------------------------------------------------

@pytest.mark.parametrize("sequence, expected", [
    ("", 0), ("A", 0), ("u", 0), ("T", 0),
    ("AU", 1), ("UA", 1), ("GC", 1), ("CG", 1), ("GU", 1), ("UG", 1),
    ("AC", 0), ("AA", 0), ("CCCC", 0), ("AG", 0), ("CU", 0), ("GG", 0), ("UU", 0),
    ("GGGAAACCC", 3), ("GGGCCC", 3), ("ACGU", 2), ("AUAU", 2), ("AUGCAUGC", 4),
    ("acgu", 2), ("ATGC", 2), ("atgc", 2), ("AuGc", 2),
])
def test_small_cases(sequence, expected):
    assert quorin.nussinov(sequence) == expected
    assert type(quorin.nussinov(sequence)) is int


@pytest.mark.parametrize("sequence, shown", [
    ("ACGN", "N"),
    ("AC GU", " "),
    ("ACG7", "7"),
    ("AC-GU", "-"),
    ("ACGU\n", "\n"),
    ("A\x00U", "\x00"),
    ("ACG\u00e9", "\u00e9"),            # two-byte character, shown as itself
    ("\u4e2dACGU", "\u4e2d"),            # three bytes
    ("AU\U0001f600", "\U0001f600"),      # four bytes
    ("AXN\u00e9", "X"),                  # only the first invalid one is named
    ("\u00e9N", "\u00e9"),
    ("A" * 100_000 + "N", "N"),          # validation comes before any table
])
def test_invalid_base_names_the_first_offender(sequence, shown):
    with pytest.raises(ValueError) as info:
        quorin.nussinov(sequence)
    assert info.value.args == (MESSAGE.format(shown),)


@pytest.mark.parametrize("argument, message", [
    (b"ACGU", "argument 'sequence': 'bytes' object cannot be converted to 'PyString'"),
    (42, "argument 'sequence': 'int' object cannot be converted to 'PyString'"),
    (None, "argument 'sequence': 'NoneType' object cannot be converted to 'PyString'"),
    (["A", "U"], "argument 'sequence': 'list' object cannot be converted to 'PyString'"),
])
def test_non_text_argument(argument, message):
    with pytest.raises(TypeError) as info:
        quorin.nussinov(argument)
    assert str(info.value) == message


def test_keyword_call_and_documentation():
    assert quorin.nussinov(sequence="GGGAAACCC") == 3
    assert quorin.nussinov.__text_signature__ == "(sequence)"
    assert quorin.nussinov.__doc__ == (
        "nussinov(sequence) -> int\n\n"
        "Maximum number of non-crossing canonical base pairs (Nussinov base-pair\n"
        "maximization). Backed by the kernel-verified `nussinov_optimal` theorem in\n"
        "Quorin.RnaNussinov. Raises ``ValueError`` on a non-AUGC(T) character.")


# ---- against independent solvers ------------------------------------------------------------------

@settings(max_examples=300, deadline=None)
@given(st.text(st.sampled_from("ACGU"), max_size=14))
def test_matches_exhaustive_search(s):
    assert quorin.nussinov(s) == most_pairs_by_search(s)


@settings(max_examples=100, deadline=None)
@given(st.text(st.sampled_from("ACGU"), max_size=120), st.randoms(use_true_random=False))
def test_case_and_t_for_u_change_nothing(s, rng):
    mixed = "".join(rng.choice([c, c.lower()]) for c in s)
    t_for_u = "".join("T" if c == "U" and rng.random() < 0.5 else c for c in mixed)
    assert quorin.nussinov(mixed) == quorin.nussinov(t_for_u) == quorin.nussinov(s)


@pytest.mark.parametrize("seed", [1, 2, 3])
def test_every_length_up_to_300(seed):
    # Every prefix, and a substring of every length from a moving start: all tails of the
    # vectors and all tile edges are met.
    s = random_rna(300 + 40, seed)
    g = span_table(s)
    for n in range(0, 301):
        assert quorin.nussinov(s[:n]) == (g[0][n - 1] if n else 0), n
        start = (n * 7) % 40
        assert quorin.nussinov(s[start:start + n]) == (g[start][start + n - 1] if n else 0), n


@pytest.mark.parametrize("alphabet", ["GC", "GU", "AU", "AG", "CU", "AAAAG", "GGGGC", "ACGUUUUUUU"])
def test_skewed_alphabets(alphabet):
    s = random_rna(260, len(alphabet), alphabet)
    g = span_table(s)
    for n in (1, 2, 95, 96, 97, 150, 191, 192, 193, 260):
        assert quorin.nussinov(s[:n]) == g[0][n - 1], n


# Patterns with answers known in closed form; every base of a pairable pattern can be paired.
PATTERNS = {
    "all A": (lambda n: "A" * n, lambda n: 0),
    "all C": (lambda n: "C" * n, lambda n: 0),
    "all G": (lambda n: "G" * n, lambda n: 0),
    "alternating GC": (lambda n: ("GC" * n)[:n], lambda n: n // 2),
    "alternating GU": (lambda n: ("GU" * n)[:n], lambda n: n // 2),
    "G run then U run": (lambda n: "G" * (n // 2) + "U" * (n - n // 2), lambda n: n // 2),
    "U run then G run": (lambda n: "U" * (n - n // 2) + "G" * (n // 2), lambda n: n // 2),
    "A run then short U run": (lambda n: "A" * (n - n // 3) + "U" * (n // 3), lambda n: n // 3),
    "never pairing AG": (lambda n: ("AG" * n)[:n], lambda n: 0),
    "never pairing CU": (lambda n: ("CAU"[:2] * n)[:n].replace("A", "U"), lambda n: 0),
}


@pytest.mark.parametrize("n", [1, 2, 95, 96, 97, 159, 160, 161, 191, 192, 193, 383, 384, 385,
                               510, 511, 512, 1000])
@pytest.mark.parametrize("pattern", PATTERNS)
def test_adversarial_patterns(n, pattern):
    sequence, expected = PATTERNS[pattern]
    assert quorin.nussinov(sequence(n)) == expected(n)


@pytest.mark.parametrize("stem_length", [1, 48, 96, 1000, 2500])
def test_hairpins_pair_every_base(stem_length):
    stem = random_rna(stem_length, stem_length)
    assert quorin.nussinov(hairpin(stem)) == stem_length


def test_five_thousand_bases():
    s = random_rna(5000, 5000)
    count = quorin.nussinov(s)
    # One more base adds at most one pair; two halves folded apart cannot beat the whole.
    assert count <= quorin.nussinov(s + "A") <= count + 1
    assert quorin.nussinov(s[:2500]) + quorin.nussinov(s[2500:]) <= count


# ---- every fill, forced, through a small driver built from the fold's own sources ------------

DRIVER = r"""
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include "rna/nussinov.hpp"
using namespace quorin::rna;
using Clock = std::chrono::steady_clock;

// A count, or a structure as "count:brackets:i-j,i-j,...".
std::string shown(std::uint64_t count) { return std::to_string(count); }
std::string shown(const Structure& s) {
    std::string out = std::to_string(s.pairs.size()) + ":" + s.brackets + ":";
    const char* separator = "";
    for (const auto& [i, j] : s.pairs) {
        out += separator + std::to_string(i) + "-" + std::to_string(j);
        separator = ",";
    }
    return out;
}
template <class T>
std::string outcome(const std::optional<quorin::Result<T>>& r) {
    if (!r) return "stopped";
    return *r ? shown(**r) : std::string(r->error().message());
}

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "fills", line;
    std::vector<std::string> lines;
    while (std::getline(std::cin, line)) lines.push_back(line);
    if (mode == "fills") {  // each line: kernel, 32-bit threshold, loop minimum, sequence; prints
                            // the count and the structure, a tab between
        for (const auto& l : lines) {
            std::istringstream in(l);
            std::string kernel, sequence;
            FoldOptions options;
            in >> kernel >> options.wide_from >> options.min_loop >> sequence;
            options.kernel = kernel == "rows" ? Kernel::rows : kernel == "sse2" ? Kernel::tiled_sse2
                           : kernel == "avx2" ? Kernel::tiled_avx2
                           : kernel == "bytes_sse2" ? Kernel::bytes_sse2
                           : kernel == "bytes_avx2" ? Kernel::bytes_avx2 : Kernel::automatic;
            Workspace workspace;
            std::cout << *fold(*encode(sequence), {}, options) << "\t"
                      << shown(*fold_structure(*encode(sequence), workspace, {}, options)) << "\n";
        }
    } else if (mode == "threads") {  // argv[2] threads fold the lines with loop minimum argv[3],
                                     // each line by one thread; prints both outcomes, a tab between
        const std::size_t t = std::stoul(argv[2]);
        FoldOptions options;
        options.min_loop = std::stoul(argv[3]);
        std::vector<std::string> out(lines.size());
        std::atomic<bool> stop{false};
        std::vector<std::thread> pool;
        for (std::size_t k = 0; k < t; ++k)
            pool.emplace_back([&, k] {
                Workspace workspace;
                for (std::size_t i = k; i < lines.size(); i += t)
                    out[i] = outcome(fold(lines[i], workspace, stop, options)) + "\t" +
                             outcome(fold_structure(lines[i], workspace, stop, options));
            });
        for (auto& th : pool) th.join();
        for (const auto& o : out) std::cout << o << "\n";
    } else {  // stop: folds the line on a thread (the structure fold if argv[3] says so) and sets
              // the flag after argv[2] ms (at once if negative); prints the outcome
        std::atomic<bool> stop{std::stoi(argv[2]) < 0};
        std::atomic<bool> done{false};
        const bool structure = argc > 3 && std::string(argv[3]) == "structure";
        Workspace workspace;
        std::string result;
        const auto start = Clock::now();
        std::thread th([&] {
            try {
                result = structure ? outcome(fold_structure(lines[0], workspace, stop))
                                   : outcome(fold(lines[0], workspace, stop));
            } catch (const std::bad_alloc&) { result = "bad_alloc"; }
            done = true;
        });
        const auto deadline = start + std::chrono::milliseconds(std::stoi(argv[2]));
        while (!stop && !done && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        stop = true;
        th.join();
        std::cout << result << "\n";
    }
}
"""

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# rows: 16-bit row fill; sse2 / avx2: the tiled fill; bytes_*: the 8-bit row fill (any avx2
# runs as sse2 where the processor lacks it); a threshold of 1 or 150 sends every sequence, or
# the longer ones, to 32-bit counts.
FILLS = [("rows", 131072), ("sse2", 131072), ("avx2", 131072), ("bytes_sse2", 131072),
         ("bytes_avx2", 131072), ("auto", 131072), ("auto", 1), ("avx2", 150)]


@pytest.fixture(scope="module")
def driver(tmp_path_factory):
    cxx = shutil.which(os.environ.get("CXX", "g++")) or shutil.which("c++")
    src = os.path.join(ROOT, "src")
    if cxx is None or not os.path.isdir(os.path.join(src, "rna")):
        pytest.skip("needs a C++ compiler and the source tree")
    work = tmp_path_factory.mktemp("driver")
    (work / "driver.cpp").write_text(DRIVER)
    # Under scripts/sanitize the driver is instrumented as the module is.
    sanitize = ["-fsanitize=address,undefined", "-fno-sanitize-recover=all", "-g",
                "-D_GLIBCXX_ASSERTIONS"] if os.environ.get("QUORIN_SANITIZED") else []
    subprocess.run([cxx, "-std=c++2b", "-O2", "-Wall", "-Wextra", *sanitize, "-I", src,
                    str(work / "driver.cpp"),
                    *(os.path.join(src, "rna", f) for f in ("nussinov.cpp", "tiled.cpp", "bytes.cpp")),
                    "-pthread", "-o", str(work / "driver")], check=True)

    def run(lines, *mode):
        return subprocess.run([str(work / "driver"), *mode], input="".join(f"{x}\n" for x in lines),
                              capture_output=True, encoding="utf-8", check=True).stdout.splitlines()

    return run


Fold = collections.namedtuple("Fold", "count brackets pairs")


def parse_fold(line):
    """The driver's "count<tab>count:brackets:i-j,..." as a Fold; the two counts must agree."""
    count, structure = line.split("\t")
    pairs_count, brackets, pairs = structure.split(":")
    pairs = [tuple(map(int, p.split("-"))) for p in pairs.split(",")] if pairs else []
    assert int(pairs_count) == int(count) == len(pairs)
    return Fold(int(count), brackets, pairs)


@pytest.fixture(scope="module")
def fills(driver):
    def run(jobs):
        lines = driver([f"{kernel} {wide} {min_loop} {seq}" for kernel, wide, min_loop, seq in jobs])
        return [parse_fold(line) for line in lines]

    return run


@functools.cache
def table(s, min_loop):
    return span_table(s, min_loop)


@pytest.mark.parametrize("kernel, wide_from", FILLS)
def test_each_fill_on_every_length_up_to_300(fills, kernel, wide_from):
    s = random_rna(300, 41)
    for min_loop in (0, 3):
        g = table(s, min_loop)
        got = fills([(kernel, wide_from, min_loop, s[:n]) for n in range(301)])
        assert [f.count for f in got] == [0] + [g[0][n - 1] for n in range(1, 301)]
        for n in range(0, 301, 13):
            assert got[n].pairs == chosen_by_rule(s[:n], min_loop, g), (n, min_loop)


# From 512 bases on, the 8-bit fills give way to the 16-bit row fill and the automatic choice
# is the tiled fill: these are the distinct fills of long sequences.
LONG_FILLS = [("rows", 131072), ("sse2", 131072), ("avx2", 131072), ("auto", 1)]


@pytest.mark.parametrize("min_loop", [0, 3])
def test_fills_agree_on_long_and_skewed_sequences(fills, min_loop):
    cases = [random_rna(n, n, alphabet) for n, alphabet in [
        (769, "ACGU"), (1151, "GC"), (1343, "GU"), (1000, "AAAGU"), (1201, "GGGCU")]]
    cases += [hairpin(random_rna(500, 3)), "GU" * 400 + "A" * 301]
    results = [fills([(kernel, wide, min_loop, s) for s in cases])
               for kernel, wide in (FILLS if min_loop == 0 else LONG_FILLS)]
    assert all(r == results[0] for r in results)
    for s, f in zip(cases, results[0]):
        assert_valid(s, min_loop, *f)
    # Every base pairs but for the loop: 1,000 - 4 and 800 - 4 bases (an even number pairs).
    assert [f.count for f in results[0][-2:]] == ([500, 400] if min_loop == 0 else [498, 398])


# ---- the structure fold: one optimal structure, chosen by a stated rule ---------------------

def short_sequences():
    """Every sequence of up to 5 bases, and random ones of 6 to 11."""
    every = ["".join(b) for n in range(6) for b in itertools.product("ACGU", repeat=n)]
    rng = random.Random(5)
    return every + [random_rna(rng.randint(6, 11), k, rng.choice(["ACGU", "GCU", "GU"]))
                    for k in range(150)]


@pytest.mark.parametrize("kernel, wide_from", FILLS)
def test_structures_match_an_exhaustive_search(fills, kernel, wide_from):
    cases = [(s, min_loop) for s in short_sequences() for min_loop in range(5)]
    got = fills([(kernel, wide_from, min_loop, s) for s, min_loop in cases])
    for (s, min_loop), f in zip(cases, got):
        assert f.pairs == chosen_by_search(s, min_loop), (s, min_loop)


@settings(max_examples=60, deadline=None)
@given(st.lists(st.text(st.sampled_from("ACGU"), max_size=90), min_size=1, max_size=8),
       st.integers(0, 6), st.sampled_from(FILLS))
def test_structures_are_valid_and_optimal(fills, sequences, min_loop, fill):
    got = fills([(*fill, min_loop, s) for s in sequences])
    for s, f in zip(sequences, got):
        g = span_table(s, min_loop)
        assert f.count == (g[0][-1] if s else 0)
        assert_valid(s, min_loop, *f)
        assert f.pairs == chosen_by_rule(s, min_loop, g)


# Ties broken by hand: the first base of a span unpaired when that loses nothing, else paired
# with its nearest partner that keeps the count.
@pytest.mark.parametrize("sequence, min_loop, brackets", [
    ("", 0, ""), ("A", 3, "."), ("AU", 0, "()"), ("AU", 1, ".."),
    ("GCC", 0, "()."),              # G pairs with the nearer C
    ("GGC", 0, ".()"),              # the first G gives way to the second
    ("AUAU", 0, "()()"),            # not (()): A0 takes U1
    ("GCAU", 0, "()()"),
    ("GGGAAACCC", 0, "(((...)))"),
    ("GGGAAACCC", 3, "(((...)))"),
    ("GGGAAACCC", 4, ".((....))"),  # G2-C6 would enclose 3
    ("GGAAACCC", 3, "((...))."),
    ("GGGGAAACCC", 3, ".(((...)))"),
    ("GAAAC", 3, "(...)"), ("GAAC", 3, "...."),
    ("gGgAAAtCc", 3, "(((...)))"),  # case and T change nothing
    ("AAUU", 0, "(())"),            # A0-U2 would keep A1 and U3 apart
    ("GUGUGU", 0, "()()()"),
    ("GUGUGU", 1, "((..))"),        # no pair of neighbours left, and only these two nest
    ("GGGAAACCC", 9, "........."),  # a loop minimum beyond the length pairs nothing
    ("GGGAAACCC", 2 ** 64 - 1, "........."),
])
def test_tie_breaking(fills, sequence, min_loop, brackets):
    assert fills([("auto", 131072, min_loop, sequence)])[0].brackets == brackets


# ---- the fold a batch runs without the interpreter lock, through the same driver -----------------

def scalar_outcome(sequence):
    try:
        return str(quorin.nussinov(sequence))
    except ValueError as error:
        return str(error)


@pytest.mark.parametrize("threads, min_loop", [(1, 0), (4, 0), (4, 3)])
def test_threads_fold_as_one_fold_does(driver, threads, min_loop):
    rng = random.Random(threads + min_loop)
    # Lengths on both sides of every fill's range, refused sequences among them; each thread
    # reuses one workspace for sequences of every length, counts and structures in turn.
    lengths = [0, 1, 2, 31, 32, 33, 200, 511, 512, 700]
    lines = [random_rna(rng.choice(lengths), k) for k in range(60)]
    refused = ["ACGN", "AC GU", "ACG\u00e9"]
    lines[7:7] = [*refused, "GGGAAACCC", "acgu" * 100]
    alone = iter(driver([f"auto 131072 {min_loop} {s}" for s in lines if s not in refused]))
    got = driver(lines, "threads", str(threads), str(min_loop))
    # The structure fold's message names the functions that give structures.
    named = {s: scalar_outcome(s).replace("RnaNussinov", "NussinovStructure") for s in refused}
    assert got == [f"{scalar_outcome(s)}\t{named[s]}" if s in refused else next(alone)
                   for s in lines]
    if min_loop == 0:
        assert [x.split("\t")[0] for x in got] == [scalar_outcome(s) for s in lines]


# ---- interrupts and hopeless sizes -------------------------------------------------------------------

# Seconds of work: a call that ends within a fraction of that was interrupted. The fold holds
# the interpreter lock throughout, so no Python thread can run during it; signals come from the
# kernel (an interval timer) or from another process, as Ctrl-C at a terminal does.
LONG = random_rna(15_000, 7)


def timed_fold(sequence=LONG):
    try:
        return quorin.nussinov(sequence)
    except BaseException as error:  # KeyboardInterrupt included
        return error


@contextlib.contextmanager
def handler(signum, function):
    previous = signal.signal(signum, function)
    try:
        yield
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signum, previous)


def raise_keyboard_interrupt(signum, frame):
    raise KeyboardInterrupt


class Custom(Exception):
    pass


def raise_custom(signum, frame):
    raise Custom(signum)


@pytest.mark.parametrize("function, exception", [
    (raise_keyboard_interrupt, KeyboardInterrupt),
    (raise_custom, Custom),
])
def test_a_raising_handler_ends_the_fold_with_its_exception(function, exception):
    with handler(signal.SIGALRM, function):
        for _ in range(3):
            signal.setitimer(signal.ITIMER_REAL, 0.2)
            assert type(timed_fold()) is exception
    assert quorin.nussinov("GGGAAACCC") == 3


# A fold of 40,000 bases takes minutes: one that ends with the interrupt has stopped for it.
@pytest.mark.parametrize("by_timer", [True, False], ids=["interval timer", "another process"])
def test_a_signal_stops_a_long_fold_long_before_its_end(by_timer):
    setup = "import quorin\nsequence = 'ACGU' * 10_000"
    lines = outcome_of_interrupted(setup, "quorin.nussinov(sequence)",
                                   "print(quorin.nussinov('GGGAAACCC'))", by_timer=by_timer)
    assert lines == ["interrupted", "3"]


def test_a_handler_that_returns_lets_the_fold_finish():
    seen = []
    with handler(signal.SIGALRM, lambda signum, frame: seen.append(signum)):
        signal.setitimer(signal.ITIMER_REAL, 0.01, 0.01)
        outcome = timed_fold(hairpin(random_rna(3000, 11)))
    assert outcome == 3000 and len(seen) >= 2


def test_hopeless_length_raises_memory_error_before_any_table():
    raised, grew_mib = outcome_and_peak_growth("import quorin", "quorin.nussinov('A' * 3_000_000)")
    assert raised == "MemoryError" and grew_mib < 64
    with pytest.raises(MemoryError):
        quorin.nussinov("A" * 3_000_000)
    assert quorin.nussinov("GGGAAACCC") == 3


# A fold that finished would print its count: "stopped" is work left undone.
@pytest.mark.parametrize("sequence, delay_ms, expected", [
    (LONG, 200, "stopped"),                 # the flag stops a fold of seconds part way
    ("GGGAAACCC", -1, "stopped"),           # a flag already set stops a short one
    ("A" * 3_000_000, 5000, "bad_alloc"),   # a hopeless table is refused, not filled
])
@pytest.mark.parametrize("what", ["count", "structure"])
def test_batch_fold_stop_flag_and_hopeless_length(driver, sequence, delay_ms, expected, what):
    assert driver([sequence], "stop", str(delay_ms), what) == [expected]
