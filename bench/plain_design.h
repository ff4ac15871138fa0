#pragma once
// The baseline the benchmarks measure against: the straightforward evaluation (the one the tests
// and fuzzers check against) over sets laid out the plain way, one heap-allocated degree object
// per element behind a list of pointers. It is also the reference whose results every fast
// benchmark must reproduce before it is timed.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzzyset/degree.h"
#include "vesk/agent.h"

namespace vesk::bench {

// A fuzzy set as a list of owned degree objects, each reached through its own pointer.
class TPlainSet {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
    std::int32_t AddDegree(std::int32_t v);
    bool SetDegree(std::int32_t i, std::int32_t v);
    std::int32_t GetDegree(std::int32_t i) const;
    void ClearDegrees() { FItems.clear(); }

    void CopyFrom(const TPlainSet& S);
    void Union(const TPlainSet& A, const TPlainSet& B);
    void Intersection(const TPlainSet& A, const TPlainSet& B);
    void ZeroDegrees();
    void Fill(std::int32_t n, std::int32_t v);
    void StepFill(std::int32_t a, std::int32_t b, std::int32_t k);

    double Cardinality() const;
    double HammingDistance(const TPlainSet& B) const;
    double Subsethood(const TPlainSet& B) const;

    bool ApplyShape(std::int32_t Shape, std::int32_t Repeats, std::int32_t First, std::int32_t Last,
                    std::int32_t Op);
    void MakeReference(std::int32_t n);

    // The degrees as values, element i at index i.
    std::vector<std::int32_t> Values() const;

private:
    const TDegree& Item(std::int32_t i) const { return *FItems[static_cast<std::size_t>(i)]; }
    std::vector<std::unique_ptr<TDegree>> FItems;
};

// The agent's projection and evaluation over a plain set.
void PlainProject(const TVeskAgent& agent, TPlainSet& set);
std::int32_t PlainFitness(const TPlainSet& set, const TPlainSet& reference);

// The "Fitness" sweep over 100, 500, 1000 and 5000 elements, done the plain way; the sets are
// left holding the 5000-element versions.
struct TPlainSweep {
    std::array<std::int32_t, 4> Fitness{};
    TPlainSet Pattern, Reference;
};
void PlainFitnessSweep(const std::string& hex, std::int32_t blockCount, TPlainSweep& sweep);

// One pattern scored as "vesk score" scores it.
std::int32_t PlainScore(const std::string& hex, const TPlainSet& reference);

} // namespace vesk::bench
