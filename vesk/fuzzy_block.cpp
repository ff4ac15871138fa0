#include "vesk/fuzzy_block.h"

namespace vesk {

namespace {

bool InRange(std::int32_t value, std::int32_t high) {
    return value >= 0 && value <= high;
}

} // namespace

bool TFuzzyBlock::Validate() {
    if (InRange(Shape, FieldHighest[0]) && InRange(Centre, FieldHighest[1]) &&
        InRange(Spread, FieldHighest[2]) && InRange(Repeats, FieldHighest[3]) &&
        InRange(Op, FieldHighest[4]))
        return true;
    *this = TFuzzyBlock{};
    return false;
}

std::int32_t TVesk::AddBlock(TFuzzyBlock& block) {
    // Validation comes first, so an invalid block is zeroed even when the list is full.
    if (!block.Validate()) return -1;
    if (Count() >= MaxBlocks) return -1;
    FBlocks.push_back(block);
    return Count() - 1;
}

void TVesk::ClearBlocks() {
    FBlocks.clear();
    FBlocks.shrink_to_fit();
}

} // namespace vesk
