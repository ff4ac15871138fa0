"""The tool the module is compared with, and a random source of pattern texts."""

import json
import os
import random
import subprocess

import pytest

PRESETS = ["77467C422E8C46887454", "AF6553666D22533E1571"]


def run_tool(*args, stdin=None):
    return subprocess.run([os.environ["VESK_TOOL"], *args], input=stdin, capture_output=True,
                          text=True, check=False)


def tool(*args, stdin=None):
    """Runs the vesk tool; its standard output, which must come with status 0."""
    done = run_tool(*args, stdin=stdin)
    assert done.returncode == 0, done.stderr
    return done.stdout


def tool_json(*args, stdin=None):
    return [json.loads(line) for line in tool(*args, stdin=stdin).splitlines()]


def random_pattern(rng):
    """A pattern of 1..32 blocks, each a random group of five digits the tool accepts."""
    import vesk
    groups = []
    while len(groups) < rng.randint(1, 32):
        group = "".join(rng.choice("0123456789ABCDEF") for _ in range(5))
        if not vesk.describe(group)[0]["zeroed"]:
            groups.append(group)
    return "".join(groups)


@pytest.fixture
def rng():
    return random.Random(20261208)
