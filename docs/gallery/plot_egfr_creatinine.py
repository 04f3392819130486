"""
eGFR against creatinine, by age and sex (CKD-EPI 2009)
======================================================

``quorin_np.ckd_epi`` computes the three factors of the CKD-EPI creatinine equation; the
constants of the 2009 equation (κ and α by sex, 0.993 to the power of age and 1.018 for women)
are passed as its arguments, so every curve here is the **2009** equation. The race-free 2021
refit changes a fixed exponent and cannot be computed with this function.
"""

import matplotlib.pyplot as plt
import numpy as np
import pandas as pd

import quorin_np

SEX = {"female": (0.7, -0.329, 1.018), "male": (0.9, -0.411, 1.0)}  # κ, α, sex factor (2009)


def egfr_2009(scr, age, sex):
    kappa, alpha, factor = SEX[sex]
    return quorin_np.ckd_epi(scr, kappa, alpha, 0.993**age * factor)


creatinine = np.linspace(0.4, 3.0, 300)  # mg/dL
fig, ax = plt.subplots(figsize=(6.5, 3.8))
for age, style in ((25, "-"), (50, "--"), (75, ":")):
    for sex, color in (("female", "C3"), ("male", "C0")):
        ax.plot(creatinine, egfr_2009(creatinine, age, sex), style, color=color,
                label=f"{sex}, {age} years")
for limit in (90, 60, 30, 15):
    ax.axhline(limit, color="grey", lw=0.6)
ax.set_xlabel("serum creatinine (mg/dL)")
ax.set_ylabel("eGFR, CKD-EPI 2009 (mL/min/1.73 m²)")
ax.set_ylim(0, 160)
ax.legend(ncols=2, fontsize="small")

# %%
# The same equation over a table of patients: a pandas column in, a column out. Creatinine
# reported in µmol/L is divided by 88.4 first, since the function converts no unit.
patients = pd.DataFrame({"age": [60, 53, 34, 81], "sex": ["female", "male", "female", "male"],
                         "creatinine_umol_l": [106.0, 111.0, 62.0, 190.0]})
scr = patients["creatinine_umol_l"] / 88.4
kappa = patients["sex"].map(lambda s: SEX[s][0])
alpha = patients["sex"].map(lambda s: SEX[s][1])
scale = 0.993 ** patients["age"] * patients["sex"].map(lambda s: SEX[s][2])
patients["egfr_2009"] = quorin_np.ckd_epi(scr, kappa, alpha, scale).round(1)
print(patients)
