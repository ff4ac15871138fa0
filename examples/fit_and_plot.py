#!/usr/bin/python3
"""Fit a pattern to a target of one's own and plot both, as docs/python.md shows.

    PYTHONPATH=build/python ./examples/fit_and_plot.py docs/python-fit.png
"""

import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np
import vesk

# A membership curve of 200 elements: a plateau rising to a peak and falling off.
x = np.arange(200)
target = np.clip(np.round(60 * np.exp(-((x - 60) / 30) ** 2) + 90 * np.exp(-((x - 140) / 15) ** 2)),
                 0, 100).astype(int)

fit = vesk.evolve(target, blocks=16, evaluations=2_000_000, seed=1)
print(fit.hex, f"mean distance {fit.mean_distance:.4f}")

plt.figure(figsize=(8, 3.5))
fit.plot()
plt.title(f"mean distance {fit.mean_distance:.4f} an element")
plt.tight_layout()
plt.savefig(sys.argv[1] if len(sys.argv) > 1 else "fit.png", dpi=100)
