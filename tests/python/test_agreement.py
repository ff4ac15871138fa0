"""Every function gives what the tool prints for the same question, to the last bit."""

import json

import numpy as np
import pytest
import vesk

from conftest import PRESETS, random_pattern, run_tool, tool, tool_json


@pytest.mark.parametrize("n", [0, 1, 10, 100, 1000, 5000])
def test_reference_and_projections_are_the_tools(n, rng):
    if 2 <= n <= 9:
        pytest.skip("faults")
    reference = vesk.reference(n)
    assert reference.dtype == np.int32
    assert reference.tolist() == tool_json("reference", str(n), "--format", "json")[0]
    for hex in PRESETS + [random_pattern(rng) for _ in range(3)]:
        assert vesk.project(hex, n).tolist() == tool_json("project", hex, str(n), "--format",
                                                          "json")[0]


def test_every_shape_is_the_tools():
    for code in range(18):
        for width in (0, 1, 7, 99):
            done = run_tool("shape", str(code), str(width), "--format", "json")
            if done.returncode == 0:
                assert vesk.shape(code, width).tolist() == json.loads(done.stdout)
            else:  # the same fault, in the same words
                with pytest.raises(vesk.FloatingPointFault) as raised:
                    vesk.shape(code, width)
                assert done.stderr == f"vesk: {raised.value}\n"


@pytest.mark.parametrize("n", [1, 100, 777])
def test_scores_are_the_tools_same_doubles(n, rng):
    patterns = PRESETS + [""] + [random_pattern(rng) for _ in range(200)]
    fitness, distance = vesk.score(patterns, n=n, jobs=2)
    assert fitness.dtype == np.int32 and distance.dtype == np.float64
    answers = tool_json("score", "-n", str(n), "--format", "json", stdin="\n".join(patterns) + "\n")
    assert fitness.tolist() == [a["fitness"] for a in answers]
    assert distance.tolist() == [a["distance"] for a in answers]  # bit for bit
    one, _ = vesk.score(patterns, n=n, jobs=1)
    assert one.tolist() == fitness.tolist()


def test_scores_against_a_target_of_ones_own(tmp_path, rng):
    target = np.array([rng.randrange(101) for _ in range(300)], dtype=np.uint8)
    path = tmp_path / "target.json"
    path.write_text(json.dumps(target.tolist()))
    patterns = [random_pattern(rng) for _ in range(50)]
    fitness, distance = vesk.score(patterns, target=target)
    answers = tool_json("score", "--target", str(path), "--format", "json",
                        stdin="\n".join(patterns) + "\n")
    assert fitness.tolist() == [a["fitness"] for a in answers]
    assert distance.tolist() == [a["distance"] for a in answers]
    # A float array of whole numbers is the same target.
    assert vesk.score(patterns, target=target.astype(float))[1].tolist() == distance.tolist()


def test_describe_and_sweep_are_the_tools(rng):
    for hex in PRESETS + ["00000FFFFF", "1234567890ABCDEF0123"] + [random_pattern(rng)]:
        assert vesk.describe(hex, n=500) == tool_json("describe", hex, "-n", "500", "--format",
                                                      "json")
        if not any(b["zeroed"] for b in vesk.describe(hex)):
            shown = tool("sweep", hex)
            assert vesk.sweep_message(hex) + "\n" == shown
            assert vesk.sweep(hex).tolist() == [int(v) for v in shown.split(":")[1].split(",")]


def without_times(answer):
    return {k: v for k, v in answer.items() if k not in ("seconds", "evaluations_per_second")}


@pytest.mark.parametrize("options", [
    {"evaluations": 20000, "islands": 2, "seed": 3},
    {"evaluations": 6000, "islands": 1, "blocks": 5, "algorithm": "sga", "n": 300},
    {"evaluations": 5000, "islands": 2, "pareto": True, "blocks": 4},
    {"evaluations": 4000, "islands": 1, "start": PRESETS[1], "shapes": "0-7,10,12,14",
     "operators": [0, 1, 3, 5, 13]},
    {"evaluations": 3000, "islands": 1, "objective": "sweep", "blocks": 3},
])
def test_evolve_answers_as_the_tool_does(options):
    args = ["evolve", "--quiet"]
    for key, value in options.items():
        if value is True:
            args.append(f"--{key}")
        else:
            flag = "--elements" if key == "n" else f"--{key}"
            args += [flag, ",".join(map(str, value)) if isinstance(value, list) else str(value)]
    assert without_times(vesk.evolve(**options)) == without_times(tool_json(*args)[0])


def test_a_target_array_and_the_targets_file_agree(tmp_path):
    lines = ["10 20 30 40 50 60 70 80 90 100", "", "[0, 0, 100, 100, 0, 0, 50, 50]"]
    path = tmp_path / "targets.txt"
    path.write_text("\n".join(lines) + "\n")
    answers = tool_json("evolve", "--targets", str(path), "--evaluations", "3000", "--islands",
                        "1", "--blocks", "4", "--seed", "9", "--quiet")
    read = vesk.read_targets(path)
    assert [line for line, _ in read] == [1, 3]
    for (line, target), answer in zip(read, answers):
        mine = vesk.evolve(target, evaluations=3000, islands=1, blocks=4,
                           seed=vesk.target_seed(9, line))
        assert answer["target"] == f"{path}:{line}" and mine["target"] == "array"
        del answer["target"], mine["target"]
        assert without_times(mine) == without_times(answer)


def test_the_stubs_and_docstrings_cover_every_function():
    import ast
    import inspect
    from pathlib import Path
    stubs = Path(vesk.__file__).with_name("__init__.pyi")
    tree = ast.parse(stubs.read_text())
    named = {node.name for node in tree.body if isinstance(node, (ast.FunctionDef, ast.ClassDef))}
    public = {name for name in vesk.__all__ if not name.startswith("_") and name.islower()}
    assert public <= named
    for name in public:
        assert len(inspect.getdoc(getattr(vesk, name)) or "") > 80, name
