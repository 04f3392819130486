"""The module across threads, processes and interpreters: concurrent calls agree with serial
ones, a forked child and pool workers compute the same, functions pickle by name, and a
sub-interpreter that imports first leaves the process sound."""

import multiprocessing
import operator
import os
import pickle
import subprocess
import sys
import textwrap
import threading

import pytest

import quorin
from catalogue import entries, fresh
from exact import same

ENTRIES = entries()


def workload():
    """(function, args, kwargs) covering every registered function on its success path, its
    failed precondition, a keyword call and a conversion error."""
    calls = []
    for e in ENTRIES:
        calls.append((e.function, fresh(e.ok), {}))
        calls.append((e.function, (), dict(zip(e.params, fresh(e.ok)))))
        if e.bad is not None:
            calls.append((e.function, fresh(e.bad), {}))
        calls.append((e.function, (object(),) + fresh(e.ok)[1:], {}))
    return calls


def run(call):
    fn, args, kwargs = call
    try:
        return ("value", fn(*args, **kwargs))
    except Exception as exc:  # noqa: BLE001 - the outcome is what is compared
        return (type(exc).__name__, str(exc))


def agree(a, b):
    return len(a) == len(b) and all(
        x[0] == y[0] and (same(x[1], y[1]) if x[0] == "value" else x[1] == y[1]) for x, y in zip(a, b))


def test_threads_calling_a_mix_give_the_serial_results():
    calls = workload()
    expected = [run(c) for c in calls]
    rounds, nthreads = 30, 4
    results, errors = [None] * nthreads, []
    barrier = threading.Barrier(nthreads)

    def worker(k):
        try:
            barrier.wait()
            order = calls[k:] + calls[:k]  # each thread walks the functions in another order
            got = []
            for _ in range(rounds):
                got.append([run(c) for c in order])
            results[k] = [r[len(calls) - k:] + r[:len(calls) - k] for r in got]
        except BaseException as exc:  # noqa: BLE001
            errors.append(exc)

    old = sys.getswitchinterval()
    sys.setswitchinterval(1e-6)  # switch threads as often as the interpreter allows
    try:
        threads = [threading.Thread(target=worker, args=(k,)) for k in range(nthreads)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
    finally:
        sys.setswitchinterval(old)
    assert not errors
    for per_thread in results:
        for got in per_thread:
            assert agree(got, expected)


def test_fork_after_import_works_in_the_child():
    calls = workload()
    expected = [run(c) for c in calls]
    read, write = os.pipe()
    pid = os.fork()
    if pid == 0:  # the child: compute everything, send it back, leave without cleanup
        try:
            data = pickle.dumps([run(c) for c in calls])
            with os.fdopen(write, "wb") as f:
                f.write(data)
        finally:
            os._exit(0)
    os.close(write)
    with os.fdopen(read, "rb") as f:
        got = pickle.loads(f.read())
    _, status = os.waitpid(pid, 0)
    assert os.waitstatus_to_exitcode(status) == 0
    assert agree(got, expected)


def test_functions_pickle_by_name():
    for name in quorin.__all__:
        fn = getattr(quorin, name)
        for protocol in range(pickle.HIGHEST_PROTOCOL + 1):
            assert pickle.loads(pickle.dumps(fn, protocol)) is fn


@pytest.mark.parametrize("method", ["fork", "spawn", "forkserver"])
def test_functions_work_through_a_process_pool(method):
    jobs = [(e.function,) + fresh(e.ok) for e in ENTRIES]
    expected = [operator.call(*job) for job in jobs]
    with multiprocessing.get_context(method).Pool(2) as pool:
        got = pool.starmap(operator.call, jobs, chunksize=8)
        with pytest.raises(ValueError) as info:
            pool.apply(quorin.mrna_halflife, (0.0,))
    assert all(same(g, x) for g, x in zip(got, expected))
    assert str(info.value) == "Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)"


def test_sub_interpreter_that_imports_first_is_refused_and_the_main_one_is_not():
    """In a fresh process a legacy sub-interpreter imports before the main interpreter has.
    The interpreter runs a single-phase module's initialisation in the main interpreter first,
    so the main interpreter owns the module and the sub-interpreter is refused; the main one
    then imports, uses and re-imports it, and the process ends cleanly."""
    pytest.importorskip("_interpreters")
    script = textwrap.dedent(f"""
        import _interpreters, importlib, sys
        sys.path.insert(0, {os.path.dirname(quorin.__file__)!r})
        for _ in range(2):
            interp = _interpreters.create(_interpreters.new_config("legacy"))
            failure = _interpreters.run_string(
                interp, "import sys\\nsys.path.insert(0, %r)\\nimport quorin" % sys.path[0])
            _interpreters.destroy(interp)
            assert failure is not None and failure.type.__name__ == "ImportError", failure
            assert "does not support sub-interpreters" in failure.msg, failure.msg
        assert "quorin" not in sys.modules
        import quorin
        assert quorin.mrna_halflife(1.0) == 0.6931471805599453
        del sys.modules["quorin"]
        assert importlib.import_module("quorin") is quorin
        assert len(quorin.__all__) == len(set(quorin.__all__))
        print("ok")
    """)
    out = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=120)
    assert out.returncode == 0 and out.stdout.strip() == "ok", out.stderr[-2000:]
