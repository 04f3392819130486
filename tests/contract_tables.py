"""Shared checks for the formula tables: one value, one refused precondition, NaN flowing
through every real parameter."""

import math

import pytest

import quorin
from exact import assert_same


def label(case):
    return f"{case[0]}{case[1]}"


def check_value(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


def check_refused(name, args, message):
    with pytest.raises(ValueError) as info:
        getattr(quorin, name)(*args)
    assert type(info.value) is ValueError and info.value.args == (message,)


def nan_cases(valid, counts=None):
    """(name, position) of every real parameter of the valid argument table."""
    counts = counts or {}
    return [(n, i) for n, a in valid.items() for i in range(len(a)) if counts.get(n) != i]


def check_nan_flows(valid, name, position):
    args = list(valid[name])
    args[position] = math.nan
    assert_same(getattr(quorin, name)(*args), math.nan)
