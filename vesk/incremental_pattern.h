#pragma once
// A pattern kept projected, so that a change to one of its blocks is scored by re-merging only
// the elements the change touches.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fuzzyset/degree_runs.h"
#include "fuzzyset/operators.h"
#include "vesk/batch_scoring.h"
#include "vesk/pattern_scorer.h"

namespace vesk {

// A pattern of B blocks projected onto the universe of a target (the tables' reference), with
// the degrees after every prefix of its blocks (B + 1 rows of N integers, the first all
// InitialDegree, the last the projection) and the integer distance sum |degree - target| over
// the elements, which ranks patterns as their Hamming distances do. A change is tried first
// (Try... gives the sum the pattern would have, and changes nothing), then kept with Accept or
// left. A block's change re-merges the elements of its old and new intervals, a block moved
// to another place the elements of its interval, in both cases through the blocks after it
// (keeping a move also makes the rows between its two places anew where the shifted blocks
// reach).
// Degrees outside 0..100 and wrapping ones are kept as the projection keeps them. Belongs to
// one thread; the tables may be shared.
//
// With a stride k > 1 the pattern is kept on a sampled universe instead: the elements 0, k,
// 2k, ... of the tables' universe, with the degrees the exact projection gives them there
// (not a projection onto fewer elements), and the sum over those elements only.
class TIncrementalPattern {
public:
    TIncrementalPattern(std::shared_ptr<const TScoringTables> tables, const TBlockList& blocks,
                        std::int32_t stride = 1);

    // Projects the blocks anew.
    void Reset(const TBlockList& blocks);

    std::int64_t Sum() const { return FSum; }
    const TBlockList& Blocks() const { return FBlocks; }
    // The elements kept: the universe's, or the sampled ones.
    std::int32_t ElementCount() const { return FElements; }
    std::int32_t Stride() const { return FStride; }
    // The projection (at the kept elements): the degrees after the last block.
    std::span<const std::int32_t> Degrees() const;

    // The sum with block `at` replaced by block.
    std::int64_t TryReplace(std::size_t at, const TFuzzyBlock& block);
    // The sum with the block at `from` taken out and put back at `to` (the blocks between move
    // up or down one place).
    std::int64_t TryMove(std::size_t from, std::size_t to);
    // Makes the change last tried the pattern's own.
    void Accept();

private:
    struct TRange {
        std::int32_t First = 0, Last = -1;
    };
    struct TInterval {
        std::int32_t First = 0, Length = 0;
        std::int32_t LengthIndex = 0; // its place among the universe's interval lengths
    };
    // A block ready to merge: its operator's loops, interval and run (nullptr: drawn when
    // merged).
    struct TPlaced {
        TFuzzyBlock Block;
        std::int32_t First = 0, Last = -1;
        const std::int16_t* Run = nullptr;
        TDegreeRunMerge Merge = nullptr;
        TDegreeRunMergeInto MergeInto = nullptr;
    };

    const TInterval& IntervalOf(const TFuzzyBlock& B) const {
        return FIntervals[static_cast<std::size_t>(B.Centre * 8 + B.Spread)];
    }
    TPlaced Place(const TFuzzyBlock& B);
    // The block's run at the sampled elements of its interval, gathered at first use.
    const std::int16_t* SampledRun(const TFuzzyBlock& B);
    // The block's run, drawn now when the tables keep none.
    const std::int16_t* RunOf(const TPlaced& B) { return B.Run != nullptr ? B.Run : DrawnRun(B); }
    const std::int16_t* DrawnRun(const TPlaced& B);
    // Merges the block into degrees (indexed by element) over the range.
    void MergeInto(const TPlaced& B, std::int32_t* degrees, const TRange& range);
    // out := in merged with the block over the range (both indexed by element, not overlapping).
    void MergeFrom(const TPlaced& B, const std::int32_t* in, std::int32_t* out,
                   const TRange& range);
    // The blocks from FStart on as the change tried has them (a move's).
    void PendingOrder();
    std::int32_t* Row(std::size_t k) {
        return FRows.data() + k * static_cast<std::size_t>(FElements);
    }
    const std::int32_t* Row(std::size_t k) const {
        return FRows.data() + k * static_cast<std::size_t>(FElements);
    }
    std::int64_t Try();
    // Row k + 1 made anew over the range, the blocks placed as the change has them.
    void KeepRow(std::size_t k, const TRange& range);
    void KeepReplaced();
    void KeepMoved();

    std::shared_ptr<const TScoringTables> FTables;
    // The merge loops of each operator code.
    std::array<TDegreeRunMerge, OperatorCount> FMerges{};
    std::array<TDegreeRunMergeInto, OperatorCount> FMergesInto{};
    std::int32_t FStride;
    std::int32_t FElements;
    std::vector<std::int32_t> FSampledTarget;
    const std::int32_t* FTarget;
    std::array<TInterval, 16 * 8> FIntervals;
    TBlockList FBlocks;
    std::vector<TPlaced> FPlaced; // FBlocks placed
    std::vector<std::int32_t> FRows;
    std::int64_t FSum = 0;

    // The change tried: its blocks from row FStart on, the ranges it touches, its sum.
    enum class TChange { None, Replace, Move } FChange = TChange::None;
    std::size_t FAt = 0, FTo = 0, FStart = 0;
    TPlaced FNew;
    std::array<TRange, 2> FRanges;
    std::size_t FRangeCount = 0;
    std::array<const TPlaced*, MaxBlocks> FOrder{};
    std::int64_t FTriedSum = 0;
    // Where the change tried left each row k + 1 differing, for each range, from its row on (a
    // range it kept for short ranges, which are never narrowed); empty where it died out. The
    // scratch holds the last row's candidate degrees there after the try.
    std::array<std::array<TRange, MaxBlocks>, 2> FReach{};

    // The candidate degrees of a range, held at their elements' places.
    std::vector<std::int32_t> FScratch;
    // The tables' runs as found, by (Shape * 8 + Repeats) * lengths + length index (nullptr: not
    // looked up yet), so that placing a block tried costs one look-up here.
    std::vector<const std::int16_t*> FRuns;
    std::int32_t FLengthCount = 0;
    std::vector<std::int32_t> FDrawn; // a run drawn anew, where the tables keep none
    std::vector<std::int16_t> FDrawn16;
    // Sampled runs by ((Shape * 8 + Repeats) * 16 + Centre) * 8 + Spread.
    std::vector<std::unique_ptr<std::int16_t[]>> FSampledRuns;
};

} // namespace vesk
