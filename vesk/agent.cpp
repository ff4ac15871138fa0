#include "vesk/agent.h"

#include <algorithm>

#include "runtime/extended.h"

namespace vesk {

namespace {

constexpr double ChromosomeProbability = 0.5;
constexpr std::int32_t CellCount = 16;
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

// Only a negative element count (an empty set, whose intervals are all refused) or a block
// that never passed Validate can take an index beyond 32 bits.
std::int32_t ClampTo32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
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
        block.Shape = ReadField(Chromosome, at, 4);
        block.Centre = ReadField(Chromosome, at, 4);
        block.Spread = ReadField(Chromosome, at, 3);
        block.Repeats = ReadField(Chromosome, at, 3);
        block.Op = ReadField(Chromosome, at, 4);
        Pattern.AddBlock(block);
    }
}

void TVeskAgent::LoadHex(std::string_view text) {
    Pattern.LoadFromHex(text);
    BlockCount = Pattern.Count();
}

void TVeskAgent::BlockInterval(const TFuzzyBlock& B, std::int32_t elementCount, std::int32_t& first,
                               std::int32_t& last) {
    // Worked in 64 bits: for element counts near the 32-bit limit (Centre + Spread + 1) * q
    // would overflow, and such an interval reaches the last cell anyway.
    const std::int64_t q = elementCount / CellCount;
    const std::int64_t centre = B.Centre;
    const std::int64_t spread = B.Spread;
    const std::int64_t from = (centre - spread) * q;
    const std::int64_t to = (centre + 1 + spread) * q - 1;
    first = ClampTo32(std::max<std::int64_t>(from, 0));
    // Selected by a mask rather than a branch: from block to block the way is as good as random.
    const std::int32_t reaches = -static_cast<std::int32_t>(to >= CellCount * q - 1);
    last = (WrapSub(elementCount, 1) & reaches) | (ClampTo32(to) & ~reaches);
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
        std::int32_t first = 0;
        std::int32_t last = 0;
        TVeskAgent::BlockInterval(B, elementCount, first, last);
        set.ApplyShape(B.Shape, B.Repeats, first, last, B.Op);
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
