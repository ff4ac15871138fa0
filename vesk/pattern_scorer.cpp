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
    : FElementCount(elementCount), FReference(ReferenceOf(elementCount)), FDistance(FReference) {
    if (TBlockRuns::Fits(elementCount)) FRuns.emplace(elementCount);
}

TPatternScorer::TPatternScorer(const TFuzzySet& reference)
    : FElementCount(reference.Count()), FReference(reference), FDistance(FReference) {
    if (TBlockRuns::Fits(FElementCount)) FRuns.emplace(FElementCount);
}

std::optional<std::int32_t> TPatternScorer::Score(std::string_view text) {
    if (text.size() % FieldsPerBlock != 0) return std::nullopt;
    FPattern.LoadFromHex(text);
    return ScoreBlocks(FPattern.Blocks()).Fitness;
}

TPatternScore TPatternScorer::ScoreBlocks(std::span<const TFuzzyBlock> blocks) {
    if (FRuns && FPatternSet.Count() == FElementCount) {
        FPatternSet.StepFill(InitialDegree, InitialDegree, 0);
        std::int32_t* degrees = FPatternSet.WritableDegrees();
        for (const TFuzzyBlock& B : blocks)
            FRuns->Merge(B, degrees);
    } else {
        FPatternSet.ClearDegrees();
        FPatternSet.Fill(FElementCount, InitialDegree);
        for (const TFuzzyBlock& B : blocks) {
            std::int32_t first = 0, last = 0;
            TVeskAgent::BlockInterval(B, FElementCount, first, last);
            FPatternSet.ApplyShape(B.Shape, B.Repeats, first, last, B.Op);
        }
    }
    TPatternScore score;
    score.Distance = FDistance.Distance(FPatternSet);
    score.Fitness = FitnessOfDistance(score.Distance, FPatternSet.Count());
    return score;
}

} // namespace vesk
