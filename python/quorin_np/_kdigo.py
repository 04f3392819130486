"""The KDIGO GFR categories as labels that pandas and polars group and sort by."""

from __future__ import annotations

from typing import Any

import numpy as np

LABELS = ("G1", "G2", "G3a", "G3b", "G4", "G5")


def _indices(values: Any) -> Any:
    """Row indices 0-5 into LABELS from codes 1-6, -1 where a code is missing."""
    codes = np.atleast_1d(np.asarray(values, dtype=np.float64))
    missing = np.isnan(codes)
    bad = ~missing & ~np.isin(codes, np.arange(1.0, 7.0))
    if bad.any():
        raise ValueError("quorin_np.kdigo_gfr_labels: a code is 1 to 6 (G1 to G5) or missing, "
                         f"not {codes[bad].flat[0]!r}")
    return np.where(missing, -1, np.nan_to_num(codes) - 1).astype(np.int8)


def kdigo_gfr_labels(codes: Any) -> Any:
    """The labels "G1", "G2", "G3a", "G3b", "G4", "G5" of codes made by kdigo_gfr_category.

    The result is an ordered categorical with all six labels as categories, so that groups
    come out in the order of the table, empty ones included where asked for: a polars Series
    of ``polars.Enum`` for a polars Series, a pandas Series of an ordered ``CategoricalDtype``
    (same index and name) for a pandas Series, and a ``pandas.Categorical`` for anything else.
    A missing code (NaN, ``pd.NA``, a polars null) is a missing label; any other code than 1 to
    6 raises ``ValueError``.
    """
    if type(codes).__module__.startswith("polars"):
        import polars as pl

        values = codes.cast(pl.Float64).fill_null(float("nan")).to_numpy()
        index = pl.Series(codes.name, _indices(values))
        return index.replace_strict(dict(enumerate(LABELS)), default=None,
                                    return_dtype=pl.Enum(LABELS))
    import pandas as pd

    dtype = pd.CategoricalDtype(LABELS, ordered=True)
    if isinstance(codes, pd.Series):
        values = codes.to_numpy(dtype=np.float64, na_value=np.nan)
        labels = pd.Categorical.from_codes(_indices(values), dtype=dtype)
        return pd.Series(labels, index=codes.index, name=codes.name)
    if isinstance(codes, pd.api.extensions.ExtensionArray):
        codes = codes.to_numpy(dtype=np.float64, na_value=np.nan)
    return pd.Categorical.from_codes(_indices(codes), dtype=dtype)
