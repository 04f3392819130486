"""quorin_np over a dask.distributed cluster of two worker processes on loopback: clinical
indices over a partitioned DataFrame, and each refusal mode applied on the workers as it is
locally."""

import logging
import os
import warnings

import pytest

np = pytest.importorskip("numpy")
pd = pytest.importorskip("pandas")
da = pytest.importorskip("dask.array")
dd = pytest.importorskip("dask.dataframe")
distributed = pytest.importorskip("distributed")
import dask  # noqa: E402
import quorin_np  # noqa: E402

SEEN = []  # in each worker process: the RuntimeWarnings issued there


def record_warnings():
    warnings.simplefilter("always", RuntimeWarning)
    warnings.showwarning = lambda message, *_: SEEN.append(str(message))
    return os.getpid()


def take_recorded():
    seen = SEEN[:]
    SEEN.clear()
    return seen


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  host="127.0.0.1", dashboard_address=None,
                                  silence_logs=logging.CRITICAL) as cluster:
        with distributed.Client(cluster) as c:
            assert os.getpid() not in c.run(record_warnings).values()
            yield c


def cohort(rows, seed=7):
    rng = np.random.default_rng(seed)
    table = pd.DataFrame({
        "age": rng.integers(18, 95, rows).astype(float), "weight": rng.uniform(40, 140, rows),
        "height": rng.uniform(140, 200, rows), "scr": rng.uniform(0.4, 6.0, rows),
        "bili": rng.uniform(0.2, 20.0, rows), "inr": rng.uniform(0.8, 4.0, rows),
        "na": rng.uniform(120, 160, rows), "glu": rng.uniform(60, 400, rows),
        "bun": rng.uniform(5, 80, rows), "female": rng.integers(0, 2, rows).astype(bool)})
    table.loc[::97, "height"] = 0.0  # refused by the BMI and body surface area contracts
    table.loc[::89, "age"] = 150.0   # refused by Cockcroft-Gault
    return table


def indices(t):
    """Clinical indices of a pandas or a Dask DataFrame, by the same calls."""
    cg = 1.0 - 0.15 * t["female"]
    return {
        "bmi": quorin_np.bmi(t["weight"], t["height"] / 100.0),
        "bsa": quorin_np.body_surface_area(t["height"], t["weight"]),
        "crcl": quorin_np.cockcroft_gault(t["age"], t["weight"], t["scr"], cg),
        "mdrd": quorin_np.ckd_mdrd(t["scr"], t["age"], 1.0),
        "meld": quorin_np.meld_score(t["bili"], t["inr"], t["scr"]),
        "osm": quorin_np.osmolarity(t["na"], t["glu"], t["bun"]),
    }


def bits(values):
    return np.asarray(values, dtype=np.float64).view(np.uint64)


def test_clinical_indices_over_a_partitioned_dataframe_on_two_workers(client):
    table = cohort(5000)
    with quorin_np.errstate(refused="nan"):
        want = indices(table)
        lazy = indices(dd.from_pandas(table, npartitions=6))
    got = dict(zip(lazy, dask.compute(*lazy.values())))
    for name, series in want.items():
        assert got[name].index.equals(series.index), name
        assert (bits(got[name]) == bits(series)).all(), name
    assert got["bmi"].isna().sum() == len(table[::97]) and got["crcl"].isna().any()


ROWS = 8  # two chunks of four; the refused row is the second of the second chunk
W = np.linspace(60.0, 95.0, ROWS)
H = np.where(np.arange(ROWS) == 5, 0.0, 1.75)


def lazy_bmi(kind):
    if kind == "array":
        return quorin_np.bmi(da.from_array(W, chunks=4), da.from_array(H, chunks=4))
    frame = dd.from_pandas(pd.DataFrame({"w": W, "h": H}), npartitions=2)
    return quorin_np.bmi(frame["w"], frame["h"])


@pytest.mark.parametrize("kind", ["array", "frame"])
@pytest.mark.parametrize("mode", ["raise", "nan", "warn"])
def test_each_refusal_mode_on_the_workers_as_locally(client, mode, kind):
    message = "Quorin.BMI: weight and height must be positive"
    with quorin_np.errstate(refused=mode):
        lazy = lazy_bmi(kind)
    client.run(take_recorded)
    if mode == "raise":
        with pytest.raises(ValueError) as caught:
            lazy.compute()
        assert caught.value.args == (message,)
        assert caught.value.__notes__ == [
            "quorin_np.bmi: refused the element at flat index 1",
            "quorin_np.bmi: in a Dask chunk of shape (4,); the index counts within that chunk"]
        return
    with quorin_np.errstate(refused="nan"):
        want = quorin_np.bmi(W, H)
    assert (bits(lazy.compute()) == bits(want)).all()
    seen = [m for ms in client.run(take_recorded).values() for m in ms]
    assert seen == ([] if mode == "nan" else [
        f"quorin_np.bmi: 1 element(s) refused and set to NaN; the first, at flat index 1: {message}"])


def test_several_outputs_on_the_workers(client):
    p = da.from_array(np.linspace(0.0, 1.0, 9), chunks=3)
    got = dask.compute(*quorin_np.hardy_weinberg(p))
    assert all((bits(g) == bits(w)).all()
               for g, w in zip(got, quorin_np.hardy_weinberg(np.linspace(0.0, 1.0, 9))))
