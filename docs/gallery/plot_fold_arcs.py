"""
RNA folds as arc diagrams
=========================

One optimal structure of the base-pair maximisation, drawn as arcs over the sequence: each arc
joins the two bases of a pair, and since pairs never cross, neither do the arcs. The same
hairpin is folded with no minimum loop (the model of ``quorin.nussinov``, where neighbours may
pair) and with the usual minimum of three unpaired bases in every hairpin loop.
"""

import matplotlib.pyplot as plt
from matplotlib.patches import Arc

import quorin_np

sequence = "GGGAGCUAAAGCUCCCAGAUUCGUCUGG"  # two stem-loops


def draw(ax, sequence, min_loop):
    pairs = quorin_np.nussinov_pairs(sequence, min_loop=min_loop)
    for i, j in pairs.tolist():
        ax.add_patch(Arc(((i + j) / 2, 0), j - i, j - i, theta1=0, theta2=180, lw=1.2,
                         color="tab:blue"))
    for x, base in enumerate(sequence):
        ax.text(x, -0.6, base, ha="center", va="top", family="monospace", fontsize=8)
    ax.set_xlim(-1, len(sequence))
    ax.set_ylim(-2, max([(j - i) / 2 for i, j in pairs.tolist()], default=0) + 1)
    ax.set_aspect("equal")
    ax.axis("off")
    ax.set_title(f"min_loop={min_loop}: {len(pairs)} pairs", fontsize=10)


fig, axes = plt.subplots(2, 1, figsize=(7, 4.5))
for ax, min_loop in zip(axes, (0, 3)):
    draw(ax, sequence, min_loop)
fig.tight_layout()

# %%
# The same structures as dot-brackets, with their pair counts, which are those of
# ``quorin_np.nussinov`` with the same ``min_loop``:
for min_loop in (0, 3):
    structure = quorin_np.nussinov_structure(sequence, min_loop=min_loop)
    print(f"min_loop={min_loop}  {structure}  {int(quorin_np.nussinov(sequence, min_loop=min_loop))}")
