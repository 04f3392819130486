"""
Dose–response with the Hill equation
====================================

Responses measured at eight concentrations, fitted by ``quorin_np.hill_effect``. The Hill
coefficient of ``hill_effect`` is a count (the equation is evaluated with an integer power), so
the fit takes Emax and EC50 by least squares for each coefficient from 1 to 4 and keeps the one
with the smallest residual.
"""

import matplotlib.pyplot as plt
import numpy as np
from scipy.optimize import curve_fit

import quorin_np

rng = np.random.default_rng(11)
dose = np.array([0.3, 1.0, 3.0, 6.0, 10.0, 20.0, 50.0, 100.0])  # µM
response = quorin_np.hill_effect(80.0, 8.0, dose, 2) + rng.normal(0.0, 2.5, dose.size)

fits = {}
for n in (1, 2, 3, 4):
    (emax, ec50), _ = curve_fit(lambda c, emax, ec50: quorin_np.hill_effect(emax, ec50, c, n),
                                dose, response, p0=(response.max(), 10.0),
                                bounds=([1e-6, 1e-6], [np.inf, np.inf]))
    residual = np.sum((quorin_np.hill_effect(emax, ec50, dose, n) - response) ** 2)
    fits[n] = (emax, ec50, residual)
    print(f"n = {n}: Emax = {emax:6.2f}, EC50 = {ec50:6.2f} µM, residual {residual:8.1f}")
best = min(fits, key=lambda n: fits[n][2])
print(f"best Hill coefficient: {best}")

# %%
c = np.geomspace(0.1, 200.0, 300)
fig, ax = plt.subplots(figsize=(6, 3.5))
ax.semilogx(dose, response, "o", color="black", label="measured")
for n, (emax, ec50, _) in fits.items():
    ax.semilogx(c, quorin_np.hill_effect(emax, ec50, c, n), lw=2.5 if n == best else 1,
                label=f"n = {n}" + (" (best)" if n == best else ""))
ax.set_xlabel("concentration (µM)")
ax.set_ylabel("effect (% of maximum)")
ax.legend()
