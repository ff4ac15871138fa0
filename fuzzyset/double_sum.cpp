#include "fuzzyset/double_sum.h"

#include <cmath>

namespace vesk {

namespace {

std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
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

// The term of two degrees within 0..100, formed as the measures form it.
TReal Term(std::int32_t a, std::int32_t b) {
    return fabsl(Quotients()[static_cast<std::size_t>(a)] -
                 Quotients()[static_cast<std::size_t>(b)]);
}

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
    if (term >= foot.Leaving) return TDegreeTermSteps::Leaves;
    const std::uint64_t fromEven = Bits(static_cast<double>(term + foot.Even)) - Bits(foot.Even);
    const std::uint64_t fromOdd = Bits(static_cast<double>(term + foot.Odd)) - Bits(foot.Odd);
    // On a tie each sum goes to its even neighbour, and the step depends on the sum: such a
    // step is left to the rounded term.
    return fromEven == fromOdd ? fromEven : TDegreeTermSteps::Leaves;
}

std::uint64_t RoundedOf(TReal term, const TFoot& foot) {
    if (term >= 2 * foot.Foot) return TDegreeTermSteps::Untabled;
    // A term of the binade or above has no bits below 2^(e-63); a smaller one is rounded on that
    // grid by adding it to the binade's foot.
    const TReal rounded = term >= foot.Foot ? term : (term + foot.Foot) - foot.Foot;
    return static_cast<std::uint64_t>(rounded * foot.Scale);
}

} // namespace

const TDegreeTermSteps& TDegreeTermSteps::Shared() {
    static const TDegreeTermSteps steps;
    return steps;
}

std::uint64_t TDegreeTermSteps::StepEntry(std::int32_t a, std::int32_t b, int e) {
    return StepOf(Term(a, b), TFoot(e));
}

std::uint64_t TDegreeTermSteps::RoundedEntry(std::int32_t a, std::int32_t b, int e) {
    return RoundedOf(Term(a, b), TFoot(e));
}

double TDegreeTermSteps::StepOnUnit(double sum, std::int32_t a, std::int32_t b) {
    return static_cast<double>(Term(a, b) + sum);
}

void TDegreeTermSteps::Build(TBinade& binade, std::int64_t e) const {
    const TFoot foot(static_cast<int>(e));
    binade.Steps.resize(Row * Row);
    binade.Rounded.resize(Row * Row);
    for (std::int32_t b = 0; b <= Highest; ++b)
        for (std::int32_t a = 0; a <= Highest; ++a) {
            const std::size_t at = static_cast<std::size_t>(b) * Row + static_cast<std::size_t>(a);
            const TReal term = Term(a, b);
            binade.Steps[at] = StepOf(term, foot);
            binade.Rounded[at] = RoundedOf(term, foot);
        }
}

const TDegreeTermSteps::TBinade* TDegreeTermSteps::Binade(std::int64_t e) const {
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

bool TDegreeTermSteps::CrossingStep(std::int64_t& e, std::uint64_t& m, const TBinade*& here,
                                    std::size_t at) const {
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

} // namespace vesk
