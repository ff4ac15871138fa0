// The three measures. Each term is formed in extended precision and the running sum is stored
// to a double after every step: the last digit of every figure depends on that order.
#include <array>
#include <cmath>

#include "fuzzyset/fuzzy_set.h"

namespace vesk {

namespace {

// degree / 100 in extended precision. The quotients of the degrees that occur in practice are
// computed once, by the same division, and looked up; other degrees are divided on the spot.
class TQuotients {
public:
    TQuotients() {
        for (std::int32_t v = Lowest; v < Lowest + Count; ++v)
            FTable[static_cast<std::size_t>(v - Lowest)] = Divided(v);
    }
    TReal operator()(std::int32_t v) const {
        const auto at = static_cast<std::uint32_t>(v) - static_cast<std::uint32_t>(Lowest);
        return at < static_cast<std::uint32_t>(Count) ? FTable[at] : Divided(v);
    }

private:
    static constexpr std::int32_t Lowest = -256, Count = 768;
    static TReal Divided(std::int32_t v) { return static_cast<TReal>(v) / 100.0L; }
    std::array<TReal, Count> FTable;
};

const TQuotients& Quotient() {
    static const TQuotients quotients;
    return quotients;
}

double CardinalityOf(const std::int32_t* degrees, std::size_t count) {
    const TQuotients& quotient = Quotient();
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum = static_cast<double>(quotient(degrees[i]) + sum);
    return sum;
}

} // namespace

double TFuzzySet::Cardinality() const {
    return CardinalityOf(FDegrees.data(), FDegrees.size());
}

double TFuzzySet::HammingDistance(const TFuzzySet& B) const {
    const TQuotients& quotient = Quotient();
    const std::size_t n = static_cast<std::size_t>(MinOf(Count(), B.Count()));
    const std::int32_t* a = FDegrees.data();
    const std::int32_t* b = B.FDegrees.data();
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum = static_cast<double>(fabsl(quotient(a[i]) - quotient(b[i])) + sum);
    return sum;
}

double TFuzzySet::Subsethood(const TFuzzySet& B) const {
    TFuzzySet common;
    common.Intersection(*this, B);
    const double c1 = common.Cardinality();
    const double c2 = Cardinality();
    return StoreDouble(Divide(c1, c2));
}

} // namespace vesk
