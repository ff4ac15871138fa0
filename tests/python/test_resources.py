"""A search short of memory or threads raises MemoryError and leaves the interpreter running.

Each search runs in an interpreter of its own under a limit on its address space; the module is
not built with the sanitizers, whose runtimes take no such limit."""

import os
import resource
import subprocess
import sys

import pytest

# The threads of 256 islands need 2 GiB of stacks at 8 MiB each (64 islands 512 MiB), beyond
# the limit, yet the interpreter, NumPy and the module load well within it.
LIMIT = 400 << 20
STACK = 8 << 20

CHILD = """
import vesk
try:
    vesk.evolve(evaluations=20000, **{options})
    print("searched")
except MemoryError as error:
    print("MemoryError:", error)
print("still running:", vesk.score(["AF655"])[0][0])
"""


def limited():
    resource.setrlimit(resource.RLIMIT_AS, (LIMIT, LIMIT))
    resource.setrlimit(resource.RLIMIT_STACK, (STACK, STACK))


@pytest.mark.parametrize("options", [
    dict(islands=256, objective="sweep"),
    dict(islands=256, algorithm="sga"),
    dict(islands=256, pareto=True),
    dict(islands=64, algorithm="gaco"),
])
def test_a_search_that_cannot_have_its_threads_raises_memory_error(options):
    done = subprocess.run([sys.executable, "-c", CHILD.format(options=options)],
                          capture_output=True, text=True, timeout=120, preexec_fn=limited,
                          env=dict(os.environ), check=False)
    assert done.returncode == 0, done.stderr
    lines = done.stdout.splitlines()
    assert lines[0] in ("MemoryError: out of memory",
                        f"MemoryError: cannot start {options['islands']} threads"), done.stdout
    assert lines[1].startswith("still running: "), done.stdout
