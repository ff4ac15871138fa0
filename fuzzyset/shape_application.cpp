// Shape application resolves the shape and the operator once per call and runs one loop per
// operator. An application whose shape code, repeat count and interval length have been drawn
// before replays the recorded run of degrees (TShapeRuns) in one pass (MergeDegreeRun). Otherwise
// the pieces are evaluated element by element, exactly as the plain algorithm does, and the run is
// recorded on the way; a full piece after the first has the same span, hence the same degrees, and
// copies them. Each element's degree is computed before it is written, so a fault leaves the
// element it struck and the later ones as they were.
#include <array>
#include <utility>

#include "fuzzyset/degree_runs.h"
#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/shape_runs.h"
#include "fuzzyset/shapes.h"

namespace vesk {

namespace {

using kernels::TOperatorKernel;

// One call's arguments, normalised.
struct TApplication {
    std::int32_t* Degrees;
    std::int32_t Code, Repeats, First, Last;
};

// Evaluates the pieces and merges them, writing each degree drawn to record[i - First] when a
// record is kept.
template <TOperatorKernel Op> void EvaluatePieces(const TApplication& a, std::int32_t* record) {
    const TShapeFunction shape = ResolveShape(a.Code);
    std::int32_t* degrees = a.Degrees;
    const std::int32_t width = (a.Last - a.First + 1) / (a.Repeats + 1);
    // The start of an earlier piece of the same span in the record, or -1.
    std::int32_t sameSpanAt = -1, sameSpan = -1;
    auto piece = [&](std::int32_t pieceStart, std::int32_t pieceEnd) {
        const std::int32_t at = pieceStart - a.First;
        if (record != nullptr && pieceEnd - pieceStart == sameSpan) {
            for (std::int32_t i = pieceStart; i <= pieceEnd; ++i) {
                const std::int32_t v = record[sameSpanAt + (i - pieceStart)];
                record[i - a.First] = v;
                degrees[i] = Op(degrees[i], v);
            }
            return;
        }
        for (std::int32_t i = pieceStart; i <= pieceEnd; ++i) {
            const std::int32_t v = shape(pieceStart, pieceEnd, i);
            if (record != nullptr) record[i - a.First] = v;
            degrees[i] = Op(degrees[i], v);
        }
        sameSpanAt = at;
        sameSpan = pieceEnd - pieceStart;
    };
    if (width > 0)
        for (std::int32_t k = 1; k <= a.Repeats; ++k)
            piece(a.First + (k - 1) * width, a.First + k * width - 1);
    piece(a.First + a.Repeats * width, a.Last);
}

template <TOperatorKernel Op, std::int32_t OpCode> void Merge(const TApplication& a) {
    const std::int32_t length = a.Last - a.First + 1;
    TShapeRuns& runs = ShapeRuns();
    if (const std::int16_t* run = runs.Find(a.Code, a.Repeats, length)) {
        MergeDegreeRun(OpCode, a.Degrees + a.First, run, length);
        return;
    }
    if (length > TShapeRuns::MaxLength) {
        EvaluatePieces<Op>(a, nullptr);
        return;
    }
    EvaluatePieces<Op>(a, runs.Scratch(length));
    runs.Keep(a.Code, a.Repeats, length);
}

using TMerge = void (*)(const TApplication&);

template <std::size_t... Op>
constexpr std::array<TMerge, sizeof...(Op)> MergesFor(std::index_sequence<Op...>) {
    return {Merge<kernels::OperatorKernels[Op], static_cast<std::int32_t>(Op)>...};
}

// The loop of each operator code.
constexpr auto Merges = MergesFor(std::make_index_sequence<OperatorCount>());

} // namespace

bool TFuzzySet::ApplyShape(std::int32_t Shape, std::int32_t Repeats, std::int32_t First,
                           std::int32_t Last, std::int32_t Op) {
    const std::int32_t count = Count();
    if (First > Last || First < 0 || Last >= count || First >= count || Last < 0) return false;
    if (Repeats < 0 || Repeats > 7) Repeats = 0;
    if (Op < 0 || Op >= OperatorCount) Op = 0;
    if (Shape < 0 || Shape >= ShapeCodeCount) Shape = 0;
    // An interval shorter than Repeats + 1 is drawn as one piece, as with no repeats.
    if (Last - First + 1 < Repeats + 1) Repeats = 0;

    Merges[static_cast<std::size_t>(Op)]({FDegrees.data(), Shape, Repeats, First, Last});
    return true;
}

} // namespace vesk
