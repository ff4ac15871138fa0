"""The Vesk workbench's exact core and pattern search, as the vesk tool offers them."""

import os
from typing import Any, Callable, Iterable, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

__version__: str
MAX_ELEMENTS: int
MAX_BLOCKS: int

Degrees = npt.NDArray[np.int32]
CodeList = Union[str, Iterable[int]]

class FloatingPointFault(FloatingPointError):
    """A fault of the arithmetic, with the program's own message."""

    index: int  # set by score: the first pattern that faulted

def reference(n: int = 100) -> Degrees: ...
def project(hex: str, n: int = 100) -> Degrees: ...
def shape(code: int, width: int) -> Degrees: ...
def score(
    patterns: Sequence[str],
    n: Optional[int] = None,
    target: Optional[npt.ArrayLike] = None,
    jobs: int = 0,
) -> tuple[npt.NDArray[np.int32], npt.NDArray[np.float64]]: ...
def describe(hex: str, n: int = 100) -> list[dict[str, Any]]: ...
def sweep(hex: str) -> str: ...
def evolve(
    target: Optional[npt.ArrayLike] = None,
    *,
    n: Optional[int] = None,
    blocks: Optional[int] = None,
    objective: str = "distance",
    pareto: bool = False,
    algorithm: Optional[str] = None,
    islands: Optional[int] = None,
    seed: int = 1,
    evaluations: Optional[int] = None,
    seconds: Optional[float] = None,
    distance: Optional[float] = None,
    start: Optional[str] = None,
    shapes: Optional[CodeList] = None,
    operators: Optional[CodeList] = None,
    progress: Optional[Callable[[dict[str, Any]], Any]] = None,
) -> dict[str, Any]: ...
def read_targets(path: Union[str, "os.PathLike[str]"]) -> list[tuple[int, Degrees]]: ...
def target_seed(seed: int, line: int) -> int: ...
