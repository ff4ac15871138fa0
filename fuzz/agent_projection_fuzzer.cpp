// An agent on arbitrary input: any text, element counts 0..5000, any block count and random
// seed. Only the three floating-point faults may escape; the projection, the reference set, the
// Hamming distance and the fitness must equal a straightforward evaluation exactly, faults
// included; and a plot of whatever degrees result stays on its client area.
//
// Input: 2 bytes element count (little-endian, mod 5001), 1 byte block count (signed), 4 bytes
// random seed, 1 byte flags, 2 bytes client size, then the pattern text.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "fuzzyset/fuzzy_set.h"
#include "runtime/fp_fault.h"
#include "runtime/random_source.h"
#include "straight_evaluation.h"
#include "vesk/agent.h"
#include "vesk/pattern_scorer.h"

using namespace vesk;
using namespace vesk::straight;

namespace {

constexpr std::size_t HeaderSize = 10;
constexpr std::int32_t MaxElements = 5000;

// The fault f raises, if any; its message must be the one of its kind.
template <typename F> std::optional<TFaultKind> FaultOf(F f) {
    try {
        f();
    } catch (const EFloatingPointFault& fault) {
        FUZZ_REQUIRE(std::strcmp(fault.what(), FaultMessage(fault.Kind())) == 0);
        return fault.Kind();
    }
    return std::nullopt;
}

// A client area that records nothing but checks every coordinate it is handed.
class TCheckingImage : public TPlotImage {
public:
    TCheckingImage(int width, int height) : FWidth(width), FHeight(height) {}

    void PrepareCanvas(bool) override {}
    int ClientWidth() const override { return FWidth; }
    int ClientHeight() const override { return FHeight; }
    void SetPenColour(TColour) override {}
    void SetBrushColour(TColour) override {}
    void FillRect(int Left, int Top, int Right, int Bottom) override {
        FUZZ_REQUIRE(Left == 0 && Top == 0 && Right == FWidth && Bottom == FHeight);
    }
    void MoveTo(int x, int y) override { Check(x, y); }
    void LineTo(int x, int y) override { Check(x, y); }

private:
    // Columns 0..W (the last one just beside the bitmap, where the plot's own geometry puts the
    // last point of a set of W + 1 elements) and rows 0..H - 1.
    void Check(int x, int y) const {
        FUZZ_REQUIRE(x >= 0 && x <= FWidth);
        FUZZ_REQUIRE(y >= 0 && y <= (FHeight > 0 ? FHeight - 1 : 0));
    }
    int FWidth;
    int FHeight;
};

bool SameDouble(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::uint32_t Byte(const std::uint8_t* data, std::size_t size, std::size_t at) {
    return at < size ? data[at] : 0u;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto n =
        static_cast<std::int32_t>((Byte(data, size, 0) | Byte(data, size, 1) << 8) % 5001);
    const auto blockCount =
        static_cast<std::int32_t>(static_cast<std::int8_t>(Byte(data, size, 2)));
    const std::uint32_t seed = Byte(data, size, 3) | Byte(data, size, 4) << 8 |
                               Byte(data, size, 5) << 16 | Byte(data, size, 6) << 24;
    const bool clearOnDecode = (Byte(data, size, 7) & 1) != 0;
    const auto width = static_cast<int>(Byte(data, size, 8) * 4);
    const auto height = static_cast<int>(Byte(data, size, 9) * 2);
    const std::string_view text =
        size > HeaderSize
            ? std::string_view(reinterpret_cast<const char*>(data) + HeaderSize, size - HeaderSize)
            : std::string_view();
    FUZZ_REQUIRE(n >= 0 && n <= MaxElements);

    // The reference, as the library builds it and as it is built step by step.
    TFuzzySet reference;
    TDegrees straightReference;
    const auto referenceFault = FaultOf([&] { reference.MakeReference(n, false); });
    FUZZ_REQUIRE(referenceFault == FaultOf([&] { straightReference = StraightReference(n); }));
    if (!referenceFault) FUZZ_REQUIRE(reference.Degrees() == straightReference);

    RandomSource.Seed = seed;
    TVeskAgent agent(blockCount, n, clearOnDecode);
    FUZZ_REQUIRE(agent.BlockCount >= 1 && agent.BlockCount <= MaxBlocks);
    FUZZ_REQUIRE(agent.Pattern.Count() == agent.BlockCount);
    agent.LoadHex(text);
    FUZZ_REQUIRE(agent.BlockCount == agent.Pattern.Count());
    if (text.size() % 5 == 0)
        FUZZ_REQUIRE(agent.BlockCount ==
                     static_cast<std::int32_t>(std::min<std::size_t>(text.size() / 5, MaxBlocks)));

    // The projection, faults and partial results included.
    TFuzzySet pattern;
    TDegrees straight;
    const auto projectFault = FaultOf([&] { agent.Project(pattern); });
    FUZZ_REQUIRE(projectFault == FaultOf([&] {
                     StraightProjection(agent.Pattern, agent.BlockCount, n, straight);
                 }));
    FUZZ_REQUIRE(pattern.Degrees() == straight);

    // The score against the straightforward one. A reference that faulted is compared as the
    // library left it.
    const TDegrees& against = referenceFault ? reference.Degrees() : straightReference;
    std::int32_t straightFitness = -1;
    agent.Fitness = -1;
    const auto evaluateFault = FaultOf([&] { agent.Evaluate(pattern, reference); });
    FUZZ_REQUIRE(evaluateFault ==
                 FaultOf([&] { straightFitness = StraightFitness(straight, against); }));
    FUZZ_REQUIRE(agent.Fitness == straightFitness);
    // 5..100 while the degrees stay in 0..100; degrees compounded far beyond that put the mean
    // distance above 1 and the fitness below 5, down to 0.
    if (!evaluateFault) FUZZ_REQUIRE(agent.Fitness >= 0 && agent.Fitness <= 100);
    if (evaluateFault) FUZZ_REQUIRE(n == 0 && *evaluateFault == TFaultKind::InvalidOperation);

    // Batch scoring of the same text, without an agent, gives the same fitness or fault.
    if (!referenceFault && text.size() % 5 == 0) {
        TPatternScorer scorer(n);
        std::optional<std::int32_t> score;
        FUZZ_REQUIRE(FaultOf([&] { score = scorer.Score(text); }) == evaluateFault);
        if (!evaluateFault) FUZZ_REQUIRE(score == agent.Fitness);
        FUZZ_REQUIRE(scorer.PatternSet().Degrees() == straight);
    }

    // The measures and the plot on whatever degrees the blocks compounded, to the last bit.
    FUZZ_REQUIRE(
        SameDouble(pattern.HammingDistance(reference), StraightHamming(straight, against)));
    FUZZ_REQUIRE(SameDouble(pattern.Cardinality(), StraightCardinality(straight)));
    double subsethood = 0, straightSubsethood = 0;
    FUZZ_REQUIRE(FaultOf([&] { subsethood = pattern.Subsethood(reference); }) ==
                 FaultOf([&] { straightSubsethood = StraightSubsethood(straight, against); }));
    FUZZ_REQUIRE(SameDouble(subsethood, straightSubsethood));
    TCheckingImage image(width, height);
    reference.Plot(image, Blue, true);
    pattern.Plot(image, Red, false);

    agent.Release();
    FUZZ_REQUIRE(agent.Pattern.Count() == 0 && agent.Chromosome.BitCount() == 0);
    return 0;
}
