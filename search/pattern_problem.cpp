#include "search/pattern_problem.h"

#include <algorithm>
#include <cmath>

#include "runtime/extended.h"
#include "vesk/agent.h"

namespace vesk {

namespace {

std::int32_t Gene(double value, std::int32_t highest) {
    return std::clamp(static_cast<std::int32_t>(std::lround(value)), 0, highest);
}

TFuzzySet ReferenceOf(std::int32_t n) {
    TFuzzySet set;
    set.MakeReference(n);
    return set;
}

} // namespace

TBlockList BlocksOfGenes(const pagmo::vector_double& genes, std::int32_t blocks,
                         std::int32_t used) {
    const std::int32_t count = used > 0 ? std::min(used, blocks) : blocks;
    TBlockList pattern(static_cast<std::size_t>(count));
    for (std::int32_t b = 0; b < count; ++b) {
        const double* g = genes.data() + b * GenesPerBlock;
        pattern[static_cast<std::size_t>(b)] = {
            Gene(g[0], FieldHighest[0]), Gene(g[1], FieldHighest[1]), Gene(g[2], FieldHighest[2]),
            Gene(g[3], FieldHighest[3]), Gene(g[4], FieldHighest[4])};
    }
    return pattern;
}

pagmo::vector_double GenesOfBlocks(const TBlockList& pattern, std::int32_t blocks) {
    pagmo::vector_double genes(static_cast<std::size_t>(blocks * GenesPerBlock), 0.0);
    for (std::size_t b = 0; b < pattern.size() && b < static_cast<std::size_t>(blocks); ++b) {
        const TFuzzyBlock& B = pattern[b];
        const std::int32_t fields[GenesPerBlock] = {B.Shape, B.Centre, B.Spread, B.Repeats, B.Op};
        std::copy(fields, fields + GenesPerBlock,
                  genes.begin() + static_cast<long>(b) * GenesPerBlock);
    }
    return genes;
}

struct TPatternProblem::TScorers {
    std::vector<TPatternScorer> All; // the target's, or one a sweep size
};

TPatternProblem::TPatternProblem(const TFuzzySet& target, std::int32_t blocks, TObjective objective,
                                 bool pareto, const TStopSignal* stop)
    : FTarget(target), FBlocks(std::clamp(blocks, 1, MaxBlocks)), FObjective(objective),
      FPareto(pareto), FStop(stop) {}

TPatternProblem::TPatternProblem(const TPatternProblem& other)
    : FTarget(other.FTarget), FBlocks(other.FBlocks), FObjective(other.FObjective),
      FPareto(other.FPareto), FStop(other.FStop) {}

TPatternProblem& TPatternProblem::operator=(const TPatternProblem& other) {
    if (this != &other) {
        FTarget = other.FTarget;
        FBlocks = other.FBlocks;
        FObjective = other.FObjective;
        FPareto = other.FPareto;
        FStop = other.FStop;
        FScorers.reset();
    }
    return *this;
}

TPatternProblem::TPatternProblem() = default;
TPatternProblem::TPatternProblem(TPatternProblem&&) noexcept = default;
TPatternProblem& TPatternProblem::operator=(TPatternProblem&&) noexcept = default;
TPatternProblem::~TPatternProblem() = default;

TPatternProblem::TScorers& TPatternProblem::Scorers() const {
    if (!FScorers) {
        FScorers = std::make_unique<TScorers>();
        if (FObjective == TObjective::Sweep)
            for (std::int32_t n : SweepSizes)
                FScorers->All.emplace_back(ReferenceOf(n));
        else
            FScorers->All.emplace_back(FTarget.Count() > 0 ? FTarget : ReferenceOf(100));
    }
    return *FScorers;
}

TBlockList TPatternProblem::Pattern(const pagmo::vector_double& genes) const {
    const std::int32_t used =
        FPareto ? Gene(genes[static_cast<std::size_t>(FBlocks * GenesPerBlock)], FBlocks) : 0;
    return BlocksOfGenes(genes, FBlocks, std::max(used, FPareto ? 1 : 0));
}

double TPatternProblem::Objective(const TBlockList& pattern) const {
    TScorers& scorers = Scorers();
    if (FObjective == TObjective::Distance) return scorers.All[0].ScoreBlocks(pattern).Distance;
    // The mean of the four means, summed and divided in extended precision.
    TReal sum = 0;
    for (TPatternScorer& scorer : scorers.All)
        sum += MeanDistanceOf(scorer.ScoreBlocks(pattern).Distance, scorer.ElementCount());
    return static_cast<double>(sum / 4);
}

pagmo::vector_double TPatternProblem::fitness(const pagmo::vector_double& genes) const {
    CheckStop();
    const TBlockList pattern = Pattern(genes);
    if (!FPareto) return {Objective(pattern)};
    return {Objective(pattern), static_cast<double>(pattern.size())};
}

std::pair<pagmo::vector_double, pagmo::vector_double> TPatternProblem::get_bounds() const {
    pagmo::vector_double low(get_nix(), 0.0), high(get_nix(), 0.0);
    for (std::int32_t b = 0; b < FBlocks; ++b)
        for (std::int32_t k = 0; k < GenesPerBlock; ++k)
            high[static_cast<std::size_t>(b * GenesPerBlock + k)] = FieldHighest[k];
    if (FPareto) {
        low.back() = 1;
        high.back() = std::max(FBlocks, 2); // the optimiser wants low < high
    }
    return {low, high};
}

pagmo::vector_double::size_type TPatternProblem::get_nix() const {
    return static_cast<std::size_t>(FBlocks * GenesPerBlock + (FPareto ? 1 : 0));
}

} // namespace vesk
