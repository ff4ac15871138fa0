#include "fuzzyset/shape_runs.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace vesk {

namespace {

constexpr std::size_t FirstSlotCount = 1024;

bool FitsIn16Bits(std::int32_t v) {
    return v >= std::numeric_limits<std::int16_t>::min() &&
           v <= std::numeric_limits<std::int16_t>::max();
}

} // namespace

std::int32_t* TShapeRuns::Scratch(std::int32_t Length) {
    const auto size = static_cast<std::size_t>(Length);
    if (FScratch.size() < size) FScratch.resize(size);
    return FScratch.data();
}

void TShapeRuns::Keep(std::int32_t Code, std::int32_t Repeats, std::int32_t Length) {
    const auto size = static_cast<std::size_t>(Length);
    if (Length < 1 || Length > MaxLength || FScratch.size() < size) return;
    const auto recorded = FScratch.begin();
    if (!std::all_of(recorded, recorded + Length, FitsIn16Bits)) return;

    if (FDegrees.size() + size > MaxEntries || FRuns + 1 > MaxRuns) Clear();
    if (2 * (FRuns + 1) > FSlots.size()) Grow();
    // Grow by doubling, never past the bound.
    if (FDegrees.capacity() < FDegrees.size() + size)
        FDegrees.reserve(
            std::min(MaxEntries, std::max(2 * FDegrees.capacity(), FDegrees.size() + size)));

    const std::uint32_t key = Key(Code, Repeats, Length);
    std::uint32_t at = Hash(key);
    while (FSlots[at].Key != 0 && FSlots[at].Key != key)
        at = (at + 1) & FMask;
    if (FSlots[at].Key == 0) ++FRuns;
    FSlots[at] = {key, static_cast<std::uint32_t>(FDegrees.size())};
    for (auto v = recorded; v != recorded + Length; ++v)
        FDegrees.push_back(static_cast<std::int16_t>(*v));
}

void TShapeRuns::Grow() {
    std::vector<TSlot> old = std::move(FSlots);
    const std::size_t count = std::max(FirstSlotCount, 2 * old.size());
    FSlots.assign(count, TSlot{});
    FMask = static_cast<std::uint32_t>(count - 1);
    FShift = 32 - std::countr_zero(count);
    for (const TSlot& slot : old) {
        if (slot.Key == 0) continue;
        std::uint32_t at = Hash(slot.Key);
        while (FSlots[at].Key != 0)
            at = (at + 1) & FMask;
        FSlots[at] = slot;
    }
}

void TShapeRuns::Clear() {
    FDegrees.clear();
    std::fill(FSlots.begin(), FSlots.end(), TSlot{});
    FRuns = 0;
}

TShapeRuns& ShapeRuns() {
    thread_local TShapeRuns runs;
    return runs;
}

} // namespace vesk
