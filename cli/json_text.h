#pragma once
// JSON texts for the vesk tool's output.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk::cli {

// A JSON string literal of the bytes. Valid UTF-8 passes through; control characters, quotes
// and backslashes are escaped; each byte that is not part of valid UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view bytes);
// A JSON string literal, or null when there is no text.
std::string JsonStringOrNull(const std::optional<std::string>& text);
// A JSON array of integers.
std::string JsonIntegerArray(const std::vector<std::int32_t>& values);
// A JSON object from ordered (key, already-encoded value) pairs, on one line.
std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members);

} // namespace vesk::cli
