// The improvements a search reports: the real descent of its best, thinned for a curve, ending
// on the final best, and nothing of the search's result changed by collecting them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "search/improvement_log.h"
#include "search/pattern_search.h"

namespace vesk {
namespace {

// Every improvement of a run, in the order the observer was told them.
std::vector<TImprovement> Collect(const TSearchSettings& settings, TSearchResult& result) {
    std::vector<TImprovement> all;
    result = RunSearch(settings, [&](const TSearchProgress& progress) {
        all.insert(all.end(), progress.Improvements.begin(), progress.Improvements.end());
    });
    return all;
}

// At most this many points for a run of so many evaluations descending from first to last.
double Bound(std::uint64_t evaluations, double first, double last) {
    return std::log(static_cast<double>(evaluations)) / std::log(TImprovementLog::EvaluationsStep) +
           std::log(first / std::max(last, 1e-9)) / std::log(1 / TImprovementLog::BestStep) + 2;
}

TEST(SearchImprovements, EveryAlgorithmReportsItsDescentEndingOnTheBest) {
    for (TAlgorithm algorithm : SearchAlgorithms()) {
        TSearchSettings settings;
        settings.Pareto = algorithm == ParetoAlgorithm;
        settings.Blocks = 8;
        settings.Islands = 2;
        settings.Evaluations = 40000;
        settings.Algorithm = algorithm;
        TSearchResult result;
        const std::vector<TImprovement> seen = Collect(settings, result);
        const char* name = AlgorithmName(algorithm);
        // A real descent: more than the two or three points the reports alone would give.
        ASSERT_GE(seen.size(), 5u) << name;
        for (std::size_t k = 1; k < seen.size(); ++k) {
            EXPECT_GT(seen[k].Evaluations, seen[k - 1].Evaluations) << name << " " << k;
            EXPECT_LT(seen[k].Best, seen[k - 1].Best) << name << " " << k;
        }
        EXPECT_LE(seen.back().Evaluations, result.Evaluations) << name;
        EXPECT_NEAR(seen.back().Best, result.Best, 1e-9 * result.Best) << name;
        EXPECT_LE(static_cast<double>(seen.size()),
                  Bound(result.Evaluations, seen.front().Best, seen.back().Best))
            << name;

        // Collecting them leaves the search's result as it was.
        const TSearchResult unwatched = RunSearch(settings);
        EXPECT_EQ(unwatched.Pattern, result.Pattern) << name;
        EXPECT_EQ(unwatched.Best, result.Best) << name;
    }
}

// A long run keeps a few hundred points however many improvements it makes, and a large universe
// (whose chains run sampled first) still ends on its exact best.
TEST(SearchImprovements, ALongRunAndALargeUniverseStayThinAndExact) {
    TSearchSettings settings;
    settings.Blocks = 16;
    settings.Islands = 2;
    settings.Evaluations = 1'000'000 / VESK_TEST_SHARE;
    TSearchResult result;
    std::vector<TImprovement> seen = Collect(settings, result);
    EXPECT_LE(seen.size(), 400u);
    EXPECT_NEAR(seen.back().Best, result.Best, 1e-9 * result.Best);

    settings.Target.ClearDegrees();
    settings.Target.MakeReference(3000);
    settings.Evaluations = 60000 / VESK_TEST_SHARE;
    seen = Collect(settings, result);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_NEAR(seen.back().Best, result.Best, 1e-9 * result.Best);
    for (std::size_t k = 1; k < seen.size(); ++k)
        EXPECT_LT(seen[k].Best, seen[k - 1].Best);
}

// The thinning on its own: a point after too few more evaluations and too small a step is held,
// and kept at the end when nothing better came; the points kept go to the first Take only.
TEST(SearchImprovements, TheLogThinsAndKeepsTheFinalBest) {
    TImprovementLog log;
    std::uint64_t spent = 100;
    const auto at = [&] { return spent; };
    log.Note(50, at);
    spent = 101;
    log.Note(49, at); // 1% more evaluations, 2% better: held
    EXPECT_EQ(log.Take(), (std::vector<TImprovement>{{100, 50}}));
    EXPECT_TRUE(log.Take().empty());
    spent = 102;
    log.Note(40, at); // 20% better: kept, the held one dropped
    spent = 200;
    log.Note(39.9, at); // twice the evaluations: kept
    spent = 201;
    log.Note(39.8, at); // held
    log.Note(45, at);   // no new best
    EXPECT_FALSE(log.Beats(39.8));
    EXPECT_EQ(log.Take(), (std::vector<TImprovement>{{102, 40}, {200, 39.9}}));
    EXPECT_EQ(log.Finish(300, 39.8), (std::vector<TImprovement>{{201, 39.8}}));
}

// Islands noting at once: the points keep the order of their evaluations and bests.
TEST(SearchImprovements, IslandsNotingAtOnceKeepTheOrder) {
    TImprovementLog log;
    std::atomic<std::uint64_t> spent{0};
    std::vector<std::thread> islands;
    for (int island = 0; island < 4; ++island)
        islands.emplace_back([&, island] {
            for (int k = 0; k < 20000; ++k) {
                const std::uint64_t made = spent.fetch_add(1) + 1;
                log.Note(1e6 / static_cast<double>(made) + island, [&] { return spent.load(); });
            }
        });
    for (std::thread& island : islands)
        island.join();
    std::vector<TImprovement> seen = log.Take();
    for (const TImprovement& point : log.Finish(spent, 0))
        seen.push_back(point);
    ASSERT_GE(seen.size(), 2u);
    for (std::size_t k = 1; k < seen.size(); ++k) {
        EXPECT_GE(seen[k].Evaluations, seen[k - 1].Evaluations);
        EXPECT_LT(seen[k].Best, seen[k - 1].Best);
    }
    EXPECT_EQ(seen.back().Best, 0);
}

} // namespace
} // namespace vesk
