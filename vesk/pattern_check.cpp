#include "vesk/pattern_check.h"

#include "runtime/quoted_text.h"
#include "vesk/fuzzy_block.h"

namespace vesk {

namespace {

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

} // namespace

std::optional<std::string> PatternProblem(std::string_view text) {
    if (text.size() % 5 != 0) return "hexa string length must be a multiple of 5";
    if (text.size() / 5 > static_cast<std::size_t>(MaxBlocks))
        return "more than " + std::to_string(MaxBlocks) + " blocks";
    // A group is valid exactly when reading it and writing it back gives it again.
    for (std::size_t start = 0; start < text.size(); start += 5) {
        const std::string_view group = text.substr(start, 5);
        TVesk one;
        one.LoadFromHex(group);
        if (one.SaveToHex() != UpperCase(group))
            return "block " + std::to_string(start / 5 + 1) + " (" + QuotedInput(group) +
                   ") is not a valid block: hexadecimal digits, spread and repeats 0-7";
    }
    return std::nullopt;
}

} // namespace vesk
