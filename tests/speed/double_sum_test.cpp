// The running sum of the measures by its binade tables against the floating-point step it
// replaces, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "degree_sets.h"
#include "fuzzyset/double_sum.h"
#include "fuzzyset/fuzzy_set.h"
#include "straight_evaluation.h"

#ifndef VESK_SPAN_STRIDE
#define VESK_SPAN_STRIDE 1
#endif

namespace vesk {
namespace {

using test::Bits;
using test::RandomDegrees;
using test::SetHolding;

using Degrees = std::vector<std::int32_t>;
using TSteps = TDegreeTermSteps;

// The step as the floating-point unit takes it.
double UnitStep(double sum, std::int32_t a, std::int32_t b) {
    volatile TReal x = static_cast<TReal>(a) / 100.0L;
    volatile TReal y = static_cast<TReal>(b) / 100.0L;
    return static_cast<double>(fabsl(x - y) + sum);
}

const auto UnitHamming = straight::StraightHamming;

// The double nearest y * 2^(e-63), ties to even, for y of 64 bits with its top bit set.
double StoredUnits(std::uint64_t y, int e) {
    return static_cast<double>(std::ldexp(static_cast<TReal>(y), e - 63));
}

// Every entry of every table, for sums of both parities at the foot, at the top and inside each
// binade: D is the step the unit takes wherever the result stays in the binade, the rounded
// term gives the unit's step by the extended grid of the binade while the sum stays below its
// top, and the grid of the next binade once the sum reaches it.
TEST(DoubleSum, EveryTableEntryGivesTheUnitsStep) {
    std::mt19937_64 random(6);
    for (int e = TSteps::LowestBinade; e < TSteps::LowestBinade + TSteps::BinadeCount;
         e += e < 8 ? 1 : 3)
        for (std::int32_t b = 0; b <= 100; b += VESK_SPAN_STRIDE > 1 ? 7 : 1)
            for (std::int32_t a = 0; a <= 100; ++a) {
                const std::uint64_t d = TSteps::StepEntry(a, b, e);
                const std::uint64_t t = TSteps::RoundedEntry(a, b, e);
                const std::uint64_t t1 = TSteps::RoundedEntry(a, b, e + 1);
                const std::uint64_t random52 = random() & ((std::uint64_t{1} << 52) - 1);
                for (std::uint64_t fraction : {std::uint64_t{0}, std::uint64_t{1}, random52,
                                               random52 | 1, (std::uint64_t{1} << 52) - 1}) {
                    const std::uint64_t m = std::uint64_t{1} << 52 | fraction;
                    const double sum = std::ldexp(static_cast<double>(m), e - 52);
                    const double step = UnitStep(sum, a, b);
                    if (d != TSteps::Leaves && m + d < std::uint64_t{1} << 53) {
                        ASSERT_EQ(Bits(step), Bits(sum) + d) << e << " " << a << " " << b;
                    } else if (d != TSteps::Leaves) {
                        ASSERT_GE(step, std::ldexp(1.0, e + 1)) << e << " " << a << " " << b;
                    }
                    std::uint64_t y = 0;
                    if (t != TSteps::Untabled && !__builtin_add_overflow(m << 11, t, &y)) {
                        ASSERT_EQ(Bits(step), Bits(StoredUnits(y, e))) << e << " " << a << " " << b;
                    } else if (t1 != TSteps::Untabled && !__builtin_add_overflow(m << 10, t1, &y)) {
                        ASSERT_EQ(Bits(step), Bits(StoredUnits(y, e + 1)))
                            << e << " " << a << " " << b;
                    }
                }
            }
}

// Long sums of every kind of term: the workbench's sets against references, small differences
// that keep the terms' last bits busy, degrees outside the tables, one large term first.
TEST(DoubleSum, LongSumsOfEveryKindAreTheUnitsSums) {
    std::mt19937 random(1234);
    const TFuzzySet reference = [] {
        TFuzzySet r;
        r.MakeReference(5000);
        return r;
    }();
    const Degrees referenceDegrees = reference.Degrees();
    for (int round = 0; round < 200 / VESK_SPAN_STRIDE + 4; ++round) {
        const auto length = std::uniform_int_distribution<std::size_t>(1, 5000)(random);
        Degrees a, b;
        switch (round % 4) {
        case 0:
            a = RandomDegrees(random, length, -167, 267);
            b.assign(referenceDegrees.begin(), referenceDegrees.begin() + long(length));
            break;
        case 1:
            a = RandomDegrees(random, length, 0, 100);
            b = a;
            for (std::int32_t& v : b)
                v = std::clamp(v + std::uniform_int_distribution<std::int32_t>(-2, 2)(random), 0,
                               100);
            break;
        case 2:
            a = RandomDegrees(random, length, INT32_MIN, INT32_MAX);
            b = RandomDegrees(random, length, -20, 120);
            break;
        default:
            a = RandomDegrees(random, length, 0, 3);
            a[0] = 100000;
            b = Degrees(length, 0);
            break;
        }
        EXPECT_EQ(Bits(SetHolding(a).HammingDistance(SetHolding(b))), Bits(UnitHamming(a, b)))
            << round;
    }
}

// Terms of whole units land every sum on a binade's foot; with a huge degree first, the sums of
// small terms climb out of the last tabled binade into the untabled ones.
TEST(DoubleSum, SumsOnBinadeBoundariesAndBeyondTheTables) {
    const Degrees zeros(400, 0);
    for (std::int32_t degree : {100, 50, 25, 200, 1, 99})
        for (std::size_t count : {1u, 2u, 7u, 64u, 400u}) {
            const Degrees set(count, degree);
            EXPECT_EQ(Bits(SetHolding(set).HammingDistance(SetHolding(zeros))),
                      Bits(UnitHamming(set, zeros)))
                << degree << " " << count;
        }

    // 199 of the largest degrees and one chosen so that the sum stops 50 short of 2^32, then
    // terms of 1 (and of 0.99) cross 2^32, the top of the last tabled binade.
    Degrees degrees(199, INT32_MAX);
    const double below = UnitHamming(degrees, zeros);
    degrees.push_back(static_cast<std::int32_t>((std::ldexp(1.0, 32) - 50 - below) * 100));
    for (std::int32_t k = 0; k < 200; ++k)
        degrees.push_back(k % 3 == 0 ? 99 : 100);
    const Degrees manyZeros(degrees.size(), 0);
    const double climbing = SetHolding(degrees).HammingDistance(SetHolding(manyZeros));
    EXPECT_GT(climbing, std::ldexp(1.0, 32));
    EXPECT_EQ(Bits(climbing), Bits(UnitHamming(degrees, manyZeros)));
}

} // namespace
} // namespace vesk
