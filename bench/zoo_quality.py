#!/usr/bin/python3
"""Search quality over the target zoo: how close "vesk evolve" gets in a fixed time.

How to run it (at the defaults, with a baseline, the searches alone take 17 cases x 5 seeds x
(0.5 + 2) s x 2 binaries, about 7 minutes; run it on a quiet machine, since every search is
bounded by time and uses every core):

    bench/zoo_quality.py                                   # build/cli/vesk alone
    bench/zoo_quality.py --baseline /tmp/vesk-baseline/build/cli/vesk --json zoo.json
    bench/zoo_quality.py --targets 'data/targets/*-50.txt' --seeds 1 --times 0.5

Each target of the zoo (data/targets/, see its README) and the built-in reference (-n 100) is
searched as "vesk evolve --target FILE --blocks B --seconds T --seed S -q" for every seed and
time. With --baseline a second binary runs the same searches, target by target and seed by seed
in turn (which of the two goes first alternates), so that load from elsewhere falls on both
alike. Every answer's pattern is scored again with "vesk score" of the binary that found it; a
distance that differs from the one evolve printed, or a binary that fails, is reported on
standard error and makes the exit status 1 (such a result is left out of the figures).

The report gives, for each time, every target's median (and worst) mean distance over the seeds
(mean absolute distance an element, in degrees/100; lower is closer), and the zoo's geometric
mean of those medians, with the ratio new/baseline. The reference is reported on its own line
and is not part of the zoo's mean. A perfect fit counts in the geometric mean as one degree off
on one element, so that one exact target does not make the whole mean zero.

--self-check tries the parsing and the summary on known numbers and runs no binary.
"""

import argparse
import glob
import json
import math
import os
import pathlib
import platform
import statistics
import subprocess
import sys
import time
from dataclasses import dataclass

ROOT = pathlib.Path(__file__).resolve().parent.parent
REFERENCE = "reference"
REFERENCE_ELEMENTS = 100


@dataclass(frozen=True)
class Case:
    """One target searched: a zoo file, or the built-in reference."""

    name: str
    args: tuple  # what tells vesk evolve and vesk score the target

    @property
    def is_reference(self):
        return self.name == REFERENCE


@dataclass
class Run:
    """One search's answer as the report counts it."""

    binary: str  # "new" or "baseline"
    target: str
    elements: int
    seconds: float  # the time asked for
    seed: int
    hex: str
    distance: float
    mean_distance: float
    evaluations: int
    rescored: float = None  # the distance vesk score gives the pattern


def parse_seeds(text):
    """'1-5,8' as [1, 2, 3, 4, 5, 8]."""
    seeds = []
    for part in text.split(","):
        first, _, last = part.strip().partition("-")
        low, high = int(first), int(last or first)
        if low < 0 or high < low:
            raise ValueError(f"'{part}' is not a seed or a range of seeds")
        seeds += range(low, high + 1)
    if not seeds:
        raise ValueError("no seeds")
    return seeds


def parse_times(text):
    """'0.5,2' as [0.5, 2.0]: seconds a search, each above zero."""
    times = [float(part) for part in text.split(",")]
    if not times or any(not (t > 0 and math.isfinite(t)) for t in times):
        raise ValueError(f"'{text}' is not a list of times above zero")
    return times


def zoo_mean(medians):
    """The geometric mean of (elements, median mean distance) pairs, a perfect fit counting as
    one degree off on one element (1/(100 n))."""
    return statistics.geometric_mean(max(m, 1 / (100 * n)) for n, m in medians)


def summarize(runs, binaries, times):
    """For each binary and time: each target's elements, median, worst and runs counted by name,
    and the zoo's mean of medians (None without zoo targets). The reference is reported among
    the targets but left out of the zoo's mean."""
    summary = {}
    for binary in binaries:
        for seconds in times:
            targets = {}
            for run in runs:
                if run.binary == binary and run.seconds == seconds:
                    targets.setdefault(run.target, (run.elements, []))[1].append(
                        run.mean_distance)
            rows = {
                name: {"elements": n, "median": statistics.median(values), "worst": max(values),
                       "runs": len(values)}
                for name, (n, values) in targets.items()
            }
            zoo = [(r["elements"], r["median"]) for name, r in rows.items() if name != REFERENCE]
            summary[binary, seconds] = {"targets": rows, "zoo": zoo_mean(zoo) if zoo else None}
    return summary


def machine():
    """What the figures were measured on."""
    fields = {}
    try:
        lines = subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines()
    except OSError:
        lines = []
    for line in lines:
        key, _, value = line.partition(":")
        fields[key.strip()] = value.strip()
    return {
        "model": fields.get("Model name", platform.processor() or "unknown"),
        "cpus": fields.get("CPU(s)", str(os.cpu_count())),
        "cores_per_socket": fields.get("Core(s) per socket", "?"),
        "threads_per_core": fields.get("Thread(s) per core", "?"),
        "load_at_start": os.getloadavg(),
    }


class Problems:
    """Failed runs and rescoring mismatches: each is told on standard error when found."""

    def __init__(self):
        self.lines = []

    def add(self, text):
        self.lines.append(text)
        print(f"zoo_quality: ERROR: {text}", file=sys.stderr, flush=True)


def evolve(vesk, case, seconds, seed, blocks):
    """One search's JSON answer, or the reason it has none."""
    command = [vesk, "evolve", *case.args, "--blocks", str(blocks), "--seconds", f"{seconds:g}",
               "--seed", str(seed), "-q"]
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        return None, f"{' '.join(command)}: exit {done.returncode}: {done.stderr.strip()}"
    try:
        return json.loads(done.stdout), None
    except json.JSONDecodeError:
        return None, f"{' '.join(command)}: not one JSON object: {done.stdout[:200]!r}"


def rescore(vesk, case, hexes):
    """The distance "vesk score" gives each pattern (None where it gives none)."""
    command = [vesk, "score", *case.args, "--format", "json", "-j", "1"]
    done = subprocess.run(command, input="".join(h + "\n" for h in hexes), capture_output=True,
                          text=True)
    scores = []
    for line in done.stdout.splitlines()[: len(hexes)]:
        try:
            scores.append(json.loads(line).get("distance"))
        except (json.JSONDecodeError, AttributeError):
            scores.append(None)
    return scores + [None] * (len(hexes) - len(scores))


def check_scores(runs, scores, vesk, case, problems):
    """Keeps the runs whose distance vesk score gives again exactly; tells the others."""
    kept = []
    for run, score in zip(runs, scores):
        run.rescored = score
        if score is not None and score == run.distance:
            kept.append(run)
        else:
            problems.add(f"{vesk} on {case.name}, {run.seconds:g} s, seed {run.seed}: evolve "
                         f"says distance {run.distance!r} but score gives {score!r} for {run.hex}")
    return kept


def measure(cases, binaries, times, seeds, blocks, problems):
    """Every search of every case, binaries in turn; the runs whose scores check out."""
    counted = []
    total = len(cases) * len(times) * len(seeds) * len(binaries)
    done = 0
    began = time.monotonic()
    for case in cases:
        found = {binary: [] for binary in binaries}
        for seconds in times:
            for turn, seed in enumerate(seeds):
                order = list(binaries) if turn % 2 == 0 else list(reversed(binaries))
                for binary in order:
                    answer, why = evolve(binaries[binary], case, seconds, seed, blocks)
                    done += 1
                    if answer is None:
                        problems.add(why)
                        continue
                    found[binary].append(Run(binary, case.name, answer["elements"], seconds,
                                             seed, answer["hex"], answer["distance"],
                                             answer["mean_distance"], answer["evaluations"]))
        for binary, vesk in binaries.items():
            runs = found[binary]
            counted += check_scores(runs, rescore(vesk, case, [r.hex for r in runs]), vesk, case,
                                    problems)
        print(f"[{done}/{total}] {case.name} done, {time.monotonic() - began:.0f} s so far",
              file=sys.stderr, flush=True)
    return counted


def cell(row):
    if row is None:
        return f"{'-':>20}"
    return f"{row['median']:9.6f} ({row['worst']:.6f})"


def ratio(new, old):
    return f"{new / old:8.3f}" if new is not None and old else f"{'-':>8}"


def report(summary, cases, binaries, times, seeds):
    names = list(binaries)
    for seconds in times:
        print(f"\n{seconds:g} s a search, seeds {seeds[0]}..{seeds[-1]} ({len(seeds)}): median "
              "(worst) mean distance over the seeds")
        header = f"{'target':<22}{'n':>6}" + "".join(f"  {name:>20}" for name in names)
        print(header + (f"  {'new/base':>8}" if len(names) == 2 else ""))
        for case in cases:
            rows = [summary[name, seconds]["targets"].get(case.name) for name in names]
            n = next((row["elements"] for row in rows if row), "?")
            line = f"{case.name:<22}{n:>6}" + "".join(f"  {cell(row)}" for row in rows)
            if len(names) == 2:
                line += "  " + ratio(*(row["median"] if row else None for row in rows))
            print(line)
            if case.is_reference:
                print("-" * len(header))
        zoo = [summary[name, seconds]["zoo"] for name in names]
        line = f"{'zoo geometric mean':<28}" + "".join(
            f"  {z:20.6f}" if z is not None else f"  {'-':>20}" for z in zoo)
        print(line + ("  " + ratio(*zoo) if len(names) == 2 else ""))


def zoo_cases(pattern):
    files = sorted(glob.glob(pattern))
    if not files:
        raise SystemExit(f"zoo_quality: no targets match {pattern}")
    return [Case(pathlib.Path(f).stem, ("--target", f)) for f in files]


def self_check():
    """The parsing and the summary on numbers worked out by hand."""
    assert parse_seeds("1-5") == [1, 2, 3, 4, 5]
    assert parse_seeds("3, 7-8,1") == [3, 7, 8, 1]
    for bad in ("5-1", "", "a", "-2"):
        try:
            parse_seeds(bad)
        except ValueError:
            continue
        raise AssertionError(f"parse_seeds accepted {bad!r}")
    assert parse_times("0.5,2") == [0.5, 2.0]
    for bad in ("0", "1,-2", "nan", "inf"):
        try:
            parse_times(bad)
        except ValueError:
            continue
        raise AssertionError(f"parse_times accepted {bad!r}")

    def run(binary, target, n, seconds, value):
        return Run(binary, target, n, seconds, 1, "", value * n, value, 0)

    runs = [
        # a: medians 0.02 at 0.5 s (an even count: the middle two's mean) and 0.01 at 2 s
        run("new", "a", 50, 0.5, 0.01), run("new", "a", 50, 0.5, 0.03),
        run("new", "a", 50, 0.5, 0.02), run("new", "a", 50, 0.5, 0.10),
        run("new", "a", 50, 2, 0.01),
        # b fits exactly: counts as 1/(100*50) = 0.0002 in the zoo's mean
        run("new", "b", 50, 0.5, 0.0), run("new", "b", 50, 2, 0.0),
        # the reference is reported but stays out of the zoo's mean
        run("new", REFERENCE, 100, 0.5, 9.0), run("new", REFERENCE, 100, 2, 9.0),
        run("baseline", "a", 50, 0.5, 0.08),
    ]
    summary = summarize(runs, ["new", "baseline"], [0.5, 2])
    a = summary["new", 0.5]["targets"]["a"]
    assert a == {"elements": 50, "median": 0.025, "worst": 0.10, "runs": 4}, a
    assert summary["new", 0.5]["targets"][REFERENCE]["median"] == 9.0
    assert math.isclose(summary["new", 0.5]["zoo"], math.sqrt(0.025 * 0.0002))
    assert math.isclose(summary["new", 2]["zoo"], math.sqrt(0.01 * 0.0002))
    assert math.isclose(summary["baseline", 0.5]["zoo"], 0.08)
    assert summary["baseline", 2]["zoo"] is None

    # A rescored distance must equal evolve's to the last bit.
    problems = Problems()
    problems.add = problems.lines.append  # kept quiet here
    kept = check_scores([run("new", "a", 50, 0.5, 0.1), run("new", "a", 50, 0.5, 0.2)],
                        [5.0, math.nextafter(10.0, 11.0)], "vesk", Case("a", ()), problems)
    assert [r.distance for r in kept] == [5.0] and len(problems.lines) == 1, problems.lines
    kept = check_scores([run("new", "a", 50, 0.5, 0.1)], [None], "vesk", Case("a", ()), problems)
    assert not kept and len(problems.lines) == 2
    print("zoo_quality: self-check passed")


def main():
    parser = argparse.ArgumentParser(
        description="Search quality of vesk evolve over the target zoo.",
        epilog="See the top of this script for what it measures and how to read the report.")
    parser.add_argument("--vesk", default=str(ROOT / "build/cli/vesk"),
                        help="the vesk binary measured (default: build/cli/vesk)")
    parser.add_argument("--baseline", help="a second vesk binary, measured side by side")
    parser.add_argument("--targets", default=str(ROOT / "data/targets/*.txt"),
                        help="a glob of target files (default: the whole zoo)")
    parser.add_argument("--times", type=parse_times, default=[0.5, 2.0],
                        help="seconds a search, comma-separated (default 0.5,2)")
    parser.add_argument("--seeds", type=parse_seeds, default=parse_seeds("1-5"),
                        help="seeds, like 1-5 or 1,3,7 (default 1-5)")
    parser.add_argument("--blocks", type=int, default=16, help="blocks a pattern (default 16)")
    parser.add_argument("--json", metavar="OUT", help="also write every run and the summary here")
    parser.add_argument("--self-check", action="store_true",
                        help="check the parsing and the summary on known numbers, then stop")
    args = parser.parse_args()
    if args.self_check:
        self_check()
        return 0

    binaries = {"new": args.vesk}
    if args.baseline:
        binaries["baseline"] = args.baseline
    for path in binaries.values():
        if not os.access(path, os.X_OK):
            raise SystemExit(f"zoo_quality: {path} is not an executable")
    cases = [Case(REFERENCE, ("-n", str(REFERENCE_ELEMENTS)))] + zoo_cases(args.targets)

    host = machine()
    print(f"machine: {host['model']}, {host['cpus']} CPUs ({host['cores_per_socket']} cores a "
          f"socket, {host['threads_per_core']} thread(s) a core); load average at start "
          + " ".join(f"{x:.2f}" for x in host["load_at_start"]))
    for name, path in binaries.items():
        print(f"{name}: {path}")
    print(f"{len(cases) - 1} zoo targets and the reference, {args.blocks} blocks")
    sys.stdout.flush()

    problems = Problems()
    runs = measure(cases, binaries, args.times, args.seeds, args.blocks, problems)
    host["load_at_end"] = os.getloadavg()
    summary = summarize(runs, list(binaries), args.times)
    report(summary, cases, binaries, args.times, args.seeds)
    print("load average at end " + " ".join(f"{x:.2f}" for x in host["load_at_end"]))

    if args.json:
        out = {
            "machine": host,
            "binaries": binaries,
            "settings": {"times": args.times, "seeds": args.seeds, "blocks": args.blocks,
                         "targets": [c.name for c in cases]},
            "runs": [vars(r) for r in runs],
            "summary": [{"binary": b, "seconds": t, **s} for (b, t), s in summary.items()],
            "problems": problems.lines,
        }
        pathlib.Path(args.json).write_text(json.dumps(out, indent=1) + "\n")
    if problems.lines:
        print(f"\nzoo_quality: {len(problems.lines)} PROBLEMS (see standard error); the figures "
              "above leave those runs out", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
