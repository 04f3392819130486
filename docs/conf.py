# The documentation site: `scripts/docs` builds it into build/site, every warning an error.
# Sphinx reads the sources that docs/_ext/quorin_site.py assembles under build/site-src from
# docs/ (pages, the reference written from functions.toml, the figures); this file is its
# configuration, read from docs/.
import pathlib
import sys

import quorin_np

DOCS = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(DOCS / "_ext"))

project = "quorin"
author = "the quorin developers"
copyright = "the quorin developers"
release = version = quorin_np.__version__

extensions = [
    "myst_parser",
    "sphinx_gallery.gen_gallery",
    "quorin_site",
]
root_doc = "index"
source_suffix = {".rst": "restructuredtext", ".md": "markdown"}
exclude_patterns = ["gallery/*.ipynb", "gallery/*.py", "gallery/*.zip"]

# The site's navigation after the front page, in order. A page joins it with one line here;
# a line whose page does not exist yet is left out until it does.
site_navigation = [
    "Arrays <arrays>",
    "From the shell <shell>",
    "Function reference <functions>",
    "Gallery <gallery/index>",
]

myst_enable_extensions = ["fieldlist", "deflist", "colon_fence"]
myst_heading_anchors = 3
html_math_renderer = "mathml"

sphinx_gallery_conf = {
    "examples_dirs": str(DOCS / "gallery"),  # the scripts, as written
    "gallery_dirs": "gallery",  # their executed pages, in the assembled sources
    "filename_pattern": r"/plot_",
    "download_all_examples": False,
    "remove_config_comments": True,
    "show_signature": False,
    "min_reported_time": 10**6,  # no timings on the pages: they are not the point
    "matplotlib_animations": False,
    "image_srcset": [],
    "reset_modules": ("matplotlib",),
    "write_computation_times": False,
    "capture_repr": (),  # the printed output only, not the value of a cell's last line
}

html_theme = "pydata_sphinx_theme"
html_title = "quorin"
html_static_path = ["_static"]
html_css_files = ["quorin.css"]
html_search_scorer = str(DOCS / "_static" / "scorer.js")
html_theme_options = {
    "navigation_with_keys": False,
    "show_toc_level": 2,
    "navbar_align": "left",
    "secondary_sidebar_items": ["page-toc"],
    "footer_start": ["copyright"],
    "footer_end": [],
    "use_edit_page_button": False,
}
html_sidebars = {"index": []}
html_show_sourcelink = False
html_copy_source = False
html_last_updated_fmt = None
pygments_style = "sphinx"
