#include "vesk/pattern_scorer.h"

#include "vesk/agent.h"

namespace vesk {

namespace {

TFuzzySet ReferenceOf(std::int32_t elementCount) {
    TFuzzySet reference;
    reference.MakeReference(elementCount, false);
    return reference;
}

} // namespace

TPatternScorer::TPatternScorer(std::int32_t elementCount)
    : FElementCount(elementCount), FReference(ReferenceOf(elementCount)), FDistance(FReference) {}

std::optional<std::int32_t> TPatternScorer::Score(std::string_view text) {
    if (text.size() % 5 != 0) return std::nullopt;
    FPattern.LoadFromHex(text);
    ProjectPattern(FPattern, FPattern.Count(), FElementCount, FPatternSet);
    return FitnessOfDistance(FDistance.Distance(FPatternSet), FPatternSet.Count());
}

} // namespace vesk
