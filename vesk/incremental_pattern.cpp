#include "vesk/incremental_pattern.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include <immintrin.h>

#include "fuzzyset/degree_runs.h"
#include "vesk/agent.h"

namespace vesk {

namespace {

// The shortest range of elements a change is narrowed on after every block; shorter ones cost
// less to merge on than to compare.
constexpr std::int32_t NarrowedFrom = 128;
// The most elements between a replaced block's two intervals tried as one range.
constexpr std::int32_t JoinedGap = 64;

// out[k] := in[k] for k < count, the two not overlapping: short copies, which the ranges of small
// universes make, inline and with no call.
inline void CopyDegrees(const std::int32_t* in, std::int32_t* out, std::int32_t count) {
    constexpr std::size_t Eight = 8 * sizeof(std::int32_t), Four = 4 * sizeof(std::int32_t);
    if (count >= 8) {
        if (count > 64) {
            std::memcpy(out, in, static_cast<std::size_t>(count) * sizeof(std::int32_t));
            return;
        }
        for (std::int32_t k = 0; k + 8 < count; k += 8)
            std::memcpy(out + k, in + k, Eight);
        std::memcpy(out + count - 8, in + count - 8, Eight);
    } else if (count >= 4) {
        std::memcpy(out, in, Four);
        std::memcpy(out + count - 4, in + count - 4, Four);
    } else {
        for (std::int32_t k = 0; k < count; ++k)
            out[k] = in[k];
    }
}

// |a - b| for any two 32-bit integers: the larger less the smaller always fits in 32 unsigned
// bits.
inline std::uint32_t Distance(std::int32_t a, std::int32_t b) {
    return static_cast<std::uint32_t>(std::max(a, b)) - static_cast<std::uint32_t>(std::min(a, b));
}

// Sum |now[k] - target[k]| - |kept[k] - target[k]| over k < count: what a range's new degrees
// change the distance by.
std::int64_t ErrorChangeOn(const std::int32_t* now, const std::int32_t* kept,
                           const std::int32_t* target, std::int32_t count) {
    std::int64_t sum = 0;
    for (std::int32_t k = 0; k < count; ++k)
        sum += static_cast<std::int64_t>(Distance(now[k], target[k])) -
               static_cast<std::int64_t>(Distance(kept[k], target[k]));
    return sum;
}

// The first element of first..last where a and b differ, last + 1 when none does.
std::int32_t FirstDifferenceOn(const std::int32_t* a, const std::int32_t* b, std::int32_t first,
                               std::int32_t last) {
    while (first <= last && a[first] == b[first])
        ++first;
    return first;
}

// The last element of first..last where a and b differ, first - 1 when none does.
std::int32_t LastDifferenceOn(const std::int32_t* a, const std::int32_t* b, std::int32_t first,
                              std::int32_t last) {
    while (last >= first && a[last] == b[last])
        --last;
    return last;
}

// The same with 256-bit vectors, eight elements a step. Each vector's unsigned distances are
// summed in two 64-bit halves (the low and the high 32 bits of each pair of lanes), so no sum
// can wrap. The last step of a range not a multiple of eight overlaps the one before it, its
// lanes already counted masked off.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Distances(__m256i a, __m256i b) {
    return _mm256_sub_epi32(_mm256_max_epi32(a, b), _mm256_min_epi32(a, b));
}

alignas(32) constexpr std::int32_t LaneMasks[16] = {0,  0,  0,  0,  0,  0,  0,  0,
                                                    -1, -1, -1, -1, -1, -1, -1, -1};

[[gnu::target("avx2")]] std::int64_t ErrorChangeWide(const std::int32_t* now,
                                                     const std::int32_t* kept,
                                                     const std::int32_t* target,
                                                     std::int32_t count) {
    if (count < 8) return ErrorChangeOn(now, kept, target, count);
    const __m256i low = _mm256_set1_epi64x(0xFFFFFFFF);
    __m256i lows = _mm256_setzero_si256(), highs = _mm256_setzero_si256();
    std::int32_t k = 0;
    __m256i mask = _mm256_set1_epi32(-1);
    for (;;) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(target + k));
        const __m256i a = _mm256_and_si256(
            mask,
            Distances(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(now + k)), t));
        const __m256i b = _mm256_and_si256(
            mask,
            Distances(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(kept + k)), t));
        lows = _mm256_add_epi64(
            lows, _mm256_sub_epi64(_mm256_and_si256(a, low), _mm256_and_si256(b, low)));
        highs = _mm256_add_epi64(
            highs, _mm256_sub_epi64(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32)));
        k += 8;
        if (k >= count) break;
        if (k > count - 8) {
            // The last step: back to count - 8, the lanes below k already counted.
            mask = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(LaneMasks + (count - k)));
            k = count - 8;
        }
    }
    const __m256i sums = _mm256_add_epi64(lows, highs);
    alignas(32) std::int64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sums);
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

// The lanes where a and b differ, four mask bits a lane.
[[gnu::target("avx2"), gnu::always_inline]] inline std::uint32_t
Differing(const std::int32_t* a, const std::int32_t* b, std::int32_t at) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + at));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + at));
    return ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi32(x, y)));
}

[[gnu::target("avx2")]] std::int32_t FirstDifferenceWide(const std::int32_t* a,
                                                         const std::int32_t* b,
                                                         std::int32_t first, std::int32_t last) {
    if (last - first + 1 < 8) return FirstDifferenceOn(a, b, first, last);
    std::int32_t at = first;
    for (; at + 8 <= last + 1; at += 8)
        if (const std::uint32_t d = Differing(a, b, at))
            return at + std::countr_zero(d) / 4;
    if (at > last) return last + 1;
    // The elements at.. last, in the step ending on last.
    const std::int32_t from = last - 7;
    const std::uint32_t d = Differing(a, b, from) & (~0u << (4 * (at - from)));
    return d != 0 ? from + std::countr_zero(d) / 4 : last + 1;
}

[[gnu::target("avx2")]] std::int32_t LastDifferenceWide(const std::int32_t* a,
                                                        const std::int32_t* b, std::int32_t first,
                                                        std::int32_t last) {
    if (last - first + 1 < 8) return LastDifferenceOn(a, b, first, last);
    std::int32_t end = last + 1; // the elements from end on agree
    for (; end - 8 >= first; end -= 8)
        if (const std::uint32_t d = Differing(a, b, end - 8))
            return end - 8 + (31 - std::countl_zero(d)) / 4;
    if (end == first) return first - 1;
    // The elements first..end - 1, in the step starting on first.
    const std::uint32_t d = Differing(a, b, first) & ((1u << (4 * (end - first))) - 1);
    return d != 0 ? first + (31 - std::countl_zero(d)) / 4 : first - 1;
}

// The loops for what the processor has, chosen once (an indirect function resolved by the
// loader would run before the sanitizers' runtimes start).
struct TScans {
    std::int64_t (*ErrorChange)(const std::int32_t*, const std::int32_t*, const std::int32_t*,
                                std::int32_t);
    std::int32_t (*FirstDifference)(const std::int32_t*, const std::int32_t*, std::int32_t,
                                    std::int32_t);
    std::int32_t (*LastDifference)(const std::int32_t*, const std::int32_t*, std::int32_t,
                                   std::int32_t);
};
const TScans Scans = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return TScans{&ErrorChangeWide, &FirstDifferenceWide, &LastDifferenceWide};
    return TScans{&ErrorChangeOn, &FirstDifferenceOn, &LastDifferenceOn};
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
    // Intervals of one length (on the tables' universe) have the same runs.
    std::vector<std::int32_t> lengths;
    for (TInterval& interval : FIntervals) {
        const auto at = std::find(lengths.begin(), lengths.end(), interval.Length);
        interval.LengthIndex = static_cast<std::int32_t>(at - lengths.begin());
        if (at == lengths.end()) lengths.push_back(interval.Length);
    }
    FLengthCount = static_cast<std::int32_t>(lengths.size());
    if (FStride == 1 && FTables->Runs)
        FRuns.assign(static_cast<std::size_t>(16 * 8 * FLengthCount), nullptr);
    for (std::int32_t op = 0; op < OperatorCount; ++op) {
        FMerges[static_cast<std::size_t>(op)] = DegreeRunMergeOf(op);
        FMergesInto[static_cast<std::size_t>(op)] = DegreeRunMergeIntoOf(op);
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
    for (std::size_t k = 0; k < FBlocks.size(); ++k)
        MergeFrom(FPlaced[k], Row(k), Row(k + 1), all);
    const std::int32_t* degrees = Row(FBlocks.size());
    FSum = 0;
    for (std::size_t i = 0; i < n; ++i)
        FSum += Distance(degrees[i], FTarget[i]);
}

TIncrementalPattern::TPlaced TIncrementalPattern::Place(const TFuzzyBlock& B) {
    const TInterval& interval = IntervalOf(B);
    const std::int16_t* run = nullptr;
    if (FStride > 1)
        run = interval.Length > 0 ? SampledRun(B) : nullptr;
    else if (!FRuns.empty()) {
        const std::int16_t*& kept = FRuns[static_cast<std::size_t>(
            (B.Shape * 8 + B.Repeats) * FLengthCount + interval.LengthIndex)];
        if (kept == nullptr) kept = FTables->Runs->RunOf(B);
        run = kept;
    }
    return {B, interval.First, interval.First + interval.Length - 1, run,
            FMerges[static_cast<std::size_t>(B.Op)], FMergesInto[static_cast<std::size_t>(B.Op)]};
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

const std::int16_t* TIncrementalPattern::DrawnRun(const TPlaced& P) {
    // Too large a universe to keep every run: the block's run is drawn for this merge.
    const std::int32_t length = P.Last - P.First + 1;
    FDrawn.resize(static_cast<std::size_t>(length));
    DrawShapeRun(P.Block.Shape, P.Block.Repeats, length, FDrawn.data());
    FDrawn16.resize(FDrawn.size());
    for (std::size_t k = 0; k < FDrawn.size(); ++k)
        FDrawn16[k] = static_cast<std::int16_t>(FDrawn[k]);
    return FDrawn16.data();
}

inline void TIncrementalPattern::MergeInto(const TPlaced& P, std::int32_t* degrees,
                                           const TRange& range) {
    const std::int32_t first = std::max(range.First, P.First);
    const std::int32_t last = std::min(range.Last, P.Last);
    if (first > last) return;
    P.Merge(degrees + first, RunOf(P) + (first - P.First), last - first + 1);
}

inline void TIncrementalPattern::MergeFrom(const TPlaced& P, const std::int32_t* in,
                                           std::int32_t* out, const TRange& range) {
    const auto copy = [&](std::int32_t first, std::int32_t last) {
        if (first <= last) CopyDegrees(in + first, out + first, last - first + 1);
    };
    const std::int32_t first = std::max(range.First, P.First);
    const std::int32_t last = std::min(range.Last, P.Last);
    if (first > last) return copy(range.First, range.Last);
    copy(range.First, first - 1);
    P.MergeInto(in + first, out + first, RunOf(P) + (first - P.First), last - first + 1);
    copy(last + 1, range.Last);
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

std::int64_t TIncrementalPattern::Try() {
    const bool replace = FChange == TChange::Replace;
    if (!replace) PendingOrder();
    const std::size_t count = FBlocks.size();
    // From here on the blocks are those of the kept pattern, so the change reaches no further
    // than the elements where the degrees still differ from the kept rows: merges are element
    // by element, and equal degrees merged with the same block stay equal.
    const std::size_t sameFrom = replace ? FAt : std::max(FAt, FTo);
    std::int32_t* const scratch = FScratch.data();
    std::int64_t sum = FSum;
    for (std::size_t r = 0; r < FRangeCount; ++r) {
        TRange reach = FRanges[r];
        // The first block reads the kept row, the others merge on the candidate degrees.
        for (std::size_t k = FStart; k < count; ++k) {
            const TPlaced& B = replace ? (k == FAt ? FNew : FPlaced[k]) : *FOrder[k];
            if (k == FStart)
                MergeFrom(B, Row(k), scratch, reach);
            else
                MergeInto(B, scratch, reach);
            if (k >= sameFrom && reach.Last - reach.First >= NarrowedFrom) {
                const std::int32_t* kept = Row(k + 1);
                reach.First = Scans.FirstDifference(scratch, kept, reach.First, reach.Last);
                if (reach.First <= reach.Last)
                    reach.Last = Scans.LastDifference(scratch, kept, reach.First, reach.Last);
            }
            FReach[r][k] = reach;
            if (reach.First > reach.Last) break;
        }
        // Elements where the candidate agrees with the projection add nothing here.
        if (reach.First <= reach.Last)
            sum += Scans.ErrorChange(scratch + reach.First, Row(count) + reach.First,
                                     FTarget + reach.First, reach.Last - reach.First + 1);
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
    // Two intervals apart are tried as two ranges, unless the elements between them cost less
    // to merge unchanged than a second pass through the blocks.
    const std::int32_t gap = std::max(a.First, b.First) - std::min(a.Last, b.Last) - 1;
    if (gap > JoinedGap) {
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
    if (FChange == TChange::Replace) {
        FPlaced[FAt] = FNew;
        FBlocks[FAt] = FNew.Block;
        KeepReplaced();
    } else {
        const auto move = [&](auto& list) {
            const auto at = list.begin() + static_cast<long>(FAt);
            const auto to = list.begin() + static_cast<long>(FTo);
            if (FAt < FTo)
                std::rotate(at, at + 1, to + 1);
            else if (FTo < FAt)
                std::rotate(to, at, at + 1);
        };
        move(FPlaced);
        move(FBlocks);
        KeepMoved();
    }
    FSum = FTriedSum;
    FChange = TChange::None;
}

void TIncrementalPattern::KeepRow(std::size_t k, const TRange& range) {
    // The projection's elements the change reached are the scratch's after the try.
    if (k + 1 == FBlocks.size())
        CopyDegrees(FScratch.data() + range.First, Row(k + 1) + range.First,
                    range.Last - range.First + 1);
    else
        MergeFrom(FPlaced[k], Row(k), Row(k + 1), range);
}

void TIncrementalPattern::KeepReplaced() {
    // Each row is made anew where the change tried found it differs, the rows after the
    // change's reach staying as they are.
    for (std::size_t r = 0; r < FRangeCount; ++r)
        for (std::size_t k = FStart; k < FBlocks.size(); ++k) {
            const TRange& reach = FReach[r][k];
            if (reach.First > reach.Last) break;
            KeepRow(k, reach);
        }
}

void TIncrementalPattern::KeepMoved() {
    if (FRangeCount == 0) return;
    // A moved block also changes the rows between its two places wherever the blocks that
    // shifted reach: there the rows are made anew over all their intervals. From the later
    // place on, the rows differ only where the change tried found they do.
    const std::size_t shiftedEnd = std::max(FAt, FTo);
    TRange shifted = FRanges[0];
    for (std::size_t k = FStart; k <= shiftedEnd; ++k) {
        shifted.First = std::min(shifted.First, FPlaced[k].First);
        shifted.Last = std::max(shifted.Last, FPlaced[k].Last);
    }
    for (std::size_t k = FStart; k < FBlocks.size(); ++k) {
        const TRange& range = k < shiftedEnd ? shifted : FReach[0][k];
        if (range.First > range.Last) break;
        KeepRow(k, range);
    }
}

} // namespace vesk
