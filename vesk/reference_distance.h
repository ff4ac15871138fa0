#pragma once
// The Hamming distance of many sets to one reference set, for batch scoring.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "fuzzyset/fuzzy_set.h"

namespace vesk {

// HammingDistance(set, reference) for a fixed reference: the same double, bit for bit, summed
// the same way, one extended term |a/100 - r/100| a step, each sum stored to a double.
//
// While the sum stays in one binade [2^e, 2^(e+1)), a step is an integer addition on the sum's
// 53-bit significand: the extended sum rounds the term to whole 2^(e-63) on a grid the sum lies
// on, and the store rounds that to whole units of the sum's last place, so unless that second
// rounding is a tie (then the sum's parity decides), the step adds a number D that depends only
// on the term and e. A tie, or a step that leaves the binade, adds the term rounded to the
// extended grid of e, or of e + 1 when the exact sum reaches 2^(e+1), and rounds the result to
// 53 bits. Both numbers are taken from tables for each binade, worked out by the floating-point
// arithmetic itself; the first step, terms of degrees outside 0..100 and sums outside the
// tabled binades take the floating-point step.
class THammingToReference {
public:
    explicit THammingToReference(const TFuzzySet& reference);
    THammingToReference(const THammingToReference&) = delete;
    THammingToReference& operator=(const THammingToReference&) = delete;

    // HammingDistance of set to the reference. A binade's tables are made the first time a sum
    // enters it (at most 40 binades, each at most 164 KiB), under a lock, so that any number of
    // threads can share one object.
    double Distance(const TFuzzySet& set) const;

    // The tables' entries for a term in binade e, exposed for the tests. StepEntry: D, or Leaves
    // when the step is a tie or the term may take a sum out of the binade. RoundedEntry: the term
    // in whole 2^(e-63), rounded to nearest even, or Untabled when that reaches 2^64.
    static std::uint64_t StepEntry(std::int32_t degree, std::int32_t referenceDegree, int e);
    static std::uint64_t RoundedEntry(std::int32_t degree, std::int32_t referenceDegree, int e);
    static constexpr std::uint64_t Leaves = std::uint64_t{1} << 53;
    static constexpr std::uint64_t Untabled = ~std::uint64_t{0};
    // The binades with tables, 2^-8 to 2^32: a sum of terms of degrees 0..100 is 0 or at
    // least 0.01, and at most the element count.
    static constexpr int LowestBinade = -8, BinadeCount = 40;

private:
    static constexpr std::int32_t Highest = 100;

    struct TBinade {
        std::vector<std::uint64_t> Steps, Rounded; // by row start + degree
    };

    // The tables of binade e, made when first needed; nullptr outside the tabled binades.
    const TBinade* Binade(std::int64_t e) const;
    void Build(TBinade& binade, std::int64_t e) const;
    // The step of the sum m * 2^(e-52) by the term at index at of its binade's tables, when it
    // leaves the binade or is a tie: e, m and here follow the new sum. False, with nothing
    // changed, when the tables cannot give the step.
    bool CrossingStep(std::int64_t& e, std::uint64_t& m, const TBinade*& here,
                      std::size_t at) const;
    // The floating-point step for element i.
    double FloatStep(double sum, std::size_t i, std::int32_t degree) const;

    std::vector<std::int32_t> FDegrees;
    // Each distinct reference degree within 0..100, in first-seen order; one row more, every
    // entry Leaves and Untabled, serves degrees outside that range.
    std::vector<std::int32_t> FRowDegrees;
    // Where element i's row starts in a table: its row times 101.
    std::vector<std::uint32_t> FRowStarts;
    mutable std::array<TBinade, BinadeCount> FBinades;
    mutable std::array<std::atomic<bool>, BinadeCount> FBuilt{}; // FBinades[k] is complete
    mutable std::mutex FBuilding;
};

} // namespace vesk
