"""Compute bedside indices for a cohort in a CSV file on a cluster of local worker processes.

    python examples/cohort_dask.py [COHORT_CSV] [--generate ROWS] [--workers N] [--output FILE]

The cohort has the columns of examples/data/patients.csv. Without a file, or with --generate, a
synthetic cohort of ROWS patients (200,000 by default), a few of them with values the contracts
refuse or with a missing weight, is written first: to COHORT_CSV, or to a temporary folder.
dask.dataframe reads the file in partitions, and quorin_np computes BMI, body surface area,
Cockcroft-Gault creatinine clearance, the eGFR by CKD-EPI 2021 (and by CKD-EPI 2009 and MDRD,
labelled as such), the MELD and MELD-Na scores as used for allocation (no patient of the cohort
is on dialysis) and the serum osmolarity on a dask.distributed cluster of worker processes on
this machine. The columns are
built under errstate(refused="nan"), a mode that travels with the tasks to the workers, so a
refused value is NaN rather than an error that stops the whole cohort.

Prints one line per index: the values computed, those refused, those lacking an input, and the
mean. With --output, also writes the indices of every patient as CSV (refused or missing values
left empty).
"""

import argparse
import logging
import pathlib
import tempfile

import dask.dataframe as dd
import numpy as np
import pandas as pd  # type: ignore[import-untyped]
from dask.base import compute
from dask.distributed import Client, LocalCluster

import quorin_np

COLUMNS = ["patient", "sex", "age", "weight_kg", "height_cm", "creatinine_mg_dl",
           "bilirubin_mg_dl", "inr", "sodium_mmol_l", "glucose_mg_dl", "bun_mg_dl"]
NEEDS = {
    "bmi": ("weight_kg", "height_cm"),
    "bsa_m2": ("height_cm", "weight_kg"),
    "crcl_ml_min": ("age", "weight_kg", "creatinine_mg_dl", "sex"),
    "egfr_ckd_epi_2021": ("creatinine_mg_dl", "age", "sex"),
    "egfr_ckd_epi_2009": ("creatinine_mg_dl", "age", "sex"),
    "egfr_mdrd": ("creatinine_mg_dl", "age", "sex"),
    "meld": ("bilirubin_mg_dl", "inr", "creatinine_mg_dl"),
    "meld_na": ("bilirubin_mg_dl", "inr", "creatinine_mg_dl", "sodium_mmol_l"),
    "osmolarity": ("sodium_mmol_l", "glucose_mg_dl", "bun_mg_dl"),
}


def write_cohort(path: pathlib.Path, rows: int, seed: int = 2024) -> None:
    """A synthetic cohort: plausible values, with a height of 0 every 997 rows, an age of 150
    every 1,009 rows and a missing weight every 1,013 rows."""
    rng = np.random.default_rng(seed)
    cohort = pd.DataFrame({
        "patient": [f"C{i:07d}" for i in range(rows)],
        "sex": rng.choice(["F", "M"], rows),
        "age": rng.integers(18, 100, rows),
        "weight_kg": rng.normal(78.0, 16.0, rows).clip(35.0, 200.0).round(1),
        "height_cm": rng.normal(170.0, 10.0, rows).clip(130.0, 210.0).round(0),
        "creatinine_mg_dl": rng.lognormal(0.0, 0.35, rows).round(2),
        "bilirubin_mg_dl": rng.lognormal(-0.2, 0.6, rows).round(1),
        "inr": rng.normal(1.1, 0.2, rows).clip(0.8, 5.0).round(1),
        "sodium_mmol_l": rng.normal(139.0, 3.5, rows).round(0),
        "glucose_mg_dl": rng.lognormal(4.6, 0.25, rows).round(0),
        "bun_mg_dl": rng.lognormal(2.7, 0.4, rows).round(0),
    }, columns=COLUMNS)
    cohort.loc[::997, "height_cm"] = 0.0
    cohort.loc[::1009, "age"] = 150
    cohort.loc[::1013, "weight_kg"] = np.nan
    cohort.to_csv(path, index=False)


def indices(cohort: dd.DataFrame) -> dict[str, dd.Series]:
    """The lazy index columns of a cohort, refused values as NaN."""
    # The derived inputs become columns first: every input is then a column of one frame, which
    # Dask knows to be partitioned alike, so it combines them partition by partition.
    female = (cohort["sex"] == "F").astype("f8")
    c = cohort.assign(height_m=cohort["height_cm"] / 100.0, female=female)
    scr, age, f = c["creatinine_mg_dl"], c["age"], c["female"]
    with quorin_np.errstate(refused="nan"):
        return {
            "bmi": quorin_np.bmi(c["weight_kg"], c["height_m"]),
            "bsa_m2": quorin_np.body_surface_area(c["height_cm"], c["weight_kg"]),
            "crcl_ml_min": quorin_np.crcl_cockcroft_gault(age, c["weight_kg"], scr, f),
            "egfr_ckd_epi_2021": quorin_np.egfr_ckd_epi_2021(scr, age, f),
            "egfr_ckd_epi_2009": quorin_np.egfr_ckd_epi_2009(scr, age, f),
            "egfr_mdrd": quorin_np.egfr_mdrd(scr, age, f),
            "meld": quorin_np.meld(c["bilirubin_mg_dl"], c["inr"], scr, 0.0),
            "meld_na": quorin_np.meld_na(c["bilirubin_mg_dl"], c["inr"], scr, c["sodium_mmol_l"],
                                         0.0),
            "osmolarity": quorin_np.osmolarity(c["sodium_mmol_l"], c["glucose_mg_dl"],
                                               c["bun_mg_dl"]),
        }


def report(cohort: dd.DataFrame, output: pathlib.Path | None) -> None:
    table = cohort[["patient"]].assign(**indices(cohort))
    complete = {name: ~cohort[list(needs)].isna().any(axis=1) for name, needs in NEEDS.items()}
    table = table.assign(**{f"{name}_complete": ok for name, ok in complete.items()}).persist()
    counts = {name: (table[name].count(), (table[f"{name}_complete"] & table[name].isna()).sum(),
                     (~table[f"{name}_complete"]).sum(), table[name].mean()) for name in NEEDS}
    (totals,) = compute(counts)  # type: ignore[no-untyped-call]
    print(f"{len(table)} patients in {cohort.npartitions} partitions")
    print(f"{'index':<12} {'computed':>9} {'refused':>8} {'missing':>8} {'mean':>10}")
    for name, (computed, refused, missing, mean) in totals.items():
        print(f"{name:<12} {computed:>9} {refused:>8} {missing:>8} {mean:>10.3f}")
    if output is not None:
        table[["patient", *NEEDS]].to_csv(output, single_file=True, index=False)


def main() -> None:
    parser = argparse.ArgumentParser(description=(__doc__ or "").splitlines()[0])
    parser.add_argument("cohort", nargs="?", type=pathlib.Path)
    parser.add_argument("--generate", type=int, metavar="ROWS",
                        help="write a synthetic cohort of ROWS patients first")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--blocksize", default="1MB", help="bytes of CSV per partition")
    parser.add_argument("--output", type=pathlib.Path, help="write the indices here as CSV")
    options = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        path = options.cohort or pathlib.Path(scratch) / "cohort.csv"
        if options.generate or options.cohort is None:
            write_cohort(path, options.generate or 200_000)
        # The cluster's own log keeps to errors: a slow worker's shutdown is not the cohort's.
        cluster = LocalCluster(  # type: ignore[no-untyped-call]
            n_workers=options.workers, threads_per_worker=1, processes=True, host="127.0.0.1",
            dashboard_address=None, silence_logs=logging.ERROR)
        with cluster, Client(cluster):  # type: ignore[no-untyped-call]
            numbers = {name: "float64" for name in COLUMNS[2:]}
            cohort = dd.read_csv(path, blocksize=options.blocksize, dtype=numbers,
                                 float_precision="round_trip")
            report(cohort, options.output)


if __name__ == "__main__":
    main()
