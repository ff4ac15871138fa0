#pragma once
// The Python module's arguments, checked as the tool checks its options: a whole number or a
// real outside its range is a ValueError in the tool's words ("n: must be 0 to 185360"), a
// value of the wrong type a TypeError, and a target array is refused unless it holds degrees.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "fuzzyset/fuzzy_set.h"

namespace vesk::python {

namespace py = pybind11;

// An integer (any object with __index__, numpy's included) in lowest..highest.
std::int64_t WholeArgument(py::handle value, const char* name, std::int64_t lowest,
                           std::uint64_t highest);
// A real above lowest (or at least lowest when allowed) and at most highest; NaN and the
// infinities are refused.
double RealArgument(py::handle value, const char* name, double lowest, bool lowestAllowed,
                    double highest);
// A text argument; anything but a str is a TypeError.
std::string TextArgument(py::handle value, const char* name);
// A pattern text the tool accepts.
std::string PatternArgument(py::handle value, const char* name);
// Codes 0..highest as the tool's list text ("0-7,12") or an iterable of integers.
std::vector<std::int32_t> CodeListArgument(py::handle value, const char* name,
                                           std::int32_t highest);
// A target: a one-dimensional array-like of whole numbers 0..100 (integers, or reals that are
// whole), at least one and at most MaxTargetElements.
TFuzzySet TargetArgument(py::handle value, const char* name);

// The set's degrees as a new int32 array.
py::object DegreeArray(const std::vector<std::int32_t>& degrees);

} // namespace vesk::python
