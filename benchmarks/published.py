"""quorin_np's published results against the ways users otherwise compute them, measured side by
side in one run and printed as ratios. A benchmark, not a test: the machine is shared and noisy,
so each figure is the best of several repeats, and each ratio is given over several rounds as
its median and range.

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/published.py [--quick]

- CKD-EPI 2021 over 10⁶ patients: the ufunc against the plain NumPy expression of the same
  formula (several passes over memory) and against a row-by-row Python loop over it.
- The exact Hardy-Weinberg test on 10⁴ variants of 10⁴ samples: the ufunc against pure Python
  implementations of the same recurrence, as published (every heterozygote count) and with the
  ufunc's own stopping rule; then the time of one call on 10⁶ variants.
"""

import argparse
import math
import statistics
import time

import numpy as np

import quorin_np


def best(fn, repeat):
    times = []
    for _ in range(repeat):
        t0 = time.perf_counter()
        fn()
        times.append(time.perf_counter() - t0)
    return min(times)


def spread(ratios):
    return f"{statistics.median(ratios):7.2f}x  (range {min(ratios):.2f}-{max(ratios):.2f})"


# ---- CKD-EPI 2021 ---------------------------------------------------------------------------

def ckd_epi_2021_numpy(scr, age, female):
    kappa = np.where(female, 0.7, 0.9)
    alpha = np.where(female, -0.241, -0.302)
    r = scr / kappa
    return (142 * np.minimum(r, 1) ** alpha * np.maximum(r, 1) ** -1.2 * 0.9938**age
            * np.where(female, 1.012, 1.0))


def ckd_epi_2021_loop(scr, age, female):
    out = []
    for s, a, f in zip(scr, age, female):
        kappa, alpha = (0.7, -0.241) if f else (0.9, -0.302)
        r = s / kappa
        out.append(142 * min(r, 1) ** alpha * max(r, 1) ** -1.2 * 0.9938**a * (1.012 if f else 1))
    return out


def kidney(n, repeat, rounds):
    rng = np.random.default_rng(2021)
    scr = rng.lognormal(0.0, 0.45, n)
    age = rng.integers(18, 95, n).astype(np.float64)
    female = rng.random(n) < 0.5
    ours = quorin_np.egfr_ckd_epi_2021(scr, age, female)
    assert np.allclose(ours, ckd_epi_2021_numpy(scr, age, female), rtol=1e-14)
    lists = scr.tolist(), age.tolist(), female.tolist()

    to_numpy, to_loop = [], []
    for _ in range(rounds):
        t_ours = best(lambda: quorin_np.egfr_ckd_epi_2021(scr, age, female), repeat)
        t_numpy = best(lambda: ckd_epi_2021_numpy(scr, age, female), repeat)
        t_loop = best(lambda: ckd_epi_2021_loop(*lists), 1)
        to_numpy.append(t_ours / t_numpy)
        to_loop.append(t_loop / t_ours)
    print(f"CKD-EPI 2021 over {n:,} patients (last round: ufunc {t_ours * 1e3:.1f} ms, "
          f"NumPy {t_numpy * 1e3:.1f} ms, loop {t_loop * 1e3:.0f} ms)")
    print(f"  ufunc time / NumPy expression time (target <= 1.2)    {spread(to_numpy)}")
    print(f"  row-by-row Python loop time / ufunc time (target >= 10) {spread(to_loop)}")
    # Whole years take a table of the age factor; an age with a fraction takes one pow more.
    fractional = age + rng.uniform(0.0, 1.0, n)
    t_frac = best(lambda: quorin_np.egfr_ckd_epi_2021(scr, fractional, female), repeat)
    t_numpy = best(lambda: ckd_epi_2021_numpy(scr, fractional, female), repeat)
    print(f"  the same with ages in fractions of a year: ufunc / NumPy  {t_frac / t_numpy:7.2f}x")


# ---- the exact Hardy-Weinberg test ------------------------------------------------------------

def hwe_exact_published(n_aa, n_ab, n_bb):
    """The recurrence as published: the probability of every heterozygote count, from the
    expected count outwards, then the sum of those at most as likely as the observed one."""
    n = n_aa + n_ab + n_bb
    rare = min(2 * n_aa + n_ab, 2 * n_bb + n_ab)
    probs = [0.0] * (rare + 1)
    mid = rare * (2 * n - rare) // (2 * n)
    if mid % 2 != rare % 2:
        mid += 1
    probs[mid] = 1.0
    h, r = mid, (rare - mid) // 2
    c = n - h - r
    while h >= 2:
        probs[h - 2] = probs[h] * h * (h - 1) / (4.0 * (r + 1) * (c + 1))
        h, r, c = h - 2, r + 1, c + 1
    h, r = mid, (rare - mid) // 2
    c = n - h - r
    while h <= rare - 2:
        probs[h + 2] = probs[h] * 4.0 * r * c / ((h + 1.0) * (h + 2.0))
        h, r, c = h + 2, r - 1, c - 1
    total = sum(probs)
    observed = probs[n_ab]
    return sum(p for p in probs if p <= observed * (1 + 1e-9)) / total


def hwe_exact_truncated(n_aa, n_ab, n_bb):
    """The same recurrence with the ufunc's walk: from the mode, each side only as far as its
    terms still count."""
    n = n_aa + n_ab + n_bb
    a, b = 2 * n_aa + n_ab, 2 * n_bb + n_ab
    rare = min(a, b)
    up = lambda h, r, c: 4.0 * r * c / ((h + 1.0) * (h + 2.0))  # noqa: E731
    down = lambda h, r, c: h * (h - 1.0) / (4.0 * (r + 1.0) * (c + 1.0))  # noqa: E731
    m = min(int(rare * (2 * n - rare) / (2 * n)), rare)
    if m % 2 != rare % 2:
        m = m + 1 if m + 1 <= rare else m - 1
    h, r = m, (rare - m) // 2
    c = n - h - r
    while r > 0 and up(h, r, c) > 1:
        h, r, c = h + 2, r - 1, c - 1
    while h >= 2 and down(h, r, c) > 1:
        h, r, c = h - 2, r + 1, c + 1
    mode = (h, r, c)
    t_obs = 1.0
    while h < n_ab:
        t_obs *= up(h, r, c)
        h, r, c = h + 2, r - 1, c - 1
    while h > n_ab:
        t_obs *= down(h, r, c)
        h, r, c = h - 2, r + 1, c + 1
    hi = t_obs * (1 + 1e-9)
    total, tail = 1.0, (1.0 if 1.0 <= hi else 0.0)
    for step, ratio, more in ((2, up, lambda h, r: r > 0), (-2, down, lambda h, r: h >= 2)):
        h, r, c = mode
        t = 1.0
        while more(h, r):
            q = ratio(h, r, c)
            if t <= hi and q < 1 and t * q <= 2.0**-64 * tail * (1 - q):
                break
            t *= q
            h, r, c = h + step, r - step // 2, c - step // 2
            total += t
            if t <= hi:
                tail += t
    return tail / total


def variants(count, samples, seed):
    rng = np.random.default_rng(seed)
    p = rng.uniform(0.01, 0.99, count)
    probs = np.stack([p * p, 2 * p * (1 - p), (1 - p) ** 2], axis=1)
    return rng.multinomial(samples, probs).T


def genetics(count, samples, repeat, rounds, big):
    n_aa, n_ab, n_bb = variants(count, samples, 2005)
    rows = list(zip(n_aa.tolist(), n_ab.tolist(), n_bb.tolist()))
    ours = quorin_np.hwe_exact(n_aa, n_ab, n_bb)
    sample = rows[:: max(1, count // 200)]
    published = [hwe_exact_published(*v) for v in sample]
    assert np.allclose(ours[:: max(1, count // 200)], published, rtol=1e-12, atol=1e-300)

    to_published, to_truncated = [], []
    for _ in range(rounds):
        t_ours = best(lambda: quorin_np.hwe_exact(n_aa, n_ab, n_bb), repeat)
        t_pub = best(lambda: [hwe_exact_published(*v) for v in rows], 1)
        t_trunc = best(lambda: [hwe_exact_truncated(*v) for v in rows], 1)
        to_published.append(t_pub / t_ours)
        to_truncated.append(t_trunc / t_ours)
    print(f"exact Hardy-Weinberg test, {count:,} variants of {samples:,} samples (last round: "
          f"ufunc {t_ours * 1e3:.1f} ms, published recurrence {t_pub:.2f} s, "
          f"with the ufunc's walk {t_trunc:.2f} s)")
    print(f"  pure Python, recurrence as published / ufunc (target >= 100) {spread(to_published)}")
    print(f"  pure Python, the ufunc's own walk / ufunc                     {spread(to_truncated)}")

    n_aa, n_ab, n_bb = variants(big, samples, 1)
    seconds = best(lambda: quorin_np.hwe_exact(n_aa, n_ab, n_bb), max(1, repeat // 2))
    print(f"  one call on {big:,} variants of {samples:,} samples: {seconds:.2f} s "
          f"({seconds / big * 1e6:.2f} µs per variant)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="fewer repeats and smaller sizes")
    args = parser.parse_args()
    quick = args.quick
    kidney(10**5 if quick else 10**6, 3 if quick else 7, 2 if quick else 5)
    genetics(10**3 if quick else 10**4, 10**4, 3 if quick else 5, 1 if quick else 3,
             10**5 if quick else 10**6)


if __name__ == "__main__":
    main()
