#pragma once
// The search problem in the optimiser's terms: a pattern of B blocks as 5 integer genes a block
// (shape, centre, spread, repeats, operator, within the fields' ranges), and, for the two-
// objective search, one gene more for the number of blocks used.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include <pagmo/threading.hpp>
#include <pagmo/types.hpp>

#include "fuzzyset/fuzzy_set.h"
#include "search/improvement_log.h"
#include "vesk/batch_scoring.h"

namespace vesk {

constexpr std::int32_t GenesPerBlock = FieldsPerBlock;

using TSearchClock = std::chrono::steady_clock;

// What the search minimises.
enum class TObjective {
    Distance, // the Hamming distance of the projection to the target
    Sweep,    // the mean over 100, 500, 1000 and 5000 elements of the mean distance an element
};

// The universes of the "Fitness" sweep.
constexpr std::int32_t SweepSizes[4] = {100, 500, 1000, 5000};
// The fitness of these blocks (each valid) at each of the sweep's universes, as the "Fitness"
// command's agents give it.
std::array<std::int32_t, std::size(SweepSizes)> SweepFitness(std::span<const TFuzzyBlock> blocks);

// What an evaluation raises once the search is to end in the middle of a round.
struct TSearchStopped : std::exception {
    const char* what() const noexcept override { return "the search was stopped"; }
};

// What lets a search end in the middle of a round, and what it has found so far. Every island
// evaluates through it: it counts the island's evaluations against the island's allowance and
// keeps the best pattern the island has evaluated (its own island's thread writes an island's
// account; the search's thread reads it while the round runs). Once armed, an evaluation that
// finds the stop set (by another thread or a signal handler), the ending flag set (by the
// search's thread, once the deadline has passed or the round is given up) or the island's
// allowance spent raises TSearchStopped instead. A new best of the whole search is noted in the
// improvements, when given.
class TSearchControl {
public:
    TSearchControl(std::size_t islands, const std::atomic<bool>* stop,
                   const std::atomic<bool>* ending, TImprovementLog* improvements = nullptr);

    // The evaluations island may make in all, its initial population's included.
    void SetAllowance(std::size_t island, std::uint64_t evaluations);
    void Arm() { FArmed.store(true, std::memory_order_release); }

    // Counts one evaluation of the island, or raises TSearchStopped when the search is to end.
    void Count(std::size_t island) const;
    // Keeps the genes as the island's best when the objective beats every one before.
    void Note(std::size_t island, double objective, const pagmo::vector_double& genes) const;

    // Evaluations made so far by every island, and whether each has spent its allowance.
    std::uint64_t Spent() const;
    bool AllowancesSpent() const;
    bool StopRequested() const { return FStop != nullptr && FStop->load(); }
    // The best pattern evaluated so far (the first island's on a tie), or nothing before any.
    std::optional<std::pair<double, pagmo::vector_double>> Best() const;

private:
    // Only the island's own thread writes; the search's thread reads Best and BestGenes under
    // the lock, which the writer takes to change them.
    struct TIsland {
        std::atomic<std::uint64_t> Spent{0};
        std::uint64_t Allowance = ~std::uint64_t{0};
        mutable std::mutex Lock;
        double Best = 0;
        bool HasBest = false;
        pagmo::vector_double BestGenes;
    };

    const std::atomic<bool>* FStop;
    const std::atomic<bool>* FEnding;
    TImprovementLog* FImprovements;
    std::atomic<bool> FArmed{false};
    std::vector<std::unique_ptr<TIsland>> FIslands;
};

// The codes each field of a block may take, sorted, in the fields' order; an empty list: every
// value of its range. A restricted field's gene is the code's place in its list.
using TFieldCodes = std::array<std::vector<std::int32_t>, FieldsPerBlock>;

// The blocks genes stand for: the first `used` of them (all when used is 0).
TBlockList BlocksOfGenes(const pagmo::vector_double& genes, std::int32_t blocks,
                         std::int32_t used = 0, const TFieldCodes& codes = {});
// The genes of blocks (each valid, each field's code within its list), padded with the first
// codes to `blocks`.
pagmo::vector_double GenesOfBlocks(const TBlockList& pattern, std::int32_t blocks,
                                   const TFieldCodes& codes = {});

// A user-defined problem for the optimiser. The objective's tables (the target's, or the four
// sweep universes') are built once and shared read-only by every copy; fitness goes through
// scorers of the copy's own, made on first use on those tables: the optimiser gives each island
// its own copy of the problem and evolves an island on one thread at a time.
class TPatternProblem {
public:
    TPatternProblem(); // the optimiser needs one; blocks 1, reference of 100
    // pareto adds the block-count gene and the objective of blocks used. With a control, the
    // problem evaluates as the control's island `island`.
    // Codes restricts the fields' values.
    TPatternProblem(const TFuzzySet& target, std::int32_t blocks, TObjective objective, bool pareto,
                    const TSearchControl* control = nullptr, std::size_t island = 0,
                    const TFieldCodes& codes = {});
    TPatternProblem(const TPatternProblem& other);
    TPatternProblem& operator=(const TPatternProblem& other);
    TPatternProblem(TPatternProblem&&) noexcept;
    TPatternProblem& operator=(TPatternProblem&&) noexcept;
    ~TPatternProblem();

    // The same problem evaluated as another island of the same control, sharing the tables.
    TPatternProblem ForIsland(std::size_t island) const;

    // The optimiser's interface.
    pagmo::vector_double fitness(const pagmo::vector_double& genes) const;
    std::pair<pagmo::vector_double, pagmo::vector_double> get_bounds() const;
    pagmo::vector_double::size_type get_nix() const;
    pagmo::vector_double::size_type get_nobj() const { return FPareto ? 2 : 1; }
    pagmo::thread_safety get_thread_safety() const { return pagmo::thread_safety::basic; }
    std::string get_name() const { return "Vesk pattern"; }

    std::int32_t Blocks() const { return FBlocks; }
    const TFieldCodes& Codes() const;
    bool Pareto() const { return FPareto; }
    // The blocks the genes stand for, the block-count gene applied.
    TBlockList Pattern(const pagmo::vector_double& genes) const;
    // The objective of a pattern (the first fitness entry of its genes).
    double Objective(const TBlockList& pattern) const;
    // What fitness does for the first objective: counts the evaluation with the control (which
    // may raise TSearchStopped), scores the pattern the genes stand for and notes the result.
    double Evaluate(const pagmo::vector_double& genes, const TBlockList& pattern) const;
    // The tables every copy shares (for the tests: copies must not build their own).
    const void* SharedTables() const { return FTables.get(); }

private:
    struct TTables;  // the objective's tables, shared
    struct TScorers; // the copy's scorers on them, made on first use
    TScorers& Scorers() const;

    std::shared_ptr<const TTables> FTables;
    std::int32_t FBlocks = 1;
    TObjective FObjective = TObjective::Distance;
    bool FPareto = false;
    const TSearchControl* FControl = nullptr; // outlives the search
    std::size_t FIsland = 0;
    mutable std::unique_ptr<TScorers> FScorers;
};

} // namespace vesk
