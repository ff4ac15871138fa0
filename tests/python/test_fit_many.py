"""The Dask example fits a file of targets on two local workers, each answer the one
vesk.evolve gives in this process with the line's seed."""

import json
import os
import subprocess
import sys
from pathlib import Path

import vesk

EXAMPLE = Path(os.environ.get("VESK_SOURCE", Path(__file__).parents[2])) / "examples" / "fit_many.py"


def test_fit_many_on_two_local_workers(tmp_path):
    targets = tmp_path / "targets.txt"
    targets.write_text("0 10 20 30 40 50 60 70 80 90 100 90 80\n"
                       "\n"
                       "[100, 100, 0, 0, 100, 100, 0, 0]\n"
                       "5, 50, 95, 50, 5, 50, 95\n")
    done = subprocess.run(
        [sys.executable, str(EXAMPLE), str(targets), "--workers", "2", "--seed", "7",
         "--evaluations", "4000", "--blocks", "5"],
        capture_output=True, text=True, timeout=300, check=False)
    assert done.returncode == 0, done.stderr
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
