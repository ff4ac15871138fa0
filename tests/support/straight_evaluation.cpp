#include "fuzz/straight_evaluation.h"

#include <cmath>

#include "fuzzyset/operators.h"
#include "fuzzyset/shapes.h"
#include "runtime/extended.h"

namespace vesk::fuzz {

namespace {

bool InDegreeRange(std::int32_t v) {
    return v >= 0 && v <= 100;
}

// Self := elementwise maximum over the shorter operand, leaving out results outside 0..100.
void StraightUnion(TDegrees& self, const TDegrees& other) {
    TDegrees result;
    for (std::size_t i = 0; i < self.size() && i < other.size(); ++i) {
        const std::int32_t v = self[i] > other[i] ? self[i] : other[i];
        if (InDegreeRange(v)) result.push_back(v);
    }
    self = result;
}

// Elements 0..k := a and the rest := b, when k indexes an element.
void StraightStepFill(TDegrees& degrees, std::int32_t a, std::int32_t b, std::int32_t k) {
    if (k < 0 || static_cast<std::size_t>(k) >= degrees.size()) return;
    for (std::size_t i = 0; i < degrees.size(); ++i)
        degrees[i] = i <= static_cast<std::size_t>(k) ? a : b;
}

TDegrees Filled(std::int32_t n, std::int32_t v) {
    return n > 0 ? TDegrees(static_cast<std::size_t>(n), v) : TDegrees{};
}

} // namespace

bool StraightApplyShape(TDegrees& degrees, std::int32_t Shape, std::int32_t Repeats,
                        std::int32_t First, std::int32_t Last, std::int32_t Op) {
    const auto count = static_cast<std::int64_t>(degrees.size());
    if (First > Last || First < 0 || Last >= count) return false;
    if (Repeats < 0 || Repeats > 7) Repeats = 0;
    if (Op < 0 || Op > 15) Op = 0;
    const std::int32_t width = (Last - First + 1) / (Repeats + 1);

    auto piece = [&](std::int32_t start, std::int32_t end) {
        for (std::int32_t i = start; i <= end; ++i) {
            const std::int32_t v = ShapeDegree(Shape, start, end, i);
            degrees[static_cast<std::size_t>(i)] =
                Combine(Op, degrees[static_cast<std::size_t>(i)], v);
        }
    };
    for (std::int32_t k = 1; k <= Repeats; ++k)
        if (width > 0) piece(First + (k - 1) * width, First + k * width - 1);
    piece(First + Repeats * width, Last);
    return true;
}

void StraightProjection(const TVesk& pattern, std::int32_t blockCount, std::int32_t n,
                        TDegrees& degrees) {
    degrees = Filled(n, 50);
    const std::int32_t q = n / 16;
    for (std::int32_t i = 0; i < blockCount && i < pattern.Count(); ++i) {
        const TFuzzyBlock& B = pattern.Block(i);
        std::int32_t first = B.Centre * q - B.Spread * q;
        if (first < 0) first = 0;
        std::int32_t last = B.Centre * q + q - 1 + B.Spread * q;
        if (last >= 16 * q - 1) last = n - 1;
        StraightApplyShape(degrees, B.Shape, B.Repeats, first, last, B.Op);
    }
}

TDegrees StraightReference(std::int32_t n) {
    const std::int32_t a = n / 3, b = n / 4, c = 5 * n / 12, d = 11 * n / 12, e = 2 * n / 3;
    TDegrees self = Filled(n, 0);
    StraightStepFill(self, 33, 0, a);
    StraightApplyShape(self, BellShape, 0, b, c, 0);
    StraightApplyShape(self, BellShape, 0, c, d, 0);
    TDegrees high = Filled(n, 0);
    StraightStepFill(high, 0, 66, e);
    StraightUnion(self, high);
    high.assign(high.size(), 0);
    StraightApplyShape(high, BellShape, 0, a, e, 2);
    StraightUnion(self, high);
    return self;
}

double StraightCardinality(const TDegrees& a) {
    double sum = 0;
    for (std::int32_t v : a)
        sum = static_cast<double>(static_cast<TReal>(v) / 100.0L + sum);
    return sum;
}

double StraightSubsethood(const TDegrees& a, const TDegrees& b) {
    TDegrees common;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const std::int32_t v = a[i] < b[i] ? a[i] : b[i];
        if (InDegreeRange(v)) common.push_back(v);
    }
    const double c1 = StraightCardinality(common);
    const double c2 = StraightCardinality(a);
    return StoreDouble(Divide(c1, c2));
}

double StraightHamming(const TDegrees& a, const TDegrees& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const TReal x = static_cast<TReal>(a[i]) / 100.0L;
        const TReal y = static_cast<TReal>(b[i]) / 100.0L;
        sum = static_cast<double>(fabsl(x - y) + sum);
    }
    return sum;
}

std::int32_t StraightFitness(const TDegrees& set, const TDegrees& reference) {
    const double h = StraightHamming(set, reference);
    const double x = StoreDouble(Divide(static_cast<TReal>(h), static_cast<TReal>(set.size())));
    if (x <= 0.05) return 100;
    return NearestInt(Divide(5.0L, static_cast<TReal>(x)));
}

} // namespace vesk::fuzz
