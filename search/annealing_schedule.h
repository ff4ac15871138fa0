#pragma once
// The annealing schedule every annealing of the search follows: restarts of growing length, each
// cooling over its own length from the best found so far, so that a search stopped at any
// moment, by a limit or by hand, has just finished, or nearly, a run of about the time it had.

#include <cmath>
#include <cstdint>
#include <limits>

namespace vesk {

// Moves still allowed when no limit is known.
constexpr std::uint64_t Unlimited = std::numeric_limits<std::uint64_t>::max();

// The heats of a schedule, in units of the objective an element (the integer distance an
// element for the move chains, the Hamming distance an element for the fields' annealing); a
// chain multiplies them by its element count.
struct THeats {
    double First;   // where the first restart, from random patterns, starts
    double Restart; // where every later restart, from the best so far, starts
    double Cold;    // where every restart ends
};

// The temperature a fraction 0..1 through a cooling from hot to cold (geometric).
inline double CoolingAt(double hot, double cold, double fraction) {
    return hot * std::pow(cold / hot, fraction);
}

// Whether a change worse by delta is kept at the temperature; chance is uniform in [0, 1).
inline bool KeepsChange(double delta, double temperature, double chance) {
    return delta <= 0 || chance < std::exp(-delta / temperature);
}

// The moves a time limit still allows an island, planned on: a share of what the time left gives
// at the rate so far, so that the last cooling ends before the deadline cuts it. Unlimited
// until the island has made more than `measured` moves (before that the rate says nothing), or
// without a limit (seconds 0).
std::uint64_t MovesTimeAllows(double seconds, double elapsed, double made, double measured);

// The lengths of the successive restarts, in moves an island. The first is First; each later
// one doubles, except that, once a limit makes the moves still allowed known, the restart that
// would leave less than twice its own length takes everything left: a run with a limit ends on
// a whole cooling, and one without (or with a far one) is always within a doubling of one.
class TRestartPlan {
public:
    explicit TRestartPlan(std::uint64_t first) : FFirst(first < 1 ? 1 : first) {}

    // The next restart's length, given the moves still allowed (Unlimited when none is known).
    std::uint64_t Next(std::uint64_t remaining);
    // How many restarts have been planned.
    int Count() const { return FCount; }

private:
    std::uint64_t FFirst, FLast = 0;
    int FCount = 0;
};

} // namespace vesk
