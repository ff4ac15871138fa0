#pragma once
// Fuzzy blocks and the block list of a Vesk pattern.

#include <array>
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

// A block's field: its name, where it is held, the largest value it may hold and its bits in a
// chromosome.
struct TBlockField {
    const char* Name;
    std::int32_t TFuzzyBlock::*Member;
    std::int32_t Highest;
    std::int32_t Bits;
};

// The five fields in the order of the text (one hex digit each) and of the chromosome.
constexpr std::int32_t FieldsPerBlock = 5;
constexpr std::array<TBlockField, FieldsPerBlock> BlockFields = {{
    {"shape", &TFuzzyBlock::Shape, 15, 4},
    {"centre", &TFuzzyBlock::Centre, 15, 4},
    {"spread", &TFuzzyBlock::Spread, 7, 3},
    {"repeats", &TFuzzyBlock::Repeats, 7, 3},
    {"op", &TFuzzyBlock::Op, 15, 4},
}};
// Indices into BlockFields.
enum TFieldIndex : std::int32_t { ShapeField, CentreField, SpreadField, RepeatsField, OpField };

constexpr std::int32_t FieldHighest(std::int32_t k) {
    return BlockFields[static_cast<std::size_t>(k)].Highest;
}
inline std::int32_t& FieldOf(TFuzzyBlock& B, std::int32_t k) {
    return B.*BlockFields[static_cast<std::size_t>(k)].Member;
}
inline std::int32_t FieldOf(const TFuzzyBlock& B, std::int32_t k) {
    return B.*BlockFields[static_cast<std::size_t>(k)].Member;
}

// The universe is cut into 16 cells of N / 16 elements (the rest, N mod 16 elements, belongs to
// the last cell's reach); a block covers its centre cell and Spread cells on either side.
constexpr std::int32_t CellCount = 16;

// The elements a block covers in a universe of elementCount elements, First..Last.
struct TBlockInterval {
    std::int32_t First = 0, Last = -1;
    friend bool operator==(const TBlockInterval&, const TBlockInterval&) = default;
};
TBlockInterval BlockInterval(const TFuzzyBlock& B, std::int32_t elementCount);

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
