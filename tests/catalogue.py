"""What the robustness tests need to know of every exported function, written down
independently of the module: its text signature, the kind of each parameter, the kind of its
result, one argument vector that succeeds and one that fails a precondition (with the message).

Tests take the list of functions from `quorin.__all__`, so a function that is not registered
yet is simply skipped; `entries()` yields the registered ones.
"""

from dataclasses import dataclass

import quorin

REAL, COUNT32, COUNT64, TEXT, REALS, TRIPLES = "real", "count32", "count64", "text", "reals", "triples"


@dataclass(frozen=True)
class Entry:
    name: str
    signature: str
    kinds: tuple        # one per parameter
    result: str         # "real", "int", "tuple3" or "tuple4"
    ok: tuple           # arguments that pass every precondition
    bad: tuple | None   # arguments that fail one (None: the function has no precondition)
    message: str | None

    @property
    def params(self):
        return tuple(p.split("=")[0].strip() for p in self.signature[1:-1].split(","))

    @property
    def defaults(self):
        out = {}
        for p in self.signature[1:-1].split(","):
            if "=" in p:
                name, value = p.split("=")
                out[name.strip()] = float(value)
        return out

    @property
    def required(self):
        return len(self.params) - len(self.defaults)

    @property
    def namespace(self):
        """The 'Quorin.X' head of every precondition message, or None."""
        return self.message.split(": ")[0] if self.message else None

    @property
    def function(self):
        return getattr(quorin, self.name)


_R = REAL
_rows = [
    # name, signature, kinds (None: all real), result, ok, bad, message
    ("mrna_halflife_concentration", "(initial, decay_rate, time)", None, "real",
     (100.0, 0.1, 5.0), (0.0, 0.1, 1.0), "Quorin.MrnaHalfLife: initial (m₀) must be positive"),
    ("mrna_halflife", "(decay_rate)", None, "real",
     (2.0,), (0.0,), "Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)"),
    ("ribosome_density", "(n_ribosomes, length)", None, "real",
     (5.0, 10.0), (1.0, 0.0), "Quorin.RibosomeDensity: length must be positive"),
    ("translation_rate", "(codon_rate, ribosome_density, mrna_copies)", None, "real",
     (2.0, 0.5, 3.0), (1.0, 0.0, 1.0),
     "Quorin.TranslationRate: ribosome_density must be positive (translationRate_pos)"),
    ("gc_content", "(sequence)", (TEXT,), "real",
     ("GGCAUA",), ("",), "Quorin.GCContent: sequence must not be empty (total > 0 precondition)"),
    ("sequence_identity", "(seq1, seq2)", (TEXT, TEXT), "real",
     ("ACGT", "ACGA"), ("", "ACGT"), "Quorin.SequenceIdentity: sequences must not be empty"),
    ("shannon_entropy", "(p)", None, "real",
     (0.25,), (1.5,), "Quorin.ShannonEntropy: p must be in [0, 1]"),
    ("shannon_entropy_dist", "(probabilities)", (REALS,), "real",
     ([0.25, 0.75],), ([0.5, 0.4],),
     "Quorin.ShannonEntropy: probabilities must sum to 1.0 (got 0.90000000)"),
    ("first_order_pk_concentration", "(c0, ke, time)", None, "real",
     (10.0, 0.5, 3.0), (0.0, 1.0, 1.0), "Quorin.FirstOrderPK: c0 must be positive (concentration_pos)"),
    ("first_order_pk_halflife", "(ke)", None, "real",
     (2.0,), (0.0,), "Quorin.FirstOrderPK: ke must be positive (halflife_positive)"),
    ("ic50_bound", "(ki, substrate, km)", None, "real",
     (2.0, 5.0, 5.0), (1.0, 1.0, 0.0), "Quorin.IC50Relationship: km must be positive (ic50_pos)"),
    ("michaelis_menten", "(vmax, km, substrate)", None, "real",
     (10.0, 2.0, 2.0), (10.0, 2.0, 0.0),
     "Quorin.MichaelisMenten: substrate must be positive (velocity_pos)"),
    ("biological_age_bound",
     "(pheno_age, telomere_age, epigenetic_age, w1=0.333, w2=0.333, w3=0.334)", None, "real",
     (50.0, 60.0, 70.0, 0.25, 0.25, 0.5), (50.0, 60.0, 70.0, 0.5, 0.4, 0.2),
     "Quorin.BiologicalAge: weights must sum to 1.0 (EnsembleWeights.hsum); got 1.10000000"),
    ("telomere_length_bound", "(age)", None, "real",
     (50.0,), (-1.0,), "Quorin.Telomere: age must be non-negative"),
    ("gompertz_hazard", "(alpha, beta, time)", None, "real",
     (0.5, 0.1, 10.0), (0.0, 0.1, 1.0), "Quorin.GompertzMortality: alpha must be positive (mortality_pos)"),
    ("hardy_weinberg", "(p)", None, "tuple3",
     (0.3,), (1.5,), "Quorin.HardyWeinberg: p must be in [0, 1] (AlleleFreq.hp + hq + hsum)"),
    ("hardy_weinberg_test", "(n_aa_dom, n_aa_het, n_aa_rec)", (COUNT64,) * 3, "tuple4",
     (300, 400, 300), (0, 0, 0), "Quorin.HardyWeinberg: total count must be positive"),
    ("protein_rmsd", "(coords1, coords2)", (TRIPLES, TRIPLES), "real",
     ([(0.0, 0.0, 0.0), (1.0, 2.0, 2.0)], [(0.0, 0.0, 0.0), (0.5, 0.5, 0.5)]),
     ([(0.0, 0.0, 0.0)], []), "Quorin.ProteinRMSD: coordinate arrays must have the same length"),
    ("gibbs_free_energy", "(dh, t, ds)", None, "real",
     (-100.0, 300.0, -0.5), (1.0, -1.0, 1.0), "Quorin.GibbsFreeEnergy: T must be non-negative"),
    ("arrhenius_rate", "(a, ea, t)", None, "real",
     (1e13, 50000.0, 298.0), (0.0, 1.0, 1.0), "Quorin.ArrheniusEquation: A must be positive"),
    ("boltzmann_factor", "(e, t)", None, "real",
     (1e-21, 300.0), (1.0, 0.0), "Quorin.BoltzmannDistribution: T must be positive"),
    ("boltzmann_probability", "(e, t, z)", None, "real",
     (0.0, 300.0, 2.0), (0.0, 300.0, 0.0), "Quorin.BoltzmannDistribution: Z must be positive"),
    ("nernst_potential", "(e0, t, n, c_out, c_in)", None, "real",
     (0.0, 310.0, 1.0, 145.0, 15.0), (0.0, 310.0, 0.0, 1.0, 1.0),
     "Quorin.NernstEquation: n must be positive"),
    ("osmotic_pressure", "(i, m, t)", None, "real",
     (2.0, 0.15, 310.0), (0.0, 1.0, 1.0), "Quorin.OsmoticPressure: i, M, T must be positive"),
    ("proton_motive_force", "(d_psi, t, d_ph)", None, "real",
     (-0.15, 298.0, 0.5), (1.0, 0.0, 1.0), "Quorin.ProtonMotiveForce: T must be positive"),
    ("hill_effect", "(emax, ec50, c, n)", (_R, _R, _R, COUNT32), "real",
     (100.0, 10.0, 5.0, 300), (100.0, 10.0, -1.0, 2), "Quorin.HillEquation: c must be non-negative"),
    ("hill_occupancy", "(s, k, n)", (_R, _R, COUNT32), "real",
     (2.0, 1.0, 300), (-1.0, 1.0, 2), "Quorin.HillCooperativity: S must be non-negative"),
    ("langmuir_coverage", "(k, c)", None, "real",
     (2.0, 3.0), (2.0, 0.0), "Quorin.LangmuirIsotherm: K and c must be positive"),
    ("monod_growth", "(mu_max, ks, s)", None, "real",
     (1.0, 2.0, 2.0), (1.0, 2.0, 0.0), "Quorin.MonodGrowth: μmax, Ks, S must be positive"),
    ("receptor_occupancy", "(l, kd)", None, "real",
     (1.0, 1.0), (1.0, -0.0), "Quorin.ReceptorBinding: L and KD must be positive"),
    ("competitive_inhibition", "(vmax, km, s, i, ki)", None, "real",
     (10.0, 2.0, 2.0, 1.0, 1.0), (10.0, 2.0, 2.0, -1.0, 1.0),
     "Quorin.CompetitiveInhibition: s>0, I>=0 required"),
    ("catalytic_efficiency", "(kcat, km)", None, "real",
     (100.0, 1e-4), (0.0, 1.0), "Quorin.CatalyticEfficiency: kcat and Km must be positive"),
    ("protein_steady_state", "(ksyn, kdeg)", None, "real",
     (10.0, 0.1), (10.0, 0.0), "Quorin.ProteinSteadyState: ksyn and kdeg must be positive"),
    ("beer_lambert", "(eps, c, l)", None, "real",
     (2.0, 3.0, 4.0), (2.0, 0.0, 4.0), "Quorin.BeerLambert: ε, c, l must be positive"),
    ("quantum_yield", "(kr, knr)", None, "real",
     (3.0, 1.0), (1.0, -1.0), "Quorin.FluorescenceQuantumYield: knr must be non-negative"),
    ("fret_efficiency", "(r, r0)", None, "real",
     (10.0, 5.0), (1.0, 0.0), "Quorin.FretEfficiency: R₀ must be non-zero"),
    ("einstein_stokes", "(t, eta, r)", None, "real",
     (298.0, 0.00089, 1e-9), (298.0, 0.0, 1e-9), "Quorin.EinsteinStokes: T, η, r must be positive"),
    ("fick_flux", "(d, c_high, c_low, dx)", None, "real",
     (1e-9, 2.0, 1.0, 0.001), (1.0, 1.0, 1.0, 0.0), "Quorin.FickDiffusion: Δx must be non-zero"),
    ("poiseuille_flow", "(r, dp, eta, l)", None, "real",
     (1.0, 1.0, 1.0, 1.0), (1.0, 1.0, 1.0, 0.0),
     "Quorin.PoiseuilleFlow: r, ΔP, η, L must be positive"),
    ("sigmoid", "(x)", None, "real", (0.5,), None, None),
    ("logistic_growth", "(k, n0, r, t)", None, "real",
     (100.0, 10.0, 0.5, 5.0), (100.0, -1.0, 1.0, 1.0), "Quorin.LogisticGrowth: N₀ must be positive"),
    ("clone_size", "(n0, r, t)", None, "real",
     (10.0, 0.1, 5.0), (0.0, 1.0, 1.0), "Quorin.ClonalExpansion: N₀ must be positive"),
    ("doubling_time", "(mu)", None, "real",
     (0.5,), (0.0,), "Quorin.CellDoublingTime: μ must be positive"),
    ("pcr_copies", "(n0, e, n)", (_R, _R, COUNT32), "real",
     (1.0, 1.9, 300), (1.0, 0.0, 3), "Quorin.PcrAmplification: N₀ and E must be positive"),
    ("dilution_concentration", "(c0, d, n)", (_R, _R, COUNT32), "real",
     (100.0, 10.0, 300), (0.0, 10.0, 2), "Quorin.DilutionSeries: C₀ and d must be positive"),
    ("allometric", "(a, m, b)", None, "real",
     (2.0, 4.0, 0.5), (2.0, 0.0, 1.0), "Quorin.AllometricScaling: a and M must be positive"),
    ("weibull_survival", "(t, lambda, k)", None, "real",
     (1.0, 2.0, 1.5), (1.0, 0.0, 1.0), "Quorin.WeibullSurvival: λ must be positive"),
    ("reproduction_number", "(beta, gamma)", None, "real",
     (3.0, 1.5), (3.0, 0.0), "Quorin.SirEpidemic: β and γ must be positive"),
    ("bmi", "(weight_kg, height_m)", None, "real",
     (70.0, 1.75), (70.0, 0.0), "Quorin.BMI: weight and height must be positive"),
    ("body_surface_area", "(height_cm, weight_kg)", None, "real",
     (180.0, 80.0), (-1.0, 80.0), "Quorin.BodySurfaceArea: height and weight must be non-negative"),
    ("cardiac_output", "(hr, sv)", None, "real",
     (70.0, 0.07), (70.0, 0.0), "Quorin.CardiacOutput: HR and SV must be positive"),
    ("oxygen_saturation", "(hb_o2, hb)", None, "real",
     (3.0, 1.0), (0.0, 0.0), "Quorin.BloodOxygenSaturation: total Hb must be positive"),
    ("henderson_hasselbalch", "(pka, base, acid)", None, "real",
     (6.1, 10.0, 1.0), (6.1, 10.0, 0.0), "Quorin.HendersonHasselbalch: base and acid must be positive"),
    ("osmolarity", "(na, glucose, bun)", None, "real",
     (140.0, 90.0, 14.0), (140.0, -1.0, 14.0), "Quorin.Osmolarity: inputs must be non-negative"),
    ("cockcroft_gault", "(age, weight, scr, sex_factor)", None, "real",
     (40.0, 72.0, 1.0, 1.0), (140.0, 72.0, 1.0, 1.0), "Quorin.CockcroftGault: age must be in [0,140)"),
    ("ckd_mdrd", "(scr, age, scale)", None, "real",
     (1.2, 50.0, 1.0), (0.0, 50.0, 1.0), "Quorin.CkdMdrd: Scr, age, scale must be positive"),
    ("ckd_epi", "(scr, kappa, alpha, scale)", None, "real",
     (1.2, 0.7, -0.3, 1.0), (1.2, 0.0, -0.3, 1.0), "Quorin.CkdEpi: Scr, κ, scale must be positive"),
    ("meld_score", "(bili, inr, creat)", None, "real",
     (1.5, 1.2, 1.1), (0.0, 1.0, 1.0), "Quorin.MeldScore: bili, inr, creat must be positive"),
    ("dna_tm", "(a, t, g, c)", (COUNT32,) * 4, "real", (300, 400, 500, 600), None, None),
    ("energy_charge", "(atp, adp, amp)", None, "real",
     (5.0, 3.0, 2.0), (0.0, 0.0, 0.0), "Quorin.NucleotideBalance: total pool must be positive"),
    ("modified_nucleotide_ratio", "(modified, total)", (COUNT32, COUNT32), "real",
     (300, 1000), (1001, 1000), "Quorin.ModifiedNucleotideRatio: modified must be ≤ total"),
    ("pairwise_potential", "(pairs)", (REALS,), "real", ([-1.5, -2.0, 0.5],), None, None),
    ("riboswitch_confidence", "(mfe, ensemble_div)", None, "real",
     (-10.0, 5.0), (1.0, 0.0), "Quorin.Riboswitch: mfe must be ≤ 0 (free energy)"),
    ("tm_term", "(d, d0)", None, "real",
     (2.0, 1.0), (1.0, 0.0), "Quorin.TmScore: d₀ must be non-zero"),
    ("tm_score", "(distances, l_target, d0)", (REALS, COUNT64, REAL), "real",
     ([0.0, 1.0, 2.0], 300, 1.0), ([0.0, 1.0], 0, 1.0), "Quorin.TMScore: L_target must be positive"),
    ("telomere_attrition", "(l0, delta, n)", (_R, _R, COUNT32), "real",
     (10000.0, 50.0, 300), (100.0, -1.0, 3), "Quorin.TelomereAttrition: δ must be non-negative"),
    ("epigenetic_acceleration", "(clock_age, chrono_age)", None, "real",
     (45.0, 40.0), (150.5, 40.0), "Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]"),
    ("senolytic_healthy_damage", "(sel, dose)", None, "real",
     (0.75, 4.0), (1.5, 1.0), "Quorin.SenolyticSelectivity: selectivity must be in [0,1]"),
    ("nad_ratio", "(nad_plus, nadh)", None, "real",
     (3.0, 1.5), (1.0, -0.0), "Quorin.NADPlusRatio: NADH must be positive"),
    ("inflamm_aging_score", "(w_il6, w_tnfa, w_crp, il6, tnfa, crp)", None, "real",
     (1.0, 1.0, 1.0, 2.0, 3.0, 4.0), (1.0, 1.0, 1.0, -2.0, 3.0, 4.0),
     "Quorin.InflammAgingScore: cytokine levels must be non-negative"),
    ("nussinov", "(sequence)", (TEXT,), "int",
     ("GGGAAACCC",), ("ACGN",),
     "Quorin.RnaNussinov: invalid base 'N' (alphabet is A,U,G,C; T accepted as U)"),
]

CATALOGUE = {}
for _name, _sig, _kinds, _result, _ok, _bad, _message in _rows:
    _n = _sig.count(",") + 1
    CATALOGUE[_name] = Entry(_name, _sig, _kinds or (REAL,) * _n, _result, _ok, _bad, _message)
    assert len(CATALOGUE[_name].kinds) == _n, _name


def registered():
    """Names in `quorin.__all__`, in registration order."""
    return list(quorin.__all__)


def entries():
    """The catalogue entries of the registered functions, in registration order (a registered
    name missing from the catalogue is reported by test_catalogue_matches_the_module)."""
    return [CATALOGUE[name] for name in registered() if name in CATALOGUE]


def entries_with(*kinds):
    """Registered entries that have a parameter of one of `kinds`."""
    return [e for e in entries() if any(k in kinds for k in e.kinds)]


def fresh(value):
    """A new object equal to `value` that shares no object with it (lists and tuples are
    copied element by element), so its reference counts belong to the caller alone."""
    if isinstance(value, bool):
        return value
    if isinstance(value, float):
        return float(repr(value))
    if isinstance(value, int):
        return int(str(value))
    if isinstance(value, str):
        return "".join(list(value))
    if isinstance(value, list):
        return [fresh(v) for v in value]
    if isinstance(value, tuple):
        return tuple(fresh(v) for v in value)
    raise TypeError(type(value))


def result_matches(entry, value):
    """True when `value` is of the entry's result kind."""
    if entry.result == "real":
        return type(value) is float
    if entry.result == "int":
        return type(value) is int and value >= 0
    n = 3 if entry.result == "tuple3" else 4
    return type(value) is tuple and len(value) == n and all(type(v) is float for v in value)
