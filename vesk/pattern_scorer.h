#pragma once
// Batch scoring of pattern texts against one reference set.

#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzzyset/fuzzy_set.h"
#include "vesk/fuzzy_block.h"
#include "vesk/reference_distance.h"

namespace vesk {

// Scores pattern texts as an agent does that loads the text, projects it and evaluates it
// against the reference set of the scorer's element count, with the same fitness, but without
// the agent: no chromosome is drawn, and the block list, the projected set and the reference
// serve every text in turn, so that scoring allocates nothing once warm.
class TPatternScorer {
public:
    // Builds the reference set of elementCount elements; faults as MakeReference does.
    explicit TPatternScorer(std::int32_t elementCount);

    // The fitness of the pattern the text reads as (LoadFromHex); nothing, and nothing changed,
    // when the text's length is not a multiple of 5 (an agent would score its random block).
    // Faults as projection and evaluation do (no elements: an invalid operation).
    std::optional<std::int32_t> Score(std::string_view text);

    std::int32_t ElementCount() const { return FElementCount; }
    const TFuzzySet& Reference() const { return FReference; }
    // The blocks of the last text scored, and their projection.
    const TVesk& Pattern() const { return FPattern; }
    const TFuzzySet& PatternSet() const { return FPatternSet; }

private:
    std::int32_t FElementCount;
    TFuzzySet FReference;
    THammingToReference FDistance;
    TVesk FPattern;
    TFuzzySet FPatternSet;
};

} // namespace vesk
