"""Long computations that must stop for a signal, and hopeless ones that must be refused before
they start, checked by the work left undone rather than by a clock: a machine shared with other
jobs may be many times slower than usual, so no latency is ever compared with a bound.

A job runs in a fresh interpreter and would take minutes; a signal reaches it 0.2 s in. It stops
in milliseconds when signals are handled, and runs to its end when they are not, so the guard
below, far longer than any stop and far shorter than any job, tells the two apart."""

import subprocess
import sys
import textwrap
import time

GUARD = 60.0

_CHILD = """\
import signal, sys
{setup}
print("ready", flush=True)
if {by_timer}:
    def interrupt(signum, frame):
        raise KeyboardInterrupt
    signal.signal(signal.SIGALRM, interrupt)
    signal.setitimer(signal.ITIMER_REAL, 0.2)
try:
{job}
except KeyboardInterrupt:
    print("interrupted", flush=True)
else:
    print("finished", flush=True)
{after}
"""


def outcome_of_interrupted(setup, job, after="", by_timer=True):
    """What a child prints after `job` (statements) met a SIGINT-like interrupt: its timer's
    handler raising KeyboardInterrupt, or with by_timer=False a real SIGINT sent by this process
    0.2 s after the child said it was ready. The lines after "ready"; `after` may print more."""
    code = _CHILD.format(setup=textwrap.dedent(setup), by_timer=by_timer,
                         job=textwrap.indent(textwrap.dedent(job), "    "),
                         after=textwrap.dedent(after))
    child = subprocess.Popen([sys.executable, "-c", code], stdout=subprocess.PIPE, text=True)
    try:
        assert child.stdout.readline() == "ready\n"
        if not by_timer:
            time.sleep(0.2)
            child.send_signal(subprocess.signal.SIGINT)
        out, _ = child.communicate(timeout=GUARD)
    finally:
        child.kill()
        child.wait()
    assert child.returncode == 0
    return out.splitlines()


_PEAK = """\
import sys
{setup}
def peak_kib():
    with open("/proc/self/status") as status:
        return next(int(l.split()[1]) for l in status if l.startswith("VmHWM:"))
before = peak_kib()
try:
{job}
except BaseException as error:
    print(type(error).__name__)
else:
    print("finished")
print((peak_kib() - before) // 1024)
"""


def outcome_and_peak_growth(setup, job):
    """The exception name that `job` ended with in a fresh interpreter (or "finished") and how
    many MiB its peak resident memory grew by meanwhile: a table that was being filled shows."""
    code = _PEAK.format(setup=textwrap.dedent(setup),
                        job=textwrap.indent(textwrap.dedent(job), "    "))
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                         timeout=GUARD, check=True).stdout.split()
    return out[0], int(out[1])
