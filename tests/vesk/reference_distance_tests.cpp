// The distance to a fixed reference by its binade tables against HammingDistance, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "degree_sets.h"
#include "vesk/reference_distance.h"

namespace vesk {
namespace {

using test::Bits;
using test::RandomDegrees;
using test::SetHolding;

using Degrees = std::vector<std::int32_t>;
using THamming = THammingToReference;

TFuzzySet ReferenceOf(std::int32_t n) {
    TFuzzySet reference;
    reference.MakeReference(n);
    return reference;
}

// The step as the floating-point unit takes it.
double UnitStep(double sum, std::int32_t a, std::int32_t b) {
    volatile TReal x = static_cast<TReal>(a) / 100.0L;
    volatile TReal y = static_cast<TReal>(b) / 100.0L;
    return static_cast<double>(fabsl(x - y) + sum);
}

// The double nearest y * 2^(e-63), ties to even, for y of 64 bits with its top bit set.
double StoredUnits(std::uint64_t y, int e) {
    return static_cast<double>(std::ldexp(static_cast<TReal>(y), e - 63));
}

// Every entry of every table, for sums of both parities at the foot, at the top and inside each
// binade: D is the step the unit takes wherever the result stays in the binade, the rounded
// term gives the unit's step by the extended grid of the binade while the sum stays below its
// top, and the grid of the next binade once the sum reaches it.
TEST(HammingToReference, EveryTableEntryGivesTheUnitsStep) {
    std::mt19937_64 random(6);
    for (int e = THamming::LowestBinade; e < THamming::LowestBinade + THamming::BinadeCount;
         e += e < 8 ? 1 : 3)
        for (std::int32_t r = 0; r <= 100; ++r)
            for (std::int32_t a = 0; a <= 100; ++a) {
                const std::uint64_t d = THamming::StepEntry(a, r, e);
                const std::uint64_t t = THamming::RoundedEntry(a, r, e);
                const std::uint64_t t1 = THamming::RoundedEntry(a, r, e + 1);
                const std::uint64_t random52 = random() & ((std::uint64_t{1} << 52) - 1);
                for (std::uint64_t fraction : {std::uint64_t{0}, std::uint64_t{1}, random52,
                                               random52 | 1, (std::uint64_t{1} << 52) - 1}) {
                    const std::uint64_t m = std::uint64_t{1} << 52 | fraction;
                    const double sum = std::ldexp(static_cast<double>(m), e - 52);
                    const double step = UnitStep(sum, a, r);
                    if (d != THamming::Leaves && m + d < std::uint64_t{1} << 53) {
                        ASSERT_EQ(Bits(step), Bits(sum) + d) << e << " " << a << " " << r;
                    } else if (d != THamming::Leaves) {
                        ASSERT_GE(step, std::ldexp(1.0, e + 1)) << e << " " << a << " " << r;
                    }
                    std::uint64_t y = 0;
                    if (t != THamming::Untabled && !__builtin_add_overflow(m << 11, t, &y)) {
                        ASSERT_EQ(Bits(step), Bits(StoredUnits(y, e))) << e << " " << a << " " << r;
                    } else if (t1 != THamming::Untabled &&
                               !__builtin_add_overflow(m << 10, t1, &y)) {
                        ASSERT_EQ(Bits(step), Bits(StoredUnits(y, e + 1)))
                            << e << " " << a << " " << r;
                    }
                }
            }
}

TEST(HammingToReference, IsHammingDistanceBitForBit) {
    std::mt19937 random(7);
    const struct {
        std::int32_t Low, High;
    } ranges[] = {{0, 100}, {0, 100}, {-150, 250}, {-3, 103}, {INT32_MIN, INT32_MAX}};
    for (std::int32_t n : {1, 10, 16, 17, 100, 500, 2048, 5000}) {
        const TFuzzySet reference = ReferenceOf(n);
        THamming distance(reference); // one for every set: its tables fill as sums need them
        for (const auto& range : ranges)
            for (std::size_t count :
                 {std::size_t(n), std::size_t(n) / 2, std::size_t(n) + 3, std::size_t(0)}) {
                const TFuzzySet set =
                    SetHolding(RandomDegrees(random, count, range.Low, range.High));
                EXPECT_EQ(Bits(distance.Distance(set)), Bits(set.HammingDistance(reference)))
                    << n << " " << range.Low << " " << count;
            }
        EXPECT_EQ(distance.Distance(reference), 0.0);
    }
}

TEST(HammingToReference, ReferencesOfAnyDegrees) {
    std::mt19937 random(8);
    for (const auto& [low, high] : {std::pair{0, 100}, {-20, 120}, {INT32_MIN, INT32_MAX}}) {
        const TFuzzySet reference = SetHolding(RandomDegrees(random, 700, low, high));
        THamming distance(reference);
        for (int k = 0; k < 20; ++k) {
            const TFuzzySet set = SetHolding(RandomDegrees(random, 700, k % 2 ? -5 : 0, 100));
            EXPECT_EQ(Bits(distance.Distance(set)), Bits(set.HammingDistance(reference))) << low;
        }
    }
}

// Terms of whole units land every sum on a binade's foot; with a huge degree first, the sums of
// small terms climb out of the last tabled binade into the untabled ones.
TEST(HammingToReference, SumsOnBinadeBoundariesAndBeyondTheTables) {
    const TFuzzySet zeros = SetHolding(Degrees(400, 0));
    THamming distance(zeros);
    for (std::int32_t degree : {100, 50, 25, 200, 1, 99})
        for (std::size_t count : {1u, 2u, 7u, 64u, 400u}) {
            const TFuzzySet set = SetHolding(Degrees(count, degree));
            EXPECT_EQ(Bits(distance.Distance(set)), Bits(set.HammingDistance(zeros)))
                << degree << " " << count;
        }

    // 199 of the largest degrees and one chosen so that the sum stops 50 short of 2^32, then
    // terms of 1 (and of 0.99) cross 2^32, the top of the last tabled binade.
    Degrees degrees(199, INT32_MAX);
    const double below = SetHolding(degrees).HammingDistance(zeros);
    degrees.push_back(static_cast<std::int32_t>((std::ldexp(1.0, 32) - 50 - below) * 100));
    for (std::int32_t k = 0; k < 200; ++k)
        degrees.push_back(k % 3 == 0 ? 99 : 100);
    const TFuzzySet climbing = SetHolding(degrees);
    EXPECT_GT(climbing.HammingDistance(zeros), std::ldexp(1.0, 32));
    EXPECT_EQ(Bits(distance.Distance(climbing)), Bits(climbing.HammingDistance(zeros)));
}

} // namespace
} // namespace vesk
