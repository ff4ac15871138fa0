#pragma once
// Recorded shape degrees: the degrees of a shape code over a span W, kept the first time a
// piece of that span is drawn so that later pieces replay them instead of evaluating the shape
// again. A shape's degree depends only on its code, W = Last - First and d = X - First, so a
// recording made by the shape's own evaluation is the evaluation.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzzyset/shapes.h"

namespace vesk {

// A bounded store of recorded degree runs, keyed by shape code and span. Not synchronised: each
// thread uses its own (ShapeTables()).
class TShapeTables {
public:
    // Spans beyond this are not recorded; their pieces are evaluated element by element.
    static constexpr std::int32_t MaxSpan = 8191;
    // Degrees held at most, over all runs. Keeping a run that would exceed it first forgets
    // every run held. Memory stays within MaxEntries * 2 bytes for the degrees, (MaxSpan + 1) * 4
    // bytes of index for each code used and as much again of scratch: 2.6 MiB at most.
    static constexpr std::size_t MaxEntries = std::size_t{1} << 20;

    // The W + 1 recorded degrees of Code (0..17) over span W >= 0, offset d at index d; nullptr
    // when none are held. Valid until the next Keep or Clear.
    const std::int16_t* Find(std::int32_t Code, std::int32_t W) const {
        const auto& index = FIndex[static_cast<std::size_t>(Code)];
        const auto span = static_cast<std::size_t>(W);
        if (span >= index.size() || index[span] == 0) return nullptr;
        return FDegrees.data() + (index[span] - 1);
    }

    // Room for the W + 1 degrees of one run being recorded, W <= MaxSpan.
    std::int32_t* Scratch(std::int32_t W);
    // Keeps the W + 1 degrees in Scratch as the run of Code over W; a run with a degree outside
    // the 16-bit range is not kept.
    void Keep(std::int32_t Code, std::int32_t W);
    // Forgets every run.
    void Clear();
    // Degrees held now.
    std::size_t Size() const { return FDegrees.size(); }

private:
    // Per code, the position + 1 of each span's run in FDegrees; 0 for none.
    std::array<std::vector<std::uint32_t>, ShapeCodeCount> FIndex;
    std::vector<std::int16_t> FDegrees;
    std::vector<std::int32_t> FScratch;
};

// The calling thread's store.
TShapeTables& ShapeTables();

} // namespace vesk
