// Search quality: the mean distance an element each search reaches on the reference of 100
// with 16 blocks, at 200,000 and 2,000,000 evaluations, median and worst of seeds 1 to 5, for
// every algorithm vesk evolve offers (2 islands), a plain generational genetic algorithm on the
// project's own scorer and random search (both on one thread), side by side in one run.
//
// Quality against time (SearchTime/): the same, the searches bounded by seconds instead: the
// default search, the earlier annealing over single fields and the plain genetic algorithm at
// 0.5 and 2 s on 100 elements and 16 blocks. The longer cases (10 and 60 s, 32 blocks, 500 and
// 2048 elements; the default search alone, about 13 minutes) run with VESK_LONG_BENCH=1.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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
// blocks, one field in 80 redrawn, the best 10% kept; until the budget or the time is spent.
double PlainGenetic(std::uint64_t budget, unsigned seed, double seconds = 0,
                    std::int32_t elements = Elements, std::int32_t blocks = Blocks) {
    constexpr std::size_t Size = 500, Elite = 50;
    const auto started = std::chrono::steady_clock::now();
    auto timeLeft = [&] {
        return seconds <= 0 ||
               std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() <
                   seconds;
    };
    std::mt19937 random(seed);
    TPatternScorer scorer(elements);
    struct TOne {
        TBlockList Blocks;
        double Distance;
    };
    std::vector<TOne> population(Size), next;
    for (TOne& one : population) {
        for (int b = 0; b < blocks; ++b)
            one.Blocks.push_back(RandomBlock(random));
        one.Distance = scorer.ScoreBlocks(one.Blocks).Distance;
    }
    std::uint64_t spent = Size;
    auto byDistance = [](const TOne& a, const TOne& b) { return a.Distance < b.Distance; };
    std::uniform_int_distribution<std::size_t> anyone(0, Size - 1);
    const int fields = blocks * FieldsPerBlock;
    std::uniform_int_distribution<int> cut(0, blocks), field(0, 79);
    while (spent < budget && timeLeft()) {
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
            for (int f = 0; f < fields; ++f)
                if (field(random) == 0) {
                    const TFuzzyBlock fresh = RandomBlock(random);
                    const std::int32_t k = f % FieldsPerBlock;
                    FieldOf(child.Blocks[static_cast<std::size_t>(f / FieldsPerBlock)], k) =
                        FieldOf(fresh, k);
                }
            child.Distance = scorer.ScoreBlocks(child.Blocks).Distance;
            ++spent;
            next.push_back(std::move(child));
        }
        population.swap(next);
    }
    return std::min_element(population.begin(), population.end(), byDistance)->Distance / elements;
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

// One case of quality against time.
struct TTimedCase {
    std::int32_t Elements, Blocks;
    double Seconds;
    bool Long;
};
constexpr TTimedCase TimedCases[] = {
    {100, 16, 0.5, false}, {100, 16, 2, false}, {100, 16, 10, true},  {100, 16, 60, true},
    {100, 32, 10, true},   {500, 16, 10, true}, {2048, 16, 10, true}, {2048, 16, 60, true},
};

// Seeds 1..5, each search given the case's seconds: the median and the worst distance an
// element.
template <typename TSearch> void TimedQuality(benchmark::State& state, TSearch search) {
    for (auto _ : state) {
        std::vector<double> reached;
        for (unsigned seed = 1; seed <= 5; ++seed)
            reached.push_back(search(seed));
        std::sort(reached.begin(), reached.end());
        state.counters["median"] = reached[2];
        state.counters["worst"] = reached[4];
    }
}

double Timed(TAlgorithm algorithm, const TTimedCase& c, unsigned seed) {
    TSearchSettings settings;
    settings.Algorithm = algorithm;
    settings.Target.ClearDegrees();
    settings.Target.MakeReference(c.Elements);
    settings.Blocks = c.Blocks;
    settings.Evaluations = ~std::uint64_t{0} >> 1;
    settings.Seconds = c.Seconds;
    settings.Seed = seed;
    settings.Islands = 2;
    return RunSearch(settings).Best / c.Elements;
}

void RegisterTimed() {
    const bool longer = std::getenv("VESK_LONG_BENCH") != nullptr;
    for (const TTimedCase& c : TimedCases) {
        if (c.Long && !longer) continue;
        char name[64];
        std::snprintf(name, sizeof name, "SearchTime/%dx%d/%gs/", c.Elements, c.Blocks, c.Seconds);
        auto add = [&](const std::string& search, auto run) {
            benchmark::RegisterBenchmark(
                (name + search).c_str(),
                [run](benchmark::State& state) { TimedQuality(state, run); })
                ->Iterations(1)
                ->Unit(benchmark::kSecond)
                ->UseRealTime();
        };
        add("annealing", [c](unsigned seed) { return Timed(TAlgorithm::Annealing, c, seed); });
        if (c.Long) continue;
        add("fields", [c](unsigned seed) { return Timed(TAlgorithm::Fields, c, seed); });
        add("plain_ga", [c](unsigned seed) {
            return PlainGenetic(~std::uint64_t{0}, seed, c.Seconds, c.Elements, c.Blocks);
        });
    }
}

void RegisterAll() {
    RegisterTimed();
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
                                 [](benchmark::State& state) {
                                     Quality(state, [](std::uint64_t budget, unsigned seed) {
                                         return PlainGenetic(budget, seed);
                                     });
                                 })
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
