"""quorin_np over a dask.distributed cluster of two worker processes on loopback: each refusal
mode applies on the workers as it does locally, over Dask arrays and a partitioned DataFrame.
(tests/test_examples.py runs the cohort example, clinical indices of a partitioned CSV cohort
on such a cluster, against the scalar functions.)"""

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


def bits(values):
    return np.asarray(values, dtype=np.float64).view(np.uint64)


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
    warned = "quorin_np.bmi: 1 element(s) refused and set to NaN; the first, at flat index 1: "
    assert seen == ([] if mode == "nan" else [warned + message])


def test_several_outputs_on_the_workers(client):
    p = da.from_array(np.linspace(0.0, 1.0, 9), chunks=3)
    got = dask.compute(*quorin_np.hardy_weinberg(p))
    assert all((bits(g) == bits(w)).all()
               for g, w in zip(got, quorin_np.hardy_weinberg(np.linspace(0.0, 1.0, 9))))
