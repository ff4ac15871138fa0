"""The Dask example fits a file of targets on two local workers, each answer the one
vesk.evolve gives in this process with the line's seed, and draws them a chart each."""

import json
import os
import runpy
import subprocess
import sys
from pathlib import Path
from types import SimpleNamespace

import vesk

EXAMPLE = Path(os.environ.get("VESK_SOURCE", Path(__file__).parents[2])) / "examples" / "fit_many.py"


def load_example():
    """The example's functions, run as a module of this process (its main is not called)."""
    return SimpleNamespace(**runpy.run_path(str(EXAMPLE), run_name="fit_many"))


def test_fit_many_on_two_local_workers(tmp_path):
    targets = tmp_path / "targets.txt"
    targets.write_text("0 10 20 30 40 50 60 70 80 90 100 90 80\n"
                       "\n"
                       "[100, 100, 0, 0, 100, 100, 0, 0]\n"
                       "5, 50, 95, 50, 5, 50, 95\n")
    picture = tmp_path / "fits.png"
    done = subprocess.run(
        [sys.executable, str(EXAMPLE), str(targets), "--workers", "2", "--seed", "7",
         "--evaluations", "4000", "--blocks", "5", "--plot", str(picture)],
        capture_output=True, text=True, timeout=300, check=False)
    assert done.returncode == 0, done.stderr
    progress = [line for line in done.stderr.splitlines() if " targets, " in line]
    assert progress[0].startswith("fit_many.py: 0/3 targets")
    assert progress[-1].startswith("fit_many.py: 3/3 targets")
    assert f"drew 3 fits into {picture}" in done.stderr
    assert picture.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    answers = [json.loads(line) for line in done.stdout.splitlines()]
    assert [a["target"] for a in answers] == [f"{targets}:{n}" for n in (1, 3, 4)]
    for (line, degrees), answer in zip(vesk.read_targets(targets), answers):
        mine = vesk.evolve(degrees, seed=vesk.target_seed(7, line), evaluations=4000, blocks=5,
                           islands=1)
        for key in ("hex", "distance", "fitness", "evaluations", "seed", "elements"):
            assert answer[key] == mine[key], key


def test_fit_many_names_a_bad_line(tmp_path):
    targets = tmp_path / "targets.txt"
    targets.write_text("10 20 30\n10 200 30\n")
    done = subprocess.run([sys.executable, str(EXAMPLE), str(targets)], capture_output=True,
                          text=True, timeout=120, check=False)
    assert done.returncode == 2
    assert f"{targets}:2: '200' is not a degree" in done.stderr


def test_grid_has_a_chart_a_fit_named_by_its_line():
    example = load_example()
    shipped = vesk.read_targets(example.SHIPPED_TARGETS)
    assert [len(degrees) for _, degrees in shipped] == [50] * 4 + [100] * 4
    fits = []
    for line, degrees in shipped[:5]:
        fits.append(vesk.evolve(degrees, evaluations=2000, blocks=3, islands=1, seed=line))
        fits[-1].target = f"/somewhere/zoo-small.targets:{line}"
    figure = example.draw_grid(fits)
    assert len(figure.axes) == 5  # the three empty places of the second row of four are gone
    for line, (ax, fit) in enumerate(zip(figure.axes, fits), start=1):
        assert ax.get_title() == (f"zoo-small.targets:{line}  mean distance "
                                  f"{fit.mean_distance:.3f}")
        assert list(ax.get_lines()[-1].get_ydata()) == list(fit.degrees())
    assert [ax.get_legend() is not None for ax in figure.axes] == [True] + [False] * 4
