#include "straight_evaluation.h"

namespace vesk::straight {

namespace {

bool InDegreeRange(std::int32_t v) {
    return v >= 0 && v <= 100;
}

// A vector of degrees seen as a set, for the algorithms above.
struct TVectorSet {
    TDegrees& Degrees;

    std::int32_t Count() const { return static_cast<std::int32_t>(Degrees.size()); }
    std::int32_t GetDegree(std::int32_t i) const { return Degrees[static_cast<std::size_t>(i)]; }
    void SetDegree(std::int32_t i, std::int32_t v) { Degrees[static_cast<std::size_t>(i)] = v; }
    void Fill(std::int32_t n, std::int32_t v) {
        Degrees = n > 0 ? TDegrees(static_cast<std::size_t>(n), v) : TDegrees{};
    }
    void ZeroDegrees() { Degrees.assign(Degrees.size(), 0); }
    // Elements 0..k := a and the rest := b, when k indexes an element.
    void StepFill(std::int32_t a, std::int32_t b, std::int32_t k) {
        if (k < 0 || k >= Count()) return;
        for (std::int32_t i = 0; i < Count(); ++i)
            SetDegree(i, i <= k ? a : b);
    }
    // Elementwise maximum over the shorter operand, leaving out results outside 0..100.
    void Union(const TVectorSet& A, const TVectorSet& B) {
        TDegrees result;
        for (std::int32_t i = 0; i < A.Count() && i < B.Count(); ++i) {
            const std::int32_t v =
                A.GetDegree(i) > B.GetDegree(i) ? A.GetDegree(i) : B.GetDegree(i);
            if (InDegreeRange(v)) result.push_back(v);
        }
        Degrees = result;
    }
};

// A read-only view, for the measures.
struct TVectorView {
    const TDegrees& Degrees;

    std::int32_t Count() const { return static_cast<std::int32_t>(Degrees.size()); }
    std::int32_t GetDegree(std::int32_t i) const { return Degrees[static_cast<std::size_t>(i)]; }
};

TVectorView View(const TDegrees& degrees) {
    return {degrees};
}

} // namespace

bool StraightApplyShape(TDegrees& degrees, std::int32_t Shape, std::int32_t Repeats,
                        std::int32_t First, std::int32_t Last, std::int32_t Op) {
    TVectorSet set{degrees};
    return ApplyShape(set, Shape, Repeats, First, Last, Op);
}

void StraightProjection(const TVesk& pattern, std::int32_t blockCount, std::int32_t n,
                        TDegrees& degrees) {
    TVectorSet set{degrees};
    set.Fill(n, 50);
    Project(pattern.Blocks(), blockCount, set);
}

TDegrees StraightReference(std::int32_t n) {
    TDegrees self, high;
    TVectorSet selfSet{self}, highSet{high};
    MakeReference(selfSet, highSet, n);
    return self;
}

double StraightCardinality(const TDegrees& a) {
    return Cardinality(View(a));
}

double StraightHamming(const TDegrees& a, const TDegrees& b) {
    return Hamming(View(a), View(b));
}

double StraightSubsethood(const TDegrees& a, const TDegrees& b) {
    TDegrees common;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const std::int32_t v = a[i] < b[i] ? a[i] : b[i];
        if (InDegreeRange(v)) common.push_back(v);
    }
    return StoreDouble(Divide(StraightCardinality(common), StraightCardinality(a)));
}

std::int32_t StraightFitness(const TDegrees& set, const TDegrees& reference) {
    return Fitness(View(set), View(reference));
}

} // namespace vesk::straight
