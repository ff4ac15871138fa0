#pragma once
// A straightforward evaluation of a pattern, element by element from ShapeDegree and Combine,
// with none of the library's shortcuts: what the projection, the reference set and the fitness
// must equal exactly.

#include <cstdint>
#include <vector>

#include "vesk/fuzzy_block.h"

namespace vesk::fuzz {

using TDegrees = std::vector<std::int32_t>;

// Merges shape Shape into degrees First..Last, cut into Repeats + 1 pieces, by operator Op; one
// ShapeDegree and one Combine per element. False (nothing changed) when the interval is not
// within the degrees. A fault leaves the elements before the faulting one updated.
bool StraightApplyShape(TDegrees& degrees, std::int32_t Shape, std::int32_t Repeats,
                        std::int32_t First, std::int32_t Last, std::int32_t Op);

// The first blockCount blocks of pattern projected onto n elements that start at 50.
void StraightProjection(const TVesk& pattern, std::int32_t blockCount, std::int32_t n,
                        TDegrees& degrees);

// The reference set of n elements: plateaus at 33 and 66 and three bells.
TDegrees StraightReference(std::int32_t n);

// The measures, each term formed in extended precision and the running sum stored to a double
// after every step.
double StraightCardinality(const TDegrees& a);
double StraightHamming(const TDegrees& a, const TDegrees& b);
// Cardinality of the elementwise minimum (results outside 0..100 left out) over Cardinality(a).
double StraightSubsethood(const TDegrees& a, const TDegrees& b);

// The fitness of a set against a reference; faults as Evaluate does.
std::int32_t StraightFitness(const TDegrees& set, const TDegrees& reference);

} // namespace vesk::fuzz
