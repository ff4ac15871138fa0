#pragma once
// The one loop every search runs its islands in: rounds, reports, limits and stops.

#include <atomic>
#include <cstdint>
#include <optional>

#include "search/improvement_log.h"
#include "search/pattern_search.h"

namespace vesk {

// The islands of one search, as the driver runs them: the optimiser's archipelago, or the move
// chains. Everything but Round and Spent/Best's readers runs on the driver's thread between
// rounds.
class TIslandEngine {
public:
    virtual ~TIslandEngine() = default;

    // Every island evolves once, on the islands' threads; returns when all have. The stop, the
    // expired flag and an island's spent allowance reach into the round within an evaluation.
    virtual void Round() = 0;
    // Between rounds: migration, and whatever the engine plans from one round to the next.
    virtual void BetweenRounds() = 0;
    // Evaluations made so far by every island; safe while a round runs.
    virtual std::uint64_t Spent() const = 0;
    // Whether every island has spent its allowance.
    virtual bool Exhausted() const = 0;
    // The best pattern evaluated so far with its objective, exactly as the scorer gives it;
    // nothing before any. Called on the driver's thread, also while a round runs.
    virtual std::optional<std::pair<double, TBlockList>> Best() = 0;
    // After the last round: whatever the result carries beside the best (the Pareto front).
    virtual void Finish(TSearchResult& /*result*/) {}
};

// What the driver shares with the engine it runs: the stop, set by another thread or a signal
// handler, and the flag it sets to end the round itself: once the deadline has passed, or when
// its own thread fails (runs out of memory, say) while the round runs.
// The islands note every new best of the search in Improvements.
struct TSearchLimits {
    const std::atomic<bool>* Stop = nullptr;
    std::atomic<bool> Ending{false};
    TImprovementLog Improvements;

    bool Ended() const {
        return (Stop != nullptr && Stop->load(std::memory_order_relaxed)) ||
               Ending.load(std::memory_order_relaxed);
    }
};

// Runs rounds until the stop (Interrupted), the distance (Distance), the time (Seconds) or the
// budget (Evaluations) ends the search, looked at in that order before every round, so that the
// same limits end every algorithm alike. While a round runs this thread looks at the clock every
// few milliseconds and tells the observer the progress every half second; it is told after every
// round too, and last once the search has ended, with the final best as the last improvement.
// result.Algorithm and result.Islands are the caller's. An exception from the engine or the
// observer ends the search and is raised here once no island runs any more.
void DriveIslands(TIslandEngine& engine, const TSearchSettings& settings, TSearchLimits& limits,
                  TSearchClock::time_point started, const TSearchObserver& observer,
                  TSearchResult& result);

// The seconds since started.
double SecondsSince(TSearchClock::time_point started);

} // namespace vesk
