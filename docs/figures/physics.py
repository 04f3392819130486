"""Thermodynamics, electrochemistry, spectroscopy."""

import numpy as np

from . import curves, panel


@panel("nernst_potential", "Nernst potential at 37 °C against the ratio of outer to inner "
       "concentration for ions of valence 1 and 2 (log scale)")
def nernst_potential(ax):
    ratio = np.geomspace(0.01, 100.0, 201)
    curves(ax, "nernst_potential", ("c_out", ratio), vary=("n", [1.0, 2.0]), fmt="n = {:g}",
           e0=0.0, t=310.15, c_in=1.0)
    ax.set_xscale("log")
    ax.set(xlabel="c_out / c_in", ylabel="E (V)")


@panel("arrhenius_rate", "Arrhenius rate constant against temperature for three activation "
       "energies (A = 10¹³ s⁻¹, log scale); temperatures of zero or below are refused")
def arrhenius_rate(ax):
    t = np.linspace(-20.0, 400.0, 421)
    curves(ax, "arrhenius_rate", ("t", t), vary=("ea", [40e3, 50e3, 60e3]), fmt="{:g} J/mol",
           a=1e13)
    ax.set_yscale("log")
    ax.set(xlabel="temperature T (K)", ylabel="k (s⁻¹)")


@panel("fret_efficiency", "FRET efficiency against donor–acceptor distance for three Förster "
       "radii")
def fret_efficiency(ax):
    curves(ax, "fret_efficiency", ("r", np.linspace(0.0, 15.0, 301)),
           vary=("r0", [4.0, 5.0, 6.0]), fmt="R₀ = {:g} nm")
    ax.set(xlabel="distance r (nm)", ylabel="efficiency E")
