#pragma once
// The default search: simulated annealing over whole moves of a pattern, scored incrementally.

#include <atomic>

#include "search/pattern_search.h"

namespace vesk {

// Runs the default search for the distance objective: each island walks one chain of moves (a
// field given another value, a block drawn anew, two neighbouring blocks swapped, a block moved
// to another place), each move scored by a TIncrementalPattern on tables all islands share and
// kept when it is no worse, or worse by d with probability e^(-d/T). T falls geometrically
// within each of a few cycles; a cycle starts again from the island's best with a lower heat.
// The schedule follows whichever budget ends the run: the island's share of the evaluations,
// or the time. The islands run in synchronous rounds of a fixed number of moves, after which
// island i takes island i - 1's best when it is better than its own, so that the same settings
// and evaluation budget give the same pattern on every run. Stops, the deadline and the
// budget are looked at between moves; the result is the best pattern evaluated, its Best the
// exact Hamming distance.
TSearchResult RunMoveAnnealing(const TSearchSettings& settings, const TSearchObserver& observer,
                               const std::atomic<bool>* stop);

} // namespace vesk
