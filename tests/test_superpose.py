"""quorin_np's superposition: against an SVD Kabsch fit in NumPy, degenerate structures,
weights, broadcasting and layouts, refusals in every mode, long calls shared between threads,
and list arguments read in place (a broadcast core dimension costs no memory)."""

import os
import subprocess
import sys
import textwrap
import warnings

import numpy as np
import pytest

import quorin_np

RNG = np.random.default_rng(24)


def kabsch(x, y, w=None):
    """The reference: SVD of the weighted covariance, with the reflection corrected; RMSD from
    the residuals of the superposed coordinates."""
    w = np.ones(len(x)) if w is None else np.asarray(w, float)
    cx, cy = w @ x / w.sum(), w @ y / w.sum()
    u, _, vt = np.linalg.svd(((x - cx) * w[:, None]).T @ (y - cy))
    d = np.sign(np.linalg.det(vt.T @ u.T))
    r = vt.T @ np.diag([1.0, 1.0, d]) @ u.T
    t = cy - r @ cx
    return r, t, np.sqrt(w @ ((x @ r.T + t - y) ** 2).sum(1) / w.sum())


def rotation(rng):
    q, r = np.linalg.qr(rng.normal(size=(3, 3)))
    q *= np.sign(np.diag(r))
    return q if np.linalg.det(q) > 0 else -q


def pair(n, offset, noise, mirrored, rng):
    x = rng.normal(scale=15.0, size=(n, 3)) + offset
    y = x @ rotation(rng).T + rng.uniform(-50, 50, 3) + rng.normal(scale=noise, size=(n, 3))
    return x, (y * [1.0, 1.0, -1.0] if mirrored else y)


def close_to(got, want):
    assert abs(got - want) <= 1e-6 and (want <= 0.01 or abs(got - want) <= 1e-8 * want)


def assert_proper(r):
    assert np.allclose(r @ r.T, np.eye(3), atol=1e-12) and abs(np.linalg.det(r) - 1) < 1e-12


# n, offset of the coordinates (Å), noise added (Å), mirrored
CASES = [(3, 0.0, 1.0, False), (50, 0.0, 1e-9, False), (1000, 900.0, 1e-6, False),
         (1000, 900.0, 2.0, True), (10_000, -800.0, 1e-3, False), (10_000, 500.0, 0.5, True),
         (7, 980.0, 0.0, False)]


@pytest.mark.parametrize("n, offset, noise, mirrored", CASES)
def test_agrees_with_an_svd_kabsch_fit(n, offset, noise, mirrored):
    x, y = pair(n, offset, noise, mirrored, RNG)
    r_ref, t_ref, rmsd = kabsch(x, y)
    close_to(float(quorin_np.superposed_rmsd(x, y)), rmsd)
    r, t = quorin_np.superpose(x, y)
    assert_proper(r)
    assert np.allclose(r, r_ref, atol=1e-9) and np.allclose(t, t_ref, atol=1e-6)
    close_to(float(np.sqrt(np.mean(((x @ r.T + t - y) ** 2).sum(1)))), rmsd)


@pytest.mark.parametrize("weights", ["ones", "subset", "masses"])
def test_weights(weights):
    x, y = pair(200, 100.0, 0.7, False, RNG)
    w = {"ones": np.ones(200), "subset": (np.arange(200) % 3 == 0) * 1.0,
         "masses": RNG.choice([12.011, 14.007, 15.999, 32.06], 200)}[weights]
    got = float(quorin_np.superposed_rmsd_weighted(x, y, w))
    close_to(got, kabsch(x, y, w)[2])
    if weights == "subset":
        close_to(got, float(quorin_np.superposed_rmsd(x[w > 0], y[w > 0])))


LINE = np.outer(np.arange(6.0), [1.0, 2.0, 2.0])
DEGENERATE = {  # mobile, target, the RMSD
    "identical": (LINE + [[0, 1, 0], [3, 0, 0], [0, 0, 5]] * 2, None, 0.0),
    "single atom": ([[1.0, 2.0, 3.0]], [[-4.0, 0.5, 9.0]], 0.0),
    "one point": (np.full((4, 3), 7.0), np.zeros((4, 3)), 0.0),
    "collinear, rotated": (LINE, LINE[:, [2, 0, 1]] * [-1, 1, 1] + 3.0, 0.0),
    "collinear, stretched": (LINE, LINE * 1.5, None),
    "collinear against a plane": (LINE, np.c_[LINE[:, :2], np.zeros(6)] ** 1.2, None),
}


@pytest.mark.parametrize("case", DEGENERATE)
def test_degenerate_structures_give_numbers(case):
    x, y, want = DEGENERATE[case]
    x = np.asarray(x, float)
    y = x.copy() if y is None else np.asarray(y, float)
    got = float(quorin_np.superposed_rmsd(x, y))
    r, t = quorin_np.superpose(x, y)
    assert not np.isnan([got, *r.ravel(), *t]).any()
    assert_proper(r)
    close_to(got, kabsch(x, y)[2] if want is None else want)
    close_to(float(np.sqrt(np.mean(((x @ r.T + t - y) ** 2).sum(1)))), got)
    if case in ("identical", "single atom", "one point"):
        assert np.array_equal(r, np.eye(3)) and np.array_equal(t, y[0] - x[0])


def test_broadcasting_and_layouts_give_the_same_values():
    frames = RNG.normal(scale=10, size=(5, 30, 3))
    ref = frames[0] + 0.3
    each = np.array([quorin_np.superposed_rmsd(f, ref) for f in frames])
    assert np.array_equal(quorin_np.superposed_rmsd(frames, ref), each)
    every = quorin_np.superposed_rmsd(frames[:, None], frames[None, :])
    assert every.shape == (5, 5) and np.allclose(every, every.T, atol=1e-12)
    assert not every.diagonal().any()
    layouts = [np.asfortranarray(frames), frames[:, ::-1][:, ::-1], frames.transpose(1, 0, 2)
               .copy().transpose(1, 0, 2)]
    raw = np.empty(frames.nbytes + 1, np.uint8)[1:].view(np.float64).reshape(frames.shape)
    raw[...] = frames  # unaligned
    for x in layouts + [raw]:
        assert np.array_equal(quorin_np.superposed_rmsd(x, ref), each)
    r, t = quorin_np.superpose(frames, np.broadcast_to(ref, frames.shape))
    assert r.shape == (5, 3, 3) and t.shape == (5, 3)
    assert np.array_equal(r[2], quorin_np.superpose(frames[2], ref)[0])


NAN_FRAME = RNG.normal(size=(4, 6, 3))
NAN_FRAME[2, 1, 0] = np.nan
REFUSED = [  # function, arguments, index of the first refused element, message
    (quorin_np.superposed_rmsd, (np.ones((2, 4, 3)), np.ones((3, 3))), 0,
     "Quorin.SuperposedRmsd: coordinate arrays must have the same length"),
    (quorin_np.superposed_rmsd, (np.ones((3, 0, 3)), np.ones((0, 3))), 0,
     "Quorin.SuperposedRmsd: structures must have at least one atom"),
    (quorin_np.superposed_rmsd, (NAN_FRAME, np.ones((6, 3))), 2,
     "Quorin.SuperposedRmsd: coordinates must be finite"),
    (quorin_np.superpose, (NAN_FRAME.transpose(1, 0, 2).copy().transpose(1, 0, 2), np.ones((6, 3))),
     2, "Quorin.Superpose: coordinates must be finite"),
    (quorin_np.superposed_rmsd_weighted, (np.ones((2, 6, 3)), np.ones((6, 3)), [[1.0] * 6, [-1.0] * 6]),
     1, "Quorin.SuperposedRmsdWeighted: weights must be finite and non-negative"),
    (quorin_np.superposed_rmsd_weighted, (np.ones((6, 3)), np.ones((6, 3)), np.zeros(6)), 0,
     "Quorin.SuperposedRmsdWeighted: weights must not all be zero"),
    (quorin_np.superposed_rmsd_weighted, (np.ones((6, 3)), np.ones((6, 3)), np.ones(5)), 0,
     "Quorin.SuperposedRmsdWeighted: weights must have one value per atom"),
    (quorin_np.superpose, ([[0.0, 0, 0], [1e200, 0, 0]], [[0.0, 0, 0], [0, 1, 0]]), 0,
     "Quorin.Superpose: coordinates too far apart to superpose (their squares overflow)"),
]


@pytest.mark.parametrize("mode", ["raise", "nan", "warn"])
@pytest.mark.parametrize("function, args, index, message", REFUSED)
def test_refusals_in_every_mode(function, args, index, message, mode):
    name = function.__name__
    if mode == "raise":
        with pytest.raises(ValueError, match=message.replace("(", r"\(").replace(")", r"\)")) as e:
            function(*args)
        assert e.value.__notes__ == [f"quorin_np.{name}: refused the element at flat index {index}"]
        return
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        out = function(*args)
    first = out[0] if isinstance(out, tuple) else out
    assert np.isnan(np.atleast_1d(first)[index]).all()
    if mode == "warn":
        assert len(seen) == 1 and f"at flat index {index}: {message}" in str(seen[0].message)


@pytest.mark.parametrize("mode", ["raise", "nan", "warn"])
def test_a_long_call_shared_between_threads_keeps_order(mode):
    frames = RNG.normal(scale=10, size=(1500, 200, 3))  # 4.6 blocks of 2**16 terms
    ref = RNG.normal(scale=10, size=(200, 3))
    frames[[1000, 333, 1400], 7, 1] = np.inf
    each = [quorin_np.superposed_rmsd(f, ref) if np.isfinite(f).all() else np.nan for f in frames]
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        if mode == "raise":
            with pytest.raises(ValueError) as e:
                quorin_np.superposed_rmsd(frames, ref)
            assert e.value.__notes__[0].endswith("flat index 333")
        else:
            assert np.array_equal(quorin_np.superposed_rmsd(frames, ref), each, equal_nan=True)
    if mode == "warn":
        assert [str(w.message).split(":")[1] for w in seen] == [
            " 3 element(s) refused and set to NaN; the first, at flat index 333"]


def test_superpose_over_dask_is_numpy_superpose():
    da = pytest.importorskip("dask.array")
    frames = RNG.normal(size=(7, 12, 3))
    ref = RNG.normal(size=(12, 3))
    lazy = quorin_np.superpose(da.from_array(frames, chunks=(3, 12, 3)), ref)
    for got, want in zip(lazy, quorin_np.superpose(frames, ref)):
        assert np.array_equal(got.compute(), want)


def test_a_broadcast_core_dimension_is_read_in_place():
    """10⁸ distances and 10⁸ atom pairs broadcast from one value each: computed within an
    address-space limit of 256 MiB beyond the interpreter's own, far below the 763 MiB and
    2.2 GiB a copy of them would take."""
    script = textwrap.dedent("""
        import resource
        import numpy as np, quorin_np
        with open("/proc/self/statm") as f:
            used = int(f.read().split()[0]) * 4096
        resource.setrlimit(resource.RLIMIT_AS, (used + (256 << 20), resource.RLIM_INFINITY))
        print(quorin_np.tm_score(np.broadcast_to(1.0, (10**8,)), 10**8, 1.0))
        one = np.broadcast_to(1.0, (10**8, 3))
        print(quorin_np.protein_rmsd(one, one))
    """)
    out = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                         timeout=300, env=dict(os.environ, OPENBLAS_NUM_THREADS="1"))
    assert out.returncode == 0 and out.stdout.split() == ["0.5", "0.0"], out.stderr[-2000:]
