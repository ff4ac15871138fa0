#pragma once
// A pattern text in words: each group as the block it reads as, and where that block lies.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vesk/fuzzy_block.h"

namespace vesk {

// One group of five digits of a pattern text.
struct TBlockDescription {
    std::int32_t Index = 0; // from 0
    std::string Digits;     // the group as written
    TFuzzyBlock Block;      // as LoadFromHex reads it (a dropped group: as it would)
    bool Zeroed = false;    // the group is not a valid block and reads as the all-zero block
    bool Dropped = false;   // beyond the 32nd group: not read at all
    std::int32_t First = 0, Last = -1; // the elements it covers (none when dropped)
};

struct TPatternDescription {
    std::vector<TBlockDescription> Blocks;
    // Why the text cannot be read, when it cannot: its length is not a multiple of 5.
    std::optional<std::string> Problem;
};

// The blocks of text on elementCount elements, by the agent's own interval rule.
TPatternDescription DescribePattern(std::string_view text, std::int32_t elementCount);

} // namespace vesk
