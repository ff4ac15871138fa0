#pragma once
// The search problem in the optimiser's terms: a pattern of B blocks as 5 integer genes a block
// (shape, centre, spread, repeats, operator, within the fields' ranges), and, for the two-
// objective search, one gene more for the number of blocks used.

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include <pagmo/threading.hpp>
#include <pagmo/types.hpp>

#include "fuzzyset/fuzzy_set.h"
#include "vesk/batch_scoring.h"

namespace vesk {

constexpr std::int32_t GenesPerBlock = FieldsPerBlock;

// What the search minimises.
enum class TObjective {
    Distance, // the Hamming distance of the projection to the target
    Sweep,    // the mean over 100, 500, 1000 and 5000 elements of the mean distance an element
};

// The universes of the "Fitness" sweep.
constexpr std::int32_t SweepSizes[4] = {100, 500, 1000, 5000};

// Lets a stop reach the islands in the middle of a round: once armed, an evaluation made
// after the stop is set raises TSearchStopped, so the round is given up where it stands.
struct TStopSignal {
    const std::atomic<bool>* Stop = nullptr;
    std::atomic<bool> Armed{false};

    bool Raised() const {
        return Stop != nullptr && Armed.load(std::memory_order_relaxed) &&
               Stop->load(std::memory_order_relaxed);
    }
};

// What an evaluation raises once the search's stop signal is raised.
struct TSearchStopped : std::exception {
    const char* what() const noexcept override { return "the search was stopped"; }
};

// The blocks genes stand for: the first `used` of them (all when used is 0).
TBlockList BlocksOfGenes(const pagmo::vector_double& genes, std::int32_t blocks,
                         std::int32_t used = 0);
// The genes of blocks (each valid), padded with all-zero blocks to `blocks`.
pagmo::vector_double GenesOfBlocks(const TBlockList& pattern, std::int32_t blocks);

// A user-defined problem for the optimiser. Fitness goes through a scorer of the problem's own,
// made on first use: the optimiser gives each island its own copy of the problem and evolves an
// island on one thread at a time.
class TPatternProblem {
public:
    TPatternProblem(); // the optimiser needs one; blocks 1, reference of 100
    // pareto adds the block-count gene and the objective of blocks used.
    TPatternProblem(const TFuzzySet& target, std::int32_t blocks, TObjective objective, bool pareto,
                    const TStopSignal* stop = nullptr);
    TPatternProblem(const TPatternProblem& other);
    TPatternProblem& operator=(const TPatternProblem& other);
    TPatternProblem(TPatternProblem&&) noexcept;
    TPatternProblem& operator=(TPatternProblem&&) noexcept;
    ~TPatternProblem();

    // The optimiser's interface.
    pagmo::vector_double fitness(const pagmo::vector_double& genes) const;
    std::pair<pagmo::vector_double, pagmo::vector_double> get_bounds() const;
    pagmo::vector_double::size_type get_nix() const;
    pagmo::vector_double::size_type get_nobj() const { return FPareto ? 2 : 1; }
    pagmo::thread_safety get_thread_safety() const { return pagmo::thread_safety::basic; }
    std::string get_name() const { return "Vesk pattern"; }

    std::int32_t Blocks() const { return FBlocks; }
    bool Pareto() const { return FPareto; }
    // The blocks the genes stand for, the block-count gene applied.
    TBlockList Pattern(const pagmo::vector_double& genes) const;
    // Raises TSearchStopped once the search's stop signal is raised (fitness does it first).
    void CheckStop() const {
        if (FStop != nullptr && FStop->Raised()) throw TSearchStopped();
    }
    // The objective of a pattern (the first fitness entry of its genes).
    double Objective(const TBlockList& pattern) const;

private:
    struct TScorers; // the scorers of the objective, made on first use
    TScorers& Scorers() const;

    TFuzzySet FTarget;
    std::int32_t FBlocks = 1;
    TObjective FObjective = TObjective::Distance;
    bool FPareto = false;
    const TStopSignal* FStop = nullptr; // shared by every copy; outlives the search
    mutable std::unique_ptr<TScorers> FScorers;
};

} // namespace vesk
