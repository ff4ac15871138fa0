// Shape application resolves the shape and the operator once per call and runs one loop per
// operator. A piece whose span has been drawn before replays the recorded degrees of that shape
// and span (TShapeTables); otherwise it evaluates the shape element by element, exactly as
// before, recording the degrees as it goes. Either way each element's degree is computed before
// it is written, so a fault leaves the element it struck and the later ones as they were.
#include <array>
#include <utility>

#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/shape_tables.h"
#include "fuzzyset/shapes.h"

namespace vesk {

namespace {

using kernels::TOperatorKernel;

// What stays the same for every piece of one call.
struct TApplication {
    std::int32_t* Degrees;
    std::int32_t Code;
    TShapeFunction Shape;
    TShapeTables& Tables;
};

template <TOperatorKernel Op>
void MergeRecorded(std::int32_t* degrees, const std::int16_t* recorded, std::int32_t count) {
    for (std::int32_t d = 0; d < count; ++d)
        degrees[d] = Op(degrees[d], recorded[d]);
}

// The shape stretched over PieceStart..PieceEnd alone, merged by Op.
template <TOperatorKernel Op>
void MergePiece(const TApplication& a, std::int32_t pieceStart, std::int32_t pieceEnd) {
    const std::int32_t span = pieceEnd - pieceStart;
    if (const std::int16_t* recorded = a.Tables.Find(a.Code, span)) {
        MergeRecorded<Op>(a.Degrees + pieceStart, recorded, span + 1);
        return;
    }
    std::int32_t* degrees = a.Degrees;
    if (span > TShapeTables::MaxSpan) {
        for (std::int32_t i = pieceStart; i <= pieceEnd; ++i)
            degrees[i] = Op(degrees[i], a.Shape(pieceStart, pieceEnd, i));
        return;
    }
    std::int32_t* record = a.Tables.Scratch(span);
    for (std::int32_t i = pieceStart; i <= pieceEnd; ++i) {
        const std::int32_t v = a.Shape(pieceStart, pieceEnd, i);
        record[i - pieceStart] = v;
        degrees[i] = Op(degrees[i], v);
    }
    a.Tables.Keep(a.Code, span);
}

template <TOperatorKernel Op>
void MergePieces(const TApplication& a, std::int32_t Repeats, std::int32_t First,
                 std::int32_t Last) {
    const std::int32_t width = (Last - First + 1) / (Repeats + 1);
    if (width > 0)
        for (std::int32_t k = 1; k <= Repeats; ++k)
            MergePiece<Op>(a, First + (k - 1) * width, First + k * width - 1);
    MergePiece<Op>(a, First + Repeats * width, Last);
}

using TMergePieces = void (*)(const TApplication&, std::int32_t, std::int32_t, std::int32_t);

template <std::size_t... Op>
constexpr std::array<TMergePieces, sizeof...(Op)> MergersFor(std::index_sequence<Op...>) {
    return {MergePieces<kernels::OperatorKernels[Op]>...};
}

// The loop of each operator code.
constexpr auto Mergers = MergersFor(std::make_index_sequence<OperatorCount>());

} // namespace

bool TFuzzySet::ApplyShape(std::int32_t Shape, std::int32_t Repeats, std::int32_t First,
                           std::int32_t Last, std::int32_t Op) {
    const std::int32_t count = Count();
    if (First > Last || First < 0 || Last >= count || First >= count || Last < 0) return false;
    if (Repeats < 0 || Repeats > 7) Repeats = 0;
    if (Op < 0 || Op >= OperatorCount) Op = 0;
    if (Shape < 0 || Shape >= ShapeCodeCount) Shape = 0;

    const TApplication application{FDegrees.data(), Shape, ResolveShape(Shape), ShapeTables()};
    Mergers[static_cast<std::size_t>(Op)](application, Repeats, First, Last);
    return true;
}

} // namespace vesk
