"""Release metadata: version, changelog, license, and the README's opening commands."""

import importlib.metadata
import pathlib
import re
import tomllib

import pytest

ROOT = pathlib.Path(__file__).resolve().parent.parent
PROJECT = tomllib.loads((ROOT / "pyproject.toml").read_text(encoding="utf-8"))["project"]


def test_installed_version_is_the_project_version():
    try:
        version = importlib.metadata.version("quorin")
    except importlib.metadata.PackageNotFoundError:
        pytest.skip("quorin is not installed as a distribution here")
    assert version == PROJECT["version"]
    assert importlib.metadata.metadata("quorin")["License"] == "MIT"


def test_changelog_has_an_entry_for_the_version():
    changelog = (ROOT / "CHANGELOG.md").read_text(encoding="utf-8")
    headings = re.findall(r"^## (\S+)", changelog, re.M)
    assert headings[0] == PROJECT["version"]


def test_license_is_mit_for_the_developers():
    text = (ROOT / "LICENSE").read_text(encoding="utf-8")
    assert text.startswith("MIT License\n")
    assert re.search(r"^Copyright \(c\) \d{4} the quorin developers$", text, re.M)
    assert PROJECT["license"] == {"text": "MIT"}


def test_readme_opens_with_exactly_the_two_commands():
    lines = (ROOT / "README.md").read_text(encoding="utf-8").split("\n")
    assert lines[:6] == ["# quorin", "", "```sh", "./scripts/setup",
                         ".venv/bin/python -m pytest", "```"]
