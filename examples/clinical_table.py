"""Compute bedside indices for every row of a CSV file of patients and write them as CSV.

    python examples/clinical_table.py [PATIENTS_CSV] [--output FILE]

Each row gives sex, age (years), weight (kg), height (cm), serum creatinine and bilirubin
(mg/dL), INR, sodium (mmol/L), glucose and blood urea nitrogen (mg/dL). The output has one row
per patient with BMI, body surface area, Cockcroft-Gault creatinine clearance, the CKD-EPI (2009)
and MDRD filtration rates, the MELD score and the serum osmolarity. A value the contracts refuse,
or one that needs a missing input, is left empty and the reason is given in the `notes` column.
"""

import argparse
import csv
import pathlib
import sys
from collections.abc import Callable

import quorin

DEFAULT_CSV = pathlib.Path(__file__).resolve().parent / "data" / "patients.csv"

INDICES = ["bmi", "bsa_m2", "crcl_ml_min", "egfr_ckd_epi", "egfr_mdrd", "meld", "osmolarity"]


def ckd_epi(scr: float, age: float, female: float) -> float:
    """CKD-EPI (2009): the sex-specific knee and slope, with the age and sex factors folded into
    the final multiplier (`female` is 1.0 for women, 0.0 for men)."""
    kappa, alpha = (0.7, -0.329) if female else (0.9, -0.411)
    scale = 0.993**age * (1.018 if female else 1.0)
    return quorin.ckd_epi(scr, kappa, alpha, scale)


FORMULAS: dict[str, tuple[tuple[str, ...], Callable[..., float]]] = {
    "bmi": (("weight_kg", "height_m"), quorin.bmi),
    "bsa_m2": (("height_cm", "weight_kg"), quorin.body_surface_area),
    "crcl_ml_min": (("age", "weight_kg", "creatinine_mg_dl", "cg_factor"), quorin.cockcroft_gault),
    "egfr_ckd_epi": (("creatinine_mg_dl", "age", "female"), ckd_epi),
    "egfr_mdrd": (("creatinine_mg_dl", "age", "mdrd_factor"), quorin.ckd_mdrd),
    "meld": (("bilirubin_mg_dl", "inr", "creatinine_mg_dl"), quorin.meld_score),
    "osmolarity": (("sodium_mmol_l", "glucose_mg_dl", "bun_mg_dl"), quorin.osmolarity),
}


def inputs(row: dict[str, str]) -> dict[str, float]:
    """The numeric inputs of a row, with the derived ones; missing cells are left out."""
    values = {k: float(v) for k, v in row.items() if k not in ("patient", "sex") and v.strip()}
    female = row["sex"].strip().upper() == "F"
    values["female"] = float(female)
    values["cg_factor"] = 0.85 if female else 1.0
    values["mdrd_factor"] = 0.742 if female else 1.0
    if "height_cm" in values:
        values["height_m"] = values["height_cm"] / 100.0
    return values


def indices(row: dict[str, str]) -> dict[str, str]:
    values = inputs(row)
    out, notes = {"patient": row["patient"]}, []
    for index, (needs, formula) in FORMULAS.items():
        missing = [n for n in needs if n not in values]
        if missing:
            out[index] = ""
            notes.append(f"{index}: missing {', '.join(missing)}")
            continue
        try:
            out[index] = f"{formula(*(values[n] for n in needs)):.2f}"
        except ValueError as refusal:
            out[index] = ""
            notes.append(f"{index}: {refusal}")
    out["notes"] = "; ".join(notes)
    return out


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("patients", nargs="?", type=pathlib.Path, default=DEFAULT_CSV)
    parser.add_argument("--output", type=pathlib.Path, help="write here instead of to stdout")
    options = parser.parse_args()

    with options.patients.open(newline="", encoding="utf-8") as source:
        table = [indices(row) for row in csv.DictReader(source)]
    target = options.output.open("w", newline="", encoding="utf-8") if options.output else sys.stdout
    writer = csv.DictWriter(target, fieldnames=["patient", *INDICES, "notes"], lineterminator="\n")
    writer.writeheader()
    writer.writerows(table)
    if target is not sys.stdout:
        target.close()


if __name__ == "__main__":
    main()
