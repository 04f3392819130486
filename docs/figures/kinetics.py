"""Binding and enzyme kinetics: saturation curves."""

import numpy as np

from . import curves, panel

CONCENTRATION = np.linspace(-2.0, 50.0, 521)


@panel("michaelis_menten", "Velocity against substrate for Vmax = 10 and three Michaelis "
       "constants; a substrate of zero or below is refused")
def michaelis_menten(ax):
    curves(ax, "michaelis_menten", ("substrate", CONCENTRATION), vary=("km", [2.0, 5.0, 15.0]),
           fmt="{:g}", vmax=10.0)
    ax.set(xlabel="substrate [S]", ylabel="velocity v")


@panel("competitive_inhibition", "Velocity against substrate with a competitive inhibitor "
       "(Vmax 10, Km 5, Ki 4) at three inhibitor concentrations")
def competitive_inhibition(ax):
    curves(ax, "competitive_inhibition", ("s", CONCENTRATION), vary=("i", [0.0, 5.0, 20.0]),
           fmt="{:g}", vmax=10.0, km=5.0, ki=4.0)
    ax.set(xlabel="substrate [S]", ylabel="velocity v")


@panel("hill_effect", "Dose–response by the Hill equation (Emax 100, EC50 10) for Hill "
       "coefficients 1 to 4; a negative concentration is refused")
def hill_effect(ax):
    c = np.linspace(-3.0, 40.0, 431)
    curves(ax, "hill_effect", ("c", c), vary=("n", [1, 2, 3, 4]), emax=100.0, ec50=10.0)
    ax.set(xlabel="concentration c", ylabel="effect E")


@panel("hill_occupancy", "Fractional occupancy of a cooperative binder (K = 10) for Hill "
       "coefficients 1 to 4")
def hill_occupancy(ax):
    s = np.linspace(-3.0, 40.0, 431)
    curves(ax, "hill_occupancy", ("s", s), vary=("n", [1, 2, 3, 4]), k=10.0)
    ax.set(xlabel="ligand S", ylabel="occupancy θ")


@panel("langmuir_coverage", "Langmuir coverage against concentration for three affinities")
def langmuir_coverage(ax):
    curves(ax, "langmuir_coverage", ("c", CONCENTRATION), vary=("k", [0.05, 0.2, 1.0]))
    ax.set(xlabel="concentration c", ylabel="coverage θ")


@panel("monod_growth", "Specific growth rate by Monod against substrate (μmax 1) for three "
       "half-saturation constants")
def monod_growth(ax):
    curves(ax, "monod_growth", ("s", CONCENTRATION), vary=("ks", [1.0, 5.0, 15.0]), mu_max=1.0)
    ax.set(xlabel="substrate S", ylabel="growth rate μ")


@panel("receptor_occupancy", "Receptors bound against free ligand for three dissociation "
       "constants")
def receptor_occupancy(ax):
    curves(ax, "receptor_occupancy", ("l", CONCENTRATION), vary=("kd", [1.0, 5.0, 20.0]))
    ax.set(xlabel="free ligand L", ylabel="fraction bound")
