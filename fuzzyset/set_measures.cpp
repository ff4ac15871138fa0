// The three measures. Each term is formed in extended precision and the running sum is stored
// to a double after every step: the last digit of every figure depends on that order.
#include <cmath>

#include "fuzzyset/fuzzy_set.h"

namespace vesk {

namespace {

double CardinalityOf(const std::int32_t* degrees, std::size_t count) {
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        TReal q = static_cast<TReal>(degrees[i]) / 100.0L;
        sum = static_cast<double>(q + sum);
    }
    return sum;
}

} // namespace

double TFuzzySet::Cardinality() const {
    return CardinalityOf(FDegrees.data(), FDegrees.size());
}

double TFuzzySet::HammingDistance(const TFuzzySet& B) const {
    const std::size_t n = static_cast<std::size_t>(MinOf(Count(), B.Count()));
    const std::int32_t* a = FDegrees.data();
    const std::int32_t* b = B.FDegrees.data();
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        TReal x = static_cast<TReal>(a[i]) / 100.0L;
        TReal y = static_cast<TReal>(b[i]) / 100.0L;
        sum = static_cast<double>(fabsl(x - y) + sum);
    }
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
