// The search: reproducible from its seed, scored as the rest of the tool scores, stoppable, and
// never drawing from the workbench's random sequence.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "runtime/random_source.h"
#include "search/pattern_search.h"

namespace vesk {
namespace {

TSearchSettings Small(std::optional<TAlgorithm> algorithm = std::nullopt) {
    TSearchSettings settings;
    settings.Blocks = 8;
    settings.Islands = 2;
    settings.Evaluations = 60000 / VESK_TEST_SHARE;
    settings.Algorithm = algorithm;
    return settings;
}

TEST(SearchPattern, TheSameSettingsGiveTheSamePatternWithEveryAlgorithm) {
    for (TAlgorithm algorithm : SearchAlgorithms()) {
        TSearchSettings settings = Small(algorithm);
        settings.Pareto = algorithm == ParetoAlgorithm;
        const TSearchResult first = RunSearch(settings);
        const TSearchResult again = RunSearch(settings);
        EXPECT_EQ(first.Pattern, again.Pattern) << AlgorithmName(algorithm);
        EXPECT_EQ(first.Best, again.Best) << AlgorithmName(algorithm);
        EXPECT_EQ(first.Algorithm, algorithm);
        EXPECT_EQ(first.Stopped, TSearchEnd::Evaluations);
        EXPECT_GE(first.Evaluations, settings.Evaluations);
        settings.Seed = 2;
        EXPECT_NE(RunSearch(settings).Pattern, first.Pattern) << AlgorithmName(algorithm);
    }
}

TEST(SearchPattern, TheBestIsWhatTheScorerGivesAndBeatsARandomPattern) {
    TSearchSettings settings = Small();
    settings.Evaluations = 60000;
    const TSearchResult result = RunSearch(settings);
    ASSERT_EQ(result.Pattern.size(), 8u);
    TPatternScorer scorer(settings.Target);
    EXPECT_EQ(scorer.ScoreBlocks(result.Pattern).Distance, result.Best);
    EXPECT_LT(result.Best / 100, 0.08); // a random pattern lies near 0.2 an element

    // The sweep's objective: the mean of the four means.
    settings.Objective = TObjective::Sweep;
    settings.Evaluations = 20000;
    const TSearchResult sweep = RunSearch(settings);
    long double sum = 0;
    for (std::int32_t n : SweepSizes)
        sum += TPatternScorer(n).ScoreBlocks(sweep.Pattern).Distance / n;
    EXPECT_NEAR(sweep.Best, static_cast<double>(sum / 4), 1e-12);
}

TEST(SearchPattern, AUsersTargetIsSearchedAtItsOwnSize) {
    TSearchSettings settings = Small();
    settings.Target.ClearDegrees();
    for (std::int32_t d : {0, 20, 40, 60, 80, 100, 100, 80, 60, 40, 20, 0, 50, 50, 50, 50, 50})
        settings.Target.AddDegree(d);
    const TSearchResult result = RunSearch(settings);
    EXPECT_EQ(TPatternScorer(settings.Target).ScoreBlocks(result.Pattern).Distance, result.Best);
}

// Large universes are searched on every k-th element first, then on all of them: the result is
// still reproducible, exactly scored, within budget and never worse than the start.
TEST(SearchPattern, ALargeUniverseIsSampledFirstAndReportedExactly) {
    TSearchSettings settings = Small();
    settings.Target.ClearDegrees();
    settings.Target.MakeReference(3001);
    settings.Evaluations = 20000;
    const TSearchResult first = RunSearch(settings);
    const TSearchResult again = RunSearch(settings);
    EXPECT_EQ(first.Pattern, again.Pattern);
    EXPECT_EQ(first.Evaluations, again.Evaluations);
    EXPECT_LE(first.Evaluations, settings.Evaluations + 8); // the starts and the switch
    TPatternScorer scorer(settings.Target);
    EXPECT_EQ(scorer.ScoreBlocks(first.Pattern).Distance, first.Best);

    // A target whose sampled elements say the opposite of the others: what the sampled part
    // finds is far worse over all elements than a start that fits the others.
    settings.Target.ClearDegrees();
    for (std::int32_t i = 0; i < 3001; ++i)
        settings.Target.AddDegree(i % 5 == 0 ? 0 : 100);
    TPatternScorer own(settings.Target);
    std::mt19937 random(4);
    TBlockList start(8);
    double startDistance = 1e9;
    for (int k = 0; k < 300; ++k) {
        TBlockList drawn(8);
        for (TFuzzyBlock& B : drawn)
            B = {static_cast<std::int32_t>(random() % 16), static_cast<std::int32_t>(random() % 16),
                 static_cast<std::int32_t>(random() % 8), static_cast<std::int32_t>(random() % 8),
                 static_cast<std::int32_t>(random() % 16)};
        const double distance = own.ScoreBlocks(drawn).Distance;
        if (distance < startDistance) std::tie(start, startDistance) = std::tie(drawn, distance);
    }
    settings.Start = start;
    for (std::uint64_t budget : {4000u, 40000u}) {
        settings.Evaluations = budget;
        const TSearchResult result = RunSearch(settings);
        EXPECT_LE(result.Best, startDistance) << budget;
        EXPECT_EQ(own.ScoreBlocks(result.Pattern).Distance, result.Best);
    }
    settings.Evaluations = 1'000'000'000;
    std::atomic<bool> stop{true};
    EXPECT_EQ(RunSearch(settings, {}, &stop).Pattern, start);
}

TEST(SearchPattern, TheParetoFrontHoldsTheBestOfEachBlockCountUndominated) {
    TSearchSettings settings = Small();
    settings.Pareto = true;
    const TSearchResult result = RunSearch(settings);
    ASSERT_FALSE(result.Front.empty());
    TPatternScorer scorer(settings.Target);
    for (std::size_t k = 0; k < result.Front.size(); ++k) {
        const TFrontPoint& point = result.Front[k];
        EXPECT_EQ(scorer.ScoreBlocks(point.Pattern).Distance, point.Distance);
        if (k > 0) {
            EXPECT_GT(point.Pattern.size(), result.Front[k - 1].Pattern.size());
            EXPECT_LT(point.Distance, result.Front[k - 1].Distance);
        }
    }
    EXPECT_EQ(result.Front.back().Distance, result.Best);
    settings.Algorithm = TAlgorithm::Sga;
    EXPECT_THROW(RunSearch(settings), std::invalid_argument);
}

TEST(SearchPattern, AStopOrALimitEndsTheSearchWithTheBestSoFar) {
    TSearchSettings settings = Small();
    settings.Evaluations = 1'000'000'000;
    std::atomic<bool> stop{false};
    std::uint64_t rounds = 0;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    const TSearchResult result = RunSearch(
        settings, [&](const TSearchProgress&) { ++rounds; }, &stop);
    stopper.join();
    EXPECT_EQ(result.Stopped, TSearchEnd::Interrupted);
    EXPECT_GT(rounds, 0u);
    EXPECT_EQ(result.Pattern.size(), 8u);

    settings.Evaluations = 1'000'000'000;
    settings.Seconds = 0.05;
    EXPECT_EQ(RunSearch(settings).Stopped, TSearchEnd::Seconds);
    settings.Seconds.reset();
    settings.MeanDistance = 0.5; // any pattern is that close
    EXPECT_EQ(RunSearch(settings).Stopped, TSearchEnd::Distance);
}

// A small search whose rounds are far too long to finish.
TSearchSettings EndlessRounds(TAlgorithm algorithm) {
    TSearchSettings settings = Small(algorithm);
    settings.Pareto = algorithm == ParetoAlgorithm;
    settings.Evaluations = 4'000'000'000;
    settings.RoundEvaluations = 1'000'000'000;
    return settings;
}

// Rounds far too long to finish: only a stop that reaches into the round ends these searches;
// what the round spent is counted, and the best it evaluated is kept. The stop comes once a
// report during the round shows evaluations made since the first, however slow the machine.
TEST(SearchPattern, AStopReachesIntoTheRoundWithEveryAlgorithm) {
    for (TAlgorithm algorithm : SearchAlgorithms()) {
        SCOPED_TRACE(AlgorithmName(algorithm));
        TSearchSettings settings = EndlessRounds(algorithm);
        std::atomic<bool> stop{false};
        std::vector<TSearchProgress> seen;
        const TSearchResult result = RunSearch(
            settings,
            [&](const TSearchProgress& progress) {
                seen.push_back(progress);
                if (progress.Evaluations > seen.front().Evaluations) stop = true;
            },
            &stop);
        EXPECT_EQ(result.Stopped, TSearchEnd::Interrupted);
        ASSERT_GE(seen.size(), 2u);
        EXPECT_GE(result.Evaluations, seen.back().Evaluations);
        EXPECT_LE(result.Best, seen[0].Best);
        EXPECT_FALSE(result.Pattern.empty());
    }
}

// Running out on the search's own thread while the islands run (here the observer's report
// during a round far too long to finish) ends the round at once; the error comes out of the
// search, once no island runs, as it was raised.
TEST(SearchPattern, AFailureDuringARoundEndsItAndComesOut) {
    for (TAlgorithm algorithm : SearchAlgorithms()) {
        SCOPED_TRACE(AlgorithmName(algorithm));
        TSearchSettings settings = EndlessRounds(algorithm);
        int reports = 0;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_THROW(RunSearch(settings,
                               [&](const TSearchProgress&) {
                                   if (++reports == 2) throw std::bad_alloc();
                               }),
                     std::bad_alloc);
        EXPECT_EQ(reports, 2); // the first before the round, the second during it
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                  10.0); // the round alone would take hours
    }
}

// A generous budget is a safety limit, not a plan: the search reaches a distance after as many
// evaluations whatever budget it was given, and a budget it spends ends on a whole cooling.
TEST(SearchPattern, AGenerousBudgetReachesADistanceAsSoonAsTheDefault) {
    TSearchSettings settings;
    settings.Islands = 2;
    settings.MeanDistance = 0.05;
    settings.Evaluations = ToolEvolveBudget;
    const TSearchResult planned = RunSearch(settings);
    ASSERT_EQ(planned.Stopped, TSearchEnd::Distance);
    for (std::uint64_t budget : {std::uint64_t{100'000'000}, MaxEvaluations}) {
        settings.Evaluations = budget;
        const TSearchResult generous = RunSearch(settings);
        EXPECT_EQ(generous.Stopped, TSearchEnd::Distance);
        EXPECT_LE(generous.Evaluations, planned.Evaluations + planned.Evaluations / 2) << budget;
    }
}

// Every island spends exactly its share of the budget beyond its initial population, whatever
// the algorithm and the island count.
TEST(SearchPattern, TheBudgetHoldsWithEveryAlgorithmAndIslandCount) {
    for (TAlgorithm algorithm : SearchAlgorithms())
        for (int islands : {1, 3}) {
            SCOPED_TRACE(AlgorithmName(algorithm) + std::string(" on ") + std::to_string(islands));
            TSearchSettings settings = Small(algorithm);
            settings.Pareto = algorithm == ParetoAlgorithm;
            settings.Islands = islands;
            settings.Evaluations = 1;
            const std::uint64_t initial = RunSearch(settings).Evaluations - 1;
            EXPECT_LE(initial, 100u * static_cast<std::uint64_t>(islands));
            for (std::uint64_t budget : {17u, 5003u}) {
                settings.Evaluations = budget;
                const TSearchResult result = RunSearch(settings);
                EXPECT_EQ(result.Stopped, TSearchEnd::Evaluations);
                EXPECT_EQ(result.Evaluations, initial + budget);
            }
        }
}

// Rounds far too long to finish: the time limit reaches into them, progress comes during them,
// and the islands share one set of tables.
TEST(SearchPattern, TheTimeLimitAndProgressReachIntoALongRound) {
    TSearchSettings settings = Small();
    settings.Target.ClearDegrees();
    settings.Target.MakeReference(20000);
    settings.Evaluations = 4'000'000'000;
    settings.RoundEvaluations = 1'000'000'000;
    settings.Seconds = 1.2;
    std::vector<TSearchProgress> seen;
    const TSearchResult result =
        RunSearch(settings, [&](const TSearchProgress& progress) { seen.push_back(progress); });
    EXPECT_EQ(result.Stopped, TSearchEnd::Seconds);
    EXPECT_LT(result.Seconds, 10.0); // the round alone would take hours
    ASSERT_GE(seen.size(), 3u);      // the start, during the round, the end
    EXPECT_GT(seen[1].Evaluations, seen[0].Evaluations);
    EXPECT_LE(seen[1].Best, seen[0].Best);
    EXPECT_EQ(TPatternScorer(settings.Target).ScoreBlocks(result.Pattern).Distance, result.Best);

    const TPatternProblem problem(settings.Target, 4, TObjective::Sweep, false);
    EXPECT_EQ(problem.ForIsland(3).SharedTables(), problem.SharedTables());
    EXPECT_EQ(TPatternProblem(problem).SharedTables(), problem.SharedTables());
}

TEST(SearchPattern, LeavesTheWorkbenchsRandomSequenceWhereItWas) {
    RandomSource.Seed = 12345;
    RunSearch(Small());
    EXPECT_EQ(RandomSource.Seed, 12345u);
    TSearchSettings tooMany = Small();
    tooMany.Islands = MaxIslands + 1;
    EXPECT_THROW(RunSearch(tooMany), std::invalid_argument);
}

} // namespace
} // namespace vesk
