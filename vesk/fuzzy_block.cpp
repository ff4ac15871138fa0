#include "vesk/fuzzy_block.h"

#include <algorithm>

#include "runtime/extended.h"

namespace vesk {

namespace {

// Only a negative element count (an empty set, whose intervals are all refused) or a block
// that never passed Validate can take an index beyond 32 bits.
std::int32_t ClampTo32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

bool TFuzzyBlock::Validate() {
    for (const TBlockField& field : BlockFields)
        if (this->*field.Member < 0 || this->*field.Member > field.Highest) {
            *this = TFuzzyBlock{};
            return false;
        }
    return true;
}

TBlockInterval BlockInterval(const TFuzzyBlock& B, std::int32_t elementCount) {
    // Worked in 64 bits: for element counts near the 32-bit limit (Centre + Spread + 1) * q
    // would overflow, and such an interval reaches the last cell anyway.
    const std::int64_t q = elementCount / CellCount;
    const std::int64_t centre = B.Centre;
    const std::int64_t spread = B.Spread;
    const std::int64_t from = (centre - spread) * q;
    const std::int64_t to = (centre + 1 + spread) * q - 1;
    TBlockInterval interval;
    interval.First = ClampTo32(std::max<std::int64_t>(from, 0));
    // Selected by a mask rather than a branch: from block to block the way is as good as random.
    const std::int32_t reaches = -static_cast<std::int32_t>(to >= CellCount * q - 1);
    interval.Last = (WrapSub(elementCount, 1) & reaches) | (ClampTo32(to) & ~reaches);
    return interval;
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
