"""The reference: docs/functions.md has one entry per function, in registration order, whose
examples all run; the site's pages, formulas and figures are written from the same source."""

import copy
import doctest
import pathlib
import re
import sys
import tomllib

import numpy as np
import pytest

import quorin

DOC = pathlib.Path(__file__).resolve().parent.parent / "docs" / "functions.md"
TEXT = DOC.read_text(encoding="utf-8")

HEADING = re.compile(r"^### `(\w+)(\(.*\))`$", re.M)
ARRAY_HEADING = re.compile(r"^### `quorin_np\.(\w+)(\(.*\))`$", re.M)
BLOCK = re.compile(r"^```python\n(.*?)^```$", re.M | re.S)
MESSAGE_ROW = re.compile(r"^\|.*\| `(Quorin\.[^`]+)` \|$", re.M)
RAISED = re.compile(r"^ValueError: (.*)$", re.M)


def entries(heading=HEADING):
    """(name, signature, body, line of the heading) for every function entry."""
    found = sorted([*HEADING.finditer(TEXT), *ARRAY_HEADING.finditer(TEXT)], key=re.Match.start)
    for i, match in enumerate(found):
        end = found[i + 1].start() if i + 1 < len(found) else len(TEXT)
        body = TEXT[match.end():end]
        body = body.split("\n## ", 1)[0]  # a group heading closes the entry
        if match.re is heading:
            yield match[1], match[2], body, TEXT.count("\n", 0, match.start()) + 1


ENTRIES = list(entries())
ARRAY_ENTRIES = list(entries(ARRAY_HEADING))  # the functions of quorin_np alone
PREAMBLE = TEXT[: HEADING.search(TEXT).start()]


def template(message):
    """A regular expression for a documented message, with {s} and {c} as run-time parts."""
    parts = re.split(r"\{[sc]\}", message)
    return re.compile(".+".join(map(re.escape, parts)) + r"\Z")


def run_examples(text, name, lineno, arrays=False):
    parser, failures = doctest.DocTestParser(), []
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    names = {"quorin": quorin}
    if arrays:
        import numpy
        import quorin_np

        names.update(np=numpy, quorin_np=quorin_np)
    for block in BLOCK.finditer(text):
        line = lineno + text.count("\n", 0, block.start()) + 1
        test = parser.get_doctest(block[1], dict(names), name, str(DOC), line)
        runner.run(test, out=failures.append)
    assert runner.failures == 0, "".join(failures)
    return runner.tries


def test_every_function_has_one_entry_in_registration_order():
    names = [name for name, *_ in ENTRIES]
    assert len(names) == len(set(names))
    assert names == quorin.__all__


@pytest.mark.parametrize("name, signature", [(e[0], e[1]) for e in ENTRIES])
def test_heading_is_the_text_signature(name, signature):
    assert getattr(quorin, name).__text_signature__ == signature


@pytest.mark.parametrize("name, body, lineno", [(e[0], e[2], e[3]) for e in ENTRIES],
                         ids=[e[0] for e in ENTRIES])
def test_entry_examples_run(name, body, lineno):
    assert run_examples(body, name, lineno) >= 1


@pytest.mark.parametrize("name, signature, body, lineno", ARRAY_ENTRIES,
                         ids=[e[0] for e in ARRAY_ENTRIES])
def test_array_only_entries_run_and_match_their_function(name, signature, body, lineno):
    import quorin_np

    assert not hasattr(quorin, name)
    function = getattr(quorin_np, name)
    # A ufunc's docstring opens with the signature; a function has its own text signature.
    shown = function.__doc__ if isinstance(function, np.ufunc) else \
        f"{name}{function.__text_signature__}"
    assert f"{name}{signature}" in shown
    assert run_examples(body, name, lineno, arrays=True) >= 1


def test_calling_conventions_examples_run():
    assert run_examples(PREAMBLE, "calling conventions", 1) >= 1


@pytest.mark.parametrize("name, body", [(e[0], e[2]) for e in ENTRIES], ids=[e[0] for e in ENTRIES])
def test_each_listed_message_is_shown_raised(name, body):
    """Every message in an entry's table appears in one of its examples, and every message its
    examples raise is in the table; an entry also shows at least one call that succeeds."""
    listed = MESSAGE_ROW.findall(body)
    raised = RAISED.findall("".join(BLOCK.findall(body)))
    assert len(listed) == len(set(listed))
    for message in listed:
        assert any(template(message).match(r) for r in raised), f"no example raises {message!r}"
    for message in raised:
        assert any(template(m).match(message) for m in listed), f"{message!r} is not listed"
    calls = [line for line in "".join(BLOCK.findall(body)).splitlines() if line.startswith(">>>")]
    assert len(calls) > len(raised)


def test_documented_messages_name_their_contract():
    for name, _, body, _ in ENTRIES:
        contracts = set(re.findall(r"Contract `(Quorin\.\w+)`", body))
        for message in MESSAGE_ROW.findall(body):
            assert message.split(":")[0] in contracts, (name, message)


def test_readme_examples_run_and_link_the_reference():
    readme = (DOC.parent.parent / "README.md").read_text(encoding="utf-8")
    assert "(docs/functions.md)" in readme
    assert run_examples(readme, "README", 1) >= 1


# ---------------------------------------------------------------------------------------------
# The site: pages written from the same source at build time (docs/_ext), figures drawn then.

ROOT = DOC.parent.parent
sys.path[:0] = [str(ROOT / "docs" / "_ext"), str(ROOT / "docs")]
import formula_tex  # noqa: E402
import site_pages  # noqa: E402

SITE_DATA = site_pages.load()
SITE = site_pages.pages(SITE_DATA, {})
SESSION = re.compile(r"^```pycon\n(.*?)^```$", re.M | re.S)


def test_site_pages_show_exactly_the_examples_run_above():
    """A function's page holds the blocks of its entry here, which the tests above run."""
    for name, _, body, _ in ENTRIES + ARRAY_ENTRIES:
        page = SITE[f"reference/{name}.md"]
        assert SESSION.findall(page) == BLOCK.findall(body), name
    assert SESSION.findall(SITE["functions.md"]) == BLOCK.findall(PREAMBLE)


def test_an_entry_of_quorin_np_alone_gets_its_page_in_that_module():
    data = copy.deepcopy(SITE_DATA)
    entry = dict(data["group"][0]["function"][0], name="made_up", array_only=True,
                 source="A published source.")
    data["array_group"].append({"title": "Published results", "function": [entry]})
    data["task"][0]["use"].append("made_up")
    pages = site_pages.pages(data, {})
    page = pages["reference/made_up.md"]
    assert "````{py:function} made_up(" in page and ":module: quorin_np" in page
    assert "## Array form" not in page and "A published source." in page
    assert "made_up <made_up>" in pages["reference/group-published-results.md"]
    assert "reference/group-published-results" in pages["functions.md"]


@pytest.mark.parametrize("formula, names, tex", [
    ("(vmax × substrate) / (km + substrate)", {"vmax", "km", "substrate"},
     r"\frac{\mathit{vmax} \cdot \mathit{substrate}}{\mathit{km} + \mathit{substrate}}"),
    ("exp(r × t) × n0", {"r", "t", "n0"}, r"e^{r \cdot t} \cdot \mathit{n0}"),
    # a quantity called e: the exponential is written exp, not as a power of e
    ("exp(e / t) / z", {"e", "t", "z"}, r"\frac{\exp\left(\frac{e}{t}\right)}{z}"),
    ("pow(min(r, 1.0), alpha) × 141.0", {"alpha"},
     r"\left(\min\left(r, 1.0\right)\right)^{\alpha} \cdot 141.0"),
    ("sqrt((h × w) / 3600.0)", {"h", "w"}, r"\sqrt{\frac{h \cdot w}{3600.0}}"),
    ("t × −1.380649e-23", {"t"}, r"t \cdot -1.380649 \times 10^{-23}"),
    ("c_out / c_in", {"c_out", "c_in"}, r"\frac{c_{\mathrm{out}}}{c_{\mathrm{in}}}"),
    # a parameter named like a word of the notation stays a quantity
    ("min(n / length, 1.0)", {"n", "length"}, r"\min\left(\frac{n}{\mathit{length}}, 1.0\right)"),
    ("a = log(p) × p, or 0 if p ≤ 0", {"p"},
     r"a = \ln\left(p\right) \cdot p ,\  \text{ or } 0 \text{ if } p \le 0"),
])
def test_formula_typeset(formula, names, tex):
    assert formula_tex.formula(formula, frozenset(names)) == [tex]


def test_every_formula_becomes_mathml():
    latex2mathml = pytest.importorskip("docutils.utils.math.latex2mathml")
    for f in SITE_DATA["functions"] + SITE_DATA["array_functions"]:
        names = frozenset(p[0] for p in f["params"] + f.get("keywords", []))
        for line in formula_tex.formula(f["formula"], names):
            assert latex2mathml.tex2mathml(line).startswith("<math"), (f["name"], line)


@pytest.fixture(scope="module")
def figures():
    pytest.importorskip("matplotlib")
    import figures

    figures.load_panels()
    for f in SITE_DATA["functions"] + SITE_DATA["array_functions"]:
        figures.PARAMS[f["name"]] = [p[0] for p in f["params"] + f.get("keywords", [])]
    return figures


def test_panels_are_for_documented_functions_and_every_group_has_one(figures):
    names = {f["name"] for f in SITE_DATA["functions"] + SITE_DATA["array_functions"]}
    assert set(figures.PANELS) <= names, "a panel names no function"
    for group in SITE_DATA["group"]:
        assert any(f["name"] in figures.PANELS or figures.derived(f)
                   for f in group["function"]), group["title"]


def test_refused_region_is_where_the_function_refuses(figures):
    y, refused = figures.evaluate("mrna_halflife", decay_rate=np.array([-1.0, 0.0, 0.1]))
    assert refused.tolist() == [True, True, False]
    assert np.isnan(y[:2]).all() and y[2] == quorin.mrna_halflife(0.1)
    y, refused = figures.evaluate("biological_age_bound", pheno_age=50.0, telomere_age=60.0,
                                  epigenetic_age=np.array([70.0, 40.0]), w1=1.0, w2=1.0, w3=1.0)
    assert y.tolist() == [quorin.biological_age_bound(50.0, 60.0, 70.0),
                          quorin.biological_age_bound(50.0, 60.0, 40.0)]  # default weights


def test_derived_panel_starts_from_the_first_example(figures):
    ckd_epi = next(f for f in SITE_DATA["functions"] if f["name"] == "ckd_epi")
    assert figures.example_values(ckd_epi) == {"scr": 1.2, "kappa": 0.7, "alpha": -0.329,
                                               "scale": 0.993**60 * 1.018}
    nussinov = next(f for f in SITE_DATA["functions"] if f["name"] == "nussinov")
    assert figures.example_values(nussinov) is None and figures.derived(nussinov) is None


def test_the_site_states_the_version_of_the_distribution():
    import quorin_np

    project = tomllib.loads((ROOT / "pyproject.toml").read_text(encoding="utf-8"))["project"]
    assert quorin_np.__version__ == project["version"]
