#!/usr/bin/python3
"""Fit every target of a file with vesk.evolve, in parallel on a Dask cluster.

The file holds one target a line, as "vesk evolve --targets" reads it (degrees separated by
blanks or commas, or a JSON array; blank lines are skipped). Each target is searched with the
seed "vesk evolve --targets" would give its line, so every answer can be had again alone:

    vesk.evolve(target, seed=vesk.target_seed(SEED, LINE), evaluations=..., islands=...)

The answers go to standard output (or --output), one JSON object a target in the file's order,
each naming its target as FILE:LINE, as "vesk evolve --targets" prints them.

By default the work runs on a LocalCluster of this machine (--workers processes of one thread
each); with --scheduler ADDRESS, on the cluster whose scheduler listens there (each worker
must be able to import vesk).

    ./examples/fit_many.py targets.txt --evaluations 200000 > fits.jsonl
    ./examples/fit_many.py targets.txt --scheduler tcp://10.0.0.5:8786
"""

import argparse
import json
import sys

import dask.bag
import vesk
from distributed import Client, LocalCluster


def fit(task):
    """One target's search, on whichever worker the bag sends it to."""
    import vesk  # imported again in the worker's process

    name, line, degrees, options = task
    answer = vesk.evolve(degrees, seed=vesk.target_seed(options.pop("seed"), line), **options)
    answer["target"] = f"{name}:{line}"
    return answer


def fit_all(path, client, seed=1, **options):
    """The answers for every target of the file at path, in the file's order."""
    tasks = [(str(path), line, degrees, dict(options, seed=seed))
             for line, degrees in vesk.read_targets(path)]
    bag = dask.bag.from_sequence(tasks, npartitions=max(1, len(tasks)))
    return bag.map(fit).compute(scheduler=client.get)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("targets", help="the file of targets, one a line")
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
    args = parser.parse_args(argv)

    options = {"islands": args.islands}
    if args.evaluations is not None:
        options["evaluations"] = args.evaluations
    if args.blocks is not None:
        options["blocks"] = args.blocks
    try:
        if args.scheduler:
            client = Client(args.scheduler)
            cluster = None
        else:
            cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1,
                                   dashboard_address=None)
            client = Client(cluster)
        try:
            answers = fit_all(args.targets, client, seed=args.seed, **options)
        finally:
            client.close()
            if cluster is not None:
                cluster.close()
    except (ValueError, TypeError) as error:
        print(f"fit_many.py: {error}", file=sys.stderr)
        return 2
    text = "".join(json.dumps(answer) + "\n" for answer in answers)
    if args.output:
        with open(args.output, "w", encoding="utf-8") as stream:
            stream.write(text)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
