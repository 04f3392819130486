"""Free energy, rate constants, Boltzmann weights, electrode potential, osmotic pressure and
proton-motive force: values bit for bit, the order of the checks and their messages."""

import math

import pytest

import quorin
from contract_tables import check_nan_flows, check_refused, check_value, label, nan_cases
from exact import assert_same

nan, inf = math.nan, math.inf

KT300 = 1.380649e-23 * 300.0

VALUES = [
    ("gibbs_free_energy", (-100, 300, -0.5), 50.0),
    ("gibbs_free_energy", (7.25, 0, 3.0), 7.25),
    ("gibbs_free_energy", (7.25, -0.0, 3.0), 7.25),
    # dh - (t * ds) with a zero product: the sign of the result follows IEEE subtraction.
    ("gibbs_free_energy", (-0.0, 0.0, 1.0), -0.0),
    ("gibbs_free_energy", (-0.0, -0.0, 1.0), 0.0),
    ("gibbs_free_energy", (1.0, 0.0, inf), nan),
    ("arrhenius_rate", (1e13, 50000, 298), math.exp(50000.0 / (298.0 * -8.314)) * 1e13),
    ("arrhenius_rate", (1e13, 50000, 298), 17198.16531076306),
    ("arrhenius_rate", (3.5, 0, 298), 3.5),
    ("arrhenius_rate", (3.5, -1000, 298), math.exp(-1000.0 / (298.0 * -8.314)) * 3.5),
    ("arrhenius_rate", (1.0, -1e9, 1.0), inf),
    ("arrhenius_rate", (1.0, 1e9, 1.0), 0.0),
    ("boltzmann_factor", (0, 300), 1.0),
    ("boltzmann_factor", (KT300, 300), 0.36787944117144233),
    ("boltzmann_probability", (0, 300, 2), 0.5),
    ("boltzmann_probability", (0, 300, 0.5), 2.0),
    ("boltzmann_probability", (KT300, 300, 3.0), math.exp(-1.0) / 3.0),
    ("nernst_potential", (0, 310, 1, 145, 15),
     0.0 + math.log(145.0 / 15.0) * ((310.0 * -8.314) / (1.0 * 96485.0))),
    ("nernst_potential", (0, 310, 1, 145, 15), -0.06060184317128541),
    ("nernst_potential", (0.25, 310, 2.5, 145, 15),
     0.25 + math.log(145.0 / 15.0) * ((310.0 * -8.314) / (2.5 * 96485.0))),
    ("nernst_potential", (0.0, 310.15, 1, math.e, 1),
     0.0 + math.log(math.e) * ((310.15 * -8.314) / (1.0 * 96485.0))),
    ("nernst_potential", (0.125, 310, 1, 7, 7), 0.125),
    ("nernst_potential", (0.0, 310, 1, 7, 7), 0.0),
    ("nernst_potential", (-0.0, 310, 1, 7, 7), -0.0),
    ("nernst_potential", (0.0, 310, 1, inf, 1), -inf),
    ("osmotic_pressure", (1, 1, 1), 8.314),
    ("osmotic_pressure", (2, 0.15, 310), 773.2019999999999),
    ("proton_motive_force", (-0.15, 298, 0.5), -0.15 + ((298.0 * -19.147142) / 96485.0) * 0.5),
    ("proton_motive_force", (-0.15, 298, 0.5), -0.17956857706379228),
    ("proton_motive_force", (-0.15, 298, 0), -0.15),
    # Divided by 96485.0, not multiplied by its reciprocal (they differ at this temperature).
    ("proton_motive_force", (0.0, 298, 1.0), (298.0 * -19.147142) / 96485.0),
    ("proton_motive_force", (0.0, 298, 0), 0.0),
]

# The first failing check decides, whatever the later arguments are.
ERRORS = [
    ("gibbs_free_energy", (1, -1, 1), "Quorin.GibbsFreeEnergy: T must be non-negative"),
    ("gibbs_free_energy", (1, -inf, 1), "Quorin.GibbsFreeEnergy: T must be non-negative"),
    ("arrhenius_rate", (0, 50000, 0), "Quorin.ArrheniusEquation: A must be positive"),
    ("arrhenius_rate", (-0.0, 50000, 298), "Quorin.ArrheniusEquation: A must be positive"),
    ("arrhenius_rate", (1e13, 50000, 0), "Quorin.ArrheniusEquation: T must be positive"),
    ("arrhenius_rate", (1e13, 50000, -0.0), "Quorin.ArrheniusEquation: T must be positive"),
    ("boltzmann_factor", (0, 0), "Quorin.BoltzmannDistribution: T must be positive"),
    ("boltzmann_factor", (0, -0.0), "Quorin.BoltzmannDistribution: T must be positive"),
    ("boltzmann_probability", (0, 0, 0), "Quorin.BoltzmannDistribution: Z must be positive"),
    ("boltzmann_probability", (0, 300, -0.0), "Quorin.BoltzmannDistribution: Z must be positive"),
    ("boltzmann_probability", (0, 0, 1), "Quorin.BoltzmannDistribution: T must be positive"),
    ("nernst_potential", (0, 0, 0, 0, 0), "Quorin.NernstEquation: T must be positive"),
    ("nernst_potential", (0, 310, 0, 0, 0), "Quorin.NernstEquation: n must be positive"),
    ("nernst_potential", (0, 310, -1, 1, 1), "Quorin.NernstEquation: n must be positive"),
    ("nernst_potential", (0, 310, 1, 0, 0), "Quorin.NernstEquation: concentrations must be positive"),
    ("nernst_potential", (0, 310, 1, 145, 0), "Quorin.NernstEquation: concentrations must be positive"),
    ("nernst_potential", (0, 310, 1, 145, -0.0), "Quorin.NernstEquation: concentrations must be positive"),
    ("osmotic_pressure", (0, 1, 1), "Quorin.OsmoticPressure: i, M, T must be positive"),
    ("osmotic_pressure", (1, 0, 1), "Quorin.OsmoticPressure: i, M, T must be positive"),
    ("osmotic_pressure", (1, 1, 0), "Quorin.OsmoticPressure: i, M, T must be positive"),
    ("osmotic_pressure", (1, 1, -0.0), "Quorin.OsmoticPressure: i, M, T must be positive"),
    ("proton_motive_force", (-0.15, 0, 0.5), "Quorin.ProtonMotiveForce: T must be positive"),
]

# Arguments that pass every check; a NaN in any one place must pass the checks too.
VALID = {
    "gibbs_free_energy": (-100, 300, -0.5),
    "arrhenius_rate": (1e13, 50000, 298),
    "boltzmann_factor": (1e-21, 300),
    "boltzmann_probability": (1e-21, 300, 2),
    "nernst_potential": (0.1, 310, 1, 145, 15),
    "osmotic_pressure": (2, 0.15, 310),
    "proton_motive_force": (-0.15, 298, 0.5),
}


@pytest.mark.parametrize("name, args, expected", VALUES, ids=map(label, VALUES))
def test_value(name, args, expected):
    check_value(name, args, expected)


@pytest.mark.parametrize("name, args, message", ERRORS, ids=map(label, ERRORS))
def test_failed_check(name, args, message):
    check_refused(name, args, message)


@pytest.mark.parametrize("name, position", nan_cases(VALID))
def test_nan_passes_checks(name, position):
    check_nan_flows(VALID, name, position)


def test_electron_count_is_real():
    # n is a real parameter, not a count: keywords, floats and bools all bind.
    assert_same(quorin.nernst_potential(e0=0, t=310, n=True, c_out=145, c_in=15),
                quorin.nernst_potential(0.0, 310.0, 1.0, 145.0, 15.0))
