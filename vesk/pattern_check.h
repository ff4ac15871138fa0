#pragma once
// The check a pattern given to the vesk tool or the Python module must pass.

#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// Why text is not a pattern the tool accepts, or nothing when it is one: 5 hexadecimal digits a
// block, each group a valid block, at most 32 blocks. (The workbench would read a bad group as
// "00000" and drop extra groups without a word; a script deserves to be told.)
std::optional<std::string> PatternProblem(std::string_view text);

} // namespace vesk
