"""Hostile argument objects: conversions that raise, lie, return the wrong type or mutate what
is being converted, keyword names that are not plain str, and very large inputs. Whatever the
object does, a call ends in a result or in exactly one exception, and the interpreter goes on.
Each case is run against every registered parameter of the kind it attacks."""

import gc
import os
import subprocess
import sys
import textwrap
import warnings

import pytest

import quorin
from catalogue import COUNT32, COUNT64, REAL, REALS, TEXT, TRIPLES, entries, fresh
from exact import same

SANITIZED = bool(os.environ.get("QUORIN_SANITIZED"))


def slots(*kinds):
    """(entry, parameter index) for every registered parameter of one of `kinds`."""
    return [(e, i) for e in entries() for i, k in enumerate(e.kinds) if k in kinds]


def slot_ids(pairs):
    return [f"{e.name}.{e.params[i]}" for e, i in pairs]


def with_arg(entry, i, value):
    args = list(fresh(entry.ok))
    args[i] = value
    return args


def list_args(entry, i, value, n):
    """The valid arguments with `value` for list parameter i, and every other list parameter
    (coords2 beside coords1) a plain list of n elements, so that lengths agree."""
    args = with_arg(entry, i, value)
    for j, kind in enumerate(entry.kinds):
        if j != i and kind in (REALS, TRIPLES):
            args[j] = [element(entry, j, 7)] * n
    return args


def outcome(fn, args):
    """The result, or (exception type, args, cause type) of the one exception raised."""
    try:
        return ("value", fn(*args))
    except BaseException as e:  # noqa: BLE001 - any exception at all is an outcome here
        return (type(e), e.args, type(e.__cause__))


def same_outcome(a, b):
    if a[0] == "value" and b[0] == "value":
        return same(a[1], b[1])
    return a == b


class Boom(Exception):
    pass


class Fatal(BaseException):
    """Not an Exception: a conversion must pass it through like any other."""


REAL_SLOTS = slots(REAL)
COUNT_SLOTS = slots(COUNT32, COUNT64)
TEXT_SLOTS = slots(TEXT)
LIST_SLOTS = slots(REALS, TRIPLES)


# ---- real conversion ------------------------------------------------------------------------

class Floaty:
    def __init__(self, returns=None, raises=None):
        self.returns, self.raises = returns, raises

    def __float__(self):
        if self.raises is not None:
            raise self.raises
        return self.returns


class Indexy:
    def __init__(self, returns=None, raises=None):
        self.returns, self.raises = returns, raises

    def __index__(self):
        if self.raises is not None:
            raise self.raises
        return self.returns


class FloatSub(float):
    pass


class IntSub(int):
    pass


HOSTILE_REALS = [
    # (object, exception type or None, its message with {p} for the parameter)
    (Floaty(raises=Boom("from __float__")), Boom, "from __float__"),
    (Floaty(raises=Fatal("fatal")), Fatal, "fatal"),
    (Floaty(raises=TypeError("typed")), TypeError, "argument '{p}': typed"),
    (Floaty(returns="1.5"), TypeError, "argument '{p}': Floaty.__float__ returned non-float (type str)"),
    (Floaty(returns=10**400), TypeError, "argument '{p}': Floaty.__float__ returned non-float (type int)"),
    (Floaty(returns=None), TypeError,
     "argument '{p}': Floaty.__float__ returned non-float (type NoneType)"),
    (Indexy(raises=Boom("from __index__")), Boom, "from __index__"),
    (Indexy(returns="7"), TypeError, "argument '{p}': __index__ returned non-int (type str)"),
    (Indexy(returns=10**400), OverflowError, "int too large to convert to float"),
    (Indexy(returns=2.5), TypeError, "argument '{p}': __index__ returned non-int (type float)"),
]


@pytest.mark.parametrize("entry, i", REAL_SLOTS, ids=slot_ids(REAL_SLOTS))
def test_hostile_real(entry, i):
    for obj, exc, message in HOSTILE_REALS:
        got = outcome(entry.function, with_arg(entry, i, obj))
        assert got[0] is exc and got[1] == (message.format(p=entry.params[i]),), (obj, got)


@pytest.mark.parametrize("entry, i", REAL_SLOTS, ids=slot_ids(REAL_SLOTS))
def test_real_from_float_returning_huge_values_and_float_subclasses(entry, i):
    # A huge or infinite value from __float__ is a value like any other; a float subclass
    # returned by __float__ is accepted with the interpreter's DeprecationWarning, and when
    # warnings are errors, that warning is the exception.
    for value in (1e308, float("inf"), float("-inf"), 5e-324):
        expected = outcome(entry.function, with_arg(entry, i, value))
        assert same_outcome(outcome(entry.function, with_arg(entry, i, Floaty(returns=value))), expected)
    expected = outcome(entry.function, with_arg(entry, i, 2.0))
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        assert same_outcome(outcome(entry.function, with_arg(entry, i, Floaty(returns=FloatSub(2.0)))),
                            expected)
    with warnings.catch_warnings():
        warnings.simplefilter("error", DeprecationWarning)
        got = outcome(entry.function, with_arg(entry, i, Floaty(returns=FloatSub(2.0))))
    assert got[0] is DeprecationWarning


def test_conversion_code_may_call_back_into_the_module():
    hl = quorin.mrna_halflife

    class Reentrant:
        def __float__(self):
            # Calls back into quorin, fails inside, collects garbage, and then gives a value.
            with pytest.raises(ValueError):
                hl(0.0)
            gc.collect()
            return hl(1.0) * 2

    assert hl(Reentrant()) == 0.5


# ---- count conversion -----------------------------------------------------------------------

def count_errors(kind, p):
    big_message = ("Python int too large to convert to C long" if kind == COUNT32
                   else "int too big to convert")
    negative = ("out of range integral type conversion attempted" if kind == COUNT32
                else "can't convert negative int to unsigned")
    return [
        (Indexy(raises=Boom("no")), Boom, "no"),
        (Indexy(raises=Fatal("fatal")), Fatal, "fatal"),
        (Indexy(raises=TypeError("typed")), TypeError, f"argument '{p}': typed"),
        (Indexy(returns="3"), TypeError, f"argument '{p}': __index__ returned non-int (type str)"),
        (Indexy(returns=3.0), TypeError, f"argument '{p}': __index__ returned non-int (type float)"),
        (Indexy(returns=10**30), OverflowError, big_message),
        (Indexy(returns=-1), OverflowError, negative),
        (Floaty(returns=3.0), TypeError, f"argument '{p}': 'Floaty' object cannot be interpreted as an integer"),
        (FloatSub(3.0), TypeError, f"argument '{p}': 'FloatSub' object cannot be interpreted as an integer"),
    ]


@pytest.mark.parametrize("entry, i", COUNT_SLOTS, ids=slot_ids(COUNT_SLOTS))
def test_hostile_count(entry, i):
    for obj, exc, message in count_errors(entry.kinds[i], entry.params[i]):
        got = outcome(entry.function, with_arg(entry, i, obj))
        assert got[0] is exc and got[1] == (message,), (obj, got)


class IntLies(int):
    """An int whose __index__ says something else: the int's own value is what counts."""

    def __index__(self):
        return 0


@pytest.mark.parametrize("entry, i", COUNT_SLOTS, ids=slot_ids(COUNT_SLOTS))
def test_count_subclasses_and_index_values(entry, i):
    plain = entry.ok[i]
    expected = outcome(entry.function, with_arg(entry, i, plain))
    for obj in (IntSub(plain), IntLies(plain), Indexy(returns=plain)):
        assert same_outcome(outcome(entry.function, with_arg(entry, i, obj)), expected), obj
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        # __index__ returning an int subclass is accepted, with a DeprecationWarning.
        got = outcome(entry.function, with_arg(entry, i, Indexy(returns=IntSub(plain))))
    assert same_outcome(got, expected)


# ---- text -----------------------------------------------------------------------------------

class Text(str):
    """A str subclass whose Python-level methods all lie; only its characters count."""

    def __str__(self):
        return "GGGG"

    def encode(self, *args, **kwargs):
        return b"GGGG"

    def __len__(self):
        return 0


@pytest.mark.parametrize("entry, i", TEXT_SLOTS, ids=slot_ids(TEXT_SLOTS))
def test_text_subclass_is_read_by_its_characters(entry, i):
    plain = entry.ok[i]
    assert same_outcome(outcome(entry.function, with_arg(entry, i, Text(plain))),
                        outcome(entry.function, with_arg(entry, i, plain)))


@pytest.mark.parametrize("entry, i", TEXT_SLOTS, ids=slot_ids(TEXT_SLOTS))
@pytest.mark.parametrize("text, at", [
    ("\ud800", 0), ("AC\udfff", 2), ("\U0001f600\udc80G", 1), ("é" * 5 + "\ud83d", 5)])
def test_lone_surrogates_are_the_interpreters_encode_error(entry, i, text, at):
    for value in (text, Text(text)):
        with pytest.raises(UnicodeEncodeError) as e:
            entry.function(*with_arg(entry, i, value))
        assert type(e.value) is UnicodeEncodeError
        assert (e.value.encoding, e.value.start, e.value.reason) == ("utf-8", at, "surrogates not allowed")


TEN_MILLION = 10_000_000


@pytest.mark.parametrize("entry, i", TEXT_SLOTS, ids=slot_ids(TEXT_SLOTS))
def test_ten_million_character_text(entry, i):
    if entry.name == "nussinov":
        # Folding is cubic in the length; the encoding pass must still read the whole text and
        # report the invalid base at its end, without building anything of that size first.
        text = "A" * (TEN_MILLION - 1) + "N"
        with pytest.raises(ValueError) as e:
            entry.function(text)
        assert str(e.value).startswith("Quorin.RnaNussinov: invalid base 'N'")
        return
    for text in ("G" * (TEN_MILLION // 2) + "A" * (TEN_MILLION // 2), "é" * TEN_MILLION):
        got = outcome(entry.function, with_arg(entry, i, text))
        assert got[0] == "value" and type(got[1]) is float


# ---- sequences ------------------------------------------------------------------------------

def element(entry, i, k):
    """The k-th plain element for the list parameter i of entry."""
    x = float(k) / 8.0
    return (x, 1.0 - x, 0.5) if entry.kinds[i] == TRIPLES else x


def iterated(seq):
    """What iterating `seq` yields, converting each element as the module converts it
    (so that conversion code with side effects runs in the same order)."""
    out = []
    for item in seq:
        if isinstance(item, tuple):
            out.append(tuple(float(v) for v in item))
        else:
            out.append(float(item))
    return out


class Lying:
    """A sequence (not a list or tuple) holding `items`, with a length that says `length`
    (or raises it, if it is an exception)."""

    def __init__(self, items, length):
        self.items, self.length = items, length

    def __len__(self):
        if isinstance(self.length, BaseException):
            raise self.length
        return self.length

    def __getitem__(self, k):
        return self.items[k]


@pytest.mark.parametrize("entry, i", LIST_SLOTS, ids=slot_ids(LIST_SLOTS))
@pytest.mark.parametrize("length", [
    3, 0, 1, 10**9, sys.maxsize, 10**20, -5, "three", Boom("len"), Fatal("len"), TypeError("len"),
], ids=repr)
def test_sequence_whose_length_lies_or_fails(entry, i, length):
    # The reported length is only a hint; a failing one is discarded, whatever it raised.
    items = [element(entry, i, k) for k in range(3)]
    expected = outcome(entry.function, list_args(entry, i, list(items), 3))
    got = outcome(entry.function, list_args(entry, i, Lying(items, length), 3))
    assert same_outcome(got, expected)


@pytest.mark.skipif(SANITIZED, reason="the sanitizer's shadow memory needs a large address space")
def test_lying_length_does_not_reserve_what_it_claims(tmp_path):
    """With the address space capped at 1 GiB above what the process uses, a length of 10^9
    (8 GB of doubles, 24 GB of triples) must not be reserved up front."""
    names = [(e.name, i) for e, i in LIST_SLOTS]
    if not names:
        pytest.skip("no list parameter registered")
    script = textwrap.dedent(f"""
        import resource, sys
        sys.path.insert(0, {os.path.dirname(__file__)!r})
        import quorin
        from catalogue import CATALOGUE, fresh, TRIPLES

        class Lying:
            def __init__(self, items): self.items = items
            def __len__(self): return 10**9
            def __getitem__(self, k): return self.items[k]

        with open("/proc/self/statm") as f:
            used = int(f.read().split()[0]) * 4096
        resource.setrlimit(resource.RLIMIT_AS, (used + (1 << 30), resource.RLIM_INFINITY))
        for name, i in {names!r}:
            e = CATALOGUE[name]
            item = (0.5, 0.25, 0.125) if e.kinds[i] == TRIPLES else 0.5
            args = list(fresh(e.ok))
            args[i] = Lying([item] * 3)
            try:
                getattr(quorin, name)(*args)
            except ValueError:
                pass  # a precondition on three elements
        print("ok")
    """)
    env = dict(os.environ, PYTHONPATH=os.pathsep.join(
        [os.path.dirname(quorin.__file__), os.environ.get("PYTHONPATH", "")]))
    out = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True,
                         timeout=120)
    assert out.returncode == 0 and out.stdout.strip() == "ok", out.stderr[-2000:]


class FailingIter:
    """Yields `items`, then raises `exc` instead of the next one."""

    def __init__(self, items, exc):
        self.items, self.exc = items, exc

    def __len__(self):
        return len(self.items) + 1

    def __getitem__(self, k):
        raise AssertionError("iteration goes through __iter__")

    def __iter__(self):
        yield from self.items
        raise self.exc


@pytest.mark.parametrize("entry, i", LIST_SLOTS, ids=slot_ids(LIST_SLOTS))
def test_iterator_that_raises_midway(entry, i):
    p = entry.params[i]
    items = [element(entry, i, k) for k in range(1, 4)]
    objects = items + [x for item in items if isinstance(item, tuple) for x in item]
    before = [sys.getrefcount(o) for o in objects]
    cause = KeyError("cause")
    typed = TypeError("typed")
    typed.__cause__ = cause
    for exc, expected in [
        (Boom("midway"), (Boom, ("midway",), type(None))),
        (Fatal("midway"), (Fatal, ("midway",), type(None))),
        (MemoryError(), (MemoryError, (), type(None))),
        (typed, (TypeError, (f"argument '{p}': typed",), KeyError)),
    ]:
        for _ in range(20):
            got = outcome(entry.function, with_arg(entry, i, FailingIter(items, exc)))
            assert got == expected
    # The exception surfaced as the very object raised, unless it was remapped.
    with pytest.raises(Boom) as e:
        boom = Boom("same")
        entry.function(*with_arg(entry, i, FailingIter(items, boom)))
    assert e.value is boom
    del e
    assert [sys.getrefcount(o) for o in objects] == before


class Mutator:
    """An element whose conversion runs `action(owner_list)` once, then converts as `value`."""

    def __init__(self, value, action):
        self.value, self.action, self.fired = value, action, False
        self.owner = None

    def fire(self):
        if not self.fired:
            self.fired = True
            self.action(self.owner)
            gc.collect()

    def __float__(self):
        self.fire()
        return self.value


def mutating_list(entry, i, where, action):
    """A fresh list of 5 elements whose element at `where` mutates the list when converted.
    For triples the mutating object is the first item of that element's tuple."""
    items = [element(entry, i, k) for k in range(5)]
    if entry.kinds[i] == TRIPLES:
        m = Mutator(items[where][0], action)
        items[where] = (m,) + items[where][1:]
    else:
        m = Mutator(items[where], action)
        items[where] = m
    m.owner = items
    return items


MUTATIONS = {
    "clear": lambda lst: lst.clear(),
    "truncate": lambda lst: lst.__delitem__(slice(2, None)),
    "append": lambda lst: lst.extend([lst[0], lst[1]]),
    "remove-self": lambda lst: lst.pop(1),
    "replace-rest": lambda lst: lst.__setitem__(slice(2, None), lst[:1] * 6),
    "reverse": lambda lst: lst.reverse(),
    "drop-all-and-collect": lambda lst: (lst.clear(), gc.collect()),
}


@pytest.mark.parametrize("entry, i", LIST_SLOTS, ids=slot_ids(LIST_SLOTS))
@pytest.mark.parametrize("mutation", list(MUTATIONS))
@pytest.mark.parametrize("where", [0, 1, 4])
def test_element_that_mutates_the_list_being_converted(entry, i, mutation, where):
    """The list is converted as its own iterator would walk it, mutations included; elements
    dropped from the list while they convert stay alive until the frame is done with them."""
    action = MUTATIONS[mutation]
    model = iterated(mutating_list(entry, i, where, action))
    expected = outcome(entry.function, list_args(entry, i, model, len(model)))
    got = outcome(entry.function, list_args(entry, i, mutating_list(entry, i, where, action), len(model)))
    assert same_outcome(got, expected)


class ListIter(list):
    """A list subclass whose iteration and length disagree with its contents."""

    def __iter__(self):
        return iter(list.__getitem__(self, slice(None, None, -1)))

    def __len__(self):
        return 10**9


class TupleIter(tuple):
    def __iter__(self):
        return iter(tuple.__getitem__(self, slice(1, None)))


@pytest.mark.parametrize("entry, i", LIST_SLOTS, ids=slot_ids(LIST_SLOTS))
def test_list_and_tuple_subclasses_iterate_their_own_way(entry, i):
    items = [element(entry, i, k) for k in range(4)]
    for obj in (ListIter(items), TupleIter(items)):
        model = list(iter(obj))
        expected = outcome(entry.function, list_args(entry, i, model, len(model)))
        assert same_outcome(outcome(entry.function, list_args(entry, i, obj, len(model))), expected)


MILLION = 1_000_000


@pytest.mark.parametrize("entry, i", LIST_SLOTS, ids=slot_ids(LIST_SLOTS))
def test_million_element_sequences_agree_in_every_container(entry, i):
    items = [element(entry, i, k % 8) for k in range(MILLION)]
    expected = outcome(entry.function, list_args(entry, i, items, MILLION))
    assert expected[0] == "value" or expected[0] is ValueError
    for container in (tuple(items), Lying(items, MILLION), Lying(items, 3)):
        got = outcome(entry.function, list_args(entry, i, container, MILLION))
        assert same_outcome(got, expected)


# ---- keyword names --------------------------------------------------------------------------

class Key(str):
    """A keyword name whose Python-level equality, hash and str() all lie."""

    def __eq__(self, other):
        return True

    def __hash__(self):
        return 0

    def __str__(self):
        return "liar"


class KeyRaises(str):
    def __str__(self):
        raise Boom("str of a keyword name")


ALL = entries()


@pytest.mark.parametrize("entry", ALL, ids=[e.name for e in ALL])
def test_keyword_names_that_are_str_subclasses(entry):
    fn = entry.function
    expected = outcome(fn, fresh(entry.ok))
    # Keys of this subclass all collide in a dict, so one of them is passed per call: the last
    # given parameter by keyword, the others by position. Binding reads the characters only.
    last = entry.params[len(entry.ok) - 1]
    got = outcome(lambda *a: fn(*a, **{Key(last): fresh(entry.ok)[-1]}), fresh(entry.ok)[:-1])
    assert same_outcome(got, expected)
    # An unknown name is reported with str() of the name, whatever that gives or raises.
    got = outcome(lambda *a: fn(*a, **{Key("nope"): 1.0}), fresh(entry.ok))
    assert got[:2] == (TypeError, (f"{entry.name}() got an unexpected keyword argument 'liar'",))
    got = outcome(lambda *a: fn(*a, **{KeyRaises("nope"): 1.0}), fresh(entry.ok))
    assert got[:2] == (Boom, ("str of a keyword name",))


@pytest.mark.parametrize("entry", ALL, ids=[e.name for e in ALL])
def test_keyword_names_with_nul_or_prefixes_do_not_match(entry):
    p = entry.params[0]
    rest = dict(zip(entry.params[1:], fresh(entry.ok)[1:]))
    for name in (p + "\0", p + "\0x", "\0" + p, p[:-1], p + p[-1], p.upper()):
        if name in entry.params:
            continue  # ("n0"[:-1] is pcr_copies's "n")
        got = outcome(lambda: entry.function(**{name: fresh(entry.ok)[0]}, **rest), ())
        assert got[:2] == (TypeError, (f"{entry.name}() got an unexpected keyword argument '{name}'",))


@pytest.mark.parametrize("entry", ALL, ids=[e.name for e in ALL])
def test_very_many_arguments(entry):
    fn = entry.function
    p, r = len(entry.params), entry.required
    n = 100_000
    got = outcome(fn, [1.0] * n)
    takes = f"{p} positional arguments" if p == r else f"from {r} to {p} positional arguments"
    assert got[:2] == (TypeError, (f"{entry.name}() takes {takes} but {n} were given",))
    bogus = {f"k{j}": float(j) for j in range(10_000)}
    got = outcome(lambda *a: fn(*a, **bogus), fresh(entry.ok))
    assert got[:2] == (TypeError, (f"{entry.name}() got an unexpected keyword argument 'k0'",))
