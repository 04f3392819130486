"""
RMSD along a trajectory
=======================

A synthetic trajectory of a 120-residue chain: each frame is the native structure with thermal
jitter that grows slowly, a terminal segment that unfolds halfway through, and a random
rotation and translation, as a simulation box would leave it. ``quorin_np.superposed_rmsd``
gives the RMSD of every frame to the native after optimal superposition in one call; the RMSD
of the coordinates as they are (``protein_rmsd``) is dominated by the frames' motion instead.
The per-residue fluctuation comes from one ``superpose`` of each frame.
"""

import matplotlib.pyplot as plt
import numpy as np

import quorin_np

rng = np.random.default_rng(7)
n, frames = 120, 400
k = np.arange(n)
# A coiled chain: a helix wound on a larger helix, 3.8 Å between neighbouring Cα atoms.
native = np.stack([9 * np.cos(k / 9) + 2.3 * np.cos(1.75 * k),
                   9 * np.sin(k / 9) + 2.3 * np.sin(1.75 * k), 1.1 * k], axis=1)


def random_rotations(count):
    q = rng.normal(size=(count, 4))
    w, x, y, z = (q / np.linalg.norm(q, axis=1, keepdims=True)).T
    return np.stack([
        np.stack([1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)], -1),
        np.stack([2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)], -1),
        np.stack([2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)], -1)], -2)


time = np.arange(frames)
jitter = (0.4 + 0.4 * time / frames)[:, None, None] * rng.normal(size=(frames, n, 3))
# The last 25 residues drift away from their place after frame 200.
unfolding = np.clip((time - 200) / 100, 0, 1)[:, None, None] * (k >= 95)[None, :, None] * [6, -4, 3]
trajectory = (native + jitter + unfolding) @ random_rotations(frames).transpose(0, 2, 1)
trajectory += rng.uniform(-30, 30, (frames, 1, 3))

superposed = quorin_np.superposed_rmsd(trajectory, native)
as_given = quorin_np.protein_rmsd(trajectory, native)
core = quorin_np.superposed_rmsd_weighted(trajectory, native, (k < 95).astype(float))
print(f"superposed RMSD: first frame {superposed[0]:.2f} Å, last {superposed[-1]:.2f} Å")

# %%
# Per-residue fluctuation (RMSF) over the second half, from the superposed frames.
r, t = quorin_np.superpose(trajectory[200:], native)
moved = np.einsum("fij,faj->fai", r, trajectory[200:]) + t[:, None, :]
rmsf = np.sqrt(((moved - moved.mean(axis=0)) ** 2).sum(axis=2).mean(axis=0))

fig, (left, right) = plt.subplots(1, 2, figsize=(9, 3.4))
left.plot(time, superposed, label="superposed (all residues)")
left.plot(time, core, label="fitted and measured on residues 1–95")
left.set_xlabel("frame")
left.set_ylabel("RMSD to native (Å)")
left.legend(frameon=False, loc="lower right", fontsize=8)
inset = left.inset_axes([0.12, 0.6, 0.38, 0.28])
inset.plot(time, as_given, color="C3", linewidth=0.6)
inset.set_title("without superposition", fontsize=8)
inset.tick_params(labelsize=7)
right.plot(k + 1, rmsf, color="C2")
right.set_xlabel("residue")
right.set_ylabel("RMSF, frames 200–399 (Å)")
fig.tight_layout()
plt.show()
