#pragma once
// Exact-arithmetic helpers. Reals are computed in x87 extended precision (64-bit significand,
// round to nearest even) and rounded to a double only where a value is stored. Integer
// arithmetic on degrees wraps in 32 bits, done through unsigned types so it stays defined.

#include <cmath>
#include <cstdint>
#include <limits>

#include "runtime/fp_fault.h"

namespace vesk {

using TReal = long double;
static_assert(std::numeric_limits<TReal>::digits == 64,
              "the arithmetic needs an extended real with a 64-bit significand");

// 32-bit two's complement arithmetic without overflow checks.
inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
// Division truncating toward zero; the one quotient that overflows (INT32_MIN / -1) wraps.
inline std::int32_t WrapDiv(std::int32_t a, std::int32_t b) {
    if (b == -1) return WrapSub(0, a);
    return a / b;
}

// A real stored in a double variable: rounded to nearest; a finite value beyond the double
// range is an overflow fault.
inline double StoreDouble(TReal v) {
    double d = static_cast<double>(v);
    if (std::isinf(d) && !std::isinf(v)) RaiseFault(TFaultKind::Overflow);
    return d;
}

// A real converted to an integer: nearest, ties to even. NaN or a result outside the 32-bit
// range is an invalid operation.
inline std::int32_t NearestInt(TReal v) {
    if (!(v >= -2147483648.5L && v < 2147483647.5L)) RaiseFault(TFaultKind::InvalidOperation);
    // lrintl rounds in the current mode, which the process never changes from nearest-even;
    // unlike nearbyintl it does not save and restore the whole floating-point environment,
    // which made every conversion some twenty times slower.
    return static_cast<std::int32_t>(std::lrintl(v));
}

// a / b with the faults of an unmasked floating-point unit: 0/0 is an invalid operation,
// x/0 a division by zero, a quotient beyond the extended range an overflow.
inline TReal Divide(TReal a, TReal b) {
    if (b == 0)
        RaiseFault(a == 0 || std::isnan(a) ? TFaultKind::InvalidOperation
                                           : TFaultKind::DivisionByZero);
    TReal q = a / b;
    if (std::isinf(q) && !std::isinf(a)) RaiseFault(TFaultKind::Overflow);
    return q;
}

} // namespace vesk
