"""Beer-Lambert, quantum yield, FRET, Stokes-Einstein, Fick and Poiseuille: values bit for bit,
the order of the checks and their messages, the two equality-to-zero checks included."""

import math

import pytest

import quorin
from contract_tables import check_nan_flows, check_refused, check_value, label, nan_cases
from exact import assert_same

nan, inf = math.nan, math.inf


def fret(r, r0):
    q = r / r0
    q2 = q * q
    return 1.0 / ((q2 * q2) * q2 + 1.0)


def poiseuille(r, dp, eta, l):
    return (dp * ((r * r) * (r * r) * 3.141592653589793)) / (l * (eta * 8.0))


VALUES = [
    ("beer_lambert", (2, 3, 4), 24.0),
    ("quantum_yield", (3, 1), 0.75),
    ("quantum_yield", (1, 0), 1.0),
    ("quantum_yield", (1, -0.0), 1.0),
    ("quantum_yield", (inf, 1), nan),
    ("fret_efficiency", (5, 5), 0.5),
    ("fret_efficiency", (0, 5), 1.0),
    ("fret_efficiency", (10, 5), 0.015384615384615385),
    ("fret_efficiency", (-5, 5), 0.5),
    ("fret_efficiency", (5, -5), 0.5),
    ("fret_efficiency", (7.3, 5.1), fret(7.3, 5.1)),
    ("fret_efficiency", (1, 1e-60), 0.0),
    ("fret_efficiency", (1, inf), 1.0),
    ("fret_efficiency", (inf, inf), nan),
    ("einstein_stokes", (298, 0.00089, 1e-9),
     (298 * 1.380649e-23) / ((0.00089 * 18.84955592153876) * 1e-9)),
    ("einstein_stokes", (298, 0.00089, 1e-9), 2.452496617281457e-10),
    ("einstein_stokes", (inf, 1, 1), inf),
    ("fick_flux", (1e-9, 2, 1, 0.001), ((2.0 - 1.0) * -1e-9) / 0.001),
    ("fick_flux", (1e-9, 1, 2, 0.001), ((1.0 - 2.0) * -1e-9) / 0.001),
    ("fick_flux", (1e-9, 2, 1, -0.001), ((2.0 - 1.0) * -1e-9) / -0.001),
    ("fick_flux", (0.3, 0.7, 0.1, 0.9), ((0.7 - 0.1) * -0.3) / 0.9),
    ("fick_flux", (1, 1, 1, 1), -0.0),
    # The sign of d is flipped exactly (-d, not 0 - d).
    ("fick_flux", (0.0, 2, 1, 1), -0.0),
    ("fick_flux", (-0.0, 2, 1, 1), 0.0),
    ("fick_flux", (-2, 1, 2, 1), -2.0),
    ("fick_flux", (1, 2, 1, inf), -0.0),
    ("poiseuille_flow", (1, 1, 1, 1), 0.39269908169872414),
    ("poiseuille_flow", (2, 1, 1, 1), 6.283185307179586),
    ("poiseuille_flow", (0.3, 1.7, 0.9, 2.3), poiseuille(0.3, 1.7, 0.9, 2.3)),
    ("poiseuille_flow", (1e100, 1, 1, 1), inf),
]

BL = "Quorin.BeerLambert: \u03b5, c, l must be positive"
QY = "Quorin.FluorescenceQuantumYield: "
ES = "Quorin.EinsteinStokes: T, \u03b7, r must be positive"
PF = "Quorin.PoiseuilleFlow: r, \u0394P, \u03b7, L must be positive"

# The first failing check decides, whatever the later arguments are.
ERRORS = [
    ("beer_lambert", (0, 3, 4), BL),
    ("beer_lambert", (2, 0, 4), BL),
    ("beer_lambert", (2, 3, 0), BL),
    ("beer_lambert", (2, 3, -0.0), BL),
    ("quantum_yield", (0, -1), QY + "kr must be positive"),
    ("quantum_yield", (-0.0, 1), QY + "kr must be positive"),
    ("quantum_yield", (1, -1), QY + "knr must be non-negative"),
    ("fret_efficiency", (5, 0), "Quorin.FretEfficiency: R\u2080 must be non-zero"),
    ("fret_efficiency", (5, -0.0), "Quorin.FretEfficiency: R\u2080 must be non-zero"),
    ("einstein_stokes", (0, 1, 1), ES),
    ("einstein_stokes", (1, 0, 1), ES),
    ("einstein_stokes", (1, 1, -1), ES),
    ("einstein_stokes", (1, 1, -0.0), ES),
    ("fick_flux", (1, 2, 1, 0), "Quorin.FickDiffusion: \u0394x must be non-zero"),
    ("fick_flux", (1, 2, 1, -0.0), "Quorin.FickDiffusion: \u0394x must be non-zero"),
    ("poiseuille_flow", (0, 1, 1, 1), PF),
    ("poiseuille_flow", (1, 0, 1, 1), PF),
    ("poiseuille_flow", (1, 1, 0, 1), PF),
    ("poiseuille_flow", (1, 1, 1, 0), PF),
    ("poiseuille_flow", (1, 1, 1, -1), PF),
]

# Arguments that pass every check; a NaN in any one place must pass the checks too.
VALID = {
    "beer_lambert": (2, 3, 4),
    "quantum_yield": (3, 1),
    "fret_efficiency": (3, 5),
    "einstein_stokes": (298, 0.00089, 1e-9),
    "fick_flux": (1e-9, 2, 1, 0.001),
    "poiseuille_flow": (1, 1, 1, 1),
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
