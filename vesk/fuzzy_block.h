#pragma once
// Fuzzy blocks and the block list of a Vesk pattern.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// One block: shape, position (centre and spread in cells), repeats and merging operator.
class TFuzzyBlock {
public:
    std::int32_t Shape = 0;   // 0..15
    std::int32_t Centre = 0;  // 0..15
    std::int32_t Spread = 0;  // 0..7
    std::int32_t Repeats = 0; // 0..7
    std::int32_t Op = 0;      // 0..15

    // True when every field is in range; otherwise zeroes all five fields and returns false.
    bool Validate();
    friend bool operator==(const TFuzzyBlock&, const TFuzzyBlock&) = default;
};

constexpr std::int32_t MaxBlocks = 32;
// A block's fields in the order above (one hex digit each in the text), and the largest value
// each may hold.
constexpr std::int32_t FieldsPerBlock = 5;
constexpr std::int32_t FieldHighest[FieldsPerBlock] = {15, 15, 7, 7, 15};

// An ordered list of at most 32 valid blocks.
class TVesk {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(FBlocks.size()); }
    const TFuzzyBlock& Block(std::int32_t i) const { return FBlocks[static_cast<std::size_t>(i)]; }
    const std::vector<TFuzzyBlock>& Blocks() const { return FBlocks; }

    // Validates the block (zeroing it when invalid), then appends a copy; its index, or -1 when
    // it is invalid or the list is full.
    std::int32_t AddBlock(TFuzzyBlock& block);
    void ClearBlocks();

    // Replaces the blocks by those read from text (5 hex digits a block); a text whose length is
    // not a multiple of 5 is ignored, invalid groups become the all-zero block, groups beyond
    // the 32nd are dropped.
    void LoadFromHex(std::string_view text);
    // The blocks as upper-case hex text, 5 characters a block.
    std::string SaveToHex() const;

private:
    std::vector<TFuzzyBlock> FBlocks;
};

} // namespace vesk
