"""The module object: docstring, registration, builtin function attributes, import life."""

import importlib
import inspect
import os
import sys
import textwrap

import pytest

import quorin

MODULE_DOC = """\
quorin: 64 machine-verified computational biology contracts (Lean 4 → Vemo → Python).

Contract modules
----------------
mRNA / Ribosome
  mrna_halflife_concentration  — Quorin.MrnaHalfLife
  mrna_halflife                — Quorin.MrnaHalfLife (t½)
  ribosome_density             — Quorin.RibosomeDensity
  translation_rate             — Quorin.TranslationRate

Sequence analysis
  gc_content                   — Quorin.GCContent
  sequence_identity            — Quorin.SequenceIdentity
  shannon_entropy              — Quorin.ShannonEntropy (binary)
  shannon_entropy_dist         — Quorin.ShannonEntropy (distribution)

Pharmacokinetics
  first_order_pk_concentration — Quorin.FirstOrderPK
  first_order_pk_halflife      — Quorin.FirstOrderPK (t½)
  ic50_bound                   — Quorin.IC50Relationship (Cheng-Prusoff)
  michaelis_menten             — Quorin.MichaelisMenten

Longevity
  biological_age_bound         — Quorin.BiologicalAge (ensemble)
  telomere_length_bound        — Quorin.Telomere (Vedidori 2023)
  gompertz_hazard              — Quorin.GompertzMortality

Statistics / Structural
  hardy_weinberg               — Quorin.HardyWeinberg (frequencies)
  hardy_weinberg_test          — Quorin.HardyWeinberg (chi-squared)
  protein_rmsd                 — Quorin.ProteinRMSD"""


def test_module_docstring_is_exact():
    assert quorin.__name__ == "quorin"
    assert quorin.__doc__ == MODULE_DOC
    lines = quorin.__doc__.split("\n")
    assert len(lines) == 31
    # Every entry line aligns its dash in column 32.
    assert {line.index("—") for line in lines if line.startswith("  ")} == {31}


def test_functions_are_builtins_bound_to_the_module():
    assert len(quorin.__all__) == len(set(quorin.__all__))
    for name in quorin.__all__:
        f = getattr(quorin, name)
        assert type(f).__name__ == "builtin_function_or_method"
        assert f.__name__ == name
        assert f.__module__ == "quorin"
        assert f.__self__ is quorin
        assert f.__text_signature__.startswith("(")
        if name != "nussinov":
            assert f.__doc__ is None


def test_signature_of_every_function_is_positional_or_keyword():
    for name in quorin.__all__:
        if name == "weibull_survival":
            continue  # its parameter `lambda` is not a Python identifier
        sig = inspect.signature(getattr(quorin, name))
        assert all(p.kind is p.POSITIONAL_OR_KEYWORD for p in sig.parameters.values())


def test_module_has_no_stray_public_attributes():
    public = {n for n in vars(quorin) if not n.startswith("__")}
    assert public == set(quorin.__all__)


def test_reimport_returns_the_same_module():
    before = sys.modules.pop("quorin")
    try:
        again = importlib.import_module("quorin")
        assert again is before
        assert again.__all__ == before.__all__
        assert len(again.__all__) == len(set(again.__all__))
    finally:
        sys.modules["quorin"] = before


@pytest.mark.parametrize("config, reason", [
    ("isolated", "module quorin does not support loading in subinterpreters"),
    ("legacy", "does not support sub-interpreters"),
])
def test_second_interpreter_is_refused(config, reason):
    interpreters = pytest.importorskip("_interpreters")
    where = os.path.dirname(quorin.__file__)
    interp = interpreters.create(interpreters.new_config(config))
    try:
        failure = interpreters.run_string(
            interp, f"import sys\nsys.path.insert(0, {where!r})\nimport quorin")
    finally:
        interpreters.destroy(interp)
    assert failure is not None
    assert failure.type.__name__ == "ImportError"
    assert reason in failure.msg
    assert quorin.mrna_halflife(1.0) == 0.6931471805599453  # the main module still works


def test_import_in_a_fresh_process_is_independent(tmp_path):
    # A subprocess imports, removes and re-imports, and checks identity and __all__ once more.
    import subprocess
    script = textwrap.dedent("""
        import sys, quorin
        first = quorin
        del sys.modules["quorin"]
        import quorin
        assert quorin is first and len(quorin.__all__) == len(set(quorin.__all__))
        print(len(quorin.__all__))
    """)
    env = dict(os.environ, PYTHONPATH=os.path.dirname(quorin.__file__))
    out = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True)
    assert out.returncode == 0, out.stderr
    assert int(out.stdout) == len(quorin.__all__)
