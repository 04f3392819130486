"""Sphinx extension that assembles the site's sources and renders its mathematics.

The site is built from a folder of its own (the source folder Sphinx is given, under build/)
rather than from docs/ itself, for two reasons: docs/index.md is also the package's description
on the package index, where a toctree would show as a code block, and docs/functions.md is the
reference on one page for reading in the repository, where the site has a page per function.
So before Sphinx reads anything this extension writes into the source folder:

- every page of docs/ (Markdown and reStructuredText, with the files they show or link to),
  docs/index.md followed by the site's navigation (`site_navigation` in conf.py, pages that exist only);
- the function reference written from docs/functions.toml (see site_pages), in place of the
  one-page docs/functions.md, so that links to `functions.md` lead to its front page;
- the figures of the reference, computed by docs/figures from quorin_np.

Files are rewritten only when their content changes, so Sphinx rebuilds only what changed.
Mathematics is rendered as MathML by docutils at build time: browsers show it natively, with
no script and nothing fetched, from disk as over http.
"""

from __future__ import annotations

import html
import pathlib
import sys

from docutils import nodes
from docutils.utils.math import MathError
from docutils.utils.math.latex2mathml import tex2mathml

HERE = pathlib.Path(__file__).resolve().parent
DOCS = HERE.parent
sys.path[:0] = [str(HERE), str(DOCS)]

import site_pages  # noqa: E402

# What the site does not take from docs/ as it is (pages, their images and the files they link
# to): the site's machinery, the source of the reference and the one-page reference itself.
NOT_PAGES = {"functions.md", "functions.toml", "conf.py"}
MACHINERY = {"_ext", "_static", "figures", "gallery", "__pycache__"}
# Folders of the source folder that others write (the gallery's pages), left alone.
FOREIGN = {"gallery"}


def write(path: pathlib.Path, data: bytes) -> None:
    if path.exists() and path.read_bytes() == data:
        return
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def navigation(app, present: set[str]) -> str:
    pages = [p for p in app.config.site_navigation if p.split(" <")[-1].rstrip(">") in present]
    return "\n```{toctree}\n:hidden:\n:maxdepth: 2\n\n" + "\n".join(pages) + "\n```\n"


def assemble(app) -> None:
    srcdir = pathlib.Path(app.srcdir)
    wanted: dict[str, bytes] = {}
    for path in sorted(DOCS.rglob("*")):
        rel = path.relative_to(DOCS)
        if path.is_dir() or rel.parts[0] in MACHINERY or str(rel) in NOT_PAGES \
                or "__pycache__" in rel.parts:
            continue
        wanted[rel.as_posix()] = path.read_bytes()

    data = site_pages.load()
    folder = srcdir / "reference" / "figures"
    figures = {}
    import figures as drawing  # matplotlib and quorin_np: only when building

    for key, (file, caption) in drawing.draw(data, folder).items():
        figures[key] = site_pages.Figure(f"figures/{file}", caption, caption)
        wanted[f"reference/figures/{file}"] = (folder / file).read_bytes()
    for rel, text in site_pages.pages(data, figures).items():
        wanted[rel] = text.encode()

    documents = {rel.rsplit(".", 1)[0] for rel in wanted if rel.endswith((".md", ".rst"))}
    documents |= {f"{d}/index" for d in FOREIGN}
    index = wanted["index.md"].decode() + navigation(app, documents)
    wanted["index.md"] = index.encode()

    for rel, blob in wanted.items():
        write(srcdir / rel, blob)
    for path in sorted(srcdir.rglob("*"), reverse=True):  # what no longer comes from docs/
        rel = path.relative_to(srcdir)
        if rel.parts[0] in FOREIGN or rel.name.startswith("sg_"):
            continue
        if path.is_file() and rel.as_posix() not in wanted:
            path.unlink()
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()


# ---------------------------------------------------------------------------------------------
# MathML

def mathml(latex: str, block: bool) -> str:
    """The MathML of an equation; one that docutils cannot read is shown as its text (the
    tests check that every formula of the reference can be read)."""
    try:
        return tex2mathml(latex, as_block=block)
    except MathError:
        shown = html.escape(latex)
        return f'<math display="{"block" if block else "inline"}"><mtext>{shown}</mtext></math>'


def visit_math(self, node) -> None:
    self.body.append(mathml(node.astext(), block=False))
    raise nodes.SkipNode


def visit_displaymath(self, node) -> None:
    self.body.append(self.starttag(node, "div", CLASS="quorin-math"))
    for part in node.astext().split("\n\n"):  # one equation a line
        if part.strip():
            self.body.append(f"<div>{mathml(part, block=True)}</div>")
    self.body.append("</div>\n")
    raise nodes.SkipNode


def setup(app):
    app.add_config_value("site_navigation", [], "env")
    app.connect("builder-inited", assemble, priority=100)
    app.add_html_math_renderer("mathml", (visit_math, None), (visit_displaymath, None))
    return {"parallel_read_safe": True, "parallel_write_safe": True}
