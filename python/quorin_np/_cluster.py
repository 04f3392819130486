"""`quorin apply --scheduler ADDRESS`: the job's chunks are the partitions of a dask.dataframe
read on the cluster's workers, each computed there by the same `compute` as on this machine;
this process writes them in order as they come back, a few partitions ahead at most, so the
output is the same as a run here and the memory of neither side grows with the file."""

from __future__ import annotations

import os
from collections import deque
from collections.abc import Iterator
from typing import TYPE_CHECKING, Any

from ._cli import DataError, UsageError
from ._tables import DELIMITERS, Source

if TYPE_CHECKING:
    import pandas

    from ._rows import Outcome, Plan

SMALLEST_BLOCK = 1 << 16  # bytes of CSV per partition, at least


def compute_partition(frame: pandas.DataFrame, plan: Plan) -> Outcome:
    """One task: a partition as the pyarrow table that `compute` takes."""
    import pyarrow as pa

    from ._rows import compute

    return compute(pa.Table.from_pandas(frame, preserve_index=False), plan)


class Cluster:
    def __init__(self, address: str, path: str | None, fmt: str, typed: bool, rows: int) -> None:
        if path in (None, "-"):
            raise UsageError("--scheduler reads FILE on the cluster's workers: give a file, not "
                             "standard input")
        assert path is not None
        try:
            import dask.dataframe as dd
            from dask.distributed import Client
        except ImportError:
            raise UsageError("--scheduler needs Dask: pip install 'dask[dataframe,distributed]'"
                             ) from None
        header = Source(path, fmt, rows, typed)  # the columns, read here before the job starts
        self.names, self.label = header.names, header.label
        self._empty = header.empty
        try:
            self.client = Client(address, timeout="10s", set_as_default=False)
        except (OSError, TimeoutError, ValueError) as error:
            raise UsageError(f"cannot reach the Dask scheduler at {address}: {error}") from None
        where = os.path.abspath(path)  # the workers' folder is not this one
        if fmt == "parquet":
            frame = dd.read_parquet(where, dtype_backend="pyarrow")
        else:
            gz = where.lower().endswith(".gz")
            # Partitions of about --chunk-rows rows, as the chunks of a run on this machine.
            block = max(SMALLEST_BLOCK, int(rows * header.row_bytes))
            options: dict[str, Any] = dict(sep=DELIMITERS[fmt], blocksize=None if gz else block,
                                           compression="gzip" if gz else None)
            if typed:
                options.update(dtype_backend="pyarrow")
            else:  # every cell as its text, as on this machine
                options.update(dtype=str, keep_default_na=False, na_filter=False)
            frame = dd.read_csv(where, **options)
        self._parts = frame.to_delayed()
        self.total = len(self._parts)
        self._done = 0

    def position(self) -> int:
        return self._done

    def empty(self) -> Any:
        return self._empty()

    def chunks(self, plan: Plan) -> Iterator[Outcome]:
        from dask import delayed

        workers = self.client.nthreads()
        ahead = max(2, 2 * sum(workers.values()))
        task = delayed(compute_partition)
        pending: deque[Any] = deque()
        queued = iter(self._parts)
        try:
            for part in queued:
                pending.append(self.client.compute(task(part, plan)))
                if len(pending) >= ahead:
                    break
            while pending:
                outcome = self._result(pending.popleft())
                self._done += 1
                for part in queued:
                    pending.append(self.client.compute(task(part, plan)))
                    break
                yield outcome
        finally:
            for future in pending:
                future.cancel()

    def _result(self, future: Any) -> Outcome:
        try:
            return future.result()
        except (ImportError, ModuleNotFoundError) as error:
            raise UsageError(f"the Dask workers cannot run quorin_np: {error}") from None
        except (OSError, ValueError) as error:
            raise DataError(f"{self.label}: on the cluster: {error}") from None

    def close(self) -> None:
        self.client.close()
