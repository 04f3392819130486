"""
A cohort's eGFR by KDIGO stage
==============================

A generated cohort of 2,000 adults: eGFR by the race-free CKD-EPI 2021 creatinine equation
(``quorin_np.egfr_ckd_epi_2021``), its KDIGO GFR category (``kdigo_gfr_category``, labels by
``kdigo_gfr_labels``), the count per stage and the distribution of eGFR within each stage.
"""

import matplotlib.pyplot as plt
import numpy as np
import pandas as pd

import quorin_np

rng = np.random.default_rng(25)
n = 2000
cohort = pd.DataFrame({
    "age": rng.integers(20, 90, n),
    "female": rng.random(n) < 0.5,
    # creatinine rises with age and kidney disease; a log-normal spread around it
    "scr": np.exp(rng.normal(0.0, 0.45, n)) * (0.8 + 0.008 * rng.integers(0, 60, n)),
})
cohort["egfr"] = quorin_np.egfr_ckd_epi_2021(cohort["scr"], cohort["age"], cohort["female"])
cohort["stage"] = quorin_np.kdigo_gfr_labels(quorin_np.kdigo_gfr_category(cohort["egfr"]))
counts = cohort.groupby("stage", observed=False).size()
print(counts.to_string())

# %%
stages = list(counts.index)
fig, (left, right) = plt.subplots(1, 2, figsize=(8.5, 3.4))
left.bar(stages, counts.values, color="C0")
left.set_xlabel("KDIGO GFR category")
left.set_ylabel("patients")
right.boxplot([cohort.loc[cohort["stage"] == s, "egfr"] for s in stages], tick_labels=stages)
right.set_xlabel("KDIGO GFR category")
right.set_ylabel("eGFR, CKD-EPI 2021 (mL/min/1.73 m²)")
