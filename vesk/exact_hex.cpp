#include "vesk/exact_hex.h"

#include <cstdint>

#include "vesk/fuzzy_block.h"

namespace vesk {

namespace {

constexpr std::size_t DigitsPerBlock = 5;

// The value of a hexadecimal digit of either case; 16 for any other byte.
std::uint32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<std::uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
    return 16;
}

} // namespace

bool IsExactPatternText(std::string_view text) {
    if (text.size() % DigitsPerBlock != 0 ||
        text.size() > DigitsPerBlock * static_cast<std::size_t>(MaxBlocks))
        return false;
    // The largest digit of each field: shape, centre, spread, repeats, operator.
    constexpr std::uint32_t Highest[DigitsPerBlock] = {15, 15, 7, 7, 15};
    for (std::size_t at = 0; at < text.size(); ++at)
        if (DigitValue(text[at]) > Highest[at % DigitsPerBlock]) return false;
    return true;
}

} // namespace vesk
