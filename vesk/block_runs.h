#pragma once
// Every block a universe of one size can hold, ready to merge: the interval of each centre and
// spread, and the degrees each shape and repeat count draws over each interval length.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "vesk/fuzzy_block.h"

namespace vesk {

// For one element count N: a block's interval is looked up, and the run of degrees of its shape,
// repeats and interval length is drawn by DrawShapeRun the first time it is needed and kept for
// the scorer's life. N fixes the interval lengths (at most 32 of them), so what can be kept is
// bounded by N itself and nothing is ever forgotten; a universe whose every run would not fit in
// MaxEntries degrees is refused (Fits). A run is drawn under a lock and published whole, so any
// number of threads can merge through one object.
class TBlockRuns {
public:
    static constexpr std::size_t MaxEntries = std::size_t{1} << 25; // 64 MiB of 16-bit degrees

    // False when N's runs could need more than MaxEntries degrees (N above some 14,000).
    static bool Fits(std::int32_t elementCount);

    // N >= 1 and Fits(N).
    explicit TBlockRuns(std::int32_t elementCount);
    TBlockRuns(const TBlockRuns&) = delete;
    TBlockRuns& operator=(const TBlockRuns&) = delete;

    // degrees (N of them) after ApplyShape of the block over its interval, as a projection does.
    void Merge(const TFuzzyBlock& B, std::int32_t* degrees) const;
    // The degrees the block's shape draws over its interval, element First + k at [k].
    const std::int16_t* RunOf(const TFuzzyBlock& B) const {
        return Run(B.Shape, B.Repeats,
                   FIntervals[static_cast<std::size_t>(B.Centre * Spreads + B.Spread)]);
    }

private:
    static constexpr std::int32_t Shapes = 16, RepeatCounts = 8, Spreads = 8;

    struct TInterval {
        std::int32_t First = 0, Length = 0, LengthIndex = 0;
    };

    // The run of (shape, repeats, length index), drawn now if it was not yet.
    const std::int16_t* Run(std::int32_t shape, std::int32_t repeats,
                            const TInterval& interval) const;

    std::array<TInterval, 16 * Spreads> FIntervals; // by Centre * 8 + Spread
    std::int32_t FLengthCount = 0;
    // By (shape * 8 + repeats) * lengths + index; nullptr: not drawn yet.
    std::unique_ptr<std::atomic<const std::int16_t*>[]> FRuns;
    mutable std::vector<std::unique_ptr<std::int16_t[]>> FDrawn; // owns the runs
    mutable std::mutex FDrawing;
};

} // namespace vesk
