#include "fuzzyset/double_sum.h"

#include <climits>
#include <cmath>

namespace vesk {

TFixedTerm FixedTerm(TReal v) {
    __extension__ using TWide = unsigned __int128;
    const auto units = static_cast<TWide>(std::ldexp(v, FixedFractionBits));
    const auto high = static_cast<std::uint64_t>(units >> 64);
    const int shift = high == 0 ? 0 : 64 - std::countl_zero(high);
    return {static_cast<std::uint64_t>(units >> shift), shift};
}

} // namespace vesk
