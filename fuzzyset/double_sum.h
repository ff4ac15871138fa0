#pragma once
// The running sum of the measures: a double to which each step adds an extended-precision term
// |a/100 - b/100| of two degrees, sum := double(term + sum), the addition rounded to a 64-bit
// significand and the result then rounded to a double. On the floating-point unit that is a
// store and a reload every step, one long chain of latency; here, while the sum is positive and
// stays in one binade, a step is an integer addition taken from a table.
//
// While the sum stays in the binade [2^e, 2^(e+1)), the extended sum rounds the term to whole
// 2^(e-63) on a grid the sum lies on, and the store rounds that to whole units of the sum's last
// place, so unless that second rounding is a tie (then the sum's parity decides), the step adds
// to the sum's 53-bit significand a number D that depends only on the term and e. A tie, or a
// step that leaves the binade, adds the term rounded to the extended grid of e, or of e + 1 when
// the exact sum reaches 2^(e+1), and rounds the result to 53 bits. Both numbers come from tables
// for each binade, worked out by the floating-point arithmetic itself. The first step, terms of
// degrees outside 0..100 and sums outside the tabled binades take the floating-point step.

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <mutex>
#include <vector>

#include "runtime/extended.h"

namespace vesk {

// The tables of the steps by the terms of every pair of degrees within 0..100, binade by
// binade. One object serves the whole program: a binade's tables are made the first time a sum
// enters it (at most 40 binades, 160 KiB each), under a lock, so any number of threads share it.
class TDegreeTermSteps {
public:
    static const TDegreeTermSteps& Shared();

    // Sum over i < count of |a[i]/100 - b/100| with b = other(i), stored step by step from 0; an
    // element with either degree outside 0..100 adds outside(i), formed by the caller.
    template <class TOther, class TOutside>
    double Sum(const std::int32_t* a, std::size_t count, TOther other, TOutside outside) const;

    // The tables' entries for degrees a and b in binade e, exposed for the tests. StepEntry: D,
    // or Leaves when the step is a tie or the term may take a sum out of the binade.
    // RoundedEntry: the term in whole 2^(e-63), rounded to nearest even, or Untabled when that
    // reaches 2^64.
    static std::uint64_t StepEntry(std::int32_t a, std::int32_t b, int e);
    static std::uint64_t RoundedEntry(std::int32_t a, std::int32_t b, int e);
    static constexpr std::uint64_t Leaves = std::uint64_t{1} << 53;
    static constexpr std::uint64_t Untabled = ~std::uint64_t{0};
    // The binades with tables, 2^-8 to 2^32: a sum of terms of degrees 0..100 is 0 or at least
    // 0.01, and at most the element count.
    static constexpr int LowestBinade = -8, BinadeCount = 40;

private:
    static constexpr std::int32_t Highest = 100;
    static constexpr std::size_t Row = Highest + 1;
    static constexpr int FractionBits = 52;
    static constexpr std::uint64_t FractionMask = (std::uint64_t{1} << FractionBits) - 1;
    static constexpr std::uint64_t Hidden = std::uint64_t{1} << FractionBits;
    static constexpr std::int64_t ExponentBias = 1023;

    struct TBinade {
        std::vector<std::uint64_t> Steps, Rounded; // by b * 101 + a
    };

    TDegreeTermSteps() = default;
    // The tables of binade e, made when first needed; nullptr outside the tabled binades.
    const TBinade* Binade(std::int64_t e) const;
    void Build(TBinade& binade, std::int64_t e) const;
    // The step of the sum m * 2^(e-52) by the term at index at of its binade's tables, when it
    // leaves the binade or is a tie: e, m and here follow the new sum. False, with nothing
    // changed, when the tables cannot give the step.
    bool CrossingStep(std::int64_t& e, std::uint64_t& m, const TBinade*& here,
                      std::size_t at) const;
    static double StepOnUnit(double sum, std::int32_t a, std::int32_t b);

    mutable std::array<TBinade, BinadeCount> FBinades;
    mutable std::array<std::atomic<bool>, BinadeCount> FBuilt{}; // FBinades[k] is complete
    mutable std::mutex FBuilding;
};

template <class TOther, class TOutside>
double TDegreeTermSteps::Sum(const std::int32_t* a, std::size_t count, TOther other,
                             TOutside outside) const {
    double sum = 0;
    std::size_t i = 0;
    while (i < count) {
        // The sum as m * 2^(e-52) while it lies in a tabled binade (the sign bit is kept in e:
        // a negative sum lands far outside them).
        const auto bits = std::bit_cast<std::uint64_t>(sum);
        std::int64_t e = static_cast<std::int64_t>(bits >> FractionBits) - ExponentBias;
        const TBinade* here = sum > 0 ? Binade(e) : nullptr;
        if (here != nullptr) {
            std::uint64_t m = (bits & FractionMask) | Hidden;
            for (; i < count; ++i) {
                const auto x = static_cast<std::uint32_t>(a[i]);
                const auto y = static_cast<std::uint32_t>(other(i));
                if (x > static_cast<std::uint32_t>(Highest) ||
                    y > static_cast<std::uint32_t>(Highest))
                    break;
                const std::size_t at = y * Row + x;
                const std::uint64_t next = m + here->Steps[at];
                if (next >> (FractionBits + 1) == 0) {
                    m = next;
                } else if (!CrossingStep(e, m, here, at)) {
                    break; // left to the unit
                }
            }
            sum = std::bit_cast<double>(
                static_cast<std::uint64_t>(e + ExponentBias) << FractionBits | (m & FractionMask));
            if (i == count) break;
        }
        const auto x = static_cast<std::uint32_t>(a[i]);
        const auto y = static_cast<std::uint32_t>(other(i));
        if (x > static_cast<std::uint32_t>(Highest) || y > static_cast<std::uint32_t>(Highest))
            sum = static_cast<double>(outside(i) + sum);
        else
            sum = StepOnUnit(sum, a[i], other(i));
        ++i;
    }
    return sum;
}

} // namespace vesk
