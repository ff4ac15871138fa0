#!/usr/bin/python3
"""Whether a search is as good whatever limits it was given: the anytime figures.

    bench/anytime_stops.py [--vesk build/cli/vesk] [--seeds 1-5] [--times 0.5,2,10]

1. Stop distances: for each stop distance D (0.05, 0.02, 0.015 on the reference of 100 elements
   with 16 blocks), the median over the seeds of the seconds "vesk evolve --distance D" takes
   with the default budget and with --evaluations 1e8, 1e9 and none, and each one's ratio to the
   default budget's (a search that ends at the budget before reaching D counts its time and is
   marked).
2. Stopped by hand: for each time t, a run with --seconds 1000 ended by SIGINT at t against a run
   with --seconds t: the median mean distance over the seeds of each, and their ratio.

Every search uses every core; run it on a quiet machine. Prints the machine first.
"""

import argparse
import json
import signal
import statistics
import subprocess
import time


def machine():
    model = "unknown"
    for line in subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines():
        if line.startswith("Model name:"):
            model = line.split(":", 1)[1].strip()
    cores = subprocess.run(["nproc"], capture_output=True, text=True).stdout.strip()
    return f"{model}, {cores} cores"


def seeds_of(text):
    if "-" in text:
        low, high = text.split("-")
        return list(range(int(low), int(high) + 1))
    return [int(s) for s in text.split(",")]


def evolve(vesk, args, interrupt_at=None):
    command = [vesk, "evolve", "-n", "100", "--blocks", "16", "-q"] + args
    if interrupt_at is None:
        return json.loads(subprocess.run(command, capture_output=True, text=True,
                                         check=True).stdout)
    process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    time.sleep(interrupt_at)
    process.send_signal(signal.SIGINT)
    out, _ = process.communicate()
    if process.returncode != 130:
        raise SystemExit(f"interrupted search exited with {process.returncode}")
    return json.loads(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vesk", default="build/cli/vesk")
    parser.add_argument("--seeds", default="1-5")
    parser.add_argument("--distances", default="0.05,0.02,0.015")
    parser.add_argument("--times", default="0.5,2,10")
    options = parser.parse_args()
    seeds = seeds_of(options.seeds)
    print(f"machine: {machine()}; vesk: {options.vesk}; seeds {options.seeds}")

    budgets = [("default", []), ("1e8", ["--evaluations", "100000000"]),
               ("1e9", ["--evaluations", "1000000000"]), ("none", [])]
    for distance in [float(d) for d in options.distances.split(",")]:
        medians = {}
        for name, extra in budgets:
            times, unreached = [], 0
            for seed in seeds:
                args = ["--distance", str(distance), "--seed", str(seed)] + extra
                if name == "default":
                    args += ["--evaluations", "5000000"]
                answer = evolve(options.vesk, args)
                times.append(answer["seconds"])
                unreached += answer["stopped"] != "distance"
            medians[name] = statistics.median(times)
            ratio = medians[name] / medians["default"]
            note = f" ({unreached} ended at the budget)" if unreached else ""
            print(f"distance {distance}: budget {name:8s} median {medians[name]:7.3f} s"
                  f"  x{ratio:.2f}{note}", flush=True)

    for t in [float(x) for x in options.times.split(",")]:
        stopped, planned = [], []
        for seed in seeds:
            stopped.append(evolve(options.vesk, ["--seconds", "1000", "--seed", str(seed)],
                                  interrupt_at=t)["mean_distance"])
            planned.append(evolve(options.vesk, ["--seconds", str(t), "--seed", str(seed)])
                           ["mean_distance"])
        a, b = statistics.median(stopped), statistics.median(planned)
        print(f"SIGINT at {t} s: median {a:.4f} (worst {max(stopped):.4f});"
              f" --seconds {t}: {b:.4f} (worst {max(planned):.4f}); ratio {a / b:.2f}",
              flush=True)


if __name__ == "__main__":
    main()
