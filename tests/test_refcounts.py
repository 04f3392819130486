"""Every exported function, called again and again on each of its paths (success, failed
precondition, conversion error of each parameter, binding error), keeps the reference counts
of its argument objects and does not grow memory: Python objects (tracemalloc), the native heap
(malloc's own count) and, for big lists, the resident set."""

import ctypes
import os
import sys
import tracemalloc

import pytest

from catalogue import COUNT32, COUNT64, REAL, REALS, TEXT, TRIPLES, entries, entries_with, fresh

SANITIZED = bool(os.environ.get("QUORIN_SANITIZED"))
EXPECTED = (TypeError, ValueError, OverflowError, UnicodeEncodeError)


class Opaque:
    """Not a number, not a sequence: refused by every conversion."""


def wrong_values(kind):
    """Fresh, non-immortal objects that the conversion of `kind` refuses, with the exception
    type each one raises."""
    big = int("9" * 30)  # above every count range, and not a cached small int
    if kind == REAL:
        return [(Opaque(), TypeError), ("".join(["1", ".", "5"]), TypeError), (big ** 20, OverflowError)]
    if kind in (COUNT32, COUNT64):
        return [(float("2.5"), TypeError), (big, OverflowError), (-big, OverflowError),
                (Opaque(), TypeError)]
    if kind == TEXT:
        return [(bytes([65, 67, 71]), TypeError), ("".join(["AC", "\udc80"]), UnicodeEncodeError),
                (Opaque(), TypeError)]
    if kind == REALS:
        return [([float("0.5"), float("0.25"), "".join(["x", "y"])], TypeError),
                ("".join(["0", ".5"]), TypeError), (Opaque(), TypeError),
                ([float("0.5"), big ** 20], OverflowError)]
    if kind == TRIPLES:
        return [([(float("1.5"), float("2.5"), float("3.5")), [float("1.5"), 2.0, 3.0]], TypeError),
                ([(float("1.5"), float("2.5"))], ValueError),
                ([(float("1.5"), float("2.5"), Opaque())], TypeError),
                ("".join(["a", "b"]), TypeError)]
    raise AssertionError(kind)


def paths(entry):
    """(label, args, kwargs, expected exception or None) for every path of one function.
    All objects are fresh, so the test owns their reference counts."""
    out = [("positional", fresh(entry.ok), {}, None)]
    names = entry.params[: len(entry.ok)]
    # Keyword names made at run time are neither interned nor shared with the module.
    out.append(("keywords", (), {"".join(list(n)): fresh(v) for n, v in zip(names, entry.ok)}, None))
    if entry.bad is not None:
        out.append(("precondition", fresh(entry.bad), {}, ValueError))
    for i, kind in enumerate(entry.kinds[: len(entry.ok)]):
        for k, (value, exc) in enumerate(wrong_values(kind)):
            args = list(fresh(entry.ok))
            args[i] = value
            out.append((f"convert-{entry.params[i]}-{k}", tuple(args), {}, exc))
    out.append(("unexpected-keyword", fresh(entry.ok), {"".join(["bo", "gus"]): float("1.25")}, TypeError))
    out.append(("too-many", fresh(entry.ok) + (float("1.25"),) * (len(entry.params) + 1 - len(entry.ok)),
                {}, TypeError))
    return out


def tracked(*roots):
    """Every object reachable from the arguments through lists and tuples, and the types of
    the non-builtin ones, each once."""
    seen, out = set(), []

    def walk(o):
        if id(o) in seen:
            return
        seen.add(id(o))
        out.append(o)
        if isinstance(o, (list, tuple)):
            for x in o:
                walk(x)
        elif isinstance(o, dict):
            for k, v in o.items():
                walk(k)
                walk(v)
        if type(o).__module__ != "builtins":
            walk(type(o))

    for r in roots:
        walk(r)
    return out


def call(fn, args, kwargs, expected):
    if expected is None:
        return fn(*args, **kwargs)
    try:
        fn(*args, **kwargs)
    except expected:
        return None
    raise AssertionError(f"{fn.__name__}{args!r} {kwargs!r} did not raise {expected.__name__}")


ENTRIES = entries()
IDS = [e.name for e in ENTRIES]


@pytest.mark.parametrize("entry", ENTRIES, ids=IDS)
def test_reference_counts_of_arguments_do_not_move(entry):
    fn = entry.function
    for label, args, kwargs, expected in paths(entry):
        call(fn, args, kwargs, expected)  # the first call may fill caches (UTF-8 of a str)
        objects = tracked(args, kwargs)
        before = [sys.getrefcount(o) for o in objects]
        for _ in range(50):
            result = call(fn, args, kwargs, expected)
        del result
        after = [sys.getrefcount(o) for o in objects]
        moved = [(repr(o)[:40], b, a) for o, b, a in zip(objects, before, after) if a != b]
        assert not moved, f"{label}: reference counts moved: {moved}"


def run_all(fn, cases, times):
    for _ in range(times):
        for args, kwargs, expected in cases:
            call(fn, args, kwargs, expected)


@pytest.mark.parametrize("entry", ENTRIES, ids=IDS)
def test_python_memory_does_not_grow(entry):
    cases = [(a, k, e) for _, a, k, e in paths(entry)]
    n = 300
    tracemalloc.start()
    try:
        run_all(entry.function, cases, 30)
        before = tracemalloc.get_traced_memory()[0]
        run_all(entry.function, cases, n)
        grown = tracemalloc.get_traced_memory()[0] - before
    finally:
        tracemalloc.stop()
    # A leaked float is 24 bytes, a leaked exception far more; allow a little slack for
    # interpreter caches.
    assert grown < n * 8, f"traced Python memory grew by {grown} bytes over {n} rounds"


class _Mallinfo2(ctypes.Structure):
    _fields_ = [(f, ctypes.c_size_t) for f in (
        "arena", "ordblks", "smblks", "hblks", "hblkhd", "usmblks", "fsmblks", "uordblks",
        "fordblks", "keepcost")]


def heap_in_use():
    libc = ctypes.CDLL(None)
    libc.mallinfo2.restype = _Mallinfo2
    info = libc.mallinfo2()
    return info.uordblks + info.hblkhd


@pytest.mark.skipif(SANITIZED, reason="the sanitizer's allocator keeps its own books")
@pytest.mark.parametrize("entry", ENTRIES, ids=IDS)
def test_native_heap_does_not_grow(entry):
    cases = [(a, k, e) for _, a, k, e in paths(entry)]
    n = 1000
    run_all(entry.function, cases, 50)
    before = heap_in_use()
    run_all(entry.function, cases, n)
    grown = heap_in_use() - before
    # The smallest heap block is 32 bytes, so any per-call leak costs at least 32 * n.
    assert grown < n * 16, f"the native heap grew by {grown} bytes over {n} rounds"


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


BIG = 100_000


def big_value(kind, last=None):
    if kind == REALS:
        v = [float(i) / BIG for i in range(BIG)]
    else:
        v = [(float(i), 1.0, 2.0) for i in range(BIG)]
    if last is not None:
        v[-1] = last
    return v


@pytest.mark.skipif(SANITIZED, reason="the sanitizer quarantines freed memory")
@pytest.mark.parametrize("entry", entries_with(REALS, TRIPLES),
                         ids=[e.name for e in entries_with(REALS, TRIPLES)])
def test_big_lists_are_released_on_every_path(entry):
    """Each call converts lists of 100 000 elements (0.8 to 2.4 MB each); success, a failed
    precondition and a conversion error at the last element all release them."""
    fn = entry.function
    lists = [i for i, k in enumerate(entry.kinds) if k in (REALS, TRIPLES)]
    cases = []
    ok = list(entry.ok)
    for i in lists:
        ok[i] = big_value(entry.kinds[i])
    cases.append((tuple(ok), {}, (ValueError,)))  # a big list may fail a precondition: fine
    for i in lists:
        bad = list(ok)
        bad[i] = big_value(entry.kinds[i], last="x")
        cases.append((tuple(bad), {}, TypeError))
    # A later parameter that fails conversion after the lists converted.
    later = [i for i, k in enumerate(entry.kinds) if i > lists[0] and k not in (REALS, TRIPLES)]
    for i in later:
        bad = list(ok)
        bad[i] = Opaque()
        cases.append((tuple(bad), {}, TypeError))
    for args, kwargs, expected in cases:
        try:
            fn(*args, **kwargs)
        except expected:
            pass
    before = resident_bytes()
    for _ in range(100):
        for args, kwargs, expected in cases:
            try:
                fn(*args, **kwargs)
            except expected:
                pass
    grown = resident_bytes() - before
    assert grown < 32 << 20, f"resident memory grew by {grown >> 20} MiB"
