#pragma once
// The one-character conversions of the hex pattern text.

#include <cstdint>
#include <span>
#include <string>

#include "vesk/fuzzy_block.h"

namespace vesk {

// "0".."9", "A".."F" for 0..15; the empty text for any other value.
std::string HexDigitText(std::int32_t value);
// Digits give 0..9; ASCII letters (either case) give 10..35; any other byte its code minus 87.
std::int32_t HexCharValue(char c);

// The five digits of a valid block, upper-case.
std::string BlockHex(const TFuzzyBlock& block);
// The text of valid blocks, five digits each: what SaveToHex writes for a list holding them.
std::string PatternHex(std::span<const TFuzzyBlock> blocks);

} // namespace vesk
