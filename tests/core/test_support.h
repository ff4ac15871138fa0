#pragma once
// Helpers shared by the core tests.

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "fuzzyset/fuzzy_set.h"

namespace vesk::test {

inline TFuzzySet SetOf(std::initializer_list<std::int32_t> degrees) {
    TFuzzySet s;
    for (std::int32_t v : degrees) {
        s.AddDegree(0);
        s.SetDegree(s.Count() - 1, v);
    }
    return s;
}

inline TFuzzySet Filled(std::int32_t n, std::int32_t v) {
    TFuzzySet s;
    s.Fill(n, v);
    return s;
}

inline std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

} // namespace vesk::test
