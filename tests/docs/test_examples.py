"""Every example the README and docs/ show still prints what they show."""

import doctest
import os
import re
import subprocess
from pathlib import Path

import pytest

from doc_examples import broken_table_rows, output_matches, python_examples, shell_examples

SOURCE = Path(os.environ["VESK_SOURCE"])
PAGES = [SOURCE / "README.md", *sorted((SOURCE / "docs").glob("*.md"))]


@pytest.fixture(scope="module")
def checkout(tmp_path_factory):
    """A folder laid out like the source tree after ./dev.sh build, where examples run as a
    reader would run them from the top of the checkout."""
    root = tmp_path_factory.mktemp("checkout")
    (root / "build" / "cli").mkdir(parents=True)
    (root / "build" / "cli" / "vesk").symlink_to(os.environ["VESK_TOOL"])
    (root / "build" / "python").symlink_to(os.environ["VESK_PYTHON"])
    for name in ("data", "examples", "docs"):
        (root / name).symlink_to(SOURCE / name)
    return root


def test_the_matcher_takes_wildcards_and_refuses_changes():
    assert output_matches(["a ... c", "...", "z"], ["a b c", "1", "2", "z"])
    assert output_matches(["...", "z"], ["z"])
    assert not output_matches(["a ... c"], ["a b d"])
    assert not output_matches(["x"], ["x", "more"])
    assert not output_matches(["Fitness:    21"], ["Fitness:    22"])
    page = "```\n$ echo hi\nhi\n```\ntext\n$ not in a fence\n"
    [example] = shell_examples("page", page)
    assert (example.line, example.command, example.shown) == (2, "echo hi", ["hi"])


def test_every_table_row_is_whole():
    assert broken_table_rows("| a | b |\n|---|---|\n| `x|y` | z |\n| 1 \\| 2 | 3 |\n") == [(3, 3, 2)]
    for page in PAGES:
        assert broken_table_rows(page.read_text()) == [], page.name


def test_every_relative_link_leads_to_a_file():
    for page in PAGES:
        for target in re.findall(r"\]\(([^)#\s]+)", page.read_text()):
            if not re.match(r"[a-z]+:", target):
                assert (page.parent / target).exists(), f"{page.name}: {target}"


EXAMPLES = [example for page in PAGES for example in shell_examples(page.name, page.read_text())]


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda e: f"{e.page}:{e.line}")
def test_shell_example_prints_what_the_page_shows(example, checkout):
    done = subprocess.run(["bash", "-o", "pipefail", "-c", example.command], cwd=checkout,
                          capture_output=True, text=True, timeout=300, check=False,
                          env=dict(os.environ, PYTHONPATH=str(checkout / "build" / "python")))
    printed = (done.stdout + done.stderr).splitlines()
    assert output_matches(example.shown, printed), (
        f"{example.page}:{example.line}: $ {example.command}\nshown:\n" +
        "\n".join(example.shown) + "\nprinted:\n" + "\n".join(printed))


@pytest.mark.parametrize("page", PAGES, ids=lambda p: p.name)
def test_python_examples_run(page, checkout, monkeypatch):
    import vesk
    monkeypatch.chdir(checkout)
    test = python_examples(page.name, page.read_text(), {"vesk": vesk})
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE)
    runner.run(test)
    assert runner.summarize(verbose=False).failed == 0
