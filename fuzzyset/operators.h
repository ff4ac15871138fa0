#pragma once
// Combination operators: how a shape's degree (New) merges into an element's degree (Old).

#include <cstdint>

namespace vesk {

constexpr std::int32_t OperatorCount = 16;

// Operator Op (0..15) applied to Old and New; any other code gives 0. Integer arithmetic wraps
// in 32 bits and divisions truncate toward zero.
std::int32_t Combine(std::int32_t Op, std::int32_t Old, std::int32_t New);

} // namespace vesk
