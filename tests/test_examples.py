"""The scripts in examples/ run against this build and print what the contracts compute."""

import csv
import io
import os
import pathlib
import runpy
import subprocess
import sys

import pytest

import quorin

EXAMPLES = pathlib.Path(__file__).resolve().parent.parent / "examples"
FASTA = EXAMPLES / "data" / "rna.fasta"
PATIENTS = EXAMPLES / "data" / "patients.csv"


def run(script, *args):
    """Runs an example in a fresh interpreter that imports the quorin under test."""
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join(
        [os.path.dirname(quorin.__file__), *filter(None, [env.get("PYTHONPATH")])])
    done = subprocess.run([sys.executable, str(EXAMPLES / script), *map(str, args)], env=env,
                          capture_output=True, text=True, encoding="utf-8", timeout=300)
    assert done.returncode == 0, done.stderr
    assert done.stderr == ""
    return done.stdout


def test_demo():
    out = run("demo.py")
    assert out.splitlines()[0] == quorin.__doc__.splitlines()[0]
    assert f"{len(quorin.__all__)} functions registered" in out
    assert "refused: Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)" in out
    assert "refused" not in out.splitlines()[-1]  # an example along the way, not the outcome


def fold_rows(out):
    """record -> the rest of its line, split into fields."""
    lines = out.splitlines()
    assert lines[0].split()[:4] == ["record", "length", "GC", "pairs"]
    return {line.split()[0]: line.split(maxsplit=1)[1] for line in lines[1:]}


def expected_fold(sequence):
    try:
        gc, pairs = quorin.gc_content(sequence), quorin.nussinov(sequence)
    except ValueError as refusal:
        return f"{len(sequence)}  refused: {refusal}"
    return f"{len(sequence)} {gc:.1%} {pairs} {100 * pairs / len(sequence):.1f}"


FASTA_CASES = {
    "shipped data": (FASTA, []),
    "edge cases, one process": (None, ["--processes", "1"]),
}
EDGE_FASTA = """\
>multi_line wrapped over lines, with blank lines

GGGAAA
ccc

>empty
>dna ATGC
ATGCAT
"""


@pytest.mark.parametrize("case", FASTA_CASES)
def test_fold_fasta(case, tmp_path):
    path, options = FASTA_CASES[case]
    if path is None:
        path = tmp_path / "edge.fasta"
        path.write_text(EDGE_FASTA, encoding="utf-8")
    reader = runpy.run_path(str(EXAMPLES / "fold_fasta.py"))["read_fasta"]
    records = list(reader(path))
    assert len(records) == path.read_text(encoding="utf-8").count(">")
    rows = fold_rows(run("fold_fasta.py", path, *options))
    assert list(rows) == [name for name, _ in records]
    for name, sequence in records:
        assert " ".join(rows[name].split()) == " ".join(expected_fold(sequence).split()), name


def test_fold_fasta_reports_refused_records():
    rows = fold_rows(run("fold_fasta.py"))
    assert rows["ambiguous_read"].endswith(
        "refused: Quorin.RnaNussinov: invalid base 'N' (alphabet is A,U,G,C; T accepted as U)")
    assert sum("refused" in r for r in rows.values()) == 1


@pytest.mark.parametrize("min_loop", [0, 3])
def test_fold_structures_writes_each_record_s_dot_bracket(min_loop, tmp_path):
    import quorin_np

    records = list(runpy.run_path(str(EXAMPLES / "fold_structures.py"))["read_fasta"](FASTA))
    out = tmp_path / "folds.txt"
    assert run("fold_structures.py", FASTA, "--min-loop", min_loop, "--output", out) == ""
    expected = []
    for name, sequence in records:
        try:
            structure = quorin_np.nussinov_structure(sequence, min_loop=min_loop)
            shown = f"{structure} ({int(quorin_np.nussinov(sequence, min_loop=min_loop))})"
        except ValueError as refusal:
            shown = f"refused: {refusal}"
        expected += [f">{name}", sequence, shown]
    assert out.read_text(encoding="utf-8").splitlines() == expected


def published_meld(bili, inr, creat):
    """The allocation rules applied by hand to the contract's raw score (no dialysis)."""
    score = quorin.meld_score(max(bili, 1.0), max(inr, 1.0), min(max(creat, 1.0), 4.0))
    return float(min(round(score), 40))


def scalar_indices(row):
    """The indices of a patient row by the scalar functions (and, for the equations that only
    quorin_np has, by its ufuncs called on one patient); None where refused or missing."""
    import quorin_np

    female = row["sex"] == "F"
    number = {k: float(v) for k, v in row.items() if k not in ("patient", "sex") and v}
    age, scr = number["age"], number["creatinine_mg_dl"]
    adult = 18 <= age <= 120 or None  # the published equations refuse other ages
    bili, inr = number["bilirubin_mg_dl"], number["inr"]
    calls = {
        "bmi": lambda: quorin.bmi(number["weight_kg"], number["height_cm"] / 100.0),
        "bsa_m2": lambda: quorin.body_surface_area(number["height_cm"], number["weight_kg"]),
        "crcl_ml_min": lambda: adult and quorin.cockcroft_gault(age, number["weight_kg"], scr,
                                                                0.85 if female else 1.0),
        "egfr_ckd_epi_2021": lambda: float(quorin_np.egfr_ckd_epi_2021(scr, age, female)),
        "egfr_ckd_epi_2009": lambda: adult and quorin.ckd_epi(
            scr, 0.7 if female else 0.9, -0.329 if female else -0.411,
            0.993**age * (1.018 if female else 1.0)),
        "egfr_mdrd": lambda: adult and quorin.ckd_mdrd(scr, age, 0.742 if female else 1.0),
        "meld": lambda: scr > 0 and published_meld(bili, inr, scr) or None,
        "meld_na": lambda: float(quorin_np.meld_na(bili, inr, scr, number["sodium_mmol_l"], 0)),
        "osmolarity": lambda: quorin.osmolarity(number["sodium_mmol_l"], number["glucose_mg_dl"],
                                                number["bun_mg_dl"]),
    }
    out = {}
    for index, call in calls.items():
        try:
            out[index] = call()
        except (ValueError, KeyError):
            out[index] = None
    return out


SCORES = ("meld", "meld_na")


def expected_indices(row):
    return {k: "" if v is None else f"{v:.0f}" if k in SCORES else f"{v:.2f}"
            for k, v in scalar_indices(row).items()}


def test_clinical_table(tmp_path):
    target = tmp_path / "indices.csv"
    assert run("clinical_table.py", PATIENTS, "--output", target) == ""
    with PATIENTS.open(newline="", encoding="utf-8") as f:
        patients = list(csv.DictReader(f))
    with target.open(newline="", encoding="utf-8") as f:
        table = list(csv.DictReader(f))
    assert [r["patient"] for r in table] == [p["patient"] for p in patients]
    for patient, row in zip(patients, table):
        assert {k: row[k] for k in expected_indices(patient)} == expected_indices(patient)
    notes = {r["patient"]: r["notes"] for r in table}
    assert notes["P001"] == ""
    assert notes["P008"] == ("bmi: missing weight_kg; bsa_m2: missing weight_kg; "
                             "crcl_ml_min: missing weight_kg")
    assert notes["P009"].startswith(
        "crcl_ml_min: Quorin.CrclCockcroftGault: age must be in [18, 120]; "
        "egfr_ckd_epi_2021: Quorin.EgfrCkdEpi2021: age must be in [18, 120]")
    assert "bmi: Quorin.BMI: weight and height must be positive" in notes["P010"]
    assert "meld: Quorin.Meld: bili, inr and creat must be positive" in notes["P010"]
    rows = {r["patient"]: r for r in table}
    # The woman of 72 with creatinine 1.45 mg/dL: 38.3 by the 2021 equation, 35.9 by 2009.
    assert (rows["P003"]["egfr_ckd_epi_2021"], rows["P003"]["egfr_ckd_epi_2009"]) == ("38.32", "35.89")
    assert [rows[p]["gfr_category"] for p in ("P001", "P003", "P007", "P009")] == ["G1", "G3b", "G5", ""]


def test_clinical_table_writes_to_stdout_by_default():
    table = list(csv.DictReader(io.StringIO(run("clinical_table.py"))))
    assert len(table) == 10 and table[0]["bmi"] == f"{quorin.bmi(58.5, 1.64):.2f}"


def test_cohort_dask(tmp_path):
    """A generated cohort, read in partitions and computed on two worker processes, gives the
    scalar functions' values bit for bit, and empty cells where they refuse."""
    pytest.importorskip("distributed")
    cohort, target = tmp_path / "cohort.csv", tmp_path / "indices.csv"
    out = run("cohort_dask.py", cohort, "--generate", 12000, "--blocksize", "200kB",
              "--output", target).splitlines()
    with cohort.open(newline="", encoding="utf-8") as f:
        patients = list(csv.DictReader(f))
    with target.open(newline="", encoding="utf-8") as f:
        table = list(csv.DictReader(f))
    assert out[0].startswith("12000 patients in ") and not out[0].endswith(" 1 partitions")
    assert [r["patient"] for r in table] == [p["patient"] for p in patients]
    names = table[0].keys() - {"patient"}
    computed = dict.fromkeys(names, 0)
    for patient, row in zip(patients, table):
        want = scalar_indices(patient)
        for name in names:
            assert row[name] == ("" if want[name] is None else repr(want[name])), (patient, name)
            computed[name] += want[name] is not None
    assert {line.split()[0]: int(line.split()[1]) for line in out[2:]} == computed
    assert 0 < computed["bmi"] < len(patients) and 0 < computed["crcl_ml_min"] < len(patients)
