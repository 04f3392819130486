"""
Michaelis–Menten kinetics
=========================

Reaction velocity against substrate concentration for an enzyme with Vmax = 10 µM/s and three
Michaelis constants, with and without a competitive inhibitor.
"""

import matplotlib.pyplot as plt
import numpy as np

import quorin_np

substrate = np.linspace(0.25, 50.0, 200)  # µM (a zero substrate is refused)
fig, ax = plt.subplots(figsize=(6, 3.5))
for km in (2.0, 5.0, 15.0):
    ax.plot(substrate, quorin_np.michaelis_menten(10.0, km, substrate), label=f"Km = {km:g} µM")
ax.plot(substrate, quorin_np.competitive_inhibition(10.0, 5.0, substrate, 10.0, 4.0), "--",
        label="Km = 5 µM, I = 10 µM, Ki = 4 µM")
ax.axhline(10.0, color="grey", lw=0.8)
ax.set_xlabel("substrate (µM)")
ax.set_ylabel("velocity (µM/s)")
ax.legend()

# %%
# At S = Km the velocity is half of Vmax, whatever Km is:
print(quorin_np.michaelis_menten(10.0, np.array([2.0, 5.0, 15.0]), np.array([2.0, 5.0, 15.0])))
