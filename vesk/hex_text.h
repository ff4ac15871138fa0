#pragma once
// The one-character conversions of the hex pattern text.

#include <cstdint>
#include <string>

namespace vesk {

// "0".."9", "A".."F" for 0..15; the empty text for any other value.
std::string HexDigitText(std::int32_t value);
// Digits give 0..9; ASCII letters (either case) give 10..35; any other byte its code minus 87.
std::int32_t HexCharValue(char c);

} // namespace vesk
