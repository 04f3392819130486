"""The site's function reference, as MyST pages written from docs/functions.toml.

One page per function (`reference/<name>.md`), one per group (`reference/group-<group>.md`, its
functions and the figure of their curves) and the reference's front page (`functions.md`: the
task index, how to read an entry, the groups). A function's page holds its entry in the layout
of the scientific Python references: the signature as a Python object (so that search and
cross-references know it), parameters, return value and exceptions as fields, then the formula
typeset and in evaluation order, the checks with their messages, notes, examples and the recipe,
and the array form in quorin_np beside the scalar function.

Everything comes from the loaded source of scripts/gen-reference, so a function added there
gets its page without anything written here. Needs only the standard library.
"""

from __future__ import annotations

import importlib.machinery
import importlib.util
import pathlib
import re
from dataclasses import dataclass

import formula_tex

ROOT = pathlib.Path(__file__).resolve().parents[2]
GENERATED = "% Generated at build time from docs/functions.toml by docs/_ext/site_pages.py."


def generator():
    """scripts/gen-reference as a module: the loader and the wording of the source."""
    path = ROOT / "scripts" / "gen-reference"
    loader = importlib.machinery.SourceFileLoader("gen_reference", str(path))
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
    loader.exec_module(module)
    return module


GEN = generator()

def type_of(kind: str, arrays: bool) -> str:
    """The Python type of an argument kind, as the docstrings name it (without their notes)."""
    scalar, array = GEN.KINDS[kind][1:3]
    return array if arrays else scalar.split(", ")[0]


# The generalised ufuncs' layouts, named in their array form.
LAYOUTS = {"shannon_entropy_dist": "(n)->()", "pairwise_potential": "(n)->()",
           "tm_score": "(n),(),()->()", "protein_rmsd": "(n,3),(m,3)->()"}


@dataclass
class Figure:
    path: str  # relative to the page
    alt: str
    caption: str


def slug(title: str) -> str:
    return re.sub(r"[^a-z0-9]+", "-", title.lower()).strip("-")


def demoted(markdown: str, level: int) -> str:
    """Markdown whose headings are shifted so that the first one has `level`."""
    levels = [len(m[1]) for m in re.finditer(r"^(#+) ", markdown, re.M)]
    if not levels:
        return markdown
    shift = level - min(levels)
    return re.sub(r"^(#+) ", lambda m: "#" * (len(m[1]) + shift) + " ", markdown, flags=re.M)


def sessions(markdown: str) -> str:
    """```python blocks of interpreter sessions marked as such, for their highlighting."""
    return re.sub(r"^```python$", "```pycon", markdown, flags=re.M)


def field(text: str) -> str:
    return " ".join(text.split())


def rubric(title: str) -> list[str]:
    return [f"```{{rubric}} {title}", "```", ""]


def figure(fig: Figure | None) -> list[str]:
    if fig is None:
        return []
    return [f"```{{figure}} {fig.path}", f":alt: {field(fig.alt)}", ":class: quorin-curves", "",
            fig.caption, "```", ""]


def math(f: dict) -> list[str]:
    names = frozenset(p[0] for p in f["params"] + f.get("keywords", []))
    equations = formula_tex.formula(f["formula"], names)
    return ["```{math}", *"\n\n".join(equations).split("\n"), "```", ""]


def fields(f: dict, arrays: bool) -> list[str]:
    out = []
    for p in f["params"] + f.get("keywords", []):
        default = f" Default {p[3]}." if len(p) > 3 else ""
        out += [f":param {p[0]}: {field(GEN.sentence(p[2]))}{default}",
                f":type {p[0]}: {type_of(p[1], arrays)}"]
    result = f.get("result", "real")
    out += [f":returns: {field(GEN.sentence(f['returns']))}",
            f":rtype: {GEN.RESULTS[result][2 if arrays else 1]}"]
    if f.get("checks"):
        out.append(":raises ValueError: when a check below fails, with the message shown there.")
    return out + [""]


def checks(f: dict) -> list[str]:
    out = []
    if f.get("checks"):
        out += rubric("Checks")
        out += ["In this order; the first that holds decides and nothing is computed.", "",
                "| Fails when | Message |", "|---|---|"]
        out += [f"| {when} | `{message}` |" for when, message in f["checks"]]
        out.append("")
    for key in ("checks_note", "notes"):
        if text := f.get(key, "").strip("\n"):
            out += [text, ""]
    return out


def entry(f: dict, module: str, arrays: bool) -> list[str]:
    """One function's entry as a `py:function` whose body has the sections of a reference."""
    lead = f"Contract `{f['contract']}`. " if "contract" in f else ""
    about = f.get("about", "").strip("\n")
    body = [f":module: {module}", "", lead + f["summary"] + (" " + about if about else ""), ""]
    body += fields(f, arrays)
    body += rubric("Formula") + math(f)
    body += ["Evaluated in this order, in IEEE-754 double precision:", "", "```text",
             f["formula"].strip("\n"), "```", ""]
    body += checks(f)
    body += rubric("Examples") + [sessions(f["examples"].strip("\n")), ""]
    if source := f.get("source", "").strip("\n"):
        body += rubric("References") + [source, ""]
    return ["````{py:function} " + f["name"] + GEN.signature(f), *body, "````", ""]


def array_form(f: dict) -> list[str]:
    """The array form of a contract: the same entry named in quorin_np, in a few sentences."""
    name = f["name"]
    kinds = {p[1] for p in f["params"]}
    if "text" in kinds:
        what = ("a function over collections of texts: each argument is a `str` or a collection "
                "of them (a list or tuple, a NumPy array of `StringDType` or objects, a pandas "
                "Series, which gives a Series back), broadcast against each other")
    elif name in LAYOUTS:
        what = (f"a generalised ufunc of layout `{LAYOUTS[name]}`: the list is the last axis "
                "(the last two for coordinates) and every other axis broadcasts")
    else:
        what = ("a NumPy ufunc: its arguments broadcast as NumPy arrays do, with `out=`, "
                "`where=` and the dispatch of pandas, xarray, polars and Dask collections")
    refused = ("-1 (the result stays int64)" if f.get("result", "real") == "int" else "NaN")
    keywords = f.get("array_keywords", [])
    options = ("" if not keywords else " It also takes the keywords " + ", ".join(
        f"`{k[0]}` ({k[2]})" for k in keywords) + ".")
    return ["## Array form", "",
            f"````{{py:function}} {name}{GEN.signature(dict(f, keywords=keywords))}",
            ":module: quorin_np", "",
            f"`quorin_np.{name}` is {what}. Every element is computed exactly as "
            f"{{py:func}}`quorin.{name}` computes it, bit for bit, with the same checks. A refused "
            "element raises the `ValueError` above with a note naming its index, unless "
            f"`quorin_np.errstate(refused=...)` asks for {refused} or a warning instead; the "
            f"[array guide](../arrays.md) has the details.{options}", "", "````", ""]


def search_words(task: dict) -> list[str]:
    """The terms people search for, from the task index, as entries of the site's index."""
    words = re.split(r"[,;] *", task["words"])
    return [w.strip() for w in words if w.strip() and not w.strip().startswith("not ")]


def function_page(f: dict, group: dict, task: dict, fig: Figure | None) -> str:
    name = f["name"]
    array_only = f.get("array_only", False)
    module = "quorin_np" if array_only else "quorin"
    entries = "; ".join(w.replace(";", ",") for w in search_words(task))
    out = [GENERATED, "", f"# `{name}`: {task['do']}", "",
           *(f"```{{index}} !{w.replace(':', ' ')}\n```\n" for w in search_words(task)),
           f["summary"], "", f"Searched for as: {entries}.", ""]
    if array_only:
        out += [f"A function of `quorin_np` alone (there is no `quorin.{name}`), in the group "
                f"[{group['title']}](group-{slug(group['title'])}.md).", ""]
    else:
        out += [f"In the group [{group['title']}](group-{slug(group['title'])}.md); its array form "
                f"is {{py:func}}`quorin_np.{name}`, below.", ""]
    out += figure(fig)
    out += entry(f, module, arrays=array_only)
    if recipe := f.get("recipe", "").strip("\n"):
        out += [sessions(demoted(recipe, 2)), ""]
    if not array_only:
        out += array_form(f)
    return "\n".join(out).rstrip("\n") + "\n"


def group_page(group: dict, fig: Figure | None) -> str:
    out = [GENERATED, "", f"# {group['title']}", ""]
    if intro := group.get("intro", "").strip("\n"):
        out += [intro, ""]
    out += figure(fig)
    out += ["| Function | What it computes |", "|---|---|"]
    for f in group["function"]:
        module = "quorin_np." if f.get("array_only") else ""
        out.append(f"| [`{module}{f['name']}`]({f['name']}.md) | {f['summary']} |")
    out += ["", "```{toctree}", ":hidden:", "",
            *(f"{f['name']} <{f['name']}>" for f in group["function"]), "```"]
    return "\n".join(out) + "\n"


def index_page(data: dict) -> str:
    """The reference's front page: what it holds, the task index, how to read an entry."""
    out = [GENERATED, "", f"# {data['title']}", "", data["intro"].strip("\n"), "",
           "## Find a function by task", "", data["task_intro"].strip("\n"), ""]
    for task in data["task"]:
        links = ", ".join(f"[`{n}`](reference/{n}.md)" for n in task["use"])
        out.append(f"- **{task['do']}** ({task['words']}): {links}")
    out += ["", sessions(demoted(data["reading"].strip("\n"), 2)), "", "## The groups", ""]
    for group in data["group"] + data["array_group"]:
        names = ", ".join(f"`{f['name']}`" for f in group["function"])
        out.append(f"- [{group['title']}](reference/group-{slug(group['title'])}.md): {names}")
    out += ["", "```{toctree}", ":hidden:", "",
            *(f"reference/group-{slug(g['title'])}" for g in data["group"] + data["array_group"]),
            "```"]
    return "\n".join(out) + "\n"


def linked(markdown: str, names: set[str], folder: str) -> str:
    """Links to a function's anchor in the one-page reference (`(#bmi)`) as links to its page."""
    return re.sub(r"\]\(#(\w+)\)", lambda m: f"]({folder}{m[1]}.md)" if m[1] in names else m[0],
                  markdown)


def pages(data: dict, figures: dict[str, Figure]) -> dict[str, str]:
    """Every page of the reference by its path in the site's sources. `figures` holds the
    figures drawn, by function name and by group slug."""
    out = {"functions.md": index_page(data)}
    tasks = {}
    for task in data["task"]:
        for name in task["use"]:
            tasks.setdefault(name, task)
    for group in data["group"] + data["array_group"]:
        key = slug(group["title"])
        out[f"reference/group-{key}.md"] = group_page(group, figures.get(key))
        for f in group["function"]:
            out[f"reference/{f['name']}.md"] = function_page(f, group, tasks[f["name"]],
                                                             figures.get(f["name"]))
    names = set(tasks)
    return {path: linked(text, names, "" if path.startswith("reference/") else "reference/")
            for path, text in out.items()}


def load() -> dict:
    return GEN.load()
