// The measures and the real-to-integer conversion against their straightforward forms, bit for
// bit.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "degree_sets.h"
#include "fuzzyset/fuzzy_set.h"
#include "runtime/extended.h"
#include "runtime/fp_fault.h"
#include "straight_evaluation.h"

namespace vesk {
namespace {

using test::Bits;
using test::RandomDegrees;
using test::SetHolding;

using Degrees = std::vector<std::int32_t>;

using straight::StraightCardinality;
using straight::StraightHamming;

TEST(FastMeasures, AgreeBitForBitWithTheDividedSums) {
    std::mt19937 random(11);
    // Degrees inside the looked-up quotients, across their ends, and far outside them.
    const struct {
        std::int32_t Low, High;
    } ranges[] = {{0, 100}, {-167, 267}, {-400, 900}, {INT32_MIN, INT32_MAX}};
    for (const auto& range : ranges)
        for (std::size_t n : {1u, 7u, 100u, 1000u, 5000u}) {
            const Degrees a = RandomDegrees(random, n, range.Low, range.High);
            const Degrees b = RandomDegrees(random, n + n % 3, 0, 100);
            const TFuzzySet A = SetHolding(a), B = SetHolding(b);
            EXPECT_EQ(Bits(A.Cardinality()), Bits(StraightCardinality(a))) << range.Low << " " << n;
            EXPECT_EQ(Bits(A.HammingDistance(B)), Bits(StraightHamming(a, b)))
                << range.Low << " " << n;
            EXPECT_EQ(Bits(B.HammingDistance(A)), Bits(StraightHamming(b, a)))
                << range.Low << " " << n;
        }
}

TEST(FastMeasures, EveryLookedUpQuotientIsTheDivision) {
    Degrees every;
    for (std::int32_t v = -1000; v <= 1000; ++v)
        every.push_back(v);
    // One element at a time, so that each quotient shows on its own.
    for (std::int32_t v : every) {
        const Degrees one{v};
        ASSERT_EQ(Bits(SetHolding(one).Cardinality()), Bits(StraightCardinality(one))) << v;
    }
}

TEST(NearestInt, RoundsLikeNearbyintWithTiesToEven) {
    std::mt19937 random(3);
    std::vector<TReal> values = {0.5L,          1.5L,           2.5L,           -0.5L,
                                 -1.5L,         -2.5L,          12.5L,          37.5L,
                                 2147483646.5L, -2147483647.5L, -2147483648.5L, 2147483647.49L};
    for (int k = 0; k < 100000; ++k) {
        const auto whole = std::uniform_int_distribution<std::int32_t>(-100000, 100000)(random);
        values.push_back(whole + 0.5L);
        values.push_back(static_cast<TReal>(whole) / 7.0L);
    }
    for (TReal v : values)
        ASSERT_EQ(NearestInt(v), static_cast<std::int32_t>(std::nearbyintl(v))) << double(v);
    EXPECT_THROW(NearestInt(2147483647.5L), EFloatingPointFault);
    EXPECT_THROW(NearestInt(std::nanl("")), EFloatingPointFault);
}

} // namespace
} // namespace vesk
