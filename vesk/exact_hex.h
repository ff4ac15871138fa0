#pragma once
// The pattern texts that read back exactly as written.

#include <string_view>

namespace vesk {

// True when LoadFromHex reads text without ignoring, zeroing or dropping anything and SaveToHex
// gives it back, but for the case of its letters: a length that is a multiple of 5, at most 32
// groups, and in every group hexadecimal digits (either case) with spread and repeats 0..7.
bool IsExactPatternText(std::string_view text);

} // namespace vesk
