"""Bad arguments get the tool's words as ValueError or TypeError, never a crash; faults are
FloatingPointErrors with the program's own message."""

import numpy as np
import pytest
import vesk

from conftest import PRESETS


@pytest.mark.parametrize("call, error, words", [
    (lambda: vesk.reference(-1), ValueError, "n: must be 0 to 185360"),
    (lambda: vesk.reference(185361), ValueError, "n: must be 0 to 185360"),
    (lambda: vesk.reference(2 ** 80), ValueError, "n: must be 0 to 185360"),
    (lambda: vesk.reference(10.0), TypeError, "n: must be a whole number, not float"),
    (lambda: vesk.reference("10"), TypeError, "n: must be a whole number, not str"),
    (lambda: vesk.project("AF65", 10), ValueError, "hex: hexa string length must be a multiple of 5"),
    (lambda: vesk.project("0" * 165, 10), ValueError, "hex: more than 32 blocks"),
    (lambda: vesk.project("AF6589", 10), ValueError, "hex: hexa string length"),
    (lambda: vesk.project(b"AF655", 10), TypeError, "hex: must be a str, not bytes"),
    (lambda: vesk.shape(18, 10), ValueError, "code: must be 0 to 17"),
    (lambda: vesk.score("AF655"), TypeError, "not one text"),
    (lambda: vesk.score(["AF655", "ZZZZZ"]), ValueError, "patterns[1]: block 1"),
    (lambda: vesk.score(["AF655"], n=100, target=[1]), ValueError, "n: excludes target"),
    (lambda: vesk.score(["AF655"], jobs=-2), ValueError, "jobs: must be 0 to 1024"),
    (lambda: vesk.describe("AF65"), ValueError, "hex: Hexa string length must be a multiple of 5."),
    (lambda: vesk.evolve(seed=-1), ValueError, "seed: must be 0 to 4294967295"),
    (lambda: vesk.evolve(seed="1"), TypeError, "seed: must be a whole number, not str"),
    (lambda: vesk.evolve(blocks=33), ValueError, "blocks: must be 1 to 32"),
    (lambda: vesk.evolve(seconds=float("nan")), ValueError, "seconds: must be a number"),
    (lambda: vesk.evolve(seconds=0), ValueError, "seconds: must be more than 0 and at most"),
    (lambda: vesk.evolve(seconds=10 ** 400), ValueError, "seconds: must be more than 0 and at most"),
    (lambda: vesk.evolve(algorithm="hill"), ValueError, "algorithm: 'hill' is not one of annealing"),
    (lambda: vesk.evolve(objective="speed"), ValueError, "objective: 'speed' is not one of distance, sweep"),
    (lambda: vesk.evolve([50] * 10, objective="sweep"), ValueError, "built-in reference only"),
    (lambda: vesk.evolve(start=PRESETS[0], blocks=3), ValueError, "start has 4 blocks and blocks 3"),
    (lambda: vesk.evolve(shapes="0-99"), ValueError, "shapes: "),
    (lambda: vesk.evolve(operators=[0, 16]), ValueError, "operators: must be 0 to 15"),
    (lambda: vesk.evolve(pareto=1), TypeError, "pareto: must be a bool"),
    (lambda: vesk.evolve(progress=3), TypeError, "progress: must be callable"),
    (lambda: vesk.evolve(generations=3), TypeError, "unexpected keyword argument 'generations'"),
    # What the system says of a file is Python's own OSError, as open() raises it.
    (lambda: vesk.read_targets("/nonexistent/targets"), FileNotFoundError, "/nonexistent/targets"),
    (lambda: vesk.read_targets(b"/nonexistent"), FileNotFoundError, "No such file or directory"),
    (lambda: vesk.read_targets("/"), IsADirectoryError, "Is a directory: '/'"),
    (lambda: vesk.read_targets("a\x00b"), ValueError, "path: embedded null character"),
    (lambda: vesk.project("\udcff" * 5), ValueError, "hex: is not text that UTF-8 can hold"),
    (lambda: vesk.describe("\udcff" * 5), ValueError, "hex: is not text"),
])
def test_usage_mistakes_in_the_tools_words(call, error, words):
    with pytest.raises(error) as raised:
        call()
    assert words in str(raised.value)


@pytest.mark.parametrize("target, error, words", [
    (np.array(["1", "2"]), TypeError, "target: must hold whole numbers 0..100, not <U1"),
    (np.array([1 + 2j]), TypeError, "not complex128"),
    (np.array([True, False]), TypeError, "not bool"),
    ([[1, 2], [3, 4]], ValueError, "target: must be one-dimensional, not 2-dimensional"),
    ([], ValueError, "target: no degrees"),
    ([10, float("nan"), 3], ValueError, "target[1]: nan is not a degree (a whole number 0..100)"),
    ([10, 20, 101], ValueError, "target[2]: 101 is not a degree"),
    (np.array([5, -1], dtype=np.int8), ValueError, "target[1]: -1 is not a degree"),
    (np.array([2 ** 64 - 1], dtype=np.uint64), ValueError, "is not a degree"),
    ([50.5], ValueError, "target[0]: 50.5 is not a degree"),
    (np.zeros(185361, dtype=np.int32), ValueError, "target: more than 185360 degrees"),
    ("50 50 50", TypeError, "target: must be an array of degrees, not str"),
])
def test_bad_target_arrays_are_refused(target, error, words):
    for call in (lambda: vesk.evolve(target), lambda: vesk.score(["AF655"], target=target)):
        with pytest.raises(error) as raised:
            call()
        assert words in str(raised.value)


def test_faults_carry_the_programs_message():
    with pytest.raises(vesk.FloatingPointFault, match=r"^Floating point division by zero\.$"):
        vesk.reference(5)
    assert issubclass(vesk.FloatingPointFault, FloatingPointError)
    # Scoring against no elements is an invalid operation; the first such pattern is named.
    with pytest.raises(FloatingPointError) as raised:
        vesk.score(["", "AF655"] * 300, n=0, jobs=2)
    assert str(raised.value) == "Invalid floating point operation."
    assert raised.value.index == 0
    with pytest.raises(vesk.FloatingPointFault):
        vesk.evolve(n=5)
    # A reference that cannot be built faults the first pattern, as the stubs declare.
    with pytest.raises(vesk.FloatingPointFault) as raised:
        vesk.score(["77467C422E8C46887454", "AF655"], n=5)
    assert raised.value.index == 0
