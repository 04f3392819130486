"""
Fitting a growth curve
======================

A culture's optical density read every half hour, fitted by the logistic law with
``quorin_np.logistic_growth`` as the model and SciPy's least squares: the carrying capacity K,
the starting density N₀ and the rate r come out with their standard errors, and the doubling
time in the exponential phase follows from r with ``quorin_np.doubling_time``.
"""

import matplotlib.pyplot as plt
import numpy as np
from scipy.optimize import curve_fit

import quorin_np

# %%
# The readings: a logistic curve (K = 1.2, N₀ = 0.02, r = 0.9 per hour) with 4 % noise,
# drawn from a seeded generator so that the page is the same at every build.
rng = np.random.default_rng(7)
hours = np.arange(0.0, 12.5, 0.5)
density = quorin_np.logistic_growth(1.2, 0.02, 0.9, hours) * rng.normal(1.0, 0.04, hours.size)


def model(t, k, n0, r):
    return quorin_np.logistic_growth(k, n0, r, t)


# %%
# The fit starts from rough guesses: the largest reading, the first one, a rate of 1 per hour.
# A guess that the law refuses (a capacity or a starting density of zero or below) would raise
# the contract's ValueError, so the bounds keep the search where the law is defined.
(k, n0, r), covariance = curve_fit(model, hours, density, p0=(density.max(), density[0], 1.0),
                                   bounds=([1e-6, 1e-6, 0.0], [np.inf, np.inf, np.inf]))
errors = np.sqrt(np.diag(covariance))
print(f"K  = {k:.3f} ± {errors[0]:.3f}")
print(f"N0 = {n0:.4f} ± {errors[1]:.4f}")
print(f"r  = {r:.3f} ± {errors[2]:.3f} per hour")
print(f"doubling time in the exponential phase: {quorin_np.doubling_time(r) * 60:.0f} minutes")

# %%
t = np.linspace(0.0, 12.5, 300)
fig, ax = plt.subplots(figsize=(6, 3.5))
ax.plot(hours, density, "o", label="readings")
ax.plot(t, model(t, k, n0, r), label=f"logistic fit, r = {r:.2f}/h")
ax.axhline(k, color="grey", lw=0.8, ls="--", label="fitted K")
ax.set_xlabel("time (hours)")
ax.set_ylabel("optical density")
ax.legend()
