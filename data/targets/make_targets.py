#!/usr/bin/python3
"""Makes the target zoo: fuzzy sets of many characters for judging how well vesk evolve fits.

Every target is written as plain degrees (whole numbers 0..100), one a line, to NAME-SIZE.txt
beside this script, which is what "vesk evolve --target FILE" and "vesk score --target FILE"
read. The targets of the small sizes go also, one a line in the zoo's order, to
zoo-small.targets, which is what "vesk evolve --targets FILE" and vesk.read_targets read. The shapes are drawn from fixed seeds with the standard library alone, so the files come
out byte for byte the same on every run:

    /usr/bin/python3 data/targets/make_targets.py          # rewrite the files
    /usr/bin/python3 data/targets/make_targets.py --check  # exit 1 if a file differs or is extra
"""

import argparse
import math
import pathlib
import random
import sys

HERE = pathlib.Path(__file__).resolve().parent

# Every size the zoo covers holds at least this many targets, so that no size rests on one shape.
SIZES = (50, 100, 500, 2048)
TARGETS_PER_SIZE = 3
# The sizes whose targets are also written together, one a line: quick to fit many at once.
SMALL_SIZES = (50, 100)
SMALL_FILE = "zoo-small.targets"


def degree(value):
    """The whole degree nearest value (halves up), held to 0..100."""
    return min(100, max(0, math.floor(value + 0.5)))


def positions(n):
    """n evenly spaced positions from 0 to 1, both ends included."""
    return [i / (n - 1) for i in range(n)]


def bump(x, centre, width):
    """A Gaussian bump of height 1."""
    return math.exp(-0.5 * ((x - centre) / width) ** 2)


def logistic(x, centre, width):
    return 1 / (1 + math.exp(-(x - centre) / width))


def triangle(n):
    """An asymmetric triangle: feet at 0.15 and 0.9, the peak at 0.55."""
    return [
        100 * max(0.0, min((x - 0.15) / 0.40, (0.9 - x) / 0.35)) for x in positions(n)
    ]


def trapezoid(n):
    """Feet at 0.1 and 0.9, a flat top of full membership from 0.35 to 0.6."""
    return [
        100 * max(0.0, min(1.0, (x - 0.1) / 0.25, (0.9 - x) / 0.3)) for x in positions(n)
    ]


def gaussian(n):
    return [100 * bump(x, 0.5, 0.12) for x in positions(n)]


def sigmoid(n):
    """An S-shaped shoulder: membership grows from near 0 to near 100 around 0.6."""
    return [100 * logistic(x, 0.6, 0.07) for x in positions(n)]


def ramp(n):
    """An open shoulder: 0 up to 0.25, a straight rise to 100 at 0.75, then 100."""
    return [100 * min(1.0, max(0.0, (x - 0.25) / 0.5)) for x in positions(n)]


def plateau(n):
    """A plateau at 70 from 0.3 to 0.7 on a floor of 10, with steep smooth sides."""
    return [
        10 + 60 * logistic(x, 0.3, 0.008) * logistic(-x, -0.7, 0.008) for x in positions(n)
    ]


def sawtooth(n, teeth):
    """teeth rises from 0 to 100, each ending in a drop."""
    return [100 * ((i * teeth / n) % 1.0) for i in range(n)]


def stairs(n, levels):
    """Flat steps through the given levels, as near equal in width as n allows."""
    return [levels[i * len(levels) // n] for i in range(n)]


def uneven_stairs(n, rng, steps):
    """Steps of random widths and levels, the way a quantised signal looks."""
    cuts = sorted(rng.sample(range(1, n), steps - 1))
    levels = [rng.randrange(0, 101) for _ in range(steps)]
    bounds = [0] + cuts + [n]
    out = []
    for k in range(steps):
        out += [levels[k]] * (bounds[k + 1] - bounds[k])
    return out


def spikes(n, rng, count, widest):
    """A zero set with count narrow spikes (1..widest elements) of random heights."""
    out = [0.0] * n
    for at in rng.sample(range(n), count):
        height = rng.randrange(30, 101)
        for k in range(at, min(n, at + rng.randrange(1, widest + 1))):
            out[k] = height
    return out


def two_bumps(n):
    return [
        90 * bump(x, 0.3, 0.08) + 60 * bump(x, 0.72, 0.12) for x in positions(n)
    ]


def many_bumps(n, rng, count):
    """Overlapping Gaussian bumps of random places, widths and heights."""
    shapes = [
        (rng.uniform(0.05, 0.95), rng.uniform(0.01, 0.08), rng.uniform(30, 90))
        for _ in range(count)
    ]
    return [sum(h * bump(x, c, w) for c, w, h in shapes) for x in positions(n)]


def noisy_sine(n, rng):
    """One and a half waves of a sine with noise; the crests are clipped at 0 and 100."""
    return [
        50 + 55 * math.sin(2 * math.pi * 1.5 * x) + rng.gauss(0, 8) for x in positions(n)
    ]


def noisy_gaussian(n, rng):
    return [10 + 75 * bump(x, 0.4, 0.15) + rng.gauss(0, 6) for x in positions(n)]


def measurement(n, rng):
    """A sampled sensor series: slow drift (a first-order autoregression), a daily cycle, noise
    and a few dropouts to zero, scaled into 5..95."""
    drift, raw = 0.0, []
    for i in range(n):
        drift = 0.995 * drift + rng.gauss(0, 0.08)
        raw.append(drift + 0.6 * math.sin(2 * math.pi * i / 256) + rng.gauss(0, 0.12))
    low, high = min(raw), max(raw)
    out = [5 + 90 * (v - low) / (high - low) for v in raw]
    for at in rng.sample(range(n), 6):
        for k in range(at, min(n, at + rng.randrange(2, 9))):
            out[k] = 0
    return out


def zoo():
    """Each target's file name and degrees, in a fixed order. Every noisy or random target has
    its own seed, so changing one leaves the others as they are."""
    return {
        "triangle-50": triangle(50),
        "stairs-50": stairs(50, [10, 30, 55, 85, 100, 70, 40, 15]),
        "spikes-50": spikes(50, random.Random(5001), 6, 1),
        "sigmoid-50": sigmoid(50),
        "gaussian-100": gaussian(100),
        "trapezoid-100": trapezoid(100),
        "sawtooth-100": sawtooth(100, 4),
        "noisy-sine-100": noisy_sine(100, random.Random(1001)),
        "plateau-500": plateau(500),
        "two-bumps-500": two_bumps(500),
        "ramp-500": ramp(500),
        "noisy-gaussian-500": noisy_gaussian(500, random.Random(5002)),
        "measurement-2048": measurement(2048, random.Random(2048)),
        "stairs-2048": uneven_stairs(2048, random.Random(2049), 12),
        "spikes-2048": spikes(2048, random.Random(2050), 25, 3),
        "bumps-2048": many_bumps(2048, random.Random(2051), 6),
    }


def file_texts():
    """Each file's name and text, checked against what the zoo promises: a file a target, and
    SMALL_FILE holding the targets of SMALL_SIZES, one a line in the zoo's order."""
    texts, per_size, small_lines = {}, {size: 0 for size in SIZES}, []
    for name, values in zoo().items():
        size = int(name.rsplit("-", 1)[1])
        if size not in per_size or len(values) != size:
            raise AssertionError(f"{name} has {len(values)} degrees")
        per_size[size] += 1
        texts[f"{name}.txt"] = "".join(f"{degree(v)}\n" for v in values)
        if size in SMALL_SIZES:
            small_lines.append(" ".join(str(degree(v)) for v in values) + "\n")
    texts[SMALL_FILE] = "".join(small_lines)
    thin = [size for size, count in per_size.items() if count < TARGETS_PER_SIZE]
    if thin:
        raise AssertionError(f"fewer than {TARGETS_PER_SIZE} targets of size {thin}")
    return texts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument(
        "--check",
        action="store_true",
        help="write nothing; exit 1 if a file differs from what this script makes",
    )
    args = parser.parse_args()
    texts = file_texts()
    if not args.check:
        for name, text in texts.items():
            (HERE / name).write_text(text)
        print(f"wrote {len(texts)} files to {HERE}")
        return 0
    wrong = [n for n, t in texts.items() if not (HERE / n).is_file() or (HERE / n).read_text() != t]
    made = [*HERE.glob("*.txt"), *HERE.glob("*.targets")]
    extra = sorted(p.name for p in made if p.name not in texts)
    for name in wrong:
        print(f"{name}: differs from what make_targets.py makes", file=sys.stderr)
    for name in extra:
        print(f"{name}: not made by make_targets.py", file=sys.stderr)
    if wrong or extra:
        return 1
    print(f"all {len(texts)} files are as make_targets.py makes them")
    return 0


if __name__ == "__main__":
    sys.exit(main())
