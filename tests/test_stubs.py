"""The type stubs against the running module: names, defaults, parameter types, lambda."""

import ast
import importlib.metadata
import inspect
import pathlib
import runpy

import pytest

import quorin

ROOT = pathlib.Path(__file__).resolve().parent.parent
STUB = ROOT / "stubs" / "quorin-stubs" / "__init__.pyi"
TREE = ast.parse(STUB.read_text(encoding="utf-8"))

# A value of each parameter type that every function converts without complaint.
SAMPLE = {
    "float": 1.0,
    "int": 1,
    "str": "A",
    "Sequence[float]": [1.0],
    "Sequence[tuple[float, float, float]]": [(1.0, 1.0, 1.0)],
}


def stub_functions():
    """name -> list of the stub's definitions (several for an overloaded function)."""
    found = {}
    for node in TREE.body:
        if isinstance(node, ast.FunctionDef):
            found.setdefault(node.name, []).append(node)
    return found


FUNCTIONS = stub_functions()


def stub_all():
    for node in TREE.body:
        if isinstance(node, ast.Assign) and node.targets[0].id == "__all__":
            return ast.literal_eval(node.value)
    raise AssertionError("the stub has no __all__")


def text_parameters(f):
    """(name, default or None) pairs from the function's text signature."""
    inner = f.__text_signature__.strip("()")
    pairs = [p.split("=") for p in inner.split(", ")]
    return [(p[0], float(p[1]) if len(p) > 1 else None) for p in pairs]


def runtime_types(f):
    """The stub type each parameter should have, told by the conversion error the module raises
    when that argument alone is unacceptable (the earlier ones being valid samples)."""
    parameters = text_parameters(f)
    types = []

    def error(value):
        rest = [None] * (len(parameters) - len(types) - 1)
        with pytest.raises(TypeError) as caught:
            f(*[SAMPLE[t] for t in types], value, *rest)
        prefix = f"argument '{parameters[len(types)][0]}': "
        assert str(caught.value).startswith(prefix)
        return str(caught.value).removeprefix(prefix)

    for _ in parameters:
        said = error(object())
        if said == "'object' object cannot be converted to 'Sequence'":
            said = "list of " + error([object()])
        types.append({
            "must be real number, not object": "float",
            "'object' object cannot be interpreted as an integer": "int",
            "'object' object cannot be converted to 'PyString'": "str",
            "list of must be real number, not object": "Sequence[float]",
            "list of 'object' object cannot be converted to 'PyTuple'":
                "Sequence[tuple[float, float, float]]",
        }[said])
    return types


def test_stub_all_is_the_module_all():
    names = stub_all()
    assert names == quorin.__all__
    assert sorted(names) == sorted(FUNCTIONS)
    assert all(len(defs) == 1 or n == "weibull_survival" for n, defs in FUNCTIONS.items())


@pytest.mark.parametrize("name", stub_all())
def test_stub_parameters_match_the_module(name):
    f = getattr(quorin, name)
    stub = FUNCTIONS[name][0]
    arguments = stub.args
    parameters = text_parameters(f)
    positional = arguments.posonlyargs + arguments.args
    names = [a.arg for a in positional]
    if name == "weibull_survival":
        # `lambda` cannot be spelled, so the stub names it lambda_ and makes it positional-only.
        assert names == ["t", "lambda_", "k"] and len(arguments.posonlyargs) == 2
        names[1] = "lambda"
    else:
        assert not arguments.posonlyargs
    assert names == [p for p, _ in parameters]
    assert not arguments.kwonlyargs and not arguments.vararg and not arguments.kwarg
    defaults = [None] * (len(positional) - len(arguments.defaults))
    defaults += [ast.literal_eval(d) for d in arguments.defaults]
    assert defaults == [d for _, d in parameters]
    assert [ast.unparse(a.annotation) for a in positional] == runtime_types(f)


def test_weibull_signature_cannot_be_read_but_is_documented():
    f = quorin.weibull_survival
    assert f.__text_signature__ == "(t, lambda, k)"
    with pytest.raises(ValueError):
        inspect.signature(f)
    # The parameter still binds by position and, through a mapping, by its own name.
    assert f(1.0, 2.0, 1.5) == f(1.0, k=1.5, **{"lambda": 2.0}) == f(**{"t": 1.0, "lambda": 2.0, "k": 1.5})
    with pytest.raises(TypeError, match="unexpected keyword argument 'lambda_'"):
        f(1.0, lambda_=2.0, k=1.5)


def test_typed_usage_example_runs():
    runpy.run_path(str(ROOT / "tests" / "typecheck" / "usage.py"), run_name="__main__")


def test_installed_distribution_ships_the_stubs():
    try:
        files = importlib.metadata.files("quorin")
    except importlib.metadata.PackageNotFoundError:
        pytest.skip("quorin is not installed as a distribution here")
    shipped = {str(p) for p in files}
    assert "quorin-stubs/__init__.pyi" in shipped
    assert not any(p.endswith((".cpp", ".hpp")) for p in shipped)
