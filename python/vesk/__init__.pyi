"""The Vesk workbench's exact core and pattern search, as the vesk tool offers them."""

import os
from typing import Any, Callable, Iterable, Literal, Mapping, Optional, Sequence, Union, overload

import numpy as np
import numpy.typing as npt

__version__: str
MAX_ELEMENTS: int
MAX_BLOCKS: int
MAX_TARGET_ELEMENTS: int
SWEEP_ELEMENTS: tuple[int, ...]
COLOURS: dict[str, str]

Degrees = npt.NDArray[np.int32]
CodeList = Union[str, Iterable[int]]

class FloatingPointFault(FloatingPointError):
    """A fault of the arithmetic, with the program's own message."""

    # score and project_many: the first pattern that faulted; None elsewhere.
    index: Optional[int]

class FitResult(dict[str, Any]):
    hex: str
    blocks: int
    elements: int
    target: str
    objective: str
    distance: float
    mean_distance: float
    fitness: int
    sweep: Optional[list[int]]
    evaluations: int
    seconds: float
    evaluations_per_second: float
    algorithm: str
    islands: int
    seed: int
    stopped: str
    front: list[dict[str, Any]]
    def __init__(self, fields: Optional[Mapping[str, Any]] = None, *, target: Any = None) -> None: ...
    def __getattr__(self, name: str) -> Any: ...
    def __setattr__(self, name: str, value: Any) -> None: ...
    def __delattr__(self, name: str) -> None: ...
    def __dir__(self) -> list[str]: ...
    def _repr_html_(self) -> str: ...
    def degrees(self) -> Degrees: ...
    def target_degrees(self) -> Degrees: ...
    def plot(self, ax: Any = None, *, reference: bool = True) -> Any: ...

def reference(n: int = 100) -> Degrees: ...
def project(hex: str, n: int = 100) -> Degrees: ...
def project_many(patterns: Sequence[str], n: int = 100, *, jobs: int = 0) -> npt.NDArray[np.int32]: ...
def shape(code: int, width: int) -> Degrees: ...
@overload
def score(
    patterns: Sequence[str],
    n: Optional[int] = None,
    target: Optional[npt.ArrayLike] = None,
    *,
    jobs: int = 0,
    errors: Literal["raise"] = "raise",
) -> tuple[npt.NDArray[np.int32], npt.NDArray[np.float64]]: ...
@overload
def score(
    patterns: Sequence[Any],
    n: Optional[int] = None,
    target: Optional[npt.ArrayLike] = None,
    *,
    jobs: int = 0,
    errors: Literal["mask"],
) -> tuple[npt.NDArray[np.int32], npt.NDArray[np.float64], npt.NDArray[np.intp]]: ...
def describe(hex: str, n: int = 100) -> list[dict[str, Any]]: ...
def sweep(hex: str) -> Degrees: ...
def sweep_message(hex: str) -> str: ...
def evolve(
    target: Optional[npt.ArrayLike] = None,
    *,
    n: Optional[int] = None,
    blocks: Optional[int] = None,
    objective: Optional[str] = None,
    pareto: bool = False,
    algorithm: Optional[str] = None,
    islands: Optional[int] = None,
    seed: Optional[int] = None,
    evaluations: Optional[int] = None,
    seconds: Optional[float] = None,
    distance: Optional[float] = None,
    start: Optional[str] = None,
    shapes: Optional[CodeList] = None,
    operators: Optional[CodeList] = None,
    progress: Optional[Callable[[dict[str, Any]], object]] = None,
) -> FitResult: ...
def read_targets(
    path: Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
) -> list[tuple[int, Degrees]]: ...
def target_seed(seed: int, line: int) -> int: ...
