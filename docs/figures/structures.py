"""Population genetics, entropy, structure comparison and folds."""

import numpy as np

import quorin_np

from . import curves, evaluate, panel, shade_refused

RNG = np.random.default_rng(2024)  # the figures are the same at every build


@panel("hardy_weinberg", "Genotype frequencies p², 2pq and q² against the allele frequency; "
       "frequencies outside [0, 1] are refused")
def hardy_weinberg(ax):
    p = np.linspace(-0.15, 1.15, 261)
    with quorin_np.errstate(refused="nan"):
        outputs = quorin_np.hardy_weinberg(p)
    for y, label in zip(outputs, ("p² (AA)", "2pq (Aa)", "q² (aa)")):
        ax.plot(p, y, label=label)
    shade_refused(ax, p, np.isnan(outputs[0]))
    ax.set(xlabel="allele frequency p", ylabel="genotype frequency", xlim=(p[0], p[-1]))
    ax.legend(fontsize="small")


@panel("shannon_entropy", "Binary entropy in nats against the probability; the maximum is "
       "ln 2 at p = ½, and probabilities outside [0, 1] are refused")
def shannon_entropy(ax):
    curves(ax, "shannon_entropy", ("p", np.linspace(-0.15, 1.15, 261)))
    ax.axhline(np.log(2), color="grey", lw=0.8)
    ax.set(xlabel="probability p", ylabel="entropy (nats)")


@panel("shannon_entropy_dist", "Entropy of distributions of 2 to 20 equally likely outcomes "
       "(ln n) and of random ones")
def shannon_entropy_dist(ax):
    n = np.arange(2, 21)
    uniform = [quorin_np.shannon_entropy_dist(np.full(k, 1.0 / k)) for k in n]
    weights = RNG.dirichlet(np.ones(20), size=(len(n),))
    random = [quorin_np.shannon_entropy_dist(w[:k] / w[:k].sum()) for w, k in zip(weights, n)]
    ax.plot(n, uniform, "o-", label="uniform")
    ax.plot(n, random, "s", label="random")
    ax.set(xlabel="outcomes n", ylabel="entropy (nats)")
    ax.legend(fontsize="small")


@panel("protein_rmsd", "RMSD of a random 100-residue chain against copies of it moved by "
       "Gaussian noise of growing size: it grows as σ·√3")
def protein_rmsd(ax):
    chain = np.cumsum(RNG.normal(0.0, 2.2, size=(100, 3)), axis=0)
    sigma = np.linspace(0.0, 3.0, 31)
    moved = chain + sigma[:, None, None] * RNG.normal(size=(len(sigma), 100, 3))
    ax.plot(sigma, quorin_np.protein_rmsd(moved, chain), "o", label="protein_rmsd")
    ax.plot(sigma, sigma * np.sqrt(3.0), color="grey", lw=0.8, label="σ·√3")
    ax.set(xlabel="noise σ (Å)", ylabel="RMSD (Å)")
    ax.legend(fontsize="small")


@panel("tm_term", "One TM-score term against distance for three d₀; d₀ = 0 is refused")
def tm_term(ax):
    curves(ax, "tm_term", ("d", np.linspace(0.0, 10.0, 201)), vary=("d0", [1.0, 3.0, 5.0]),
           fmt="{:g} Å")
    ax.set(xlabel="distance d (Å)", ylabel="term")


@panel("tm_score", "TM-score of 100 aligned residues whose distances are spread around a "
       "growing mean, with d₀ = 3.5 Å")
def tm_score(ax):
    mean = np.linspace(0.0, 10.0, 41)
    distances = np.abs(mean[:, None] + RNG.normal(0.0, 1.0, size=(len(mean), 100)))
    ax.plot(mean, quorin_np.tm_score(distances, 100, 3.5), "o-")
    ax.set(xlabel="mean distance (Å)", ylabel="TM-score", ylim=(0, 1))


def random_rna(length: int, count: int) -> list[str]:
    return ["".join(RNG.choice(list("ACGU"), size=length)) for _ in range(count)]


@panel("nussinov", "Base pairs of the best fold of random RNAs against their length (20 of "
       "each length): about a third of the bases pair")
def nussinov(ax):
    lengths = np.arange(10, 201, 10)
    pairs = [quorin_np.nussinov(random_rna(int(n), 20)) for n in lengths]
    ax.plot(lengths, [p.mean() for p in pairs], "o-", label="mean of 20")
    ax.fill_between(lengths, [p.min() for p in pairs], [p.max() for p in pairs], alpha=0.25,
                    label="range")
    ax.set(xlabel="length (bases)", ylabel="base pairs")
    ax.legend(fontsize="small")


@panel("gc_content", "GC content of random sequences of 200 bases drawn with a growing "
       "probability of G or C")
def gc_content(ax):
    share = np.linspace(0.0, 1.0, 21)
    texts = ["".join(RNG.choice(list("GCAT"), size=200, p=[q / 2, q / 2, (1 - q) / 2,
                                                            (1 - q) / 2])) for q in share]
    ax.plot(share, quorin_np.gc_content(texts), "o")
    ax.plot(share, share, color="grey", lw=0.8)
    ax.set(xlabel="probability of G or C", ylabel="gc_content")


@panel("sequence_identity", "Identity of a random 200-base sequence against copies with a "
       "growing share of positions mutated")
def sequence_identity(ax):
    reference = RNG.choice(list("ACGT"), size=200)
    rate = np.linspace(0.0, 1.0, 21)
    copies = []
    for r in rate:
        copy = reference.copy()
        where = RNG.random(200) < r
        copy[where] = RNG.choice(list("ACGT"), size=where.sum())
        copies.append("".join(copy))
    ax.plot(rate, quorin_np.sequence_identity(copies, "".join(reference)), "o")
    ax.plot(rate, 1 - 0.75 * rate, color="grey", lw=0.8, label="1 − ¾·rate")
    ax.set(xlabel="share of positions redrawn", ylabel="sequence_identity")
    ax.legend(fontsize="small")
