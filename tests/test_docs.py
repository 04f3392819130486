"""docs/functions.md: one entry per function, in registration order, whose examples all run."""

import doctest
import pathlib
import re

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
    assert f"{name}{signature}" in getattr(quorin_np, name).__doc__
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
