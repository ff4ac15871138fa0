#include "fuzzyset/fuzzy_set.h"

#include "runtime/random_source.h"

namespace vesk {

std::int32_t TFuzzySet::AddDegree(std::int32_t v) {
    if (!TDegree(v).IsValid()) return -1;
    FDegrees.push_back(v);
    return Count() - 1;
}

bool TFuzzySet::SetDegree(std::int32_t i, std::int32_t v) {
    if (i < 0 || i >= Count()) return false;
    FDegrees[static_cast<std::size_t>(i)] = v;
    return true;
}

std::int32_t TFuzzySet::GetDegree(std::int32_t i) const {
    if (i < 0 || i >= Count()) return -1;
    return FDegrees[static_cast<std::size_t>(i)];
}

void TFuzzySet::ClearDegrees() {
    FDegrees.clear();
    FDegrees.shrink_to_fit();
}

void TFuzzySet::CopyFrom(const TFuzzySet& S) {
    if (&S == this) {
        // Copying a set onto itself keeps only its valid degrees, as a copy would.
        std::erase_if(FDegrees, [](std::int32_t v) { return !TDegree(v).IsValid(); });
        return;
    }
    FDegrees.clear();
    FDegrees.reserve(S.FDegrees.size());
    for (std::int32_t v : S.FDegrees)
        if (TDegree(v).IsValid()) FDegrees.push_back(v);
}

namespace {

// Elementwise pick over the shorter operand, leaving out results outside 0..100. The result is
// built aside first so that Self may be one of the operands.
template <typename Pick>
std::vector<std::int32_t> Elementwise(const TFuzzySet& A, const TFuzzySet& B, Pick pick) {
    const std::int32_t n = MinOf(A.Count(), B.Count());
    std::vector<std::int32_t> result;
    result.reserve(static_cast<std::size_t>(n));
    const auto& a = A.Degrees();
    const auto& b = B.Degrees();
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        std::int32_t v = pick(a[i], b[i]);
        if (TDegree(v).IsValid()) result.push_back(v);
    }
    return result;
}

} // namespace

void TFuzzySet::Union(const TFuzzySet& A, const TFuzzySet& B) {
    FDegrees = Elementwise(A, B, MaxOf);
}

void TFuzzySet::Intersection(const TFuzzySet& A, const TFuzzySet& B) {
    FDegrees = Elementwise(A, B, MinOf);
}

void TFuzzySet::ZeroDegrees() {
    std::fill(FDegrees.begin(), FDegrees.end(), 0);
}

void TFuzzySet::RandomFill(std::int32_t n) {
    ClearDegrees();
    RandomSource.ReseedFromClock();
    if (n <= 0) return;
    FDegrees.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        AddDegree(RandomSource.NextInt(101));
}

void TFuzzySet::Fill(std::int32_t n, std::int32_t v) {
    ClearDegrees();
    if (n <= 0 || !TDegree(v).IsValid()) return;
    FDegrees.assign(static_cast<std::size_t>(n), v);
}

void TFuzzySet::StepFill(std::int32_t a, std::int32_t b, std::int32_t k) {
    if (k >= Count() || k < 0) return;
    auto split = FDegrees.begin() + k + 1;
    std::fill(FDegrees.begin(), split, a);
    std::fill(split, FDegrees.end(), b);
}

} // namespace vesk
