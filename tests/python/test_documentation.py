"""What help(), IDEs and type checkers are shown: signatures, NumPy-style docstrings whose
examples run, and type stubs that agree with the module."""

import doctest
import inspect
import os
import shutil
import subprocess
import sys

import pytest
import vesk

FUNCTIONS = [vesk.reference, vesk.project, vesk.project_many, vesk.shape, vesk.score,
             vesk.describe, vesk.sweep, vesk.sweep_message, vesk.read_targets,
             vesk.target_seed, vesk.evolve]


def test_docstring_examples_run():
    finder = doctest.DocTestFinder()
    tests = finder.find(vesk, globs={"vesk": vesk})
    assert {test.name for test in tests if test.examples} >= {f"vesk.{f.__name__}"
                                                              for f in FUNCTIONS}
    runner = doctest.DocTestRunner(optionflags=doctest.NORMALIZE_WHITESPACE)
    for test in tests:
        runner.run(test)
    assert runner.summarize(verbose=False).failed == 0


def test_every_function_has_a_signature_and_sections():
    for function in FUNCTIONS:
        parameters = inspect.signature(function).parameters
        assert all(p.kind is not p.VAR_KEYWORD for p in parameters.values()), function
        doc = inspect.getdoc(function)
        assert "Examples\n--------" in doc, function.__name__
        if parameters and function is not vesk.sweep_message and function is not vesk.target_seed:
            assert "Parameters\n----------" in doc and "Returns\n-------" in doc, function


def test_evolve_takes_the_search_options_by_keyword_only():
    parameters = inspect.signature(vesk.evolve).parameters
    options = [key for key, _, _ in vesk._core.evolve_options()]
    assert list(parameters) == ["target", "n", *options, "progress"]
    assert all(parameters[key].kind is inspect.Parameter.KEYWORD_ONLY for key in options)
    doc = inspect.getdoc(vesk.evolve)
    assert all(f"\n{key} : " in doc for key in parameters)
    with pytest.raises(TypeError, match="positional argument"):
        vesk.evolve([1, 2], 5)
    with pytest.raises(TypeError, match="unexpected keyword argument 'sed'"):
        vesk.evolve(sed=2)


def run_checker(*args):
    """Runs a mypy tool in a scratch folder with the package where PYTHONPATH puts it."""
    done = subprocess.run([sys.executable, "-m", *args], capture_output=True, text=True,
                          cwd=os.path.dirname(vesk.__path__[0]), check=False)
    return done.returncode, done.stdout + done.stderr


def test_stubs_agree_with_the_module():
    allowlist = os.path.join(os.environ["VESK_SOURCE"], "python", "stubtest-allowlist.txt")
    status, output = run_checker("mypy.stubtest", "vesk", "--allowlist", allowlist)
    assert status == 0, output


def test_typed_use_type_checks_and_misuse_does_not(tmp_path):
    good = tmp_path / "good.py"
    good.write_text(
        "import numpy as np\nimport numpy.typing as npt\nimport vesk\n"
        "fit = vesk.evolve([1, 2, 3], evaluations=100, seed=2)\n"
        "hex: str = fit.hex\n"
        "degrees: npt.NDArray[np.int32] = fit.degrees()\n"
        "fitness, distance = vesk.score([hex], n=10)\n"
        "fitness, distance, bad = vesk.score([hex], errors='mask')\n"
        "rows = vesk.project_many([hex], 20, jobs=1)\n"
        "values = vesk.sweep(hex)\n")
    bad = tmp_path / "bad.py"
    bad.write_text("import vesk\nvesk.reference('100')\nvesk.evolve(seeds=2)\n")
    status, output = run_checker("mypy", "--strict", str(good))
    assert status == 0, output
    status, output = run_checker("mypy", str(bad))
    assert status == 1 and output.count("error:") == 2, output
