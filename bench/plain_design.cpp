#include "bench/plain_design.h"

#include "straight_evaluation.h"

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
    return straight::Cardinality(*this);
}

double TPlainSet::HammingDistance(const TPlainSet& B) const {
    return straight::Hamming(*this, B);
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
    return straight::ApplyShape(*this, Shape, Repeats, First, Last, Op);
}

void TPlainSet::MakeReference(std::int32_t n) {
    TPlainSet high;
    straight::MakeReference(*this, high, n);
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
    straight::Project(agent.Pattern.Blocks(), agent.BlockCount, set);
}

std::int32_t PlainFitness(const TPlainSet& set, const TPlainSet& reference) {
    return straight::Fitness(set, reference);
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
