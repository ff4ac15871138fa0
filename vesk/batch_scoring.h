#pragma once
// Scoring many patterns at once on every core.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/thread_team.h"
#include "vesk/fuzzy_block.h"
#include "vesk/pattern_scorer.h"

namespace vesk {

// A pattern as the blocks it projects, in order, each valid.
using TBlockList = std::vector<TFuzzyBlock>;

// Scores batches of patterns against the reference of one element count on a team of threads,
// each member with a TPatternScorer of its own on the tables they share, which stay warm from
// batch to batch. Every score
// is the one a single TPatternScorer gives, in input order. Calls must not overlap.
class TBatchScorer {
public:
    // threads 0: every hardware thread. Faults as TPatternScorer's constructor does.
    explicit TBatchScorer(std::int32_t elementCount, int threads = 0);

    // The scores of the patterns, out[i] for patterns[i]; out has the same size. A fault (no
    // elements) ends the batch and is raised here.
    void Score(std::span<const TBlockList> patterns, std::span<TPatternScore> out);
    std::vector<TPatternScore> Score(std::span<const TBlockList> patterns);
    // The texts as TPatternScorer::Score reads them: nothing for a length not a multiple of 5.
    std::vector<std::optional<TPatternScore>> Score(std::span<const std::string_view> texts);

    std::int32_t ElementCount() const { return FElementCount; }
    int Threads() const { return FTeam.Threads(); }

private:
    std::int32_t FElementCount;
    TThreadTeam FTeam;
    std::vector<TPatternScorer> FScorers; // one a member
};

} // namespace vesk
