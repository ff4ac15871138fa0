// The search's evaluations: a move of one field of one block of a 16-block pattern, scored by
// the incremental pattern (re-merging what the move touches, integer distance) and, side by
// side in the same run, by the full scorer (the whole projection and the exact distance).

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "vesk/incremental_pattern.h"

namespace vesk::bench {
namespace {

constexpr std::size_t WalkBlocks = 16;
constexpr std::size_t Moves = 4096;

struct TMove {
    std::size_t At;
    TFuzzyBlock Block;
};

// A random pattern and a series of single-field changes to it, the same for both benchmarks.
struct TWalk {
    TBlockList Start;
    std::vector<TMove> Moves;
};

TWalk MakeWalk() {
    std::mt19937 random(5);
    auto field = [&](std::int32_t k) {
        return std::uniform_int_distribution<std::int32_t>(0, FieldHighest(k))(random);
    };
    TWalk walk;
    for (std::size_t b = 0; b < WalkBlocks; ++b)
        walk.Start.push_back({field(0), field(1), field(2), field(3), field(4)});
    TBlockList current = walk.Start;
    for (std::size_t m = 0; m < Moves; ++m) {
        const std::size_t at = random() % WalkBlocks;
        TFuzzyBlock B = current[at];
        const std::int32_t k = static_cast<std::int32_t>(random() % FieldsPerBlock);
        FieldOf(B, k) = field(k);
        walk.Moves.push_back({at, B});
        if (m % 4 == 0) current[at] = B; // a quarter of the moves are kept
    }
    return walk;
}

void Incremental(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const TWalk walk = MakeWalk();
    TIncrementalPattern pattern(ReferenceTables(n), walk.Start);
    std::int64_t sum = 0;
    for (auto _ : state) {
        pattern.Reset(walk.Start);
        for (std::size_t m = 0; m < Moves; ++m) {
            sum += pattern.TryReplace(walk.Moves[m].At, walk.Moves[m].Block);
            if (m % 4 == 0) pattern.Accept();
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Moves));
}

void Full(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const TWalk walk = MakeWalk();
    TPatternScorer scorer(n);
    double sum = 0;
    for (auto _ : state) {
        TBlockList current = walk.Start;
        for (std::size_t m = 0; m < Moves; ++m) {
            const TFuzzyBlock kept = current[walk.Moves[m].At];
            current[walk.Moves[m].At] = walk.Moves[m].Block;
            sum += scorer.ScoreBlocks(current).Distance;
            if (m % 4 != 0) current[walk.Moves[m].At] = kept;
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Moves));
}

BENCHMARK(Incremental)->Name("SearchMove/incremental")->Arg(100)->Arg(2048)->Arg(5000);
BENCHMARK(Full)->Name("SearchMove/full_scorer")->Arg(100)->Arg(2048)->Arg(5000);

} // namespace
} // namespace vesk::bench
