"""quorin_np's ufuncs over pandas: Series and DataFrame columns in, Series out with their index;
nullable columns keep their mask, and a missing element is never computed, so never refused."""

import warnings

import pytest

np = pytest.importorskip("numpy")
pd = pytest.importorskip("pandas")
import quorin_np  # noqa: E402

FRAME = pd.DataFrame({"w": [70.0, 82.5, 91.0], "h": [1.75, 1.80, 1.68]}, index=["a", "b", "c"])
W, H = FRAME["w"].to_numpy(), FRAME["h"].to_numpy()


MISSING = [False, True, False]


def nullable(values, dtype="Float64"):
    """A nullable Series whose second element is missing but still holds its (refused) value."""
    return pd.Series(values, dtype=dtype).mask(pd.Series(MISSING))


CASES = {  # name: (call, the NumPy result, the missing elements of the result)
    "DataFrame columns": (lambda: quorin_np.bmi(FRAME["w"], FRAME["h"]),
                          quorin_np.bmi(W, H), None),
    "Series and a scalar": (lambda: quorin_np.bmi(FRAME["w"], 1.75), quorin_np.bmi(W, 1.75), None),
    "several outputs": (lambda: quorin_np.hardy_weinberg(FRAME["h"] / 2),
                        quorin_np.hardy_weinberg(H / 2), None),
    "Float64 with pd.NA": (lambda: quorin_np.bmi(pd.Series([70.0, pd.NA, 91.0], dtype="Float64",
                                                           index=FRAME.index), FRAME["h"]),
                           quorin_np.bmi(W, H), MISSING),
    "a refused value under the mask": (lambda: quorin_np.bmi(70.0, nullable([1.75, 0.0, 1.68])),
                                       quorin_np.bmi(70.0, np.array([1.75, 1.0, 1.68])), MISSING),
    "Int64 count, negative under the mask": (
        lambda: quorin_np.pcr_copies(10.0, 1.95, nullable([1, -5, 3], "Int64")),
        quorin_np.pcr_copies(10.0, 1.95, np.array([1, 0, 3])), MISSING),
    "several outputs, masked": (lambda: quorin_np.hardy_weinberg(nullable([0.5, 2.0, 0.1])),
                                quorin_np.hardy_weinberg(np.array([0.5, 0.0, 0.1])), MISSING),
}


@pytest.mark.parametrize("case", CASES)
def test_series_in_series_out(case):
    call, want, missing = CASES[case]
    with warnings.catch_warnings():
        warnings.simplefilter("error")  # a masked element is not refused, not even in "warn"
        with quorin_np.errstate(refused="warn"):
            got = call()
    for g, w in zip(got if isinstance(got, tuple) else (got,),
                    want if isinstance(want, tuple) else (want,), strict=True):
        assert isinstance(g, pd.Series) and len(g) == len(w)
        if missing is None:
            assert g.dtype == np.float64 and g.index.equals(FRAME.index[:len(g)])
            assert (g.to_numpy().view(np.uint64) == w.view(np.uint64)).all()
        else:
            assert g.dtype == "Float64" and g.isna().tolist() == missing
            present = ~np.array(missing)
            assert (g.to_numpy(np.float64, na_value=0.0)[present] == w[present]).all()


def test_refusal_modes_over_a_nullable_column():
    h = pd.Series([1.75, 0.0, pd.NA], dtype="Float64")
    with pytest.raises(ValueError, match="weight and height must be positive") as caught:
        quorin_np.bmi(70.0, h)
    assert "flat index 1" in caught.value.__notes__[0]
    with quorin_np.errstate(refused="nan"):
        got = quorin_np.bmi(70.0, h)
    assert got.dtype == "Float64"
    assert np.isnan(got.to_numpy(np.float64, na_value=np.nan)).tolist() == [False, True, True]
