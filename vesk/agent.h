#pragma once
// The agent: decodes a chromosome (or reads hex text) into a pattern, projects and scores it.

#include <cstdint>
#include <string_view>

#include "fuzzyset/fuzzy_set.h"
#include "vesk/chromosome.h"
#include "vesk/fuzzy_block.h"

namespace vesk {

// A block's bits in a chromosome: its fields' bits, in their order.
constexpr std::int32_t BitsPerBlock = [] {
    std::int32_t bits = 0;
    for (const TBlockField& field : BlockFields)
        bits += field.Bits;
    return bits;
}();
static_assert(BitsPerBlock == 18);
// Every degree of a projection before the first block is merged in.
constexpr std::int32_t InitialDegree = 50;

// One pattern's life inside a command: created, optionally loaded from text, projected,
// evaluated, released.
class TVeskAgent {
public:
    // BlockCount outside 1..32 becomes 1; draws BlockCount * 18 bits with p = 0.5 and decodes.
    TVeskAgent(std::int32_t blockCount, std::int32_t elementCount, bool clearOnDecode);

    TChromosome Chromosome;
    TVesk Pattern;
    std::int32_t Fitness = 0;
    std::int32_t BlockCount = 1;
    std::int32_t ElementCount = 0;
    bool ClearOnDecode = false;

    // Appends BlockCount blocks read from the chromosome, 18 bits a block, most significant first.
    void Decode();
    // Replaces Pattern by the blocks of the text; BlockCount follows what Pattern holds.
    void LoadHex(std::string_view text);
    // Rebuilds the set as ElementCount degrees of 50 with every block merged in, in order.
    void Project(TFuzzySet& set) const;
    // Fitness := 5..100 from the mean Hamming distance of set to reference.
    void Evaluate(const TFuzzySet& set, const TFuzzySet& reference);
    // The fitness for a mean distance x, in extended precision with ties to even.
    static std::int32_t FitnessFor(double x);
    void Release();
};

// Rebuilds set as elementCount degrees of 50 and merges in the first blockCount blocks of
// pattern (no more than it holds), in order, each by shape application over its interval.
void ProjectPattern(const TVesk& pattern, std::int32_t blockCount, std::int32_t elementCount,
                    TFuzzySet& set);
// The mean distance an element, as the fitness forms it: the extended quotient stored to a
// double. No elements is 0 / 0, an invalid operation.
double MeanDistanceOf(double distance, std::int32_t elementCount);
// The fitness for a Hamming distance summed over elementCount elements (what Evaluate sets): the
// mean distance stored to a double, then FitnessFor. No elements is 0 / 0, an invalid operation.
std::int32_t FitnessOfDistance(double distance, std::int32_t elementCount);

} // namespace vesk
