#include "vesk/agent.h"

#include <algorithm>

#include "runtime/extended.h"

namespace vesk {

namespace {

constexpr double ChromosomeProbability = 0.5;
constexpr double PerfectDistance = 0.05;

std::int32_t AcceptedBlockCount(std::int32_t blockCount) {
    return blockCount >= 1 && blockCount <= MaxBlocks ? blockCount : 1;
}

// Reads width bits from bit index at on, the first bit the most significant.
std::int32_t ReadField(const TChromosome& chromosome, std::int32_t& at, std::int32_t width) {
    std::int32_t value = 0;
    for (std::int32_t k = 0; k < width; ++k)
        value = value * 2 + (chromosome.GetBit(at++) ? 1 : 0);
    return value;
}

} // namespace

TVeskAgent::TVeskAgent(std::int32_t blockCount, std::int32_t elementCount, bool clearOnDecode)
    : Chromosome(AcceptedBlockCount(blockCount) * BitsPerBlock, ChromosomeProbability),
      BlockCount(AcceptedBlockCount(blockCount)), ElementCount(elementCount),
      ClearOnDecode(clearOnDecode) {
    Decode();
}

void TVeskAgent::Decode() {
    if (ClearOnDecode) Pattern.ClearBlocks();
    for (std::int32_t a = 0; a < BlockCount; ++a) {
        std::int32_t at = a * BitsPerBlock;
        TFuzzyBlock block;
        for (const TBlockField& field : BlockFields)
            block.*field.Member = ReadField(Chromosome, at, field.Bits);
        Pattern.AddBlock(block);
    }
}

void TVeskAgent::LoadHex(std::string_view text) {
    Pattern.LoadFromHex(text);
    BlockCount = Pattern.Count();
}

void TVeskAgent::Project(TFuzzySet& set) const {
    ProjectPattern(Pattern, BlockCount, ElementCount, set);
}

void ProjectPattern(const TVesk& pattern, std::int32_t blockCount, std::int32_t elementCount,
                    TFuzzySet& set) {
    if (elementCount > 0 && set.Count() == elementCount) {
        // The same degrees as emptying and filling anew, in the storage the set already has.
        set.StepFill(InitialDegree, InitialDegree, 0);
    } else {
        set.ClearDegrees();
        set.Fill(elementCount, InitialDegree);
    }
    const std::int32_t blocks = std::min(blockCount, pattern.Count());
    for (std::int32_t i = 0; i < blocks; ++i) {
        const TFuzzyBlock& B = pattern.Block(i);
        const TBlockInterval at = BlockInterval(B, elementCount);
        set.ApplyShape(B.Shape, B.Repeats, at.First, at.Last, B.Op);
    }
}

std::int32_t TVeskAgent::FitnessFor(double x) {
    if (x <= PerfectDistance) return 100;
    // The quotient stays extended: rounding it to a double first would turn e.g. 10.5000...02
    // into a tie and round the other way.
    return NearestInt(Divide(5.0L, static_cast<TReal>(x)));
}

void TVeskAgent::Evaluate(const TFuzzySet& set, const TFuzzySet& reference) {
    // An empty set makes this 0 / 0, an invalid operation; Fitness then keeps its value.
    Fitness = FitnessOfDistance(set.HammingDistance(reference), set.Count());
}

double MeanDistanceOf(double distance, std::int32_t elementCount) {
    return StoreDouble(Divide(static_cast<TReal>(distance), static_cast<TReal>(elementCount)));
}

std::int32_t FitnessOfDistance(double distance, std::int32_t elementCount) {
    return TVeskAgent::FitnessFor(MeanDistanceOf(distance, elementCount));
}

void TVeskAgent::Release() {
    Chromosome.Release();
    Pattern.ClearBlocks();
}

} // namespace vesk
