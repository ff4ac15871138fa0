#pragma once
// The pattern texts that read back exactly as written.

#include <array>
#include <cstdint>
#include <string_view>

#include "vesk/fuzzy_block.h"

namespace vesk {

// True when LoadFromHex reads text without ignoring, zeroing or dropping anything and SaveToHex
// gives it back, but for the case of its letters: a length that is a multiple of 5, at most 32
// groups, and in every group hexadecimal digits (either case) with spread and repeats 0..7.
bool IsExactPatternText(std::string_view text);

// Checks and decodes in one pass: the number of blocks of an exact text, its blocks in
// blocks[0..count-1] (as LoadFromHex reads them); -1 when the text is not exact.
std::int32_t ReadExactPattern(std::string_view text, std::array<TFuzzyBlock, MaxBlocks>& blocks);

} // namespace vesk
