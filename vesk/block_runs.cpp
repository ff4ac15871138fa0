#include "vesk/block_runs.h"

#include <algorithm>

#include "fuzzyset/degree_runs.h"
#include "vesk/agent.h"

namespace vesk {

namespace {

// The distinct interval lengths of a universe, and each centre and spread's place among them.
struct TLengths {
    std::vector<std::int32_t> Lengths;
    std::int64_t Sum = 0;
};

TLengths LengthsOf(std::int32_t elementCount) {
    TLengths out;
    for (std::int32_t centre = 0; centre < 16; ++centre)
        for (std::int32_t spread = 0; spread < 8; ++spread) {
            const TBlockInterval at = BlockInterval({0, centre, spread, 0, 0}, elementCount);
            const std::int32_t length = at.Last - at.First + 1;
            if (std::find(out.Lengths.begin(), out.Lengths.end(), length) == out.Lengths.end()) {
                out.Lengths.push_back(length);
                out.Sum += length;
            }
        }
    return out;
}

} // namespace

bool TBlockRuns::Fits(std::int32_t elementCount) {
    if (elementCount < 1) return false;
    return LengthsOf(elementCount).Sum * Shapes * RepeatCounts <=
           static_cast<std::int64_t>(MaxEntries);
}

TBlockRuns::TBlockRuns(std::int32_t elementCount) {
    const TLengths lengths = LengthsOf(elementCount);
    FLengthCount = static_cast<std::int32_t>(lengths.Lengths.size());
    for (std::int32_t centre = 0; centre < 16; ++centre)
        for (std::int32_t spread = 0; spread < Spreads; ++spread) {
            const TBlockInterval at = BlockInterval({0, centre, spread, 0, 0}, elementCount);
            TInterval& interval = FIntervals[static_cast<std::size_t>(centre * Spreads + spread)];
            interval.First = at.First;
            interval.Length = at.Last - at.First + 1;
            interval.LengthIndex = static_cast<std::int32_t>(
                std::find(lengths.Lengths.begin(), lengths.Lengths.end(), interval.Length) -
                lengths.Lengths.begin());
        }
    const auto keys = static_cast<std::size_t>(Shapes * RepeatCounts * FLengthCount);
    FRuns = std::make_unique<std::atomic<const std::int16_t*>[]>(keys);
    for (std::size_t k = 0; k < keys; ++k)
        FRuns[k].store(nullptr, std::memory_order_relaxed);
}

const std::int16_t* TBlockRuns::Run(std::int32_t shape, std::int32_t repeats,
                                    const TInterval& interval) const {
    const auto key = static_cast<std::size_t>((shape * RepeatCounts + repeats) * FLengthCount +
                                              interval.LengthIndex);
    const std::int16_t* run = FRuns[key].load(std::memory_order_acquire);
    if (run == nullptr) [[unlikely]] {
        const std::lock_guard<std::mutex> lock(FDrawing);
        run = FRuns[key].load(std::memory_order_relaxed);
        if (run == nullptr) {
            // Shapes 0..15 stay within -167..267, so every degree fits in 16 bits.
            const auto length = static_cast<std::size_t>(interval.Length);
            std::vector<std::int32_t> drawn(length);
            DrawShapeRun(shape, repeats, interval.Length, drawn.data());
            auto kept = std::make_unique_for_overwrite<std::int16_t[]>(length);
            for (std::size_t k = 0; k < length; ++k)
                kept[k] = static_cast<std::int16_t>(drawn[k]);
            run = kept.get();
            FDrawn.push_back(std::move(kept));
            FRuns[key].store(run, std::memory_order_release);
        }
    }
    return run;
}

void TBlockRuns::Merge(const TFuzzyBlock& B, std::int32_t* degrees) const {
    const TInterval& interval = FIntervals[static_cast<std::size_t>(B.Centre * Spreads + B.Spread)];
    MergeDegreeRun(B.Op, degrees + interval.First, Run(B.Shape, B.Repeats, interval),
                   interval.Length);
}

} // namespace vesk
