"""vesk.evolve: the search of ``vesk evolve``, its options as keyword-only arguments.

The options, their kinds and their help come from the search's own table, so the signature
and the documentation list what the tool takes, in the order its help lists it.
"""

from __future__ import annotations

import inspect
import textwrap
from typing import Any

from . import _core
from ._result import FitResult

# (key, kind, help) of each search option the module takes, in the tool's order.
_OPTIONS = _core.evolve_options()
_PROGRESS_FIELDS = "evaluations, best, mean_distance, hex, seconds, evaluations_per_second"


def _parameters() -> list[inspect.Parameter]:
    keyword = inspect.Parameter.KEYWORD_ONLY
    parameters = [
        inspect.Parameter("target", inspect.Parameter.POSITIONAL_OR_KEYWORD, default=None,
                          annotation="ArrayLike | None"),
        inspect.Parameter("n", keyword, default=None, annotation="int | None"),
    ]
    for key, kind, _ in _OPTIONS:
        default = False if kind == "bool" else None
        annotation = kind if kind == "bool" else f"{kind} | None"
        parameters.append(inspect.Parameter(key, keyword, default=default, annotation=annotation))
    parameters.append(inspect.Parameter(
        "progress", keyword, default=None,
        annotation="Callable[[dict[str, Any]], object] | None"))
    return parameters


def _entry(name: str, kind: str, text: str) -> str:
    return f"{name} : {kind}\n" + textwrap.fill(text, 88, initial_indent="    ",
                                                subsequent_indent="    ") + "\n"


def _doc() -> str:
    entries = [
        _entry("target", "array_like, optional",
               "The target's degrees: whole numbers 0..100, at most "
               f"{_core.MAX_TARGET_ELEMENTS}. None for the built-in reference of n elements."),
        _entry("n", "int, optional",
               f"The reference's element count, 1..{_core.MAX_ELEMENTS} (default 100; not with "
               "target)."),
    ]
    for key, kind, text in _OPTIONS:
        shown = {"CodeList": "str or list of int, optional", "bool": "bool, default False"}.get(
            kind, f"{kind}, optional")
        entries.append(_entry(key, shown, text[:1].upper() + text[1:] + "."))
    entries.append(_entry(
        "progress", "callable, optional",
        "Called with a dict after every round and at least every half second: "
        f"{_PROGRESS_FIELDS}. An exception it raises ends the search and goes on."))
    return f"""Search for the pattern that comes closest to a target set, as ``vesk evolve`` does.

Without evaluations the search spends {_core.EVOLVE_BUDGET} evaluations; with seconds or
distance it has no evaluation limit but those. Whichever limit comes first ends the search.
The same settings and evaluation budget give the same pattern on every run; a run bounded by
time may differ with the machine's speed. The interpreter's lock is released while the search
runs.

Parameters
----------
{"".join(entries)}
Returns
-------
FitResult
    The fields of ``vesk evolve``'s JSON: hex, blocks, elements, target ("reference" or
    "array"), objective, distance, mean_distance and fitness (as score gives them), sweep (the
    built-in reference only), evaluations, seconds, evaluations_per_second, algorithm,
    islands, seed, stopped, and with pareto the front.

Raises
------
KeyboardInterrupt
    On Ctrl-C, within half a second, with the best so far as its ``result`` attribute (an
    exception the progress callback raises carries it likewise).
ValueError, TypeError
    For usage mistakes, in the tool's words.

Examples
--------
>>> target = [0, 10, 30, 70, 90, 100, 100, 40]
>>> fit = vesk.evolve(target, blocks=2, evaluations=1000, islands=1, seed=3)
>>> fit.hex, fit["fitness"], fit.stopped
('6225D82502', 27, 'evaluations')
>>> fit.degrees()
array([50, 35, 28, 43, 93, 78, 89, 50], dtype=int32)
>>> vesk.score([fit.hex], target=target)[1][0] == fit.distance
True
"""


_SIGNATURE = inspect.Signature(_parameters(), return_annotation="FitResult")


def evolve(target: Any = None, **options: Any) -> FitResult:
    _SIGNATURE.bind(target, **options)  # unknown or positional options raise TypeError here
    try:
        answer = _core.evolve(target, **options)
    except BaseException as stopped:
        partial = getattr(stopped, "result", None)
        if isinstance(partial, dict):
            stopped.result = FitResult(partial, target=target)  # type: ignore[attr-defined]
        raise
    return FitResult(answer, target=target)


evolve.__signature__ = _SIGNATURE  # type: ignore[attr-defined]
evolve.__doc__ = _doc()
