// Batch scoring at the machine's limit: the scoring core on block lists at 100 and 5000
// elements, against the previous design (projection through shape application replaying the
// recorded-run store) and the plain design, both measured in the same run; batches on every
// thread; and "vesk score" end to end on a million lines.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "bench/bench_data.h"
#include "bench/plain_design.h"
#include "vesk/agent.h"
#include "vesk/batch_scoring.h"

namespace vesk::bench {
namespace {

// The batch patterns as block lists, the first count of them.
std::vector<TBlockList> BlockPatterns(std::size_t count) {
    std::vector<TBlockList> out;
    for (std::size_t i = 0; i < count && i < BatchPatterns().size(); ++i) {
        TVesk list;
        list.LoadFromHex(BatchPatterns()[i]);
        out.push_back(list.Blocks());
    }
    return out;
}

std::size_t CountFor(std::int32_t n) {
    return n >= 5000 ? 1000 : 10000;
}

// What the plain design gives for every pattern: the reference every benchmark must match.
const std::vector<std::int32_t>& PlainFitnesses(std::int32_t n) {
    static std::map<std::int32_t, std::vector<std::int32_t>> cache;
    auto& scores = cache[n];
    if (scores.empty()) {
        TPlainSet reference;
        reference.MakeReference(n);
        for (std::size_t i = 0; i < CountFor(n); ++i)
            scores.push_back(PlainScore(BatchPatterns()[i], reference));
    }
    return scores;
}

void SetItems(benchmark::State& state, std::size_t patterns, std::int32_t n) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patterns));
    state.counters["elements"] = n;
}

// The scoring core: block lists in, fitness and distance out, one thread.
void ScoreBlocks(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<TBlockList> patterns = BlockPatterns(CountFor(n));
    TPatternScorer scorer(n);
    std::vector<std::int32_t> scores;
    for (const TBlockList& blocks : patterns)
        scores.push_back(scorer.ScoreBlocks(blocks).Fitness);
    if (!CheckSame(state, scores == PlainFitnesses(n), "a score")) return;
    for (auto _ : state)
        for (const TBlockList& blocks : patterns)
            benchmark::DoNotOptimize(scorer.ScoreBlocks(blocks));
    SetItems(state, patterns.size(), n);
}

// The previous design: shape application replaying runs recorded per (shape, repeats, length)
// in a bounded store, then the same distance.
void ScoreReplayed(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    TVesk list;
    TFuzzySet reference, set;
    reference.MakeReference(n);
    auto score = [&](const std::string& hex) {
        list.LoadFromHex(hex);
        ProjectPattern(list, list.Count(), n, set);
        return FitnessOfDistance(set.HammingDistance(reference), n);
    };
    const std::size_t count = CountFor(n);
    std::vector<std::int32_t> scores;
    for (std::size_t i = 0; i < count; ++i)
        scores.push_back(score(BatchPatterns()[i]));
    if (!CheckSame(state, scores == PlainFitnesses(n), "a score")) return;
    for (auto _ : state)
        for (std::size_t i = 0; i < count; ++i)
            benchmark::DoNotOptimize(score(BatchPatterns()[i]));
    SetItems(state, count, n);
}

void ScorePlain(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    TPlainSet reference;
    reference.MakeReference(n);
    const std::size_t count = CountFor(n);
    for (auto _ : state)
        for (std::size_t i = 0; i < count; ++i)
            benchmark::DoNotOptimize(PlainScore(BatchPatterns()[i], reference));
    SetItems(state, count, n);
}

// A batch on every thread of the machine (range(1) threads).
void ScoreBatch(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<TBlockList> patterns = BlockPatterns(CountFor(n));
    TBatchScorer batch(n, static_cast<int>(state.range(1)));
    std::vector<TPatternScore> out(patterns.size());
    batch.Score(patterns, out);
    std::vector<std::int32_t> scores;
    for (const TPatternScore& score : out)
        scores.push_back(score.Fitness);
    if (!CheckSame(state, scores == PlainFitnesses(n), "a score")) return;
    for (auto _ : state)
        batch.Score(patterns, out);
    SetItems(state, patterns.size(), n);
}

// "vesk score --jobs J" on a million random lines, from a file to /dev/null.
void ScoreTool(benchmark::State& state) {
    constexpr std::size_t Lines = 1000000;
    static const std::string input = [] {
        const std::string path = "/tmp/vesk_bench_score_input.txt";
        std::ofstream file(path);
        std::mt19937 random(7);
        const auto& patterns = BatchPatterns();
        for (std::size_t i = 0; i < Lines; ++i)
            file << patterns[std::uniform_int_distribution<std::size_t>(0, patterns.size() -
                                                                               1)(random)]
                 << '\n';
        return path;
    }();
    const std::string command = std::string(VESK_TOOL_PATH) + " score --jobs " +
                                std::to_string(state.range(0)) + " < " + input + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("vesk score failed");
            return;
        }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Lines));
}

BENCHMARK(ScoreBlocks)->Name("ScoreBlocks")->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ScoreReplayed)->Name("ScoreReplayed")->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ScorePlain)
    ->Name("Plain/ScoreBlocks")
    ->Arg(100)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ScoreBatch)
    ->Name("ScoreBatch")
    ->Args({100, 1})
    ->Args({100, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ScoreTool)
    ->Name("ScoreTool")
    ->Arg(1)
    ->Arg(2)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace vesk::bench
