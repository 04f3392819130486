"""The call frame through a test-only module: escaped C++ exceptions, every argument kind and
defaults in one place. The module is compiled here from the frame's own sources."""

import os
import shutil
import subprocess
import sys
import sysconfig
import importlib.util

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


@pytest.fixture(scope="module")
def probe(tmp_path_factory):
    cxx = shutil.which(os.environ.get("CXX", "g++")) or shutil.which("c++")
    if cxx is None:
        pytest.skip("no C++ compiler")
    out = tmp_path_factory.mktemp("probe") / ("_quorin_probe" + sysconfig.get_config_var("EXT_SUFFIX"))
    src = os.path.join(ROOT, "src")
    cmd = [cxx, "-std=c++2b", "-O1", "-shared", "-fPIC", "-ffp-contract=off", "-Wall", "-Wextra",
           "-I", src, "-I", sysconfig.get_paths()["include"],
           os.path.join(ROOT, "tests", "probe", "probe.cpp"),
           os.path.join(src, "frame.cpp"), os.path.join(src, "numeric.cpp"), "-o", str(out)]
    subprocess.run(cmd, check=True)
    found = importlib.util.spec_from_file_location("_quorin_probe", out)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def test_escaped_exception_becomes_the_internal_failure_type(probe):
    with pytest.raises(BaseException) as info:
        probe.throws_runtime_error(1.0)
    error = info.value
    assert not isinstance(error, Exception)
    assert type(error).__mro__[1] is BaseException
    assert type(error).__module__ == "quorin" and type(error).__name__ == "InternalError"
    assert error.args == ("broken invariant: probe",)
    # Created once per process: the same type every time.
    with pytest.raises(BaseException) as again:
        probe.throws_int(1.0)
    assert type(again.value) is type(error)
    assert again.value.args == ("internal failure without a message",)


def test_bad_alloc_becomes_memory_error(probe):
    with pytest.raises(MemoryError):
        probe.throws_bad_alloc(1.0)
    assert probe.kinds(1.0, 2, 3, "abc") == (1.0, 2.0, 3.0, 3.0)  # still usable


@pytest.mark.parametrize("x, message", [
    (1.0, "Probe: literal message"),
    (-0.5, "Probe: owned message -0.50000000"),
    (-1e20, "Probe: owned message -100000000000000000000.00000000"),
    (-float("inf"), "Probe: owned message -inf"),
])
def test_quorin_error_messages(probe, x, message):
    with pytest.raises(ValueError) as info:
        probe.fails(x)
    assert info.value.args == (message,)


def test_all_argument_kinds(probe):
    assert probe.kinds(1.5, 4294967295, 2**64 - 1, "é") == (1.5, 4294967295.0, 2.0**64, 2.0)
    assert probe.kinds(r=1, c32=True, c64=False, t="") == (1.0, 1.0, 0.0, 0.0)
    assert probe.lists([1.0, 2.0], [(1, 2, 3), (4, 5, 6)]) == (3.0, 2.0, 6.0)
    assert probe.lists((), ()) == (-0.0, 0.0, 0.0)


@pytest.mark.parametrize("args, kwargs, expected", [
    ((1.0,), {}, 1 + 20 + 50),
    ((1.0, 3.0), {}, 1 + 30 + 50),
    ((1.0,), {"c": 1.0}, 1 + 20 + 100),
    ((), {"a": 1.0, "c": 0.0}, 1 + 20),
])
def test_defaults_come_from_the_text_signature(probe, args, kwargs, expected):
    assert probe.defaults(*args, **kwargs) == expected


def test_defaults_binding_messages(probe):
    with pytest.raises(TypeError) as info:
        probe.defaults(1, 2, 3, 4)
    assert str(info.value) == "defaults() takes from 1 to 3 positional arguments but 4 were given"
    with pytest.raises(TypeError) as info:
        probe.defaults(b=1)
    assert str(info.value) == "defaults() missing 1 required positional argument: 'a'"
    with pytest.raises(TypeError) as info:
        probe.defaults(1, c=None)
    assert str(info.value) == "argument 'c': must be real number, not NoneType"
    assert probe.defaults.__text_signature__ == "(a, b=2, c=0.5)"
