// The three measures. Each term is formed in extended precision and the running sum is stored
// to a double after every step: the last digit of every figure depends on that order. The sums
// run on the steps of TDegreeTermSteps.
#include <cmath>

#include "fuzzyset/double_sum.h"
#include "fuzzyset/fuzzy_set.h"

namespace vesk {

namespace {

TReal Quotient(std::int32_t v) {
    return static_cast<TReal>(v) / 100.0L;
}

} // namespace

double TFuzzySet::Cardinality() const {
    // |a/100 - 0|, which is a/100 itself for the degrees the tables hold.
    const std::int32_t* a = FDegrees.data();
    return TDegreeTermSteps::Shared().Sum(
        a, FDegrees.size(), [](std::size_t) { return 0; },
        [a](std::size_t i) { return Quotient(a[i]); });
}

double TFuzzySet::HammingDistance(const TFuzzySet& B) const {
    const std::size_t n = static_cast<std::size_t>(MinOf(Count(), B.Count()));
    const std::int32_t* a = FDegrees.data();
    const std::int32_t* b = B.FDegrees.data();
    return TDegreeTermSteps::Shared().Sum(
        a, n, [b](std::size_t i) { return b[i]; },
        [a, b](std::size_t i) { return fabsl(Quotient(a[i]) - Quotient(b[i])); });
}

double TFuzzySet::Subsethood(const TFuzzySet& B) const {
    TFuzzySet common;
    common.Intersection(*this, B);
    const double c1 = common.Cardinality();
    const double c2 = Cardinality();
    return StoreDouble(Divide(c1, c2));
}

} // namespace vesk
