// The running sum of the measures, step by step, against the floating-point step it replaces.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "degree_sets.h"
#include "fuzzyset/double_sum.h"

#ifndef VESK_SPAN_STRIDE
#define VESK_SPAN_STRIDE 1
#endif

namespace vesk {
namespace {

using test::Bits;

TReal Quotient(std::int32_t v) {
    volatile TReal q = static_cast<TReal>(v) / 100.0L;
    return q;
}

// The last 11 bits of an extended real's significand: 0x400 is a tie when it is stored.
std::uint32_t StoredBits(TReal v) {
    std::uint64_t significand = 0;
    std::memcpy(&significand, &v, sizeof significand);
    return static_cast<std::uint32_t>(significand & 0x7FF);
}

// |a/100 - b/100| as the measures form it, in fixed form and as the unit computes it.
struct TTerm {
    TFixedTerm Fixed;
    TReal Real;
};

TTerm Difference(std::int32_t a, std::int32_t b) {
    volatile TReal real = fabsl(Quotient(a) - Quotient(b));
    return {FixedTerm(real), real};
}

TEST(DoubleSum, FixedTermsAreExact) {
    for (std::int32_t a = -256; a < 512; ++a)
        for (std::int32_t b = -256; b < 512; b += (b < 101 ? 1 : 13)) {
            const TTerm t = Difference(a, b);
            ASSERT_EQ(RealOf(t.Fixed), t.Real) << a << ", " << b;
            ASSERT_LE(t.Fixed.Shift, 12) << a << ", " << b;
        }
}

// Sums many random sequences step by step and compares every partial sum, bit for bit.
TEST(DoubleSum, EveryStepEqualsTheExtendedAdditionAndStore) {
    std::mt19937 random(1234);
    auto pick = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    long ties = 0, fixedSteps = 0;
    const long steps = 6'000'000 / VESK_SPAN_STRIDE;
    for (long done = 0; done < steps;) {
        const std::int32_t length = pick(1, 6000), kind = pick(0, 5);
        TDoubleSum sum;
        double expected = 0;
        for (std::int32_t i = 0; i < length; ++i, ++done) {
            std::int32_t a = 0, b = 0;
            switch (kind) {
            case 0: // the workbench's sets
                a = pick(-167, 267), b = pick(0, 100);
                break;
            case 1: // small differences, which keep the terms' last bits busy
                a = pick(0, 100), b = a + pick(-2, 2);
                break;
            case 2: // the whole fixed-point range
                a = pick(-256, 511), b = pick(-256, 511);
                break;
            case 3: // one large term first, then small ones
                a = i == 0 ? 511 : pick(0, 3), b = 0;
                break;
            default: // cardinality-like: quotients alone, some negative
                a = pick(-20, 100), b = 0;
                break;
            }
            const TTerm t = Difference(a, b);
            const bool signedTerm = kind >= 4 && a < 0;
            const TReal term = signedTerm ? Quotient(a) : t.Real;
            volatile TReal extended = term + expected;
            ties += StoredBits(extended) == 0x400;
            expected = static_cast<double>(extended);
            if (signedTerm) {
                sum.Add(term);
            } else {
                sum.Add(t.Fixed);
                ++fixedSteps;
            }
            ASSERT_EQ(Bits(sum.Value()), Bits(expected))
                << "kind " << kind << ", step " << i << ": " << a << ", " << b;
        }
    }
    EXPECT_GT(ties, 0) << "no step rounded a tie when stored";
    EXPECT_GT(fixedSteps, steps / 2);
}

// Sums just below a power of two, and terms that take them to it, just past it or far past it:
// where the extended rounding and the store decide between two binades.
TEST(DoubleSum, StepsAcrossBinadesAsTheUnitDoes) {
    std::vector<TReal> terms;
    for (int e = -69; e <= 3; ++e)
        for (TReal k : {0.5L, 1.0L, 1.5L, 3.0L}) {
            const TReal t = std::ldexp(k, e);
            for (TReal nudge : {-1.0L, 0.0L, 1.0L})
                if (t + std::ldexp(nudge, -70) > 0) terms.push_back(t + std::ldexp(nudge, -70));
        }
    for (int e = -6; e <= 20; ++e)
        for (int below = 1; below <= 3; ++below) {
            const double start = std::ldexp(1.0, e) - below * std::ldexp(1.0, e - 53);
            for (TReal t : terms) {
                TDoubleSum sum;
                sum.Add(static_cast<TReal>(start));
                volatile TReal extended = t + static_cast<TReal>(start);
                const double expected = static_cast<double>(extended);
                sum.Add(FixedTerm(t));
                ASSERT_EQ(Bits(sum.Value()), Bits(expected))
                    << "sum " << start << " + " << static_cast<double>(t);
            }
        }
}

TEST(DoubleSum, LeavesTheFixedFormWhereItCannotHoldTheSum) {
    TDoubleSum sum;
    sum.Add(-1.0L); // negative
    sum.Add(FixedTerm(0.25L));
    EXPECT_EQ(sum.Value(), -0.75);
    sum.Add(1e300L); // beyond the fixed form's exponents
    sum.Add(FixedTerm(3.0L));
    EXPECT_EQ(sum.Value(), 1e300);
    TDoubleSum small;
    small.Add(TFixedTerm{1, 0}); // 2^-70: far below the fixed form's lowest binade
    small.Add(TFixedTerm{1, 0});
    EXPECT_EQ(small.Value(), std::ldexp(1.0, -69));
}

} // namespace
} // namespace vesk
