// Each base shape works on the span W = Last - First and the offset d = X - First. Integer
// operands are formed in 32 bits and converted exactly; every real operation is rounded to the
// 64-bit significand in the order written; the result is rounded to nearest, ties to even.
#include "fuzzyset/shapes.h"

#include <array>
#include <cmath>

#include "fuzzyset/degree.h"
#include "runtime/extended.h"

namespace vesk {

namespace {

TReal Real(std::int32_t v) {
    return static_cast<TReal>(v);
}
std::int32_t Percent(TReal v) {
    return NearestInt(v * 100.0L);
}

std::int32_t RisingRamp(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 0;
    return Percent(Real(d) / Real(W));
}

std::int32_t Triangle(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 0;
    const TReal t = Real(WrapMul(2, d)) / Real(W);
    return d <= W / 2 ? Percent(t) : Percent(2.0L - t);
}

std::int32_t LowHighStep(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 25;
    return d <= W / 2 ? 25 : 75;
}

std::int32_t Trapezoid(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 0;
    const std::int32_t q = W / 4;
    if (d <= q) return Percent(Real(WrapMul(4, d)) / Real(W));
    if (d <= WrapMul(3, q)) return 100;
    return Percent((1.0L - Real(d) / Real(W)) * 4.0L);
}

std::int32_t Wave(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 50;
    const std::int32_t q = W / 4;
    const TReal t = Real(WrapMul(2, d)) / Real(W);
    if (d <= q) return Percent(0.5L - t);
    if (d <= WrapMul(3, q)) return Percent(t - 0.5L);
    return Percent(2.5L - t);
}

std::int32_t DoubleRamp(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 0;
    const TReal t = Real(WrapMul(2, d)) / Real(W);
    return d <= W / 2 ? Percent(t) : Percent(t - 1.0L);
}

std::int32_t Staircase(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 0;
    const std::int32_t q = W / 3;
    const TReal t = Divide(Real(WrapMul(3, d)), Real(WrapMul(2, W)));
    if (d <= q) return Percent(t);
    if (d <= WrapMul(2, q)) return 50;
    return Percent(t - 0.5L);
}

std::int32_t SplitRamp(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 50;
    const TReal t = Real(d) / Real(W);
    return d <= W / 2 ? Percent(0.5L - t) : Percent(t);
}

std::int32_t Bell(std::int32_t First, std::int32_t Last, std::int32_t X) {
    const std::int32_t W = WrapSub(Last, First), d = WrapSub(X, First);
    if (W <= 0) return 100;
    const std::int32_t h = W / 2;
    // k is kept in a double; a half-width of 0 divides by zero.
    const double k = StoreDouble(Divide(5.298L, Real(WrapMul(h, h))));
    const std::int32_t offset = WrapSub(d, h);
    const TReal y = -static_cast<TReal>(k) * Real(WrapMul(offset, offset));
    const TReal e = expl(y);
    if (std::isinf(e)) RaiseFault(TFaultKind::Overflow);
    return Percent(e);
}

template <TShapeFunction Base>
std::int32_t ComplementOf(std::int32_t First, std::int32_t Last, std::int32_t X) {
    return Complement(Base(First, Last, X));
}

constexpr std::array<TShapeFunction, ShapeCodeCount> Shapes = {
    RisingRamp,  ComplementOf<RisingRamp>,  Triangle,   ComplementOf<Triangle>,
    LowHighStep, ComplementOf<LowHighStep>, Trapezoid,  ComplementOf<Trapezoid>,
    Wave,        ComplementOf<Wave>,        DoubleRamp, ComplementOf<DoubleRamp>,
    Staircase,   ComplementOf<Staircase>,   SplitRamp,  ComplementOf<SplitRamp>,
    Bell,        ComplementOf<Bell>,
};

} // namespace

// The names of the codes, in the order of Shapes above.
const std::array<const char*, ShapeCodeCount> ShapeNames = {
    "rising ramp",   "falling ramp",      "triangle",    "notch",
    "low-high step", "high-low step",     "trapezoid",   "inverted trapezoid",
    "wave",          "inverted wave",     "double ramp", "double falling ramp",
    "staircase",     "falling staircase", "split ramp",  "inverted split ramp",
    "bell",          "inverted bell",
};

TShapeFunction ResolveShape(std::int32_t Code) {
    if (Code < 0 || Code >= ShapeCodeCount) Code = 0;
    return Shapes[static_cast<std::size_t>(Code)];
}

std::int32_t ShapeDegree(std::int32_t Code, std::int32_t First, std::int32_t Last, std::int32_t X) {
    return ResolveShape(Code)(First, Last, X);
}

std::vector<std::int32_t> ShapeDegrees(std::int32_t Code, std::int32_t Last) {
    std::vector<std::int32_t> degrees;
    degrees.reserve(static_cast<std::size_t>(Last) + 1);
    for (std::int32_t x = 0; x <= Last; ++x)
        degrees.push_back(ShapeDegree(Code, 0, Last, x));
    return degrees;
}

} // namespace vesk
