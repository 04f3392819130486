"""quorin_np over polars: Series and expressions, eager and lazy. Nulls are never computed (so
never refused, not even counted under "warn") and stay null; every present element is what
NumPy gives on the same values, bit for bit; a lazy expression computes under the refusal mode
in force when it was built."""

import warnings

import numpy as np
import pytest

pl = pytest.importorskip("polars")
import quorin_np  # noqa: E402

# Weights with a null whose slot holds 0, which bmi refuses; heights with a refused 0.0.
W = pl.Series("w", [70.0, None, 91.0, 55.0])
H = pl.Series("h", [1.75, 1.80, 0.0, 1.60])
SEQ = pl.Series("seq", ["GGGAAACCC", None, "AXG", "ACGU"])
FRAME = pl.DataFrame([W, H, SEQ])
NULLS = [False, True, False, False]


def numpy_twin(function, *columns):
    """The function over the same values as NumPy arrays (or lists of str), under "nan"."""
    with quorin_np.errstate(refused="nan"):
        return np.asarray(function(*(c.to_numpy() for c in columns)))


def same_values(got, want):
    present = ~np.array(got.is_null().to_list())
    values = got.to_numpy()[present].astype(want.dtype)
    if values.dtype == np.float64:
        return (values.view(np.uint64) == want[present].view(np.uint64)).all()
    return (values == want[present]).all()


CALLS = {  # name: (call over polars, the function, its polars columns, result dtype, refused)
    "ufunc over Series": (lambda: quorin_np.bmi(W, H), quorin_np.bmi, (W, H), pl.Float64, 1),
    "ufunc, Series and a scalar": (lambda: quorin_np.bmi(W, 1.7), lambda w: quorin_np.bmi(w, 1.7),
                                   (W,), pl.Float64, 0),
    "texts over a Series": (lambda: quorin_np.nussinov(SEQ), quorin_np.nussinov, (SEQ,),
                            pl.Int64, 1),
    "two texts": (lambda: quorin_np.sequence_identity(SEQ, "GGGA"),
                  lambda s: quorin_np.sequence_identity(s, "GGGA"), (SEQ,), pl.Float64, 0),
    "select with expressions": (
        lambda: FRAME.select(quorin_np.bmi(pl.col("w"), pl.col("h")))["w"],
        quorin_np.bmi, (W, H), pl.Float64, 1),
    "with_columns, texts": (
        lambda: FRAME.with_columns(n=quorin_np.nussinov(pl.col("seq")))["n"],
        quorin_np.nussinov, (SEQ,), pl.Int64, 1),
    "lazy query": (
        lambda: FRAME.lazy().select(quorin_np.gc_content(pl.col("seq"))).collect()["seq"],
        quorin_np.gc_content, (SEQ,), pl.Float64, 0),
}


@pytest.mark.parametrize("mode", ["nan", "warn"])
@pytest.mark.parametrize("case", CALLS)
def test_nulls_stay_null_and_present_values_match_numpy(case, mode):
    call, function, columns, dtype, refused = CALLS[case]
    with quorin_np.errstate(refused=mode), warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        got = call()
    assert got.dtype == dtype and got.is_null().to_list() == NULLS
    assert same_values(got, numpy_twin(function, *columns))
    # Only a real refusal (height 0, base X), never the null, is counted.
    assert [str(w.message).split(";")[0].split(": ")[1] for w in seen] == (
        [] if mode == "nan" or not refused
        else ["1 element(s) refused and set to " + ("-1" if dtype == pl.Int64 else "NaN")])


def test_raise_mode_refuses_the_real_refusal_only():
    with pytest.raises(ValueError, match="weight and height must be positive"):
        quorin_np.bmi(W, H)
    assert quorin_np.bmi(W, 1.7).null_count() == 1  # the null's 0 placeholder is not computed


def test_a_lazy_query_computes_under_the_mode_it_was_built_in():
    with quorin_np.errstate(refused="nan"):
        query = FRAME.lazy().with_columns(b=quorin_np.bmi(pl.col("w"), pl.col("h")),
                                          n=quorin_np.nussinov(pl.col("seq")))
    with quorin_np.errstate(refused="raise"):
        out = query.collect()
    assert np.isnan(out["b"][2]) and out["n"][2] == -1
    strict = FRAME.lazy().select(quorin_np.bmi(pl.col("w"), pl.col("h")))
    with quorin_np.errstate(refused="nan"), pytest.raises(Exception, match="must be positive"):
        strict.collect()


def test_a_frame_is_not_a_column():
    with pytest.raises(TypeError, match="takes a polars Series or expression"):
        quorin_np.nussinov(FRAME)
