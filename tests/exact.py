"""Bit-exact comparison of results: signed zeros and NaN are told apart, tuples element-wise."""

import math
import struct


def bits(x: float) -> int:
    return struct.unpack("<q", struct.pack("<d", x))[0]


def from_bits(n: int) -> float:
    """The double whose 64-bit pattern is `n` (signaling NaNs included)."""
    return struct.unpack("<d", struct.pack("<Q", n))[0]


def pattern(value):
    """`value` with every float replaced by its bits, tuples element-wise: equal patterns mean
    the same bits, NaN sign and payload included."""
    if isinstance(value, tuple):
        return tuple(pattern(v) for v in value)
    return (float, bits(value)) if isinstance(value, float) else value


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
