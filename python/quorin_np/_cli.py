"""The ``quorin`` command: quorin_np's functions from the shell.

    quorin fold [FILE ...]          fold every record of FASTA files
    quorin apply FUNCTION [FILE]    add the column FUNCTION to every row of a table
    quorin list                     the functions apply can use
    quorin help FUNCTION            a function's reference text

The functions, their parameters and summaries come from ``quorin_np.catalogue``, the records
that the extension makes from the rows it registers; the command keeps no list of its own.
Exit statuses: 0 success, 1 data the contracts refuse, 2 a command that cannot run as asked
(usage errors, unreadable files, a missing extra), 130 stopped by Ctrl-C.
"""

from __future__ import annotations

import argparse
import os
import signal
import sys
import tempfile
import textwrap
from collections.abc import Callable, Iterator, Mapping, Sequence
from contextlib import contextmanager
from typing import IO, Any, NoReturn

PROG = "quorin"
OK, REFUSED, USAGE, INTERRUPTED = 0, 1, 2, 130
COMMANDS = ("fold", "apply", "list", "help")


class UsageError(Exception):
    """The command cannot run as asked: exit status 2, one line on standard error."""


class DataError(Exception):
    """Data the contracts refuse (or that cannot be read as the format says): exit status 1."""


class Stopped(BaseException):
    """SIGTERM: stop as Ctrl-C does (a BaseException, so that no handler of errors takes it)."""


# ---- the file written: beside OUT, renamed at the end -----------------------------------------

class Destination:
    """Standard output, or a file written beside OUT and renamed to OUT by `commit`; whatever
    ends the run before that removes it, so a failed or stopped run leaves OUT as it was."""

    def __init__(self, path: str | None) -> None:
        self.path = path
        self._temp: str | None = None
        self.stream: IO[bytes]
        if path is None or path == "-":
            self.path = None
            self.stream = sys.stdout.buffer
            return
        folder = os.path.dirname(os.path.abspath(path))
        if not os.path.isdir(folder):
            raise UsageError(f"cannot write {path}: no folder {folder}")
        if os.path.isdir(path):
            raise UsageError(f"cannot write {path}: it is a folder")
        if os.path.exists(path) and not os.path.isfile(path):
            # A device or a pipe (/dev/null, /dev/stdout) is written as it is: renaming a file
            # onto it would replace it.
            try:
                self.stream = open(path, "wb")
            except OSError as error:
                raise UsageError(f"cannot write {path}: {error.strerror}") from None
            return
        try:
            fd, self._temp = tempfile.mkstemp(dir=folder, prefix=f".{os.path.basename(path)}.",
                                              suffix=".part")
        except OSError as error:
            raise UsageError(f"cannot write {path}: {error.strerror}") from None
        self.stream = os.fdopen(fd, "wb")

    def commit(self) -> None:
        if self._temp is None:
            self.stream.flush()
            if self.path is not None:
                self.stream.close()
            return
        assert self.path is not None
        self.stream.close()
        # mkstemp makes the file private; give it the mode OUT has, or a new file would get.
        try:
            mode = os.stat(self.path).st_mode & 0o7777
        except FileNotFoundError:
            umask = os.umask(0)
            os.umask(umask)
            mode = 0o666 & ~umask
        os.chmod(self._temp, mode)
        os.replace(self._temp, self.path)
        self._temp = None

    def discard(self) -> None:
        if self._temp is None and self.path is not None and not self.stream.closed:
            try:  # a device written as it is
                self.stream.close()
            except OSError:
                pass
        if self._temp is not None:
            try:
                self.stream.close()
            except OSError:
                pass
            try:
                os.unlink(self._temp)
            except FileNotFoundError:
                pass
            self._temp = None


@contextmanager
def destination(path: str | None) -> Iterator[Destination]:
    out = Destination(path)
    try:
        yield out
    finally:
        out.discard()


# ---- progress -----------------------------------------------------------------------------

class Progress:
    """A progress bar on standard error (tqdm), or nothing at all."""

    def __init__(self, shown: bool, total: float | None, unit: str) -> None:
        self._bar: Any = None
        if not shown:
            return
        from tqdm import tqdm

        scale = unit == "B"
        self._bar = tqdm(total=total, unit=unit, unit_scale=scale, unit_divisor=1024 if scale else 1000,
                         file=sys.stderr, dynamic_ncols=True, mininterval=0.25, smoothing=0.1)

    def update_to(self, done: float, note: str | None = None) -> None:
        if self._bar is not None:
            if note is not None:
                self._bar.set_postfix_str(note, refresh=False)
            self._bar.update(done - self._bar.n)

    def write(self, line: str) -> None:
        """A line on standard error, above the bar."""
        if self._bar is not None:
            self._bar.write(line, file=sys.stderr)
        else:
            sys.stderr.write(line + "\n")
            sys.stderr.flush()

    def close(self) -> None:
        if self._bar is not None:
            self._bar.close()
            self._bar = None


def progress_shown(choice: bool | None) -> bool:
    """--progress, --no-progress, or by default whether standard error is a terminal."""
    shown = sys.stderr.isatty() if choice is None else choice
    if shown:
        try:
            import tqdm  # noqa: F401
        except ImportError:
            if choice:
                raise UsageError("--progress needs tqdm: pip install 'quorin[tables]'") from None
            return False
    return shown


# ---- the parser ---------------------------------------------------------------------------

class Parser(argparse.ArgumentParser):
    """argparse with usage errors on one line: the error and where to read more."""

    def error(self, message: str) -> NoReturn:
        raise UsageError(f"{message} (see {self.prog} --help)")


Formatter = argparse.RawDescriptionHelpFormatter


def add_progress(parser: argparse.ArgumentParser) -> None:
    group = parser.add_mutually_exclusive_group()
    group.add_argument("--progress", dest="progress", action="store_true", default=None,
                       help="show a progress bar on standard error (default: when standard "
                            "error is a terminal)")
    group.add_argument("--no-progress", dest="progress", action="store_false",
                       help="never show a progress bar")


def dedent(text: str) -> str:
    return textwrap.dedent(text).strip("\n")


MAIN_HELP = dedent("""
    quorin's functions from the shell: fold the records of FASTA files, add a computed column to
    every row of a CSV, TSV or Parquet table, streaming, on one machine or a Dask cluster.

    Options may stand before or after the files. With -o OUT, a run that fails or is stopped
    leaves OUT as it was (the output is written beside it and renamed at the end).
    """)
MAIN_EPILOG = dedent("""
    examples:
      quorin fold transcripts.fa -o folds.txt
      quorin apply bmi patients.csv --map weight_kg=mass -o with_bmi.csv
      quorin list
      quorin help bmi

    exit status: 0 success, 1 data the functions refuse (a record, a row), 2 a command that
    cannot run as asked (unknown function, column or option, an unreadable file, a missing
    extra), 130 stopped by Ctrl-C.
    """)


def build_parser() -> tuple[Parser, Mapping[str, argparse.ArgumentParser]]:
    """The command's parser and its subcommands' parsers by name."""
    from . import _apply, _fold

    parser = Parser(prog=PROG, description=MAIN_HELP, epilog=MAIN_EPILOG, formatter_class=Formatter)
    commands = parser.add_subparsers(dest="command", metavar="COMMAND", parser_class=Parser)
    commands.required = True
    _fold.add_parser(commands)
    _apply.add_parser(commands)
    listing = commands.add_parser(
        "list", help="every function apply can use: name, parameters, summary",
        description="Every function `quorin apply` can use, one line each: its name, its "
                    "parameters (the columns it reads) and its summary.",
        formatter_class=Formatter)
    listing.set_defaults(run=run_list)
    helping = commands.add_parser(
        "help", help="the reference text of a function (or the help of a command)",
        description="Prints the reference text of FUNCTION: what it computes, its parameters "
                    "and units, formula, checks and messages. `quorin help fold` (or apply, "
                    "list) prints that command's help.",
        formatter_class=Formatter)
    helping.add_argument("function", metavar="FUNCTION", nargs="?",
                         help="a function of quorin_np, or a command")
    helping.set_defaults(run=lambda args: run_help(args, parser, commands.choices))
    return parser, commands.choices


def parse(arguments: list[str]) -> argparse.Namespace:
    """The subcommand's own parser reads everything after the command, options and files in
    any order (argparse mixes them only without subparsers)."""
    parser, commands = build_parser()
    if not arguments or arguments[0].startswith("-"):
        parser.parse_args(arguments)  # --help exits; anything else is an error
        raise UsageError(f"choose a command: {', '.join(commands)} (see {PROG} --help)")
    command, rest = arguments[0], arguments[1:]
    if command not in commands:
        raise UsageError(f"unknown command {command!r}: choose from {', '.join(commands)} "
                         f"(see {PROG} --help)")
    args = commands[command].parse_intermixed_args(rest)
    args.command = command
    return args


# ---- list and help ------------------------------------------------------------------------

def run_list(args: argparse.Namespace) -> int:
    from ._functions import usable

    rows = [(f"{info.name}({', '.join(info.params)})", info.summary) for info in usable()]
    width = min(max(len(call) for call, _ in rows), 44)
    write_text("".join(f"{call:<{width}}  {summary}\n" for call, summary in rows))
    return OK


def run_help(args: argparse.Namespace, parser: Parser,
             commands: Mapping[str, argparse.ArgumentParser]) -> int:
    from ._functions import reference_text

    if args.function is None:
        write_text(parser.format_help())
    elif args.function in commands:
        write_text(commands[args.function].format_help())
    else:
        write_text(reference_text(args.function))
    return OK


def write_text(text: str) -> None:
    sys.stdout.write(text if text.endswith("\n") else text + "\n")
    sys.stdout.flush()


# ---- running ------------------------------------------------------------------------------

def _stop_on_sigterm() -> None:
    def stop(signum: int, frame: Any) -> None:
        raise Stopped

    try:
        signal.signal(signal.SIGTERM, stop)
    except ValueError:  # not the main thread (main() called from a thread): keep the default
        pass


def _say(command: str, message: str) -> None:
    sys.stderr.write(f"{PROG} {command}: {message}\n" if command else f"{PROG}: {message}\n")
    sys.stderr.flush()


def _leave(status: int) -> NoReturn:
    """Ends the process at once: folds may still run on worker threads, which would otherwise
    be waited for, and nothing is left to clean up."""
    for stream in (sys.stdout, sys.stderr):
        try:
            stream.flush()
        except (OSError, ValueError):
            pass
    os._exit(status)


def main(argv: Sequence[str] | None = None) -> int:
    import warnings

    warnings.simplefilter("ignore")  # a successful run prints nothing but its progress bar
    arguments = list(sys.argv[1:] if argv is None else argv)
    command = arguments[0] if arguments and arguments[0] in COMMANDS else ""
    _stop_on_sigterm()
    try:
        args = parse(arguments)
        run: Callable[[argparse.Namespace], int] = args.run
        return run(args)
    except UsageError as error:
        _say(command, str(error))
        return USAGE
    except DataError as error:
        _say(command, str(error))
        return REFUSED
    except KeyboardInterrupt:
        _say(command, "stopped")
        _leave(INTERRUPTED)
    except Stopped:
        _say(command, "stopped")
        _leave(128 + signal.SIGTERM)
    except BrokenPipeError:  # the reader of standard output went away (`quorin list | head`)
        try:
            os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        except OSError:
            pass
        _leave(128 + signal.SIGPIPE)
    except OSError as error:  # a file that cannot be read or written midway (a full disk, say)
        where = f"{error.filename}: " if error.filename else ""
        _say(command, f"{where}{error.strerror or error}")
        return USAGE


def console() -> NoReturn:
    """The console script's entry point. The process ends as soon as the command returns, its
    output flushed: pyarrow's reader threads may still be winding down, and one that calls into a
    finishing interpreter is ended by it in a way that aborts the process."""
    _leave(main())
