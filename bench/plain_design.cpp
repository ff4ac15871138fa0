#include "bench/plain_design.h"

#include <algorithm>
#include <cmath>

#include "fuzzyset/operators.h"
#include "fuzzyset/shapes.h"
#include "runtime/extended.h"

namespace vesk::bench {

std::int32_t TPlainSet::AddDegree(std::int32_t v) {
    auto degree = std::make_unique<TDegree>(v);
    if (!degree->IsValid()) return -1;
    FItems.push_back(std::move(degree));
    return Count() - 1;
}

bool TPlainSet::SetDegree(std::int32_t i, std::int32_t v) {
    if (i < 0 || i >= Count()) return false;
    FItems[static_cast<std::size_t>(i)]->Value = v;
    return true;
}

std::int32_t TPlainSet::GetDegree(std::int32_t i) const {
    if (i < 0 || i >= Count()) return -1;
    return Item(i).Value;
}

void TPlainSet::CopyFrom(const TPlainSet& S) {
    ClearDegrees();
    for (std::int32_t i = 0; i < S.Count(); ++i)
        AddDegree(S.GetDegree(i));
}

void TPlainSet::Union(const TPlainSet& A, const TPlainSet& B) {
    TPlainSet T;
    auto D = std::make_unique<TDegree>();
    for (std::int32_t i = 0; i < MinOf(A.Count(), B.Count()); ++i) {
        D->AssignMax(A.Item(i), B.Item(i));
        T.AddDegree(D->Value);
    }
    CopyFrom(T);
    T.ClearDegrees();
}

void TPlainSet::Intersection(const TPlainSet& A, const TPlainSet& B) {
    TPlainSet T;
    auto D = std::make_unique<TDegree>();
    for (std::int32_t i = 0; i < MinOf(A.Count(), B.Count()); ++i) {
        D->AssignMin(A.Item(i), B.Item(i));
        T.AddDegree(D->Value);
    }
    CopyFrom(T);
    T.ClearDegrees();
}

void TPlainSet::ZeroDegrees() {
    for (std::int32_t i = 0; i < Count(); ++i)
        SetDegree(i, 0);
}

void TPlainSet::Fill(std::int32_t n, std::int32_t v) {
    ClearDegrees();
    for (std::int32_t i = 0; i < n; ++i)
        AddDegree(v);
}

void TPlainSet::StepFill(std::int32_t a, std::int32_t b, std::int32_t k) {
    if (k >= Count() || k < 0) return;
    for (std::int32_t i = 0; i <= k; ++i)
        SetDegree(i, a);
    for (std::int32_t i = k + 1; i < Count(); ++i)
        SetDegree(i, b);
}

double TPlainSet::Cardinality() const {
    double sum = 0;
    for (std::int32_t i = 0; i < Count(); ++i) {
        const TReal q = static_cast<TReal>(GetDegree(i)) / 100.0L;
        sum = static_cast<double>(q + sum);
    }
    return sum;
}

double TPlainSet::HammingDistance(const TPlainSet& B) const {
    double sum = 0;
    for (std::int32_t i = 0; i < MinOf(Count(), B.Count()); ++i) {
        const TReal x = static_cast<TReal>(GetDegree(i)) / 100.0L;
        const TReal y = static_cast<TReal>(B.GetDegree(i)) / 100.0L;
        sum = static_cast<double>(fabsl(x - y) + sum);
    }
    return sum;
}

double TPlainSet::Subsethood(const TPlainSet& B) const {
    TPlainSet T;
    T.Intersection(*this, B);
    const double c1 = T.Cardinality();
    const double c2 = Cardinality();
    T.ClearDegrees();
    return StoreDouble(Divide(c1, c2));
}

bool TPlainSet::ApplyShape(std::int32_t Shape, std::int32_t Repeats, std::int32_t First,
                           std::int32_t Last, std::int32_t Op) {
    if (First > Last || First < 0 || Last >= Count() || First >= Count() || Last < 0) return false;
    if (Repeats < 0 || Repeats > 7) Repeats = 0;
    if (Op < 0 || Op > 15) Op = 0;
    const TShapeFunction shape = ResolveShape(Shape);
    const std::int32_t width = (Last - First + 1) / (Repeats + 1);
    auto piece = [&](std::int32_t start, std::int32_t end) {
        for (std::int32_t i = start; i <= end; ++i) {
            const std::int32_t v = shape(start, end, i);
            const std::int32_t old = GetDegree(i);
            SetDegree(i, Combine(Op, old, v));
        }
    };
    if (width > 0)
        for (std::int32_t k = 1; k <= Repeats; ++k)
            piece(First + (k - 1) * width, First + k * width - 1);
    piece(First + Repeats * width, Last);
    return true;
}

void TPlainSet::MakeReference(std::int32_t n) {
    const std::int32_t a = n / 3, b = n / 4, c = WrapMul(5, n) / 12, d = WrapMul(11, n) / 12,
                       e = WrapMul(2, n) / 3;
    Fill(n, 0);
    StepFill(33, 0, a);
    ApplyShape(BellShape, 0, b, c, 0);
    ApplyShape(BellShape, 0, c, d, 0);
    TPlainSet high;
    high.Fill(n, 0);
    high.StepFill(0, 66, e);
    Union(*this, high);
    high.ZeroDegrees();
    high.ApplyShape(BellShape, 0, a, e, 2);
    Union(*this, high);
    high.ClearDegrees();
}

std::vector<std::int32_t> TPlainSet::Values() const {
    std::vector<std::int32_t> values;
    for (std::int32_t i = 0; i < Count(); ++i)
        values.push_back(GetDegree(i));
    return values;
}

void PlainProject(const TVeskAgent& agent, TPlainSet& set) {
    set.ClearDegrees();
    set.Fill(agent.ElementCount, 50);
    for (std::int32_t i = 0; i < std::min(agent.BlockCount, agent.Pattern.Count()); ++i) {
        const TFuzzyBlock& B = agent.Pattern.Block(i);
        std::int32_t first = 0, last = 0;
        TVeskAgent::BlockInterval(B, agent.ElementCount, first, last);
        set.ApplyShape(B.Shape, B.Repeats, first, last, B.Op);
    }
}

std::int32_t PlainFitness(const TPlainSet& set, const TPlainSet& reference) {
    const double h = set.HammingDistance(reference);
    const double x = StoreDouble(Divide(static_cast<TReal>(h), static_cast<TReal>(set.Count())));
    return TVeskAgent::FitnessFor(x);
}

void PlainFitnessSweep(const std::string& hex, std::int32_t blockCount, TPlainSweep& sweep) {
    constexpr std::int32_t Sizes[] = {100, 500, 1000, 5000};
    for (std::size_t s = 0; s < 4; ++s) {
        sweep.Reference.ClearDegrees();
        sweep.Reference.MakeReference(Sizes[s]);
        sweep.Pattern.ClearDegrees();
        TVeskAgent agent(blockCount, Sizes[s], false);
        agent.LoadHex(hex);
        blockCount = std::clamp(agent.BlockCount, 1, 32);
        PlainProject(agent, sweep.Pattern);
        sweep.Fitness[s] = PlainFitness(sweep.Pattern, sweep.Reference);
        agent.Release();
    }
}

std::int32_t PlainScore(const std::string& hex, const TPlainSet& reference) {
    TVeskAgent agent(1, reference.Count(), false);
    agent.LoadHex(hex);
    TPlainSet pattern;
    PlainProject(agent, pattern);
    const std::int32_t fitness = PlainFitness(pattern, reference);
    agent.Release();
    pattern.ClearDegrees();
    return fitness;
}

} // namespace vesk::bench
