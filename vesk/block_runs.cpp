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
            std::int32_t first = 0, last = 0;
            TVeskAgent::BlockInterval({0, centre, spread, 0, 0}, elementCount, first, last);
            const std::int32_t length = last - first + 1;
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
            std::int32_t first = 0, last = 0;
            TVeskAgent::BlockInterval({0, centre, spread, 0, 0}, elementCount, first, last);
            TInterval& interval = FIntervals[static_cast<std::size_t>(centre * Spreads + spread)];
            interval.First = first;
            interval.Length = last - first + 1;
            interval.LengthIndex = static_cast<std::int32_t>(
                std::find(lengths.Lengths.begin(), lengths.Lengths.end(), interval.Length) -
                lengths.Lengths.begin());
        }
    FRunAt.assign(static_cast<std::size_t>(Shapes * RepeatCounts * FLengthCount), -1);
}

const std::int16_t* TBlockRuns::Run(std::int32_t shape, std::int32_t repeats,
                                    const TInterval& interval) {
    const auto key = static_cast<std::size_t>((shape * RepeatCounts + repeats) * FLengthCount +
                                              interval.LengthIndex);
    if (FRunAt[key] < 0) [[unlikely]] {
        // Shapes 0..15 stay within -167..267, so every degree fits in 16 bits.
        FScratch.resize(static_cast<std::size_t>(interval.Length));
        DrawShapeRun(shape, repeats, interval.Length, FScratch.data());
        FRunAt[key] = static_cast<std::int32_t>(FPool.size());
        FPool.insert(FPool.end(), FScratch.begin(), FScratch.end());
    }
    return FPool.data() + FRunAt[key];
}

void TBlockRuns::Merge(const TFuzzyBlock& B, std::int32_t* degrees) {
    const TInterval& interval = FIntervals[static_cast<std::size_t>(B.Centre * Spreads + B.Spread)];
    MergeDegreeRun(B.Op, degrees + interval.First, Run(B.Shape, B.Repeats, interval),
                   interval.Length);
}

} // namespace vesk
