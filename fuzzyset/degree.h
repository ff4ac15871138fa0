#pragma once
// Membership degrees in percent and the integer helpers the operators are built on.

#include <cstdint>

#include "runtime/extended.h"

namespace vesk {

inline std::int32_t MinOf(std::int32_t a, std::int32_t b) {
    return a < b ? a : b;
}
inline std::int32_t MaxOf(std::int32_t a, std::int32_t b) {
    return a > b ? a : b;
}
// 100 - a, wrapping in 32 bits.
inline std::int32_t Complement(std::int32_t a) {
    return WrapSub(100, a);
}

// One membership degree; nominally 0..100, but any value can be stored.
class TDegree {
public:
    std::int32_t Value = 0;

    TDegree() = default;
    explicit TDegree(std::int32_t value) : Value(value) {}

    void AssignMax(const TDegree& a, const TDegree& b) { Value = MaxOf(a.Value, b.Value); }
    void AssignMin(const TDegree& a, const TDegree& b) { Value = MinOf(a.Value, b.Value); }
    bool IsValid() const { return Value >= 0 && Value <= 100; }
};

} // namespace vesk
