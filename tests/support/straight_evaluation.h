#pragma once
// The straightforward evaluation of a pattern, element by element from ShapeDegree and Combine,
// with none of the library's shortcuts: what the projection, the reference set, the measures
// and the fitness must equal exactly. The tests and the fuzzers check the library against it;
// the benchmarks time it, over their plain per-element degree objects, as the baseline.
//
// The algorithms are written once, over any set type S with
//     std::int32_t Count() const; std::int32_t GetDegree(i) const; void SetDegree(i, v);
// and the sets built from scratch (the reference) over S with Fill(n, v), StepFill(a, b, k),
// ZeroDegrees() and Union(A, B) as well.

#include <cmath>
#include <cstdint>
#include <vector>

#include "fuzzyset/degree.h"
#include "fuzzyset/operators.h"
#include "fuzzyset/shapes.h"
#include "runtime/extended.h"
#include "vesk/fuzzy_block.h"

namespace vesk::straight {

using TDegrees = std::vector<std::int32_t>;

// Merges shape Shape into elements First..Last, cut into Repeats + 1 pieces, by operator Op;
// one ShapeDegree and one Combine per element. False (nothing changed) when the interval is not
// within the set. A fault leaves the elements before the faulting one updated.
template <class S>
bool ApplyShape(S& set, std::int32_t Shape, std::int32_t Repeats, std::int32_t First,
                std::int32_t Last, std::int32_t Op) {
    if (First > Last || First < 0 || Last >= set.Count()) return false;
    if (Repeats < 0 || Repeats > 7) Repeats = 0;
    if (Op < 0 || Op > 15) Op = 0;
    const std::int32_t width = (Last - First + 1) / (Repeats + 1);
    auto piece = [&](std::int32_t start, std::int32_t end) {
        for (std::int32_t i = start; i <= end; ++i)
            set.SetDegree(i, Combine(Op, set.GetDegree(i), ShapeDegree(Shape, start, end, i)));
    };
    for (std::int32_t k = 1; k <= Repeats; ++k)
        if (width > 0) piece(First + (k - 1) * width, First + k * width - 1);
    piece(First + Repeats * width, Last);
    return true;
}

// The interval of a block in a universe of n elements, worked out from its definition.
inline void BlockInterval(const TFuzzyBlock& B, std::int32_t n, std::int32_t& first,
                          std::int32_t& last) {
    const std::int64_t q = n / 16;
    first = static_cast<std::int32_t>(std::max<std::int64_t>((B.Centre - B.Spread) * q, 0));
    const std::int64_t to = (B.Centre + 1 + B.Spread) * q - 1;
    last = to >= 16 * q - 1 ? n - 1 : static_cast<std::int32_t>(to);
}

// The first blockCount blocks of the list projected onto the set, which holds n elements that
// start at 50.
template <class S>
void Project(const std::vector<TFuzzyBlock>& blocks, std::int32_t blockCount, S& set) {
    for (std::int32_t i = 0; i < blockCount && i < static_cast<std::int32_t>(blocks.size()); ++i) {
        const TFuzzyBlock& B = blocks[static_cast<std::size_t>(i)];
        std::int32_t first = 0, last = 0;
        BlockInterval(B, set.Count(), first, last);
        ApplyShape(set, B.Shape, B.Repeats, first, last, B.Op);
    }
}

// The reference set of n elements: plateaus at 33 and 66 and three bells; high is scratch.
template <class S> void MakeReference(S& self, S& high, std::int32_t n) {
    const std::int32_t a = n / 3, b = n / 4, c = WrapMul(5, n) / 12, d = WrapMul(11, n) / 12,
                       e = WrapMul(2, n) / 3;
    self.Fill(n, 0);
    self.StepFill(33, 0, a);
    ApplyShape(self, BellShape, 0, b, c, 0);
    ApplyShape(self, BellShape, 0, c, d, 0);
    high.Fill(n, 0);
    high.StepFill(0, 66, e);
    self.Union(self, high);
    high.ZeroDegrees();
    ApplyShape(high, BellShape, 0, a, e, 2);
    self.Union(self, high);
}

// The measures, each term formed in extended precision and the running sum stored to a double
// after every step.
template <class S> double Cardinality(const S& a) {
    double sum = 0;
    for (std::int32_t i = 0; i < a.Count(); ++i)
        sum = static_cast<double>(static_cast<TReal>(a.GetDegree(i)) / 100.0L + sum);
    return sum;
}

template <class S> double Hamming(const S& a, const S& b) {
    double sum = 0;
    for (std::int32_t i = 0; i < a.Count() && i < b.Count(); ++i) {
        const TReal x = static_cast<TReal>(a.GetDegree(i)) / 100.0L;
        const TReal y = static_cast<TReal>(b.GetDegree(i)) / 100.0L;
        sum = static_cast<double>(fabsl(x - y) + sum);
    }
    return sum;
}

// The fitness of a set against a reference; faults as the agent's evaluation does.
template <class S> std::int32_t Fitness(const S& set, const S& reference) {
    const double h = Hamming(set, reference);
    const double x = StoreDouble(Divide(static_cast<TReal>(h), static_cast<TReal>(set.Count())));
    if (x <= 0.05) return 100;
    return NearestInt(Divide(5.0L, static_cast<TReal>(x)));
}

// The same over plain vectors of degrees, for the tests and the fuzzers.
bool StraightApplyShape(TDegrees& degrees, std::int32_t Shape, std::int32_t Repeats,
                        std::int32_t First, std::int32_t Last, std::int32_t Op);
void StraightProjection(const TVesk& pattern, std::int32_t blockCount, std::int32_t n,
                        TDegrees& degrees);
TDegrees StraightReference(std::int32_t n);
double StraightCardinality(const TDegrees& a);
double StraightHamming(const TDegrees& a, const TDegrees& b);
// Cardinality of the elementwise minimum (results outside 0..100 left out) over Cardinality(a).
double StraightSubsethood(const TDegrees& a, const TDegrees& b);
std::int32_t StraightFitness(const TDegrees& set, const TDegrees& reference);

} // namespace vesk::straight
