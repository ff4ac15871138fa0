#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/shapes.h"
#include "runtime/extended.h"

namespace vesk {

// A low plateau at 33, a bell to 100, a lower bell to 50, a second bell to 100 and a high
// plateau at 66, scaled to n elements. A step that faults leaves what the earlier steps made.
void TFuzzySet::MakeReference(std::int32_t n, bool Random) {
    if (Random) {
        RandomFill(n);
        return;
    }
    const std::int32_t a = n / 3, b = n / 4, c = WrapMul(5, n) / 12, d = WrapMul(11, n) / 12,
                       e = WrapMul(2, n) / 3;
    constexpr std::int32_t Maximum = 0, Mean = 2;

    Fill(n, 0);
    StepFill(33, 0, a);
    ApplyShape(BellShape, 0, b, c, Maximum);
    ApplyShape(BellShape, 0, c, d, Maximum);

    TFuzzySet high;
    high.Fill(n, 0);
    high.StepFill(0, 66, e);
    Union(*this, high);
    high.ZeroDegrees();
    high.ApplyShape(BellShape, 0, a, e, Mean);
    Union(*this, high);
    high.ClearDegrees();
}

} // namespace vesk
