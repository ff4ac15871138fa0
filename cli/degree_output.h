#pragma once
// The degree lists printed by "reference", "project" and "shape".

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk::cli {

enum class TDegreeFormat { Plain, Csv, Json };

// The value of --format (plain when absent); EUsageError for anything else.
TDegreeFormat ParseDegreeFormat(const std::optional<std::string>& text);

// Plain: the degrees space-separated on one line. CSV: a header "element,degree" and one row
// an element. JSON: one array. Every form ends with a line feed.
std::string FormatDegrees(const std::vector<std::int32_t>& degrees, TDegreeFormat format);

} // namespace vesk::cli
