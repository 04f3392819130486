# The texts' overloads overlap on purpose: a str is also an iterable, and one str gives a
# scalar where a collection gives an array; the str overload comes first and wins.
# mypy: disable-error-code="overload-overlap"
"""Type stubs of quorin_np: every contract as a NumPy ufunc, over lists a generalised one, and
the three over texts as functions over collections of str."""

from types import TracebackType
from _typeshed import structseq
from collections.abc import Iterable
from typing import Any, Final, Literal, TypeAlias, final, overload

from numpy import float64, int64, ufunc
from numpy.typing import NDArray

__version__: str

_Mode: TypeAlias = Literal["raise", "nan", "warn"]
# A collection of texts: a list or tuple of str, a NumPy array of StringDType or objects, a
# pandas Series (which gives a Series back), a polars Series or expression, any iterable of str;
# not a mapping.
_Texts: TypeAlias = Iterable[object] | NDArray[Any]

def geterr() -> dict[str, _Mode]: ...

class errstate:
    refused: _Mode
    def __init__(self, *, refused: _Mode) -> None: ...
    def __enter__(self) -> errstate: ...
    def __exit__(
        self,
        exc_type: type[BaseException] | None,
        exc: BaseException | None,
        tb: TracebackType | None,
    ) -> None: ...

__all__ = [
    "allometric",
    "arrhenius_rate",
    "beer_lambert",
    "biological_age_bound",
    "biological_age_bound_full",
    "bmi",
    "body_surface_area",
    "boltzmann_factor",
    "boltzmann_probability",
    "cardiac_output",
    "catalytic_efficiency",
    "ckd_epi",
    "ckd_mdrd",
    "clone_size",
    "cockcroft_gault",
    "competitive_inhibition",
    "dilution_concentration",
    "dna_tm",
    "doubling_time",
    "einstein_stokes",
    "energy_charge",
    "epigenetic_acceleration",
    "fick_flux",
    "first_order_pk_concentration",
    "first_order_pk_halflife",
    "fret_efficiency",
    "gc_content",
    "gibbs_free_energy",
    "gompertz_hazard",
    "hardy_weinberg",
    "hardy_weinberg_test",
    "henderson_hasselbalch",
    "hill_effect",
    "hill_occupancy",
    "ic50_bound",
    "inflamm_aging_score",
    "langmuir_coverage",
    "logistic_growth",
    "meld_score",
    "michaelis_menten",
    "modified_nucleotide_ratio",
    "monod_growth",
    "mrna_halflife",
    "mrna_halflife_concentration",
    "nad_ratio",
    "nernst_potential",
    "nussinov",
    "osmolarity",
    "osmotic_pressure",
    "oxygen_saturation",
    "pairwise_potential",
    "pcr_copies",
    "poiseuille_flow",
    "protein_rmsd",
    "protein_steady_state",
    "proton_motive_force",
    "quantum_yield",
    "receptor_occupancy",
    "reproduction_number",
    "ribosome_density",
    "riboswitch_confidence",
    "senolytic_healthy_damage",
    "sequence_identity",
    "shannon_entropy",
    "shannon_entropy_dist",
    "sigmoid",
    "telomere_attrition",
    "telomere_length_bound",
    "tm_score",
    "tm_term",
    "translation_rate",
    "weibull_survival",
    "errstate",
    "geterr",
]

allometric: Final[ufunc]
"""Allometric scaling law Y = a·Mᵇ.

`b` is not checked.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.allometric` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    pow(m, b) × a

Parameters
----------
a : array_like of float
    Normalisation constant a (the result has its unit).
m : array_like of float
    Body mass M, in the unit `a` was fitted for (usually kg).
b : array_like of float
    Scaling exponent b (0.75 for Kleiber's law of metabolic rate).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.allometric(70.0, 65.0, 0.75)
np.float64(1602.4447237995726)
"""
arrhenius_rate: Final[ufunc]
"""Arrhenius rate constant k = A·exp(−Eₐ/(R·T)).

The sign of R is folded into the constant.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.arrhenius_rate` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(ea / (t × −8.314)) × a

Parameters
----------
a : array_like of float
    Pre-exponential factor A (the result has its unit, for instance 1/s).
ea : array_like of float
    Activation energy Eₐ in J/mol (not kJ/mol).
t : array_like of float
    Absolute temperature T in K.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.arrhenius_rate(1e13, 50000.0, 298.0)
np.float64(17198.16531076306)
"""
beer_lambert: Final[ufunc]
"""Absorbance A = ε·c·l by the Beer–Lambert law.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.beer_lambert` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    (eps × c) × l

Parameters
----------
eps : array_like of float
    Molar absorption coefficient ε in L·mol⁻¹·cm⁻¹ (M⁻¹·cm⁻¹).
c : array_like of float
    Concentration in mol/L.
l : array_like of float
    Path length in cm.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.beer_lambert(6220.0, 1e-4, 1.0)
np.float64(0.622)
"""
biological_age_bound: Final[ufunc]
"""Biological age as a weighted mean of phenotypic, telomere-based and epigenetic age estimates.

The weights are optional; they are used as given, not renormalised by their sum. A weight
passed as `None` is not replaced by its default: it fails conversion.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.biological_age_bound` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (pheno_age × w1 + telomere_age × w2) + epigenetic_age × w3

Parameters
----------
pheno_age : array_like of float
    Phenotypic age estimate, years.
telomere_age : array_like of float
    Telomere-based age estimate, years.
epigenetic_age : array_like of float
    Epigenetic (clock) age estimate, years.
w1 : array_like of float, default 0.333
    Weight of `pheno_age`.
w2 : array_like of float, default 0.333
    Weight of `telomere_age`.
w3 : array_like of float, default 0.334
    Weight of `epigenetic_age`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.biological_age_bound(50, 60, 70)
np.float64(60.010000000000005)
"""
biological_age_bound_full: Final[ufunc]
bmi: Final[ufunc]
"""Body-mass index (BMI, Quetelet index) in kg/m² from weight and height.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.bmi` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    weight_kg / (height_m × height_m)

Parameters
----------
weight_kg : array_like of float
    Body weight in kg.
height_m : array_like of float
    Height in m (not cm).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.bmi(70.0, 1.75)
np.float64(22.857142857142858)
"""
body_surface_area: Final[ufunc]
"""Body surface area (BSA) in m² by the Mosteller formula √(height × weight / 3600).

Zero is accepted for both.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.body_surface_area` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    sqrt((height_cm × weight_kg) / 3600.0)

Parameters
----------
height_cm : array_like of float
    Height in cm (not m).
weight_kg : array_like of float
    Body weight in kg.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.body_surface_area(180.0, 80.0)
np.float64(2.0)
"""
boltzmann_factor: Final[ufunc]
"""Boltzmann factor exp(−E/(k·T)) of an energy per particle.

k is 1.380649e-23 J/K (exact, SI 2019).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.boltzmann_factor` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(e / (t × −1.380649e-23))

Parameters
----------
e : array_like of float
    Energy of the state in J per particle (not per mole).
t : array_like of float
    Absolute temperature T in K.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.boltzmann_factor(4.14e-21, 300.0)
np.float64(0.36805241046447656)
"""
boltzmann_probability: Final[ufunc]
"""Probability of a state of given energy: its Boltzmann factor divided by the partition function.

Not capped at 1. The partition function is checked before the temperature.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.boltzmann_probability` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(e / (t × −1.380649e-23)) / z

Parameters
----------
e : array_like of float
    Energy of the state in J per particle.
t : array_like of float
    Absolute temperature T in K.
z : array_like of float
    Partition function Z, the sum of the Boltzmann factors of all states.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The probability (not capped at 1 if `z` is smaller than the factor).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `z ≤ 0`: "Quorin.BoltzmannDistribution: Z must be positive"
    - if `t ≤ 0`: "Quorin.BoltzmannDistribution: T must be positive"

Example
-------
>>> quorin_np.boltzmann_probability(0.0, 300.0, 2.0)
np.float64(0.5)
"""
cardiac_output: Final[ufunc]
"""Cardiac output: heart rate × stroke volume.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.cardiac_output` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    hr × sv

Parameters
----------
hr : array_like of float
    Heart rate in beats/min.
sv : array_like of float
    Stroke volume per beat, in L (or mL).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The cardiac output in L/min for `sv` in L (mL/min for `sv` in mL).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `hr ≤ 0` or `sv ≤ 0`: "Quorin.CardiacOutput: HR and SV must be positive"

Example
-------
>>> quorin_np.cardiac_output(70.0, 0.07)
np.float64(4.9)
"""
catalytic_efficiency: Final[ufunc]
"""Catalytic efficiency (specificity constant) k_cat/Kₘ.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.catalytic_efficiency` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    kcat / km

Parameters
----------
kcat : array_like of float
    Turnover number k_cat, in 1/s.
km : array_like of float
    Michaelis constant Kₘ, in M.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    K_cat/Kₘ, in M⁻¹·s⁻¹ for those units (about 10⁸ to 10⁹ at the diffusion limit).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `kcat ≤ 0` or `km ≤ 0`: "Quorin.CatalyticEfficiency: kcat and Km must be positive"

Example
-------
>>> quorin_np.catalytic_efficiency(100.0, 1e-4)
np.float64(1000000.0)
"""
ckd_epi: Final[ufunc]
"""Estimated glomerular filtration rate (eGFR) by the CKD-EPI creatinine equation, in mL/min/1.73 m².

The formula has no age term: age, sex and race enter only through `scale`. `alpha` is not
checked. A NaN ratio makes both min and max give 1.0.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.ckd_epi` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    r = scr / kappa
    a = pow(min(r, 1.0), alpha) × 141.0
    (pow(max(r, 1.0), −1.209) × a) × scale

Parameters
----------
scr : array_like of float
    Serum creatinine in mg/dL (divide µmol/L by 88.4).
kappa : array_like of float
    κ, 0.7 for women, 0.9 for men.
alpha : array_like of float
    α, −0.329 for women, −0.411 for men.
scale : array_like of float
    The remaining factors: 0.993 ** age × 1.018 for women, 0.993 ** age for men (see the
    recipe).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.ckd_epi(1.2, 0.7, -0.329, 0.993**60 * 1.018)
np.float64(49.0812036065478)
"""
ckd_mdrd: Final[ufunc]
"""Estimated glomerular filtration rate (eGFR) by the 4-variable MDRD Study equation, in mL/min/1.73 m².

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.ckd_mdrd` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    a = pow(scr, −1.154) × 175.0
    (pow(age, −0.203) × a) × scale

Parameters
----------
scr : array_like of float
    Serum creatinine in mg/dL, IDMS-standardised (divide µmol/L by 88.4).
age : array_like of float
    Age in years.
scale : array_like of float
    Product of the sex and race factors: 0.742 for women, 1.0 for men (see the recipe).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.ckd_mdrd(1.2, 60.0, 1.0)
np.float64(61.75870586584279)
"""
clone_size: Final[ufunc]
"""Clone size N₀·e^(r·t) after exponential expansion.

A negative rate gives decay.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.clone_size` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    exp(r × t) × n0

Parameters
----------
n0 : array_like of float
    Initial number of cells N₀.
r : array_like of float
    Net expansion rate r, per unit of `t`.
t : array_like of float
    Time t.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The number of cells (a real, not rounded).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `n0 ≤ 0`: "Quorin.ClonalExpansion: N₀ must be positive"

Example
-------
>>> quorin_np.clone_size(10.0, 0.1, 24.0)
np.float64(110.23176380641604)
"""
cockcroft_gault: Final[ufunc]
"""Creatinine clearance (CrCl) in mL/min by the Cockcroft–Gault equation.

The sex factor is the caller's: the function applies no sex-specific constant of its own.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.cockcroft_gault` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    sex_factor × (((140.0 − age) × weight) / (scr × 72.0))

Parameters
----------
age : array_like of float
    Age in years, 0 to below 140.
weight : array_like of float
    Body weight in kg (actual, ideal or adjusted: the caller chooses).
scr : array_like of float
    Serum creatinine in mg/dL (divide µmol/L by 88.4).
sex_factor : array_like of float
    0.85 for women, 1.0 for men.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.cockcroft_gault(60.0, 72.0, 1.1, 0.85)
np.float64(61.81818181818181)
"""
competitive_inhibition: Final[ufunc]
"""Reaction rate with a competitive inhibitor, v = Vₘₐₓ·S/(Kₘ·(1 + I/Kᵢ) + S).

The inhibition constant is checked before the substrate and inhibitor levels; a zero
inhibitor level is accepted.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.competitive_inhibition` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (vmax × s) / ((km × ((i / ki) + 1.0)) + s)

Parameters
----------
vmax : array_like of float
    Maximum velocity Vₘₐₓ (the result has its unit).
km : array_like of float
    Michaelis constant Kₘ, in the unit of `s`.
s : array_like of float
    Substrate concentration S.
i : array_like of float
    Inhibitor concentration I, in the unit of `ki`.
ki : array_like of float
    Inhibition constant Kᵢ.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.competitive_inhibition(10.0, 2.0, 2.0, 1.0, 1.0)
np.float64(3.3333333333333335)
"""
dilution_concentration: Final[ufunc]
"""Concentration after n serial dilutions by a factor d, C₀·(1/d)ⁿ.

The reciprocal of `d` is raised to the power (so 100 diluted twice tenfold is
1.0000000000000002).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.dilution_concentration` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    powi(1.0 / d, n) × c0

Parameters
----------
c0 : array_like of float
    Starting concentration C₀ (the result has its unit).
d : array_like of float
    Dilution factor of each step (10.0 for a tenfold, 1:10 dilution).
n : array_like of int, counts from 0 to 4294967295
    Number of dilution steps.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The concentration, in the unit of `c0`.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `c0 ≤ 0` or `d ≤ 0`: "Quorin.DilutionSeries: C₀ and d must be positive"

Example
-------
>>> quorin_np.dilution_concentration(100.0, 10.0, 2)
np.float64(1.0000000000000002)
"""
dna_tm: Final[ufunc]
"""Melting temperature (Tm) of a short DNA oligonucleotide by the Wallace rule, from its base counts.

Tm = 4 °C × (G + C) + 2 °C × (A + T).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.dna_tm` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    s_at = a + t; s_gc = g + c
    s_gc × 4.0 + (s_at + s_at)

Parameters
----------
a : array_like of int, counts from 0 to 4294967295
    Number of adenines in the oligonucleotide (a count, not a temperature).
t : array_like of int, counts from 0 to 4294967295
    Number of thymines (not a temperature).
g : array_like of int, counts from 0 to 4294967295
    Number of guanines.
c : array_like of int, counts from 0 to 4294967295
    Number of cytosines.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.dna_tm(5, 5, 5, 5)
np.float64(60.0)
"""
doubling_time: Final[ufunc]
"""Doubling time ln 2/μ from a specific growth rate.

0.6931471805599453 is the double nearest to ln 2.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.doubling_time` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    0.6931471805599453 / mu

Parameters
----------
mu : array_like of float
    Specific growth rate μ in natural-log units (ln-fold increase per unit of time), for
    instance 1/h.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.doubling_time(0.03)
np.float64(23.104906018664845)
"""
einstein_stokes: Final[ufunc]
"""Diffusion coefficient of a sphere, D = k·T/(6π·η·r) (Stokes–Einstein relation).

k is 1.380649e-23 J/K; 18.84955592153876 is 6π as one double.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.einstein_stokes` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (t × 1.380649e-23) / ((eta × 18.84955592153876) × r)

Parameters
----------
t : array_like of float
    Absolute temperature T in K.
eta : array_like of float
    Dynamic viscosity η in Pa·s (water at 25 °C: 0.00089).
r : array_like of float
    Hydrodynamic radius r in m (not nm).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The diffusion coefficient in m²/s (multiply by 1e12 for µm²/s).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `t ≤ 0`, `eta ≤ 0` or `r ≤ 0`: "Quorin.EinsteinStokes: T, η, r must be positive"

Example
-------
>>> quorin_np.einstein_stokes(298.0, 0.00089, 1e-9)
np.float64(2.452496617281457e-10)
"""
energy_charge: Final[ufunc]
"""Adenylate energy charge ([ATP] + ½[ADP]) / ([ATP] + [ADP] + [AMP]).

The total check lets a NaN total pass.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.energy_charge` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    total = (atp + adp) + amp
    (atp + adp × 0.5) / total

Parameters
----------
atp : array_like of float
    ATP pool.
adp : array_like of float
    ADP pool, in the unit of `atp`.
amp : array_like of float
    AMP pool, in the unit of `atp`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.energy_charge(5.0, 3.0, 2.0)
np.float64(0.65)
"""
epigenetic_acceleration: Final[ufunc]
"""Epigenetic age acceleration: clock age minus chronological age.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.epigenetic_acceleration` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    clock_age − chrono_age

Parameters
----------
clock_age : array_like of float
    Age given by an epigenetic (DNA methylation) clock, years, 0 to 150.
chrono_age : array_like of float
    Chronological age, years.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.epigenetic_acceleration(45.0, 40.0)
np.float64(5.0)
"""
fick_flux: Final[ufunc]
"""Diffusive flux J = −D·Δc/Δx by Fick's first law, with Δc = c_high − c_low.

Only `dx` is checked, by an equality test: −0.0 fails it, a negative or NaN `dx` passes (a
negative one flips the sign).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.fick_flux` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    ((c_high − c_low) × (−d)) / dx

Parameters
----------
d : array_like of float
    Diffusion coefficient D in m²/s.
c_high : array_like of float
    First concentration, mol/m³ (Δc = c_high − c_low).
c_low : array_like of float
    Second concentration, mol/m³.
dx : array_like of float
    Distance Δx over which the concentration changes, m.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.fick_flux(1e-9, 2.0, 1.0, 0.001)
np.float64(-1e-06)
"""
first_order_pk_concentration: Final[ufunc]
"""Plasma concentration after first-order elimination for a given time.

C(t) = C₀·e^(−kₑ·t), a one-compartment model after an intravenous bolus.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.first_order_pk_concentration` computes it, with the same checks. A
refused element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(time × (−ke)) × c0

Parameters
----------
c0 : array_like of float
    Initial concentration C₀ (for instance mg/L; the result has its unit).
ke : array_like of float
    Elimination rate constant kₑ, per unit of `time` (for instance 1/h).
time : array_like of float
    Time since the dose, in the unit `ke` is per.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.first_order_pk_concentration(10.0, 0.5, 2.0)
np.float64(3.6787944117144233)
"""
first_order_pk_halflife: Final[ufunc]
"""Elimination half-life from a first-order elimination rate constant.

t½ = ln 2 / kₑ; 0.6931471805599453 is the double nearest to ln 2.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.first_order_pk_halflife` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    0.6931471805599453 / ke

Parameters
----------
ke : array_like of float
    Elimination rate constant kₑ (for instance 1/h).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The half-life, in the reciprocal unit of `ke` (hours for 1/h).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `ke ≤ 0`: "Quorin.FirstOrderPK: ke must be positive (halflife_positive)"

Example
-------
>>> quorin_np.first_order_pk_halflife(0.5)
np.float64(1.3862943611198906)
"""
fret_efficiency: Final[ufunc]
"""FRET (Förster resonance energy transfer) efficiency E = 1/(1 + (r/R₀)⁶).

`r` is not checked, and only the sixth power of r/r0 enters, so signs do not matter. The
check is an equality test: −0.0 fails it, a negative or NaN `r0` passes.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.fret_efficiency` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    q = r / r0; q2 = q × q
    1.0 / (((q2 × q2) × q2) + 1.0)

Parameters
----------
r : array_like of float
    Donor–acceptor distance r.
r0 : array_like of float
    Förster radius R₀, in the unit of `r` (typically nm).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The transfer efficiency, from 0 to 1 (0.5 at r = R₀).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `r0 = 0`: "Quorin.FretEfficiency: R₀ must be non-zero"

Example
-------
>>> quorin_np.fret_efficiency(10.0, 5.0)
np.float64(0.015384615384615385)
"""
@overload
def gc_content(sequence: str) -> float64:
    """GC content: the fraction of G and C characters in a text, over its length in UTF-8 bytes.

    Counts the characters that are exactly `G`, `C`, `g` or `c`. No character is rejected and no
    other character counts (not `S`, not other ambiguity codes); a non-ASCII character never
    counts as G or C but adds its two to four bytes to the length.

    Each argument is a str or a collection of them (a list or tuple, a NumPy array of
    StringDType or objects, a pandas Series, which gives a Series back); they broadcast against
    each other as NumPy arrays do, and every element is computed exactly as `quorin.gc_content`
    computes it, with the same checks. A refused element raises the `ValueError` below (a
    non-str element the scalar conversion's `TypeError`), naming the element's index, unless
    `quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

    A missing element (`None`, a float NaN, pandas' `NA`, the NA of a StringDType) is never
    refused: its result is NaN (null over a polars column). A mapping is refused with a
    `TypeError`: pass its values (`.values()`) or a pandas Series.

    The texts are read where they lie and computed with the interpreter lock held, a few
    thousand at a time, letting other threads run between them.

    Formula::

        count(G, C, g, c) / length in bytes

    Parameters
    ----------
    sequence : str or array_like of str
        Nucleotide sequence (DNA or RNA, any case).

    Returns
    -------
    ndarray of float64, or a scalar for scalar arguments
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
    """
@overload
def gc_content(sequence: _Texts) -> NDArray[float64]:
    """GC content: the fraction of G and C characters in a text, over its length in UTF-8 bytes.

    Counts the characters that are exactly `G`, `C`, `g` or `c`. No character is rejected and no
    other character counts (not `S`, not other ambiguity codes); a non-ASCII character never
    counts as G or C but adds its two to four bytes to the length.

    Each argument is a str or a collection of them (a list or tuple, a NumPy array of
    StringDType or objects, a pandas Series, which gives a Series back); they broadcast against
    each other as NumPy arrays do, and every element is computed exactly as `quorin.gc_content`
    computes it, with the same checks. A refused element raises the `ValueError` below (a
    non-str element the scalar conversion's `TypeError`), naming the element's index, unless
    `quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

    A missing element (`None`, a float NaN, pandas' `NA`, the NA of a StringDType) is never
    refused: its result is NaN (null over a polars column). A mapping is refused with a
    `TypeError`: pass its values (`.values()`) or a pandas Series.

    The texts are read where they lie and computed with the interpreter lock held, a few
    thousand at a time, letting other threads run between them.

    Formula::

        count(G, C, g, c) / length in bytes

    Parameters
    ----------
    sequence : str or array_like of str
        Nucleotide sequence (DNA or RNA, any case).

    Returns
    -------
    ndarray of float64, or a scalar for scalar arguments
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
    """
gibbs_free_energy: Final[ufunc]
"""Gibbs free energy change ΔG = ΔH − T·ΔS.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.gibbs_free_energy` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    dh − (t × ds)

Parameters
----------
dh : array_like of float
    Enthalpy change ΔH (for instance kJ/mol; the result has its unit).
t : array_like of float
    Absolute temperature T in K.
ds : array_like of float
    Entropy change ΔS, in the energy unit of `dh` per kelvin (kJ/(mol·K) with kJ/mol).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.gibbs_free_energy(-100.0, 300.0, -0.5)
np.float64(50.0)
"""
gompertz_hazard: Final[ufunc]
"""Gompertz mortality hazard h(t) = α·e^(β·t).

`beta` is not checked, so a negative `beta` gives a decreasing hazard.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.gompertz_hazard` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(beta × time) × alpha

Parameters
----------
alpha : array_like of float
    Baseline hazard α at time 0, per unit of time.
beta : array_like of float
    Rate of ageing β, per unit of `time` (for humans about 0.085 per year).
time : array_like of float
    Time or age t.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The hazard, in the unit of `alpha`.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `alpha ≤ 0`: "Quorin.GompertzMortality: alpha must be positive (mortality_pos)"
    - if `time < 0`: "Quorin.GompertzMortality: time must be non-negative"

Example
-------
>>> quorin_np.gompertz_hazard(0.5, 0.1, 10)
np.float64(1.3591409142295225)
"""
hardy_weinberg: Final[ufunc]
"""Genotype frequencies p², 2pq, q² under Hardy–Weinberg equilibrium for an allele frequency p.

The frequencies of a biallelic locus whose first allele has frequency `p`, in the order
homozygote of the first allele, heterozygote (the expected heterozygosity), homozygote of
the second allele. The three are not renormalised, so their sum may differ from 1 in the
last bit.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.hardy_weinberg` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    q = 1 − p
    (p × p, q × (2 × p), q × q)

Parameters
----------
p : array_like of float
    Frequency of the first allele, from 0 to 1.

Returns
-------
tuple of 3 ndarrays of float64
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
>>> quorin_np.hardy_weinberg(0.3)
(np.float64(0.09), np.float64(0.42), np.float64(0.48999999999999994))
"""
hardy_weinberg_test: Final[ufunc]
"""Observed genotype frequencies and a chi-squared deviation from Hardy–Weinberg equilibrium, on frequencies.

The statistic is formed on frequencies, not counts: it is Pearson's count-based statistic
divided by N. An expected frequency of zero contributes a zero term.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.hardy_weinberg_test` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

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
n_aa_dom : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the first (dominant) allele.
n_aa_het : array_like of int, counts from 0 to 18446744073709551615
    Count of heterozygotes.
n_aa_rec : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the second (recessive) allele.

Returns
-------
tuple of 4 ndarrays of float64
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
>>> quorin_np.hardy_weinberg_test(30, 40, 30)
(np.float64(0.3), np.float64(0.4), np.float64(0.3), np.float64(0.03999999999999998))
"""
henderson_hasselbalch: Final[ufunc]
"""Buffer pH by the Henderson–Hasselbalch equation pH = pKₐ + log₁₀([base]/[acid]).

The decimal logarithm is the natural one divided by 2.302585092994046 (ln 10); `pka` is not
checked.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.henderson_hasselbalch` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    log(base / acid) / 2.302585092994046 + pka

Parameters
----------
pka : array_like of float
    PKₐ of the acid.
base : array_like of float
    Concentration of the conjugate base [A⁻].
acid : array_like of float
    Concentration of the acid [HA], in the unit of `base`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.henderson_hasselbalch(6.1, 24.0, 1.2)
np.float64(7.401029995663981)
"""
hill_effect: Final[ufunc]
"""Effect of a concentration by the Hill equation E = Eₘₐₓ·cⁿ/(EC50ⁿ + cⁿ).

With n = 0 every accepted `c` gives emax / 2. Powers that overflow give NaN (infinity over
infinity); nothing is rescaled.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.hill_effect` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    cn = powi(c, n)
    (emax × cn) / (powi(ec50, n) + cn)

Parameters
----------
emax : array_like of float
    Maximum effect Eₘₐₓ (the result has its unit).
ec50 : array_like of float
    Concentration giving half the maximum effect, in the unit of `c`.
c : array_like of float
    Concentration.
n : array_like of int, counts from 0 to 4294967295
    Hill coefficient, a whole number.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.hill_effect(100.0, 10.0, 20.0, 2)
np.float64(80.0)
"""
hill_occupancy: Final[ufunc]
"""Fractional occupancy θ = Sⁿ/(Kⁿ + Sⁿ) of a cooperative binder (Hill equation).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.hill_occupancy` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    sn = powi(s, n)
    sn / (powi(k, n) + sn)

Parameters
----------
s : array_like of float
    Ligand concentration S.
k : array_like of float
    Half-saturation constant K, in the unit of `s`.
n : array_like of int, counts from 0 to 4294967295
    Hill coefficient, a whole number.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.hill_occupancy(2.0, 1.0, 2)
np.float64(0.8)
"""
ic50_bound: Final[ufunc]
"""IC50 of a competitive inhibitor by the Cheng–Prusoff relation IC50 = Kᵢ·(1 + [S]/Kₘ).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.ic50_bound` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    ki × (substrate / km + 1.0)

Parameters
----------
ki : array_like of float
    Inhibition constant Kᵢ (the result has its unit).
substrate : array_like of float
    Substrate concentration [S], in the unit of `km`.
km : array_like of float
    Michaelis constant Kₘ.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.ic50_bound(2.0, 5.0, 5.0)
np.float64(4.0)
"""
inflamm_aging_score: Final[ufunc]
"""Inflammageing score: a weighted sum of IL-6, TNF-α and CRP levels.

The weights need not sum to anything in particular.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.inflamm_aging_score` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (w_il6 × il6 + w_tnfa × tnfa) + w_crp × crp

Parameters
----------
w_il6 : array_like of float
    Weight of IL-6.
w_tnfa : array_like of float
    Weight of TNF-α.
w_crp : array_like of float
    Weight of CRP.
il6 : array_like of float
    IL-6 level (for instance pg/mL).
tnfa : array_like of float
    TNF-α level (for instance pg/mL).
crp : array_like of float
    C-reactive protein level (for instance mg/L).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.inflamm_aging_score(0.5, 0.3, 0.2, 2.0, 1.5, 3.0)
np.float64(2.05)
"""
langmuir_coverage: Final[ufunc]
"""Fractional surface coverage θ = K·c/(1 + K·c) by the Langmuir isotherm.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.langmuir_coverage` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    p = k × c
    p / (1.0 + p)

Parameters
----------
k : array_like of float
    Equilibrium (affinity) constant K, in the reciprocal unit of `c`.
c : array_like of float
    Concentration or partial pressure c.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The covered fraction, from 0 to 1.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `k ≤ 0` or `c ≤ 0`: "Quorin.LangmuirIsotherm: K and c must be positive"

Example
-------
>>> quorin_np.langmuir_coverage(2.0, 3.0)
np.float64(0.8571428571428571)
"""
logistic_growth: Final[ufunc]
"""Population at time t under logistic growth, N(t) = K/(1 + ((K − N₀)/N₀)·e^(−r·t)).

`n0` above `k` is accepted (the population then falls towards K).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.logistic_growth` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    a = (k − n0) / n0
    k / (exp(t × (−r)) × a + 1.0)

Parameters
----------
k : array_like of float
    Carrying capacity K.
n0 : array_like of float
    Initial population N₀, in the unit of `k`.
r : array_like of float
    Intrinsic growth rate r, per unit of `t`.
t : array_like of float
    Time t.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The population, in the unit of `k`.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `k ≤ 0`: "Quorin.LogisticGrowth: K must be positive"
    - if `n0 ≤ 0`: "Quorin.LogisticGrowth: N₀ must be positive"

Example
-------
>>> quorin_np.logistic_growth(1000.0, 10.0, 0.5, 10.0)
np.float64(599.8596018130347)
"""
meld_score: Final[ufunc]
"""Raw MELD (Model for End-stage Liver Disease) score from bilirubin, INR and creatinine.

The inputs are used unchanged (no floor at 1.0, no cap, no rounding), so values below 1
lower the score and it may be negative.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.meld_score` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    s = 9.57 × log(creat) + (11.2 × log(inr) + 3.78 × log(bili))
    s + 6.43

Parameters
----------
bili : array_like of float
    Serum bilirubin in mg/dL.
inr : array_like of float
    International normalised ratio (no unit).
creat : array_like of float
    Serum creatinine in mg/dL.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.meld_score(2.0, 1.5, 1.2)
np.float64(15.336122851846179)
"""
michaelis_menten: Final[ufunc]
"""Reaction velocity by the Michaelis–Menten equation v = Vₘₐₓ·[S]/(Kₘ + [S]).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.michaelis_menten` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (vmax × substrate) / (km + substrate)

Parameters
----------
vmax : array_like of float
    Maximum velocity Vₘₐₓ (the result has its unit).
km : array_like of float
    Michaelis constant Kₘ, in the unit of `substrate`.
substrate : array_like of float
    Substrate concentration [S].

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.michaelis_menten(10.0, 2.0, 2.0)
np.float64(5.0)
"""
modified_nucleotide_ratio: Final[ufunc]
"""Fraction of modified nucleotides, modified / total.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.modified_nucleotide_ratio` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    modified / total

Parameters
----------
modified : array_like of int, counts from 0 to 4294967295
    Number of modified nucleotides.
total : array_like of int, counts from 0 to 4294967295
    Total number of nucleotides.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The fraction, from 0 to 1.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `total = 0`: "Quorin.ModifiedNucleotideRatio: total must be positive"
    - if `modified > total`: "Quorin.ModifiedNucleotideRatio: modified must be ≤ total"

Example
-------
>>> quorin_np.modified_nucleotide_ratio(3, 10)
np.float64(0.3)
"""
monod_growth: Final[ufunc]
"""Specific growth rate μ = μₘₐₓ·S/(Kₛ + S) by the Monod equation.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.monod_growth` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    (mu_max × s) / (ks + s)

Parameters
----------
mu_max : array_like of float
    Maximum specific growth rate μₘₐₓ (for instance 1/h).
ks : array_like of float
    Half-saturation constant Kₛ, in the unit of `s`.
s : array_like of float
    Limiting substrate concentration S.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The growth rate, in the unit of `mu_max`.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `mu_max ≤ 0`, `ks ≤ 0` or `s ≤ 0`: "Quorin.MonodGrowth: μmax, Ks, S must be
      positive"

Example
-------
>>> quorin_np.monod_growth(0.8, 2.0, 6.0)
np.float64(0.6000000000000001)
"""
mrna_halflife: Final[ufunc]
"""Half-life of an mRNA decaying with a first-order rate constant.

t½ = ln 2 / k; 0.6931471805599453 is the double nearest to ln 2.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.mrna_halflife` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    0.6931471805599453 / decay_rate

Parameters
----------
decay_rate : array_like of float
    First-order decay rate constant k (for instance per minute).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The half-life, in the reciprocal unit of the rate (minutes for a rate per minute).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `decay_rate ≤ 0`: "Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)"

Example
-------
>>> quorin_np.mrna_halflife(0.1)
np.float64(6.931471805599452)
"""
mrna_halflife_concentration: Final[ufunc]
"""Amount of an mRNA left after first-order decay for a given time.

The decay law m(t) = m₀·e^(−k·t).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.mrna_halflife_concentration` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(time × (−decay_rate)) × initial

Parameters
----------
initial : array_like of float
    Amount m₀ at time 0, in any unit (the result has it).
decay_rate : array_like of float
    First-order decay rate constant k, per unit of `time`.
time : array_like of float
    Elapsed time t, in the unit `decay_rate` is per.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.mrna_halflife_concentration(100.0, 0.1, 5.0)
np.float64(60.653065971263345)
"""
nad_ratio: Final[ufunc]
"""The NAD⁺/NADH ratio.

The second parameter is checked first.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.nad_ratio` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    nad_plus / nadh

Parameters
----------
nad_plus : array_like of float
    NAD⁺ amount.
nadh : array_like of float
    NADH amount, in the unit of `nad_plus`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The ratio (no unit).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `nadh ≤ 0`: "Quorin.NADPlusRatio: NADH must be positive"
    - if `nad_plus < 0`: "Quorin.NADPlusRatio: NAD+ must be non-negative"

Example
-------
>>> quorin_np.nad_ratio(3.0, 1.5)
np.float64(2.0)
"""
nernst_potential: Final[ufunc]
"""Nernst potential E = E₀ − (R·T/(n·F))·ln(c_out/c_in), in volts.

R is 8.314 J/(mol·K) and F is 96485.0 C/mol.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.nernst_potential` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    s = (t × −8.314) / (n × 96485.0)
    e0 + log(c_out / c_in) × s

Parameters
----------
e0 : array_like of float
    Standard potential E₀ in V (0.0 for a membrane equilibrium potential).
t : array_like of float
    Absolute temperature T in K (37 °C is 310.15 K).
n : array_like of float
    Number of electrons, or the magnitude of the ion's charge |z| (a real; 1.5 is accepted).
c_out : array_like of float
    The concentration in the numerator of the logarithm.
c_in : array_like of float
    The concentration in the denominator, in the unit of `c_out`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.nernst_potential(0.0, 310.15, 1.0, 140.0, 5.0)
np.float64(-0.08905404533864951)
"""
@overload
def nussinov(sequence: str, *, min_loop: int = 0, workers: int = 1) -> int64:
    """Maximum number of non-crossing base pairs of an RNA sequence (Nussinov base-pair maximisation).

    Counts the pairs A–U, G–C and G–U in either order, with no two pairs crossing and no base in
    two pairs. Upper and lower case are accepted, and `T` counts as `U`. The time grows as the
    cube of the length and the memory as its square.

    Each argument is a str or a collection of them (a list or tuple, a NumPy array of
    StringDType or objects, a pandas Series, which gives a Series back); they broadcast against
    each other as NumPy arrays do, and every element is computed exactly as `quorin.nussinov`
    computes it, with the same checks. A refused element raises the `ValueError` below (a
    non-str element the scalar conversion's `TypeError`), naming the element's index, unless
    `quorin_np.errstate(refused=...)` asks for -1 (no count is negative, so the result stays
    int64) or a warning instead.

    A missing element (`None`, a float NaN, pandas' `NA`, the NA of a StringDType) is never
    refused: its result is -1, and over a pandas or polars column a nullable integer, missing
    there. A mapping is refused with a `TypeError`: pass its values (`.values()`) or a pandas
    Series.

    The texts are read where they lie, with the interpreter lock held, and computed without it
    on `workers` threads of the call's own, so that other threads run meanwhile; on the main
    thread Ctrl-C stops a long call within milliseconds.

    Formula::

        γ(i, j) = 0 if i ≥ j, else the largest of
            γ(i + 1, j), γ(i, j − 1),
            γ(i + 1, j − 1) + (1 if the bases at i and j can pair, else 0),
            γ(i, k) + γ(k + 1, j) for i ≤ k < j
        the result is γ(0, n − 1), and 0 for the empty string

    Parameters
    ----------
    sequence : str or array_like of str
        RNA (or DNA) sequence of A, U, G, C, T in either case.
    min_loop : int, 0 or more, one value for the whole call, default 0
        The minimum hairpin loop: no pair encloses fewer bases (3 the usual choice of RNA
        folding; 0, the default, the contract's model, whose counts these are).
    workers : int, a number of threads, or -1 for every core, default 1
        Threads that fold, the calling one among them (SciPy's convention: -1 for every core, -2
        for all but one); results, refusals, Ctrl-C and `MemoryError` are those of one thread.

    Returns
    -------
    ndarray of int64, or a scalar for a single sequence
        The largest number of base pairs.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if a character is not one of `AUGCTaugct` (the first such character is named):
          "Quorin.RnaNussinov: invalid base '{c}' (alphabet is A,U,G,C; T accepted as U)"

    Notes
    -----
    Differs from RNA folding programs: no energy model (the result is not a minimum free energy,
    MFE), and no minimum hairpin loop unless `min_loop` asks for one (`AU` folds to 1 pair,
    where programs usually require 3 unpaired bases). Only the count is returned:
    `nussinov_structure` and `nussinov_pairs` give one optimal structure.
    """
@overload
def nussinov(sequence: _Texts, *, min_loop: int = 0, workers: int = 1) -> NDArray[int64]:
    """Maximum number of non-crossing base pairs of an RNA sequence (Nussinov base-pair maximisation).

    Counts the pairs A–U, G–C and G–U in either order, with no two pairs crossing and no base in
    two pairs. Upper and lower case are accepted, and `T` counts as `U`. The time grows as the
    cube of the length and the memory as its square.

    Each argument is a str or a collection of them (a list or tuple, a NumPy array of
    StringDType or objects, a pandas Series, which gives a Series back); they broadcast against
    each other as NumPy arrays do, and every element is computed exactly as `quorin.nussinov`
    computes it, with the same checks. A refused element raises the `ValueError` below (a
    non-str element the scalar conversion's `TypeError`), naming the element's index, unless
    `quorin_np.errstate(refused=...)` asks for -1 (no count is negative, so the result stays
    int64) or a warning instead.

    A missing element (`None`, a float NaN, pandas' `NA`, the NA of a StringDType) is never
    refused: its result is -1, and over a pandas or polars column a nullable integer, missing
    there. A mapping is refused with a `TypeError`: pass its values (`.values()`) or a pandas
    Series.

    The texts are read where they lie, with the interpreter lock held, and computed without it
    on `workers` threads of the call's own, so that other threads run meanwhile; on the main
    thread Ctrl-C stops a long call within milliseconds.

    Formula::

        γ(i, j) = 0 if i ≥ j, else the largest of
            γ(i + 1, j), γ(i, j − 1),
            γ(i + 1, j − 1) + (1 if the bases at i and j can pair, else 0),
            γ(i, k) + γ(k + 1, j) for i ≤ k < j
        the result is γ(0, n − 1), and 0 for the empty string

    Parameters
    ----------
    sequence : str or array_like of str
        RNA (or DNA) sequence of A, U, G, C, T in either case.
    min_loop : int, 0 or more, one value for the whole call, default 0
        The minimum hairpin loop: no pair encloses fewer bases (3 the usual choice of RNA
        folding; 0, the default, the contract's model, whose counts these are).
    workers : int, a number of threads, or -1 for every core, default 1
        Threads that fold, the calling one among them (SciPy's convention: -1 for every core, -2
        for all but one); results, refusals, Ctrl-C and `MemoryError` are those of one thread.

    Returns
    -------
    ndarray of int64, or a scalar for a single sequence
        The largest number of base pairs.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if a character is not one of `AUGCTaugct` (the first such character is named):
          "Quorin.RnaNussinov: invalid base '{c}' (alphabet is A,U,G,C; T accepted as U)"

    Notes
    -----
    Differs from RNA folding programs: no energy model (the result is not a minimum free energy,
    MFE), and no minimum hairpin loop unless `min_loop` asks for one (`AU` folds to 1 pair,
    where programs usually require 3 unpaired bases). Only the count is returned:
    `nussinov_structure` and `nussinov_pairs` give one optimal structure.
    """
osmolarity: Final[ufunc]
"""Calculated serum osmolarity 2·Na + glucose/18 + BUN/2.8, in mOsm/L.

Zero is accepted for all three.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.osmolarity` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    (2 × na + glucose / 18.0) + bun / 2.8

Parameters
----------
na : array_like of float
    Serum sodium in mmol/L.
glucose : array_like of float
    Serum glucose in mg/dL.
bun : array_like of float
    Blood urea nitrogen in mg/dL.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.osmolarity(140.0, 90.0, 14.0)
np.float64(290.0)
"""
osmotic_pressure: Final[ufunc]
"""Van 't Hoff osmotic pressure Π = i·M·R·T.

R is 8.314 J/(mol·K).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.osmotic_pressure` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    ((i × m) × 8.314) × t

Parameters
----------
i : array_like of float
    Van 't Hoff factor i (particles per formula unit; about 2 for NaCl).
m : array_like of float
    Molar concentration M: mol/L gives kPa, mol/m³ gives Pa.
t : array_like of float
    Absolute temperature T in K.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.osmotic_pressure(2.0, 0.15, 310.0)
np.float64(773.2019999999999)
"""
oxygen_saturation: Final[ufunc]
"""Oxygen saturation (SO₂): the fraction of haemoglobin carrying oxygen.

The total check is an equality test, so a NaN total passes.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.oxygen_saturation` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    total = hb + hb_o2
    hb_o2 / total

Parameters
----------
hb_o2 : array_like of float
    Oxyhaemoglobin amount.
hb : array_like of float
    Deoxyhaemoglobin amount, in the unit of `hb_o2`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.oxygen_saturation(14.2, 0.8)
np.float64(0.9466666666666667)
"""
pairwise_potential: Final[ufunc]
"""Total of a list of pairwise potential terms, added in list order.

The sum starts at −0.0, so the empty list gives −0.0.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.pairwise_potential` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    s = −0.0; for each x in list order: s = s + x

Parameters
----------
pairs : array_like of float, the list along the last axis
    The energy terms, in one unit (for instance kcal/mol).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The sum, in the unit of the terms.

Raises
------
Nothing: the function makes no checks; only the conversion of its arguments can fail.
"""
pcr_copies: Final[ufunc]
"""Copies after n PCR cycles, N₀·Eⁿ, with a per-cycle amplification factor E.

The power is the integer power, not `pow`.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.pcr_copies` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    powi(e, n) × n0

Parameters
----------
n0 : array_like of float
    Initial number of copies N₀.
e : array_like of float
    Amplification factor per cycle: 2.0 for perfect doubling, 1.9 for 90 % efficiency (1 +
    efficiency, not the efficiency itself).
n : array_like of int, counts from 0 to 4294967295
    Number of cycles.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.pcr_copies(100.0, 1.9, 30)
np.float64(23046661789.719513)
"""
poiseuille_flow: Final[ufunc]
"""Volumetric flow Q = π·r⁴·ΔP/(8·η·L) through a tube by the Hagen–Poiseuille law.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.poiseuille_flow` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    r2 = r × r
    (dp × ((r2 × r2) × 3.141592653589793)) / (l × (eta × 8.0))

Parameters
----------
r : array_like of float
    Tube radius r in m (not the diameter).
dp : array_like of float
    Pressure difference ΔP in Pa (1 mmHg is 133.322 Pa).
eta : array_like of float
    Dynamic viscosity η in Pa·s (blood: about 0.0035).
l : array_like of float
    Tube length L in m.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.poiseuille_flow(0.002, 100.0, 0.0035, 0.1)
np.float64(1.7951958020513099e-06)
"""
protein_rmsd: Final[ufunc]
"""Root-mean-square deviation (RMSD) of two equally long lists of 3-D points paired by position, without superposition.

Two empty lists give 0.0.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.protein_rmsd` computes it, with the same checks. A refused element raises
the `ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    s = −0.0; for each pair: s = s + ((dx × dx + dy × dy) + dz × dz), with d = first − second
    sqrt(s / n)

Parameters
----------
coords1 : array_like of float, shape (..., n, 3)
    The first structure's points, (x, y, z) each, typically Å.
coords2 : array_like of float, shape (..., n, 3)
    The second structure's points, paired with the first by position.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
"""
protein_steady_state: Final[ufunc]
"""Steady-state protein level k_syn/k_deg of a protein made at a constant rate and degraded by first order.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.protein_steady_state` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    ksyn / kdeg

Parameters
----------
ksyn : array_like of float
    Synthesis rate (amount per unit of time).
kdeg : array_like of float
    First-order degradation rate constant, per the same unit of time.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.protein_steady_state(10.0, 0.1)
np.float64(100.0)
"""
proton_motive_force: Final[ufunc]
"""Proton-motive force Δp = Δψ − (2.303·R·T/F)·ΔpH, in volts.

The constant −19.147142 is −(8.314 × 2.303), one double; F is 96485.0 C/mol. At 298 K the
factor 2.303·R·T/F is 59.1 mV per pH unit.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.proton_motive_force` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    d_psi + ((t × −19.147142) / 96485.0) × d_ph

Parameters
----------
d_psi : array_like of float
    Membrane potential difference Δψ = ψ(inside) − ψ(outside), in V.
t : array_like of float
    Absolute temperature T in K.
d_ph : array_like of float
    PH difference ΔpH = pH(inside) − pH(outside).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.proton_motive_force(-0.15, 298.0, 0.5)
np.float64(-0.17956857706379228)
"""
quantum_yield: Final[ufunc]
"""Fluorescence quantum yield Φ = k_r/(k_r + k_nr).

A zero `knr` gives 1.0.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.quantum_yield` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    kr / (knr + kr)

Parameters
----------
kr : array_like of float
    Radiative rate constant k_r.
knr : array_like of float
    Non-radiative rate constant k_nr, in the unit of `kr`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The quantum yield, from 0 to 1.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `kr ≤ 0`: "Quorin.FluorescenceQuantumYield: kr must be positive"
    - if `knr < 0`: "Quorin.FluorescenceQuantumYield: knr must be non-negative"

Example
-------
>>> quorin_np.quantum_yield(3.0, 1.0)
np.float64(0.75)
"""
receptor_occupancy: Final[ufunc]
"""Fraction of receptors bound, L/(K_D + L), at a free ligand concentration.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.receptor_occupancy` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    l / (kd + l)

Parameters
----------
l : array_like of float
    Free ligand concentration L.
kd : array_like of float
    Dissociation constant K_D, in the unit of `l`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The bound fraction, from 0 to 1.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `l ≤ 0` or `kd ≤ 0`: "Quorin.ReceptorBinding: L and KD must be positive"

Example
-------
>>> quorin_np.receptor_occupancy(3.0, 1.0)
np.float64(0.75)
"""
reproduction_number: Final[ufunc]
"""Basic reproduction number R₀ = β/γ of the SIR model.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.reproduction_number` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    beta / gamma

Parameters
----------
beta : array_like of float
    Transmission rate β, per unit of time.
gamma : array_like of float
    Recovery rate γ (1 / infectious period), per the same unit.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    R₀ (no unit).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `beta ≤ 0` or `gamma ≤ 0`: "Quorin.SirEpidemic: β and γ must be positive"

Example
-------
>>> quorin_np.reproduction_number(0.3, 0.1)
np.float64(2.9999999999999996)
"""
ribosome_density: Final[ufunc]
"""Ribosomes per unit of transcript length, capped at full coverage (1.0).

A NaN quotient gives 1.0 (the min rule).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.ribosome_density` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    min(n_ribosomes / length, 1.0)

Parameters
----------
n_ribosomes : array_like of float
    Number of ribosomes on the transcript (a real; 2.5 is accepted).
length : array_like of float
    Transcript length, in the unit the density is per (for instance codons or ribosome
    footprints).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.ribosome_density(5.0, 10.0)
np.float64(0.5)
"""
riboswitch_confidence: Final[ufunc]
"""Confidence score of a riboswitch fold from its minimum free energy (MFE) and ensemble diversity.

The second parameter is checked first.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.riboswitch_confidence` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    c = exp(ensemble_div / −10.0)
    e = exp(mfe / 50.0)
    (1 − e) × c

Parameters
----------
mfe : array_like of float
    Minimum free energy of the fold in kcal/mol, at most 0 (as an energy-model folding
    program reports it).
ensemble_div : array_like of float
    Ensemble diversity, the mean base-pair distance within the Boltzmann ensemble.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.riboswitch_confidence(-10.0, 5.0)
np.float64(0.10994535592122393)
"""
senolytic_healthy_damage: Final[ufunc]
"""Damage to healthy cells from a senolytic dose: the share 1 − selectivity of the dose.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.senolytic_healthy_damage` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (1.0 − sel) × dose

Parameters
----------
sel : array_like of float
    Selectivity for senescent cells, from 0 to 1.
dose : array_like of float
    Dose (the result has its unit).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.senolytic_healthy_damage(0.75, 4.0)
np.float64(1.0)
"""
@overload
def sequence_identity(seq1: str, seq2: str) -> float64:
    """Fraction of positions at which two texts carry the same character, without alignment.

    Characters are paired from the start until either text ends, compared exactly
    (case-sensitive, `T` and `U` differ), and the matches are divided by the longer length in
    UTF-8 bytes, so the overhang of the longer text counts as mismatches.

    Each argument is a str or a collection of them (a list or tuple, a NumPy array of
    StringDType or objects, a pandas Series, which gives a Series back); they broadcast against
    each other as NumPy arrays do, and every element is computed exactly as
    `quorin.sequence_identity` computes it, with the same checks. A refused element raises the
    `ValueError` below (a non-str element the scalar conversion's `TypeError`), naming the
    element's index, unless `quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

    A missing element (`None`, a float NaN, pandas' `NA`, the NA of a StringDType) is never
    refused: its result is NaN (null over a polars column). A mapping is refused with a
    `TypeError`: pass its values (`.values()`) or a pandas Series.

    The texts are read where they lie and computed with the interpreter lock held, a few
    thousand at a time, letting other threads run between them.

    Formula::

        matches / max(length of seq1, length of seq2)

    Parameters
    ----------
    seq1 : str or array_like of str
        First sequence.
    seq2 : str or array_like of str
        Second sequence.

    Returns
    -------
    ndarray of float64, or a scalar for scalar arguments
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
    """
@overload
def sequence_identity(seq1: _Texts | str, seq2: _Texts | str) -> NDArray[float64]:
    """Fraction of positions at which two texts carry the same character, without alignment.

    Characters are paired from the start until either text ends, compared exactly
    (case-sensitive, `T` and `U` differ), and the matches are divided by the longer length in
    UTF-8 bytes, so the overhang of the longer text counts as mismatches.

    Each argument is a str or a collection of them (a list or tuple, a NumPy array of
    StringDType or objects, a pandas Series, which gives a Series back); they broadcast against
    each other as NumPy arrays do, and every element is computed exactly as
    `quorin.sequence_identity` computes it, with the same checks. A refused element raises the
    `ValueError` below (a non-str element the scalar conversion's `TypeError`), naming the
    element's index, unless `quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

    A missing element (`None`, a float NaN, pandas' `NA`, the NA of a StringDType) is never
    refused: its result is NaN (null over a polars column). A mapping is refused with a
    `TypeError`: pass its values (`.values()`) or a pandas Series.

    The texts are read where they lie and computed with the interpreter lock held, a few
    thousand at a time, letting other threads run between them.

    Formula::

        matches / max(length of seq1, length of seq2)

    Parameters
    ----------
    seq1 : str or array_like of str
        First sequence.
    seq2 : str or array_like of str
        Second sequence.

    Returns
    -------
    ndarray of float64, or a scalar for scalar arguments
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
    """
shannon_entropy: Final[ufunc]
"""Binary Shannon entropy, in nats, of an event of probability p.

A term whose probability is 0 contributes nothing, and a result that is not positive is
+0.0.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.shannon_entropy` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    a = log(p) × p, or 0 if p ≤ 0
    q = 1 − p
    b = log(q) × q, or 0 if q ≤ 0
    h = −(a + b); the result is h if h > 0, else 0.0

Parameters
----------
p : array_like of float
    Probability of the event, from 0 to 1.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.shannon_entropy(0.5)
np.float64(0.6931471805599453)
"""
shannon_entropy_dist: Final[ufunc]
"""Shannon entropy, in nats, of a discrete probability distribution.

The probabilities are used as given, not renormalised; elements that are 0, −0.0 or NaN
contribute nothing.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.shannon_entropy_dist` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    H = −0.0; for each p > 0 in list order: H = H − log(p) × p
    the result is H if H > 0, else 0.0

Parameters
----------
probabilities : array_like of float, the list along the last axis
    The probabilities of the outcomes, summing to 1 within 1e-6.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
"""
sigmoid: Final[ufunc]
"""The logistic function 1/(1 + e^(−x)).

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.sigmoid` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    1.0 / (exp(−x) + 1.0)

Parameters
----------
x : array_like of float
    Any real.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    A value from 0 to 1 (0.5 at x = 0).

Raises
------
Nothing: the function makes no checks; only the conversion of its arguments can fail.

Example
-------
>>> quorin_np.sigmoid(0.0)
np.float64(0.5)
"""
telomere_attrition: Final[ufunc]
"""Telomere length after n cell divisions with a constant loss per division, l₀ − n·δ.

The length is not clamped at zero.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.telomere_attrition` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    l0 − delta × n

Parameters
----------
l0 : array_like of float
    Initial telomere length (for instance bp).
delta : array_like of float
    Loss per division, in the unit of `l0` (typically 50 to 100 bp).
n : array_like of int, counts from 0 to 4294967295
    Number of divisions.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The length, in the unit of `l0` (negative once the telomere is used up).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `delta < 0`: "Quorin.TelomereAttrition: δ must be non-negative"

Example
-------
>>> quorin_np.telomere_attrition(10000.0, 50.0, 100)
np.float64(5000.0)
"""
telomere_length_bound: Final[ufunc]
"""Telomere length bound by age: a plateau of 8.0 up to age 40, then a decline of 0.027 per year.

There is no lower clamp (ages above about 336 give negative values). A NaN excess over 40
counts as 0.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.telomere_length_bound` computes it, with the same checks. A refused
element raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    x = age + (−40.0); x = x if x > 0, else 0
    x × (−0.027) + 8.0

Parameters
----------
age : array_like of float
    Age in years.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The length bound; read as kilobases, the plateau of 8.0 kb and the loss of 27 bp a year
    are typical of human leukocyte telomeres.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `age < 0`: "Quorin.Telomere: age must be non-negative"

Example
-------
>>> quorin_np.telomere_length_bound(30)
np.float64(8.0)
"""
tm_score: Final[ufunc]
"""TM-score of a structural alignment from its residue-pair distances, normalised by the target length.

The number of distances is not compared with `l_target`, and the empty list gives −0.0. `d0`
is checked first, by an equality test.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.tm_score` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    s = −0.0; for each d in list order: s = s + 1.0 / ((d / d0) × (d / d0) + 1.0)
    s / l_target

Parameters
----------
distances : array_like of float, the list along the last axis
    Distances between the aligned residue pairs after superposition, typically Å.
l_target : array_like of int, counts from 0 to 18446744073709551615
    Length of the target (reference) structure, in residues.
d0 : array_like of float
    Distance scale d₀, in the unit of the distances: 1.24 × ∛(l_target − 15) − 1.8 Å as
    published (see the recipe).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
"""
tm_term: Final[ufunc]
"""One term 1/(1 + (d/d₀)²) of the TM-score, for one residue-pair distance.

The check is an equality test: −0.0 fails it, a NaN `d0` passes.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.tm_term` computes it, with the same checks. A refused element raises the
`ValueError` below, naming the element's index, unless `quorin_np.errstate(refused=...)`
asks for NaN or a warning instead.

Formula::

    r = d / d0
    1.0 / (r × r + 1.0)

Parameters
----------
d : array_like of float
    Distance between the paired residues after superposition, typically Å.
d0 : array_like of float
    Distance scale d₀, in the unit of `d` (see `tm_score`).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The term, from 0 to 1 (0.5 at d = d₀).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `d0 = 0`: "Quorin.TmScore: d₀ must be non-zero"

Example
-------
>>> quorin_np.tm_term(2.0, 1.0)
np.float64(0.2)
"""
translation_rate: Final[ufunc]
"""Protein synthesis rate: codon rate × ribosome density × mRNA copies.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.translation_rate` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    (codon_rate × ribosome_density) × mrna_copies

Parameters
----------
codon_rate : array_like of float
    Elongation rate, codons per unit of time.
ribosome_density : array_like of float
    Ribosomes per codon (as `ribosome_density` returns).
mrna_copies : array_like of float
    Number of mRNA copies.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.translation_rate(5.0, 0.5, 100.0)
np.float64(250.0)
"""
weibull_survival: Final[ufunc]
"""Weibull survival function S(t) = exp(−(t/λ)ᵏ).

The second parameter is named `lambda`, a keyword of the language: pass it by position, or
by keyword through an unpacked mapping. For the same reason `inspect.signature` cannot read
this function's signature and raises `ValueError`, while `__text_signature__` holds it as
shown.

Arguments broadcast against each other as NumPy arrays do, and every element is computed
exactly as `quorin.weibull_survival` computes it, with the same checks. A refused element
raises the `ValueError` below, naming the element's index, unless
`quorin_np.errstate(refused=...)` asks for NaN or a warning instead.

Formula::

    exp(−pow(t / lambda, k))

Parameters
----------
t : array_like of float
    Time t.
lambda : array_like of float
    Scale λ, in the unit of `t` (the time by which 63.2 % have failed).
k : array_like of float
    Shape k (below 1 a falling hazard, 1 exponential, above 1 a rising hazard).

Returns
-------
ndarray of float64, or a scalar for scalar arguments
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
>>> quorin_np.weibull_survival(1.0, 2.0, 1.5)
np.float64(0.7021885013265596)
"""

# quorin_np's own functions: the published kidney, liver and Hardy-Weinberg results.
__all__ += [
    "albumin_g_dl",
    "bilirubin_mg_dl",
    "crcl_cockcroft_gault",
    "creatinine_mg_dl",
    "egfr_ckd_epi_2009",
    "egfr_ckd_epi_2012_cys",
    "egfr_ckd_epi_2021",
    "egfr_ckd_epi_2021_cys",
    "egfr_mdrd",
    "hwe_chi2",
    "hwe_exact",
    "hwe_exact_midp",
    "kdigo_gfr_category",
    "kdigo_gfr_labels",
    "meld",
    "meld_3",
    "meld_na",
    "nussinov_pairs",
    "nussinov_structure",
]

albumin_g_dl: Final[ufunc]
"""Albumin in g/dL from g/L (÷ 10), for MELD 3.0.

Formula::

    g_l / 10.0

Parameters
----------
g_l : array_like of float
    Albumin in g/L.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The same concentration in g/dL.

Raises
------
Nothing: the function makes no checks; only the conversion of its arguments can fail.

Example
-------
>>> quorin_np.albumin_g_dl(35.0)
np.float64(3.5)

References
----------
The definition of the units: 1 g/dL = 10 g/L.
"""
bilirubin_mg_dl: Final[ufunc]
"""Bilirubin in mg/dL from µmol/L (÷ 17.1), for the MELD scores.

Formula::

    umol_l / 17.1

Parameters
----------
umol_l : array_like of float
    Bilirubin in µmol/L.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The same concentration in mg/dL.

Raises
------
Nothing: the function makes no checks; only the conversion of its arguments can fail.

Example
-------
>>> quorin_np.bilirubin_mg_dl(34.2)
np.float64(2.0)

References
----------
The factor 17.1 µmol/L per mg/dL (molar mass of bilirubin 584.66 g/mol), as used in
laboratory reporting.
"""
crcl_cockcroft_gault: Final[ufunc]
"""Creatinine clearance (CrCl) by the Cockcroft–Gault equation, × 0.85 for women, in mL/min.

The contract `cockcroft_gault` with the sex factor chosen by `female`; the weight is the
caller's choice (actual, ideal or adjusted body weight, as the dosing protocol says).

Formula::

    quorin.cockcroft_gault(age, weight, scr, 0.85 for women, 1.0 for men)

Parameters
----------
age : array_like of float
    Age in years, 18 to 120.
weight : array_like of float
    Body weight in kg.
scr : array_like of float
    Serum creatinine in mg/dL.
female : array_like of float
    True (1) for a woman, false (0) for a man.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The creatinine clearance in mL/min, not normalised to 1.73 m².

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `age < 18` or `age > 120`: "Quorin.CrclCockcroftGault: age must be in [18, 120]"
    - if `weight ≤ 0` or `scr ≤ 0`: "Quorin.CrclCockcroftGault: weight and scr must be
      positive"
    - if `female` is neither 0 nor 1: "Quorin.CrclCockcroftGault: female must be 0 or 1
      (false or true)"

Notes
-----
Validated on 249 men aged 18 to 92 (Cockcroft and Gault 1976); the factor 0.85 for women was
proposed by the authors, not derived from measurements. A 40-year-old man of 72 kg with
creatinine 1.0 mg/dL has 100 mL/min; a 60-year-old woman of 72 kg with 1.1 mg/dL has 62.

Example
-------
>>> quorin_np.crcl_cockcroft_gault(40, 72, 1.0, False)
np.float64(100.0)

References
----------
Cockcroft DW, Gault MH. Prediction of creatinine clearance from serum creatinine. Nephron
1976;16:31–41 (140, 72, 0.85).
"""
creatinine_mg_dl: Final[ufunc]
"""Creatinine in mg/dL from µmol/L (÷ 88.4), for the equations that take mg/dL.

Formula::

    umol_l / 88.4

Parameters
----------
umol_l : array_like of float
    Creatinine in µmol/L.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The same concentration in mg/dL.

Raises
------
Nothing: the function makes no checks; only the conversion of its arguments can fail.

Notes
-----
One division, so that converting here and dividing by hand give the same double. Nothing is
checked: the equation the result goes to refuses what it must.

Example
-------
>>> quorin_np.creatinine_mg_dl([88.4, 128.2])
array([1.        , 1.45022624])

References
----------
The factor 88.4 µmol/L per mg/dL (molar mass of creatinine 113.12 g/mol), as used by the
CKD-EPI and KDIGO publications.
"""
egfr_ckd_epi_2009: Final[ufunc]
"""Estimated GFR by the CKD-EPI 2009 creatinine equation without its race coefficient, in mL/min/1.73 m².

The contract `ckd_epi` with the published constants of the 2009 equation chosen by `female`.
Laboratories have replaced it by `egfr_ckd_epi_2021`; it is here to reproduce results
reported with it. The race coefficient 1.159 is left out; where a protocol still applies it,
multiply the result by 1.159.

Formula::

    κ, α, s = 0.7, −0.329, 1.018 for women; 0.9, −0.411, 1.0 for men
    quorin.ckd_epi(scr, κ, α, pow(0.993, age) × s)

Parameters
----------
scr : array_like of float
    Serum creatinine in mg/dL, IDMS-traceable.
age : array_like of float
    Age in years, 18 to 120.
female : array_like of float
    True (1) for a woman, false (0) for a man.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The eGFR in mL/min/1.73 m², unrounded.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `scr ≤ 0`: "Quorin.EgfrCkdEpi2009: scr must be positive"
    - if `age < 18` or `age > 120`: "Quorin.EgfrCkdEpi2009: age must be in [18, 120]"
    - if `female` is neither 0 nor 1: "Quorin.EgfrCkdEpi2009: female must be 0 or 1 (false
      or true)"

Notes
-----
Validated on adults aged 18 and older (8254 people in development, 3896 in validation, Levey
et al. 2009). A NaN creatinine gives NaN here, where the contract's knee alone would give
141 × the multiplier. The results are bit for bit those of `quorin.ckd_epi` with the
multiplier `0.993 ** age * 1.018` (women) or `0.993 ** age` (men): a 60-year-old woman with
creatinine 1.2 mg/dL has 49.1, a 53-year-old man with 111 µmol/L has 65.

Example
-------
>>> round(float(quorin_np.egfr_ckd_epi_2009(1.2, 60, True)), 1)
49.1

References
----------
Levey AS, Stevens LA, Schmid CH, et al. A new equation to estimate glomerular filtration
rate. Ann Intern Med 2009;150:604–612 (every constant).
"""
egfr_ckd_epi_2012_cys: Final[ufunc]
"""Estimated GFR by the CKD-EPI 2012 cystatin C equation, in mL/min/1.73 m².

The equation from cystatin C alone, for when creatinine is unreliable (muscle wasting,
amputation, a vegetarian diet).

Formula::

    c = scys / 0.8
    ((133 × pow(min(c, 1), −0.499)) × pow(max(c, 1), −1.328)) × pow(0.996, age) × (0.932 for women)

Parameters
----------
scys : array_like of float
    Serum cystatin C in mg/L, standardised.
age : array_like of float
    Age in years, 18 to 120.
female : array_like of float
    True (1) for a woman, false (0) for a man.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The eGFR in mL/min/1.73 m², unrounded.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `scys ≤ 0`: "Quorin.EgfrCkdEpi2012Cys: scys must be positive"
    - if `age < 18` or `age > 120`: "Quorin.EgfrCkdEpi2012Cys: age must be in [18, 120]"
    - if `female` is neither 0 nor 1: "Quorin.EgfrCkdEpi2012Cys: female must be 0 or 1
      (false or true)"

Notes
-----
Validated on adults aged 18 and older with standardised cystatin C (5352 in development,
1119 in validation, Inker et al. 2012). It has no race coefficient. At the knee, 0.8 mg/L,
the published piecewise form is 133 × 0.996^age × 0.932 for a woman: 124.0 at age 0, 92.9 at
72.

Example
-------
>>> round(float(quorin_np.egfr_ckd_epi_2012_cys(0.8, 72, True)), 1)
92.9

References
----------
Inker LA, Schmid CH, Tighiouart H, et al. Estimating glomerular filtration rate from serum
creatinine and cystatin C. N Engl J Med 2012;367:20–29 (every constant).
"""
egfr_ckd_epi_2021: Final[ufunc]
"""Estimated GFR (eGFR) by the race-free CKD-EPI 2021 creatinine equation, in mL/min/1.73 m².

The equation laboratories report since 2022. κ, α and the sex factor are chosen by `female`.

Formula::

    κ, α, s = 0.7, −0.241, 1.012 for women; 0.9, −0.302, 1.0 for men
    r = scr / κ
    ((142 × pow(min(r, 1), α)) × pow(max(r, 1), −1.200)) × pow(0.9938, age) × s

Parameters
----------
scr : array_like of float
    Serum creatinine in mg/dL, IDMS-traceable (`creatinine_mg_dl` converts µmol/L).
age : array_like of float
    Age in years, 18 to 120.
female : array_like of float
    True (1) for a woman, false (0) for a man.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The eGFR in mL/min/1.73 m², unrounded (laboratories report a whole number).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `scr ≤ 0`: "Quorin.EgfrCkdEpi2021: scr must be positive"
    - if `age < 18` or `age > 120`: "Quorin.EgfrCkdEpi2021: age must be in [18, 120]"
    - if `female` is neither 0 nor 1: "Quorin.EgfrCkdEpi2021: female must be 0 or 1 (false
      or true)"

Notes
-----
Validated on adults aged 18 and older (development and validation cohorts of 8254 and 4050
people with measured GFR, Inker et al. 2021), with standardised creatinine; not for
children, pregnancy, acute kidney injury or extremes of muscle mass. The 2009 equation is
`egfr_ckd_epi_2009`; the 2021 refit changes the slope −1.209 to −1.200 and every constant,
and has no race coefficient. A 72-year-old woman with creatinine 1.45 mg/dL has 38.3 by this
equation and 35.9 by the 2009 one.

Example
-------
>>> round(float(quorin_np.egfr_ckd_epi_2021(1.45, 72, True)), 1)
38.3

References
----------
Inker LA, Eneanya ND, Coresh J, et al. New creatinine- and cystatin C-based equations to
estimate GFR without race. N Engl J Med 2021;385:1737–1749 (every constant).
"""
egfr_ckd_epi_2021_cys: Final[ufunc]
"""Estimated GFR by the race-free CKD-EPI 2021 creatinine–cystatin C equation, in mL/min/1.73 m².

The combined equation, the most accurate of the estimating equations. κ, α and the sex
factor are chosen by `female`.

Formula::

    κ, α, s = 0.7, −0.219, 0.963 for women; 0.9, −0.144, 1.0 for men
    r = scr / κ; c = scys / 0.8
    ((((135 × pow(min(r, 1), α)) × pow(max(r, 1), −0.544)) × pow(min(c, 1), −0.323))
        × pow(max(c, 1), −0.778)) × pow(0.9961, age) × s

Parameters
----------
scr : array_like of float
    Serum creatinine in mg/dL, IDMS-traceable.
scys : array_like of float
    Serum cystatin C in mg/L, standardised (ERM-DA471/IFCC).
age : array_like of float
    Age in years, 18 to 120.
female : array_like of float
    True (1) for a woman, false (0) for a man.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The eGFR in mL/min/1.73 m², unrounded.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `scr ≤ 0` or `scys ≤ 0`: "Quorin.EgfrCkdEpi2021Cys: scr and scys must be positive"
    - if `age < 18` or `age > 120`: "Quorin.EgfrCkdEpi2021Cys: age must be in [18, 120]"
    - if `female` is neither 0 nor 1: "Quorin.EgfrCkdEpi2021Cys: female must be 0 or 1
      (false or true)"

Notes
-----
Validated on adults aged 18 and older with standardised creatinine and cystatin C (Inker et
al. 2021). At the two knees (creatinine at κ, cystatin C at 0.8 mg/L) the equation is 135 ×
0.9961^age (× 0.963 for a woman): 125.8 for a man of 18.

Example
-------
>>> round(float(quorin_np.egfr_ckd_epi_2021_cys(0.9, 0.8, 18, False)), 1)
125.8

References
----------
Inker LA, Eneanya ND, Coresh J, et al. New creatinine- and cystatin C-based equations to
estimate GFR without race. N Engl J Med 2021;385:1737–1749 (every constant).
"""
egfr_mdrd: Final[ufunc]
"""Estimated GFR by the 4-variable MDRD Study equation (IDMS-traceable, 175) without its race coefficient, in mL/min/1.73 m².

The contract `ckd_mdrd` with the sex factor 0.742 chosen by `female`. The race coefficient
1.212 is left out; where a protocol still applies it, multiply the result by 1.212.

Formula::

    quorin.ckd_mdrd(scr, age, 0.742 for women, 1.0 for men)

Parameters
----------
scr : array_like of float
    Serum creatinine in mg/dL, IDMS-traceable.
age : array_like of float
    Age in years, 18 to 120.
female : array_like of float
    True (1) for a woman, false (0) for a man.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The eGFR in mL/min/1.73 m², unrounded.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `scr ≤ 0`: "Quorin.EgfrMdrd: scr must be positive"
    - if `age < 18` or `age > 120`: "Quorin.EgfrMdrd: age must be in [18, 120]"
    - if `female` is neither 0 nor 1: "Quorin.EgfrMdrd: female must be 0 or 1 (false or
      true)"

Notes
-----
Validated on 1628 adults with chronic kidney disease (mean GFR about 40 mL/min/1.73 m², the
MDRD Study); it underestimates GFR above 60, where results are usually reported as "> 60". A
60-year-old woman with creatinine 1.2 mg/dL has 45.8.

Example
-------
>>> round(float(quorin_np.egfr_mdrd(1.2, 60, True)), 1)
45.8

References
----------
Levey AS, Coresh J, Greene T, et al. Expressing the Modification of Diet in Renal Disease
Study equation for estimating glomerular filtration rate with standardized serum creatinine
values. Clin Chem 2007;53:766–772 (175, −1.154, −0.203, 0.742).
"""
hwe_chi2: Final[ufunc]
"""Pearson's χ² test of Hardy–Weinberg equilibrium on genotype counts, and its p-value.

The contract `hardy_weinberg_test`'s statistic on frequencies, times N, and the upper tail
of χ² with one degree of freedom. For small samples or rare alleles prefer `hwe_exact`.

Formula::

    N = n_aa + n_ab + n_bb
    chi2 = quorin.hardy_weinberg_test(n_aa, n_ab, n_bb)[3] × N
    p = erfc(sqrt(chi2 / 2))

Parameters
----------
n_aa : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the first allele.
n_ab : array_like of int, counts from 0 to 18446744073709551615
    Count of heterozygotes.
n_bb : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the second allele.

Returns
-------
tuple of 2 ndarrays of float64
    `(chi2, p)`: Pearson's statistic and its p-value, from 0 to 1.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `N = 0`: "Quorin.HweChi2: total count must be positive"

Notes
-----
No continuity correction. A monomorphic sample has χ² = 0 and p = 1. In the classic MN
blood-group sample of 6129 people (1787 MM, 3039 MN, 1303 NN) χ² is 0.027 and p 0.87.

Example
-------
>>> [round(float(x), 3) for x in quorin_np.hwe_chi2(1787, 3039, 1303)]
[0.027, 0.87]

References
----------
Pearson's χ² goodness-of-fit test with one degree of freedom (three genotype classes less
the total and the allele frequency); the MN blood-group sample of 6129 people as tabulated
in Hartl DL, Clark AG. Principles of Population Genetics, Sinauer.
"""
hwe_exact: Final[ufunc]
"""The exact test of Hardy–Weinberg equilibrium: the p-value given the allele counts.

The probability, among all samples with the observed numbers of individuals and of each
allele, of those at most as likely as the observed one, by the recurrence over heterozygote
counts of Wigginton, Cutler and Abecasis (2005). Exact for every count that fits 64 bits
(totals are formed in 128 bits, no asymptotic approximation is ever made) and fast: 10⁶
variants of 10⁴ samples take about a second in one call.

Formula::

    P(h) ∝ 2^h / (h! r! c!) over heterozygote counts h of the parity of the rare allele count,
        with r, c the homozygote counts h leaves; P(h + 2) / P(h) = 4 r c / ((h + 1)(h + 2))
    p = Σ P(h) over P(h) ≤ P(observed) / Σ P(h)

Parameters
----------
n_aa : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the first allele.
n_ab : array_like of int, counts from 0 to 18446744073709551615
    Count of heterozygotes.
n_bb : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the second allele.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The p-value, from 0 to 1.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `N = 0`: "Quorin.HweExact: total count must be positive"

Notes
-----
The terms are taken relative to the mode's, which is 1, and summed outwards from it; a side
stops once what it could still add is below 2⁻⁶⁴ of the p-value, so the result is the full
sum's to the last bits, and the work per variant grows with the spread of the heterozygote
count (about √N): a few hundred terms for 10⁴ samples, some 10⁷ for 10¹² (and hours for
counts near 2⁶⁴ with both alleles common). Probabilities within a relative 10⁻⁹ of the
observed one count as ties with it (the two sides of a flat mode are exactly equal). A
sample with one possible configuration (a monomorphic one, say) has p = 1. For the classic
MN sample p is 0.877; twenty individuals with no heterozygote at an allele frequency of ½
give 1.3 × 10⁻⁶.

Example
-------
>>> round(float(quorin_np.hwe_exact(1787, 3039, 1303)), 3)
0.877

References
----------
Wigginton JE, Cutler DJ, Abecasis GR. A note on exact tests of Hardy-Weinberg equilibrium.
Am J Hum Genet 2005;76:887–893 (the recurrence and the p-value).
"""
hwe_exact_midp: Final[ufunc]
"""The mid-p variant of the exact Hardy–Weinberg test: samples as likely as the observed one count half.

The p-value of `hwe_exact` less half the probability of the samples exactly as likely as the
observed one (the observed one itself, and its ties). Its null distribution is closer to
uniform, so a threshold such as 10⁻⁶ removes fewer good variants, above all rare ones.

Formula::

    midp = (Σ P(h) over P(h) < P(observed) + ½ Σ P(h) over P(h) = P(observed)) / Σ P(h)

Parameters
----------
n_aa : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the first allele.
n_ab : array_like of int, counts from 0 to 18446744073709551615
    Count of heterozygotes.
n_bb : array_like of int, counts from 0 to 18446744073709551615
    Count of homozygotes of the second allele.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The mid-p value, from 0 to 1 (½ for a sample with one possible configuration).

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `N = 0`: "Quorin.HweExactMidp: total count must be positive"

Notes
-----
Computed in the same walk as `hwe_exact`, with the same ties. A monomorphic sample has mid-p
½.

Example
-------
>>> round(float(quorin_np.hwe_exact_midp(1787, 3039, 1303)), 3)
0.867

References
----------
Graffelman J, Moreno V. The mid p-value in exact tests for Hardy-Weinberg equilibrium. Stat
Appl Genet Mol Biol 2013;12:433–448; the recurrence of Wigginton JE, Cutler DJ, Abecasis GR,
Am J Hum Genet 2005;76:887–893.
"""
kdigo_gfr_category: Final[ufunc]
"""The KDIGO GFR category of an eGFR, as the code 1 (G1) to 6 (G5) of the category's row.

Codes, not labels, so that the result is a float64 array like every other result: 1 G1 (≥
90), 2 G2 (60 to < 90), 3 G3a (45 to < 60), 4 G3b (30 to < 45), 5 G4 (15 to < 30), 6 G5 (<
15). `quorin_np.kdigo_gfr_labels` turns codes into the labels "G1" … "G5" as an ordered
categorical that pandas and polars group and sort by (a polars Enum for a polars Series, a
pandas Categorical otherwise), missing codes as missing labels.

Formula::

    1 if egfr ≥ 90, 2 if ≥ 60, 3 if ≥ 45, 4 if ≥ 30, 5 if ≥ 15, otherwise 6

Parameters
----------
egfr : array_like of float
    An eGFR in mL/min/1.73 m², unrounded or as reported.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The category's code, 1.0 to 6.0; NaN for a NaN eGFR.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `egfr < 0`: "Quorin.KdigoGfrCategory: egfr must be non-negative"

Notes
-----
The bounds are those of the KDIGO 2012 guideline, applied to the value given: an eGFR of
59.6 is G3a, although it is reported as 60 when rounded first. Round before if your protocol
categorises the reported whole number.

Example
-------
>>> quorin_np.kdigo_gfr_category([95.0, 60.0, 59.6, 38.3, 14.9, np.nan])
array([ 1.,  2.,  3.,  4.,  6., nan])

References
----------
Kidney Disease: Improving Global Outcomes (KDIGO) CKD Work Group. KDIGO 2012 clinical
practice guideline for the evaluation and management of chronic kidney disease. Kidney Int
Suppl 2013;3:1–150 (the GFR categories G1 to G5).
"""
meld: Final[ufunc]
"""The MELD score as allocated (UNOS/OPTN): bounded laboratory values, rounded, 6 to 40.

The contract `meld_score` on the values the allocation rules prescribe, then rounded and
capped.

Formula::

    b = max(bili, 1.0); i = max(inr, 1.0)
    c = 4.0 with dialysis, otherwise min(max(creat, 1.0), 4.0)
    min(round(quorin.meld_score(b, i, c)), 40)

Parameters
----------
bili : array_like of float
    Serum bilirubin in mg/dL (`bilirubin_mg_dl` converts µmol/L).
inr : array_like of float
    International normalised ratio.
creat : array_like of float
    Serum creatinine in mg/dL.
dialysis : array_like of float
    True (1) after dialysis at least twice in the past week, or 24 hours of continuous
    veno-venous hemodialysis in it.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The whole-number score from 6 to 40, as a float64.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `bili ≤ 0`, `inr ≤ 0` or `creat ≤ 0`: "Quorin.Meld: bili, inr and creat must be
      positive"
    - if `dialysis` is neither 0 nor 1: "Quorin.Meld: dialysis must be 0 or 1 (false or
      true)"

Notes
-----
`round` is to the nearest whole number, halves away from zero: the rules round 0.957
ln(creat) + 0.378 ln(bili) + 1.120 ln(INR) + 0.643 to one decimal and multiply by 10, which
is the contract's score (ten times that sum) rounded. Validated on adults with cirrhosis
(Kamath et al. 2001, four cohorts); allocation uses it from the age of 12. Bilirubin 1.9,
INR 1.2 and creatinine 1.3 give 13.41, so 13; the lowest score is 6 (every value at its
floor of 1.0).

Example
-------
>>> quorin_np.meld(1.9, 1.2, 1.3, False)
np.float64(13.0)

References
----------
Kamath PS, Wiesner RH, Malinchoc M, et al. A model to predict survival in patients with
end-stage liver disease. Hepatology 2001;33:464–470 (3.78, 11.2, 9.57, 6.43); Wiesner R,
Edwards E, Freeman R, et al. Model for end-stage liver disease (MELD) and allocation of
donor livers. Gastroenterology 2003;124:91–96, and OPTN Policy 9.1 (the floors of 1.0, the
creatinine cap of 4.0 and its dialysis rule, the rounding, the cap at 40).
"""
meld_3: Final[ufunc]
"""The MELD 3.0 score (2021, allocated since 2023), with sex and albumin, 6 to 40.

Formula::

    lb = log(max(bili, 1)); li = log(max(inr, 1))
    lc = log(3.0 with dialysis, otherwise min(max(creat, 1), 3.0))
    dn = 137 − min(max(na, 125), 137); da = 3.5 − min(max(albumin, 1.5), 3.5)
    s = 1.33 × female + 4.56 × lb + 0.82 × dn − (0.24 × dn) × lb + 9.09 × li + 11.14 × lc
        + 1.85 × da − (1.83 × da) × lc + 6, added left to right
    min(round(s), 40)

Parameters
----------
bili : array_like of float
    Serum bilirubin in mg/dL.
inr : array_like of float
    International normalised ratio.
creat : array_like of float
    Serum creatinine in mg/dL.
na : array_like of float
    Serum sodium in mmol/L (mEq/L).
albumin : array_like of float
    Serum albumin in g/dL (`albumin_g_dl` converts g/L).
female : array_like of float
    True (1) for a woman, false (0) for a man.
dialysis : array_like of float
    True (1) after dialysis at least twice in the past week, or 24 hours of continuous
    veno-venous hemodialysis in it.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The whole-number score from 6 to 40, as a float64.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `bili ≤ 0`, `inr ≤ 0`, `creat ≤ 0`, `na ≤ 0` or `albumin ≤ 0`: "Quorin.Meld3: bili,
      inr, creat, na and albumin must be positive"
    - if `female` is neither 0 nor 1: "Quorin.Meld3: female must be 0 or 1 (false or true)"
    - if `dialysis` is neither 0 nor 1: "Quorin.Meld3: dialysis must be 0 or 1 (false or
      true)"

Notes
-----
The creatinine cap is 3.0, not 4.0 as in `meld` and `meld_na`. Validated on adult candidates
of the OPTN registry listed in 2016–2018 (Kim et al. 2021). The lowest score is 6 for a man
and 7 for a woman (1.33 points). Bilirubin 2.5, INR 1.5, creatinine 1.2, sodium 135 and
albumin 3.0 give 18 for a man.

Example
-------
>>> quorin_np.meld_3(2.5, 1.5, 1.2, 135, 3.0, False, False)
np.float64(18.0)

References
----------
Kim WR, Mannalithara A, Heimbach JK, et al. MELD 3.0: the model for end-stage liver disease
updated for the modern era. Gastroenterology 2021;161:1887–1895 (every coefficient, the
bounds on creatinine, sodium and albumin); OPTN Policy 9.1, in force since July 2023 (the
dialysis rule, the rounding, the cap at 40).
"""
meld_na: Final[ufunc]
"""The MELD-Na score as allocated since 2016: MELD with the sodium term above 11, 6 to 40.

Formula::

    m = round(quorin.meld_score(b, i, c)), with b, i, c bounded as in `meld`
    if m > 11:
        d = 137 − min(max(na, 125), 137)
        m = round((m + 1.32 × d) − (0.033 × m) × d)
    min(m, 40)

Parameters
----------
bili : array_like of float
    Serum bilirubin in mg/dL.
inr : array_like of float
    International normalised ratio.
creat : array_like of float
    Serum creatinine in mg/dL.
na : array_like of float
    Serum sodium in mmol/L (mEq/L).
dialysis : array_like of float
    True (1) after dialysis at least twice in the past week, or 24 hours of continuous
    veno-venous hemodialysis in it.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The whole-number score from 6 to 40, as a float64.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if `bili ≤ 0`, `inr ≤ 0`, `creat ≤ 0` or `na ≤ 0`: "Quorin.MeldNa: bili, inr, creat
      and na must be positive"
    - if `dialysis` is neither 0 nor 1: "Quorin.MeldNa: dialysis must be 0 or 1 (false or
      true)"

Notes
-----
The sodium term is added only when the rounded MELD(i) is above 11, and it never lowers the
score below MELD(i) up to 40. Validated on adult candidates on the transplant waiting list
(Kim et al. 2008, OPTN registry 2005–2006). Bilirubin 1.5, INR 1.1, creatinine 2.7 and
sodium 135 give MELD 19 and MELD-Na 20.

Example
-------
>>> quorin_np.meld(1.5, 1.1, 2.7, False), quorin_np.meld_na(1.5, 1.1, 2.7, 135, False)
(np.float64(19.0), np.float64(20.0))

References
----------
Kim WR, Biggins SW, Kremers WK, et al. Hyponatremia and mortality among patients on the
liver-transplant waiting list. N Engl J Med 2008;359:1018–1026 (1.32, 0.033, 137, the bounds
125–137); OPTN Policy 9.1, in force since January 2016 (applied when MELD(i) > 11, the
rounding, the cap at 40).
"""

# A str gives its structure (None where it has none: missing, or refused under errstate); a
# collection gives an array of StringDType, a Series a Series.
@overload
def nussinov_structure(sequences: str, *, min_loop: int = 0, workers: int = 1) -> str:
    """One optimal secondary structure of each RNA sequence, as dot-bracket text (Nussinov base-pair maximisation with traceback).

    Takes what `nussinov` takes: a `str`, a list or tuple of them, a NumPy array of StringDType
    or of objects, or a pandas Series, which gives a Series back on the same index. A sequence
    that the contract refuses is refused with the message below, under `quorin_np.errstate` with
    the element's flat index.

    Missing and refused elements have no structure. A missing sequence (`None`, a float NaN,
    pandas' `NA`, the NA of a StringDType) is never refused, and a refused one under `"nan"` or
    `"warn"` is set to the same mark: `None` for a single `str`, otherwise the array's NA,
    `None`, in a `StringDType(na_object=None)` (the dtype is plain `StringDType()` when every
    element has a structure; no empty string stands for a missing one, since `""` is the
    structure of the empty sequence). A pandas Series gets pandas' `string` dtype with `<NA>`
    there, a polars Series a `String` column with nulls.

    The sequences are read with the interpreter lock held and folded without it, on `workers`
    threads of the call's own, as `nussinov` folds them; Ctrl-C stops a long call on the main
    thread within milliseconds.

    Formula::

        γ(i, j) = 0 if i ≥ j, else the largest of
            γ(i + 1, j), γ(i, j − 1),
            γ(i + 1, j − 1) + (1 if the bases at i and j can pair and j − i − 1 ≥ min_loop, else 0),
            γ(i, k) + γ(k + 1, j) for i ≤ k < j
        read the span (0, n − 1); to read a span (i, j), while γ(i, j) > 0:
            if γ(i + 1, j) = γ(i, j): base i is unpaired, go on with (i + 1, j)
            else pair i with the least k ≥ i + 1 + min_loop that can pair with it
                and has γ(i + 1, k − 1) + 1 + γ(k + 1, j) = γ(i, j);
                read (i + 1, k − 1), then go on with (k + 1, j)

    Parameters
    ----------
    sequences : str or array_like of str
        RNA (or DNA) sequences of A, U, G, C, T in either case.
    min_loop : int, 0 or more, one value for the whole call, default 0
        The minimum hairpin loop: no pair encloses fewer bases (3 the usual choice, 0 the
        contract's model).
    workers : int, a number of threads, or -1 for every core, default 1
        Threads that fold, the calling one among them (SciPy's convention: -1 for every core, -2
        for all but one); results, refusals, Ctrl-C and `MemoryError` are those of one thread.

    Returns
    -------
    str for one str, else an ndarray of StringDType (a Series for a Series)
        One character per base of each sequence: `(` and `)` for the two bases of a pair, `.`
        for an unpaired base.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if a character is not one of `AUGCTaugct` (the first such character is named):
          "Quorin.NussinovStructure: invalid base '{c}' (alphabet is A,U,G,C; T accepted as U)"

    Notes
    -----
    Not a minimum free energy structure: the model counts pairs and has no energies (no
    stacking, no loop penalties), so its optimum is rarely the native fold; with `min_loop=0` it
    pairs neighbours freely. `nussinov_pairs` gives the same structure as a list of pairs.

    Example
    -------
    >>> quorin_np.nussinov_structure("GGGAAACCC")
    '(((...)))'

    References
    ----------
    R. Nussinov, G. Pieczenik, J. R. Griggs and D. J. Kleitman, "Algorithms for loop matchings",
    SIAM Journal on Applied Mathematics 35(1), 68–82 (1978): the maximisation. R. Nussinov and
    A. B. Jacobson, "Fast algorithm for predicting the secondary structure of single-stranded
    RNA", PNAS 77(11), 6309–6313 (1980): the traceback and the minimum hairpin loop.
    """
@overload
def nussinov_structure(sequences: _Texts, *, min_loop: int = 0, workers: int = 1) -> NDArray[Any]:
    """One optimal secondary structure of each RNA sequence, as dot-bracket text (Nussinov base-pair maximisation with traceback).

    Takes what `nussinov` takes: a `str`, a list or tuple of them, a NumPy array of StringDType
    or of objects, or a pandas Series, which gives a Series back on the same index. A sequence
    that the contract refuses is refused with the message below, under `quorin_np.errstate` with
    the element's flat index.

    Missing and refused elements have no structure. A missing sequence (`None`, a float NaN,
    pandas' `NA`, the NA of a StringDType) is never refused, and a refused one under `"nan"` or
    `"warn"` is set to the same mark: `None` for a single `str`, otherwise the array's NA,
    `None`, in a `StringDType(na_object=None)` (the dtype is plain `StringDType()` when every
    element has a structure; no empty string stands for a missing one, since `""` is the
    structure of the empty sequence). A pandas Series gets pandas' `string` dtype with `<NA>`
    there, a polars Series a `String` column with nulls.

    The sequences are read with the interpreter lock held and folded without it, on `workers`
    threads of the call's own, as `nussinov` folds them; Ctrl-C stops a long call on the main
    thread within milliseconds.

    Formula::

        γ(i, j) = 0 if i ≥ j, else the largest of
            γ(i + 1, j), γ(i, j − 1),
            γ(i + 1, j − 1) + (1 if the bases at i and j can pair and j − i − 1 ≥ min_loop, else 0),
            γ(i, k) + γ(k + 1, j) for i ≤ k < j
        read the span (0, n − 1); to read a span (i, j), while γ(i, j) > 0:
            if γ(i + 1, j) = γ(i, j): base i is unpaired, go on with (i + 1, j)
            else pair i with the least k ≥ i + 1 + min_loop that can pair with it
                and has γ(i + 1, k − 1) + 1 + γ(k + 1, j) = γ(i, j);
                read (i + 1, k − 1), then go on with (k + 1, j)

    Parameters
    ----------
    sequences : str or array_like of str
        RNA (or DNA) sequences of A, U, G, C, T in either case.
    min_loop : int, 0 or more, one value for the whole call, default 0
        The minimum hairpin loop: no pair encloses fewer bases (3 the usual choice, 0 the
        contract's model).
    workers : int, a number of threads, or -1 for every core, default 1
        Threads that fold, the calling one among them (SciPy's convention: -1 for every core, -2
        for all but one); results, refusals, Ctrl-C and `MemoryError` are those of one thread.

    Returns
    -------
    str for one str, else an ndarray of StringDType (a Series for a Series)
        One character per base of each sequence: `(` and `)` for the two bases of a pair, `.`
        for an unpaired base.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if a character is not one of `AUGCTaugct` (the first such character is named):
          "Quorin.NussinovStructure: invalid base '{c}' (alphabet is A,U,G,C; T accepted as U)"

    Notes
    -----
    Not a minimum free energy structure: the model counts pairs and has no energies (no
    stacking, no loop penalties), so its optimum is rarely the native fold; with `min_loop=0` it
    pairs neighbours freely. `nussinov_pairs` gives the same structure as a list of pairs.

    Example
    -------
    >>> quorin_np.nussinov_structure("GGGAAACCC")
    '(((...)))'

    References
    ----------
    R. Nussinov, G. Pieczenik, J. R. Griggs and D. J. Kleitman, "Algorithms for loop matchings",
    SIAM Journal on Applied Mathematics 35(1), 68–82 (1978): the maximisation. R. Nussinov and
    A. B. Jacobson, "Fast algorithm for predicting the secondary structure of single-stranded
    RNA", PNAS 77(11), 6309–6313 (1980): the traceback and the minimum hairpin loop.
    """
def nussinov_pairs(sequence: str, *, min_loop: int = 0) -> NDArray[int64]:
    """The base pairs of one optimal secondary structure of an RNA sequence, as an (n_pairs, 2) array of 0-based positions.

    The structure `nussinov_structure` gives for the same sequence and `min_loop`, as the
    positions of its pairs: row (i, j) for the bases at i and j, i < j, the rows sorted by i.
    Takes one sequence: a collection, or a missing value such as `None`, is refused with a
    `TypeError`, and a sequence the fold refuses raises its `ValueError` whatever
    `quorin_np.errstate` says (there is no element of an array to mark refused). The fold runs
    without the interpreter lock; Ctrl-C stops it on the main thread.

    Formula::

        the structure of nussinov_structure(sequence, min_loop=min_loop): one row (i, j) for each
        pair, i at its "(" and j at its ")", in increasing i

    Parameters
    ----------
    sequence : str, one sequence
        RNA (or DNA) sequence of A, U, G, C, T in either case.
    min_loop : int, 0 or more, one value for the whole call, default 0
        The minimum hairpin loop: no pair encloses fewer bases (3 the usual choice, 0 the
        contract's model).

    Returns
    -------
    ndarray of int64, shape (n_pairs, 2)
        One row (i, j) per pair, 0-based, i < j, sorted by i; as many rows as `nussinov` counts.

    Raises
    ------
    ValueError
        Checked in this order; the first that holds decides and nothing is computed:

        - if a character is not one of `AUGCTaugct` (the first such character is named):
          "Quorin.NussinovStructure: invalid base '{c}' (alphabet is A,U,G,C; T accepted as U)"

    Notes
    -----
    The rows index the sequence as given, so `sequence[i]` and `sequence[j]` are the paired
    bases. An empty result keeps its shape (0, 2).

    Example
    -------
    >>> quorin_np.nussinov_pairs("GGGAAACCC", min_loop=3)
    array([[0, 8],
           [1, 7],
           [2, 6]])

    References
    ----------
    R. Nussinov and A. B. Jacobson, "Fast algorithm for predicting the secondary structure of
    single-stranded RNA", PNAS 77(11), 6309–6313 (1980).
    """
# quorin_np's own functions: superposed structures.
__all__ += [
    "superpose",
    "superposed_rmsd",
    "superposed_rmsd_weighted",
]

superposed_rmsd: Final[ufunc]
"""RMSD of two structures of paired atoms after their optimal rigid superposition (rotation and translation).

The root-mean-square deviation that remains once `coords` is rotated and moved onto
`reference` as well as a rigid motion can; it is symmetric in its two arguments.
`protein_rmsd` is the RMSD as the coordinates are given, without superposition.

Formula::

    x' = x − x₀, y' = y − y₀ (x₀, y₀ the first atoms); cx = Σ x' / n, cy = Σ y' / n
    S = Σ x' y'ᵀ − n cx cyᵀ;  G = Σ (|x'|² + |y'|²) − n (|cx|² + |cy|²)
    N = Horn's symmetric 4 × 4 matrix of S; λ its largest eigenvalue, q its eigenvector
    R = the rotation of q; D = G − 2λ
    if D × 10⁻⁹ ≥ (n/8 + 64) ε Σ (|x'|² + |y'|²): RMSD = sqrt(D / n)
    else RMSD = sqrt(Σ |R (x' − cx) − (y' − cy)|² / n)

Parameters
----------
coords : array_like of float, shape (..., n, 3)
    The structure compared, one (x, y, z) per atom, typically Å.
reference : array_like of float, shape (..., n, 3)
    The structure it is compared with, atom k paired with atom k of `coords`.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The RMSD after superposition, in the unit of the coordinates; 0 for identical or
    single-atom structures.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if the structures differ in length: "Quorin.SuperposedRmsd: coordinate arrays must
      have the same length"
    - if they have no atom: "Quorin.SuperposedRmsd: structures must have at least one atom"
    - if a coordinate is NaN or ±inf: "Quorin.SuperposedRmsd: coordinates must be finite"
    - if the squares of the coordinates' differences overflow: "Quorin.SuperposedRmsd:
      coordinates too far apart to superpose (their squares overflow)"

Notes
-----
The sums run in eight interleaved lanes (atom k in lane k mod 8), added pairwise at the end,
on every processor, so results are the same on every machine and for every memory layout of
the same values. The moments are read once per structure pair; only a pair within rounding
of identical is read twice.

The function reference has a recipe for this function: RMSD, per-atom distances and TM-score
from one superposition.

Example
-------
>>> round(float(quorin_np.protein_rmsd(model, native)), 2)
10.4

References
----------
B. K. P. Horn, "Closed-form solution of absolute orientation using unit quaternions",
Journal of the Optical Society of America A 4(4), 629–642 (1987): the rotation as the
eigenvector of the largest eigenvalue. D. L. Theobald, "Rapid calculation of RMSDs using a
quaternion-based characteristic polynomial", Acta Crystallographica A61, 478–480 (2005): λ
as the largest root of that polynomial. G. H. Golub and C. F. Van Loan, Matrix Computations,
4th ed., §8.5 (2013): the Jacobi eigenvalue method.
"""
superposed_rmsd_weighted: Final[ufunc]
"""Weighted RMSD of two structures of paired atoms after their optimal weighted rigid superposition.

`superposed_rmsd` with a weight per atom (masses for a mass-weighted RMSD, occupancies, or 0
and 1 to fit and score a subset): the superposition minimises Σ wₖ |R xₖ + t − yₖ|², and the
result is the square root of that minimum over Σ wₖ. The weights broadcast like the
structures: one `(n,)` vector serves a whole trajectory.

Formula::

    as superposed_rmsd, with every sum over atoms weighted (Σ wₖ x'ₖ, Σ wₖ x'ₖ y'ₖᵀ, ...)
    and n replaced by W = Σ wₖ:
    RMSD = sqrt(D / W), or sqrt(Σ wₖ |R (x'ₖ − cx) − (y'ₖ − cy)|² / W)

Parameters
----------
coords : array_like of float, shape (..., n, 3)
    The structure compared, one (x, y, z) per atom, typically Å.
reference : array_like of float, shape (..., n, 3)
    The structure it is compared with, atom k paired with atom k of `coords`.
weights : array_like of float, the list along the last axis
    One weight per atom, finite and not negative, not all zero; only their ratios matter.

Returns
-------
ndarray of float64, or a scalar for scalar arguments
    The weighted RMSD after the weighted superposition, in the unit of the coordinates.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if the structures differ in length: "Quorin.SuperposedRmsdWeighted: coordinate arrays
      must have the same length"
    - if there is not one weight per atom: "Quorin.SuperposedRmsdWeighted: weights must have
      one value per atom"
    - if they have no atom: "Quorin.SuperposedRmsdWeighted: structures must have at least
      one atom"
    - if a weight is negative, NaN or ±inf (or their sum overflows):
      "Quorin.SuperposedRmsdWeighted: weights must be finite and non-negative"
    - if every weight is 0: "Quorin.SuperposedRmsdWeighted: weights must not all be zero"
    - if a coordinate is NaN or ±inf (an atom of weight 0 included):
      "Quorin.SuperposedRmsdWeighted: coordinates must be finite"
    - if the weighted squares of the coordinates' differences overflow:
      "Quorin.SuperposedRmsdWeighted: coordinates too far apart to superpose (their squares
      overflow)"

Notes
-----
Weights of 1 give `superposed_rmsd` to rounding. Weights of 0 and 1 give the RMSD of the
selected atoms superposed on their own, as `superposed_rmsd` of that subset does.

Example
-------
>>> round(float(quorin_np.superposed_rmsd_weighted(model, native, first_half)), 3)
0.666

References
----------
B. K. P. Horn, "Closed-form solution of absolute orientation using unit quaternions",
Journal of the Optical Society of America A 4(4), 629–642 (1987), with weights as in its
section on weighted points.
"""
superpose: Final[ufunc]
"""The optimal rigid superposition of one structure on another: a rotation matrix R and a translation t with mobile @ R.T + t superposed on target.

The rigid motion `superposed_rmsd` measures after: `mobile @ R.T + t` (each atom x moved to
R x + t) lies as close to `target` as a rotation and a translation can bring it, in the
least-squares sense. R is always a proper rotation (orthonormal, determinant +1), also for a
mirror image, which a rotation cannot undo. Feed the moved coordinates to `protein_rmsd`, to
per-atom distances and to `tm_score` (see the recipe of `superposed_rmsd`).

Formula::

    as superposed_rmsd: R = the rotation of the quaternion q
    t = (y₀ + cy) − R (x₀ + cx), the target's centroid less the moved mobile centroid

Parameters
----------
mobile : array_like of float, shape (..., n, 3)
    The structure to move, one (x, y, z) per atom, typically Å.
target : array_like of float, shape (..., n, 3)
    The structure to move it onto, atom k paired with atom k of `mobile`.

Returns
-------
tuple of 2 ndarrays of float64, shapes (..., 3, 3) and (..., 3)
    R, shape (..., 3, 3), and t, shape (..., 3), in the unit of the coordinates for t.

Raises
------
ValueError
    Checked in this order; the first that holds decides and nothing is computed:

    - if the structures differ in length: "Quorin.Superpose: coordinate arrays must have the
      same length"
    - if they have no atom: "Quorin.Superpose: structures must have at least one atom"
    - if a coordinate is NaN or ±inf: "Quorin.Superpose: coordinates must be finite"
    - if the squares of the coordinates' differences overflow: "Quorin.Superpose:
      coordinates too far apart to superpose (their squares overflow)"

Notes
-----
A refused pair gives NaN in every entry of its R and t under `errstate(refused="nan")`. For
a single atom R is the identity and t the difference of the two atoms; for collinear
structures R is one of the equally good rotations about their line.

Example
-------
>>> R.round(6) + 0.0, t.round(6) + 0.0
(array([[ 0.,  1.,  0.],
       [-1.,  0.,  0.],
       [ 0.,  0.,  1.]]), array([ 3.,  5., -8.]))

References
----------
B. K. P. Horn, "Closed-form solution of absolute orientation using unit quaternions",
Journal of the Optical Society of America A 4(4), 629–642 (1987).
"""

def kdigo_gfr_labels(codes: Any) -> Any:
    """The labels "G1", "G2", "G3a", "G3b", "G4", "G5" of codes made by kdigo_gfr_category.

    An ordered categorical with all six labels as categories: a polars Series of
    ``polars.Enum`` for a polars Series, a pandas Series of an ordered ``CategoricalDtype``
    (same index and name) for a pandas Series, and a ``pandas.Categorical`` for anything else.
    A missing code is a missing label; any other code than 1 to 6 raises ``ValueError``.
    """

# What the registration rows say about each function (read by the `quorin` command).
@final
class FunctionInfo(structseq[Any], tuple[str, tuple[str, ...], int, tuple[float, ...],
                                         tuple[str, ...], str, int, str, str | None, str | None,
                                         str]):
    __match_args__: Final = ("name", "params", "required", "defaults", "kinds", "kind",
                             "outputs", "result", "full", "layout", "summary")
    @property
    def name(self) -> str: ...
    @property
    def params(self) -> tuple[str, ...]: ...
    @property
    def required(self) -> int: ...
    @property
    def defaults(self) -> tuple[float, ...]: ...
    @property
    def kinds(self) -> tuple[str, ...]: ...
    @property
    def kind(self) -> str: ...
    @property
    def outputs(self) -> int: ...
    @property
    def result(self) -> str: ...
    @property
    def full(self) -> str | None: ...
    @property
    def layout(self) -> str | None: ...
    @property
    def summary(self) -> str: ...

catalogue: Final[tuple[FunctionInfo, ...]]
