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
#include "search/search_options.h"

namespace vesk::python {

namespace py = pybind11;

// An integer (any object with __index__, numpy's included) in lowest..highest.
std::int64_t WholeArgument(py::handle value, const char* name, std::int64_t lowest,
                           std::uint64_t highest);
// A text argument; anything but a str is a TypeError.
std::string TextArgument(py::handle value, const char* name);
// A pattern text the tool accepts.
std::string PatternArgument(py::handle value, const char* name);
// A search option's argument as the text the tool's option would be given, its type checked by
// the option's kind: an integer for a whole number, a number for a real, a str for a word or a
// pattern, a bool for a flag, and for a code list the tool's text ("0-7,12") or an iterable of
// integers. The text's own check is the option's.
std::string SearchOptionText(py::handle value, const TSearchOption& option);
// A target: a one-dimensional array-like of whole numbers 0..100 (integers, or reals that are
// whole), at least one and at most MaxTargetElements.
TFuzzySet TargetArgument(py::handle value, const char* name);

// The set's degrees as a new int32 array.
py::object DegreeArray(const std::vector<std::int32_t>& degrees);

} // namespace vesk::python
