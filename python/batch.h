#pragma once
// The module's work on many patterns at once: scoring and projection, spread over threads with
// the interpreter's lock released, each pattern named by its index when it is refused or faults.

#include <pybind11/pybind11.h>

namespace vesk::python {

// vesk.FloatingPointFault, a FloatingPointError subclass, set once when the module loads and
// raised for every fault of the arithmetic (by Score and ProjectMany for the first faulting
// pattern).
void SetFaultType(pybind11::handle type);
pybind11::handle FaultType();

// (fitness, distance) of each pattern against the reference of n elements or the target; with
// mask, (fitness, distance, bad): a pattern that is no pattern text or faults scores -1 and NaN
// and its index is in bad, where otherwise the first one raises.
pybind11::tuple Score(const pybind11::object& patterns, const pybind11::object& n,
                      const pybind11::object& target, const pybind11::object& jobs, bool mask);
// Each pattern's projection onto n elements, a row each of a two-dimensional int32 array.
pybind11::object ProjectMany(const pybind11::object& patterns, const pybind11::object& n,
                             const pybind11::object& jobs);

} // namespace vesk::python
