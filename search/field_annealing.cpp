#include "search/field_annealing.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include <pagmo/problem.hpp>

#include "search/pattern_problem.h"

namespace vesk {

namespace {

struct TIndividual {
    pagmo::vector_double Genes;
    double Objective = 0;
};

// Evaluates through the pattern problem's scorer directly, counting as the optimiser counts.
class TEvaluator {
public:
    explicit TEvaluator(const pagmo::problem& problem)
        : FProblem(problem), FPattern(problem.extract<TPatternProblem>()) {
        if (FPattern == nullptr || FPattern->Pareto())
            throw std::invalid_argument("the memetic search needs the single-objective problem");
    }
    TEvaluator(const TEvaluator&) = delete;
    TEvaluator& operator=(const TEvaluator&) = delete;

    // Adds the evaluations made so far to the problem's count.
    void Count() {
        FProblem.increment_fevals(FCount);
        FCount = 0;
    }

    // The objective of the genes; raises TSearchStopped when the search is to end.
    double operator()(const pagmo::vector_double& genes) {
        BlocksInto(genes);
        const double objective = FPattern->Evaluate(genes, FBlocks);
        ++FCount;
        return objective;
    }

private:
    void BlocksInto(const pagmo::vector_double& genes) {
        FBlocks.resize(genes.size() / GenesPerBlock);
        const TFieldCodes& codes = FPattern->Codes();
        for (std::size_t b = 0; b < FBlocks.size(); ++b) {
            const double* g = genes.data() + b * GenesPerBlock;
            for (std::int32_t k = 0; k < GenesPerBlock; ++k) {
                const auto gene = static_cast<std::int32_t>(g[k]); // whole, within the bounds
                const auto& list = codes[static_cast<std::size_t>(k)];
                FieldOf(FBlocks[b], k) = list.empty() ? gene : list[static_cast<std::size_t>(gene)];
            }
        }
    }

    const pagmo::problem& FProblem;
    const TPatternProblem* FPattern;
    TBlockList FBlocks;
    std::uint64_t FCount = 0;
};

} // namespace

TFieldAnnealing::TFieldAnnealing(std::uint64_t moves, std::uint64_t total, THeats heats,
                                 unsigned seed, double seconds,
                                 std::chrono::steady_clock::time_point started)
    : FMoves(std::max<std::uint64_t>(moves, 1)), FTotal(std::max<std::uint64_t>(total, 1)),
      FHeats(heats), FSeconds(seconds), FStarted(started), FRandom(seed) {}

std::uint64_t TFieldAnnealing::Remaining() const {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - FStarted).count();
    return std::min(
        FTotal > FDone ? FTotal - FDone : 0,
        MovesTimeAllows(FSeconds, elapsed, static_cast<double>(FDone), 2.0 * FirstFieldRestart));
}

pagmo::population TFieldAnnealing::evolve(pagmo::population population) const {
    if (population.size() == 0) return population;
    const pagmo::problem& problem = population.get_problem();
    const auto [low, high] = problem.get_bounds();
    const std::size_t genes = low.size();
    TEvaluator evaluate(problem);
    const auto start = population.best_idx();
    TIndividual current{population.get_x()[start], population.get_f()[start][0]};
    TIndividual best = current;
    std::uniform_int_distribution<std::size_t> pickGene(0, genes - 1);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    double hot = FPlan.Count() <= 1 ? FHeats.First : FHeats.Restart;
    double temperature = hot;
    // A search that ends in the middle of the chain keeps what the chain found so far.
    try {
        for (std::uint64_t move = 0; move < FMoves; ++move, ++FDone, ++FInRestart) {
            if (FInRestart >= FLength) { // the next restart, from the best so far
                if (FPlan.Count() > 0) current = best;
                FLength = FPlan.Next(Remaining());
                FInRestart = 0;
                hot = FPlan.Count() == 1 ? FHeats.First : FHeats.Restart;
            }
            if (move % 64 == 0 || FInRestart == 0)
                temperature =
                    CoolingAt(hot, FHeats.Cold,
                              static_cast<double>(FInRestart) / static_cast<double>(FLength));
            const std::size_t gene = pickGene(FRandom);
            const double kept = current.Genes[gene];
            // Another value of the field, uniformly.
            const int span = static_cast<int>(high[gene] - low[gene]);
            double v = low[gene] + std::uniform_int_distribution<int>(0, span - 1)(FRandom);
            if (v >= kept) v += 1;
            current.Genes[gene] = v;
            const double tried = evaluate(current.Genes);
            const double delta = tried - current.Objective;
            if (KeepsChange(delta, temperature, chance(FRandom))) {
                current.Objective = tried;
                if (tried < best.Objective) best = current;
            } else {
                current.Genes[gene] = kept;
            }
        }
    } catch (const TSearchStopped&) {
    }
    const auto worst = population.worst_idx();
    population.set_xf(worst, best.Genes, {best.Objective});
    evaluate.Count();
    return population;
}

} // namespace vesk
