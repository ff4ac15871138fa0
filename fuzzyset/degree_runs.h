#pragma once
// Runs of degrees: what one shape application draws across an interval, worked out once, and
// its merge into a set's degrees by an operator, for loops that apply the same run many times.

#include <cstdint>

namespace vesk {

// The degrees ApplyShape(Code, Repeats, First, First + Length - 1, Op) draws, element First + k
// at out[k]: the interval cut into Repeats + 1 pieces (one piece when it is shorter than that),
// the shape evaluated over each. Code and Repeats must be in range (0..17, 0..7), Length >= 1.
// The bell over a piece of two elements raises "Floating point division by zero".
void DrawShapeRun(std::int32_t Code, std::int32_t Repeats, std::int32_t Length, std::int32_t* out);

// degrees[k] := Combine(Op, degrees[k], run[k]) for k = 0..count-1; Op must be 0..15.
void MergeDegreeRun(std::int32_t Op, std::int32_t* degrees, const std::int16_t* run,
                    std::int32_t count);

// out[k] := Combine(Op, in[k], run[k]) for k = 0..count-1, in and out not overlapping; Op must
// be 0..15. Spares a loop that keeps rows of degrees the copy before merging in place.
void MergeDegreeRunInto(std::int32_t Op, const std::int32_t* in, std::int32_t* out,
                        const std::int16_t* run, std::int32_t count);

// The loops above resolved for one operator code (0..15), for callers that merge with the same
// operator many times, often over short intervals, and would rather not look it up on every
// call. They give the same degrees; where the processor has 256-bit vectors they are loops of
// their own, written out for intervals of a few dozen elements.
using TDegreeRunMerge = void (*)(std::int32_t* degrees, const std::int16_t* run,
                                 std::int32_t count);
using TDegreeRunMergeInto = void (*)(const std::int32_t* in, std::int32_t* out,
                                     const std::int16_t* run, std::int32_t count);
TDegreeRunMerge DegreeRunMergeOf(std::int32_t Op);
TDegreeRunMergeInto DegreeRunMergeIntoOf(std::int32_t Op);

} // namespace vesk
