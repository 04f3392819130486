"""Superposed RMSD along a trajectory, against the ways users otherwise compute it, measured side
by side in one run and printed as ratios. A benchmark, not a test: the machine is shared and
noisy, so each time is the best of several repeats, and each ratio is given over several rounds
as its median and range.

    PYTHONPATH=$(scripts/dev-build) .venv/bin/python benchmarks/superpose.py [--quick]

Rows, on a synthetic trajectory of 10⁴ frames of 10³ atoms (float64) against its first frame:
- `quorin_np.superposed_rmsd` against mdtraj's `md.rmsd` of the same frames in float32 (mdtraj's
  own precision), both free to use every core; mdtraj is installed into this environment with
  pip when it is absent, and the row is skipped with a note when it cannot be;
- `quorin_np.superposed_rmsd` against the unsuperposed `quorin_np.protein_rmsd` of the same
  frames, which reads the same memory and does a fraction of the arithmetic.
"""

import argparse
import importlib
import statistics
import subprocess
import sys

import numpy as np

import quorin_np
from published import best, spread  # this folder's own timing helpers


def trajectory(frames, atoms, seed=24):
    """A folded-looking reference (a random walk of 3.8 Å steps) and frames that are rotated,
    moved and jittered copies of it."""
    rng = np.random.default_rng(seed)
    steps = rng.normal(size=(atoms, 3))
    reference = np.cumsum(3.8 * steps / np.linalg.norm(steps, axis=1, keepdims=True), axis=0)
    q = rng.normal(size=(frames, 4))
    q /= np.linalg.norm(q, axis=1, keepdims=True)
    w, x, y, z = q.T
    r = np.stack([np.stack([1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)], -1),
                  np.stack([2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)], -1),
                  np.stack([2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)], -1)],
                 -2)
    jitter = rng.normal(scale=1.5, size=(frames, atoms, 3))
    frames_xyz = (reference + jitter) @ r.transpose(0, 2, 1) + rng.uniform(-20, 20, (frames, 1, 3))
    return np.ascontiguousarray(frames_xyz), reference


def mdtraj_or_none():
    try:
        return importlib.import_module("mdtraj")
    except ImportError:
        pass
    print("mdtraj is not installed: installing it into this environment for the benchmark")
    done = subprocess.run([sys.executable, "-m", "pip", "install", "--quiet", "mdtraj"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        print(f"note: mdtraj could not be installed, its row is skipped ({done.stderr.strip()[-200:]})")
        return None
    importlib.invalidate_caches()
    try:
        return importlib.import_module("mdtraj")
    except ImportError as error:
        print(f"note: mdtraj does not import, its row is skipped ({error})")
        return None


def mdtraj_case(md, frames_xyz, reference):
    top = md.Topology()
    residue = top.add_residue("GLY", top.add_chain())
    for _ in range(reference.shape[0]):
        top.add_atom("CA", md.element.carbon, residue)
    # mdtraj works in nm and float32.
    traj = md.Trajectory((frames_xyz / 10).astype(np.float32), top)
    ref = md.Trajectory((reference / 10)[None].astype(np.float32), top)
    return traj, ref


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--quick", action="store_true", help="fewer frames and rounds")
    args = parser.parse_args()
    frames = 1000 if args.quick else 10_000
    rounds, repeat = (2, 2) if args.quick else (5, 3)
    atoms = 1000
    frames_xyz, reference = trajectory(frames, atoms)
    print(f"trajectory of {frames} frames of {atoms} atoms, float64, against one reference")

    superposed = quorin_np.superposed_rmsd(frames_xyz, reference)
    md = mdtraj_or_none()
    if md is not None:
        traj, ref = mdtraj_case(md, frames_xyz, reference)
        theirs = md.rmsd(traj, ref, 0) * 10
        print(f"mdtraj {md.__version__}: largest difference from quorin_np "
              f"{np.abs(theirs - superposed).max():.1e} Å (float32)")

    t_ours, t_md, t_plain = [], [], []
    for _ in range(rounds):
        t_ours.append(best(lambda: quorin_np.superposed_rmsd(frames_xyz, reference), repeat))
        t_plain.append(best(lambda: quorin_np.protein_rmsd(frames_xyz, reference), repeat))
        if md is not None:
            t_md.append(best(lambda: md.rmsd(traj, ref, 0), repeat))

    per_frame = statistics.median(t_ours) / frames * 1e6
    print(f"\nquorin_np.superposed_rmsd: {statistics.median(t_ours) * 1e3:8.1f} ms "
          f"({per_frame:.2f} µs per frame)")
    if md is not None:
        print(f"mdtraj md.rmsd (float32):  {statistics.median(t_md) * 1e3:8.1f} ms")
        print("  mdtraj's time over superposed_rmsd's  "
              + spread([m / o for m, o in zip(t_md, t_ours)]) + "   (target: at least 2x)")
    print(f"quorin_np.protein_rmsd:    {statistics.median(t_plain) * 1e3:8.1f} ms")
    print("  superposed_rmsd's time over protein_rmsd's  "
          + spread([o / p for o, p in zip(t_ours, t_plain)]) + "   (target: at most 2x)")


if __name__ == "__main__":
    main()
