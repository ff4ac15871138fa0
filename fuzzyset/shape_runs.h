#pragma once
// Recorded shape runs: the degrees one shape application draws across its interval, kept the
// first time so that a later application of the same shape code, repeat count and interval
// length replays them instead of evaluating the shape again. A shape's degree depends only on
// its code, the span W = Last - First of its piece and the offset d = X - First, and the pieces
// depend only on the interval's length and the repeat count; so a run recorded from the shape's
// own evaluation is that evaluation, wherever the interval starts.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

// A bounded store of recorded runs keyed by (shape code, repeats, length). Not synchronised:
// each thread uses its own (ShapeRuns()).
class TShapeRuns {
public:
    // Longer intervals are not recorded; they are evaluated element by element.
    static constexpr std::int32_t MaxLength = 8192;
    // Degrees and runs held at most. Keeping a run beyond either bound first forgets every run.
    static constexpr std::size_t MaxEntries = std::size_t{1} << 20;
    static constexpr std::size_t MaxRuns = std::size_t{1} << 15;
    // Memory therefore stays within MaxEntries * 2 bytes of degrees, 2 * MaxRuns slots of 8
    // bytes and MaxLength * 4 bytes of scratch: 2.6 MiB.

    // The Length recorded degrees of Code (0..17) applied with Repeats (0..7) over an interval of
    // Length elements, element First + k at index k; nullptr when none are held. Valid until the
    // next Keep or Clear.
    const std::int16_t* Find(std::int32_t Code, std::int32_t Repeats, std::int32_t Length) const {
        if (FSlots.empty()) return nullptr;
        const std::uint32_t key = Key(Code, Repeats, Length);
        for (std::uint32_t at = Hash(key);; at = (at + 1) & FMask) {
            const TSlot& slot = FSlots[at];
            if (slot.Key == key) return FDegrees.data() + slot.At;
            if (slot.Key == 0) return nullptr;
        }
    }

    // Room for the degrees of one run being recorded, Length <= MaxLength.
    std::int32_t* Scratch(std::int32_t Length);
    // Keeps the first Length degrees in Scratch as the run of (Code, Repeats, Length); a run with
    // a degree outside the 16-bit range is not kept.
    void Keep(std::int32_t Code, std::int32_t Repeats, std::int32_t Length);
    // Forgets every run.
    void Clear();
    // Degrees and runs held now.
    std::size_t Size() const { return FDegrees.size(); }
    std::size_t Runs() const { return FRuns; }

private:
    struct TSlot {
        std::uint32_t Key = 0; // 0: empty
        std::uint32_t At = 0;  // where the run starts in FDegrees
    };

    static std::uint32_t Key(std::int32_t Code, std::int32_t Repeats, std::int32_t Length) {
        return (static_cast<std::uint32_t>(Length) << 8 | static_cast<std::uint32_t>(Repeats) << 5 |
                static_cast<std::uint32_t>(Code)) +
               1;
    }
    std::uint32_t Hash(std::uint32_t key) const { return (key * 2654435761u) >> FShift; }
    void Grow();

    std::vector<TSlot> FSlots; // open addressing, linear probing; at most half full
    std::uint32_t FMask = 0;
    int FShift = 32;
    std::size_t FRuns = 0;
    std::vector<std::int16_t> FDegrees;
    std::vector<std::int32_t> FScratch;
};

// The calling thread's store.
TShapeRuns& ShapeRuns();

} // namespace vesk
