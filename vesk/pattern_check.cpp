#include "vesk/pattern_check.h"

#include <algorithm>

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

// The bytes the UTF-8 character led by the byte takes (1 for a byte that leads none).
std::size_t CharacterBytes(unsigned char lead) {
    return lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

} // namespace

std::optional<std::string> PatternProblem(std::string_view text) {
    // A character of several bytes would otherwise be counted as several digits.
    const auto wide = std::find_if(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (wide != text.end()) {
        const auto at = static_cast<std::size_t>(wide - text.begin());
        return "character " + std::to_string(at + 1) + " (" +
               QuotedInput(text.substr(at, CharacterBytes(static_cast<unsigned char>(*wide)))) +
               ") is not a hexadecimal digit";
    }
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
