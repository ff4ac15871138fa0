#!/usr/bin/python3
"""Fit every target of a file with vesk.evolve, in parallel on a Dask cluster.

The file holds one target a line, as "vesk evolve --targets" reads it (degrees separated by
blanks or commas, or a JSON array; blank lines are skipped); without one, the zoo's small
targets (data/targets/zoo-small.targets). Each target is searched with the seed
"vesk evolve --targets" would give its line, so every answer can be had again alone:

    vesk.evolve(target, seed=vesk.target_seed(SEED, LINE), evaluations=..., islands=...)

The answers go to standard output (or --output), one JSON object a target in the file's order,
each naming its target as FILE:LINE, as "vesk evolve --targets" prints them. While the targets
are fitted, standard error shows how many are done and the time taken; with --plot FILE.png a
grid of the fits, one small chart a target, is drawn there too.

By default the work runs on a LocalCluster of this machine (--workers processes of one thread
each); with --scheduler ADDRESS, on the cluster whose scheduler listens there (each worker
must be able to import vesk).

    ./examples/fit_many.py --plot fits.png > fits.jsonl
    ./examples/fit_many.py targets.txt --evaluations 200000 > fits.jsonl
    ./examples/fit_many.py targets.txt --scheduler tcp://10.0.0.5:8786
"""

import argparse
import json
import math
import os
import sys
import time
from pathlib import Path

import vesk
from distributed import Client, LocalCluster, as_completed

SHIPPED_TARGETS = Path(__file__).resolve().parents[1] / "data" / "targets" / "zoo-small.targets"


def fit(name, line, degrees, seed, options):
    """One target's search, on whichever worker the client sends it to."""
    import vesk  # imported again in the worker's process

    answer = vesk.evolve(degrees, seed=vesk.target_seed(seed, line), **options)
    answer["target"] = f"{name}:{line}"
    return answer


def show_progress(done, total, seconds, stream=sys.stderr):
    """A line "3/8 targets, 4.2 s": rewritten in place on a terminal, a line each elsewhere."""
    text = f"fit_many.py: {done}/{total} targets, {seconds:.1f} s"
    if stream.isatty():
        stream.write("\r" + text + ("\n" if done == total else ""))
    else:
        stream.write(text + "\n")
    stream.flush()


def fit_all(name, targets, client, seed=1, progress=None, **options):
    """The answers (FitResults) for the targets vesk.read_targets read from the file name, in
    the file's order.

    progress, when given, is called as progress(done, total, seconds) once the work is sent
    and after each target is done, in the order they finish.
    """
    started = time.monotonic()
    futures = [client.submit(fit, str(name), line, degrees, seed, options, pure=False)
               for line, degrees in targets]
    if progress:
        progress(0, len(futures), 0.0)
    for done, future in enumerate(as_completed(futures), start=1):
        future.result()  # a failed search raises here, before the rest are waited for
        if progress:
            progress(done, len(futures), time.monotonic() - started)
    return [future.result() for future in futures]


def draw_grid(fits, columns=4):
    """A figure of the fits, one small chart a target titled FILE:LINE and its mean distance.
    Drawn without pyplot, so no display is needed."""
    from matplotlib.figure import Figure

    columns = min(columns, len(fits))
    rows = math.ceil(len(fits) / columns)
    figure = Figure(figsize=(3.3 * columns, 2.5 * rows), layout="constrained")
    axes = figure.subplots(rows, columns, squeeze=False)
    for at, answer in enumerate(fits):
        ax = axes.flat[at]
        answer.plot(ax, reference=False)
        ax.set_title(f"{Path(answer.target).name}  mean distance {answer.mean_distance:.3f}",
                     fontsize="medium")
        if at:
            ax.get_legend().remove()  # the first chart's legend names the curves of all
        else:
            ax.legend(fontsize="small", loc="best")
        if at % columns:
            ax.set_ylabel("")
        if at + columns < len(fits):
            ax.set_xlabel("")
    for ax in axes.flat[len(fits):]:
        figure.delaxes(ax)
    return figure


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("targets", nargs="?", default=str(SHIPPED_TARGETS),
                        help="the file of targets, one a line (default: the zoo's small "
                             "targets, %(default)s)")
    parser.add_argument("--scheduler", help="a Dask scheduler's address (default: a LocalCluster)")
    parser.add_argument("--workers", type=int, default=2,
                        help="the LocalCluster's worker processes (default 2)")
    parser.add_argument("--seed", type=int, default=1, help="as vesk evolve --seed (default 1)")
    parser.add_argument("--evaluations", type=int, default=None,
                        help="each target's evaluation budget (default: vesk evolve's)")
    parser.add_argument("--blocks", type=int, default=None, help="blocks of each pattern")
    parser.add_argument("--islands", type=int, default=1,
                        help="islands (threads) each search runs (default 1: the workers are "
                             "the parallelism)")
    parser.add_argument("--output", help="write the answers here instead of standard output")
    parser.add_argument("--plot", metavar="FILE.png",
                        help="also draw the fits into this picture, a small chart each")
    args = parser.parse_args(argv)

    options = {"islands": args.islands}
    if args.evaluations is not None:
        options["evaluations"] = args.evaluations
    if args.blocks is not None:
        options["blocks"] = args.blocks
    try:
        targets = vesk.read_targets(args.targets)  # a bad file is named before a cluster starts
        if args.scheduler:
            client = Client(args.scheduler)
            cluster = None
        else:
            cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1,
                                   dashboard_address=None)
            client = Client(cluster)
        try:
            answers = fit_all(args.targets, targets, client, seed=args.seed,
                              progress=show_progress, **options)
        finally:
            client.close()
            if cluster is not None:
                cluster.close()
    except (ValueError, TypeError, OSError) as error:
        print(f"fit_many.py: {error}", file=sys.stderr)
        return 2
    text = "".join(json.dumps(answer) + "\n" for answer in answers)
    if args.output:
        with open(args.output, "w", encoding="utf-8") as stream:
            stream.write(text)
    else:
        sys.stdout.write(text)
    if args.plot and answers:
        draw_grid(answers).savefig(args.plot, dpi=100)
        print(f"fit_many.py: drew {len(answers)} fits into {os.fspath(args.plot)}",
              file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
