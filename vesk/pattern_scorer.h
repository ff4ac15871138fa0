#pragma once
// Batch scoring of patterns against one reference set.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "fuzzyset/fuzzy_set.h"
#include "vesk/block_runs.h"
#include "vesk/fuzzy_block.h"

namespace vesk {

// A pattern's fitness and the Hamming distance of its projection to the reference.
struct TPatternScore {
    std::int32_t Fitness = 0;
    double Distance = 0;
    friend bool operator==(const TPatternScore&, const TPatternScore&) = default;
};

// What scoring against one reference needs and never changes: the reference and its universe's
// block runs (none for universes too large to keep them). Built once, shared read-only by any
// number of scorers on any threads.
struct TScoringTables {
    explicit TScoringTables(TFuzzySet reference);

    const std::int32_t ElementCount;
    const TFuzzySet Reference;
    const std::optional<TBlockRuns> Runs;
};

// The tables of the reference set of elementCount elements; faults as MakeReference does.
std::shared_ptr<const TScoringTables> ReferenceTables(std::int32_t elementCount);

// Scores patterns as an agent does that loads the pattern, projects it and evaluates it against
// the reference set of the scorer's element count, with the same fitness, but without the agent:
// no chromosome is drawn, the block list, the projected set and the reference serve every
// pattern in turn, and each block's run of degrees is drawn once for the tables' life
// (TBlockRuns; universes too large for that apply every shape anew). A scorer belongs to one
// thread; scorers on many threads can share one set of tables.
class TPatternScorer {
public:
    // Builds the reference set of elementCount elements; faults as MakeReference does.
    explicit TPatternScorer(std::int32_t elementCount);
    // Scores against a reference of one's own, of reference.Count() elements.
    explicit TPatternScorer(const TFuzzySet& reference);
    // Scores with tables another scorer already has.
    explicit TPatternScorer(std::shared_ptr<const TScoringTables> tables);

    // The fitness of the pattern the text reads as (LoadFromHex); nothing, and nothing changed,
    // when the text's length is not a multiple of 5 (an agent would score its random block).
    // Faults as projection and evaluation do (no elements: an invalid operation).
    std::optional<std::int32_t> Score(std::string_view text);
    // The score of these blocks (each valid, as a block list holds them), projected in order.
    TPatternScore ScoreBlocks(std::span<const TFuzzyBlock> blocks);

    std::int32_t ElementCount() const { return FTables->ElementCount; }
    const TFuzzySet& Reference() const { return FTables->Reference; }
    const std::shared_ptr<const TScoringTables>& Tables() const { return FTables; }
    // The blocks of the last text scored, and the projection of the last pattern scored.
    const TVesk& Pattern() const { return FPattern; }
    const TFuzzySet& PatternSet() const { return FPatternSet; }

private:
    std::shared_ptr<const TScoringTables> FTables;
    TVesk FPattern;
    TFuzzySet FPatternSet;
};

} // namespace vesk
