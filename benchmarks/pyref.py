"""Pure-Python models of every quorin function.

Each function has the name, parameters and defaults of its quorin counterpart, checks the same
preconditions in the same order with the same messages, and evaluates the same formula in the
same order of operations, so that on any argument it returns the same bits or raises the same
ValueError. They serve the call benchmark as the pure-Python equivalent of each function and
the differential tests as an independent model.

exp, log and pow are the C library's own functions, called through ctypes: math.exp, math.log
and math.pow raise where C returns an infinity or a NaN, and answer some special cases
themselves (math.pow(1.0, y) is 1.0 for any NaN y, where C gives NaN for a signaling one;
math.log returns a NaN argument unchanged, where C quiets it).

Where Python's float arithmetic differs from the C operations it stands for, the difference is
undone without slowing the ordinary path:

* Float division by zero raises ZeroDivisionError; where a divisor can round to zero the
  handler supplies the IEEE quotient.
* Built-in sum() compensates rounding errors; sums here are plain loops from -0.0.

Arguments are converted the cheap way a Python function would: float() for reals (which, unlike
quorin, also accepts numeric strings), operator.index with quorin's range errors for counts, a
type check for text, and element-wise conversion for lists.

weibull_survival's second parameter is named lambda in quorin; a Python function cannot use
that name, so here it is lambda_ (pass it by position).
"""

import ctypes
import ctypes.util
from math import copysign, inf, nan, sqrt
from operator import index as _index

__all__ = [
    "mrna_halflife_concentration", "mrna_halflife", "ribosome_density", "translation_rate",
    "gc_content", "sequence_identity", "shannon_entropy", "shannon_entropy_dist",
    "first_order_pk_concentration", "first_order_pk_halflife", "ic50_bound", "michaelis_menten",
    "biological_age_bound", "telomere_length_bound", "gompertz_hazard",
    "hardy_weinberg", "hardy_weinberg_test", "protein_rmsd",
    "gibbs_free_energy", "arrhenius_rate", "boltzmann_factor", "boltzmann_probability",
    "nernst_potential", "osmotic_pressure", "proton_motive_force",
    "hill_effect", "hill_occupancy", "langmuir_coverage", "monod_growth", "receptor_occupancy",
    "competitive_inhibition", "catalytic_efficiency", "protein_steady_state",
    "beer_lambert", "quantum_yield", "fret_efficiency", "einstein_stokes", "fick_flux",
    "poiseuille_flow",
    "sigmoid", "logistic_growth", "clone_size", "doubling_time", "pcr_copies",
    "dilution_concentration", "allometric", "weibull_survival", "reproduction_number",
    "bmi", "body_surface_area", "cardiac_output", "oxygen_saturation", "henderson_hasselbalch",
    "osmolarity", "cockcroft_gault", "ckd_mdrd", "ckd_epi", "meld_score",
    "dna_tm", "energy_charge", "modified_nucleotide_ratio", "pairwise_potential",
    "riboswitch_confidence", "tm_term", "tm_score",
    "telomere_attrition", "epigenetic_acceleration", "senolytic_healthy_damage", "nad_ratio",
    "inflamm_aging_score",
    "nussinov",
]

_U32 = 0xFFFFFFFF
_U64 = 0xFFFFFFFFFFFFFFFF
_LONG_MIN, _LONG_MAX = -(1 << 63), (1 << 63) - 1


# ---- the C operations that Python spells differently ----------------------------------------

def _libm(name, arity):
    """The C library's function `name` of `arity` doubles, as a Python callable."""
    f = getattr(_LIBM, name)
    f.restype = ctypes.c_double
    f.argtypes = [ctypes.c_double] * arity
    return f


_LIBM = ctypes.CDLL(ctypes.util.find_library("m"))
exp, log, pow = _libm("exp", 1), _libm("log", 1), _libm("pow", 2)


def _div_c(a, b):
    """IEEE a / b for a zero divisor (signed by both operands), where Python raises."""
    if a != a or a == 0.0:
        return nan
    return copysign(inf, a) * copysign(1.0, b)


def _powi(x, n):
    """Integer power by binary exponentiation over the bits of n (the same products as quorin)."""
    y = x if n & 1 else 1.0
    n >>= 1
    while n:
        x = x * x
        if n & 1:
            y = y * x
        n >>= 1
    return y


def _fixed8(v):
    """A real with exactly eight decimals, correctly rounded; NaN as NaN, infinities as inf."""
    if v != v:
        return "NaN"
    return f"{v:.8f}"  # exact decimal expansion rounded half-even; '-0.00000000', 'inf', '-inf'


# ---- argument conversion ----------------------------------------------------------------------

def _count32(n):
    n = _index(n)
    if 0 <= n <= _U32:
        return n
    if _LONG_MIN <= n <= _LONG_MAX:
        raise OverflowError("out of range integral type conversion attempted")
    raise OverflowError("Python int too large to convert to C long")


def _count64(n):
    n = _index(n)
    if 0 <= n <= _U64:
        return n
    if n < 0:
        raise OverflowError("can't convert negative int to unsigned")
    raise OverflowError("int too big to convert")


def _text(s):
    if not isinstance(s, str):
        raise TypeError(f"'{type(s).__qualname__}' object cannot be converted to 'PyString'")
    if s.isascii():
        return len(s)
    return len(s.encode())  # UTF-8 byte length; raises UnicodeEncodeError on lone surrogates


def _reals(seq):
    if isinstance(seq, str):
        raise TypeError("Can't extract `str` to `Vec`")
    return [x if type(x) is float else float(x) for x in seq]


def _triples(seq):
    if isinstance(seq, str):
        raise TypeError("Can't extract `str` to `Vec`")
    out = []
    for t in seq:
        if not isinstance(t, tuple):
            raise TypeError(f"'{type(t).__qualname__}' object cannot be converted to 'PyTuple'")
        if len(t) != 3:
            raise ValueError(f"expected tuple of length 3, but got tuple of length {len(t)}")
        out.append((float(t[0]), float(t[1]), float(t[2])))
    return out


# ---- mRNA and ribosome ------------------------------------------------------------------------

def mrna_halflife_concentration(initial, decay_rate, time):
    initial = float(initial); decay_rate = float(decay_rate); time = float(time)
    if initial <= 0.0:
        raise ValueError("Quorin.MrnaHalfLife: initial (m₀) must be positive")
    if decay_rate < 0.0:
        raise ValueError("Quorin.MrnaHalfLife: decay_rate must be non-negative")
    if time < 0.0:
        raise ValueError("Quorin.MrnaHalfLife: time must be non-negative")
    e = time * (-decay_rate)
    return exp(e) * initial


def mrna_halflife(decay_rate):
    decay_rate = float(decay_rate)
    if decay_rate <= 0.0:
        raise ValueError("Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)")
    return 0.6931471805599453 / decay_rate


def ribosome_density(n_ribosomes, length):
    n_ribosomes = float(n_ribosomes); length = float(length)
    if n_ribosomes < 0.0:
        raise ValueError(
            "Quorin.RibosomeDensity: n_ribosomes must be non-negative (coverage_nonneg)")
    if length <= 0.0:
        raise ValueError("Quorin.RibosomeDensity: length must be positive")
    q = n_ribosomes / length
    return q if q < 1.0 else 1.0  # a NaN quotient gives 1.0


def translation_rate(codon_rate, ribosome_density, mrna_copies):
    codon_rate = float(codon_rate); ribosome_density = float(ribosome_density)
    mrna_copies = float(mrna_copies)
    if codon_rate <= 0.0:
        raise ValueError(
            "Quorin.TranslationRate: codon_rate must be positive (translationRate_pos)")
    if ribosome_density <= 0.0:
        raise ValueError(
            "Quorin.TranslationRate: ribosome_density must be positive (translationRate_pos)")
    if mrna_copies <= 0.0:
        raise ValueError(
            "Quorin.TranslationRate: mrna_copies must be positive (translationRate_pos)")
    return (codon_rate * ribosome_density) * mrna_copies


# ---- sequence analysis ------------------------------------------------------------------------

def gc_content(sequence):
    length = _text(sequence)
    if length == 0:
        raise ValueError("Quorin.GCContent: sequence must not be empty (total > 0 precondition)")
    count = (sequence.count("G") + sequence.count("C")
             + sequence.count("g") + sequence.count("c"))
    return float(count) / float(length)


def sequence_identity(seq1, seq2):
    len1 = _text(seq1)
    len2 = _text(seq2)
    if len1 == 0 or len2 == 0:
        raise ValueError("Quorin.SequenceIdentity: sequences must not be empty")
    matches = 0
    for a, b in zip(seq1, seq2):  # code points, paired until the shorter text ends
        if a == b:
            matches += 1
    return float(matches) / float(len1 if len1 > len2 else len2)


def shannon_entropy(p):
    p = float(p)
    if p < 0.0 or p != p:
        raise ValueError("Quorin.ShannonEntropy: p must be in [0, 1]")
    if p > 1.0:
        raise ValueError("Quorin.ShannonEntropy: p must be in [0, 1]")
    a = 0.0 if p <= 0.0 else log(p) * p
    q = 1.0 - p
    b = 0.0 if q <= 0.0 else log(q) * q
    h = -(a + b)
    return h if h > 0.0 else 0.0


def shannon_entropy_dist(probabilities):
    ps = _reals(probabilities)
    if not ps:
        raise ValueError("Quorin.ShannonEntropy: probabilities must not be empty")
    for p in ps:
        if p < 0.0:
            raise ValueError("Quorin.ShannonEntropy: all probabilities must be non-negative")
    s = -0.0
    for p in ps:
        s = s + p
    if abs(s - 1.0) > 1e-6:
        raise ValueError(
            "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got " + _fixed8(s) + ")")
    h = -0.0
    for p in ps:
        if p > 0.0:
            h = h - log(p) * p
    return h if h > 0.0 else 0.0


# ---- pharmacokinetics -------------------------------------------------------------------------

def first_order_pk_concentration(c0, ke, time):
    c0 = float(c0); ke = float(ke); time = float(time)
    if c0 <= 0.0:
        raise ValueError("Quorin.FirstOrderPK: c0 must be positive (concentration_pos)")
    if ke < 0.0:
        raise ValueError("Quorin.FirstOrderPK: ke must be non-negative")
    if time < 0.0:
        raise ValueError("Quorin.FirstOrderPK: time must be non-negative")
    e = time * (-ke)
    return exp(e) * c0


def first_order_pk_halflife(ke):
    ke = float(ke)
    if ke <= 0.0:
        raise ValueError("Quorin.FirstOrderPK: ke must be positive (halflife_positive)")
    return 0.6931471805599453 / ke


def ic50_bound(ki, substrate, km):
    ki = float(ki); substrate = float(substrate); km = float(km)
    if ki <= 0.0:
        raise ValueError("Quorin.IC50Relationship: ki must be positive (ic50_pos)")
    if substrate < 0.0:
        raise ValueError("Quorin.IC50Relationship: substrate must be non-negative")
    if km <= 0.0:
        raise ValueError("Quorin.IC50Relationship: km must be positive (ic50_pos)")
    q = substrate / km
    q = q + 1.0
    return ki * q


def michaelis_menten(vmax, km, substrate):
    vmax = float(vmax); km = float(km); substrate = float(substrate)
    if vmax <= 0.0:
        raise ValueError("Quorin.MichaelisMenten: vmax must be positive (velocity_pos)")
    if km <= 0.0:
        raise ValueError("Quorin.MichaelisMenten: km must be positive")
    if substrate <= 0.0:
        raise ValueError("Quorin.MichaelisMenten: substrate must be positive (velocity_pos)")
    n = vmax * substrate
    d = km + substrate
    return n / d


# ---- longevity --------------------------------------------------------------------------------

def biological_age_bound(pheno_age, telomere_age, epigenetic_age, w1=0.333, w2=0.333, w3=0.334):
    pheno_age = float(pheno_age); telomere_age = float(telomere_age)
    epigenetic_age = float(epigenetic_age)
    w1 = float(w1); w2 = float(w2); w3 = float(w3)
    if pheno_age < 0.0 or telomere_age < 0.0 or epigenetic_age < 0.0:
        raise ValueError(
            "Quorin.BiologicalAge: all age components must be non-negative (ensemble_nonneg)")
    if w1 < 0.0 or w2 < 0.0 or w3 < 0.0:
        raise ValueError(
            "Quorin.BiologicalAge: weights must be non-negative (EnsembleWeights.hw1/hw2/hw3)")
    s = (w1 + w2) + w3
    if abs(s - 1.0) > 1e-6:
        raise ValueError(
            "Quorin.BiologicalAge: weights must sum to 1.0 (EnsembleWeights.hsum); got "
            + _fixed8(s))
    return (pheno_age * w1 + telomere_age * w2) + epigenetic_age * w3


def telomere_length_bound(age):
    age = float(age)
    if age < 0.0:
        raise ValueError("Quorin.Telomere: age must be non-negative")
    x = age + (-40.0)
    x = x if x > 0.0 else 0.0
    return x * (-0.027) + 8.0


def gompertz_hazard(alpha, beta, time):
    alpha = float(alpha); beta = float(beta); time = float(time)
    if alpha <= 0.0:
        raise ValueError("Quorin.GompertzMortality: alpha must be positive (mortality_pos)")
    if time < 0.0:
        raise ValueError("Quorin.GompertzMortality: time must be non-negative")
    return exp(beta * time) * alpha


# ---- statistics and structural comparison -----------------------------------------------------

def hardy_weinberg(p):
    p = float(p)
    if p < 0.0 or p != p:
        raise ValueError("Quorin.HardyWeinberg: p must be in [0, 1] (AlleleFreq.hp + hq + hsum)")
    if p > 1.0:
        raise ValueError("Quorin.HardyWeinberg: p must be in [0, 1] (AlleleFreq.hp + hq + hsum)")
    q = 1.0 - p
    return (p * p, q * (2.0 * p), q * q)


def hardy_weinberg_test(n_aa_dom, n_aa_het, n_aa_rec):
    n_aa_dom = n_aa_dom if type(n_aa_dom) is int and 0 <= n_aa_dom <= _U64 else _count64(n_aa_dom)
    n_aa_het = n_aa_het if type(n_aa_het) is int and 0 <= n_aa_het <= _U64 else _count64(n_aa_het)
    n_aa_rec = n_aa_rec if type(n_aa_rec) is int and 0 <= n_aa_rec <= _U64 else _count64(n_aa_rec)
    total = (n_aa_het + n_aa_dom) + n_aa_rec  # exact: a Python int does not wrap
    if total == 0:
        raise ValueError("Quorin.HardyWeinberg: total count must be positive")
    n = float(total)
    dom = float(n_aa_dom); het = float(n_aa_het); rec = float(n_aa_rec)
    f_dom = dom / n
    f_het = het / n
    f_rec = rec / n
    p = (het + (dom + dom)) / (n + n)
    q = 1.0 - p
    e_dom = p * p
    e_het = (p + p) * q
    e_rec = q * q
    if e_rec > 0.0:
        d = f_rec - e_rec
        t_rec = (d * d) / e_rec
    else:
        t_rec = 0.0
    if e_dom > 0.0:
        d = f_dom - e_dom
        t_dom = (d * d) / e_dom
    else:
        t_dom = 0.0
    if e_het > 0.0:
        d = f_het - e_het
        t_het = (d * d) / e_het
    else:
        t_het = 0.0
    return (f_dom, f_het, f_rec, t_rec + (t_dom + t_het))


def protein_rmsd(coords1, coords2):
    a = _triples(coords1)
    b = _triples(coords2)
    n = len(a)
    if n != len(b):
        raise ValueError("Quorin.ProteinRMSD: coordinate arrays must have the same length")
    if n == 0:
        return 0.0
    s = -0.0
    for (x1, y1, z1), (x2, y2, z2) in zip(a, b):
        dx = x1 - x2
        dy = y1 - y2
        dz = z1 - z2
        s = s + ((dx * dx + dy * dy) + dz * dz)
    return sqrt(s / float(n))


# ---- thermodynamics and electrochemistry ------------------------------------------------------

def gibbs_free_energy(dh, t, ds):
    dh = float(dh); t = float(t); ds = float(ds)
    if t < 0.0:
        raise ValueError("Quorin.GibbsFreeEnergy: T must be non-negative")
    return dh - (t * ds)


def arrhenius_rate(a, ea, t):
    a = float(a); ea = float(ea); t = float(t)
    if a <= 0.0:
        raise ValueError("Quorin.ArrheniusEquation: A must be positive")
    if t <= 0.0:
        raise ValueError("Quorin.ArrheniusEquation: T must be positive")
    return exp(ea / (t * -8.314)) * a


def boltzmann_factor(e, t):
    e = float(e); t = float(t)
    if t <= 0.0:
        raise ValueError("Quorin.BoltzmannDistribution: T must be positive")
    kt = t * -1.380649e-23  # underflows to -0.0 for tiny t
    try:
        x = e / kt
    except ZeroDivisionError:
        x = _div_c(e, kt)
    return exp(x)


def boltzmann_probability(e, t, z):
    e = float(e); t = float(t); z = float(z)
    if z <= 0.0:
        raise ValueError("Quorin.BoltzmannDistribution: Z must be positive")
    if t <= 0.0:
        raise ValueError("Quorin.BoltzmannDistribution: T must be positive")
    kt = t * -1.380649e-23
    try:
        x = e / kt
    except ZeroDivisionError:
        x = _div_c(e, kt)
    return exp(x) / z


def nernst_potential(e0, t, n, c_out, c_in):
    e0 = float(e0); t = float(t); n = float(n); c_out = float(c_out); c_in = float(c_in)
    if t <= 0.0:
        raise ValueError("Quorin.NernstEquation: T must be positive")
    if n <= 0.0:
        raise ValueError("Quorin.NernstEquation: n must be positive")
    if c_out <= 0.0 or c_in <= 0.0:
        raise ValueError("Quorin.NernstEquation: concentrations must be positive")
    s = (t * -8.314) / (n * 96485.0)
    q = c_out / c_in  # may underflow to 0.0
    return e0 + log(q) * s


def osmotic_pressure(i, m, t):
    i = float(i); m = float(m); t = float(t)
    if i <= 0.0 or m <= 0.0 or t <= 0.0:
        raise ValueError("Quorin.OsmoticPressure: i, M, T must be positive")
    return ((i * m) * 8.314) * t


def proton_motive_force(d_psi, t, d_ph):
    d_psi = float(d_psi); t = float(t); d_ph = float(d_ph)
    if t <= 0.0:
        raise ValueError("Quorin.ProtonMotiveForce: T must be positive")
    return d_psi + ((t * -19.147142) / 96485.0) * d_ph


# ---- binding and enzyme kinetics --------------------------------------------------------------

def hill_effect(emax, ec50, c, n):
    emax = float(emax)
    ec50 = float(ec50)
    c = float(c)
    n = n if type(n) is int and 0 <= n <= _U32 else _count32(n)
    if emax <= 0.0:
        raise ValueError("Quorin.HillEquation: emax must be positive")
    if ec50 <= 0.0:
        raise ValueError("Quorin.HillEquation: ec50 must be positive")
    if c < 0.0:
        raise ValueError("Quorin.HillEquation: c must be non-negative")
    cn = _powi(c, n)
    top = emax * cn
    en = _powi(ec50, n)
    bottom = en + cn  # both powers may underflow to zero
    try:
        return top / bottom
    except ZeroDivisionError:
        return _div_c(top, bottom)


def hill_occupancy(s, k, n):
    s = float(s)
    k = float(k)
    n = n if type(n) is int and 0 <= n <= _U32 else _count32(n)
    if s < 0.0:
        raise ValueError("Quorin.HillCooperativity: S must be non-negative")
    if k <= 0.0:
        raise ValueError("Quorin.HillCooperativity: K must be positive")
    sn = _powi(s, n)
    kn = _powi(k, n)
    bottom = kn + sn
    try:
        return sn / bottom
    except ZeroDivisionError:
        return _div_c(sn, bottom)


def langmuir_coverage(k, c):
    k = float(k); c = float(c)
    if k <= 0.0 or c <= 0.0:
        raise ValueError("Quorin.LangmuirIsotherm: K and c must be positive")
    p = k * c
    return p / (1.0 + p)


def monod_growth(mu_max, ks, s):
    mu_max = float(mu_max); ks = float(ks); s = float(s)
    if mu_max <= 0.0 or ks <= 0.0 or s <= 0.0:
        raise ValueError("Quorin.MonodGrowth: μmax, Ks, S must be positive")
    return (mu_max * s) / (ks + s)


def receptor_occupancy(l, kd):
    l = float(l); kd = float(kd)
    if l <= 0.0 or kd <= 0.0:
        raise ValueError("Quorin.ReceptorBinding: L and KD must be positive")
    return l / (kd + l)


def competitive_inhibition(vmax, km, s, i, ki):
    vmax = float(vmax); km = float(km); s = float(s); i = float(i); ki = float(ki)
    if vmax <= 0.0:
        raise ValueError("Quorin.CompetitiveInhibition: vmax must be positive")
    if km <= 0.0 or ki <= 0.0:
        raise ValueError("Quorin.CompetitiveInhibition: km and ki must be positive")
    if s <= 0.0 or i < 0.0:
        raise ValueError("Quorin.CompetitiveInhibition: s>0, I>=0 required")
    top = vmax * s
    f = (i / ki) + 1.0
    bottom = (km * f) + s
    return top / bottom


def catalytic_efficiency(kcat, km):
    kcat = float(kcat); km = float(km)
    if kcat <= 0.0 or km <= 0.0:
        raise ValueError("Quorin.CatalyticEfficiency: kcat and Km must be positive")
    return kcat / km


def protein_steady_state(ksyn, kdeg):
    ksyn = float(ksyn); kdeg = float(kdeg)
    if ksyn <= 0.0 or kdeg <= 0.0:
        raise ValueError("Quorin.ProteinSteadyState: ksyn and kdeg must be positive")
    return ksyn / kdeg


# ---- spectroscopy and transport ---------------------------------------------------------------

def beer_lambert(eps, c, l):
    eps = float(eps); c = float(c); l = float(l)
    if eps <= 0.0 or c <= 0.0 or l <= 0.0:
        raise ValueError("Quorin.BeerLambert: ε, c, l must be positive")
    return (eps * c) * l


def quantum_yield(kr, knr):
    kr = float(kr); knr = float(knr)
    if kr <= 0.0:
        raise ValueError("Quorin.FluorescenceQuantumYield: kr must be positive")
    if knr < 0.0:
        raise ValueError("Quorin.FluorescenceQuantumYield: knr must be non-negative")
    return kr / (knr + kr)


def fret_efficiency(r, r0):
    r = float(r); r0 = float(r0)
    if r0 == 0.0:
        raise ValueError("Quorin.FretEfficiency: R₀ must be non-zero")
    q = r / r0
    q2 = q * q
    q6 = (q2 * q2) * q2
    return 1.0 / (q6 + 1.0)


def einstein_stokes(t, eta, r):
    t = float(t); eta = float(eta); r = float(r)
    if t <= 0.0 or eta <= 0.0 or r <= 0.0:
        raise ValueError("Quorin.EinsteinStokes: T, η, r must be positive")
    top = t * 1.380649e-23
    bottom = (eta * 18.84955592153876) * r  # may underflow to zero
    try:
        return top / bottom
    except ZeroDivisionError:
        return _div_c(top, bottom)


def fick_flux(d, c_high, c_low, dx):
    d = float(d); c_high = float(c_high); c_low = float(c_low); dx = float(dx)
    if dx == 0.0:
        raise ValueError("Quorin.FickDiffusion: Δx must be non-zero")
    m = -d
    diff = c_high - c_low
    return (diff * m) / dx


def poiseuille_flow(r, dp, eta, l):
    r = float(r); dp = float(dp); eta = float(eta); l = float(l)
    if r <= 0.0 or dp <= 0.0 or eta <= 0.0 or l <= 0.0:
        raise ValueError("Quorin.PoiseuilleFlow: r, ΔP, η, L must be positive")
    r2 = r * r
    r4 = r2 * r2
    a = r4 * 3.141592653589793
    top = dp * a
    b = eta * 8.0
    bottom = l * b  # may underflow to zero
    try:
        return top / bottom
    except ZeroDivisionError:
        return _div_c(top, bottom)


# ---- growth and population dynamics -----------------------------------------------------------

def sigmoid(x):
    x = float(x)
    return 1.0 / (exp(-x) + 1.0)


def logistic_growth(k, n0, r, t):
    k = float(k); n0 = float(n0); r = float(r); t = float(t)
    if k <= 0.0:
        raise ValueError("Quorin.LogisticGrowth: K must be positive")
    if n0 <= 0.0:
        raise ValueError("Quorin.LogisticGrowth: N₀ must be positive")
    a = (k - n0) / n0
    e = exp(t * (-r))
    bottom = e * a + 1.0  # zero when e × a rounds to −1
    try:
        return k / bottom
    except ZeroDivisionError:
        return _div_c(k, bottom)


def clone_size(n0, r, t):
    n0 = float(n0); r = float(r); t = float(t)
    if n0 <= 0.0:
        raise ValueError("Quorin.ClonalExpansion: N₀ must be positive")
    return exp(r * t) * n0


def doubling_time(mu):
    mu = float(mu)
    if mu <= 0.0:
        raise ValueError("Quorin.CellDoublingTime: μ must be positive")
    return 0.6931471805599453 / mu


def pcr_copies(n0, e, n):
    n0 = float(n0)
    e = float(e)
    n = n if type(n) is int and 0 <= n <= _U32 else _count32(n)
    if n0 <= 0.0 or e <= 0.0:
        raise ValueError("Quorin.PcrAmplification: N₀ and E must be positive")
    return _powi(e, n) * n0


def dilution_concentration(c0, d, n):
    c0 = float(c0)
    d = float(d)
    n = n if type(n) is int and 0 <= n <= _U32 else _count32(n)
    if c0 <= 0.0 or d <= 0.0:
        raise ValueError("Quorin.DilutionSeries: C₀ and d must be positive")
    q = 1.0 / d
    return _powi(q, n) * c0


def allometric(a, m, b):
    a = float(a); m = float(m); b = float(b)
    if a <= 0.0 or m <= 0.0:
        raise ValueError("Quorin.AllometricScaling: a and M must be positive")
    return pow(m, b) * a


def weibull_survival(t, lambda_, k):
    t = float(t); lambda_ = float(lambda_); k = float(k)
    if lambda_ <= 0.0:
        raise ValueError("Quorin.WeibullSurvival: λ must be positive")
    q = t / lambda_
    return exp(-pow(q, k))


def reproduction_number(beta, gamma):
    beta = float(beta); gamma = float(gamma)
    if beta <= 0.0 or gamma <= 0.0:
        raise ValueError("Quorin.SirEpidemic: β and γ must be positive")
    return beta / gamma


# ---- clinical indices -------------------------------------------------------------------------

def bmi(weight_kg, height_m):
    weight_kg = float(weight_kg); height_m = float(height_m)
    if weight_kg <= 0.0 or height_m <= 0.0:
        raise ValueError("Quorin.BMI: weight and height must be positive")
    h2 = height_m * height_m  # may underflow to zero
    try:
        return weight_kg / h2
    except ZeroDivisionError:
        return _div_c(weight_kg, h2)


def body_surface_area(height_cm, weight_kg):
    height_cm = float(height_cm); weight_kg = float(weight_kg)
    if height_cm < 0.0 or weight_kg < 0.0:
        raise ValueError("Quorin.BodySurfaceArea: height and weight must be non-negative")
    return sqrt((height_cm * weight_kg) / 3600.0)


def cardiac_output(hr, sv):
    hr = float(hr); sv = float(sv)
    if hr <= 0.0 or sv <= 0.0:
        raise ValueError("Quorin.CardiacOutput: HR and SV must be positive")
    return hr * sv


def oxygen_saturation(hb_o2, hb):
    hb_o2 = float(hb_o2); hb = float(hb)
    if hb_o2 < 0.0 or hb < 0.0:
        raise ValueError("Quorin.BloodOxygenSaturation: values must be non-negative")
    total = hb + hb_o2
    if total == 0.0:
        raise ValueError("Quorin.BloodOxygenSaturation: total Hb must be positive")
    return hb_o2 / total


def henderson_hasselbalch(pka, base, acid):
    pka = float(pka); base = float(base); acid = float(acid)
    if base <= 0.0 or acid <= 0.0:
        raise ValueError("Quorin.HendersonHasselbalch: base and acid must be positive")
    q = base / acid  # may underflow to 0.0
    return log(q) / 2.302585092994046 + pka


def osmolarity(na, glucose, bun):
    na = float(na); glucose = float(glucose); bun = float(bun)
    if na < 0.0 or glucose < 0.0 or bun < 0.0:
        raise ValueError("Quorin.Osmolarity: inputs must be non-negative")
    return (2.0 * na + glucose / 18.0) + bun / 2.8


def cockcroft_gault(age, weight, scr, sex_factor):
    age = float(age); weight = float(weight); scr = float(scr); sex_factor = float(sex_factor)
    if age < 0.0 or age >= 140.0:
        raise ValueError("Quorin.CockcroftGault: age must be in [0,140)")
    if weight <= 0.0 or scr <= 0.0 or sex_factor <= 0.0:
        raise ValueError("Quorin.CockcroftGault: weight, Scr, sex_factor must be positive")
    return sex_factor * (((140.0 - age) * weight) / (scr * 72.0))


def ckd_mdrd(scr, age, scale):
    scr = float(scr); age = float(age); scale = float(scale)
    if scr <= 0.0 or age <= 0.0 or scale <= 0.0:
        raise ValueError("Quorin.CkdMdrd: Scr, age, scale must be positive")
    a = pow(scr, -1.154) * 175.0
    b = pow(age, -0.203)
    return (b * a) * scale


def ckd_epi(scr, kappa, alpha, scale):
    scr = float(scr); kappa = float(kappa); alpha = float(alpha); scale = float(scale)
    if scr <= 0.0 or kappa <= 0.0 or scale <= 0.0:
        raise ValueError("Quorin.CkdEpi: Scr, κ, scale must be positive")
    r = scr / kappa
    lo = r if r < 1.0 else 1.0  # min and max take 1.0 for a NaN ratio
    hi = r if r > 1.0 else 1.0
    a = pow(lo, alpha) * 141.0
    b = pow(hi, -1.209)
    return (b * a) * scale


def meld_score(bili, inr, creat):
    bili = float(bili); inr = float(inr); creat = float(creat)
    if bili <= 0.0 or inr <= 0.0 or creat <= 0.0:
        raise ValueError("Quorin.MeldScore: bili, inr, creat must be positive")
    s1 = 3.78 * log(bili)
    s2 = 11.2 * log(inr) + s1
    s3 = 9.57 * log(creat) + s2
    return s3 + 6.43


# ---- molecular and structural scores ----------------------------------------------------------

def dna_tm(a, t, g, c):
    a = a if type(a) is int and 0 <= a <= _U32 else _count32(a)
    t = t if type(t) is int and 0 <= t <= _U32 else _count32(t)
    g = g if type(g) is int and 0 <= g <= _U32 else _count32(g)
    c = c if type(c) is int and 0 <= c <= _U32 else _count32(c)
    s_at = float(a + t)  # exact sums, exactly representable
    s_gc = float(g + c)
    return s_gc * 4.0 + (s_at + s_at)


def energy_charge(atp, adp, amp):
    atp = float(atp); adp = float(adp); amp = float(amp)
    if atp < 0.0 or adp < 0.0 or amp < 0.0:
        raise ValueError("Quorin.NucleotideBalance: pools must be non-negative")
    total = (atp + adp) + amp
    if total <= 0.0:
        raise ValueError("Quorin.NucleotideBalance: total pool must be positive")
    return (atp + adp * 0.5) / total


def modified_nucleotide_ratio(modified, total):
    modified = modified if type(modified) is int and 0 <= modified <= _U32 else _count32(modified)
    total = total if type(total) is int and 0 <= total <= _U32 else _count32(total)
    if total == 0:
        raise ValueError("Quorin.ModifiedNucleotideRatio: total must be positive")
    if modified > total:
        raise ValueError("Quorin.ModifiedNucleotideRatio: modified must be ≤ total")
    return float(modified) / float(total)


def pairwise_potential(pairs):
    s = -0.0
    for x in _reals(pairs):
        s = s + x
    return s


def riboswitch_confidence(mfe, ensemble_div):
    mfe = float(mfe); ensemble_div = float(ensemble_div)
    if ensemble_div < 0.0:
        raise ValueError("Quorin.Riboswitch: ensemble_div must be non-negative")
    if mfe > 0.0:
        raise ValueError("Quorin.Riboswitch: mfe must be ≤ 0 (free energy)")
    c = exp(ensemble_div / -10.0)
    e = exp(mfe / 50.0)
    return (1.0 - e) * c


def tm_term(d, d0):
    d = float(d); d0 = float(d0)
    if d0 == 0.0:
        raise ValueError("Quorin.TmScore: d₀ must be non-zero")
    r = d / d0
    return 1.0 / (r * r + 1.0)


def tm_score(distances, l_target, d0):
    ds = _reals(distances)
    l_target = l_target if type(l_target) is int and 0 <= l_target <= _U64 else _count64(l_target)
    d0 = float(d0)
    if d0 == 0.0:
        raise ValueError("Quorin.TMScore: d₀ must be non-zero")
    if l_target == 0:
        raise ValueError("Quorin.TMScore: L_target must be positive")
    s = -0.0
    for d in ds:
        s = s + 1.0 / ((d / d0) * (d / d0) + 1.0)
    return s / float(l_target)


# ---- ageing biomarkers ------------------------------------------------------------------------

def telomere_attrition(l0, delta, n):
    l0 = float(l0)
    delta = float(delta)
    n = n if type(n) is int and 0 <= n <= _U32 else _count32(n)
    if delta < 0.0:
        raise ValueError("Quorin.TelomereAttrition: δ must be non-negative")
    return l0 - delta * float(n)


def epigenetic_acceleration(clock_age, chrono_age):
    clock_age = float(clock_age); chrono_age = float(chrono_age)
    if clock_age < 0.0 or clock_age > 150.0:
        raise ValueError("Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]")
    if chrono_age < 0.0:
        raise ValueError("Quorin.EpigeneticClockAcceleration: chronoAge must be non-negative")
    return clock_age - chrono_age


def senolytic_healthy_damage(sel, dose):
    sel = float(sel); dose = float(dose)
    if not sel >= 0.0 or sel > 1.0:  # a closed interval: NaN is refused
        raise ValueError("Quorin.SenolyticSelectivity: selectivity must be in [0,1]")
    if dose < 0.0:
        raise ValueError("Quorin.SenolyticSelectivity: dose must be non-negative")
    return (1.0 - sel) * dose


def nad_ratio(nad_plus, nadh):
    nad_plus = float(nad_plus); nadh = float(nadh)
    if nadh <= 0.0:
        raise ValueError("Quorin.NADPlusRatio: NADH must be positive")
    if nad_plus < 0.0:
        raise ValueError("Quorin.NADPlusRatio: NAD+ must be non-negative")
    return nad_plus / nadh


def inflamm_aging_score(w_il6, w_tnfa, w_crp, il6, tnfa, crp):
    w_il6 = float(w_il6); w_tnfa = float(w_tnfa); w_crp = float(w_crp)
    il6 = float(il6); tnfa = float(tnfa); crp = float(crp)
    if w_il6 < 0.0 or w_tnfa < 0.0 or w_crp < 0.0:
        raise ValueError("Quorin.InflammAgingScore: weights must be non-negative")
    if il6 < 0.0 or tnfa < 0.0 or crp < 0.0:
        raise ValueError("Quorin.InflammAgingScore: cytokine levels must be non-negative")
    return (w_il6 * il6 + w_tnfa * tnfa) + w_crp * crp


# ---- RNA folding ------------------------------------------------------------------------------

_BASE = {"A": 0, "a": 0, "U": 1, "u": 1, "T": 1, "t": 1, "G": 2, "g": 2, "C": 3, "c": 3}
# Left code × 4 + right code -> 1 when the two bases pair (A–U, G–C, G–U, either order).
_PAIRS = (0, 1, 0, 0,
          1, 0, 1, 0,
          0, 1, 0, 1,
          0, 0, 1, 0)


def nussinov(sequence):
    _text(sequence)
    codes = []
    for ch in sequence:
        code = _BASE.get(ch)
        if code is None:
            raise ValueError(f"Quorin.RnaNussinov: invalid base '{ch}' "
                             "(alphabet is A,U,G,C; T accepted as U)")
        codes.append(code)
    n = len(codes)
    if n == 0:
        return 0
    # best[i][j]: most non-crossing pairs within i..j, filled by increasing span; entries with
    # i >= j stay 0.
    best = [[0] * n for _ in range(n)]
    for span in range(1, n):
        for i in range(n - span):
            j = i + span
            row = best[i]
            below = best[i + 1]
            v = below[j] if below[j] > row[j - 1] else row[j - 1]
            inner = below[j - 1] + _PAIRS[codes[i] * 4 + codes[j]]
            if inner > v:
                v = inner
            for k in range(i, j):
                split = row[k] + best[k + 1][j]
                if split > v:
                    v = split
            row[j] = v
    return best[0][n - 1]


# ---- representative valid arguments for the call benchmark ------------------------------------

_BASES50 = "GGGAAAUCCCGCAUUAGCGGAUCCAUGGCUAAGCUUGCAGGCAUCGAUCC"
_PROBS20 = [0.05] * 20
_DISTS20 = [0.4 * i for i in range(20)]
_PAIRS20 = [-1.5 + 0.15 * i for i in range(20)]
_COORDS_A = [(float(i), 0.5 * i, 1.0 - i) for i in range(20)]
_COORDS_B = [(i + 0.1, 0.5 * i - 0.2, 1.3 - i) for i in range(20)]

SAMPLES = {
    "mrna_halflife_concentration": ((100.0, 0.1, 5.0), {}),
    "mrna_halflife": ((0.25,), {}),
    "ribosome_density": ((12.0, 300.0), {}),
    "translation_rate": ((5.0, 0.04, 20.0), {}),
    "gc_content": ((_BASES50,), {}),
    "sequence_identity": ((_BASES50, _BASES50[::-1]), {}),
    "shannon_entropy": ((0.3,), {}),
    "shannon_entropy_dist": ((_PROBS20,), {}),
    "first_order_pk_concentration": ((10.0, 0.2, 3.0), {}),
    "first_order_pk_halflife": ((0.2,), {}),
    "ic50_bound": ((2.0, 5.0, 4.0), {}),
    "michaelis_menten": ((10.0, 2.0, 3.0), {}),
    "biological_age_bound": ((50.0, 60.0, 70.0), {}),
    "telomere_length_bound": ((55.0,), {}),
    "gompertz_hazard": ((0.5, 0.1, 10.0), {}),
    "hardy_weinberg": ((0.3,), {}),
    "hardy_weinberg_test": ((30, 40, 30), {}),
    "protein_rmsd": ((_COORDS_A, _COORDS_B), {}),
    "gibbs_free_energy": ((-100.0, 300.0, -0.5), {}),
    "arrhenius_rate": ((1e13, 50000.0, 298.0), {}),
    "boltzmann_factor": ((4e-21, 300.0), {}),
    "boltzmann_probability": ((4e-21, 300.0, 2.0), {}),
    "nernst_potential": ((0.0, 310.0, 1.0, 145.0, 15.0), {}),
    "osmotic_pressure": ((2.0, 0.15, 310.0), {}),
    "proton_motive_force": ((-0.15, 298.0, 0.5), {}),
    "hill_effect": ((100.0, 10.0, 7.0, 3), {}),
    "hill_occupancy": ((2.0, 1.0, 4), {}),
    "langmuir_coverage": ((2.0, 3.0), {}),
    "monod_growth": ((1.0, 2.0, 3.0), {}),
    "receptor_occupancy": ((1.0, 3.0), {}),
    "competitive_inhibition": ((10.0, 2.0, 2.0, 1.0, 1.0), {}),
    "catalytic_efficiency": ((100.0, 1e-4), {}),
    "protein_steady_state": ((10.0, 0.1), {}),
    "beer_lambert": ((2.0, 3.0, 4.0), {}),
    "quantum_yield": ((3.0, 1.0), {}),
    "fret_efficiency": ((4.0, 5.0), {}),
    "einstein_stokes": ((298.0, 0.00089, 1e-9), {}),
    "fick_flux": ((1e-9, 2.0, 1.0, 0.001), {}),
    "poiseuille_flow": ((0.002, 100.0, 0.0035, 0.1), {}),
    "sigmoid": ((0.7,), {}),
    "logistic_growth": ((100.0, 10.0, 0.3, 5.0), {}),
    "clone_size": ((10.0, 0.2, 5.0), {}),
    "doubling_time": ((0.03,), {}),
    "pcr_copies": ((10.0, 1.9, 30), {}),
    "dilution_concentration": ((100.0, 10.0, 6), {}),
    "allometric": ((2.0, 4.0, 0.75), {}),
    "weibull_survival": ((3.0, 2.0, 1.5), {}),
    "reproduction_number": ((3.0, 1.5), {}),
    "bmi": ((70.0, 1.75), {}),
    "body_surface_area": ((180.0, 80.0), {}),
    "cardiac_output": ((70.0, 0.07), {}),
    "oxygen_saturation": ((14.0, 1.0), {}),
    "henderson_hasselbalch": ((6.1, 24.0, 1.2), {}),
    "osmolarity": ((140.0, 90.0, 14.0), {}),
    "cockcroft_gault": ((40.0, 72.0, 1.1, 0.85), {}),
    "ckd_mdrd": ((1.2, 60.0, 0.742), {}),
    "ckd_epi": ((1.2, 0.7, -0.329, 1.018), {}),
    "meld_score": ((2.0, 1.5, 1.2), {}),
    "dna_tm": ((5, 6, 4, 5), {}),
    "energy_charge": ((5.0, 3.0, 2.0), {}),
    "modified_nucleotide_ratio": ((3, 76), {}),
    "pairwise_potential": ((_PAIRS20,), {}),
    "riboswitch_confidence": ((-10.0, 5.0), {}),
    "tm_term": ((2.0, 3.5), {}),
    "tm_score": ((_DISTS20, 25, 3.5), {}),
    "telomere_attrition": ((10000.0, 50.0, 100), {}),
    "epigenetic_acceleration": ((45.0, 40.0), {}),
    "senolytic_healthy_damage": ((0.75, 4.0), {}),
    "nad_ratio": ((3.0, 1.5), {}),
    "inflamm_aging_score": ((0.4, 0.3, 0.3, 2.0, 3.0, 4.0), {}),
    "nussinov": ((_BASES50,), {}),
}
