#include "vesk/reference_distance.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "runtime/extended.h"

namespace vesk {

namespace {

constexpr int FractionBits = 52;
constexpr std::uint64_t FractionMask = (std::uint64_t{1} << FractionBits) - 1;
constexpr std::uint64_t Hidden = std::uint64_t{1} << FractionBits;
constexpr int ExponentBias = 1023;
constexpr std::int32_t RowLength = 101;

std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

// The binade of a positive double, e for [2^e, 2^(e+1)) (sign bit kept: negatives land far off).
std::int64_t BinadeOfBits(std::uint64_t bits) {
    return static_cast<std::int64_t>(bits >> FractionBits) - ExponentBias;
}

// degree / 100 for the degrees 0..100, as the division forms it.
const std::array<TReal, 101>& Quotients() {
    static const std::array<TReal, 101> quotients = [] {
        std::array<TReal, 101> q{};
        for (std::int32_t v = 0; v <= 100; ++v)
            q[static_cast<std::size_t>(v)] = static_cast<TReal>(v) / 100.0L;
        return q;
    }();
    return quotients;
}

TReal Quotient(std::int32_t v) {
    if (v >= 0 && v <= 100) return Quotients()[static_cast<std::size_t>(v)];
    return static_cast<TReal>(v) / 100.0L;
}

// The term of one element, formed as HammingDistance forms it.
TReal Term(std::int32_t a, std::int32_t b) {
    return fabsl(Quotient(a) - Quotient(b));
}

} // namespace

THammingToReference::THammingToReference(const TFuzzySet& reference)
    : FDegrees(reference.Degrees()) {
    std::array<std::int32_t, Highest + 1> rowOf;
    rowOf.fill(-1);
    for (std::int32_t r : FDegrees)
        if (r >= 0 && r <= Highest && rowOf[static_cast<std::size_t>(r)] < 0) {
            rowOf[static_cast<std::size_t>(r)] = static_cast<std::int32_t>(FRowDegrees.size());
            FRowDegrees.push_back(r);
        }
    const auto outside = static_cast<std::int32_t>(FRowDegrees.size());
    FRowStarts.reserve(FDegrees.size());
    for (std::int32_t r : FDegrees) {
        const std::int32_t row =
            r >= 0 && r <= Highest ? rowOf[static_cast<std::size_t>(r)] : outside;
        FRowStarts.push_back(static_cast<std::uint32_t>(row * RowLength));
    }
}

namespace {

// What the entries of binade e are worked out from.
struct TFoot {
    explicit TFoot(int e)
        : Even(std::ldexp(1.0, e)), Odd(std::nextafter(Even, 2 * Even)), Foot(Even),
          Scale(std::ldexp(1.0L, 63 - e)),
          Leaving(static_cast<TReal>(Even) - 2 * static_cast<TReal>(Odd - Even)) {}
    // Two sums at the foot of the binade, m = 2^52 (even) and 2^52 + 1 (odd).
    double Even, Odd;
    TReal Foot, Scale;
    // A term this large may take such a sum out of the binade.
    TReal Leaving;
};

std::uint64_t StepOf(TReal term, const TFoot& foot) {
    if (term >= foot.Leaving) return THammingToReference::Leaves;
    const std::uint64_t fromEven = Bits(static_cast<double>(term + foot.Even)) - Bits(foot.Even);
    const std::uint64_t fromOdd = Bits(static_cast<double>(term + foot.Odd)) - Bits(foot.Odd);
    // On a tie each sum goes to its even neighbour, and the step depends on the sum: such a
    // step is left to the rounded term.
    return fromEven == fromOdd ? fromEven : THammingToReference::Leaves;
}

std::uint64_t RoundedOf(TReal term, const TFoot& foot) {
    if (term >= 2 * foot.Foot) return THammingToReference::Untabled;
    // A term of the binade or above has no bits below 2^(e-63); a smaller one is rounded on that
    // grid by adding it to the binade's foot.
    const TReal rounded = term >= foot.Foot ? term : (term + foot.Foot) - foot.Foot;
    return static_cast<std::uint64_t>(rounded * foot.Scale);
}

} // namespace

std::uint64_t THammingToReference::StepEntry(std::int32_t degree, std::int32_t referenceDegree,
                                             int e) {
    return StepOf(Term(degree, referenceDegree), TFoot(e));
}

std::uint64_t THammingToReference::RoundedEntry(std::int32_t degree, std::int32_t referenceDegree,
                                                int e) {
    return RoundedOf(Term(degree, referenceDegree), TFoot(e));
}

void THammingToReference::Build(TBinade& binade, std::int64_t e) const {
    const TFoot foot(static_cast<int>(e));
    const std::size_t size = (FRowDegrees.size() + 1) * RowLength;
    binade.Steps.assign(size, Leaves);
    binade.Rounded.assign(size, Untabled);
    for (std::size_t row = 0; row < FRowDegrees.size(); ++row)
        for (std::int32_t a = 0; a <= Highest; ++a) {
            const std::size_t at = row * RowLength + static_cast<std::size_t>(a);
            const TReal term = Term(a, FRowDegrees[row]);
            binade.Steps[at] = StepOf(term, foot);
            binade.Rounded[at] = RoundedOf(term, foot);
        }
}

inline const THammingToReference::TBinade* THammingToReference::Binade(std::int64_t e) const {
    const auto index = static_cast<std::uint64_t>(e - LowestBinade);
    if (index >= BinadeCount) return nullptr;
    TBinade& binade = FBinades[index];
    if (!FBuilt[index].load(std::memory_order_acquire)) [[unlikely]] {
        const std::lock_guard<std::mutex> lock(FBuilding);
        if (!FBuilt[index].load(std::memory_order_relaxed)) {
            Build(binade, e);
            FBuilt[index].store(true, std::memory_order_release);
        }
    }
    return &binade;
}

inline bool THammingToReference::CrossingStep(std::int64_t& e, std::uint64_t& m,
                                              const TBinade*& here, std::size_t at) const {
    // The result may lie up to two binades higher; all of them must have tables.
    if (e + 2 >= LowestBinade + BinadeCount) return false;
    // The sum in whole 2^(e-63), its last 11 bits 0.
    const std::uint64_t units = m << 11;
    std::uint64_t y = 0;
    std::int64_t grid = e;
    const std::uint64_t t = here->Rounded[at];
    if (t == Untabled || __builtin_add_overflow(units, t, &y)) {
        // The exact sum reaches 2^(e+1) (or, rounded on the grid of e, lands on it, which the
        // grid of e + 1 gives as well): rounded on the grid of e + 1.
        const std::uint64_t t1 = Binade(e + 1)->Rounded[at];
        if (t1 == Untabled || __builtin_add_overflow(units >> 1, t1, &y)) return false;
        grid = e + 1;
    }
    // y * 2^(grid-63), y in [2^63, 2^64), stored: rounded to 53 bits, ties to even.
    std::uint64_t rounded = 0;
    if (__builtin_add_overflow(y, 0x3FF + ((y >> 11) & 1), &rounded)) {
        e = grid + 1; // rounded up to 2^(grid+1)
        m = Hidden;
    } else {
        e = grid;
        m = rounded >> 11;
    }
    here = Binade(e);
    return true;
}

double THammingToReference::FloatStep(double sum, std::size_t i, std::int32_t degree) const {
    return static_cast<double>(Term(degree, FDegrees[i]) + sum);
}

double THammingToReference::Distance(const TFuzzySet& set) const {
    const std::size_t n = std::min(static_cast<std::size_t>(set.Count()), FDegrees.size());
    const std::int32_t* degrees = set.Degrees().data();
    const std::uint32_t* rowStarts = FRowStarts.data();
    double sum = 0;
    std::size_t i = 0;
    while (i < n) {
        // The sum as m * 2^(e-52) while it lies in a tabled binade.
        std::int64_t e = BinadeOfBits(Bits(sum));
        const TBinade* here = sum > 0 ? Binade(e) : nullptr;
        if (here != nullptr) {
            std::uint64_t m = (Bits(sum) & FractionMask) | Hidden;
            for (; i < n; ++i) {
                const auto degree = static_cast<std::uint32_t>(degrees[i]);
                if (degree > static_cast<std::uint32_t>(Highest)) break;
                const std::size_t at = rowStarts[i] + degree;
                const std::uint64_t next = m + here->Steps[at];
                if (next >> (FractionBits + 1) == 0) {
                    m = next;
                } else if (!CrossingStep(e, m, here, at)) {
                    break; // left to the unit
                }
            }
            sum = std::bit_cast<double>(
                static_cast<std::uint64_t>(e + ExponentBias) << FractionBits | (m & FractionMask));
            if (i == n) break;
        }
        sum = FloatStep(sum, i, degrees[i]);
        ++i;
    }
    return sum;
}

} // namespace vesk
