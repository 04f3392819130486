"""Typed use of quorin: checked by `mypy --strict` against the stubs and run by the tests.

Each call's static type is asserted with `assert_type` and its run-time type with `isinstance`,
so the stubs and the module cannot disagree about these results. The `type: ignore` lines are
calls the stubs must refuse; under --strict an ignore that is not needed is itself an error.
"""

from collections.abc import Sequence
from typing import assert_type

import quorin


def mean_gc(sequences: Sequence[str]) -> float:
    return sum(quorin.gc_content(s) for s in sequences) / len(sequences)


def check() -> None:
    bmi = quorin.bmi(weight_kg=70, height_m=1.75)
    assert_type(bmi, float)
    assert isinstance(bmi, float)

    age = quorin.biological_age_bound(50.0, 60.0, 70.0, w3=0.334)
    assert_type(age, float)

    frequencies = quorin.hardy_weinberg(0.3)
    assert_type(frequencies, tuple[float, float, float])
    assert len(frequencies) == 3 and all(isinstance(f, float) for f in frequencies)

    test = quorin.hardy_weinberg_test(30, 40, 30)
    assert_type(test, tuple[float, float, float, float])
    assert len(test) == 4 and all(isinstance(f, float) for f in test)

    pairs = quorin.nussinov("GGGAAACCC")
    assert_type(pairs, int)
    assert type(pairs) is int

    points: list[tuple[float, float, float]] = [(0.0, 0.0, 0.0), (1.0, 2.0, 2.0)]
    assert isinstance(quorin.protein_rmsd(points, tuple(points)), float)
    assert isinstance(quorin.tm_score(distances=(0.5, 1.0), l_target=2, d0=1.0), float)
    assert isinstance(quorin.shannon_entropy_dist([0.5, 0.5]), float)
    assert isinstance(quorin.pcr_copies(1.0, 2.0, n=10), float)
    assert isinstance(mean_gc(["GC", "AT"]), float)

    # The scale of weibull_survival is named `lambda`: by position, or through a mapping.
    s1 = quorin.weibull_survival(1.0, 2.0, 1.5)
    s2 = quorin.weibull_survival(1.0, 2.0, k=1.5)
    s3 = quorin.weibull_survival(1.0, **{"lambda": 2.0, "k": 1.5})
    s4 = quorin.weibull_survival(**{"t": 1.0, "lambda": 2.0, "k": 1.5})
    assert_type(s3, float)
    assert s1 == s2 == s3 == s4


def refused() -> None:
    """Calls the type checker refuses; never run."""
    quorin.bmi("70", 1.75)  # type: ignore[arg-type]
    quorin.bmi(70.0)  # type: ignore[call-arg]
    quorin.bmi(70.0, height=1.75)  # type: ignore[call-arg]
    quorin.pcr_copies(1.0, 2.0, 2.5)  # type: ignore[arg-type]
    quorin.gc_content(b"GC")  # type: ignore[arg-type]
    quorin.shannon_entropy_dist(0.5)  # type: ignore[arg-type]
    quorin.protein_rmsd([[0.0, 0.0, 0.0]], [(0.0, 0.0, 0.0)])  # type: ignore[list-item]
    quorin.weibull_survival(1.0, lambda_=2.0, k=1.5)  # type: ignore[call-overload]
    text: str = quorin.nussinov("GC")  # type: ignore[assignment]
    del text


if __name__ == "__main__":
    check()
