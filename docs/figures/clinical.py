"""Clinical indices: kidney function by age and sex, liver disease, body size, acid–base."""

import numpy as np

from . import curves, evaluate, panel, shade_refused

CREATININE = np.linspace(-0.3, 4.0, 431)  # mg/dL; zero and below are refused


@panel("ckd_epi", "eGFR by the CKD-EPI 2009 creatinine equation against serum creatinine, for "
       "women and men of 30, 50 and 70 years (κ, α and the age and sex terms of 2009 passed as "
       "arguments); a creatinine of zero or below is refused")
def ckd_epi(ax):
    for age, style in ((30, "-"), (50, "--"), (70, ":")):
        for sex, kappa, alpha, factor, color in (("woman", 0.7, -0.329, 1.018, "C3"),
                                                  ("man", 0.9, -0.411, 1.0, "C0")):
            y, refused = evaluate("ckd_epi", scr=CREATININE, kappa=kappa, alpha=alpha,
                                  scale=0.993**age * factor)
            ax.plot(CREATININE, y, style, color=color, label=f"{sex}, {age}")
    shade_refused(ax, CREATININE, refused)
    ax.set(xlabel="serum creatinine scr (mg/dL)", ylabel="eGFR (mL/min/1.73 m²)", ylim=(0, 200),
           xlim=(CREATININE[0], CREATININE[-1]))
    ax.legend(fontsize="small", ncols=2)


@panel("ckd_mdrd", "eGFR by the MDRD Study equation (IDMS-traceable, 175) against serum "
       "creatinine at 30, 50 and 70 years, men (scale 1) and women (scale 0.742)")
def ckd_mdrd(ax):
    for age, style in ((30, "-"), (50, "--"), (70, ":")):
        for sex, scale, color in (("woman", 0.742, "C3"), ("man", 1.0, "C0")):
            y, refused = evaluate("ckd_mdrd", scr=CREATININE, age=age, scale=scale)
            ax.plot(CREATININE, y, style, color=color, label=f"{sex}, {age}")
    shade_refused(ax, CREATININE, refused)
    ax.set(xlabel="serum creatinine scr (mg/dL)", ylabel="eGFR (mL/min/1.73 m²)", ylim=(0, 200),
           xlim=(CREATININE[0], CREATININE[-1]))
    ax.legend(fontsize="small", ncols=2)


@panel("cockcroft_gault", "Creatinine clearance by Cockcroft–Gault against age for 70 kg and "
       "creatinine 1.0 mg/dL, men and women (sex factor 0.85); ages below 0 and from 140 on are "
       "refused")
def cockcroft_gault(ax):
    age = np.linspace(-10.0, 150.0, 321)
    curves(ax, "cockcroft_gault", ("age", age), vary=("sex_factor", [1.0, 0.85]),
           weight=70.0, scr=1.0)
    ax.set(xlabel="age (years)", ylabel="CrCl (mL/min)")


@panel("meld_score", "Raw MELD score against creatinine for three bilirubin values at INR 1.5; "
       "values of zero or below are refused")
def meld_score(ax):
    creat = np.linspace(-0.5, 6.0, 326)
    curves(ax, "meld_score", ("creat", creat), vary=("bili", [1.0, 3.0, 10.0]), fmt="{:g} mg/dL",
           inr=1.5)
    ax.set(xlabel="creatinine (mg/dL)", ylabel="MELD (raw)")


@panel("bmi", "Body-mass index against weight for three heights; a weight or height of zero "
       "or below is refused")
def bmi(ax):
    weight = np.linspace(-10.0, 140.0, 301)
    curves(ax, "bmi", ("weight_kg", weight), vary=("height_m", [1.55, 1.70, 1.85]),
           fmt="{:g} m")
    ax.set(xlabel="weight (kg)", ylabel="BMI (kg/m²)")


@panel("henderson_hasselbalch", "Buffer pH against bicarbonate for three acid concentrations "
       "at pKa 6.1 (blood's bicarbonate buffer)")
def henderson_hasselbalch(ax):
    base = np.linspace(-4.0, 40.0, 441)
    curves(ax, "henderson_hasselbalch", ("base", base), vary=("acid", [0.9, 1.2, 1.8]),
           fmt="{:g} mmol/L", pka=6.1)
    ax.set(xlabel="[HCO₃⁻] (mmol/L)", ylabel="pH")


@panel("egfr_ckd_epi_2021", "eGFR by the race-free CKD-EPI 2021 creatinine equation against "
       "serum creatinine for women and men of 30, 50 and 70 years; a creatinine of zero or "
       "below is refused")
def egfr_ckd_epi_2021(ax):
    for age, style in ((30, "-"), (50, "--"), (70, ":")):
        for sex, female, color in (("woman", 1.0, "C3"), ("man", 0.0, "C0")):
            y, refused = evaluate("egfr_ckd_epi_2021", scr=CREATININE, age=age, female=female)
            ax.plot(CREATININE, y, style, color=color, label=f"{sex}, {age}")
    shade_refused(ax, CREATININE, refused)
    ax.set(xlabel="serum creatinine scr (mg/dL)", ylabel="eGFR (mL/min/1.73 m²)", ylim=(0, 200),
           xlim=(CREATININE[0], CREATININE[-1]))
    ax.legend(fontsize="small", ncols=2)
