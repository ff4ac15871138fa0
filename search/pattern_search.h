#pragma once
// The pattern search: which pattern of B blocks comes closest to a target set.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "search/pattern_problem.h"
#include "vesk/batch_scoring.h"

namespace vesk {

// The largest evaluation budget the tool and the session take.
constexpr std::uint64_t MaxEvaluations = 1'000'000'000'000;

// What to search for and for how long.
struct TSearchSettings {
    TFuzzySet Target;         // the set to come close to (the reference of 100 by default)
    std::int32_t Blocks = 16; // 1..32
    TObjective Objective = TObjective::Distance;
    bool Pareto = false;   // also minimise the blocks used (NSGA-II)
    std::string Algorithm; // one of SearchAlgorithms(); empty: the default
    int Islands = 0;       // 0: every hardware thread
    unsigned Seed = 1;
    std::uint64_t Evaluations = 1'000'000;
    std::optional<double> Seconds;      // stop after this much time
    std::optional<double> MeanDistance; // stop once the best distance an element reaches this
    std::uint64_t RoundEvaluations =
        0; // what an island spends between migrations; 0: from the budget

    TSearchSettings();
};

// How far a search has come, after each round.
struct TSearchProgress {
    std::uint64_t Evaluations = 0;
    double Best = 0; // the best objective: the Hamming distance, or the sweep's mean
    TBlockList Pattern;
    double Seconds = 0;
    double EvaluationsPerSecond = 0;
};

// The best pattern of each block count, for the two-objective search.
struct TFrontPoint {
    TBlockList Pattern;
    double Distance = 0;
};

struct TSearchResult {
    TBlockList Pattern; // the best found
    double Best = 0;    // its objective
    std::uint64_t Evaluations = 0;
    double Seconds = 0;
    // What ended the search: "evaluations", "seconds", "distance" or "interrupted".
    std::string Stopped;
    std::string Algorithm;
    int Islands = 0;
    std::vector<TFrontPoint> Front; // by block count, dominated points left out
};

using TSearchObserver = std::function<void(const TSearchProgress&)>;

// The algorithms --algorithm may name, the default first; NSGA-II serves the Pareto search.
const std::vector<std::string>& SearchAlgorithms();
extern const char* const DefaultAlgorithm;
extern const char* const ParetoAlgorithm;

// Runs the search in synchronous rounds: every island evolves once, then the best of each
// island replaces the worst of the next (a ring), so that the same settings give the same
// pattern whatever the timing. Between rounds the observer is told the progress and the budget,
// the time, the distance and stop (set by another thread or a signal handler) are checked. A
// stop also reaches the islands within one evaluation: the round under way is given up and the
// search ends with the best of the rounds before it. Never draws from RandomSource.
// Throws std::invalid_argument for an unknown algorithm or settings it cannot run.
TSearchResult RunSearch(const TSearchSettings& settings, const TSearchObserver& observer = {},
                        const std::atomic<bool>* stop = nullptr);

} // namespace vesk
