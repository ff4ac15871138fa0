#include "fuzzyset/shape_tables.h"

#include <algorithm>
#include <limits>

namespace vesk {

std::int32_t* TShapeTables::Scratch(std::int32_t W) {
    const auto size = static_cast<std::size_t>(W) + 1;
    if (FScratch.size() < size) FScratch.resize(size);
    return FScratch.data();
}

void TShapeTables::Keep(std::int32_t Code, std::int32_t W) {
    const auto span = static_cast<std::size_t>(W);
    const std::size_t size = span + 1;
    if (span > MaxSpan || FScratch.size() < size) return;
    const auto fits = [](std::int32_t v) {
        return v >= std::numeric_limits<std::int16_t>::min() &&
               v <= std::numeric_limits<std::int16_t>::max();
    };
    if (!std::all_of(FScratch.begin(), FScratch.begin() + static_cast<std::ptrdiff_t>(size), fits))
        return;

    if (FDegrees.size() + size > MaxEntries) Clear();
    // Grow by doubling, but never past the bound.
    if (FDegrees.capacity() < FDegrees.size() + size)
        FDegrees.reserve(
            std::min(MaxEntries, std::max(2 * FDegrees.capacity(), FDegrees.size() + size)));
    const std::size_t at = FDegrees.size();
    for (std::size_t d = 0; d < size; ++d)
        FDegrees.push_back(static_cast<std::int16_t>(FScratch[d]));

    auto& index = FIndex[static_cast<std::size_t>(Code)];
    if (index.empty()) index.assign(MaxSpan + 1, 0);
    index[span] = static_cast<std::uint32_t>(at + 1);
}

void TShapeTables::Clear() {
    FDegrees.clear();
    for (auto& index : FIndex)
        std::fill(index.begin(), index.end(), 0);
}

TShapeTables& ShapeTables() {
    thread_local TShapeTables tables;
    return tables;
}

} // namespace vesk
