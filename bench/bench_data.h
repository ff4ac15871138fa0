#pragma once
// The inputs every benchmark shares and the check each makes before it times anything.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace vesk::bench {

// The first 32-block pattern "Random Vesk" draws in a fresh run (random source at seed 0).
extern const char* const Pattern32;

// 10,000 random 16-block patterns, the same in every run.
const std::vector<std::string>& BatchPatterns();

// Marks the benchmark failed, naming what differs, when ok is false; true when it may go on.
bool CheckSame(benchmark::State& state, bool ok, const char* what);

} // namespace vesk::bench
