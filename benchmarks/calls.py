"""Cost of a quorin call against CPython's own builtins and pure Python.

Every case is timed in the same process, interleaved round by round: each round times every
case (best of a few repeats), and the reported figure is the median over rounds of those
per-round minimums, which is robust on a noisy machine. Callables and arguments are bound as
locals of the timing loop, so no global lookup is measured.

    python benchmarks/calls.py [--rounds N] [--quick]
"""

import argparse
import math
import os
import random
import statistics
import sys
import timeit

import quorin

sys.path.insert(0, os.path.dirname(__file__))
try:
    import pyref  # pure-Python models of every function
except ImportError:  # pragma: no cover
    pyref = None
else:
    # The models call the C library's exp, log and pow through ctypes (some 0.4 us a call) so
    # that the tests see its exact results; a pure-Python function would use the math module,
    # which returns the same on the ordinary samples timed here.
    pyref.exp, pyref.log, pyref.pow = math.exp, math.log, math.pow


def py_bmi(weight_kg, height_m):
    if weight_kg <= 0.0 or height_m <= 0.0:
        raise ValueError("Quorin.BMI: weight and height must be positive")
    return weight_kg / (height_m * height_m)


def py_raise_catch():
    try:
        raise ValueError("Quorin.BMI: weight and height must be positive")
    except ValueError:
        pass


def py_gc(s):
    n = 0
    for ch in s:
        if ch in "GCgc":
            n += 1
    return n / len(s.encode())


def py_gc_count(s):
    return (s.count('G') + s.count('C') + s.count('g') + s.count('c')) / len(s)


def py_identity(a, b):
    return sum(x == y for x, y in zip(a, b)) / max(len(a.encode()), len(b.encode()))


def py_entropy(ps):
    h = -0.0
    for p in ps:
        if p > 0:
            h -= math.log(p) * p
    return h


def py_tm(ds, l_target, d0):
    s = -0.0
    for d in ds:
        s += 1.0 / ((d / d0) * (d / d0) + 1.0)
    return s / l_target


def py_rmsd(a, b):
    s = -0.0
    for (x1, y1, z1), (x2, y2, z2) in zip(a, b):
        dx, dy, dz = x1 - x2, y1 - y2, z1 - z2
        s += (dx * dx + dy * dy) + dz * dz
    return math.sqrt(s / len(a))


class Case:
    def __init__(self, label, stmt, number, **env):
        self.label = label
        self.timer = timeit.Timer(stmt, setup="; ".join(f"{k} = env[{k!r}]" for k in env),
                                  globals={"env": env})
        self.number = number
        self.samples = []

    def run_round(self, repeats=3):
        best = min(self.timer.repeat(repeats, self.number))
        self.samples.append(best / self.number * 1e9)

    @property
    def ns(self):
        return statistics.median(self.samples)


def build_cases(quick):
    rnd = random.Random(7)
    seq1k = "".join(rnd.choice("ACGT") for _ in range(1000))
    seq1m = seq1k * 1000
    probs = [1.0 / 1000] * 1000
    dists = [rnd.uniform(0.0, 8.0) for _ in range(1000)]
    c1 = [(rnd.random(), rnd.random(), rnd.random()) for _ in range(1000)]
    c2 = [(rnd.random(), rnd.random(), rnd.random()) for _ in range(1000)]
    n_fast, n_list, n_big = (20000, 200, 2) if quick else (200000, 2000, 10)
    q = quorin
    groups = []

    def group(title, *cases):
        groups.append((title, cases))

    if hasattr(q, "bmi"):
        group("positional reals",
              Case("quorin.bmi(70.0, 1.75)", "f(a, b)", n_fast, f=q.bmi, a=70.0, b=1.75),
              Case("math.copysign(70.0, 1.75)", "f(a, b)", n_fast, f=math.copysign, a=70.0, b=1.75),
              Case("pure Python bmi", "f(a, b)", n_fast, f=py_bmi, a=70.0, b=1.75))
        group("keyword reals",
              Case("quorin.bmi(weight_kg=, height_m=)", "f(weight_kg=a, height_m=b)", n_fast,
                   f=q.bmi, a=70.0, b=1.75),
              Case("math.isclose(70.0, 1.75, rel_tol=1e-9)", "f(a, b, rel_tol=c)", n_fast,
                   f=math.isclose, a=70.0, b=1.75, c=1e-9),
              Case("pure Python bmi by keyword", "f(weight_kg=a, height_m=b)", n_fast,
                   f=py_bmi, a=70.0, b=1.75))
        group("integer arguments",
              Case("quorin.bmi(70, 2)", "f(a, b)", n_fast, f=q.bmi, a=70, b=2),
              Case("math.copysign(70, 2)", "f(a, b)", n_fast, f=math.copysign, a=70, b=2))
        group("error path",
              Case("quorin.bmi(0.0, 1.75) caught", "try:\n f(a, b)\nexcept E:\n pass", n_fast // 4,
                   f=q.bmi, a=0.0, b=1.75, E=ValueError),
              Case("pure Python raise and catch", "f()", n_fast // 4, f=py_raise_catch))
    group("one real",
          Case("quorin.mrna_halflife(2.0)", "f(a)", n_fast, f=q.mrna_halflife, a=2.0),
          Case("math.log(2.0)", "f(a)", n_fast, f=math.log, a=2.0))
    if hasattr(q, "biological_age_bound"):
        group("defaults",
              Case("quorin.biological_age_bound(50.0, 60.0, 70.0)", "f(a, b, c)", n_fast,
                   f=q.biological_age_bound, a=50.0, b=60.0, c=70.0))
    if hasattr(q, "gc_content"):
        group("gc_content, 1,000 bases",
              Case("quorin.gc_content", "f(s)", n_list * 10, f=q.gc_content, s=seq1k),
              Case("str.count expression", "f(s)", n_list * 10, f=py_gc_count, s=seq1k),
              Case("pure Python loop", "f(s)", n_list, f=py_gc, s=seq1k))
        group("gc_content, 1,000,000 bases",
              Case("quorin.gc_content", "f(s)", n_big * 5, f=q.gc_content, s=seq1m),
              Case("str.count expression", "f(s)", n_big * 5, f=py_gc_count, s=seq1m),
              Case("pure Python loop", "f(s)", 1, f=py_gc, s=seq1m))
    if hasattr(q, "sequence_identity"):
        other = "".join(rnd.choice("ACGT") for _ in range(1000)) * 1000
        group("sequence_identity, 1,000,000 bases",
              Case("quorin.sequence_identity", "f(a, b)", n_big * 5, f=q.sequence_identity, a=seq1m, b=other),
              Case("pure Python zip", "f(a, b)", 1, f=py_identity, a=seq1m, b=other))
    if hasattr(q, "shannon_entropy_dist"):
        group("shannon_entropy_dist, 1,000 floats",
              Case("quorin.shannon_entropy_dist", "f(x)", n_list * 5, f=q.shannon_entropy_dist, x=probs),
              Case("math.fsum (one pass)", "f(x)", n_list * 5, f=math.fsum, x=probs),
              Case("pure Python", "f(x)", n_list, f=py_entropy, x=probs))
    if hasattr(q, "tm_score"):
        group("tm_score, 1,000 floats",
              Case("quorin.tm_score", "f(x, 1000, 4.0)", n_list * 5, f=q.tm_score, x=dists),
              Case("math.fsum (one pass)", "f(x)", n_list * 5, f=math.fsum, x=dists),
              Case("pure Python", "f(x, 1000, 4.0)", n_list, f=py_tm, x=dists))
    if hasattr(q, "protein_rmsd"):
        group("protein_rmsd, 1,000 triples",
              Case("quorin.protein_rmsd", "f(a, b)", n_list * 2, f=q.protein_rmsd, a=c1, b=c2),
              Case("pure Python", "f(a, b)", n_list, f=py_rmsd, a=c1, b=c2))
    table = []
    if pyref is not None:
        for name in q.__all__:
            if name in pyref.SAMPLES and hasattr(pyref, name):
                args, kwargs = pyref.SAMPLES[name]
                number = n_list if name == "nussinov" else n_fast // 4
                # A literal call, each argument a local: no argument unpacking is timed.
                env = {f"a{i}": v for i, v in enumerate(args)}
                env.update({f"k_{k}": v for k, v in kwargs.items()})
                stmt = "f(" + ", ".join([f"a{i}" for i in range(len(args))] +
                                        [f"{k}=k_{k}" for k in kwargs]) + ")"
                table.append((name,
                              Case(name, stmt, number, f=getattr(q, name), **env),
                              Case(name, stmt, number, f=getattr(pyref, name), **env)))
    return groups, table


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--rounds", type=int, default=7)
    ap.add_argument("--quick", action="store_true", help="fewer loops, for a smoke run")
    opts = ap.parse_args()
    groups, table = build_cases(opts.quick)
    every = [c for _, cases in groups for c in cases] + [c for _, a, b in table for c in (a, b)]
    for _ in range(opts.rounds):
        for case in every:
            case.run_round()
    print(f"ns per call, median of {opts.rounds} interleaved rounds (each the best of 3)\n")
    for title, cases in groups:
        print(title)
        base = cases[0].ns
        for case in cases:
            ratio = "" if case is cases[0] else f"   quorin is {case.ns / base:5.2f}x faster" \
                if case.ns >= base else f"   quorin costs {base / case.ns:5.2f}x this"
            print(f"  {case.label:48s} {case.ns:12.1f}{ratio}")
        print()
    if table:
        print(f"{'function':30s} {'quorin ns':>10s} {'Python ns':>10s} {'speed-up':>9s}")
        for name, qc, pc in table:
            print(f"{name:30s} {qc.ns:10.1f} {pc.ns:10.1f} {pc.ns / qc.ns:8.1f}x")


if __name__ == "__main__":
    main()
