#pragma once
// The default search: simulated annealing over whole moves of a pattern, scored incrementally.

#include "search/island_driver.h"

namespace vesk {

// The default search for the distance objective, as an island engine: each island walks one
// chain of moves (a field given another value, a block drawn anew, two neighbouring blocks
// swapped, a block moved to another place), each move scored by a TIncrementalPattern on tables
// all islands share and kept as KeepsChange says. The chains follow the restarts of
// TRestartPlan, each a whole annealing of its own length in two coolings: the first from the
// island's best (the first restart from random patterns, or the start) at the first heat, the
// second from the best again at a quarter of it. The restarts are planned between rounds, from
// the evaluations and the time still allowed, so a run with a budget is the same on every
// machine, and a run without a limit is always within a doubling of a whole annealing. Universes
// from 1024 elements on run each first cooling on every k-th element (about 512 of them). After
// every round island i takes island i - 1's best when it is better than its own. The best is the
// best pattern evaluated, its objective the exact Hamming distance.
std::unique_ptr<TIslandEngine> MoveChains(const TSearchSettings& settings, int islands,
                                          TSearchLimits& limits, TSearchClock::time_point started);

} // namespace vesk
