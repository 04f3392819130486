"""Compute bedside indices for every row of a CSV file of patients and write them as CSV.

    python examples/clinical_table.py [PATIENTS_CSV] [--output FILE]

Each row gives sex, age (years), weight (kg), height (cm), serum creatinine and bilirubin
(mg/dL), INR, sodium (mmol/L), glucose and blood urea nitrogen (mg/dL), and optionally
`dialysis` (1 after dialysis twice in the past week; without the column, no patient is on
dialysis). The output has one row per patient with BMI, body surface area, the Cockcroft-Gault
creatinine clearance, the eGFR by CKD-EPI 2021 (what laboratories report), by CKD-EPI 2009
(labelled as such, for comparison with older records) and by MDRD, the KDIGO category of the
2021 eGFR, the MELD and MELD-Na scores as used for allocation, and the serum osmolarity. A value
that is refused, or that needs a missing input, is left empty and the reason is given in the
`notes` column.
"""

import argparse
import csv
import pathlib
import sys
from collections.abc import Callable

import quorin
import quorin_np

DEFAULT_CSV = pathlib.Path(__file__).resolve().parent / "data" / "patients.csv"
REAL, SCORE = "{:.2f}", "{:.0f}"

# index: (inputs, function, format). The contracts come from quorin; the published equations,
# which take the sex or dialysis status as an input, from quorin_np.
FORMULAS: dict[str, tuple[tuple[str, ...], Callable[..., float], str]] = {
    "bmi": (("weight_kg", "height_m"), quorin.bmi, REAL),
    "bsa_m2": (("height_cm", "weight_kg"), quorin.body_surface_area, REAL),
    "crcl_ml_min": (("age", "weight_kg", "creatinine_mg_dl", "female"),
                    quorin_np.crcl_cockcroft_gault, REAL),
    "egfr_ckd_epi_2021": (("creatinine_mg_dl", "age", "female"), quorin_np.egfr_ckd_epi_2021, REAL),
    "egfr_ckd_epi_2009": (("creatinine_mg_dl", "age", "female"), quorin_np.egfr_ckd_epi_2009, REAL),
    "egfr_mdrd": (("creatinine_mg_dl", "age", "female"), quorin_np.egfr_mdrd, REAL),
    "meld": (("bilirubin_mg_dl", "inr", "creatinine_mg_dl", "dialysis"), quorin_np.meld, SCORE),
    "meld_na": (("bilirubin_mg_dl", "inr", "creatinine_mg_dl", "sodium_mmol_l", "dialysis"),
                quorin_np.meld_na, SCORE),
    "osmolarity": (("sodium_mmol_l", "glucose_mg_dl", "bun_mg_dl"), quorin.osmolarity, REAL),
}
# The KDIGO category of the 2021 eGFR follows it, as the label of its code.
INDICES = [*FORMULAS][:4] + ["gfr_category"] + [*FORMULAS][4:]
GFR_CATEGORIES = ("G1", "G2", "G3a", "G3b", "G4", "G5")


def inputs(row: dict[str, str]) -> dict[str, float]:
    """The numeric inputs of a row, with the derived ones; missing cells are left out."""
    values = {k: float(v) for k, v in row.items() if k not in ("patient", "sex") and v.strip()}
    values["female"] = float(row["sex"].strip().upper() == "F")
    if "dialysis" not in row:  # an optional column: without it, no patient is on dialysis
        values["dialysis"] = 0.0
    if "height_cm" in values:
        values["height_m"] = values["height_cm"] / 100.0
    return values


def indices(row: dict[str, str]) -> dict[str, str]:
    values = inputs(row)
    out, notes, computed = {"patient": row["patient"]}, [], {}
    for index, (needs, formula, shown) in FORMULAS.items():
        missing = [n for n in needs if n not in values]
        if missing:
            out[index] = ""
            notes.append(f"{index}: missing {', '.join(missing)}")
            continue
        try:
            computed[index] = float(formula(*(values[n] for n in needs)))
        except ValueError as refusal:
            out[index] = ""
            notes.append(f"{index}: {refusal}")
        else:
            out[index] = shown.format(computed[index])
    egfr = computed.get("egfr_ckd_epi_2021")
    code = None if egfr is None else int(quorin_np.kdigo_gfr_category(egfr))
    out["gfr_category"] = "" if code is None else GFR_CATEGORIES[code - 1]
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
