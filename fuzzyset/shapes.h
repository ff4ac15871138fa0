#pragma once
// Membership shapes: the degree of element X of a run First..Last for each of the 18 codes.
// Even codes are base shapes, each odd code the complement (100 minus) of the code below.

#include <array>
#include <cstdint>
#include <vector>

namespace vesk {

constexpr std::int32_t ShapeCodeCount = 18;
constexpr std::int32_t BellShape = 16;

// The name of each code 0..17.
extern const std::array<const char*, ShapeCodeCount> ShapeNames;

// A shape resolved to its evaluation function.
using TShapeFunction = std::int32_t (*)(std::int32_t First, std::int32_t Last, std::int32_t X);

// The function of a code; codes outside 0..17 resolve to the rising ramp (code 0).
TShapeFunction ResolveShape(std::int32_t Code);

// The degree of X on the run First..Last under shape Code. The bell over a run of two elements
// raises "Floating point division by zero".
std::int32_t ShapeDegree(std::int32_t Code, std::int32_t First, std::int32_t Last, std::int32_t X);
// The degrees of shape Code over elements 0..Last ("vesk shape CODE W"); faults as ShapeDegree.
std::vector<std::int32_t> ShapeDegrees(std::int32_t Code, std::int32_t Last);

} // namespace vesk
