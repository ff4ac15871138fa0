#pragma once
// The degree lists printed by "reference", "project" and "shape".

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::cli {

enum class TDegreeFormat { Plain, Csv, Json };

// Plain: the degrees space-separated on one line. CSV: a header "element,degree" and one row
// an element. JSON: one array. Every form ends with a line feed.
std::string FormatDegrees(const std::vector<std::int32_t>& degrees, TDegreeFormat format);

} // namespace vesk::cli
