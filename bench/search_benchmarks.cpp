// Search quality: the mean distance an element each search reaches on the reference of 100
// with 16 blocks, at 200,000 and 2,000,000 evaluations, median and worst of seeds 1 to 5, for
// every algorithm vesk evolve offers (2 islands), a plain generational genetic algorithm on the
// project's own scorer and random search (both on one thread), side by side in one run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "search/pattern_search.h"

namespace vesk::bench {
namespace {

constexpr std::int32_t Blocks = 16, Elements = 100;
constexpr std::uint64_t Budgets[2] = {200'000, 2'000'000};

TFuzzyBlock RandomBlock(std::mt19937& random) {
    auto pick = [&](int high) { return std::uniform_int_distribution<int>(0, high)(random); };
    return {pick(15), pick(15), pick(7), pick(7), pick(15)};
}

// The plain genetic algorithm: population 500, tournaments of two, one-point crossover between
// blocks, one field in 80 redrawn, the best 10% kept.
double PlainGenetic(std::uint64_t budget, unsigned seed) {
    constexpr std::size_t Size = 500, Elite = 50;
    std::mt19937 random(seed);
    TPatternScorer scorer(Elements);
    struct TOne {
        TBlockList Blocks;
        double Distance;
    };
    std::vector<TOne> population(Size), next;
    for (TOne& one : population) {
        for (int b = 0; b < Blocks; ++b)
            one.Blocks.push_back(RandomBlock(random));
        one.Distance = scorer.ScoreBlocks(one.Blocks).Distance;
    }
    std::uint64_t spent = Size;
    auto byDistance = [](const TOne& a, const TOne& b) { return a.Distance < b.Distance; };
    std::uniform_int_distribution<std::size_t> anyone(0, Size - 1);
    std::uniform_int_distribution<int> cut(0, Blocks), field(0, 79);
    while (spent < budget) {
        std::sort(population.begin(), population.end(), byDistance);
        next.assign(population.begin(), population.begin() + Elite);
        while (next.size() < Size && spent < budget) {
            auto parent = [&]() -> const TOne& {
                const TOne& a = population[anyone(random)];
                const TOne& b = population[anyone(random)];
                return a.Distance <= b.Distance ? a : b;
            };
            const TOne& mother = parent();
            const TOne& father = parent();
            TOne child{mother.Blocks, 0};
            const auto at = cut(random);
            std::copy(father.Blocks.begin() + at, father.Blocks.end(), child.Blocks.begin() + at);
            for (int f = 0; f < 80; ++f)
                if (field(random) == 0) {
                    TFuzzyBlock fresh = RandomBlock(random);
                    TFuzzyBlock& B = child.Blocks[static_cast<std::size_t>(f / 5)];
                    int* fields[5] = {&B.Shape, &B.Centre, &B.Spread, &B.Repeats, &B.Op};
                    const int values[5] = {fresh.Shape, fresh.Centre, fresh.Spread, fresh.Repeats,
                                           fresh.Op};
                    *fields[f % 5] = values[f % 5];
                }
            child.Distance = scorer.ScoreBlocks(child.Blocks).Distance;
            ++spent;
            next.push_back(std::move(child));
        }
        population.swap(next);
    }
    return std::min_element(population.begin(), population.end(), byDistance)->Distance / Elements;
}

double RandomSearch(std::uint64_t budget, unsigned seed) {
    std::mt19937 random(seed);
    TPatternScorer scorer(Elements);
    TBlockList blocks(Blocks);
    double best = 1e300;
    for (std::uint64_t k = 0; k < budget; ++k) {
        for (TFuzzyBlock& B : blocks)
            B = RandomBlock(random);
        best = std::min(best, scorer.ScoreBlocks(blocks).Distance);
    }
    return best / Elements;
}

double Evolved(TAlgorithm algorithm, std::uint64_t budget, unsigned seed) {
    TSearchSettings settings;
    settings.Algorithm = algorithm;
    settings.Pareto = algorithm == ParetoAlgorithm;
    settings.Evaluations = budget;
    settings.Seed = seed;
    settings.Islands = 2;
    return RunSearch(settings).Best / Elements;
}

// Seeds 1..5 at each budget: the median and the worst distance an element, and the seconds the
// larger budget took (the mean of the seeds).
template <typename TSearch> void Quality(benchmark::State& state, TSearch search) {
    for (auto _ : state) {
        for (std::size_t k = 0; k < 2; ++k) {
            std::vector<double> reached;
            const auto started = std::chrono::steady_clock::now();
            for (unsigned seed = 1; seed <= 5; ++seed)
                reached.push_back(search(Budgets[k], seed));
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            std::sort(reached.begin(), reached.end());
            const std::string at = k == 0 ? "200k" : "2M";
            state.counters["median_" + at] = reached[2];
            state.counters["worst_" + at] = reached[4];
            state.counters["s_" + at] = seconds / 5;
        }
    }
}

void RegisterAll() {
    for (TAlgorithm algorithm : SearchAlgorithms())
        benchmark::RegisterBenchmark(
            (std::string("SearchQuality/") + AlgorithmName(algorithm)).c_str(),
            [algorithm](benchmark::State& state) {
                Quality(state,
                        [&](std::uint64_t b, unsigned s) { return Evolved(algorithm, b, s); });
            })
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("SearchQuality/plain_ga",
                                 [](benchmark::State& state) { Quality(state, PlainGenetic); })
        ->Iterations(1)
        ->Unit(benchmark::kSecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("SearchQuality/random",
                                 [](benchmark::State& state) { Quality(state, RandomSearch); })
        ->Iterations(1)
        ->Unit(benchmark::kSecond)
        ->UseRealTime();
}

const int Registered = (RegisterAll(), 0);

} // namespace
} // namespace vesk::bench
