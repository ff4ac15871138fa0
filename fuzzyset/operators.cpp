#include "fuzzyset/operators.h"

#include <array>

#include "fuzzyset/degree.h"
#include "runtime/extended.h"

namespace vesk {

namespace {

// The product and the mean, each truncated toward zero after a 32-bit wrapping operation.
std::int32_t P(std::int32_t Old, std::int32_t New) {
    return WrapMul(Old, New) / 100;
}
std::int32_t M(std::int32_t Old, std::int32_t New) {
    return WrapAdd(Old, New) / 2;
}

using TOperator = std::int32_t (*)(std::int32_t Old, std::int32_t New);

constexpr std::array<TOperator, OperatorCount> Operators = {
    [](std::int32_t o, std::int32_t n) { return MaxOf(o, n); },
    [](std::int32_t o, std::int32_t n) { return MinOf(o, n); },
    [](std::int32_t o, std::int32_t n) { return M(o, n); },
    [](std::int32_t o, std::int32_t n) { return Complement(M(o, n)); },
    [](std::int32_t o, std::int32_t n) { return Complement(MinOf(o, n)); },
    [](std::int32_t o, std::int32_t n) { return Complement(MaxOf(o, n)); },
    [](std::int32_t o, std::int32_t n) { return MinOf(o, Complement(n)); },
    [](std::int32_t o, std::int32_t n) { return MaxOf(o, Complement(n)); },
    [](std::int32_t o, std::int32_t n) { return MinOf(Complement(o), n); },
    [](std::int32_t o, std::int32_t n) { return MaxOf(Complement(o), n); },
    [](std::int32_t o, std::int32_t n) { return P(o, n); },
    [](std::int32_t o, std::int32_t n) { return Complement(P(o, n)); },
    [](std::int32_t o, std::int32_t n) { return MinOf(Complement(o), P(o, n)); },
    [](std::int32_t o, std::int32_t n) { return MaxOf(Complement(o), P(o, n)); },
    [](std::int32_t o, std::int32_t n) { return MinOf(Complement(n), P(o, n)); },
    [](std::int32_t o, std::int32_t n) { return MaxOf(Complement(n), P(o, n)); },
};

} // namespace

std::int32_t Combine(std::int32_t Op, std::int32_t Old, std::int32_t New) {
    if (Op < 0 || Op >= OperatorCount) return 0;
    return Operators[static_cast<std::size_t>(Op)](Old, New);
}

} // namespace vesk
