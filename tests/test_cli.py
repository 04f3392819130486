"""The `quorin` command, run as installed, in a subprocess: FASTA and table inputs, the outputs
against quorin_np's own functions, refusals and their statuses, usage errors, Ctrl-C, a Dask
cluster, and every example of docs/shell.md (`python tests/test_cli.py --refresh` rewrites the
outputs shown there from the command's own)."""

import csv
import gzip
import io
import math
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import numpy as np
import pytest

import quorin
import quorin_np

ROOT = pathlib.Path(__file__).resolve().parent.parent
SHELL_DOC = ROOT / "docs" / "shell.md"
_SCRIPT = pathlib.Path(sys.executable).parent / "quorin"
QUORIN = [str(_SCRIPT)] if _SCRIPT.exists() else [sys.executable, "-m", "quorin_np"]
GUARD = 60.0  # far longer than any run here; only a run that never stops reaches it


def quorin_cmd(*args, input=None, cwd=None):
    return subprocess.run([*QUORIN, *map(str, args)], input=input, cwd=cwd,
                          capture_output=True, text=True, timeout=GUARD)


def missing(*names):
    lacking = [n for n in names if not hasattr(quorin_np, n)]
    return pytest.mark.skipif(bool(lacking), reason=f"quorin_np has no {', '.join(lacking)} yet")


def takes_min_loop():
    try:
        quorin_np.nussinov([], min_loop=3)
    except TypeError:
        return False
    return True


needs_min_loop = pytest.mark.skipif(not takes_min_loop(),
                                    reason="quorin_np.nussinov takes no min_loop yet")

# ---- fold ----------------------------------------------------------------------------------

RECORDS = [("first record", "GGGGAAAACCCCAUG"), ("second", "acguuacgugca"),
           ("third  spaced name", "GGCAUTTGCC" * 3), ("empty", "")]
FASTA = ">first record\nGGGGAAAA\nCCCCAUG\n\n>second\nacguuacgugca\n>third  spaced name\n" \
        "GGCAUTTGCC\nGGCAUTTGCC\n\nGGCAUTTGCC\n>empty\n"


def count_table(records):
    rows = [f"{name}\t{len(s)}\t{quorin.nussinov(s)}" for name, s in records]
    return "name\tlength\tpairs\n" + "".join(r + "\n" for r in rows)


@pytest.mark.parametrize("how", ["plain", "crlf", "gzip", "stdin", "two files"])
def test_fold_reads_fasta_as_people_have_it(tmp_path, how):
    text = FASTA.replace("\n", "\r\n") if how == "crlf" else FASTA
    path = tmp_path / ("in.fa.gz" if how == "gzip" else "in.fa")
    if how == "gzip":
        path.write_bytes(gzip.compress(text.encode()))
    else:
        path.write_text(text, newline="")
    args, expected = [path], count_table(RECORDS)
    if how == "two files":
        args, expected = [path, path], count_table(RECORDS * 2)
    if how == "stdin":
        args = ["-"]
    run = quorin_cmd("fold", *args, "--min-loop", "0", "--output", "count",
                     input=text if how == "stdin" else None)
    assert (run.returncode, run.stderr) == (0, "")
    assert run.stdout == expected


def random_records(count, length, seed=1):
    letters = np.array(list("ACGU"))
    rng = np.random.default_rng(seed)
    return [(f"r{k}", "".join(s)) for k, s in
            enumerate(letters[rng.integers(0, 4, size=(count, length))])]


def test_fold_output_keeps_input_order_over_chunks_and_threads(tmp_path):
    records = random_records(5000, 40)  # several chunks, split over threads
    path = tmp_path / "many.fa"
    path.write_text("".join(f">{n}\n{s}\n" for n, s in records))
    counts = quorin_np.nussinov([s for _, s in records]).tolist()
    expected = "name\tlength\tpairs\n" + "".join(
        f"{n}\t{len(s)}\t{c}\n" for (n, s), c in zip(records, counts))
    for workers in ("1", "2"):
        run = quorin_cmd("fold", path, "--min-loop", "0", "--output", "count", "--workers", workers)
        assert run.stdout == expected


@missing("nussinov_structure", "nussinov_pairs")
@needs_min_loop
@pytest.mark.parametrize("min_loop", [0, 3])
def test_fold_outputs_are_the_library_s(tmp_path, min_loop):
    records = random_records(300, 60) + [("lower", "ggggaaaaccccuuuuggg")]
    path = tmp_path / "r.fa"
    path.write_text("".join(f">{n}\n{s}\n" for n, s in records))
    seqs = [s for _, s in records]
    structures = quorin_np.nussinov_structure(seqs, min_loop=min_loop).tolist()
    dot = quorin_cmd("fold", path, "--min-loop", min_loop)
    assert dot.stdout == "".join(f">{n}\n{s}\n{d} ({d.count('(')})\n"
                                 for (n, s), d in zip(records, structures))
    counts = quorin_cmd("fold", path, "--min-loop", min_loop, "--output", "count")
    assert counts.stdout == "name\tlength\tpairs\n" + "".join(
        f"{n}\t{len(s)}\t{c}\n" for (n, s), c in
        zip(records, quorin_np.nussinov(seqs, min_loop=min_loop).tolist()))
    pairs = quorin_cmd("fold", path, "--min-loop", min_loop, "--output", "pairs")
    assert pairs.stdout == "name\ti\tj\n" + "".join(
        f"{n}\t{i + 1}\t{j + 1}\n" for n, s in records
        for i, j in quorin_np.nussinov_pairs(s, min_loop=min_loop).tolist())


BAD = ">good one\nGGGAAACCC\n\n>bad one\nGGGANNCCC\n>good two\nACGU\n"


def _message(sequence):
    with pytest.raises(ValueError) as refused:
        quorin.nussinov(sequence)
    return str(refused.value)


@pytest.mark.parametrize("existing", [None, "kept as it was\n"])
def test_fold_refused_record_stops_and_leaves_out_alone(tmp_path, existing):
    fasta, out = tmp_path / "in.fa", tmp_path / "out.tsv"
    fasta.write_text(BAD)
    if existing:
        out.write_text(existing)
    run = quorin_cmd("fold", fasta, "--min-loop", "0", "--output", "count", "-o", out)
    assert run.returncode == 1
    assert run.stderr == f"quorin fold: {fasta}:4: record 'bad one': {_message('GGGANNCCC')}\n"
    assert (out.read_text() if out.exists() else None) == existing
    assert sorted(p.name for p in tmp_path.iterdir()) == sorted(["in.fa"] + ["out.tsv"] * bool(existing))


def test_fold_skip_invalid_writes_the_others(tmp_path):
    fasta = tmp_path / "in.fa"
    fasta.write_text(BAD)
    run = quorin_cmd("fold", fasta, "--min-loop", "0", "--output", "count", "--skip-invalid")
    assert run.returncode == 0
    assert run.stdout == count_table([("good one", "GGGAAACCC"), ("good two", "ACGU")])
    assert run.stderr == f"quorin fold: skipped {fasta}:4: record 'bad one': " \
                         f"{_message('GGGANNCCC')}\n"


def test_fold_needs_fasta(tmp_path):
    path = tmp_path / "x.fa"
    path.write_text("ACGU\n>late header\nACGU\n")
    run = quorin_cmd("fold", path, "--min-loop", "0", "--output", "count")
    assert run.returncode == 1 and "x.fa:1: sequence before the first '>'" in run.stderr


# ---- progress and the extra -----------------------------------------------------------------

def _stderr_on_a_terminal(args):
    import fcntl
    import pty
    import struct
    import termios

    main, child_end = pty.openpty()
    fcntl.ioctl(child_end, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 100, 0, 0))
    run = subprocess.run([*QUORIN, *map(str, args)], stdout=subprocess.DEVNULL, stderr=child_end,
                         timeout=GUARD)
    os.close(child_end)
    seen = b""
    while True:
        try:
            data = os.read(main, 1 << 16)
        except OSError:  # the terminal closed
            break
        if not data:
            break
        seen += data
    os.close(main)
    return run.returncode, seen.decode(errors="replace")


@pytest.mark.parametrize("choice, shown", [(None, True), ("--progress", True), ("--no-progress", False)])
def test_progress_bar_on_a_terminal_unless_refused(tmp_path, choice, shown):
    path = tmp_path / "in.fa"
    path.write_text(FASTA)
    args = ["fold", path, "--min-loop", "0", "--output", "count"] + ([choice] if choice else [])
    status, seen = _stderr_on_a_terminal(args)
    assert status == 0 and ("100%" in seen and "4 records" in seen) == shown and bool(seen) == shown


def test_progress_asked_for_off_a_terminal(table):
    run = quorin_cmd("apply", "bmi", table, "--errors", "nan", "--progress")
    assert run.returncode == 0 and "6 rows" in run.stderr


def test_apply_without_the_tables_extra_says_what_to_install(table):
    code = ("import sys; sys.modules['pyarrow'] = None\n"
            "from quorin_np._cli import main; sys.exit(main(sys.argv[1:]))")
    run = subprocess.run([sys.executable, "-c", code, "apply", "bmi", str(table)],
                         capture_output=True, text=True, timeout=GUARD)
    assert (run.returncode, run.stderr) == (
        2, "quorin apply: apply reads and writes tables with pyarrow, which is not installed: "
           "pip install 'quorin[tables]'\n")


# ---- Ctrl-C --------------------------------------------------------------------------------

def _interrupted(tmp_path, args, feed=None):
    """Status, standard error and files left of a run sent SIGINT once it has begun writing
    (its temporary file exists): a job that would otherwise run for minutes."""
    child = subprocess.Popen([*QUORIN, *map(str, args)], cwd=tmp_path, stderr=subprocess.PIPE,
                             stdin=subprocess.PIPE if feed else None, text=True)
    try:
        if feed:
            child.stdin.write(feed)
            child.stdin.flush()
        for _ in range(int(GUARD / 0.02)):  # a guard against a hang, not a bound on speed
            if any(p.suffix == ".part" for p in tmp_path.iterdir()):
                break
            assert child.poll() is None
            time.sleep(0.02)
        else:
            pytest.fail("the run never began writing")
        time.sleep(0.2)
        child.send_signal(signal.SIGINT)
        _, err = child.communicate(timeout=GUARD)
    finally:
        child.kill()
        child.wait()
    return child.returncode, err, sorted(p.name for p in tmp_path.iterdir())


def test_ctrl_c_stops_a_fold_and_leaves_nothing(tmp_path):
    (tmp_path / "long.fa").write_text("".join(f">{n}\n{s}\n" for n, s in random_records(60, 6000)))
    status, err, left = _interrupted(tmp_path, ["fold", "long.fa", "--min-loop", "0", "--output",
                                                "count", "-o", "out.tsv", "--workers", "2"])
    assert (status, err, left) == (130, "quorin fold: stopped\n", ["long.fa"])


def test_ctrl_c_stops_an_apply_waiting_for_input(tmp_path):
    status, err, left = _interrupted(tmp_path, ["apply", "bmi", "-o", "out.csv"],
                                     feed="weight_kg,height_m\n" + "70,1.8\n" * 1000)
    assert (status, err, left) == (130, "quorin apply: stopped\n", [])


# ---- apply ---------------------------------------------------------------------------------

TABLE = """\
id,mass,weight_kg,height_m,note
a1,70,71.5,1.75,"plain, with a comma"
a2,80.50,,1.80,missing weight
a3,66,66.0,NA,NA height
a4,80,80,0,refused: zero height
a5,90,abc,1.7,not a number
a6,55,55.25,1.6000,
"""


def rows_of(text, delimiter=","):
    return list(csv.reader(io.StringIO(text), delimiter=delimiter))


def bmi_cell(weight, height):
    """What `apply bmi` writes for one row: the function's value read back exactly, or ''."""
    try:
        w, h = float(weight), float(height)
    except ValueError:
        return ""
    if math.isnan(w) or math.isnan(h):
        return ""
    with quorin_np.errstate(refused="nan"):
        v = float(quorin_np.bmi(w, h))
    return "" if math.isnan(v) else v


def check_bmi(output, weights, heights, rows_in):
    out = rows_of(output)
    assert out[0] == rows_in[0] + ["bmi"]
    assert [r[:-1] for r in out[1:]] == rows_in[1:]  # every input cell as it was
    got = [float(r[-1]) if r[-1] else "" for r in out[1:]]
    assert got == [bmi_cell(w, h) for w, h in zip(weights, heights)]


@pytest.fixture
def table(tmp_path):
    path = tmp_path / "t.csv"
    path.write_text(TABLE)
    return path


@pytest.mark.parametrize("args, weights, heights", [
    ([], "column weight_kg", "column height_m"),
    (["--map", "weight_kg=mass"], "column mass", "column height_m"),
    (["--set", "height_m=1.8", "--map", "weight_kg=mass"], "column mass", "1.8"),
], ids=["by name", "--map", "--set"])
def test_apply_takes_columns_by_name_map_and_set(table, args, weights, heights):
    rows_in = rows_of(TABLE)
    column = {"column " + n: [r[i] for r in rows_in[1:]] for i, n in enumerate(rows_in[0])}
    w = column.get(weights)
    h = column.get(heights, [heights] * (len(rows_in) - 1))
    run = quorin_cmd("apply", "bmi", table, *args, "--errors", "nan")
    assert (run.returncode, run.stderr) == (0, "")
    check_bmi(run.stdout, w, h, rows_in)


def test_apply_options_stand_anywhere(table):
    before = quorin_cmd("apply", "--errors", "nan", "--map", "weight_kg=mass", "bmi", table)
    after = quorin_cmd("apply", "bmi", table, "--map", "weight_kg=mass", "--errors", "nan")
    assert before.returncode == 0 and before.stdout == after.stdout


@pytest.mark.parametrize("mode, status, message", [
    ("raise", 1, "quorin apply: {t}: row 4 (weight_kg=80, height_m=0): "
                 "Quorin.BMI: weight and height must be positive\n"),
    ("nan", 0, ""),
    ("warn", 0, "quorin apply: {t}: 2 row(s) refused, their results left empty; the first, "
                "row 4 (weight_kg=80, height_m=0): Quorin.BMI: weight and height must be "
                "positive\n"),
])
def test_apply_error_modes(table, mode, status, message):
    out = table.parent / "out.csv"
    run = quorin_cmd("apply", "bmi", table, "--errors", mode, "-o", out)
    assert (run.returncode, run.stderr) == (status, message.format(t=table))
    assert out.exists() == (status == 0)


def test_apply_refuses_a_cell_that_is_no_number(tmp_path):
    path = tmp_path / "t.csv"
    path.write_text("weight_kg,height_m\n70,1.8\nabc,1.7\n")
    run = quorin_cmd("apply", "bmi", path)
    assert run.returncode == 1
    assert run.stderr == f"quorin apply: {path}: row 2 (weight_kg=abc, height_m=1.7): " \
                         "weight_kg: 'abc' in its column is not a real number\n"
    assert rows_of(run.stdout) == [["weight_kg", "height_m", "bmi"],
                                   ["70", "1.8", repr(float(quorin_np.bmi(70, 1.8)))]]


def test_apply_parquet_round_trip(tmp_path):
    pa = pytest.importorskip("pyarrow")
    pq = pytest.importorskip("pyarrow.parquet")
    source = pa.table({"id": pa.array(["x", None, "z", "w"]),
                       "visits": pa.array([3, 4, None, 7], pa.int64()),
                       "weight_kg": pa.array([70.0, 0.1 + 0.2, 80.0, None]),
                       "height_m": pa.array([1.75, 1.8, 1.6, 1.7])})
    pq.write_table(source, tmp_path / "in.parquet")
    run = quorin_cmd("apply", "bmi", tmp_path / "in.parquet", "-o", tmp_path / "out.parquet")
    assert (run.returncode, run.stderr) == (0, "")
    back = pq.read_table(tmp_path / "out.parquet")
    assert back.select(source.column_names).equals(source)  # types and values as they were
    expected = [float(quorin_np.bmi(w, h)) for w, h in zip([70.0, 0.1 + 0.2, 80.0], [1.75, 1.8, 1.6])]
    assert back.column("bmi").to_pylist() == expected + [None]
    # As CSV, reals read back as the same float64 (and integral ones as reals).
    as_csv = quorin_cmd("apply", "bmi", tmp_path / "in.parquet")
    assert [r[2] for r in rows_of(as_csv.stdout)[1:]] == ["70.0", "0.30000000000000004", "80.0", ""]


@pytest.mark.parametrize("fmt", ["tsv", "csv.gz"])
def test_apply_tsv_and_gzip_in_and_out(tmp_path, fmt):
    text = "seq\tsequence\nx\tGGCCAU\ny\tNA\nz\tgcgcgc\n"
    if fmt == "csv.gz":
        text = text.replace("\t", ",")
    path, out = tmp_path / f"in.{fmt}", tmp_path / f"out.{fmt}"
    data = text.encode()
    path.write_bytes(gzip.compress(data) if fmt.endswith(".gz") else data)
    run = quorin_cmd("apply", "gc_content", path, "--as", "gc", "-o", out)
    assert (run.returncode, run.stderr) == (0, "")
    written = out.read_bytes()
    written = (gzip.decompress(written) if fmt.endswith(".gz") else written).decode()
    rows = rows_of(written, "\t" if fmt == "tsv" else ",")
    assert rows[0] == ["seq", "sequence", "gc"]
    assert [r[2] for r in rows[1:]] == [repr(quorin.gc_content("GGCCAU")), "",
                                        repr(quorin.gc_content("gcgcgc"))]


def test_apply_several_results_and_counts(tmp_path):
    path = tmp_path / "g.csv"
    path.write_text("snp,n_aa_dom,n_aa_het,n_aa_rec\ns1,30,50,20\ns2,2.5,1,1\ns3,,4,4\n")
    run = quorin_cmd("apply", "hardy_weinberg_test", path, "--errors", "nan", "--as", "hw")
    assert (run.returncode, run.stderr) == (0, "")
    rows = rows_of(run.stdout)
    assert rows[0] == ["snp", "n_aa_dom", "n_aa_het", "n_aa_rec", "hw_1", "hw_2", "hw_3", "hw_4"]
    assert [float(x) for x in rows[1][4:]] == list(quorin.hardy_weinberg_test(30, 50, 20))
    assert rows[2][4:] == rows[3][4:] == ["", "", "", ""]  # a fraction for a count; missing


def test_apply_empty_table_and_a_pipe_for_out(tmp_path):
    path = tmp_path / "e.csv"
    path.write_text("weight_kg,height_m\n")
    assert quorin_cmd("apply", "bmi", path).stdout == "weight_kg,height_m,bmi\n"
    # OUT that is no regular file (a pipe, /dev/null) is written to, never replaced.
    fifo = tmp_path / "pipe"
    os.mkfifo(fifo)
    reader = subprocess.Popen([sys.executable, "-c", "import sys; print(open(sys.argv[1]).read(), end='')",
                               str(fifo)], stdout=subprocess.PIPE, text=True)
    run = quorin_cmd("apply", "bmi", path, "-o", fifo)
    assert (run.returncode, reader.communicate(timeout=GUARD)[0]) == (0, "weight_kg,height_m,bmi\n")
    assert fifo.is_fifo()


@pytest.mark.parametrize("args, message", [
    (["apply", "bmx", "{t}"], "quorin apply: unknown function 'bmx' (did you mean bmi?)"),
    (["apply", "bmi", "{t}", "--map", "weight_kg=nope"], "has no column 'nope' (its columns: id"),
    (["apply", "body_surface_area", "{t}"], "body_surface_area needs height_cm, and {t} has no"),
    (["apply", "bmi", "{t}", "--frobnicate"], "unrecognized arguments: --frobnicate"),
    (["apply", "protein_rmsd", "{t}"], "protein_rmsd takes a list per call"),
    (["apply", "bmi", "{t}", "--set", "height_m=tall"], "bmi's height_m takes a real number"),
    (["apply", "bmi", "{t}", "--set", "colour=red"], "does not take it"),
    (["apply", "bmi", "{t}", "--set", "dtype=int"], "bmi has no parameter or option dtype"),
    (["apply", "bmi", "nowhere.csv"], "cannot read nowhere.csv: no such file"),
    (["apply", "bmi", "{t}", "-o", "/nowhere/x.csv"], "cannot write /nowhere/x.csv: no folder"),
    (["apply", "bmi", "{t}", "--as", "id"], "already has a column 'id'"),
    (["fold", "--workers", "0", "-"], "--workers must be 1 or more"),
    (["fold", "--output", "svg"], "argument --output: invalid choice: 'svg'"),
    (["frobnicate"], "quorin: unknown command 'frobnicate'"),
])
def test_usage_errors_are_one_line_with_status_2(table, args, message):
    run = quorin_cmd(*[a.format(t=table) for a in args], input="")
    assert run.returncode == 2
    assert run.stderr.count("\n") == 1 and message.format(t=table) in run.stderr, run.stderr


def test_list_and_help_come_from_the_catalogue():
    listing = quorin_cmd("list").stdout.splitlines()
    usable = [i for i in quorin_np.catalogue if i.kind != "lists"]
    calls = [line.split()[0] for line in listing if not line.startswith(" ")]
    assert calls == [f"{i.name}({', '.join(i.params)})".split()[0] for i in usable]
    assert any(line.startswith("bmi(weight_kg, height_m) ") and line.endswith(
        next(i.summary for i in usable if i.name == "bmi")) for line in listing)
    text = quorin_cmd("help", "bmi").stdout
    assert text.startswith("bmi(weight_kg, height_m)\n\nBody-mass index")
    assert "Quorin.BMI: weight and height must be positive" in text
    assert "`quorin apply bmi [FILE]` reads the columns weight_kg, height_m" in text
    module = subprocess.run([sys.executable, "-m", "quorin_np", "help", "bmi"],
                            capture_output=True, text=True, timeout=GUARD)
    assert module.stdout == text


@pytest.mark.parametrize("info", quorin_np.catalogue, ids=lambda i: i.name)
def test_catalogue_records_describe_the_functions(info):
    function = getattr(quorin_np, info.name)
    assert len(info.params) == len(info.kinds) and len(info.defaults) == len(info.params) - info.required
    if info.kind == "texts":
        assert not isinstance(function, np.ufunc) and set(info.kinds) == {"text"}
        return
    assert (function.nin, function.nout, function.signature) == (info.required, info.outputs, info.layout)
    assert ("list" in info.kinds) == (info.kind == "lists")
    if info.full:
        assert getattr(quorin_np, info.full).nin == len(info.params)


# ---- a Dask cluster ------------------------------------------------------------------------

def test_apply_on_a_dask_cluster_gives_the_same_output(tmp_path, table):
    distributed = pytest.importorskip("dask.distributed")
    rows = "".join(f"r{k},{60 + k % 40}.5,{1.5 + (k % 7) / 10}\n" for k in range(20000))
    big = tmp_path / "big.csv"
    big.write_text("id,weight_kg,height_m\n" + rows + "bad,70,0\n")
    here = quorin_cmd("apply", "bmi", big, "--errors", "warn")
    # Workers on threads of this process, reached over TCP as a real cluster would be.
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=False,
                                  protocol="tcp://", host="127.0.0.1",
                                  dashboard_address=None) as cluster:
        there = quorin_cmd("apply", "bmi", big, "--errors", "warn", "--chunk-rows", "1000",
                           "--scheduler", cluster.scheduler_address)  # several partitions
    assert (there.returncode, there.stdout, there.stderr) == (0, here.stdout, here.stderr)
    assert "row 20001 (weight_kg=70, height_m=0)" in here.stderr


# ---- the examples of docs/shell.md ---------------------------------------------------------

BLOCK = re.compile(r"(?:<!-- needs: ([\w ]+) -->\n)?```console\n(.*?)```", re.S)


def shell_blocks():
    """(needs, commands with their shown outputs, span) for each console block of the page."""
    text = SHELL_DOC.read_text(encoding="utf-8")
    for match in BLOCK.finditer(text):
        steps = []
        for line in match[2].splitlines():
            if line.startswith("$ "):
                steps.append([line[2:], []])
            else:
                steps[-1][1].append(line)
        yield (match[1] or "").split(), steps, match.span(2)


def run_block(steps, folder):
    """Each command's output (standard output and error), run in a copy of docs/shell."""
    bin_dir = folder / "bin"
    bin_dir.mkdir()
    (bin_dir / "quorin").write_text('#!/bin/sh\nexec ' + " ".join(
        f"'{a}'" for a in QUORIN) + ' "$@"\n')
    (bin_dir / "quorin").chmod(0o755)
    work = folder / "shell"
    shutil.copytree(SHELL_DOC.parent / "shell", work)
    # The system's own tools too, as in a user's shell, even where this suite's PATH has none.
    path = os.pathsep.join([str(bin_dir), os.environ["PATH"], os.defpath])
    env = dict(os.environ, PATH=path, COLUMNS="100", LC_ALL="C")
    if "PYTHONPATH" in env:  # the commands run in another folder
        env["PYTHONPATH"] = os.pathsep.join(os.path.abspath(p)
                                            for p in env["PYTHONPATH"].split(os.pathsep))
    outputs = []
    for command, _ in steps:
        run = subprocess.run(["bash", "-c", command], cwd=work, env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, text=True, timeout=GUARD)
        outputs.append(run.stdout.splitlines())
    return outputs


def same_output(got, shown):
    """Line by line; numbers may differ in the last digits (the order a formula is evaluated in
    is the function's, not the page's)."""
    if len(got) != len(shown):
        return False
    for a, b in zip(got, shown):
        if a == b:
            continue
        ta, tb = re.split(r"([,\t ()])", a), re.split(r"([,\t ()])", b)
        if len(ta) != len(tb):
            return False
        for x, y in zip(ta, tb):
            if x != y:
                try:
                    if not math.isclose(float(x), float(y), rel_tol=1e-9):
                        return False
                except ValueError:
                    return False
    return True


BLOCKS = list(shell_blocks())


@pytest.mark.parametrize("needs, steps", [b[:2] for b in BLOCKS],
                         ids=[s[0][0][:40] for _, s, _ in BLOCKS])
def test_shell_page_examples(tmp_path, needs, steps):
    lacking = [n for n in needs if not hasattr(quorin_np, n)]
    if lacking:
        pytest.skip(f"quorin_np has no {', '.join(lacking)} yet")
    for (command, shown), got in zip(steps, run_block(steps, tmp_path)):
        assert same_output(got, shown), f"$ {command}\n" + "\n".join(got)


def refresh():
    """Writes the command's own outputs into docs/shell.md, for the blocks it can run."""
    text = SHELL_DOC.read_text(encoding="utf-8")
    for needs, steps, (start, end) in reversed(BLOCKS):
        if any(not hasattr(quorin_np, n) for n in needs):
            continue
        with tempfile.TemporaryDirectory() as folder:
            outputs = run_block(steps, pathlib.Path(folder))
        body = "".join(f"$ {command}\n" + "".join(line + "\n" for line in out)
                       for (command, _), out in zip(steps, outputs))
        text = text[:start] + body + text[end:]
    SHELL_DOC.write_text(text, encoding="utf-8")


if __name__ == "__main__" and sys.argv[1:] == ["--refresh"]:
    refresh()
