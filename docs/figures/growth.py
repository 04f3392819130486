"""Growth, survival and mortality over time."""

import numpy as np

from . import curves, evaluate, panel, shade_refused


@panel("logistic_growth", "Logistic growth from N₀ = 10 to K = 1000 at three rates")
def logistic_growth(ax):
    t = np.linspace(0.0, 30.0, 301)
    curves(ax, "logistic_growth", ("t", t), vary=("r", [0.25, 0.5, 1.0]), fmt="r = {:g}",
           k=1000.0, n0=10.0)
    ax.set(xlabel="time t", ylabel="population N")


@panel("weibull_survival", "Weibull survival with scale λ = 2 for three shapes: falling hazard "
       "(k < 1), constant (k = 1, exponential) and rising")
def weibull_survival(ax):
    t = np.linspace(0.0, 6.0, 301)
    curves(ax, "weibull_survival", ("t", t), vary=("k", [0.5, 1.0, 3.0]), fmt="k = {:g}",
           **{"lambda": 2.0})
    ax.set(xlabel="time t", ylabel="survival S(t)")


@panel("gompertz_hazard", "Gompertz hazard on a logarithmic scale for three rates of ageing; "
       "negative times are refused")
def gompertz_hazard(ax):
    t = np.linspace(-10.0, 100.0, 441)
    for beta in (0.06, 0.085, 0.11):
        y, refused = evaluate("gompertz_hazard", alpha=1e-4, beta=beta, time=t)
        ax.semilogy(t, y, label=f"β = {beta:g}")
    shade_refused(ax, t, refused)
    ax.set(xlabel="age (years)", ylabel="hazard h(t), α = 10⁻⁴", xlim=(t[0], t[-1]))
    ax.legend(fontsize="small")


@panel("pcr_copies", "Copies after n cycles from 10 copies for three amplification factors, "
       "on a logarithmic scale")
def pcr_copies(ax):
    n = np.arange(0, 31)
    for e in (1.8, 1.9, 2.0):
        y, _ = evaluate("pcr_copies", n0=10.0, e=e, n=n)
        ax.semilogy(n, y, ".-", label=f"E = {e:g}")
    ax.set(xlabel="cycles n", ylabel="copies")
    ax.legend(fontsize="small")
