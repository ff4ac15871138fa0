#include "vesk/batch_scoring.h"

namespace vesk {

namespace {

// Patterns a member scores in one go: enough to pay for sharing them out, few enough to balance.
constexpr std::size_t Grain = 256;

} // namespace

TBatchScorer::TBatchScorer(std::int32_t elementCount, int threads)
    : FElementCount(elementCount), FTeam(threads) {
    const std::shared_ptr<const TScoringTables> tables = ReferenceTables(elementCount);
    FScorers.reserve(static_cast<std::size_t>(FTeam.Threads()));
    for (int member = 0; member < FTeam.Threads(); ++member)
        FScorers.emplace_back(tables);
}

void TBatchScorer::Score(std::span<const TBlockList> patterns, std::span<TPatternScore> out) {
    FTeam.ForRanges(patterns.size(), Grain, [&](int member, std::size_t begin, std::size_t end) {
        TPatternScorer& scorer = FScorers[static_cast<std::size_t>(member)];
        for (std::size_t i = begin; i != end; ++i)
            out[i] = scorer.ScoreBlocks(patterns[i]);
    });
}

std::vector<TPatternScore> TBatchScorer::Score(std::span<const TBlockList> patterns) {
    std::vector<TPatternScore> out(patterns.size());
    Score(patterns, out);
    return out;
}

std::vector<std::optional<TPatternScore>>
TBatchScorer::Score(std::span<const std::string_view> texts) {
    std::vector<std::optional<TPatternScore>> out(texts.size());
    FTeam.ForRanges(texts.size(), Grain, [&](int member, std::size_t begin, std::size_t end) {
        TPatternScorer& scorer = FScorers[static_cast<std::size_t>(member)];
        TVesk pattern;
        for (std::size_t i = begin; i != end; ++i) {
            if (texts[i].size() % 5 != 0) continue;
            pattern.LoadFromHex(texts[i]);
            out[i] = scorer.ScoreBlocks(pattern.Blocks());
        }
    });
    return out;
}

} // namespace vesk
