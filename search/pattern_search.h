#pragma once
// The pattern search: which pattern of B blocks comes closest to a target set.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "search/improvement_log.h"
#include "search/pattern_problem.h"
#include "vesk/batch_scoring.h"

namespace vesk {

// The largest evaluation budget the tool and the session take.
constexpr std::uint64_t MaxEvaluations = 1'000'000'000'000;
// The budget "vesk evolve" (and the Python module's evolve) spends unless told otherwise.
constexpr std::uint64_t ToolEvolveBudget = 5'000'000;
// The longest time limit: a deadline some thirty years away still fits the clock.
constexpr double MaxSeconds = 1e9;
// The most islands a search runs (each a thread).
constexpr int MaxIslands = 256;

// The optimisers a search can run; NSGA-II serves the Pareto search only.
// Fields is the earlier annealing over single fields through the optimiser's interface, kept
// for comparison; Annealing runs it for the sweep objective.
enum class TAlgorithm { Annealing, Fields, Sga, Gaco, Ihs, Nsga2 };
constexpr TAlgorithm DefaultAlgorithm = TAlgorithm::Annealing;
constexpr TAlgorithm ParetoAlgorithm = TAlgorithm::Nsga2;

// What ended a search; Failed is the window's word for a search that raised an error.
enum class TSearchEnd { Evaluations, Seconds, Distance, Interrupted, Failed };

// What to search for and for how long.
struct TSearchSettings {
    TFuzzySet Target;         // the set to come close to (the reference of 100 by default)
    std::int32_t Blocks = 16; // 1..32
    TObjective Objective = TObjective::Distance;
    bool Pareto = false;                 // also minimise the blocks used (NSGA-II)
    std::optional<TAlgorithm> Algorithm; // nothing: the default (NSGA-II for the Pareto search)
    int Islands = 0;                     // 1..MaxIslands; 0: every hardware thread
    unsigned Seed = 1;
    std::uint64_t Evaluations = 1'000'000; // MaxEvaluations: no limit but the others
    std::optional<double> Seconds;         // stop after this much time (at most MaxSeconds)
    std::optional<double> MeanDistance;    // stop once the best distance an element reaches this
    std::uint64_t RoundEvaluations =
        0;                           // what an island spends between migrations; 0: from the budget
    std::optional<TBlockList> Start; // the pattern every island begins from (Blocks blocks)
    // The codes the blocks may use (each list sorted, without repeats); empty: every code.
    std::vector<std::int32_t> Shapes, Operators;

    TSearchSettings();
};

// How far a search has come: after each round, and every half second during a long one.
struct TSearchProgress {
    std::uint64_t Evaluations = 0;
    double Best = 0; // the best objective: the Hamming distance, or the sweep's mean
    TBlockList Pattern;
    double Seconds = 0;
    double EvaluationsPerSecond = 0;
    // The improvements of the best since the report before, thinned (TImprovementLog); the
    // last report's end with the final best.
    std::vector<TImprovement> Improvements;
};

// The best pattern of each block count, for the two-objective search.
struct TFrontPoint {
    TBlockList Pattern;
    double Distance = 0;
};

struct TSearchResult {
    TBlockList Pattern;            // the best found
    double Best = 0;               // its objective
    std::uint64_t Evaluations = 0; // every evaluation made, the initial populations' included
    double Seconds = 0;
    TSearchEnd Stopped = TSearchEnd::Evaluations;
    TAlgorithm Algorithm = DefaultAlgorithm;
    int Islands = 0;
    std::vector<TFrontPoint> Front; // by block count, dominated points left out
};

using TSearchObserver = std::function<void(const TSearchProgress&)>;

// Every algorithm, the default first, and each one's name (as --algorithm names it).
// What RunSearch would refuse in the settings (its std::invalid_argument's text), or "".
std::string SearchSettingsProblem(const TSearchSettings& settings);
const std::vector<TAlgorithm>& SearchAlgorithms();
const char* AlgorithmName(TAlgorithm algorithm);
// The algorithm a name names, as --algorithm takes it, and every algorithm's name.
std::optional<TAlgorithm> AlgorithmOfName(std::string_view name);
std::vector<std::string> AlgorithmNames();
// "distance" or "sweep", as --objective names an objective, and the objective a word names.
const char* ObjectiveWord(TObjective objective);
std::optional<TObjective> ObjectiveOfWord(std::string_view word);
std::vector<std::string> ObjectiveWords();
// The word a report gives for what ended a search: "evaluations", "seconds", "distance",
// "interrupted" or "failed".
const char* SearchEndName(TSearchEnd end);
// How far through its limits a search is, 0..1: the larger of the budget's share and the time's;
// nothing when neither bounds it (a budget of MaxEvaluations without a time limit).
std::optional<double> SearchShare(const TSearchSettings& settings, const TSearchProgress& progress);
// The distance an element the objective stands for: the Hamming distance over the target's
// elements, or the sweep's objective itself, which is already a mean.
double MeanDistanceOfObjective(double objective, TObjective kind, std::int32_t elements);

// Runs the search in synchronous rounds (DriveIslands): every island evolves once, then the best
// of each island replaces the worst of the next (a ring), so that the same settings give the
// same pattern whatever the timing. The budget is shared out among the islands, each spending at
// most its share beyond its initial population. The annealing algorithms follow restarts of
// growing length (TRestartPlan), so that any limit or stop, however far or near, ends a search
// about as good as one planned for the time it had; a budget is a limit, not a plan. Between
// rounds, and every half second during a round, the observer is told the progress; the distance
// is checked between rounds. The stop (set by another thread or a signal handler), the time
// limit and an island's spent share reach the islands within one evaluation (the time within a
// few): the annealing keeps what its round found so far, the optimiser's algorithms give their
// round up. The result is the best pattern any island evaluated. Never draws from RandomSource.
// Throws std::invalid_argument for settings it cannot run, and std::bad_alloc (EThreadsRefused
// for threads the system will not start) when the search runs out of memory or threads: on any
// island or on this thread, always once every island has stopped.
TSearchResult RunSearch(const TSearchSettings& settings, const TSearchObserver& observer = {},
                        const std::atomic<bool>* stop = nullptr);

} // namespace vesk
