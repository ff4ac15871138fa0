#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/operators.h"
#include "fuzzyset/shapes.h"

namespace vesk {

bool TFuzzySet::ApplyShape(std::int32_t Shape, std::int32_t Repeats, std::int32_t First,
                           std::int32_t Last, std::int32_t Op) {
    const std::int32_t count = Count();
    if (First > Last || First < 0 || Last >= count || First >= count || Last < 0) return false;
    if (Repeats < 0 || Repeats > 7) Repeats = 0;
    if (Op < 0 || Op >= OperatorCount) Op = 0;

    const TShapeFunction shape = ResolveShape(Shape);
    const std::int32_t width = (Last - First + 1) / (Repeats + 1);
    std::int32_t* degrees = FDegrees.data();

    // One piece: the shape stretched over PieceStart..PieceEnd alone. Each element's degree is
    // computed before it is written, so a fault leaves this element and the later ones as they
    // were.
    auto applyPiece = [&](std::int32_t pieceStart, std::int32_t pieceEnd) {
        for (std::int32_t i = pieceStart; i <= pieceEnd; ++i) {
            const std::int32_t v = shape(pieceStart, pieceEnd, i);
            degrees[i] = Combine(Op, degrees[i], v);
        }
    };
    if (width > 0)
        for (std::int32_t k = 1; k <= Repeats; ++k)
            applyPiece(First + (k - 1) * width, First + k * width - 1);
    applyPiece(First + Repeats * width, Last);
    return true;
}

} // namespace vesk
