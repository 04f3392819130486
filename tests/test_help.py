"""What users read: the stub docstrings as an editor's engine finds them, the generated texts in
step with their source, the ufunc docstrings as C strings, and the package's introduction."""

import ast
import doctest
import importlib.machinery
import importlib.metadata
import importlib.util
import inspect
import pathlib
import re
import shutil
import subprocess
import sys
import tomllib

import pytest

import quorin

ROOT = pathlib.Path(__file__).resolve().parent.parent
STUB = ROOT / "stubs" / "quorin-stubs" / "__init__.pyi"


def load_generator():
    path = ROOT / "scripts" / "gen-reference"
    loader = importlib.machinery.SourceFileLoader("gen_reference", str(path))
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
    loader.exec_module(module)
    return module


GEN = load_generator()
FUNCTIONS = GEN.load()["functions"]
DOCS = {f["name"]: GEN.docstring(f) for f in FUNCTIONS}


def test_generated_texts_match_their_source():
    check = subprocess.run([sys.executable, str(ROOT / "scripts" / "gen-reference"), "--check"],
                           capture_output=True, text=True)
    assert check.returncode == 0, check.stderr


def test_docstrings_carry_parameters_checks_and_a_running_example():
    reference = (ROOT / "docs" / "functions.md").read_text(encoding="utf-8")
    runner = doctest.DocTestRunner()
    for f in FUNCTIONS:
        doc = DOCS[f["name"]]
        parameters = getattr(quorin, f["name"]).__text_signature__.strip("()").split(", ")
        for parameter in parameters:
            assert f"\n{parameter.split('=')[0]} : " in doc, (f["name"], parameter)
        entry = reference.split(f"### `{f['name']}(")[1].split("\n### ")[0]
        for message in re.findall(r"^\|.*\| `(Quorin\.[^`]+)` \|$", entry, re.M):
            assert f'"{message}"' in " ".join(doc.split()), (f["name"], message)
        assert f["formula"].strip().split("\n")[0] in doc
        test = doctest.DocTestParser().get_doctest(doc, {"quorin": quorin}, f["name"], None, 0)
        assert len(test.examples) == 1
        runner.run(test)
    assert runner.failures == 0


def installed_stub_root():
    """The folder holding the installed `quorin-stubs`, when it has this tree's stubs."""
    try:
        stub = importlib.metadata.distribution("quorin").locate_file("quorin-stubs/__init__.pyi")
    except importlib.metadata.PackageNotFoundError:
        return None
    stub = pathlib.Path(stub)
    same = stub.is_file() and stub.read_text(encoding="utf-8") == STUB.read_text(encoding="utf-8")
    return stub.parent.parent if same else None


@pytest.mark.parametrize("where", ["working tree", "installed"])
def test_jedi_shows_every_docstring(where):
    """Jedi, the engine of several editors, reads the stub package: the inferred function and
    the signature help while typing a call both carry the generated docstring."""
    jedi = pytest.importorskip("jedi")
    root = ROOT / "stubs" if where == "working tree" else installed_stub_root()
    if root is None:
        pytest.skip("quorin is not installed from this tree (scripts/setup installs it)")
    environment = jedi.InterpreterEnvironment()
    project = jedi.Project(ROOT, sys_path=[str(root), *environment.get_sys_path()],
                           smart_sys_path=False)
    source = "import quorin\n" + "".join(f"quorin.{name}()\n" for name in quorin.__all__)
    script = jedi.Script(source, path=str(ROOT / "hover.py"), project=project,
                         environment=environment)
    wrong = []
    for line, name in enumerate(quorin.__all__, start=2):
        inferred = script.infer(line, len("quorin.") + 1)
        signatures = script.get_signatures(line, len(f"quorin.{name}("))
        shown = {d.docstring(raw=True) for d in [*inferred, *signatures]}
        paths = {d.module_path for d in inferred}
        if shown != {DOCS[name]} or paths != {root / "quorin-stubs" / "__init__.pyi"}:
            wrong.append(name)
    assert not wrong


ARRAY_STUB = '''import numpy as np

class _Ufunc:
    def __call__(self, *args: object) -> object: ...

bmi: _Ufunc
hardy_weinberg: _Ufunc
"""An older text."""
def gc_content(sequences: object) -> object: ...
def errstate(refused: str = ...) -> object: ...
'''


def test_array_stub_gets_docstrings_in_place_and_an_editor_shows_them(tmp_path):
    docs = {f["name"]: GEN.docstring(f, arrays=True) for f in FUNCTIONS}
    once = GEN.with_docstrings(ARRAY_STUB, docs)
    assert GEN.with_docstrings(once, docs) == once
    tree = ast.parse(once)
    found = {}
    for node, after in zip(tree.body, tree.body[1:] + [None]):
        if isinstance(node, ast.AnnAssign):
            found[node.target.id] = inspect.cleandoc(ast.literal_eval(after.value))
        elif isinstance(node, ast.FunctionDef):
            found[node.name] = ast.get_docstring(node, clean=True)
    assert found == {"bmi": docs["bmi"], "hardy_weinberg": docs["hardy_weinberg"],
                     "gc_content": docs["gc_content"], "errstate": None}
    assert "np.float64(22.857142857142858)" in docs["bmi"] and "Example" not in docs["gc_content"]

    jedi = pytest.importorskip("jedi")
    (tmp_path / "quorin_np-stubs").mkdir()
    (tmp_path / "quorin_np-stubs" / "__init__.pyi").write_text(once, encoding="utf-8")
    project = jedi.Project(tmp_path, sys_path=[str(tmp_path)], smart_sys_path=False)
    # In-process, as in the test above: the default environment leaves a reader thread behind.
    script = jedi.Script("import quorin_np\nquorin_np.bmi\n", path=str(tmp_path / "x.py"),
                         project=project, environment=jedi.InterpreterEnvironment())
    # Jedi may read the installed module's own docstring, the same text under NumPy's header.
    shown = [d.docstring(raw=True) for d in script.help(2, 12)]
    assert len(shown) == 1 and shown[0].endswith(docs["bmi"])


@pytest.mark.skipif(shutil.which("g++") is None, reason="needs g++")
def test_ufunc_docs_are_c_strings_of_the_array_docstrings(tmp_path):
    program = tmp_path / "dump.cpp"
    program.write_text(
        "#include <cstdio>\n"
        "struct Doc { const char* name; const char* doc; };\n"
        "#define QUORIN_UFUNC_DOC(name, doc) {name, doc},\n"
        "static const Doc docs[] = {\n#include \"np/ufunc_docs.inc\"\n};\n"
        "int main() {\n"
        "    for (const Doc& d : docs) std::printf(\"%s%c%s%c\", d.name, 0, d.doc, 0);\n"
        "}\n")
    subprocess.run(["g++", "-std=c++20", "-Wall", "-Werror", "-I", str(ROOT / "src"),
                    str(program), "-o", str(tmp_path / "dump")], check=True)
    fields = subprocess.run([str(tmp_path / "dump")], capture_output=True, check=True).stdout
    fields = fields.decode("utf-8").split("\0")[:-1]
    # The contracts, then the functions of quorin_np alone.
    expected = [(f["name"], f"{f['name']}{GEN.signature(f)}\n\n{GEN.docstring(f, arrays=True)}")
                for f in FUNCTIONS + GEN.load()["array_functions"]]
    assert list(zip(fields[::2], fields[1::2])) == expected
    assert [name for name, _ in expected[:len(FUNCTIONS)]] == quorin.__all__


def test_long_description_opens_with_install_and_use_and_its_examples_run():
    project = tomllib.loads((ROOT / "pyproject.toml").read_text(encoding="utf-8"))["project"]
    text = (ROOT / project["readme"]).read_text(encoding="utf-8")
    sections = re.findall(r"^## (.+)$", text, re.M)
    assert sections[:2] == ["Install", "Use"] and "pip install quorin" in text
    assert "scripts/" not in text and ".venv" not in text
    blocks = "".join(re.findall(r"^```python\n(.*?)^```$", text, re.M | re.S))
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    runner.run(doctest.DocTestParser().get_doctest(blocks, {}, project["readme"], None, 0))
    assert runner.failures == 0 and runner.tries >= 4
