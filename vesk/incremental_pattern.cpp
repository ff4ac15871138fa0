#include "vesk/incremental_pattern.h"

#include <algorithm>
#include <cstdlib>

#include "fuzzyset/degree_runs.h"
#include "vesk/agent.h"

namespace vesk {

namespace {

// The shortest range of elements a change is narrowed on after every block.
constexpr std::int32_t NarrowedFrom = 128;

// Sum |degrees[k] - target[k]| over k < count. The larger less the smaller of two 32-bit
// integers always fits in 32 unsigned bits.
template <int>
[[gnu::always_inline]] inline std::int64_t
ErrorSumOn(const std::int32_t* degrees, const std::int32_t* target, std::int32_t count) {
    std::uint64_t sum = 0;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::int32_t high = std::max(degrees[k], target[k]);
        const std::int32_t low = std::min(degrees[k], target[k]);
        sum += static_cast<std::uint32_t>(static_cast<std::uint32_t>(high) -
                                          static_cast<std::uint32_t>(low));
    }
    return static_cast<std::int64_t>(sum);
}

// The same loop compiled for wider vectors, chosen once by what the processor has (an
// indirect function resolved by the loader would run before the sanitizers' runtimes start).
[[gnu::target("avx2")]] std::int64_t ErrorSumWide(const std::int32_t* degrees,
                                                  const std::int32_t* target, std::int32_t count) {
    return ErrorSumOn<1>(degrees, target, count);
}
[[gnu::target("avx512f,avx512vl")]] std::int64_t
ErrorSumWidest(const std::int32_t* degrees, const std::int32_t* target, std::int32_t count) {
    return ErrorSumOn<2>(degrees, target, count);
}

using TErrorSum = std::int64_t (*)(const std::int32_t*, const std::int32_t*, std::int32_t);
const TErrorSum ErrorSum = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl"))
        return &ErrorSumWidest;
    return __builtin_cpu_supports("avx2") ? &ErrorSumWide : &ErrorSumOn<0>;
}();

} // namespace

TIncrementalPattern::TIncrementalPattern(std::shared_ptr<const TScoringTables> tables,
                                         const TBlockList& blocks, std::int32_t stride)
    : FTables(std::move(tables)), FStride(std::max(stride, 1)),
      FElements((FTables->ElementCount + FStride - 1) / FStride),
      FTarget(FTables->Reference.Degrees().data()) {
    if (FStride > 1) {
        for (std::int32_t j = 0; j < FElements; ++j)
            FSampledTarget.push_back(FTarget[j * FStride]);
        FTarget = FSampledTarget.data();
        FSampledRuns.resize(16 * 8 * 16 * 8);
    }
    for (std::int32_t centre = 0; centre < 16; ++centre)
        for (std::int32_t spread = 0; spread < 8; ++spread) {
            const TBlockInterval at =
                BlockInterval({0, centre, spread, 0, 0}, FTables->ElementCount);
            // The kept elements inside: first / k rounded up to last / k rounded down.
            const std::int32_t first = (at.First + FStride - 1) / FStride;
            const std::int32_t last = at.Last / FStride;
            FIntervals[static_cast<std::size_t>(centre * 8 + spread)] = {first, last - first + 1};
        }
    FScratch.resize(static_cast<std::size_t>(FElements));
    Reset(blocks);
}

void TIncrementalPattern::Reset(const TBlockList& blocks) {
    FBlocks = blocks;
    FPlaced.clear();
    for (const TFuzzyBlock& B : FBlocks)
        FPlaced.push_back(Place(B));
    FChange = TChange::None;
    const std::size_t n = static_cast<std::size_t>(FElements);
    FRows.assign((FBlocks.size() + 1) * n, InitialDegree);
    const TRange all{0, FElements - 1};
    for (std::size_t k = 0; k < FBlocks.size(); ++k) {
        std::copy(Row(k), Row(k) + n, Row(k + 1));
        MergeInto(FPlaced[k], Row(k + 1), all);
    }
    FPrefix.assign(n + 1, 0);
    SumPrefixes(0);
    FSum = FPrefix[n];
}

void TIncrementalPattern::SumPrefixes(std::int32_t first) {
    const std::int32_t* degrees = Row(FBlocks.size());
    std::int64_t sum = FPrefix[static_cast<std::size_t>(first)];
    for (std::int32_t i = first; i < FElements; ++i) {
        sum += std::abs(static_cast<std::int64_t>(degrees[i]) - FTarget[i]);
        FPrefix[static_cast<std::size_t>(i) + 1] = sum;
    }
}

TIncrementalPattern::TPlaced TIncrementalPattern::Place(const TFuzzyBlock& B) {
    const TInterval& interval = IntervalOf(B);
    const std::int16_t* run = nullptr;
    if (FStride > 1)
        run = interval.Length > 0 ? SampledRun(B) : nullptr;
    else if (FTables->Runs)
        run = FTables->Runs->RunOf(B);
    return {B, interval.First, interval.First + interval.Length - 1, run};
}

const std::int16_t* TIncrementalPattern::SampledRun(const TFuzzyBlock& B) {
    auto& kept = FSampledRuns[static_cast<std::size_t>(
        ((B.Shape * 8 + B.Repeats) * 16 + B.Centre) * 8 + B.Spread)];
    if (kept) return kept.get();
    const auto [first, last] = BlockInterval(B, FTables->ElementCount);
    const std::int16_t* full = FTables->Runs ? FTables->Runs->RunOf(B) : nullptr;
    if (full == nullptr) {
        FDrawn.resize(static_cast<std::size_t>(last - first + 1));
        DrawShapeRun(B.Shape, B.Repeats, last - first + 1, FDrawn.data());
    }
    const TInterval& interval = IntervalOf(B);
    kept =
        std::make_unique_for_overwrite<std::int16_t[]>(static_cast<std::size_t>(interval.Length));
    for (std::int32_t j = 0; j < interval.Length; ++j) {
        const auto at = static_cast<std::size_t>((interval.First + j) * FStride - first);
        kept[static_cast<std::size_t>(j)] =
            full != nullptr ? full[at] : static_cast<std::int16_t>(FDrawn[at]);
    }
    return kept.get();
}

std::span<const std::int32_t> TIncrementalPattern::Degrees() const {
    return {Row(FBlocks.size()), static_cast<std::size_t>(FElements)};
}

void TIncrementalPattern::MergeInto(const TPlaced& P, std::int32_t* degrees, const TRange& range) {
    const std::int32_t first = std::max(range.First, P.First);
    const std::int32_t last = std::min(range.Last, P.Last);
    if (first > last) return;
    const TFuzzyBlock& B = P.Block;
    const std::int16_t* run = P.Run;
    if (run == nullptr) {
        // Too large a universe to keep every run: the block's run is drawn for this merge.
        const std::int32_t length = P.Last - P.First + 1;
        FDrawn.resize(static_cast<std::size_t>(length));
        DrawShapeRun(B.Shape, B.Repeats, length, FDrawn.data());
        FDrawn16.resize(FDrawn.size());
        for (std::size_t k = 0; k < FDrawn.size(); ++k)
            FDrawn16[k] = static_cast<std::int16_t>(FDrawn[k]);
        run = FDrawn16.data();
    }
    MergeDegreeRun(B.Op, degrees + (first - range.First), run + (first - P.First),
                   last - first + 1);
}

std::int64_t TIncrementalPattern::RangeSum(const std::int32_t* degrees, const TRange& range) const {
    const std::int32_t count = range.Last - range.First + 1;
    // Short ranges cost less here than the call to the wider loops.
    if (count < 256) return ErrorSumOn<0>(degrees, FTarget + range.First, count);
    return ErrorSum(degrees, FTarget + range.First, count);
}

void TIncrementalPattern::PendingOrder() {
    const std::size_t count = FBlocks.size();
    for (std::size_t k = FStart; k < count; ++k)
        FOrder[k] = &FPlaced[k];
    if (FChange == TChange::Replace) {
        FOrder[FAt] = &FNew;
    } else if (FAt < FTo) {
        std::rotate(FOrder.begin() + static_cast<long>(FAt),
                    FOrder.begin() + static_cast<long>(FAt) + 1,
                    FOrder.begin() + static_cast<long>(FTo) + 1);
    } else if (FTo < FAt) {
        std::rotate(FOrder.begin() + static_cast<long>(FTo),
                    FOrder.begin() + static_cast<long>(FAt),
                    FOrder.begin() + static_cast<long>(FAt) + 1);
    }
}

TIncrementalPattern::TRange TIncrementalPattern::Narrowed(const std::int32_t* degrees,
                                                          std::int32_t offset, TRange range,
                                                          std::size_t row) const {
    const std::int32_t* kept = Row(row);
    const std::int32_t* held = degrees - offset;
    // Eight elements a step while they agree (one vector comparison), then one at a time.
    constexpr std::int32_t Step = 8;
    auto differ = [&](std::int32_t from) {
        std::int32_t any = 0;
        for (std::int32_t k = 0; k < Step; ++k)
            any |= held[from + k] ^ kept[from + k];
        return any != 0;
    };
    while (range.Last - range.First + 1 >= Step && !differ(range.First))
        range.First += Step;
    while (range.First <= range.Last && held[range.First] == kept[range.First])
        ++range.First;
    while (range.Last - range.First + 1 >= Step && !differ(range.Last - Step + 1))
        range.Last -= Step;
    while (range.Last >= range.First && held[range.Last] == kept[range.Last])
        --range.Last;
    return range;
}

std::int64_t TIncrementalPattern::Try() {
    if (FChange == TChange::Move) PendingOrder();
    const std::size_t count = FBlocks.size();
    // From here on the blocks are those of the kept pattern, so the change reaches no further
    // than the elements where the degrees still differ from the kept rows: merges are element
    // by element, and equal degrees merged with the same block stay equal.
    const std::size_t sameFrom = FChange == TChange::Move ? std::max(FAt, FTo) : FAt;
    std::int64_t sum = FSum;
    for (std::size_t r = 0; r < FRangeCount; ++r) {
        const TRange& range = FRanges[r];
        const std::size_t length = static_cast<std::size_t>(range.Last - range.First + 1);
        std::int32_t* scratch = FScratch.data();
        std::copy(Row(FStart) + range.First, Row(FStart) + range.First + length, scratch);
        TRange reach = range;
        for (std::size_t k = FStart; k < count; ++k) {
            const TPlaced& B =
                FChange == TChange::Replace ? (k == FAt ? FNew : FPlaced[k]) : *FOrder[k];
            MergeInto(B, scratch + (reach.First - range.First), reach);
            // Short ranges cost more to compare than to merge on: those are narrowed once, at
            // the end.
            if (k >= sameFrom && (reach.Last - reach.First >= NarrowedFrom || k + 1 == count)) {
                reach = Narrowed(scratch, range.First, reach, k + 1);
                if (reach.First > reach.Last) {
                    FReach[r][k] = reach;
                    break;
                }
            }
            FReach[r][k] = reach;
        }
        FReachEnd[r] = reach.First > reach.Last ? 0 : count;
        if (reach.First > reach.Last) continue;
        sum += RangeSum(scratch + (reach.First - range.First), reach) -
               (FPrefix[static_cast<std::size_t>(reach.Last) + 1] -
                FPrefix[static_cast<std::size_t>(reach.First)]);
    }
    FTriedSum = sum;
    return sum;
}

std::int64_t TIncrementalPattern::TryReplace(std::size_t at, const TFuzzyBlock& block) {
    FChange = TChange::Replace;
    FAt = at;
    FNew = Place(block);
    FStart = at;
    const TRange a{FPlaced[at].First, FPlaced[at].Last};
    const TRange b{FNew.First, FNew.Last};
    if (a.Last + 1 < b.First || b.Last + 1 < a.First) {
        FRanges = {a, b};
        FRangeCount = 2;
    } else {
        FRanges[0] = {std::min(a.First, b.First), std::max(a.Last, b.Last)};
        FRangeCount = 1;
    }
    return Try();
}

std::int64_t TIncrementalPattern::TryMove(std::size_t from, std::size_t to) {
    FChange = TChange::Move;
    FAt = from;
    FTo = to;
    FStart = std::min(from, to);
    // Elements outside the moved block's interval see the other blocks in the same order.
    FRanges[0] = {FPlaced[from].First, FPlaced[from].Last};
    FRangeCount = from == to ? 0 : 1;
    return Try();
}

void TIncrementalPattern::Accept() {
    if (FChange == TChange::None) return;
    PendingOrder();
    std::array<TPlaced, MaxBlocks> changed;
    for (std::size_t k = FStart; k < FBlocks.size(); ++k)
        changed[k] = *FOrder[k];
    for (std::size_t k = FStart; k < FBlocks.size(); ++k) {
        FPlaced[k] = changed[k];
        FBlocks[k] = changed[k].Block;
    }
    if (FChange == TChange::Replace)
        KeepReplaced();
    else
        KeepMoved();
    FSum = FTriedSum;
    FChange = TChange::None;
}

void TIncrementalPattern::KeepReplaced() {
    // Each row is made anew where the change tried found it differs, the rows after the
    // change's reach staying as they are.
    std::int32_t changedFrom = FElements;
    for (std::size_t r = 0; r < FRangeCount; ++r) {
        for (std::size_t k = FStart; k < FBlocks.size(); ++k) {
            const TRange& reach = FReach[r][k];
            if (reach.First > reach.Last) break;
            const std::size_t length = static_cast<std::size_t>(reach.Last - reach.First + 1);
            std::int32_t* next = Row(k + 1) + reach.First;
            std::copy(Row(k) + reach.First, Row(k) + reach.First + length, next);
            MergeInto(FPlaced[k], next, reach);
        }
        if (FReachEnd[r] == FBlocks.size())
            changedFrom = std::min(changedFrom, FReach[r][FBlocks.size() - 1].First);
    }
    if (changedFrom < FElements) SumPrefixes(changedFrom);
}

void TIncrementalPattern::KeepMoved() {
    // A moved block also changes the rows between its two places wherever the blocks that
    // shifted reach: there the rows are made anew over all their intervals.
    std::size_t shiftedEnd = FStart;
    TRange shifted = FRanges[0];
    if (FChange == TChange::Move && FRangeCount > 0) {
        shiftedEnd = std::max(FAt, FTo);
        for (std::size_t k = FStart; k <= shiftedEnd; ++k) {
            shifted.First = std::min(shifted.First, FPlaced[k].First);
            shifted.Last = std::max(shifted.Last, FPlaced[k].Last);
        }
    }
    for (std::size_t r = 0; r < FRangeCount; ++r) {
        for (std::size_t k = FStart; k < FBlocks.size(); ++k) {
            const TRange& range = k < shiftedEnd ? shifted : FRanges[r];
            const std::size_t length = static_cast<std::size_t>(range.Last - range.First + 1);
            std::int32_t* next = Row(k + 1) + range.First;
            std::copy(Row(k) + range.First, Row(k) + range.First + length, next);
            MergeInto(FPlaced[k], next, range);
        }
    }
    std::int32_t changedFrom = FElements;
    for (std::size_t r = 0; r < FRangeCount; ++r)
        changedFrom = std::min(changedFrom, FRanges[r].First);
    SumPrefixes(changedFrom);
}

} // namespace vesk
