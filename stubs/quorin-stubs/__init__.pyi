# Type information for the quorin extension module.
#
# Every parameter of every function may be passed by position or by keyword. Reals are `float`
# (an `int` or `bool` is accepted for them too), counts are `int` in 0 .. 2**32 - 1 or
# 0 .. 2**64 - 1, text is `str`, and list parameters take any sequence other than a `str`.

from collections.abc import Sequence
from typing import TypedDict, Unpack, overload

__all__ = [
    "mrna_halflife_concentration",
    "mrna_halflife",
    "ribosome_density",
    "translation_rate",
    "gc_content",
    "sequence_identity",
    "shannon_entropy",
    "shannon_entropy_dist",
    "first_order_pk_concentration",
    "first_order_pk_halflife",
    "ic50_bound",
    "michaelis_menten",
    "biological_age_bound",
    "telomere_length_bound",
    "gompertz_hazard",
    "hardy_weinberg",
    "hardy_weinberg_test",
    "protein_rmsd",
    "gibbs_free_energy",
    "arrhenius_rate",
    "boltzmann_factor",
    "boltzmann_probability",
    "nernst_potential",
    "osmotic_pressure",
    "proton_motive_force",
    "hill_effect",
    "hill_occupancy",
    "langmuir_coverage",
    "monod_growth",
    "receptor_occupancy",
    "competitive_inhibition",
    "catalytic_efficiency",
    "protein_steady_state",
    "beer_lambert",
    "quantum_yield",
    "fret_efficiency",
    "einstein_stokes",
    "fick_flux",
    "poiseuille_flow",
    "sigmoid",
    "logistic_growth",
    "clone_size",
    "doubling_time",
    "pcr_copies",
    "dilution_concentration",
    "allometric",
    "weibull_survival",
    "reproduction_number",
    "bmi",
    "body_surface_area",
    "cardiac_output",
    "oxygen_saturation",
    "henderson_hasselbalch",
    "osmolarity",
    "cockcroft_gault",
    "ckd_mdrd",
    "ckd_epi",
    "meld_score",
    "dna_tm",
    "energy_charge",
    "modified_nucleotide_ratio",
    "pairwise_potential",
    "riboswitch_confidence",
    "tm_term",
    "tm_score",
    "telomere_attrition",
    "epigenetic_acceleration",
    "senolytic_healthy_damage",
    "nad_ratio",
    "inflamm_aging_score",
    "nussinov",
]

# mRNA and ribosome
def mrna_halflife_concentration(initial: float, decay_rate: float, time: float) -> float:
    """Amount of an mRNA left after first-order decay for a given time.

    The decay law m(t) = m₀·e^(−k·t).

    Formula::

        exp(time × (−decay_rate)) × initial

    Parameters
    ----------
    initial : float
        Amount m₀ at time 0, in any unit (the result has it).
    decay_rate : float
        First-order decay rate constant k, per unit of `time`.
    time : float
        Elapsed time t, in the unit `decay_rate` is per.

    Returns
    -------
    float
        The amount left, in the unit of `initial`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `initial ≤ 0`: "Quorin.MrnaHalfLife: initial (m₀) must be positive"
        - if `decay_rate < 0`: "Quorin.MrnaHalfLife: decay_rate must be non-negative"
        - if `time < 0`: "Quorin.MrnaHalfLife: time must be non-negative"

    Example
    -------
    >>> quorin.mrna_halflife_concentration(100.0, 0.1, 5.0)
    60.653065971263345
    """
def mrna_halflife(decay_rate: float) -> float:
    """Half-life of an mRNA decaying with a first-order rate constant.

    t½ = ln 2 / k; 0.6931471805599453 is the double nearest to ln 2.

    Formula::

        0.6931471805599453 / decay_rate

    Parameters
    ----------
    decay_rate : float
        First-order decay rate constant k (for instance per minute).

    Returns
    -------
    float
        The half-life, in the reciprocal unit of the rate (minutes for a rate per minute).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `decay_rate ≤ 0`: "Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)"

    Example
    -------
    >>> quorin.mrna_halflife(0.1)
    6.931471805599452
    """
def ribosome_density(n_ribosomes: float, length: float) -> float:
    """Ribosomes per unit of transcript length, capped at full coverage (1.0).

    A NaN quotient gives 1.0 (the min rule).

    Formula::

        min(n_ribosomes / length, 1.0)

    Parameters
    ----------
    n_ribosomes : float
        Number of ribosomes on the transcript (a real; 2.5 is accepted).
    length : float
        Transcript length, in the unit the density is per (for instance codons or ribosome
        footprints).

    Returns
    -------
    float
        Ribosomes per unit of length, at most 1.0.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `n_ribosomes < 0`: "Quorin.RibosomeDensity: n_ribosomes must be non-negative
          (coverage_nonneg)"
        - if `length ≤ 0`: "Quorin.RibosomeDensity: length must be positive"

    Example
    -------
    >>> quorin.ribosome_density(5.0, 10.0)
    0.5
    """
def translation_rate(codon_rate: float, ribosome_density: float, mrna_copies: float) -> float:
    """Protein synthesis rate: codon rate × ribosome density × mRNA copies.

    Formula::

        (codon_rate × ribosome_density) × mrna_copies

    Parameters
    ----------
    codon_rate : float
        Elongation rate, codons per unit of time.
    ribosome_density : float
        Ribosomes per codon (as `ribosome_density` returns).
    mrna_copies : float
        Number of mRNA copies.

    Returns
    -------
    float
        The synthesis rate, in the unit of time of `codon_rate`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `codon_rate ≤ 0`: "Quorin.TranslationRate: codon_rate must be positive
          (translationRate_pos)"
        - if `ribosome_density ≤ 0`: "Quorin.TranslationRate: ribosome_density must be positive
          (translationRate_pos)"
        - if `mrna_copies ≤ 0`: "Quorin.TranslationRate: mrna_copies must be positive
          (translationRate_pos)"

    Example
    -------
    >>> quorin.translation_rate(5.0, 0.5, 100.0)
    250.0
    """

# Sequence analysis
def gc_content(sequence: str) -> float:
    """GC content: the fraction of G and C characters in a text, over its length in UTF-8 bytes.

    Counts the characters that are exactly `G`, `C`, `g` or `c`. No character is rejected and no
    other character counts (not `S`, not other ambiguity codes); a non-ASCII character never
    counts as G or C but adds its two to four bytes to the length.

    Formula::

        count(G, C, g, c) / length in bytes

    Parameters
    ----------
    sequence : str
        Nucleotide sequence (DNA or RNA, any case).

    Returns
    -------
    float
        The GC fraction, from 0 to 1 (not a percentage).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `sequence` is empty: "Quorin.GCContent: sequence must not be empty (total > 0
          precondition)"

    Notes
    -----
    Differs from common biology libraries: the denominator is every byte of the text, so `N`,
    gaps (`-`), spaces and other characters lower the fraction (`gc_content("GCNN")` is 0.5, not
    1.0), and `S` is not counted as G or C. Strip what should not count before calling, for
    instance `seq.replace("-", "")`.

    Example
    -------
    >>> quorin.gc_content("GGCCAT")
    0.6666666666666666
    """
def sequence_identity(seq1: str, seq2: str) -> float:
    """Fraction of positions at which two texts carry the same character, without alignment.

    Characters are paired from the start until either text ends, compared exactly
    (case-sensitive, `T` and `U` differ), and the matches are divided by the longer length in
    UTF-8 bytes, so the overhang of the longer text counts as mismatches.

    Formula::

        matches / max(length of seq1, length of seq2)

    Parameters
    ----------
    seq1 : str
        First sequence.
    seq2 : str
        Second sequence.

    Returns
    -------
    float
        The identity, from 0 to 1 (not a percentage).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `seq1` or `seq2` is empty: "Quorin.SequenceIdentity: sequences must not be empty"

    Notes
    -----
    Differs from common biology libraries: no alignment is made and gaps are ordinary
    characters; align the two sequences first (a pairwise aligner gives two texts of one length
    with `-` for gaps) if you want the identity of an alignment.

    Example
    -------
    >>> quorin.sequence_identity("ACGT", "ACGA")
    0.75
    """
def shannon_entropy(p: float) -> float:
    """Binary Shannon entropy, in nats, of an event of probability p.

    A term whose probability is 0 contributes nothing, and a result that is not positive is
    +0.0.

    Formula::

        a = log(p) × p, or 0 if p ≤ 0
        q = 1 − p
        b = log(q) × q, or 0 if q ≤ 0
        h = −(a + b); the result is h if h > 0, else 0.0

    Parameters
    ----------
    p : float
        Probability of the event, from 0 to 1.

    Returns
    -------
    float
        The entropy in nats (natural logarithm); at most ln 2.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `p < 0`, `p` is NaN, or `p > 1`: "Quorin.ShannonEntropy: p must be in [0, 1]"

    Notes
    -----
    This check asks for `p` in the closed interval [0, 1], so it rejects NaN.

    The logarithm is natural: divide by 0.6931471805599453 (ln 2) for bits.

    Example
    -------
    >>> quorin.shannon_entropy(0.5)
    0.6931471805599453
    """
def shannon_entropy_dist(probabilities: Sequence[float]) -> float:
    """Shannon entropy, in nats, of a discrete probability distribution.

    The probabilities are used as given, not renormalised; elements that are 0, −0.0 or NaN
    contribute nothing.

    Formula::

        H = −0.0; for each p > 0 in list order: H = H − log(p) × p
        the result is H if H > 0, else 0.0

    Parameters
    ----------
    probabilities : sequence of float
        The probabilities of the outcomes, summing to 1 within 1e-6.

    Returns
    -------
    float
        The entropy in nats (natural logarithm).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if the list is empty: "Quorin.ShannonEntropy: probabilities must not be empty"
        - if an element is `< 0`: "Quorin.ShannonEntropy: all probabilities must be
          non-negative"
        - if the sum s of the elements (in list order, from −0.0) has `abs(s − 1) > 1e-6`:
          "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got {s})"

    Notes
    -----
    Differs from common libraries: counts or unnormalised weights are refused, not normalised;
    divide by their total first. The logarithm is natural: divide by 0.6931471805599453 (ln 2)
    for bits.

    Example
    -------
    >>> quorin.shannon_entropy_dist([0.25, 0.25, 0.25, 0.25])
    1.3862943611198906
    """

# Pharmacokinetics
def first_order_pk_concentration(c0: float, ke: float, time: float) -> float:
    """Plasma concentration after first-order elimination for a given time.

    C(t) = C₀·e^(−kₑ·t), a one-compartment model after an intravenous bolus.

    Formula::

        exp(time × (−ke)) × c0

    Parameters
    ----------
    c0 : float
        Initial concentration C₀ (for instance mg/L; the result has its unit).
    ke : float
        Elimination rate constant kₑ, per unit of `time` (for instance 1/h).
    time : float
        Time since the dose, in the unit `ke` is per.

    Returns
    -------
    float
        The concentration, in the unit of `c0`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `c0 ≤ 0`: "Quorin.FirstOrderPK: c0 must be positive (concentration_pos)"
        - if `ke < 0`: "Quorin.FirstOrderPK: ke must be non-negative"
        - if `time < 0`: "Quorin.FirstOrderPK: time must be non-negative"

    Notes
    -----
    For a half-life t½ pass `ke = 0.6931471805599453 / t½`; for clearance CL and volume V pass
    `ke = CL / V`.

    Example
    -------
    >>> quorin.first_order_pk_concentration(10.0, 0.5, 2.0)
    3.6787944117144233
    """
def first_order_pk_halflife(ke: float) -> float:
    """Elimination half-life from a first-order elimination rate constant.

    t½ = ln 2 / kₑ; 0.6931471805599453 is the double nearest to ln 2.

    Formula::

        0.6931471805599453 / ke

    Parameters
    ----------
    ke : float
        Elimination rate constant kₑ (for instance 1/h).

    Returns
    -------
    float
        The half-life, in the reciprocal unit of `ke` (hours for 1/h).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `ke ≤ 0`: "Quorin.FirstOrderPK: ke must be positive (halflife_positive)"

    Example
    -------
    >>> quorin.first_order_pk_halflife(0.5)
    1.3862943611198906
    """
def ic50_bound(ki: float, substrate: float, km: float) -> float:
    """IC50 of a competitive inhibitor by the Cheng–Prusoff relation IC50 = Kᵢ·(1 + [S]/Kₘ).

    Formula::

        ki × (substrate / km + 1.0)

    Parameters
    ----------
    ki : float
        Inhibition constant Kᵢ (the result has its unit).
    substrate : float
        Substrate concentration [S], in the unit of `km`.
    km : float
        Michaelis constant Kₘ.

    Returns
    -------
    float
        The IC50, in the unit of `ki`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `ki ≤ 0`: "Quorin.IC50Relationship: ki must be positive (ic50_pos)"
        - if `substrate < 0`: "Quorin.IC50Relationship: substrate must be non-negative"
        - if `km ≤ 0`: "Quorin.IC50Relationship: km must be positive (ic50_pos)"

    Notes
    -----
    For the inverse (Kᵢ from a measured IC50) divide the IC50 by
    `ic50_bound(1.0, substrate, km)`. Note the parameter order, which differs from
    `michaelis_menten`.

    Example
    -------
    >>> quorin.ic50_bound(2.0, 5.0, 5.0)
    4.0
    """
def michaelis_menten(vmax: float, km: float, substrate: float) -> float:
    """Reaction velocity by the Michaelis–Menten equation v = Vₘₐₓ·[S]/(Kₘ + [S]).

    Formula::

        (vmax × substrate) / (km + substrate)

    Parameters
    ----------
    vmax : float
        Maximum velocity Vₘₐₓ (the result has its unit).
    km : float
        Michaelis constant Kₘ, in the unit of `substrate`.
    substrate : float
        Substrate concentration [S].

    Returns
    -------
    float
        The velocity, in the unit of `vmax`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `vmax ≤ 0`: "Quorin.MichaelisMenten: vmax must be positive (velocity_pos)"
        - if `km ≤ 0`: "Quorin.MichaelisMenten: km must be positive"
        - if `substrate ≤ 0`: "Quorin.MichaelisMenten: substrate must be positive
          (velocity_pos)"

    Notes
    -----
    Note the parameter order, which differs from `ic50_bound`. A zero substrate is refused
    rather than giving 0.

    Example
    -------
    >>> quorin.michaelis_menten(10.0, 2.0, 2.0)
    5.0
    """

# Longevity
def biological_age_bound(
    pheno_age: float,
    telomere_age: float,
    epigenetic_age: float,
    w1: float = 0.333,
    w2: float = 0.333,
    w3: float = 0.334,
) -> float:
    """Biological age as a weighted mean of phenotypic, telomere-based and epigenetic age estimates.

    The weights are optional; they are used as given, not renormalised by their sum. A weight
    passed as `None` is not replaced by its default: it fails conversion.

    Formula::

        (pheno_age × w1 + telomere_age × w2) + epigenetic_age × w3

    Parameters
    ----------
    pheno_age : float
        Phenotypic age estimate, years.
    telomere_age : float
        Telomere-based age estimate, years.
    epigenetic_age : float
        Epigenetic (clock) age estimate, years.
    w1 : float, default 0.333
        Weight of `pheno_age`.
    w2 : float, default 0.333
        Weight of `telomere_age`.
    w3 : float, default 0.334
        Weight of `epigenetic_age`.

    Returns
    -------
    float
        The weighted age, in years.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `pheno_age < 0`, `telomere_age < 0` or `epigenetic_age < 0`: "Quorin.BiologicalAge:
          all age components must be non-negative (ensemble_nonneg)"
        - if `w1 < 0`, `w2 < 0` or `w3 < 0`: "Quorin.BiologicalAge: weights must be non-negative
          (EnsembleWeights.hw1/hw2/hw3)"
        - if s = (w1 + w2) + w3 has `abs(s − 1) > 1e-6`: "Quorin.BiologicalAge: weights must sum
          to 1.0 (EnsembleWeights.hsum); got {s}"

    Example
    -------
    >>> quorin.biological_age_bound(50, 60, 70)
    60.010000000000005
    """
def telomere_length_bound(age: float) -> float:
    """Telomere length bound by age: a plateau of 8.0 up to age 40, then a decline of 0.027 per year.

    There is no lower clamp (ages above about 336 give negative values). A NaN excess over 40
    counts as 0.

    Formula::

        x = age + (−40.0); x = x if x > 0, else 0
        x × (−0.027) + 8.0

    Parameters
    ----------
    age : float
        Age in years.

    Returns
    -------
    float
        The length bound; read as kilobases, the plateau of 8.0 kb and the loss of 27 bp a year
        are typical of human leukocyte telomeres.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `age < 0`: "Quorin.Telomere: age must be non-negative"

    Example
    -------
    >>> quorin.telomere_length_bound(30)
    8.0
    """
def gompertz_hazard(alpha: float, beta: float, time: float) -> float:
    """Gompertz mortality hazard h(t) = α·e^(β·t).

    `beta` is not checked, so a negative `beta` gives a decreasing hazard.

    Formula::

        exp(beta × time) × alpha

    Parameters
    ----------
    alpha : float
        Baseline hazard α at time 0, per unit of time.
    beta : float
        Rate of ageing β, per unit of `time` (for humans about 0.085 per year).
    time : float
        Time or age t.

    Returns
    -------
    float
        The hazard, in the unit of `alpha`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `alpha ≤ 0`: "Quorin.GompertzMortality: alpha must be positive (mortality_pos)"
        - if `time < 0`: "Quorin.GompertzMortality: time must be non-negative"

    Example
    -------
    >>> quorin.gompertz_hazard(0.5, 0.1, 10)
    1.3591409142295225
    """

# Statistics and structural comparison
def hardy_weinberg(p: float) -> tuple[float, float, float]:
    """Genotype frequencies p², 2pq, q² under Hardy–Weinberg equilibrium for an allele frequency p.

    The frequencies of a biallelic locus whose first allele has frequency `p`, in the order
    homozygote of the first allele, heterozygote (the expected heterozygosity), homozygote of
    the second allele. The three are not renormalised, so their sum may differ from 1 in the
    last bit.

    Formula::

        q = 1 − p
        (p × p, q × (2 × p), q × q)

    Parameters
    ----------
    p : float
        Frequency of the first allele, from 0 to 1.

    Returns
    -------
    tuple[float, float, float]
        `(p², 2pq, q²)`, each from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `p < 0`, `p` is NaN, or `p > 1`: "Quorin.HardyWeinberg: p must be in [0, 1]
          (AlleleFreq.hp + hq + hsum)"

    Notes
    -----
    This check asks for `p` in the closed interval [0, 1], so it rejects NaN.

    Example
    -------
    >>> quorin.hardy_weinberg(0.3)
    (0.09, 0.42, 0.48999999999999994)
    """
def hardy_weinberg_test(
    n_aa_dom: int, n_aa_het: int, n_aa_rec: int
) -> tuple[float, float, float, float]:
    """Observed genotype frequencies and a chi-squared deviation from Hardy–Weinberg equilibrium, on frequencies.

    The statistic is formed on frequencies, not counts: it is Pearson's count-based statistic
    divided by N. An expected frequency of zero contributes a zero term.

    Formula::

        N = (n_aa_het + n_aa_dom) + n_aa_rec
        f_dom = n_aa_dom / N, f_het = n_aa_het / N, f_rec = n_aa_rec / N
        p = (n_aa_het + (n_aa_dom + n_aa_dom)) / (N + N); q = 1 − p
        e_dom = p × p, e_het = (p + p) × q, e_rec = q × q
        t_x = (f_x − e_x) × (f_x − e_x) / e_x if e_x > 0, else 0
        chi = t_rec + (t_dom + t_het)
        (f_dom, f_het, f_rec, chi)

    Parameters
    ----------
    n_aa_dom : int, a count from 0 to 18446744073709551615
        Count of homozygotes of the first (dominant) allele.
    n_aa_het : int, a count from 0 to 18446744073709551615
        Count of heterozygotes.
    n_aa_rec : int, a count from 0 to 18446744073709551615
        Count of homozygotes of the second (recessive) allele.

    Returns
    -------
    tuple[float, float, float, float]
        `(f_dom, f_het, f_rec, chi)`: the three observed genotype frequencies and χ²/N.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `N = 0`: "Quorin.HardyWeinberg: total count must be positive"

    Notes
    -----
    Differs from common statistics libraries: the fourth value is χ²/N, not Pearson's χ², and no
    p-value is computed. Multiply by N for Pearson's χ² (one degree of freedom); its p-value is
    `math.erfc(math.sqrt(chi2 / 2))`. No exact test and no continuity correction are made.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.hardy_weinberg_test(30, 40, 30)
    (0.3, 0.4, 0.3, 0.03999999999999998)
    """
def protein_rmsd(
    coords1: Sequence[tuple[float, float, float]],
    coords2: Sequence[tuple[float, float, float]],
) -> float:
    """Root-mean-square deviation (RMSD) of two equally long lists of 3-D points paired by position, without superposition.

    Two empty lists give 0.0.

    Formula::

        s = −0.0; for each pair: s = s + ((dx × dx + dy × dy) + dz × dz), with d = first − second
        sqrt(s / n)

    Parameters
    ----------
    coords1 : sequence of (float, float, float)
        The first structure's points, (x, y, z) each, typically Å.
    coords2 : sequence of (float, float, float)
        The second structure's points, paired with the first by position.

    Returns
    -------
    float
        The RMSD, in the unit of the coordinates.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if the lists differ in length: "Quorin.ProteinRMSD: coordinate arrays must have the
          same length"

    Notes
    -----
    Differs from common structural biology tools: no superposition is made (no translation or
    rotation is fitted), so two copies of one structure moved apart give a large RMSD. For the
    usual RMSD after optimal superposition, superpose the structures first (the Kabsch
    algorithm) and pass the superposed coordinates; pair the atoms you mean to compare (for
    instance the Cα atoms) yourself.

    Example
    -------
    >>> quorin.protein_rmsd([(0, 0, 0), (0, 0, 0)], [(1, 2, 2), (0, 0, 0)])
    2.1213203435596424
    """

# Thermodynamics and electrochemistry
def gibbs_free_energy(dh: float, t: float, ds: float) -> float:
    """Gibbs free energy change ΔG = ΔH − T·ΔS.

    Formula::

        dh − (t × ds)

    Parameters
    ----------
    dh : float
        Enthalpy change ΔH (for instance kJ/mol; the result has its unit).
    t : float
        Absolute temperature T in K.
    ds : float
        Entropy change ΔS, in the energy unit of `dh` per kelvin (kJ/(mol·K) with kJ/mol).

    Returns
    -------
    float
        ΔG, in the unit of `dh`; negative for a spontaneous process.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `t < 0`: "Quorin.GibbsFreeEnergy: T must be non-negative"

    Notes
    -----
    Nothing converts units: the usual mistake is ΔH in kJ/mol with ΔS in J/(mol·K); divide ΔS by
    1000 first. The temperature is in kelvin (25 °C is 298.15 K).

    Example
    -------
    >>> quorin.gibbs_free_energy(-100.0, 300.0, -0.5)
    50.0
    """
def arrhenius_rate(a: float, ea: float, t: float) -> float:
    """Arrhenius rate constant k = A·exp(−Eₐ/(R·T)).

    The sign of R is folded into the constant.

    Formula::

        exp(ea / (t × −8.314)) × a

    Parameters
    ----------
    a : float
        Pre-exponential factor A (the result has its unit, for instance 1/s).
    ea : float
        Activation energy Eₐ in J/mol (not kJ/mol).
    t : float
        Absolute temperature T in K.

    Returns
    -------
    float
        The rate constant, in the unit of `a`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `a ≤ 0`: "Quorin.ArrheniusEquation: A must be positive"
        - if `t ≤ 0`: "Quorin.ArrheniusEquation: T must be positive"

    Notes
    -----
    The ratio of two calls at the same `a` gives the temperature factor:
    `arrhenius_rate(1, ea, 308) / arrhenius_rate(1, ea, 298)` is about 1.93 for 50 kJ/mol (the
    rule of thumb that a rise of 10 K doubles a rate).

    Example
    -------
    >>> quorin.arrhenius_rate(1e13, 50000.0, 298.0)
    17198.16531076306
    """
def boltzmann_factor(e: float, t: float) -> float:
    """Boltzmann factor exp(−E/(k·T)) of an energy per particle.

    k is 1.380649e-23 J/K (exact, SI 2019).

    Formula::

        exp(e / (t × −1.380649e-23))

    Parameters
    ----------
    e : float
        Energy of the state in J per particle (not per mole).
    t : float
        Absolute temperature T in K.

    Returns
    -------
    float
        The factor, from 0 to infinity (above 1 for a negative energy).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `t ≤ 0`: "Quorin.BoltzmannDistribution: T must be positive"

    Notes
    -----
    For an energy per mole, pass it divided by the Avogadro constant 6.02214076e23, or use
    `arrhenius_rate`, which uses R.

    Example
    -------
    >>> quorin.boltzmann_factor(4.14e-21, 300.0)
    0.36805241046447656
    """
def boltzmann_probability(e: float, t: float, z: float) -> float:
    """Probability of a state of given energy: its Boltzmann factor divided by the partition function.

    Not capped at 1. The partition function is checked before the temperature.

    Formula::

        exp(e / (t × −1.380649e-23)) / z

    Parameters
    ----------
    e : float
        Energy of the state in J per particle.
    t : float
        Absolute temperature T in K.
    z : float
        Partition function Z, the sum of the Boltzmann factors of all states.

    Returns
    -------
    float
        The probability (not capped at 1 if `z` is smaller than the factor).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `z ≤ 0`: "Quorin.BoltzmannDistribution: Z must be positive"
        - if `t ≤ 0`: "Quorin.BoltzmannDistribution: T must be positive"

    Example
    -------
    >>> quorin.boltzmann_probability(0.0, 300.0, 2.0)
    0.5
    """
def nernst_potential(e0: float, t: float, n: float, c_out: float, c_in: float) -> float:
    """Nernst potential E = E₀ − (R·T/(n·F))·ln(c_out/c_in), in volts.

    R is 8.314 J/(mol·K) and F is 96485.0 C/mol.

    Formula::

        s = (t × −8.314) / (n × 96485.0)
        e0 + log(c_out / c_in) × s

    Parameters
    ----------
    e0 : float
        Standard potential E₀ in V (0.0 for a membrane equilibrium potential).
    t : float
        Absolute temperature T in K (37 °C is 310.15 K).
    n : float
        Number of electrons, or the magnitude of the ion's charge |z| (a real; 1.5 is accepted).
    c_out : float
        The concentration in the numerator of the logarithm.
    c_in : float
        The concentration in the denominator, in the unit of `c_out`.

    Returns
    -------
    float
        The potential in V.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `t ≤ 0`: "Quorin.NernstEquation: T must be positive"
        - if `n ≤ 0`: "Quorin.NernstEquation: n must be positive"
        - if `c_out ≤ 0` or `c_in ≤ 0`: "Quorin.NernstEquation: concentrations must be positive"

    Notes
    -----
    Sign convention: this is the electrode form, E₀ minus the logarithmic term, so with `c_out`
    and `c_in` as named a cation's membrane potential comes out with the wrong sign. For the
    equilibrium (reversal) potential of an ion across a membrane, inside relative to outside,
    pass `e0 = 0.0` and: for a cation, the inside concentration as `c_out` and the outside one
    as `c_in`; for an anion, the outside as `c_out` and the inside as `c_in`; `n` is always
    positive.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.nernst_potential(0.0, 310.15, 1.0, 140.0, 5.0)
    -0.08905404533864951
    """
def osmotic_pressure(i: float, m: float, t: float) -> float:
    """Van 't Hoff osmotic pressure Π = i·M·R·T.

    R is 8.314 J/(mol·K).

    Formula::

        ((i × m) × 8.314) × t

    Parameters
    ----------
    i : float
        Van 't Hoff factor i (particles per formula unit; about 2 for NaCl).
    m : float
        Molar concentration M: mol/L gives kPa, mol/m³ gives Pa.
    t : float
        Absolute temperature T in K.

    Returns
    -------
    float
        The osmotic pressure, in kPa for `m` in mol/L (Pa for mol/m³).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `i ≤ 0`, `m ≤ 0` or `t ≤ 0`: "Quorin.OsmoticPressure: i, M, T must be positive"

    Notes
    -----
    Divide kPa by 101.325 for atmospheres. The van 't Hoff factor is used as given; no osmotic
    coefficient is applied.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.osmotic_pressure(2.0, 0.15, 310.0)
    773.2019999999999
    """
def proton_motive_force(d_psi: float, t: float, d_ph: float) -> float:
    """Proton-motive force Δp = Δψ − (2.303·R·T/F)·ΔpH, in volts.

    The constant −19.147142 is −(8.314 × 2.303), one double; F is 96485.0 C/mol. At 298 K the
    factor 2.303·R·T/F is 59.1 mV per pH unit.

    Formula::

        d_psi + ((t × −19.147142) / 96485.0) × d_ph

    Parameters
    ----------
    d_psi : float
        Membrane potential difference Δψ = ψ(inside) − ψ(outside), in V.
    t : float
        Absolute temperature T in K.
    d_ph : float
        PH difference ΔpH = pH(inside) − pH(outside).

    Returns
    -------
    float
        Δp in V; with these signs an energised membrane (inside negative and alkaline) gives a
        negative value.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `t ≤ 0`: "Quorin.ProtonMotiveForce: T must be positive"

    Notes
    -----
    Mitchell's sign convention, with both differences taken inside minus outside. For millivolts
    multiply by 1000.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.proton_motive_force(-0.15, 298.0, 0.5)
    -0.17956857706379228
    """

# Binding and enzyme kinetics
def hill_effect(emax: float, ec50: float, c: float, n: int) -> float:
    """Effect of a concentration by the Hill equation E = Eₘₐₓ·cⁿ/(EC50ⁿ + cⁿ).

    With n = 0 every accepted `c` gives emax / 2. Powers that overflow give NaN (infinity over
    infinity); nothing is rescaled.

    Formula::

        cn = powi(c, n)
        (emax × cn) / (powi(ec50, n) + cn)

    Parameters
    ----------
    emax : float
        Maximum effect Eₘₐₓ (the result has its unit).
    ec50 : float
        Concentration giving half the maximum effect, in the unit of `c`.
    c : float
        Concentration.
    n : int, a count from 0 to 4294967295
        Hill coefficient, a whole number.

    Returns
    -------
    float
        The effect, in the unit of `emax`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `emax ≤ 0`: "Quorin.HillEquation: emax must be positive"
        - if `ec50 ≤ 0`: "Quorin.HillEquation: ec50 must be positive"
        - if `c < 0`: "Quorin.HillEquation: c must be non-negative"

    Notes
    -----
    Differs from common pharmacology tools: the Hill coefficient is an integer count (a float
    such as 1.5 is refused by conversion), and the power is the integer power; for a fractional
    slope compute `emax / (1 + (ec50 / c) ** n)` yourself.

    Example
    -------
    >>> quorin.hill_effect(100.0, 10.0, 20.0, 2)
    80.0
    """
def hill_occupancy(s: float, k: float, n: int) -> float:
    """Fractional occupancy θ = Sⁿ/(Kⁿ + Sⁿ) of a cooperative binder (Hill equation).

    Formula::

        sn = powi(s, n)
        sn / (powi(k, n) + sn)

    Parameters
    ----------
    s : float
        Ligand concentration S.
    k : float
        Half-saturation constant K, in the unit of `s`.
    n : int, a count from 0 to 4294967295
        Hill coefficient, a whole number.

    Returns
    -------
    float
        The occupied fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `s < 0`: "Quorin.HillCooperativity: S must be non-negative"
        - if `k ≤ 0`: "Quorin.HillCooperativity: K must be positive"

    Notes
    -----
    The Hill coefficient is an integer count, as in `hill_effect`; a fractional coefficient is
    refused by conversion.

    Example
    -------
    >>> quorin.hill_occupancy(2.0, 1.0, 2)
    0.8
    """
def langmuir_coverage(k: float, c: float) -> float:
    """Fractional surface coverage θ = K·c/(1 + K·c) by the Langmuir isotherm.

    Formula::

        p = k × c
        p / (1.0 + p)

    Parameters
    ----------
    k : float
        Equilibrium (affinity) constant K, in the reciprocal unit of `c`.
    c : float
        Concentration or partial pressure c.

    Returns
    -------
    float
        The covered fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `k ≤ 0` or `c ≤ 0`: "Quorin.LangmuirIsotherm: K and c must be positive"

    Example
    -------
    >>> quorin.langmuir_coverage(2.0, 3.0)
    0.8571428571428571
    """
def monod_growth(mu_max: float, ks: float, s: float) -> float:
    """Specific growth rate μ = μₘₐₓ·S/(Kₛ + S) by the Monod equation.

    Formula::

        (mu_max × s) / (ks + s)

    Parameters
    ----------
    mu_max : float
        Maximum specific growth rate μₘₐₓ (for instance 1/h).
    ks : float
        Half-saturation constant Kₛ, in the unit of `s`.
    s : float
        Limiting substrate concentration S.

    Returns
    -------
    float
        The growth rate, in the unit of `mu_max`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `mu_max ≤ 0`, `ks ≤ 0` or `s ≤ 0`: "Quorin.MonodGrowth: μmax, Ks, S must be
          positive"

    Example
    -------
    >>> quorin.monod_growth(0.8, 2.0, 6.0)
    0.6000000000000001
    """
def receptor_occupancy(l: float, kd: float) -> float:
    """Fraction of receptors bound, L/(K_D + L), at a free ligand concentration.

    Formula::

        l / (kd + l)

    Parameters
    ----------
    l : float
        Free ligand concentration L.
    kd : float
        Dissociation constant K_D, in the unit of `l`.

    Returns
    -------
    float
        The bound fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `l ≤ 0` or `kd ≤ 0`: "Quorin.ReceptorBinding: L and KD must be positive"

    Example
    -------
    >>> quorin.receptor_occupancy(3.0, 1.0)
    0.75
    """
def competitive_inhibition(vmax: float, km: float, s: float, i: float, ki: float) -> float:
    """Reaction rate with a competitive inhibitor, v = Vₘₐₓ·S/(Kₘ·(1 + I/Kᵢ) + S).

    The inhibition constant is checked before the substrate and inhibitor levels; a zero
    inhibitor level is accepted.

    Formula::

        (vmax × s) / ((km × ((i / ki) + 1.0)) + s)

    Parameters
    ----------
    vmax : float
        Maximum velocity Vₘₐₓ (the result has its unit).
    km : float
        Michaelis constant Kₘ, in the unit of `s`.
    s : float
        Substrate concentration S.
    i : float
        Inhibitor concentration I, in the unit of `ki`.
    ki : float
        Inhibition constant Kᵢ.

    Returns
    -------
    float
        The velocity, in the unit of `vmax`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `vmax ≤ 0`: "Quorin.CompetitiveInhibition: vmax must be positive"
        - if `km ≤ 0` or `ki ≤ 0`: "Quorin.CompetitiveInhibition: km and ki must be positive"
        - if `s ≤ 0` or `i < 0`: "Quorin.CompetitiveInhibition: s>0, I>=0 required"

    Example
    -------
    >>> quorin.competitive_inhibition(10.0, 2.0, 2.0, 1.0, 1.0)
    3.3333333333333335
    """
def catalytic_efficiency(kcat: float, km: float) -> float:
    """Catalytic efficiency (specificity constant) k_cat/Kₘ.

    Formula::

        kcat / km

    Parameters
    ----------
    kcat : float
        Turnover number k_cat, in 1/s.
    km : float
        Michaelis constant Kₘ, in M.

    Returns
    -------
    float
        K_cat/Kₘ, in M⁻¹·s⁻¹ for those units (about 10⁸ to 10⁹ at the diffusion limit).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `kcat ≤ 0` or `km ≤ 0`: "Quorin.CatalyticEfficiency: kcat and Km must be positive"

    Example
    -------
    >>> quorin.catalytic_efficiency(100.0, 1e-4)
    1000000.0
    """
def protein_steady_state(ksyn: float, kdeg: float) -> float:
    """Steady-state protein level k_syn/k_deg of a protein made at a constant rate and degraded by first order.

    Formula::

        ksyn / kdeg

    Parameters
    ----------
    ksyn : float
        Synthesis rate (amount per unit of time).
    kdeg : float
        First-order degradation rate constant, per the same unit of time.

    Returns
    -------
    float
        The steady-state amount, in the amount unit of `ksyn`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `ksyn ≤ 0` or `kdeg ≤ 0`: "Quorin.ProteinSteadyState: ksyn and kdeg must be
          positive"

    Notes
    -----
    For a half-life t½ pass `kdeg = 0.6931471805599453 / t½`.

    Example
    -------
    >>> quorin.protein_steady_state(10.0, 0.1)
    100.0
    """

# Spectroscopy and transport
def beer_lambert(eps: float, c: float, l: float) -> float:
    """Absorbance A = ε·c·l by the Beer–Lambert law.

    Formula::

        (eps × c) × l

    Parameters
    ----------
    eps : float
        Molar absorption coefficient ε in L·mol⁻¹·cm⁻¹ (M⁻¹·cm⁻¹).
    c : float
        Concentration in mol/L.
    l : float
        Path length in cm.

    Returns
    -------
    float
        The absorbance (decadic, no unit).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `eps ≤ 0`, `c ≤ 0` or `l ≤ 0`: "Quorin.BeerLambert: ε, c, l must be positive"

    Notes
    -----
    For a concentration from a measured absorbance divide it by `beer_lambert(eps, 1.0, l)`.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.beer_lambert(6220.0, 1e-4, 1.0)
    0.622
    """
def quantum_yield(kr: float, knr: float) -> float:
    """Fluorescence quantum yield Φ = k_r/(k_r + k_nr).

    A zero `knr` gives 1.0.

    Formula::

        kr / (knr + kr)

    Parameters
    ----------
    kr : float
        Radiative rate constant k_r.
    knr : float
        Non-radiative rate constant k_nr, in the unit of `kr`.

    Returns
    -------
    float
        The quantum yield, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `kr ≤ 0`: "Quorin.FluorescenceQuantumYield: kr must be positive"
        - if `knr < 0`: "Quorin.FluorescenceQuantumYield: knr must be non-negative"

    Example
    -------
    >>> quorin.quantum_yield(3.0, 1.0)
    0.75
    """
def fret_efficiency(r: float, r0: float) -> float:
    """FRET (Förster resonance energy transfer) efficiency E = 1/(1 + (r/R₀)⁶).

    `r` is not checked, and only the sixth power of r/r0 enters, so signs do not matter. The
    check is an equality test: −0.0 fails it, a negative or NaN `r0` passes.

    Formula::

        q = r / r0; q2 = q × q
        1.0 / (((q2 × q2) × q2) + 1.0)

    Parameters
    ----------
    r : float
        Donor–acceptor distance r.
    r0 : float
        Förster radius R₀, in the unit of `r` (typically nm).

    Returns
    -------
    float
        The transfer efficiency, from 0 to 1 (0.5 at r = R₀).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `r0 = 0`: "Quorin.FretEfficiency: R₀ must be non-zero"

    Example
    -------
    >>> quorin.fret_efficiency(10.0, 5.0)
    0.015384615384615385
    """
def einstein_stokes(t: float, eta: float, r: float) -> float:
    """Diffusion coefficient of a sphere, D = k·T/(6π·η·r) (Stokes–Einstein relation).

    k is 1.380649e-23 J/K; 18.84955592153876 is 6π as one double.

    Formula::

        (t × 1.380649e-23) / ((eta × 18.84955592153876) × r)

    Parameters
    ----------
    t : float
        Absolute temperature T in K.
    eta : float
        Dynamic viscosity η in Pa·s (water at 25 °C: 0.00089).
    r : float
        Hydrodynamic radius r in m (not nm).

    Returns
    -------
    float
        The diffusion coefficient in m²/s (multiply by 1e12 for µm²/s).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `t ≤ 0`, `eta ≤ 0` or `r ≤ 0`: "Quorin.EinsteinStokes: T, η, r must be positive"

    Example
    -------
    >>> quorin.einstein_stokes(298.0, 0.00089, 1e-9)
    2.452496617281457e-10
    """
def fick_flux(d: float, c_high: float, c_low: float, dx: float) -> float:
    """Diffusive flux J = −D·Δc/Δx by Fick's first law, with Δc = c_high − c_low.

    Only `dx` is checked, by an equality test: −0.0 fails it, a negative or NaN `dx` passes (a
    negative one flips the sign).

    Formula::

        ((c_high − c_low) × (−d)) / dx

    Parameters
    ----------
    d : float
        Diffusion coefficient D in m²/s.
    c_high : float
        First concentration, mol/m³ (Δc = c_high − c_low).
    c_low : float
        Second concentration, mol/m³.
    dx : float
        Distance Δx over which the concentration changes, m.

    Returns
    -------
    float
        J = −D·(c_high − c_low)/dx, in mol·m⁻²·s⁻¹.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `dx = 0`: "Quorin.FickDiffusion: Δx must be non-zero"

    Notes
    -----
    Sign convention: the result is negative when `c_high` exceeds `c_low` and `dx` is positive,
    as if `c_high` lay at the far end of Δx. For the flux down the gradient, from the higher to
    the lower concentration, as a positive number, negate the result or swap the two
    concentrations.

    Example
    -------
    >>> quorin.fick_flux(1e-9, 2.0, 1.0, 0.001)
    -1e-06
    """
def poiseuille_flow(r: float, dp: float, eta: float, l: float) -> float:
    """Volumetric flow Q = π·r⁴·ΔP/(8·η·L) through a tube by the Hagen–Poiseuille law.

    Formula::

        r2 = r × r
        (dp × ((r2 × r2) × 3.141592653589793)) / (l × (eta × 8.0))

    Parameters
    ----------
    r : float
        Tube radius r in m (not the diameter).
    dp : float
        Pressure difference ΔP in Pa (1 mmHg is 133.322 Pa).
    eta : float
        Dynamic viscosity η in Pa·s (blood: about 0.0035).
    l : float
        Tube length L in m.

    Returns
    -------
    float
        The flow in m³/s (multiply by 6e7 for mL/min).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `r ≤ 0`, `dp ≤ 0`, `eta ≤ 0` or `l ≤ 0`: "Quorin.PoiseuilleFlow: r, ΔP, η, L must
          be positive"

    Notes
    -----
    Laminar flow of a Newtonian fluid in a rigid tube; nothing corrects for turbulence or for
    blood's shear-dependent viscosity.

    Example
    -------
    >>> quorin.poiseuille_flow(0.002, 100.0, 0.0035, 0.1)
    1.7951958020513099e-06
    """

# Growth and population dynamics
def sigmoid(x: float) -> float:
    """The logistic function 1/(1 + e^(−x)).

    Formula::

        1.0 / (exp(−x) + 1.0)

    Parameters
    ----------
    x : float
        Any real.

    Returns
    -------
    float
        A value from 0 to 1 (0.5 at x = 0).

    Raises
    ------
    Nothing: the function makes no checks; only the conversion of its arguments can fail.

    Example
    -------
    >>> quorin.sigmoid(0.0)
    0.5
    """
def logistic_growth(k: float, n0: float, r: float, t: float) -> float:
    """Population at time t under logistic growth, N(t) = K/(1 + ((K − N₀)/N₀)·e^(−r·t)).

    `n0` above `k` is accepted (the population then falls towards K).

    Formula::

        a = (k − n0) / n0
        k / (exp(t × (−r)) × a + 1.0)

    Parameters
    ----------
    k : float
        Carrying capacity K.
    n0 : float
        Initial population N₀, in the unit of `k`.
    r : float
        Intrinsic growth rate r, per unit of `t`.
    t : float
        Time t.

    Returns
    -------
    float
        The population, in the unit of `k`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `k ≤ 0`: "Quorin.LogisticGrowth: K must be positive"
        - if `n0 ≤ 0`: "Quorin.LogisticGrowth: N₀ must be positive"

    Example
    -------
    >>> quorin.logistic_growth(1000.0, 10.0, 0.5, 10.0)
    599.8596018130347
    """
def clone_size(n0: float, r: float, t: float) -> float:
    """Clone size N₀·e^(r·t) after exponential expansion.

    A negative rate gives decay.

    Formula::

        exp(r × t) × n0

    Parameters
    ----------
    n0 : float
        Initial number of cells N₀.
    r : float
        Net expansion rate r, per unit of `t`.
    t : float
        Time t.

    Returns
    -------
    float
        The number of cells (a real, not rounded).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `n0 ≤ 0`: "Quorin.ClonalExpansion: N₀ must be positive"

    Example
    -------
    >>> quorin.clone_size(10.0, 0.1, 24.0)
    110.23176380641604
    """
def doubling_time(mu: float) -> float:
    """Doubling time ln 2/μ from a specific growth rate.

    0.6931471805599453 is the double nearest to ln 2.

    Formula::

        0.6931471805599453 / mu

    Parameters
    ----------
    mu : float
        Specific growth rate μ in natural-log units (ln-fold increase per unit of time), for
        instance 1/h.

    Returns
    -------
    float
        The doubling time, in the reciprocal unit of `mu` (hours for 1/h).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `mu ≤ 0`: "Quorin.CellDoublingTime: μ must be positive"

    Notes
    -----
    μ is the exponential rate constant, not the number of doublings per unit of time: a culture
    that doubles 1.5 times an hour has μ = 1.5 × ln 2 per hour.

    Example
    -------
    >>> quorin.doubling_time(0.03)
    23.104906018664845
    """
def pcr_copies(n0: float, e: float, n: int) -> float:
    """Copies after n PCR cycles, N₀·Eⁿ, with a per-cycle amplification factor E.

    The power is the integer power, not `pow`.

    Formula::

        powi(e, n) × n0

    Parameters
    ----------
    n0 : float
        Initial number of copies N₀.
    e : float
        Amplification factor per cycle: 2.0 for perfect doubling, 1.9 for 90 % efficiency (1 +
        efficiency, not the efficiency itself).
    n : int, a count from 0 to 4294967295
        Number of cycles.

    Returns
    -------
    float
        The number of copies (a real, not rounded).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `n0 ≤ 0` or `e ≤ 0`: "Quorin.PcrAmplification: N₀ and E must be positive"

    Notes
    -----
    Passing the efficiency itself (0.9 for 90 %) instead of 1 + efficiency is accepted and makes
    the copies shrink.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.pcr_copies(100.0, 1.9, 30)
    23046661789.719513
    """
def dilution_concentration(c0: float, d: float, n: int) -> float:
    """Concentration after n serial dilutions by a factor d, C₀·(1/d)ⁿ.

    The reciprocal of `d` is raised to the power (so 100 diluted twice tenfold is
    1.0000000000000002).

    Formula::

        powi(1.0 / d, n) × c0

    Parameters
    ----------
    c0 : float
        Starting concentration C₀ (the result has its unit).
    d : float
        Dilution factor of each step (10.0 for a tenfold, 1:10 dilution).
    n : int, a count from 0 to 4294967295
        Number of dilution steps.

    Returns
    -------
    float
        The concentration, in the unit of `c0`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `c0 ≤ 0` or `d ≤ 0`: "Quorin.DilutionSeries: C₀ and d must be positive"

    Example
    -------
    >>> quorin.dilution_concentration(100.0, 10.0, 2)
    1.0000000000000002
    """
def allometric(a: float, m: float, b: float) -> float:
    """Allometric scaling law Y = a·Mᵇ.

    `b` is not checked.

    Formula::

        pow(m, b) × a

    Parameters
    ----------
    a : float
        Normalisation constant a (the result has its unit).
    m : float
        Body mass M, in the unit `a` was fitted for (usually kg).
    b : float
        Scaling exponent b (0.75 for Kleiber's law of metabolic rate).

    Returns
    -------
    float
        The scaled quantity, in the unit of `a`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `a ≤ 0` or `m ≤ 0`: "Quorin.AllometricScaling: a and M must be positive"

    Notes
    -----
    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.allometric(70.0, 65.0, 0.75)
    1602.4447237995726
    """

# weibull_survival's real signature is (t, lambda, k). `lambda` is a keyword of the language, so
# no parameter can be spelled with it. At run time it is therefore filled either by position or
# through an unpacked mapping such as **{"lambda": 2.0}, and since it stands second, passing `t`
# by keyword means passing `lambda` through the mapping as well. The two overloads describe
# exactly those calls: the first has `t` and the scale positional-only (the scale's name here,
# `lambda_`, cannot be used as a keyword) and `k` by position or keyword; the second takes
# `lambda`, and optionally `t` and `k`, as keywords through a typed mapping whose keys may be
# spelled freely.
_WeibullScale = TypedDict("_WeibullScale", {"lambda": float, "k": float})
_WeibullArguments = TypedDict("_WeibullArguments", {"t": float, "lambda": float, "k": float})

@overload
def weibull_survival(t: float, lambda_: float, /, k: float) -> float:
    """Weibull survival function S(t) = exp(−(t/λ)ᵏ).

    The second parameter is named `lambda`, a keyword of the language: pass it by position, or
    by keyword through an unpacked mapping. For the same reason `inspect.signature` cannot read
    this function's signature and raises `ValueError`, while `__text_signature__` holds it as
    shown.

    Formula::

        exp(−pow(t / lambda, k))

    Parameters
    ----------
    t : float
        Time t.
    lambda : float
        Scale λ, in the unit of `t` (the time by which 63.2 % have failed).
    k : float
        Shape k (below 1 a falling hazard, 1 exponential, above 1 a rising hazard).

    Returns
    -------
    float
        The surviving fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `lambda ≤ 0`: "Quorin.WeibullSurvival: λ must be positive"

    Notes
    -----
    Scale–shape form. From the rate form S(t) = exp(−ρ·tᵏ) that some libraries use, pass λ =
    ρ^(−1/k).

    Example
    -------
    >>> quorin.weibull_survival(1.0, 2.0, 1.5)
    0.7021885013265596
    """
@overload
def weibull_survival(t: float, /, **kwargs: Unpack[_WeibullScale]) -> float:
    """Weibull survival function S(t) = exp(−(t/λ)ᵏ).

    The second parameter is named `lambda`, a keyword of the language: pass it by position, or
    by keyword through an unpacked mapping. For the same reason `inspect.signature` cannot read
    this function's signature and raises `ValueError`, while `__text_signature__` holds it as
    shown.

    Formula::

        exp(−pow(t / lambda, k))

    Parameters
    ----------
    t : float
        Time t.
    lambda : float
        Scale λ, in the unit of `t` (the time by which 63.2 % have failed).
    k : float
        Shape k (below 1 a falling hazard, 1 exponential, above 1 a rising hazard).

    Returns
    -------
    float
        The surviving fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `lambda ≤ 0`: "Quorin.WeibullSurvival: λ must be positive"

    Notes
    -----
    Scale–shape form. From the rate form S(t) = exp(−ρ·tᵏ) that some libraries use, pass λ =
    ρ^(−1/k).

    Example
    -------
    >>> quorin.weibull_survival(1.0, 2.0, 1.5)
    0.7021885013265596
    """
@overload
def weibull_survival(**kwargs: Unpack[_WeibullArguments]) -> float:
    """Weibull survival function S(t) = exp(−(t/λ)ᵏ).

    The second parameter is named `lambda`, a keyword of the language: pass it by position, or
    by keyword through an unpacked mapping. For the same reason `inspect.signature` cannot read
    this function's signature and raises `ValueError`, while `__text_signature__` holds it as
    shown.

    Formula::

        exp(−pow(t / lambda, k))

    Parameters
    ----------
    t : float
        Time t.
    lambda : float
        Scale λ, in the unit of `t` (the time by which 63.2 % have failed).
    k : float
        Shape k (below 1 a falling hazard, 1 exponential, above 1 a rising hazard).

    Returns
    -------
    float
        The surviving fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `lambda ≤ 0`: "Quorin.WeibullSurvival: λ must be positive"

    Notes
    -----
    Scale–shape form. From the rate form S(t) = exp(−ρ·tᵏ) that some libraries use, pass λ =
    ρ^(−1/k).

    Example
    -------
    >>> quorin.weibull_survival(1.0, 2.0, 1.5)
    0.7021885013265596
    """
def reproduction_number(beta: float, gamma: float) -> float:
    """Basic reproduction number R₀ = β/γ of the SIR model.

    Formula::

        beta / gamma

    Parameters
    ----------
    beta : float
        Transmission rate β, per unit of time.
    gamma : float
        Recovery rate γ (1 / infectious period), per the same unit.

    Returns
    -------
    float
        R₀ (no unit).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `beta ≤ 0` or `gamma ≤ 0`: "Quorin.SirEpidemic: β and γ must be positive"

    Example
    -------
    >>> quorin.reproduction_number(0.3, 0.1)
    2.9999999999999996
    """

# Clinical indices
def bmi(weight_kg: float, height_m: float) -> float:
    """Body-mass index (BMI, Quetelet index) in kg/m² from weight and height.

    Formula::

        weight_kg / (height_m × height_m)

    Parameters
    ----------
    weight_kg : float
        Body weight in kg.
    height_m : float
        Height in m (not cm).

    Returns
    -------
    float
        The BMI in kg/m².

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `weight_kg ≤ 0` or `height_m ≤ 0`: "Quorin.BMI: weight and height must be positive"

    Notes
    -----
    No category (underweight, obesity, ...) is assigned. For pounds and inches, convert first (1
    lb = 0.45359237 kg, 1 in = 0.0254 m) or use the published 703 × lb / in².

    Example
    -------
    >>> quorin.bmi(70.0, 1.75)
    22.857142857142858
    """
def body_surface_area(height_cm: float, weight_kg: float) -> float:
    """Body surface area (BSA) in m² by the Mosteller formula √(height × weight / 3600).

    Zero is accepted for both.

    Formula::

        sqrt((height_cm × weight_kg) / 3600.0)

    Parameters
    ----------
    height_cm : float
        Height in cm (not m).
    weight_kg : float
        Body weight in kg.

    Returns
    -------
    float
        The body surface area in m².

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `height_cm < 0` or `weight_kg < 0`: "Quorin.BodySurfaceArea: height and weight must
          be non-negative"

    Notes
    -----
    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.body_surface_area(180.0, 80.0)
    2.0
    """
def cardiac_output(hr: float, sv: float) -> float:
    """Cardiac output: heart rate × stroke volume.

    Formula::

        hr × sv

    Parameters
    ----------
    hr : float
        Heart rate in beats/min.
    sv : float
        Stroke volume per beat, in L (or mL).

    Returns
    -------
    float
        The cardiac output in L/min for `sv` in L (mL/min for `sv` in mL).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `hr ≤ 0` or `sv ≤ 0`: "Quorin.CardiacOutput: HR and SV must be positive"

    Example
    -------
    >>> quorin.cardiac_output(70.0, 0.07)
    4.9
    """
def oxygen_saturation(hb_o2: float, hb: float) -> float:
    """Oxygen saturation (SO₂): the fraction of haemoglobin carrying oxygen.

    The total check is an equality test, so a NaN total passes.

    Formula::

        total = hb + hb_o2
        hb_o2 / total

    Parameters
    ----------
    hb_o2 : float
        Oxyhaemoglobin amount.
    hb : float
        Deoxyhaemoglobin amount, in the unit of `hb_o2`.

    Returns
    -------
    float
        The saturation as a fraction from 0 to 1, not a percentage (multiply by 100 for %).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `hb_o2 < 0` or `hb < 0`: "Quorin.BloodOxygenSaturation: values must be
          non-negative"
        - if `total = 0`: "Quorin.BloodOxygenSaturation: total Hb must be positive"

    Notes
    -----
    `hb` is the deoxygenated amount, not the total haemoglobin; dyshaemoglobins (carboxy-,
    methaemoglobin) are not part of the total.

    Example
    -------
    >>> quorin.oxygen_saturation(14.2, 0.8)
    0.9466666666666667
    """
def henderson_hasselbalch(pka: float, base: float, acid: float) -> float:
    """Buffer pH by the Henderson–Hasselbalch equation pH = pKₐ + log₁₀([base]/[acid]).

    The decimal logarithm is the natural one divided by 2.302585092994046 (ln 10); `pka` is not
    checked.

    Formula::

        log(base / acid) / 2.302585092994046 + pka

    Parameters
    ----------
    pka : float
        PKₐ of the acid.
    base : float
        Concentration of the conjugate base [A⁻].
    acid : float
        Concentration of the acid [HA], in the unit of `base`.

    Returns
    -------
    float
        The pH.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `base ≤ 0` or `acid ≤ 0`: "Quorin.HendersonHasselbalch: base and acid must be
          positive"

    Notes
    -----
    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.henderson_hasselbalch(6.1, 24.0, 1.2)
    7.401029995663981
    """
def osmolarity(na: float, glucose: float, bun: float) -> float:
    """Calculated serum osmolarity 2·Na + glucose/18 + BUN/2.8, in mOsm/L.

    Zero is accepted for all three.

    Formula::

        (2 × na + glucose / 18.0) + bun / 2.8

    Parameters
    ----------
    na : float
        Serum sodium in mmol/L.
    glucose : float
        Serum glucose in mg/dL.
    bun : float
        Blood urea nitrogen in mg/dL.

    Returns
    -------
    float
        The calculated osmolarity in mOsm/L.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `na < 0`, `glucose < 0` or `bun < 0`: "Quorin.Osmolarity: inputs must be
          non-negative"

    Notes
    -----
    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.osmolarity(140.0, 90.0, 14.0)
    290.0
    """
def cockcroft_gault(age: float, weight: float, scr: float, sex_factor: float) -> float:
    """Creatinine clearance (CrCl) in mL/min by the Cockcroft–Gault equation.

    The sex factor is the caller's: the function applies no sex-specific constant of its own.

    Formula::

        sex_factor × (((140.0 − age) × weight) / (scr × 72.0))

    Parameters
    ----------
    age : float
        Age in years, 0 to below 140.
    weight : float
        Body weight in kg (actual, ideal or adjusted: the caller chooses).
    scr : float
        Serum creatinine in mg/dL (divide µmol/L by 88.4).
    sex_factor : float
        0.85 for women, 1.0 for men.

    Returns
    -------
    float
        The creatinine clearance in mL/min (not normalised to 1.73 m²).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `age < 0` or `age ≥ 140.0`: "Quorin.CockcroftGault: age must be in [0,140)"
        - if `weight ≤ 0`, `scr ≤ 0` or `sex_factor ≤ 0`: "Quorin.CockcroftGault: weight, Scr,
          sex_factor must be positive"

    Notes
    -----
    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.cockcroft_gault(60.0, 72.0, 1.1, 0.85)
    61.81818181818181
    """
def ckd_mdrd(scr: float, age: float, scale: float) -> float:
    """Estimated glomerular filtration rate (eGFR) by the 4-variable MDRD Study equation, in mL/min/1.73 m².

    Formula::

        a = pow(scr, −1.154) × 175.0
        (pow(age, −0.203) × a) × scale

    Parameters
    ----------
    scr : float
        Serum creatinine in mg/dL, IDMS-standardised (divide µmol/L by 88.4).
    age : float
        Age in years.
    scale : float
        Product of the sex and race factors: 0.742 for women, 1.0 for men (see the recipe).

    Returns
    -------
    float
        The eGFR in mL/min/1.73 m².

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `scr ≤ 0`, `age ≤ 0` or `scale ≤ 0`: "Quorin.CkdMdrd: Scr, age, scale must be
          positive"

    Notes
    -----
    The sex factor is not applied unless passed in `scale`: `ckd_mdrd(scr, age, 1.0)` is the
    value for a man.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.ckd_mdrd(1.2, 60.0, 1.0)
    61.75870586584279
    """
def ckd_epi(scr: float, kappa: float, alpha: float, scale: float) -> float:
    """Estimated glomerular filtration rate (eGFR) by the CKD-EPI creatinine equation, in mL/min/1.73 m².

    The formula has no age term: age, sex and race enter only through `scale`. `alpha` is not
    checked. A NaN ratio makes both min and max give 1.0.

    Formula::

        r = scr / kappa
        a = pow(min(r, 1.0), alpha) × 141.0
        (pow(max(r, 1.0), −1.209) × a) × scale

    Parameters
    ----------
    scr : float
        Serum creatinine in mg/dL (divide µmol/L by 88.4).
    kappa : float
        κ, 0.7 for women, 0.9 for men.
    alpha : float
        α, −0.329 for women, −0.411 for men.
    scale : float
        The remaining factors: 0.993 ** age × 1.018 for women, 0.993 ** age for men (see the
        recipe).

    Returns
    -------
    float
        The eGFR in mL/min/1.73 m².

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `scr ≤ 0`, `kappa ≤ 0` or `scale ≤ 0`: "Quorin.CkdEpi: Scr, κ, scale must be
          positive"

    Notes
    -----
    The age and sex terms belong in `scale`. `ckd_epi(1.2, 0.7, -0.329, 1.0)` is not the eGFR of
    any patient: for a 60-year-old woman pass `scale = 0.993 ** 60 * 1.018`, which gives 49.1
    instead of 73.5.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.ckd_epi(1.2, 0.7, -0.329, 0.993**60 * 1.018)
    49.0812036065478
    """
def meld_score(bili: float, inr: float, creat: float) -> float:
    """Raw MELD (Model for End-stage Liver Disease) score from bilirubin, INR and creatinine.

    The inputs are used unchanged (no floor at 1.0, no cap, no rounding), so values below 1
    lower the score and it may be negative.

    Formula::

        s = 9.57 × log(creat) + (11.2 × log(inr) + 3.78 × log(bili))
        s + 6.43

    Parameters
    ----------
    bili : float
        Serum bilirubin in mg/dL.
    inr : float
        International normalised ratio (no unit).
    creat : float
        Serum creatinine in mg/dL.

    Returns
    -------
    float
        The unrounded MELD score.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `bili ≤ 0`, `inr ≤ 0` or `creat ≤ 0`: "Quorin.MeldScore: bili, inr, creat must be
          positive"

    Notes
    -----
    Not the allocation score as published: the floors of 1.0, the creatinine cap of 4.0, the
    rounding and the cap at 40 are the caller's (see the recipe). MELD-Na and MELD 3.0 are not
    computed.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.meld_score(2.0, 1.5, 1.2)
    15.336122851846179
    """

# Molecular and structural scores
def dna_tm(a: int, t: int, g: int, c: int) -> float:
    """Melting temperature (Tm) of a short DNA oligonucleotide by the Wallace rule, from its base counts.

    Tm = 4 °C × (G + C) + 2 °C × (A + T).

    Formula::

        s_at = a + t; s_gc = g + c
        s_gc × 4.0 + (s_at + s_at)

    Parameters
    ----------
    a : int, a count from 0 to 4294967295
        Number of adenines in the oligonucleotide (a count, not a temperature).
    t : int, a count from 0 to 4294967295
        Number of thymines (not a temperature).
    g : int, a count from 0 to 4294967295
        Number of guanines.
    c : int, a count from 0 to 4294967295
        Number of cytosines.

    Returns
    -------
    float
        The melting temperature in °C.

    Raises
    ------
    Nothing: the function makes no checks; only the conversion of its arguments can fail.

    Notes
    -----
    Differs from common biology libraries: the arguments are base counts, not a sequence, and
    `t` is the number of thymines; count the bases of a sequence first (see the recipe). The
    rule has no salt, primer concentration or mismatch correction and is not a nearest-neighbour
    calculation.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.dna_tm(5, 5, 5, 5)
    60.0
    """
def energy_charge(atp: float, adp: float, amp: float) -> float:
    """Adenylate energy charge ([ATP] + ½[ADP]) / ([ATP] + [ADP] + [AMP]).

    The total check lets a NaN total pass.

    Formula::

        total = (atp + adp) + amp
        (atp + adp × 0.5) / total

    Parameters
    ----------
    atp : float
        ATP pool.
    adp : float
        ADP pool, in the unit of `atp`.
    amp : float
        AMP pool, in the unit of `atp`.

    Returns
    -------
    float
        The energy charge, from 0 to 1 (about 0.8 to 0.95 in growing cells).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `atp < 0`, `adp < 0` or `amp < 0`: "Quorin.NucleotideBalance: pools must be
          non-negative"
        - if `total ≤ 0`: "Quorin.NucleotideBalance: total pool must be positive"

    Example
    -------
    >>> quorin.energy_charge(5.0, 3.0, 2.0)
    0.65
    """
def modified_nucleotide_ratio(modified: int, total: int) -> float:
    """Fraction of modified nucleotides, modified / total.

    Formula::

        modified / total

    Parameters
    ----------
    modified : int, a count from 0 to 4294967295
        Number of modified nucleotides.
    total : int, a count from 0 to 4294967295
        Total number of nucleotides.

    Returns
    -------
    float
        The fraction, from 0 to 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `total = 0`: "Quorin.ModifiedNucleotideRatio: total must be positive"
        - if `modified > total`: "Quorin.ModifiedNucleotideRatio: modified must be ≤ total"

    Example
    -------
    >>> quorin.modified_nucleotide_ratio(3, 10)
    0.3
    """
def pairwise_potential(pairs: Sequence[float]) -> float:
    """Total of a list of pairwise potential terms, added in list order.

    The sum starts at −0.0, so the empty list gives −0.0.

    Formula::

        s = −0.0; for each x in list order: s = s + x

    Parameters
    ----------
    pairs : sequence of float
        The energy terms, in one unit (for instance kcal/mol).

    Returns
    -------
    float
        The sum, in the unit of the terms.

    Raises
    ------
    Nothing: the function makes no checks; only the conversion of its arguments can fail.

    Example
    -------
    >>> quorin.pairwise_potential([-1.5, -2.0, 0.5])
    -3.0
    """
def riboswitch_confidence(mfe: float, ensemble_div: float) -> float:
    """Confidence score of a riboswitch fold from its minimum free energy (MFE) and ensemble diversity.

    The second parameter is checked first.

    Formula::

        c = exp(ensemble_div / −10.0)
        e = exp(mfe / 50.0)
        (1 − e) × c

    Parameters
    ----------
    mfe : float
        Minimum free energy of the fold in kcal/mol, at most 0 (as an energy-model folding
        program reports it).
    ensemble_div : float
        Ensemble diversity, the mean base-pair distance within the Boltzmann ensemble.

    Returns
    -------
    float
        The score (1 − e^(mfe/50))·e^(−ensemble_div/10), from 0 to below 1.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `ensemble_div < 0`: "Quorin.Riboswitch: ensemble_div must be non-negative"
        - if `mfe > 0`: "Quorin.Riboswitch: mfe must be ≤ 0 (free energy)"

    Notes
    -----
    The MFE comes from an energy-model folding program; `nussinov` counts base pairs and gives
    no free energy.

    Example
    -------
    >>> quorin.riboswitch_confidence(-10.0, 5.0)
    0.10994535592122393
    """
def tm_term(d: float, d0: float) -> float:
    """One term 1/(1 + (d/d₀)²) of the TM-score, for one residue-pair distance.

    The check is an equality test: −0.0 fails it, a NaN `d0` passes.

    Formula::

        r = d / d0
        1.0 / (r × r + 1.0)

    Parameters
    ----------
    d : float
        Distance between the paired residues after superposition, typically Å.
    d0 : float
        Distance scale d₀, in the unit of `d` (see `tm_score`).

    Returns
    -------
    float
        The term, from 0 to 1 (0.5 at d = d₀).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `d0 = 0`: "Quorin.TmScore: d₀ must be non-zero"

    Example
    -------
    >>> quorin.tm_term(2.0, 1.0)
    0.2
    """
def tm_score(distances: Sequence[float], l_target: int, d0: float) -> float:
    """TM-score of a structural alignment from its residue-pair distances, normalised by the target length.

    The number of distances is not compared with `l_target`, and the empty list gives −0.0. `d0`
    is checked first, by an equality test.

    Formula::

        s = −0.0; for each d in list order: s = s + 1.0 / ((d / d0) × (d / d0) + 1.0)
        s / l_target

    Parameters
    ----------
    distances : sequence of float
        Distances between the aligned residue pairs after superposition, typically Å.
    l_target : int, a count from 0 to 18446744073709551615
        Length of the target (reference) structure, in residues.
    d0 : float
        Distance scale d₀, in the unit of the distances: 1.24 × ∛(l_target − 15) − 1.8 Å as
        published (see the recipe).

    Returns
    -------
    float
        The TM-score, from 0 to 1 when there are at most `l_target` distances.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `d0 = 0`: "Quorin.TMScore: d₀ must be non-zero"
        - if `l_target = 0`: "Quorin.TMScore: L_target must be positive"

    Notes
    -----
    Differs from structure comparison programs: the function scores the distances it is given;
    it does not search for the superposition that maximises the score, does not compute d₀ and
    applies no floor to it.

    The function reference has a recipe for this function: the published constants of the usual
    variants and a worked example.

    Example
    -------
    >>> quorin.tm_score([0.0, 1.0, 2.0], 3, 1.0)
    0.5666666666666667
    """

# Ageing biomarkers
def telomere_attrition(l0: float, delta: float, n: int) -> float:
    """Telomere length after n cell divisions with a constant loss per division, l₀ − n·δ.

    The length is not clamped at zero.

    Formula::

        l0 − delta × n

    Parameters
    ----------
    l0 : float
        Initial telomere length (for instance bp).
    delta : float
        Loss per division, in the unit of `l0` (typically 50 to 100 bp).
    n : int, a count from 0 to 4294967295
        Number of divisions.

    Returns
    -------
    float
        The length, in the unit of `l0` (negative once the telomere is used up).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `delta < 0`: "Quorin.TelomereAttrition: δ must be non-negative"

    Example
    -------
    >>> quorin.telomere_attrition(10000.0, 50.0, 100)
    5000.0
    """
def epigenetic_acceleration(clock_age: float, chrono_age: float) -> float:
    """Epigenetic age acceleration: clock age minus chronological age.

    Formula::

        clock_age − chrono_age

    Parameters
    ----------
    clock_age : float
        Age given by an epigenetic (DNA methylation) clock, years, 0 to 150.
    chrono_age : float
        Chronological age, years.

    Returns
    -------
    float
        The acceleration in years (negative when the clock runs behind).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `clock_age < 0` or `clock_age > 150.0`: "Quorin.EpigeneticClockAcceleration:
          clockAge must be in [0,150]"
        - if `chrono_age < 0`: "Quorin.EpigeneticClockAcceleration: chronoAge must be
          non-negative"

    Notes
    -----
    This is the plain difference; the residual of a regression of clock age on chronological
    age, which studies often call acceleration, is not computed.

    Example
    -------
    >>> quorin.epigenetic_acceleration(45.0, 40.0)
    5.0
    """
def senolytic_healthy_damage(sel: float, dose: float) -> float:
    """Damage to healthy cells from a senolytic dose: the share 1 − selectivity of the dose.

    Formula::

        (1.0 − sel) × dose

    Parameters
    ----------
    sel : float
        Selectivity for senescent cells, from 0 to 1.
    dose : float
        Dose (the result has its unit).

    Returns
    -------
    float
        The damaging dose to healthy cells, in the unit of `dose`.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `sel < 0`, `sel` is NaN, or `sel > 1.0`: "Quorin.SenolyticSelectivity: selectivity
          must be in [0,1]"
        - if `dose < 0`: "Quorin.SenolyticSelectivity: dose must be non-negative"

    Notes
    -----
    The selectivity check asks for `sel` in the closed interval [0, 1], so it rejects NaN; a NaN
    `dose` passes.

    Example
    -------
    >>> quorin.senolytic_healthy_damage(0.75, 4.0)
    1.0
    """
def nad_ratio(nad_plus: float, nadh: float) -> float:
    """The NAD⁺/NADH ratio.

    The second parameter is checked first.

    Formula::

        nad_plus / nadh

    Parameters
    ----------
    nad_plus : float
        NAD⁺ amount.
    nadh : float
        NADH amount, in the unit of `nad_plus`.

    Returns
    -------
    float
        The ratio (no unit).

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `nadh ≤ 0`: "Quorin.NADPlusRatio: NADH must be positive"
        - if `nad_plus < 0`: "Quorin.NADPlusRatio: NAD+ must be non-negative"

    Example
    -------
    >>> quorin.nad_ratio(3.0, 1.5)
    2.0
    """
def inflamm_aging_score(
    w_il6: float, w_tnfa: float, w_crp: float, il6: float, tnfa: float, crp: float
) -> float:
    """Inflammageing score: a weighted sum of IL-6, TNF-α and CRP levels.

    The weights need not sum to anything in particular.

    Formula::

        (w_il6 × il6 + w_tnfa × tnfa) + w_crp × crp

    Parameters
    ----------
    w_il6 : float
        Weight of IL-6.
    w_tnfa : float
        Weight of TNF-α.
    w_crp : float
        Weight of CRP.
    il6 : float
        IL-6 level (for instance pg/mL).
    tnfa : float
        TNF-α level (for instance pg/mL).
    crp : float
        C-reactive protein level (for instance mg/L).

    Returns
    -------
    float
        The weighted sum; its unit follows from the weights.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if `w_il6 < 0`, `w_tnfa < 0` or `w_crp < 0`: "Quorin.InflammAgingScore: weights must
          be non-negative"
        - if `il6 < 0`, `tnfa < 0` or `crp < 0`: "Quorin.InflammAgingScore: cytokine levels must
          be non-negative"

    Notes
    -----
    The levels are used in their own units without standardisation; to combine z-scores,
    standardise the levels first.

    Example
    -------
    >>> quorin.inflamm_aging_score(0.5, 0.3, 0.2, 2.0, 1.5, 3.0)
    2.05
    """

# RNA folding
def nussinov(sequence: str) -> int:
    """Maximum number of non-crossing base pairs of an RNA sequence (Nussinov base-pair maximisation).

    Counts the pairs A–U, G–C and G–U in either order, with no two pairs crossing and no base in
    two pairs. Upper and lower case are accepted, and `T` counts as `U`. The time grows as the
    cube of the length and the memory as its square.

    Formula::

        γ(i, j) = 0 if i ≥ j, else the largest of
            γ(i + 1, j), γ(i, j − 1),
            γ(i + 1, j − 1) + (1 if the bases at i and j can pair, else 0),
            γ(i, k) + γ(k + 1, j) for i ≤ k < j
        the result is γ(0, n − 1), and 0 for the empty string

    Parameters
    ----------
    sequence : str
        RNA (or DNA) sequence of A, U, G, C, T in either case.

    Returns
    -------
    int
        The largest number of base pairs.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if a character is not one of `AUGCTaugct` (the first such character is named):
          "Quorin.RnaNussinov: invalid base '{c}' (alphabet is A,U,G,C; T accepted as U)"

    Notes
    -----
    Differs from RNA folding programs: there is no minimum hairpin loop (`AU` folds to 1 pair,
    where programs usually require 3 unpaired bases), no energy model (the result is not a
    minimum free energy, MFE) and no traceback: only the count is returned, not the structure.

    Example
    -------
    >>> quorin.nussinov("GGGAAACCC")
    3
    """
