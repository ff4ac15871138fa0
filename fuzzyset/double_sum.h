#pragma once
// The running sum of the measures: a double to which each step adds an extended-precision term,
// sum := double(term + sum), the addition rounded to a 64-bit significand and the result then
// rounded to a double. On the floating-point unit that is a store and a reload every step, one
// long chain of latency. While the sum is positive and of moderate size, a nonnegative term given
// in fixed point takes an integer step instead, which performs both roundings exactly as the unit
// does; any other step (a term that leaves the sum's binade, a negative or unlisted term) is the
// floating-point step itself.

#include <bit>
#include <climits>
#include <cstdint>

#include "runtime/extended.h"

namespace vesk {

// A nonnegative real as Significand * 2^(Shift - 70): every degree / 100 for degrees of
// magnitude 1 and above, and every difference of two such quotients, is a whole number of
// 2^-70 units with at most 64 significant bits.
struct TFixedTerm {
    std::uint64_t Significand = 0;
    int Shift = 0; // 0..63
};
constexpr int FixedFractionBits = 70;

// The fixed form of an extended real: nonnegative, a multiple of 2^-70, below 2^57.
TFixedTerm FixedTerm(TReal v);

// The extended real of a fixed term (exact: every factor is a power of two or fits).
inline TReal RealOf(TFixedTerm t) {
    return static_cast<TReal>(t.Significand) * static_cast<TReal>(std::uint64_t{1} << t.Shift) *
           0x1p-70L;
}

// sum := double(term + sum), step by step, from 0. Small enough to live in two registers.
class TDoubleSum {
public:
    double Value() const { return FExponent == Floating ? std::bit_cast<double>(FBits) : Stored(); }

    // The floating-point step, for any term.
    void Add(TReal term) { *this = FloatStep(Value(), term); }

    // The same step for a term in fixed form.
    void Add(TFixedTerm term) {
        if (FExponent == Floating || !FixedStep(term)) Add(RealOf(term));
    }

private:
    static constexpr std::uint64_t FractionMask = (std::uint64_t{1} << 52) - 1;
    static constexpr std::uint64_t Hidden = std::uint64_t{1} << 63;
    // The binades the integer form covers: its unit, 2^(exponent - 63), is at least 2^-69.
    static constexpr std::int64_t LowestExponent = 63 - FixedFractionBits + 1;
    static constexpr std::int64_t HighestExponent = 56;
    static constexpr std::int64_t Floating = INT64_MIN; // FBits holds the double itself

    // The step on the floating-point unit; the result takes the integer form when it is positive
    // with an exponent in range.
    [[gnu::noinline]] static TDoubleSum FloatStep(double sum, TReal term) {
        TDoubleSum next;
        next.FBits = std::bit_cast<std::uint64_t>(static_cast<double>(term + sum));
        const auto biased = static_cast<std::int64_t>(next.FBits >> 52); // sign bit included
        if (biased < 1023 + LowestExponent || biased > 1023 + HighestExponent) return next;
        next.FExponent = biased - 1023;
        next.FBits = ((next.FBits & FractionMask) | (FractionMask + 1)) << 11;
        return next;
    }

    double Stored() const {
        return std::bit_cast<double>(static_cast<std::uint64_t>(FExponent + 1023) << 52 |
                                     ((FBits >> 11) & FractionMask));
    }

    // The integer step; false, with nothing changed, when the result is beyond the integer
    // form. A sum that grows out of its binade moves up one, so only a term that more than
    // doubles the sum takes the floating-point step.
    bool FixedStep(TFixedTerm term) {
        if (StepWithin(FExponent, FBits, term)) return true;
        if (FExponent == HighestExponent) return false;
        // The sum in the next binade's units: exact, as the last 11 bits are 0.
        std::uint64_t bits = FBits >> 1;
        if (!StepWithin(FExponent + 1, bits, term) || bits < Hidden) return false;
        FBits = bits;
        ++FExponent;
        return true;
    }

    // The sum is bits * 2^(exponent - 63), bits below 2^64 with its last 10 bits 0. While
    // term + sum stays below 2^(exponent + 1), the extended rounding is to whole units of
    // 2^(exponent - 63), that is 2^unit fixed units, and the store then rounds 11 bits away.
    // False, with bits unchanged, when the result reaches 2^(exponent + 1).
    static bool StepWithin(std::int64_t exponent, std::uint64_t& bits, TFixedTerm term) {
        const auto unit = static_cast<int>(exponent) + FixedFractionBits - 63; // 1..63
        // A term with no bits below a unit is at least 2^exponent: the sum leaves the binade.
        if (term.Shift >= unit) return false;
        const int below = unit - term.Shift; // 1..63 bits of the term below a unit
        const std::uint64_t q = term.Significand >> below;
        const std::uint64_t rest = term.Significand & ((std::uint64_t{1} << below) - 1);
        // bits is even, so a tie goes by q's parity: up is 1 above half a unit, and at half when
        // q is odd. Branch-free, as the direction is as good as random.
        const std::uint64_t up = (rest + (std::uint64_t{1} << (below - 1)) - 1 + (q & 1)) >> below;
        std::uint64_t extended = 0, stored = 0;
        if (__builtin_add_overflow(bits, q + up, &extended) ||
            __builtin_add_overflow(extended, 0x3FF + ((extended >> 11) & 1), &stored))
            return false;
        bits = stored & ~std::uint64_t{0x7FF};
        return true;
    }

    std::uint64_t FBits = 0; // the double 0
    std::int64_t FExponent = Floating;
};

} // namespace vesk
