"""The vector loops: every contract over reals whose formula is arithmetic against NumPy's best
expression of the same formula, in place (out=, with one preallocated scratch array where the
formula needs one) and allocating; then the other ufuncs, and strided layouts, against a build
from before the vector loops (--before DIR: a directory that PYTHONPATH can import that build
from, e.g. the output of scripts/dev-build run on the earlier commit).

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/arrays_lanes.py [--quick] [--before DIR]

Each figure is the best of many repeats, the two sides of a ratio interleaved repeat by repeat.
"""

import argparse
import os
import subprocess
import sys
import time

import numpy as np

LN2 = 0.6931471805599453

# name: (ranges of the inputs, NumPy allocating, NumPy in place into o (a tuple for several
# outputs) with scratch t).
# The NumPy forms follow each core's order of operations.
ARITHMETIC = {
    "bmi": ([(40, 120), (1.4, 2.1)], lambda w, h: w / (h * h),
            lambda o, t, w, h: (np.multiply(h, h, out=o), np.divide(w, o, out=o))),
    "body_surface_area": ([(140, 200), (40, 120)], lambda a, b: np.sqrt((a * b) / 3600.0),
                          lambda o, t, a, b: (np.multiply(a, b, out=o), np.divide(o, 3600.0, out=o),
                                              np.sqrt(o, out=o))),
    "cardiac_output": ([(50, 120), (50, 100)], lambda a, b: a * b,
                       lambda o, t, a, b: np.multiply(a, b, out=o)),
    "oxygen_saturation": ([(0, 15), (0.5, 15)], lambda a, b: a / (b + a),
                          lambda o, t, a, b: (np.add(b, a, out=o), np.divide(a, o, out=o))),
    "osmolarity": ([(130, 150), (70, 200), (5, 30)],
                   lambda na, g, u: (2.0 * na + g / 18.0) + u / 2.8,
                   lambda o, t, na, g, u: (np.multiply(2.0, na, out=o), np.divide(g, 18.0, out=t),
                                          np.add(o, t, out=o), np.divide(u, 2.8, out=t),
                                          np.add(o, t, out=o))),
    "cockcroft_gault": ([(20, 90), (40, 120), (0.5, 3), (0.85, 1)],
                        lambda a, w, s, f: f * (((140.0 - a) * w) / (s * 72.0)),
                        lambda o, t, a, w, s, f: (np.subtract(140.0, a, out=o), np.multiply(o, w, out=o),
                                                  np.multiply(s, 72.0, out=t), np.divide(o, t, out=o),
                                                  np.multiply(f, o, out=o))),
    "langmuir_coverage": ([(0.1, 10), (0.1, 10)], lambda k, c: (k * c) / (1.0 + k * c),
                          lambda o, t, k, c: (np.multiply(k, c, out=o), np.add(1.0, o, out=t),
                                              np.divide(o, t, out=o))),
    "monod_growth": ([(0.1, 2), (0.1, 5), (0.1, 10)], lambda m, k, s: (m * s) / (k + s),
                     lambda o, t, m, k, s: (np.multiply(m, s, out=o), np.add(k, s, out=t),
                                            np.divide(o, t, out=o))),
    "receptor_occupancy": ([(0.1, 10), (0.1, 10)], lambda l, k: l / (k + l),
                           lambda o, t, l, k: (np.add(k, l, out=o), np.divide(l, o, out=o))),
    "competitive_inhibition": ([(1, 10), (0.1, 5), (0.1, 10), (0, 5), (0.1, 5)],
                               lambda v, km, s, i, ki: (v * s) / (km * (i / ki + 1.0) + s),
                               lambda o, t, v, km, s, i, ki: (
                                   np.divide(i, ki, out=t), np.add(t, 1.0, out=t), np.multiply(km, t, out=t),
                                   np.add(t, s, out=t), np.multiply(v, s, out=o), np.divide(o, t, out=o))),
    "catalytic_efficiency": ([(1, 100), (0.1, 10)], lambda a, b: a / b,
                             lambda o, t, a, b: np.divide(a, b, out=o)),
    "protein_steady_state": ([(1, 100), (0.1, 10)], lambda a, b: a / b,
                             lambda o, t, a, b: np.divide(a, b, out=o)),
    "beer_lambert": ([(1, 1e4), (1e-6, 1e-3), (0.1, 2)], lambda e, c, l: (e * c) * l,
                     lambda o, t, e, c, l: (np.multiply(e, c, out=o), np.multiply(o, l, out=o))),
    "quantum_yield": ([(0.1, 10), (0, 10)], lambda kr, knr: kr / (knr + kr),
                      lambda o, t, kr, knr: (np.add(knr, kr, out=o), np.divide(kr, o, out=o))),
    "fret_efficiency": ([(1, 10), (1, 10)],
                        lambda r, r0: 1.0 / (((r / r0) ** 2) ** 3 + 1.0),
                        lambda o, t, r, r0: (np.divide(r, r0, out=o), np.multiply(o, o, out=o),
                                             np.multiply(o, o, out=t), np.multiply(t, o, out=t),
                                             np.add(t, 1.0, out=t), np.divide(1.0, t, out=o))),
    "einstein_stokes": ([(250, 350), (1e-4, 1e-2), (1e-10, 1e-8)],
                        lambda t_, e, r: (t_ * 1.380649e-23) / ((e * 18.84955592153876) * r),
                        lambda o, t, t_, e, r: (np.multiply(t_, 1.380649e-23, out=o),
                                                np.multiply(e, 18.84955592153876, out=t),
                                                np.multiply(t, r, out=t), np.divide(o, t, out=o))),
    "fick_flux": ([(0.1, 2), (1, 10), (0, 1), (0.1, 1)], lambda d, h, l, dx: ((h - l) * -d) / dx,
                  lambda o, t, d, h, l, dx: (np.negative(d, out=o), np.subtract(h, l, out=t),
                                             np.multiply(t, o, out=o), np.divide(o, dx, out=o))),
    "poiseuille_flow": ([(1e-3, 1e-2), (10, 1e3), (1e-3, 1e-2), (0.1, 1)],
                        lambda r, p, e, l: (p * ((r * r) * (r * r) * np.pi)) / (l * (e * 8.0)),
                        lambda o, t, r, p, e, l: (np.multiply(r, r, out=o), np.multiply(o, o, out=o),
                                                  np.multiply(o, np.pi, out=o), np.multiply(p, o, out=o),
                                                  np.multiply(e, 8.0, out=t), np.multiply(l, t, out=t),
                                                  np.divide(o, t, out=o))),
    "doubling_time": ([(0.1, 2)], lambda m: LN2 / m, lambda o, t, m: np.divide(LN2, m, out=o)),
    "reproduction_number": ([(0.1, 2), (0.1, 2)], lambda a, b: a / b,
                            lambda o, t, a, b: np.divide(a, b, out=o)),
    "gibbs_free_energy": ([(-1e5, 1e5), (250, 350), (-300, 300)], lambda h, t_, s: h - t_ * s,
                          lambda o, t, h, t_, s: (np.multiply(t_, s, out=o), np.subtract(h, o, out=o))),
    "osmotic_pressure": ([(1, 3), (0.01, 1), (250, 350)], lambda i, m, t_: ((i * m) * 8.314) * t_,
                         lambda o, t, i, m, t_: (np.multiply(i, m, out=o), np.multiply(o, 8.314, out=o),
                                                 np.multiply(o, t_, out=o))),
    "proton_motive_force": ([(-0.2, 0), (250, 350), (-1, 1)],
                            lambda p, t_, h: p + ((t_ * -19.147142) / 96485.0) * h,
                            lambda o, t, p, t_, h: (np.multiply(t_, -19.147142, out=o),
                                                    np.divide(o, 96485.0, out=o), np.multiply(o, h, out=o),
                                                    np.add(p, o, out=o))),
    "energy_charge": ([(0, 5), (0, 5), (0.1, 5)],
                      lambda a, d, m: (a + d * 0.5) / ((a + d) + m),
                      lambda o, t, a, d, m: (np.add(a, d, out=t), np.add(t, m, out=t),
                                             np.multiply(d, 0.5, out=o), np.add(a, o, out=o),
                                             np.divide(o, t, out=o))),
    "tm_term": ([(0, 10), (1, 5)], lambda d, d0: 1.0 / ((d / d0) * (d / d0) + 1.0),
                lambda o, t, d, d0: (np.divide(d, d0, out=o), np.multiply(o, o, out=o),
                                     np.add(o, 1.0, out=o), np.divide(1.0, o, out=o))),
    "epigenetic_acceleration": ([(0, 150), (0, 100)], lambda a, b: a - b,
                                lambda o, t, a, b: np.subtract(a, b, out=o)),
    "senolytic_healthy_damage": ([(0, 1), (0, 10)], lambda s, d: (1.0 - s) * d,
                                 lambda o, t, s, d: (np.subtract(1.0, s, out=o), np.multiply(o, d, out=o))),
    "nad_ratio": ([(0, 10), (0.1, 10)], lambda a, b: a / b, lambda o, t, a, b: np.divide(a, b, out=o)),
    "inflamm_aging_score": ([(0, 1)] * 3 + [(0, 10)] * 3,
                            lambda a, b, c, x, y, z: (a * x + b * y) + c * z,
                            lambda o, t, a, b, c, x, y, z: (
                                np.multiply(a, x, out=o), np.multiply(b, y, out=t), np.add(o, t, out=o),
                                np.multiply(c, z, out=t), np.add(o, t, out=o))),
    "mrna_halflife": ([(0.01, 1)], lambda k: LN2 / k, lambda o, t, k: np.divide(LN2, k, out=o)),
    "ribosome_density": ([(0, 50), (100, 3000)], lambda n, l: np.fmin(n / l, 1.0),
                         lambda o, t, n, l: (np.divide(n, l, out=o), np.fmin(o, 1.0, out=o))),
    "translation_rate": ([(1, 20), (0.01, 1), (1, 100)], lambda c, d, m: (c * d) * m,
                         lambda o, t, c, d, m: (np.multiply(c, d, out=o), np.multiply(o, m, out=o))),
    "first_order_pk_halflife": ([(0.01, 1)], lambda k: LN2 / k, lambda o, t, k: np.divide(LN2, k, out=o)),
    "ic50_bound": ([(0.1, 10), (0, 10), (0.1, 10)], lambda ki, s, km: ki * (s / km + 1.0),
                   lambda o, t, ki, s, km: (np.divide(s, km, out=o), np.add(o, 1.0, out=o),
                                            np.multiply(ki, o, out=o))),
    "michaelis_menten": ([(1, 10), (0.1, 5), (0.1, 10)], lambda v, k, s: (v * s) / (k + s),
                         lambda o, t, v, k, s: (np.multiply(v, s, out=o), np.add(k, s, out=t),
                                                np.divide(o, t, out=o))),
    "telomere_length_bound": ([(0, 100)], lambda a: np.fmax(a + -40.0, 0.0) * -0.027 + 8.0,
                              lambda o, t, a: (np.add(a, -40.0, out=o), np.fmax(o, 0.0, out=o),
                                               np.multiply(o, -0.027, out=o), np.add(o, 8.0, out=o))),
    "biological_age_bound": ([(20, 90), (20, 90), (20, 90)],
                             lambda p, t_, e: (p * 0.333 + t_ * 0.333) + e * 0.334,
                             lambda o, t, p, t_, e: (
                                 np.multiply(p, 0.333, out=o), np.multiply(t_, 0.333, out=t),
                                 np.add(o, t, out=o), np.multiply(e, 0.334, out=t), np.add(o, t, out=o))),
    "hardy_weinberg": ([(0, 1)], lambda p: (p * p, (1.0 - p) * (2.0 * p), (1.0 - p) * (1.0 - p)),
                       lambda o, t, p: (np.subtract(1.0, p, out=t), np.multiply(p, p, out=o[0]),
                                        np.multiply(2.0, p, out=o[1]), np.multiply(t, o[1], out=o[1]),
                                        np.multiply(t, t, out=o[2]))),
}

# The other ufuncs over reals, timed against the build from before: (name, ranges).
OTHERS = [
    ("arrhenius_rate", [(1e3, 1e9), (1e4, 1e5), (250, 400)]),
    ("boltzmann_factor", [(1e-21, 1e-20), (250, 400)]),
    ("mrna_halflife_concentration", [(1, 100), (0, 1), (0, 10)]),
    ("first_order_pk_concentration", [(1, 100), (0, 1), (0, 10)]),
    ("henderson_hasselbalch", [(4, 9), (0.1, 10), (0.1, 10)]),
    ("ckd_epi", [(0.5, 3), (0.7, 0.9), (-0.4, -0.3), (0.9, 1.1)]),
    ("meld_score", [(1, 10), (1, 3), (1, 4)]),
    ("logistic_growth", [(100, 1000), (1, 100), (0, 1), (0, 10)]),
    ("weibull_survival", [(0, 10), (1, 5), (0.5, 3)]),
    ("nernst_potential", [(-0.1, 0.1), (250, 350), (1, 3), (1, 100), (1, 100)]),
]

STRIDED = ["bmi", "michaelis_menten", "cockcroft_gault", "ribosome_density", "arrhenius_rate"]


def inputs(ranges, n, seed=0):
    rng = np.random.default_rng(seed)
    return [rng.uniform(lo, hi, n) for lo, hi in ranges]


def best_pair(f, g, repeat):
    """Best times of f and of g, run alternately."""
    tf = tg = float("inf")
    for _ in range(repeat):
        t0 = time.perf_counter()
        f()
        t1 = time.perf_counter()
        g()
        t2 = time.perf_counter()
        tf, tg = min(tf, t1 - t0), min(tg, t2 - t1)
    return tf, tg


def best(f, repeat):
    return best_pair(f, lambda: None, repeat)[0]


def layouts(n):
    """{name/layout: operands} of the comparison with the other build."""
    out = {f"{name}/contiguous": inputs(r, n) for name, r in OTHERS}
    ranges = dict(OTHERS) | {k: v[0] for k, v in ARITHMETIC.items()}
    for name in STRIDED:
        out[f"{name}/strided"] = [x[::2] for x in inputs(ranges[name], 2 * n)]
    return out


def serve(n):
    """Times what stdin asks ("name/layout repeat" a line) with this interpreter's quorin_np."""
    import quorin_np
    cases = layouts(n)
    for line in sys.stdin:
        key, repeat = line.split()
        xs = cases[key]
        print(best(lambda: getattr(quorin_np, key.split("/")[0])(*xs), int(repeat)), flush=True)


def run(quick, before=None):
    import quorin_np

    n = 10**5 if quick else 10**6
    repeat = 5 if quick else 30
    level, widest = quorin_np._core._lanes()
    print(f"\nArithmetic contracts over {n:,} float64 elements, vector loops of level {level} "
          f"(widest here {widest}); ratio: quorin_np / NumPy, both in place, then both allocating")
    print(f"  {'contract':<26} {'NumPy ops':>9} {'out= ms':>8} {'NumPy ms':>8} {'ratio':>6}  "
          f"{'alloc ms':>8} {'NumPy ms':>8} {'ratio':>6}  target")
    missed = []
    for name, (ranges, allocating, in_place) in ARITHMETIC.items():
        ufunc = getattr(quorin_np, name)
        xs = inputs(ranges, n)
        o, t = np.empty(n), np.empty(n)
        if ufunc.nout > 1:
            o = tuple(np.empty(n) for _ in range(ufunc.nout))
        ops = in_place(o, t, *xs)
        ops = len(ops) if isinstance(ops, tuple) else 1
        ours_out, np_out = best_pair(lambda: ufunc(*xs, out=o), lambda: in_place(o, t, *xs), repeat)
        ours, theirs = best_pair(lambda: ufunc(*xs), lambda: allocating(*xs), repeat)
        out_target = 1.1 if ops == 1 else 1.0
        alloc_target = 1.0 if ops == 1 else 0.6
        met = ours_out / np_out <= out_target and ours / theirs <= alloc_target
        if not met:
            missed.append(name)
        print(f"  {name:<26} {ops:>9} {ours_out * 1e3:8.3f} {np_out * 1e3:8.3f} {ours_out / np_out:6.2f}  "
              f"{ours * 1e3:8.3f} {theirs * 1e3:8.3f} {ours / theirs:6.2f}  "
              f"{'met' if met else 'missed'} (<= {out_target}, <= {alloc_target})")
    print(f"  targets met by {len(ARITHMETIC) - len(missed)} of {len(ARITHMETIC)}"
          + (f"; missed: {', '.join(missed)}" if missed else ""))

    if before is None:
        return
    print(f"\nAgainst the build in {before} (ratio: this build / that one; best of {repeat}, "
          "five times over, the builds taking turns)")
    worker = subprocess.Popen([sys.executable, os.path.abspath(__file__), "--serve", str(n)],
                              env=dict(os.environ, PYTHONPATH=before), stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, text=True)
    for key, xs in layouts(n).items():
        ufunc = getattr(quorin_np, key.split("/")[0])
        ours = theirs = float("inf")
        for _ in range(5):
            ours = min(ours, best(lambda: ufunc(*xs), repeat))
            worker.stdin.write(f"{key} {repeat}\n")
            worker.stdin.flush()
            theirs = min(theirs, float(worker.stdout.readline()))
        print(f"  {key:<42} {ours * 1e3:8.3f} ms {theirs * 1e3:8.3f} ms {ours / theirs:6.2f}x")
    worker.stdin.close()
    worker.wait()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="fewer repeats and smaller sizes")
    parser.add_argument("--before", help="a directory PYTHONPATH imports the earlier build from")
    parser.add_argument("--serve", type=int, help=argparse.SUPPRESS)  # the other build's side
    args = parser.parse_args()
    if args.serve:
        serve(args.serve)
    else:
        run(args.quick, args.before)
