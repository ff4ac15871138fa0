#pragma once
// The combination operators as inline functions, one per code, for loops that resolve the
// operator once and run it over many elements. Each computes exactly what Combine computes for
// its code.

#include <array>
#include <cstdint>

#include "fuzzyset/degree.h"
#include "fuzzyset/operators.h"
#include "runtime/extended.h"

namespace vesk::kernels {

// An operator applied to Old (the element's degree) and New (the shape's degree).
using TOperatorKernel = std::int32_t (*)(std::int32_t Old, std::int32_t New);

// The product and the mean, each truncated toward zero after a 32-bit wrapping operation.
inline std::int32_t Product(std::int32_t o, std::int32_t n) {
    return WrapMul(o, n) / 100;
}
inline std::int32_t Mean(std::int32_t o, std::int32_t n) {
    return WrapAdd(o, n) / 2;
}

inline std::int32_t Maximum(std::int32_t o, std::int32_t n) {
    return MaxOf(o, n);
}
inline std::int32_t Minimum(std::int32_t o, std::int32_t n) {
    return MinOf(o, n);
}
inline std::int32_t NotMean(std::int32_t o, std::int32_t n) {
    return Complement(Mean(o, n));
}
inline std::int32_t NotMinimum(std::int32_t o, std::int32_t n) {
    return Complement(MinOf(o, n));
}
inline std::int32_t NotMaximum(std::int32_t o, std::int32_t n) {
    return Complement(MaxOf(o, n));
}
inline std::int32_t OldAndNotNew(std::int32_t o, std::int32_t n) {
    return MinOf(o, Complement(n));
}
inline std::int32_t OldOrNotNew(std::int32_t o, std::int32_t n) {
    return MaxOf(o, Complement(n));
}
inline std::int32_t NotOldAndNew(std::int32_t o, std::int32_t n) {
    return MinOf(Complement(o), n);
}
inline std::int32_t NotOldOrNew(std::int32_t o, std::int32_t n) {
    return MaxOf(Complement(o), n);
}
inline std::int32_t NotProduct(std::int32_t o, std::int32_t n) {
    return Complement(Product(o, n));
}
inline std::int32_t NotOldAndProduct(std::int32_t o, std::int32_t n) {
    return MinOf(Complement(o), Product(o, n));
}
inline std::int32_t NotOldOrProduct(std::int32_t o, std::int32_t n) {
    return MaxOf(Complement(o), Product(o, n));
}
inline std::int32_t NotNewAndProduct(std::int32_t o, std::int32_t n) {
    return MinOf(Complement(n), Product(o, n));
}
inline std::int32_t NotNewOrProduct(std::int32_t o, std::int32_t n) {
    return MaxOf(Complement(n), Product(o, n));
}

// The kernel of each operator code 0..15, in code order.
constexpr std::array<TOperatorKernel, OperatorCount> OperatorKernels = {
    Maximum,          Minimum,         Mean,
    NotMean,          NotMinimum,      NotMaximum,
    OldAndNotNew,     OldOrNotNew,     NotOldAndNew,
    NotOldOrNew,      Product,         NotProduct,
    NotOldAndProduct, NotOldOrProduct, NotNewAndProduct,
    NotNewOrProduct,
};

// The name of each operator code 0..15, in the order of OperatorKernels.
constexpr std::array<const char*, OperatorCount> OperatorNames = {
    "maximum",
    "minimum",
    "mean",
    "complement of mean",
    "complement of minimum",
    "complement of maximum",
    "old and not new",
    "old or not new",
    "not old and new",
    "not old or new",
    "product",
    "complement of product",
    "not old and product",
    "not old or product",
    "not new and product",
    "not new or product",
};

} // namespace vesk::kernels
