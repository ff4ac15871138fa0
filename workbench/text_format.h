#pragma once
// The texts the value labels and the fitness message show.

#include <cstdint>
#include <span>
#include <string>

namespace vesk {

// A real as the value labels show it: width 8, 2 decimals. The value is first expanded to 17
// decimal places (magnitude below 10) or 18 significant digits, correctly rounded; that expansion
// is then cut to 2 decimals, the third decimal deciding (a tie rounds away from zero). The decimal
// separator is always a full stop; blanks in front pad to 8, a longer text is written whole.
std::string FormatReal8_2(long double value);

// An integer with blanks in front up to width characters; a longer text is written whole.
std::string FormatInteger(std::int32_t value, int width);

// The "Fitness" command's message for the fitness at each of the sweep's universes:
// "Fitness (100, 500, 1000, 5000):    21,   23,   23,   23".
std::string SweepMessage(std::span<const std::int32_t> values);

} // namespace vesk
