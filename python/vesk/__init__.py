"""The Vesk workbench's exact core and pattern search, as the ``vesk`` tool offers them.

A pattern is a text of 1 to 32 groups of five hexadecimal digits, each group a fuzzy block;
projected onto ``n`` elements it is a discrete fuzzy set, a list of degrees 0..100. Degree
lists are NumPy int32 arrays, and every figure is the tool's, to the last bit.

Faults of the arithmetic raise :class:`FloatingPointFault` (a ``FloatingPointError``) with the
program's own message; usage mistakes raise ``ValueError`` or ``TypeError`` in the tool's
words, and files that cannot be read the ``OSError`` the system gives.

>>> import vesk
>>> vesk.project("AF6553666D22533E1571", n=8)
array([50, 50, 50, 50, 50, 50, 50, 50], dtype=int32)
"""

from __future__ import annotations

import os
from typing import Any, Iterable, Sequence, Union

import numpy as np
import numpy.typing as npt

from . import _core
from ._core import (
    COLOURS,
    MAX_BLOCKS,
    MAX_ELEMENTS,
    MAX_TARGET_ELEMENTS,
    SWEEP_ELEMENTS,
    FloatingPointFault,
    __version__,
)
from ._evolve import evolve
from ._result import FitResult

# Shown, pickled and doctested as vesk's own.
FitResult.__module__ = evolve.__module__ = __name__

#: A set's degrees, 0..100 an element.
Degrees = npt.NDArray[np.int32]
#: Codes as the tool writes them ("0-7,12") or as whole numbers.
CodeList = Union[str, Iterable[int]]

__all__ = [
    "COLOURS", "MAX_BLOCKS", "MAX_ELEMENTS", "MAX_TARGET_ELEMENTS", "SWEEP_ELEMENTS",
    "CodeList", "Degrees", "FitResult", "FloatingPointFault", "__version__", "describe",
    "evolve", "project", "project_many", "read_targets", "reference", "score", "shape",
    "sweep", "sweep_message", "target_seed",
]


def reference(n: int = 100) -> Degrees:
    """The built-in reference set, as ``vesk reference N`` prints it.

    Parameters
    ----------
    n : int, default 100
        Its element count, 0..MAX_ELEMENTS.

    Returns
    -------
    numpy.ndarray
        n degrees (int32).

    Raises
    ------
    FloatingPointFault
        For the counts whose reference the arithmetic cannot build (2..9).
    ValueError
        When n is out of range.

    Examples
    --------
    >>> vesk.reference(10)
    array([ 33,  33,  33, 100,  50,  27, 100,  66,  66,  66], dtype=int32)
    """
    return _core.reference(n)


def project(hex: str, n: int = 100) -> Degrees:
    """A pattern projected onto n elements, as ``vesk project HEX N`` prints it.

    Parameters
    ----------
    hex : str
        The pattern text.
    n : int, default 100
        The element count, 0..MAX_ELEMENTS.

    Returns
    -------
    numpy.ndarray
        n degrees (int32).

    Raises
    ------
    ValueError
        When hex is not a pattern text or n is out of range.

    Examples
    --------
    >>> vesk.project("77467C422E8C46887454", n=6)
    array([50, 90, 70, 50, 50, 50], dtype=int32)
    """
    return _core.project(hex, n)


def project_many(patterns: Sequence[str], n: int = 100, *, jobs: int = 0) -> npt.NDArray[np.int32]:
    """Many patterns projected onto n elements, one row each.

    The projections run on ``jobs`` threads with the interpreter's lock released.

    Parameters
    ----------
    patterns : sequence of str
        The pattern texts.
    n : int, default 100
        The element count, 0..MAX_ELEMENTS.
    jobs : int, default 0
        Threads to use; 0 for every hardware thread.

    Returns
    -------
    numpy.ndarray
        An int32 array of shape ``(len(patterns), n)``; row i is ``project(patterns[i], n)``.

    Raises
    ------
    ValueError
        Naming the first text that is not a pattern (``patterns[3]: ...``).

    Examples
    --------
    >>> vesk.project_many(["AF655", "77467C422E8C46887454"], n=4)
    array([[50, 33, 50,  0],
           [50,  0,  0, 50]], dtype=int32)
    """
    return _core.project_many(patterns, n, jobs)


def shape(code: int, width: int) -> Degrees:
    """The degrees of one shape over elements 0..width, as ``vesk shape CODE W`` prints them.

    Parameters
    ----------
    code : int
        The shape code, 0..17.
    width : int
        The last element, 0..MAX_ELEMENTS - 1.

    Returns
    -------
    numpy.ndarray
        width + 1 degrees (int32).

    Examples
    --------
    >>> vesk.shape(1, 4)
    array([100,  75,  50,  25,   0], dtype=int32)
    """
    return _core.shape(code, width)


def score(patterns: Sequence[str], n: int | None = None, target: npt.ArrayLike | None = None,
          *, jobs: int = 0, errors: str = "raise") -> tuple[Any, ...]:
    """Each pattern's fitness and Hamming distance, as ``vesk score --format csv`` gives them.

    Scored against the reference of n elements, or against an own target, where the fitness is
    what the agent's rule gives for that distance. The work runs on ``jobs`` threads with the
    interpreter's lock released.

    Parameters
    ----------
    patterns : sequence of str
        The pattern texts.
    n : int, optional
        The reference's element count, 0..MAX_ELEMENTS (100 when neither n nor target is given).
    target : array_like, optional
        An own target: whole numbers 0..100, at most MAX_TARGET_ELEMENTS.
    jobs : int, default 0
        Threads to use; 0 for every hardware thread.
    errors : {"raise", "mask"}, default "raise"
        What a pattern that cannot be scored does: ``"raise"`` raises naming its index;
        ``"mask"`` scores it -1 with a NaN distance and lists its index.

    Returns
    -------
    fitness : numpy.ndarray
        int32, one a pattern, in input order.
    distance : numpy.ndarray
        float64, one a pattern.
    bad : numpy.ndarray
        Only with ``errors="mask"``: the indices of the patterns that could not be scored.

    Raises
    ------
    ValueError
        Naming the first text that is not a pattern (``patterns[1]: ...``), with ``"raise"``.
    FloatingPointFault
        Whose ``index`` names the first pattern that faulted (0 when the reference of n
        elements itself faults), with ``"raise"``.

    Examples
    --------
    >>> vesk.score(["77467C422E8C46887454", "AF6553666D22533E1571"])
    (array([17, 21], dtype=int32), array([28.94, 23.99]))
    >>> vesk.score(["AF655", "not a pattern"], errors="mask")
    (array([18, -1], dtype=int32), array([28.56,   nan]), array([1]))
    """
    if errors not in ("raise", "mask"):
        raise ValueError(f"errors: {errors!r} is not one of raise, mask")
    return _core.score(patterns, n, target, jobs, errors == "mask")


def describe(hex: str, n: int = 100) -> list[dict[str, Any]]:
    """The blocks of a pattern text in words, as ``vesk describe --format json`` lists them.

    Any text whose length is a multiple of 5 is described; groups that are not blocks read as
    00000.

    Parameters
    ----------
    hex : str
        The pattern text.
    n : int, default 100
        The element count the blocks are placed on, 1..MAX_ELEMENTS.

    Returns
    -------
    list of dict
        One a block: index, digits, shape, shape_name, centre, spread, repeats, op, op_name,
        first and last (the elements it covers; None when dropped), zeroed and dropped.

    Examples
    --------
    >>> block = vesk.describe("AF655")[0]
    >>> block["shape_name"], block["op_name"], block["first"], block["last"]
    ('double ramp', 'complement of maximum', 54, 99)
    """
    return _core.describe(hex, n)


def sweep(hex: str) -> Degrees:
    """The pattern's fitness at SWEEP_ELEMENTS (100, 500, 1000 and 5000 elements).

    The numbers the workbench's "Fitness" command shows; :func:`sweep_message` gives its
    message.

    Parameters
    ----------
    hex : str
        The pattern text.

    Returns
    -------
    numpy.ndarray
        Four fitness values (int32).

    Raises
    ------
    FloatingPointFault
        When the arithmetic faults on one of the counts.

    Examples
    --------
    >>> vesk.sweep("AF6553666D22533E1571")
    array([21, 23, 23, 23], dtype=int32)
    """
    return _core.sweep(hex)[0]


def sweep_message(hex: str) -> str:
    """The "Fitness" command's message for the pattern, as ``vesk sweep HEX`` prints it.

    Examples
    --------
    >>> vesk.sweep_message("AF6553666D22533E1571")
    'Fitness (100, 500, 1000, 5000):    21,   23,   23,   23'
    """
    return _core.sweep(hex)[1]


def read_targets(path: Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
                 ) -> list[tuple[int, Degrees]]:
    """The targets of a file holding one a line, as ``vesk evolve --targets`` reads them.

    Degrees are separated by blanks or commas, or written as a JSON array; blank lines are
    skipped.

    Parameters
    ----------
    path : str, bytes or os.PathLike
        The file.

    Returns
    -------
    list of (int, numpy.ndarray)
        Each target with its line number.

    Raises
    ------
    ValueError
        Naming the first line that is not a target.
    OSError
        As the system gives it: FileNotFoundError, IsADirectoryError, PermissionError, ...

    Examples
    --------
    >>> vesk.read_targets("/nonexistent")
    Traceback (most recent call last):
    FileNotFoundError: [Errno 2] No such file or directory: '/nonexistent'
    """
    return _core.read_targets(path)


def target_seed(seed: int, line: int) -> int:
    """The seed ``vesk evolve --targets --seed SEED`` searches the target on a line with.

    ``evolve(target, seed=target_seed(seed, line))`` with the same budget gives the same
    answer as the tool gives for that line.

    Examples
    --------
    >>> vesk.target_seed(1, 1) == vesk.target_seed(1, 1) != vesk.target_seed(1, 2)
    True
    """
    return _core.target_seed(seed, line)
