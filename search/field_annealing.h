#pragma once
// The search's own algorithm, run by the optimiser's islands like any of its algorithms:
// simulated annealing over single-field changes of a pattern.

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include <pagmo/population.hpp>
#include <pagmo/threading.hpp>

#include "search/annealing_schedule.h"

namespace vesk {

// The first restart's moves of the fields' annealing.
constexpr std::uint64_t FirstFieldRestart = 1 << 12;

// A user-defined algorithm for the single-objective pattern problem. Each evolve makes Moves
// changes to one chain, started from the population's best pattern (which migration may have
// brought from another island): a change redraws one field with another value of its range and
// is kept as KeepsChange says. The temperature follows the restarts of TRestartPlan, counted in
// moves across evolves (one island's rounds make one schedule): each restart cools from its
// heat to Cold, the first from First, every later one, begun from the population's best, from
// Restart. A restart plans on the moves still allowed: Total less those made, or what the time
// from started still allows at the rate so far. The best pattern met replaces the population's
// worst. Everything random comes from its own generator, seeded at construction; it evaluates
// through the problem's scorer and counts its evaluations as the optimiser does.
class TFieldAnnealing {
public:
    TFieldAnnealing() = default;
    TFieldAnnealing(std::uint64_t moves, std::uint64_t total, THeats heats, unsigned seed,
                    double seconds = 0, std::chrono::steady_clock::time_point started = {});

    pagmo::population evolve(pagmo::population population) const;
    std::string get_name() const { return "annealing over fields"; }
    pagmo::thread_safety get_thread_safety() const { return pagmo::thread_safety::basic; }

private:
    // The moves still allowed, by the total and by the time.
    std::uint64_t Remaining() const;

    std::uint64_t FMoves = 1, FTotal = 1;
    THeats FHeats{1, 0.1, 0.01};
    double FSeconds = 0;
    std::chrono::steady_clock::time_point FStarted;
    mutable std::uint64_t FDone = 0;
    mutable TRestartPlan FPlan{FirstFieldRestart};
    mutable std::uint64_t FLength = 0, FInRestart = 0;
    mutable std::mt19937_64 FRandom;
};

} // namespace vesk
