"""Type stubs of quorin_np: every contract over reals and counts as a NumPy ufunc."""

from types import TracebackType
from typing import Final, Literal, TypeAlias

from numpy import ufunc

_Mode: TypeAlias = Literal["raise", "nan", "warn"]

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
    "osmolarity",
    "osmotic_pressure",
    "oxygen_saturation",
    "pcr_copies",
    "poiseuille_flow",
    "protein_steady_state",
    "proton_motive_force",
    "quantum_yield",
    "receptor_occupancy",
    "reproduction_number",
    "ribosome_density",
    "riboswitch_confidence",
    "senolytic_healthy_damage",
    "shannon_entropy",
    "sigmoid",
    "telomere_attrition",
    "telomere_length_bound",
    "tm_term",
    "translation_rate",
    "weibull_survival",
    "errstate",
    "geterr",
]

allometric: Final[ufunc]
arrhenius_rate: Final[ufunc]
beer_lambert: Final[ufunc]
biological_age_bound: Final[ufunc]
biological_age_bound_full: Final[ufunc]
bmi: Final[ufunc]
body_surface_area: Final[ufunc]
boltzmann_factor: Final[ufunc]
boltzmann_probability: Final[ufunc]
cardiac_output: Final[ufunc]
catalytic_efficiency: Final[ufunc]
ckd_epi: Final[ufunc]
ckd_mdrd: Final[ufunc]
clone_size: Final[ufunc]
cockcroft_gault: Final[ufunc]
competitive_inhibition: Final[ufunc]
dilution_concentration: Final[ufunc]
dna_tm: Final[ufunc]
doubling_time: Final[ufunc]
einstein_stokes: Final[ufunc]
energy_charge: Final[ufunc]
epigenetic_acceleration: Final[ufunc]
fick_flux: Final[ufunc]
first_order_pk_concentration: Final[ufunc]
first_order_pk_halflife: Final[ufunc]
fret_efficiency: Final[ufunc]
gibbs_free_energy: Final[ufunc]
gompertz_hazard: Final[ufunc]
hardy_weinberg: Final[ufunc]
hardy_weinberg_test: Final[ufunc]
henderson_hasselbalch: Final[ufunc]
hill_effect: Final[ufunc]
hill_occupancy: Final[ufunc]
ic50_bound: Final[ufunc]
inflamm_aging_score: Final[ufunc]
langmuir_coverage: Final[ufunc]
logistic_growth: Final[ufunc]
meld_score: Final[ufunc]
michaelis_menten: Final[ufunc]
modified_nucleotide_ratio: Final[ufunc]
monod_growth: Final[ufunc]
mrna_halflife: Final[ufunc]
mrna_halflife_concentration: Final[ufunc]
nad_ratio: Final[ufunc]
nernst_potential: Final[ufunc]
osmolarity: Final[ufunc]
osmotic_pressure: Final[ufunc]
oxygen_saturation: Final[ufunc]
pcr_copies: Final[ufunc]
poiseuille_flow: Final[ufunc]
protein_steady_state: Final[ufunc]
proton_motive_force: Final[ufunc]
quantum_yield: Final[ufunc]
receptor_occupancy: Final[ufunc]
reproduction_number: Final[ufunc]
ribosome_density: Final[ufunc]
riboswitch_confidence: Final[ufunc]
senolytic_healthy_damage: Final[ufunc]
shannon_entropy: Final[ufunc]
sigmoid: Final[ufunc]
telomere_attrition: Final[ufunc]
telomere_length_bound: Final[ufunc]
tm_term: Final[ufunc]
translation_rate: Final[ufunc]
weibull_survival: Final[ufunc]
