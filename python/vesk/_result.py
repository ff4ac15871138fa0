"""FitResult: what vesk.evolve found, a dict with attribute access."""

from __future__ import annotations

import html
from typing import Any, Mapping

import numpy as np

from . import _core


class FitResult(dict):  # type: ignore[type-arg]
    """The answer of :func:`vesk.evolve`: the fields of ``vesk evolve``'s JSON.

    A dict whose keys are also attributes (``fit["hex"]`` and ``fit.hex``), with the fitted
    projection and a plot of it at hand. It pickles and converts to JSON as a dict does.
    """

    def __init__(self, fields: Mapping[str, Any] | None = None, *, target: Any = None) -> None:
        super().__init__(fields or {})
        # The own target's degrees, for the plot; None for the built-in reference.
        object.__setattr__(self, "_target", None if target is None else np.asarray(target))

    def __getattr__(self, name: str) -> Any:
        try:
            return self[name]
        except KeyError as missing:
            raise AttributeError(name) from missing

    def __setattr__(self, name: str, value: Any) -> None:
        self[name] = value

    def __delattr__(self, name: str) -> None:
        try:
            del self[name]
        except KeyError as missing:
            raise AttributeError(name) from missing

    def __dir__(self) -> list[str]:
        return sorted(set(super().__dir__()) | set(self.keys()))

    def _shown(self) -> list[tuple[str, str]]:
        rows = []
        for key, value in self.items():
            if key == "front" and isinstance(value, list):
                text = f"[{len(value)} patterns]"
            elif isinstance(value, float):
                text = f"{value:.6g}"
            else:
                text = str(value)
            rows.append((key, text))
        return rows

    def __repr__(self) -> str:
        if not self:
            return f"{type(self).__name__}()"
        width = max(len(key) for key in self)
        return "\n".join(f"{key.rjust(width)}: {text}" for key, text in self._shown())

    def _repr_html_(self) -> str:
        rows = "".join(f"<tr><th style='text-align:right'>{html.escape(key)}</th>"
                       f"<td style='text-align:left'><code>{html.escape(text)}</code></td></tr>"
                       for key, text in self._shown())
        return f"<table><caption>{type(self).__name__}</caption>{rows}</table>"

    def degrees(self) -> np.ndarray:  # type: ignore[type-arg]
        """The fitted pattern projected onto the target's elements (int32)."""
        return _core.project(self["hex"], self["elements"])

    def target_degrees(self) -> np.ndarray:  # type: ignore[type-arg]
        """The target searched for: the own target, or the reference of as many elements."""
        own = object.__getattribute__(self, "_target")
        return own if own is not None else _core.reference(self["elements"])

    def plot(self, ax: Any = None, *, reference: bool = True) -> Any:
        """Draws the target, the fit and the reference as the workbench colours them.

        Parameters
        ----------
        ax : matplotlib.axes.Axes, optional
            Where to draw; the current axes when None. matplotlib is imported only here.
        reference : bool, default True
            Whether to draw the built-in reference beside an own target, as the window does
            (a fit to the reference draws it as its target either way).

        Returns
        -------
        matplotlib.axes.Axes
        """
        if ax is None:
            import matplotlib.pyplot as plt  # type: ignore[import]

            ax = plt.gca()
        elements = np.arange(self["elements"])
        own = object.__getattribute__(self, "_target")
        try:
            drawn = _core.reference(self["elements"]) if reference or own is None else None
        except _core.FloatingPointFault:
            drawn = None  # counts whose reference faults have none to draw
        if drawn is not None:
            ax.plot(elements, drawn, color=_core.COLOURS["reference"], label="reference")
        if own is not None:
            ax.plot(elements, own, color=_core.COLOURS["target"], label="target")
        ax.plot(elements, self.degrees(), color=_core.COLOURS["pattern"],
                label=f"pattern ({self['blocks']} blocks)")
        ax.set_xlabel("element")
        ax.set_ylabel("degree")
        ax.set_ylim(-2, 102)
        ax.legend(loc="best")
        return ax
