"""The curves of the reference, drawn at build time from quorin_np.

A panel draws one function's curves on a matplotlib axes: over a sensible range of one
argument, with the region the function refuses shaded, computed by calling the function (never
stored). Panels written by hand live in the modules of this package, one module per subject;
every other function whose arguments are numbers gets a panel derived from its first example:
the first argument swept around the example's value, the others held at theirs.

`draw(data, folder)` writes one SVG per function with a panel and one per group (its panels
side by side), and returns what it drew.
"""

from __future__ import annotations

import ast
import importlib
import pathlib
import pkgutil
import re
from collections.abc import Callable, Sequence
from dataclasses import dataclass

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import quorin_np  # noqa: E402

REFUSED = "#d9d9d9"  # the shade of a refused region


@dataclass
class Panel:
    draw: Callable  # (axes) -> None
    caption: str


PANELS: dict[str, Panel] = {}
PARAMS: dict[str, list[str]] = {}  # parameter names in order, by function, set by draw()


def panel(name: str, caption: str) -> Callable:
    """Registers the decorated `draw(axes)` as the panel of the function `name`."""
    def register(draw: Callable) -> Callable:
        PANELS[name] = Panel(draw, caption)
        return draw
    return register


# ---------------------------------------------------------------------------------------------
# Computing curves

def arguments(name: str, values: dict) -> list:
    """The values in parameter order, as many as the ufunc takes (a ufunc keeps the defaults
    of trailing parameters)."""
    params = PARAMS[name][:getattr(getattr(quorin_np, name), "nin", None)]
    missing = [p for p in params if p not in values]
    if missing:
        raise TypeError(f"{name}: no value for {missing}")
    return [values[p] for p in params]


def evaluate(name: str, **values) -> tuple[np.ndarray, np.ndarray]:
    """The function's values over broadcast arguments (NaN where refused) and the mask of the
    elements it refuses, found by asking it about each element in the default mode."""
    ufunc = getattr(quorin_np, name)
    args = np.broadcast_arrays(*(np.asarray(a) for a in arguments(name, values)))
    with quorin_np.errstate(refused="nan"):
        result = ufunc(*args)
    refused = np.zeros(args[0].shape, dtype=bool)
    for index in np.ndindex(refused.shape):
        try:
            ufunc(*(a[index] for a in args))
        except ValueError:
            refused[index] = True
    return result, refused


def shade_refused(ax, x: np.ndarray, refused: np.ndarray, label: str = "refused") -> None:
    """Shades the spans of x where the function refuses, one legend entry for all."""
    if not refused.any():
        return
    edges = np.flatnonzero(np.diff(np.r_[0, refused.astype(int), 0]))
    step = (x[-1] - x[0]) / max(len(x) - 1, 1)
    for start, stop in zip(edges[::2], edges[1::2]):
        ax.axvspan(x[start] - step / 2, x[stop - 1] + step / 2, color=REFUSED, zorder=0,
                   label=label, lw=0)
        label = "_nolegend_"


def curves(ax, name: str, x: tuple[str, np.ndarray], vary: tuple[str, Sequence] | None = None,
           fmt: str = "{}", **fixed) -> None:
    """Plots `name` against the argument x[0] over x[1], one curve per value of `vary`, the
    other arguments `fixed`; shades where the function refuses for every curve."""
    xname, xs = x
    refused_all = np.ones(len(xs), dtype=bool)
    for value in (vary[1] if vary else [None]):
        values = dict(fixed, **{xname: xs})
        if vary:
            values[vary[0]] = value
        y, refused = evaluate(name, **values)
        refused_all &= refused
        ax.plot(xs, y, label=fmt.format(value) if vary else None)
    shade_refused(ax, xs, refused_all)
    ax.set_xlabel(xname)
    ax.set_ylabel(name)
    ax.set_xlim(xs[0], xs[-1])
    if vary or refused_all.any():
        ax.legend(fontsize="small", title=vary[0] if vary else None, title_fontsize="small")


# ---------------------------------------------------------------------------------------------
# Panels derived from an entry's first example

def number(text: str) -> float | str:
    try:
        return float(text)
    except ValueError:
        return text


def first_call(f: dict) -> ast.Call | None:
    """The first call of the function in the entry's examples, however it is wrapped
    (`round(float(quorin_np.meld(...)), 1)`)."""
    for line in f["examples"].split("\n"):
        if not line.startswith(">>> "):
            continue
        try:
            tree = ast.parse(line[4:], mode="eval")
        except SyntaxError:
            continue
        for node in ast.walk(tree):
            if isinstance(node, ast.Call) and isinstance(node.func, ast.Attribute) \
                    and node.func.attr == f["name"] and isinstance(node.func.value, ast.Name) \
                    and node.func.value.id in ("quorin", "quorin_np"):
                return node
    return None


def example_values(f: dict) -> dict | None:
    """The arguments of the entry's first example call, by parameter name, if all are numbers
    (a bool counts as 0 or 1)."""
    call = first_call(f)
    if call is None:
        return None
    plain = {"__builtins__": {}}
    try:
        numbers = [eval(compile(ast.Expression(a), "<example>", "eval"), plain)
                   for a in call.args]
        keywords = {k.arg: eval(compile(ast.Expression(k.value), "<example>", "eval"), plain)
                    for k in call.keywords}
    except Exception:  # an argument that is not a plain number: no derived panel
        return None
    params = f["params"] + f.get("keywords", [])
    values = {p[0]: number(p[3]) for p in params if len(p) > 3}  # the defaults, as written
    values.update(zip((p[0] for p in params), numbers))
    values.update(keywords)
    if not all(isinstance(v, (int, float)) for v in values.values()):
        return None
    return {k: float(v) if isinstance(v, bool) else v for k, v in values.items()}


def derived(f: dict) -> Panel | None:
    """A panel sweeping the first argument around its value in the entry's first example."""
    params = f["params"] + f.get("keywords", [])
    if not params or any(p[1] not in ("real", "count32", "count64") for p in params):
        return None
    if f.get("result", "real") != "real":
        return None
    values = example_values(f)
    if values is None or any(p[0] not in values for p in params):
        return None
    xname, kind = params[0][0], params[0][1]
    v = values[xname]
    if kind != "real":
        xs = np.arange(0, max(2 * int(v), 10) + 1, dtype=np.int64)
    elif v == 0:
        xs = np.linspace(-1.0, 1.0, 401)
    else:
        lo, hi = sorted((-0.25 * v, 3.0 * v))
        xs = np.linspace(lo, hi, 401)
    fixed = {k: val for k, val in values.items() if k != xname}

    def draw(ax):
        curves(ax, f["name"], (xname, xs), **fixed)
        ax.plot([v], [getattr(quorin_np, f["name"])(*arguments(f["name"], values))], "o",
                color="C1", label="the example")
        ax.legend(fontsize="small")

    others = ", ".join(f"{k} = {val:g}" for k, val in fixed.items())
    caption = (f"`{f['name']}` against `{xname}`" + (f", with {others}" if others else "") +
               " as in the first example (the dot)")
    return Panel(draw, caption)


# ---------------------------------------------------------------------------------------------
# Drawing

def load_panels() -> None:
    for module in pkgutil.iter_modules(__path__):
        importlib.import_module(f"{__name__}.{module.name}")


def style() -> None:
    plt.rcParams.update({
        "figure.dpi": 96, "font.size": 9, "axes.grid": True, "grid.alpha": 0.3,
        "axes.spines.top": False, "axes.spines.right": False, "svg.hashsalt": "quorin",
    })


def save(fig, path: pathlib.Path) -> None:
    path.parent.mkdir(parents=True, exist_ok=True)
    fig.tight_layout()  # once; a constrained layout redraws the figure and doubles the build
    fig.savefig(path, format="svg", metadata={"Date": None})
    plt.close(fig)


def draw(data: dict, folder: pathlib.Path) -> dict[str, tuple[str, str]]:
    """Draws every panel into `folder`: `<name>.svg` per function and `<group slug>.svg` per
    group. Returns {name or slug: (file name, caption)}."""
    load_panels()
    style()
    groups = data["group"] + data["array_group"]
    for f in data["functions"] + data["array_functions"]:
        PARAMS[f["name"]] = [p[0] for p in f["params"] + f.get("keywords", [])]
    drawn: dict[str, tuple[str, str]] = {}
    for group in groups:
        chosen = []
        for f in group["function"]:
            if not hasattr(quorin_np, f["name"]):
                continue  # documented before it is built
            p = PANELS.get(f["name"]) or derived(f)
            if p is None:
                continue
            chosen.append((f["name"], p))
            fig, ax = plt.subplots(figsize=(6.0, 3.4))
            p.draw(ax)
            ax.set_title(f["name"], loc="left", fontsize="medium")
            save(fig, folder / f"{f['name']}.svg")
            drawn[f["name"]] = (f"{f['name']}.svg", p.caption)
        if chosen:
            key = re.sub(r"[^a-z0-9]+", "-", group["title"].lower()).strip("-")
            cols = min(3, len(chosen))
            rows = -(-len(chosen) // cols)
            fig, axes = plt.subplots(rows, cols, figsize=(3.4 * cols, 2.6 * rows), squeeze=False)
            for ax, (name, p) in zip(axes.flat, chosen):
                p.draw(ax)
                ax.set_title(name, loc="left", fontsize="medium")
            for ax in axes.flat[len(chosen):]:
                ax.set_visible(False)
            save(fig, folder / f"{key}.svg")
            drawn[key] = (f"{key}.svg", f"The curves of the group {group['title']}, refused "
                                        "regions shaded; each function's page has its own.")
    return drawn
