#pragma once
// Sets of chosen or random degrees for the tests that compare fast paths with plain ones.

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "fuzzyset/fuzzy_set.h"

namespace vesk::test {

// The bits of a double, to compare results exactly (and tell -0 from 0).
inline std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

// A set holding exactly these degrees, those outside 0..100 included.
inline TFuzzySet SetHolding(const std::vector<std::int32_t>& degrees) {
    TFuzzySet s;
    s.Fill(static_cast<std::int32_t>(degrees.size()), 0);
    for (std::size_t i = 0; i < degrees.size(); ++i)
        s.SetDegree(static_cast<std::int32_t>(i), degrees[i]);
    return s;
}

// n degrees drawn uniformly from low..high.
inline std::vector<std::int32_t> RandomDegrees(std::mt19937& random, std::size_t n,
                                               std::int32_t low, std::int32_t high) {
    std::vector<std::int32_t> out(n);
    for (auto& v : out)
        v = std::uniform_int_distribution<std::int32_t>(low, high)(random);
    return out;
}

} // namespace vesk::test
