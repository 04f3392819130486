"""Bit-exact comparison of results: signed zeros and NaN are told apart, tuples element-wise."""

import math
import struct


def bits(x: float) -> int:
    return struct.unpack("<q", struct.pack("<d", x))[0]


def same(actual, expected) -> bool:
    """True when `actual` is exactly `expected`: same type, and for floats the same bits
    (any NaN matches any NaN)."""
    if isinstance(expected, tuple):
        return (isinstance(actual, tuple) and len(actual) == len(expected)
                and all(same(a, e) for a, e in zip(actual, expected)))
    if type(actual) is not type(expected):
        return False
    if isinstance(expected, float):
        if math.isnan(expected):
            return math.isnan(actual)
        return bits(actual) == bits(expected)
    return actual == expected


def assert_same(actual, expected):
    assert same(actual, expected), f"got {actual!r}, expected {expected!r}"
