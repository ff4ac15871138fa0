"""The module's results as a library's users take them: arrays for batches, a fit result that
is a dict and an object at once, and a plot in the window's colours."""

import json
import math
import pickle
import subprocess
import sys

import numpy as np
import pytest
import vesk

from conftest import PRESETS, random_pattern


def test_project_many_is_project_row_by_row(rng):
    patterns = PRESETS + [random_pattern(rng) for _ in range(40)]
    for n in (0, 1, 7, 300):
        rows = vesk.project_many(patterns, n, jobs=3)
        assert rows.dtype == np.int32 and rows.shape == (len(patterns), n)
        assert rows.flags.c_contiguous
        for pattern, row in zip(patterns, rows):
            assert row.tolist() == vesk.project(pattern, n).tolist()
    assert vesk.project_many([], 5).shape == (0, 5)
    with pytest.raises(ValueError, match=r"patterns\[2\]"):
        vesk.project_many(PRESETS + ["ZZZZZ"], 10)


def test_masked_scores_keep_the_good_ones_and_name_the_bad(rng):
    good = [random_pattern(rng) for _ in range(30)]
    mixed = list(good)
    for at, bad in ((0, "ZZZZZ"), (7, None), (12, "AF65"), (29, 17)):
        mixed.insert(at, bad)
    fitness, distance, bad = vesk.score(mixed, n=200, errors="mask", jobs=2)
    assert bad.tolist() == [0, 7, 12, 29]
    assert fitness[bad].tolist() == [-1] * 4 and np.isnan(distance[bad]).all()
    kept = np.setdiff1d(np.arange(len(mixed)), bad)
    plain_fitness, plain_distance = vesk.score(good, n=200)
    assert fitness[kept].tolist() == plain_fitness.tolist()
    assert distance[kept].tolist() == plain_distance.tolist()
    # A reference that faults leaves nothing to score.
    fitness, distance, bad = vesk.score(PRESETS, n=5, errors="mask")
    assert bad.tolist() == [0, 1] and fitness.tolist() == [-1, -1]
    with pytest.raises(ValueError, match="errors: 'ignore' is not one of raise, mask"):
        vesk.score(PRESETS, errors="ignore")
    with pytest.raises(vesk.FloatingPointFault) as raised:
        vesk.score(PRESETS, n=5)
    assert raised.value.index == 0


def test_sweep_gives_numbers_and_the_message_stays():
    values = vesk.sweep(PRESETS[1])
    assert values.dtype == np.int32 and values.tolist() == [21, 23, 23, 23]
    assert vesk.sweep_message(PRESETS[1]).endswith("21,   23,   23,   23")
    assert len(vesk.SWEEP_ELEMENTS) == len(values)


TARGET = [0, 10, 30, 70, 90, 100, 100, 40, 20, 10, 0, 0]


@pytest.fixture(scope="module")
def fit():
    return vesk.evolve(TARGET, blocks=2, evaluations=1000,
                       islands=1, seed=3)


def test_a_fit_is_a_dict_and_an_object(fit):
    assert isinstance(fit, dict) and fit.hex == fit["hex"] and fit.fitness == fit["fitness"]
    assert "hex" in dir(fit)
    fit.note = "kept"
    assert fit["note"] == "kept"
    del fit.note
    with pytest.raises(AttributeError):
        fit.note
    text = repr(fit)
    assert text.splitlines()[0] == f"                   hex: {fit.hex}"
    assert "<th style='text-align:right'>stopped</th>" in fit._repr_html_()
    assert json.loads(json.dumps(fit)) == dict(fit)
    again = pickle.loads(pickle.dumps(fit))
    assert type(again) is vesk.FitResult and again == fit
    assert again.target_degrees().tolist() == TARGET
    assert fit.degrees().tolist() == vesk.project(fit.hex, len(TARGET)).tolist()


def test_a_pareto_front_is_summed_up_in_the_repr():
    front = vesk.evolve(n=40, pareto=True, evaluations=3000, islands=1, seed=2)
    assert f"front: [{len(front.front)} patterns]" in repr(front)


def test_the_plot_draws_in_the_windows_colours(fit):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    figure, ax = plt.subplots()
    assert fit.plot(ax) is ax
    lines = {line.get_label().split()[0]: line for line in ax.get_lines()}
    assert set(lines) == {"reference", "target", "pattern"}
    for name, line in lines.items():
        assert matplotlib.colors.to_hex(line.get_color()) == vesk.COLOURS[name]
    assert lines["pattern"].get_ydata().tolist() == fit.degrees().tolist()
    plt.close(figure)
    figure, ax = plt.subplots()
    assert {line.get_label().split()[0] for line in fit.plot(ax, reference=False).get_lines()} \
        == {"target", "pattern"}
    plt.close(figure)
    # A reference fit has no separate target; a count whose reference faults has no reference.
    small = vesk.evolve([50, 60, 70], evaluations=200, islands=1)
    figure, ax = plt.subplots()
    assert {line.get_label().split()[0] for line in small.plot(ax).get_lines()} == {"target",
                                                                                     "pattern"}
    plt.close(figure)


def test_importing_loads_neither_matplotlib_nor_qt():
    # The module is a library of its own: no plotting until asked, and no toolkit at all.
    done = subprocess.run([sys.executable, "-c", "import sys, vesk; vesk.evolve([1], "
                           "evaluations=50); vesk.sweep('AF655'); print('matplotlib' in "
                           "sys.modules, 'libQt6' in open('/proc/self/maps').read())"],
                          capture_output=True, text=True, check=True)
    assert done.stdout.strip() == "False False"


def test_an_interrupted_search_hands_over_a_fit_result():
    class Enough(Exception):
        pass

    def enough(progress):
        raise Enough()
    with pytest.raises(Enough) as raised:
        vesk.evolve(n=50, islands=1, seconds=30, progress=enough)
    assert isinstance(raised.value.result, vesk.FitResult)
    assert raised.value.result.stopped == "interrupted" and not math.isnan(
        raised.value.result.distance)
