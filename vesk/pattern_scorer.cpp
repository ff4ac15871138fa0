#include "vesk/pattern_scorer.h"

#include "vesk/agent.h"

namespace vesk {

namespace {

std::optional<TBlockRuns> RunsFor(std::int32_t elementCount) {
    if (!TBlockRuns::Fits(elementCount)) return std::nullopt;
    return std::optional<TBlockRuns>(std::in_place, elementCount);
}

} // namespace

TScoringTables::TScoringTables(TFuzzySet reference)
    : ElementCount(reference.Count()), Reference(std::move(reference)),
      Runs(RunsFor(ElementCount)) {}

std::shared_ptr<const TScoringTables> ReferenceTables(std::int32_t elementCount) {
    TFuzzySet reference;
    reference.MakeReference(elementCount, false);
    return std::make_shared<const TScoringTables>(std::move(reference));
}

TPatternScorer::TPatternScorer(std::int32_t elementCount)
    : FTables(ReferenceTables(elementCount)) {}

TPatternScorer::TPatternScorer(const TFuzzySet& reference)
    : FTables(std::make_shared<const TScoringTables>(reference)) {}

TPatternScorer::TPatternScorer(std::shared_ptr<const TScoringTables> tables)
    : FTables(std::move(tables)) {}

std::optional<std::int32_t> TPatternScorer::Score(std::string_view text) {
    if (text.size() % FieldsPerBlock != 0) return std::nullopt;
    FPattern.LoadFromHex(text);
    return ScoreBlocks(FPattern.Blocks()).Fitness;
}

TPatternScore TPatternScorer::ScoreBlocks(std::span<const TFuzzyBlock> blocks) {
    const std::int32_t n = FTables->ElementCount;
    if (FTables->Runs && FPatternSet.Count() == n) {
        FPatternSet.StepFill(InitialDegree, InitialDegree, 0);
        std::int32_t* degrees = FPatternSet.WritableDegrees();
        for (const TFuzzyBlock& B : blocks)
            FTables->Runs->Merge(B, degrees);
    } else {
        FPatternSet.ClearDegrees();
        FPatternSet.Fill(n, InitialDegree);
        for (const TFuzzyBlock& B : blocks) {
            const TBlockInterval at = BlockInterval(B, n);
            FPatternSet.ApplyShape(B.Shape, B.Repeats, at.First, at.Last, B.Op);
        }
    }
    TPatternScore score;
    score.Distance = FPatternSet.HammingDistance(FTables->Reference);
    score.Fitness = FitnessOfDistance(score.Distance, FPatternSet.Count());
    return score;
}

} // namespace vesk
