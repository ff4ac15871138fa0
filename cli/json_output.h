#pragma once
// How the vesk tool writes JSON: through nlohmann/json, keys in the order they are set, compact,
// and bytes that are not UTF-8 replaced by U+FFFD instead of failing the whole text.

#include <string>
#include <string_view>

#include "workbench/tool_answers.h"

namespace vesk::cli {

using vesk::TJson;

// The value on one line, without a line feed.
inline std::string JsonText(const TJson& value) {
    return value.dump(-1, ' ', false, TJson::error_handler_t::replace);
}

} // namespace vesk::cli
