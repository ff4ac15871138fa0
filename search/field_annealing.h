#pragma once
// The search's own algorithm, run by the optimiser's islands like any of its algorithms:
// simulated annealing over single-field changes of a pattern.

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include <pagmo/population.hpp>
#include <pagmo/threading.hpp>

namespace vesk {

// A user-defined algorithm for the single-objective pattern problem. Each evolve makes Moves
// changes to one chain, started from the population's best pattern (which migration may have
// brought from another island): a change redraws one field with another value of its range and
// is kept when it scores no worse, or worse by d with probability e^(-d/T). The temperature T
// falls geometrically from Hot to Cold over Total moves counted across evolves, so one island's
// rounds make one schedule. The best pattern met replaces the population's worst. Everything
// random comes from its own generator, seeded at construction; it evaluates through the
// problem's scorer and counts its evaluations as the optimiser does.
class TFieldAnnealing {
public:
    TFieldAnnealing() = default;
    // With seconds, the schedule follows the time from started as well, whichever is further.
    TFieldAnnealing(std::uint64_t moves, std::uint64_t total, double hot, double cold,
                    unsigned seed, double seconds = 0,
                    std::chrono::steady_clock::time_point started = {});

    pagmo::population evolve(pagmo::population population) const;
    std::string get_name() const { return "annealing over fields"; }
    pagmo::thread_safety get_thread_safety() const { return pagmo::thread_safety::basic; }

private:
    std::uint64_t FMoves = 1, FTotal = 1;
    double FHot = 1, FCold = 0.01;
    double FSeconds = 0;
    mutable double FElapsed = 0;
    std::chrono::steady_clock::time_point FStarted;
    mutable std::uint64_t FDone = 0;
    mutable std::mt19937_64 FRandom;
};

} // namespace vesk
