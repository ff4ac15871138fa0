// The three measures. Each term is formed in extended precision and the running sum is stored
// to a double after every step: the last digit of every figure depends on that order. The sums
// run in TDoubleSum; the terms of degrees within 0..100 come from a table of the very terms the
// extended arithmetic forms, in fixed point.
#include <array>
#include <cmath>

#include "fuzzyset/double_sum.h"
#include "fuzzyset/fuzzy_set.h"

namespace vesk {

namespace {

TReal Quotient(std::int32_t v) {
    return static_cast<TReal>(v) / 100.0L;
}

// |a/100 - b/100| for every pair of degrees within 0..100 (b = 0 gives a/100 itself), computed
// once by the extended arithmetic and kept in fixed form: 10201 terms, 90 KiB. Both orders are
// kept so that no branch picks the larger degree.
class TTermTable {
public:
    TTermTable() {
        for (std::int32_t a = 0; a <= Highest; ++a)
            for (std::int32_t b = 0; b <= Highest; ++b) {
                const TFixedTerm t = FixedTerm(fabsl(Quotient(a) - Quotient(b)));
                FSignificands[At(a, b)] = t.Significand;
                FShifts[At(a, b)] = static_cast<std::uint8_t>(t.Shift);
            }
    }

    static bool Holds(std::int32_t v) { return static_cast<std::uint32_t>(v) <= Highest; }

    // The term of a and b, both held.
    TFixedTerm Term(std::int32_t a, std::int32_t b) const {
        const std::size_t at = At(a, b);
        return {FSignificands[at], FShifts[at]};
    }

private:
    static constexpr std::int32_t Highest = 100;
    static constexpr std::size_t Size = (Highest + 1) * (Highest + 1);
    static std::size_t At(std::int32_t a, std::int32_t b) {
        return static_cast<std::size_t>(a * (Highest + 1) + b);
    }

    std::array<std::uint64_t, Size> FSignificands;
    std::array<std::uint8_t, Size> FShifts;
};

const TTermTable& Terms() {
    static const TTermTable terms;
    return terms;
}

double CardinalityOf(const std::int32_t* degrees, std::size_t count) {
    const TTermTable& terms = Terms();
    TDoubleSum sum;
    for (std::size_t i = 0; i < count; ++i) {
        if (TTermTable::Holds(degrees[i]))
            sum.Add(terms.Term(degrees[i], 0));
        else
            sum.Add(Quotient(degrees[i]));
    }
    return sum.Value();
}

} // namespace

double TFuzzySet::Cardinality() const {
    return CardinalityOf(FDegrees.data(), FDegrees.size());
}

double TFuzzySet::HammingDistance(const TFuzzySet& B) const {
    const TTermTable& terms = Terms();
    const std::size_t n = static_cast<std::size_t>(MinOf(Count(), B.Count()));
    const std::int32_t* a = FDegrees.data();
    const std::int32_t* b = B.FDegrees.data();
    TDoubleSum sum;
    for (std::size_t i = 0; i < n; ++i) {
        if (TTermTable::Holds(a[i]) && TTermTable::Holds(b[i]))
            sum.Add(terms.Term(a[i], b[i]));
        else
            sum.Add(fabsl(Quotient(a[i]) - Quotient(b[i])));
    }
    return sum.Value();
}

double TFuzzySet::Subsethood(const TFuzzySet& B) const {
    TFuzzySet common;
    common.Intersection(*this, B);
    const double c1 = common.Cardinality();
    const double c2 = Cardinality();
    return StoreDouble(Divide(c1, c2));
}

} // namespace vesk
