// The incremental pattern against the full projection: every change tried or kept, at every
// kind of universe, with every operator, and its sums ranking patterns as the exact scorer does.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "fuzzyset/degree_runs.h"
#include "fuzzyset/operators.h"
#include "vesk/agent.h"
#include "vesk/incremental_pattern.h"

namespace vesk {
namespace {

TFuzzyBlock RandomBlock(std::mt19937& random) {
    auto field = [&](std::int32_t k) {
        return std::uniform_int_distribution<std::int32_t>(0, FieldHighest(k))(random);
    };
    return {field(0), field(1), field(2), field(3), field(4)};
}

// What projecting the blocks anew gives at the elements 0, stride, 2 stride, ...: the degrees
// and the integer distance to the target.
std::int64_t FullSum(const TBlockList& blocks, const TFuzzySet& target,
                     std::vector<std::int32_t>* degrees = nullptr, std::int32_t stride = 1) {
    TVesk pattern;
    for (TFuzzyBlock B : blocks)
        pattern.AddBlock(B);
    TFuzzySet set;
    ProjectPattern(pattern, pattern.Count(), target.Count(), set);
    std::int64_t sum = 0;
    if (degrees != nullptr) degrees->clear();
    for (std::int32_t i = 0; i < target.Count(); i += stride) {
        sum += std::abs(static_cast<std::int64_t>(set.GetDegree(i)) - target.GetDegree(i));
        if (degrees != nullptr) degrees->push_back(set.GetDegree(i));
    }
    return sum;
}

// The merge loops the incremental pattern resolves once per operator (on processors with 256-bit
// vectors its own written-out lanes) and the loop from one row into another give what Combine
// gives, element by element, for every operator and every count up to several vector steps,
// on degrees of every size, wrapping ones and the extremes included, and run degrees of every
// shape's range and of all 16 bits.
TEST(IncrementalPattern, ItsMergeLoopsCombineAsTheOperatorsDo) {
    std::mt19937 random(11);
    const auto degree = [&]() -> std::int32_t {
        switch (random() % 6) {
        case 0:
            return std::uniform_int_distribution<std::int32_t>(-300, 400)(random);
        case 1:
            return std::uniform_int_distribution<std::int32_t>(0, 100)(random);
        case 2: {
            constexpr std::int32_t Extremes[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, 100, 99,
                                                 INT32_MAX, INT32_MAX - 99, -100, 50, 101};
            return Extremes[random() % std::size(Extremes)];
        }
        default:
            return static_cast<std::int32_t>(random());
        }
    };
    const auto runDegree = [&]() -> std::int16_t {
        if (random() % 4 == 0) return static_cast<std::int16_t>(random());
        return static_cast<std::int16_t>(std::uniform_int_distribution<std::int32_t>(-167, 267)(random));
    };
    for (std::int32_t op = 0; op < OperatorCount; ++op)
        for (std::int32_t count = 1; count <= 70; ++count)
            for (int repeat = 0; repeat < 20; ++repeat) {
                std::vector<std::int32_t> degrees(static_cast<std::size_t>(count));
                std::vector<std::int16_t> run(degrees.size());
                for (std::size_t k = 0; k < degrees.size(); ++k) {
                    degrees[k] = degree();
                    run[k] = runDegree();
                }
                std::vector<std::int32_t> expected = degrees;
                for (std::size_t k = 0; k < expected.size(); ++k)
                    expected[k] = Combine(op, expected[k], run[k]);
                std::vector<std::int32_t> out(degrees.size(), 12345);
                DegreeRunMergeIntoOf(op)(degrees.data(), out.data(), run.data(), count);
                ASSERT_EQ(out, expected) << op << " " << count;
                std::fill(out.begin(), out.end(), 12345);
                MergeDegreeRunInto(op, degrees.data(), out.data(), run.data(), count);
                ASSERT_EQ(out, expected) << op << " " << count;
                DegreeRunMergeOf(op)(degrees.data(), run.data(), count);
                ASSERT_EQ(degrees, expected) << op << " " << count;
            }
}

// A random walk of tried and kept changes, each checked against the full projection.
void Walk(std::int32_t elements, std::size_t blocks, int moves, unsigned seed,
          std::int32_t stride = 1) {
    SCOPED_TRACE(elements);
    SCOPED_TRACE(stride);
    std::mt19937 random(seed);
    const std::shared_ptr<const TScoringTables> tables = ReferenceTables(elements);
    TBlockList pattern(blocks);
    for (TFuzzyBlock& B : pattern)
        B = RandomBlock(random);
    TIncrementalPattern state(tables, pattern, stride);
    const auto full = [&](const TBlockList& blocks, std::vector<std::int32_t>* degrees = nullptr) {
        return FullSum(blocks, tables->Reference, degrees, stride);
    };
    ASSERT_EQ(state.Sum(), full(pattern));
    std::vector<std::int32_t> degrees;
    for (int move = 0; move < moves; ++move) {
        TBlockList changed = state.Blocks();
        std::int64_t tried = 0;
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, blocks - 1)(random);
        if (random() % 3 != 0) {
            TFuzzyBlock B = random() % 2 ? RandomBlock(random) : changed[at];
            B.Op = static_cast<std::int32_t>(move % 16); // every operator in turn
            changed[at] = B;
            tried = state.TryReplace(at, B);
        } else {
            const std::size_t to =
                std::uniform_int_distribution<std::size_t>(0, blocks - 1)(random);
            const TFuzzyBlock moved = changed[at];
            changed.erase(changed.begin() + static_cast<long>(at));
            changed.insert(changed.begin() + static_cast<long>(to), moved);
            tried = state.TryMove(at, to);
        }
        ASSERT_EQ(tried, full(changed)) << move;
        if (random() % 2) {
            state.Accept();
            ASSERT_EQ(state.Blocks(), changed);
            ASSERT_EQ(state.Sum(), full(changed, &degrees));
            ASSERT_TRUE(std::equal(degrees.begin(), degrees.end(), state.Degrees().begin()));
        }
    }
    // A state built anew on the blocks walked to agrees with the one walked.
    EXPECT_EQ(TIncrementalPattern(tables, state.Blocks(), stride).Sum(), state.Sum());
}

TEST(IncrementalPattern, EveryChangeScoresAsTheFullProjection) {
    constexpr int Share = VESK_TEST_SHARE;
    Walk(1, 4, 3000 / Share, 1);
    for (std::int32_t n = 10; n <= 40; ++n)
        Walk(n, 16, 1500 / Share, static_cast<unsigned>(n));
    Walk(100, 16, 20000 / Share, 2);
    Walk(100, 32, 10000 / Share, 3);
    Walk(2048, 16, 3000 / Share, 4);
    Walk(5000, 32, 1500 / Share, 5);
    Walk(20000, 8, 200 / Share, 6); // no kept runs: each drawn anew
}

// A sampled universe holds the exact projection's degrees at every k-th element, on universes
// whose cells do and do not divide evenly by the stride, with kept and with drawn runs.
TEST(IncrementalPattern, SampledUniversesKeepTheExactProjectionsDegrees) {
    Walk(100, 16, 3000, 7, 3);
    Walk(2048, 16, 2000, 8, 4);
    Walk(5003, 32, 800, 9, 7);
    Walk(20000, 8, 200, 10, 40);
}

// Degrees compounded far outside 0..100 (and wrapping) are kept as the projection keeps them.
TEST(IncrementalPattern, DegreesFarOutsideTheRangeAreKeptAsTheProjectionKeepsThem) {
    const std::shared_ptr<const TScoringTables> tables = ReferenceTables(100);
    const TBlockList blocks(32, TFuzzyBlock{6, 8, 7, 7, 10});
    TIncrementalPattern state(tables, blocks);
    EXPECT_EQ(state.Sum(), FullSum(blocks, tables->Reference));
    TBlockList changed = blocks;
    changed[3] = {7, 2, 5, 1, 4};
    EXPECT_EQ(state.TryReplace(3, changed[3]), FullSum(changed, tables->Reference));
}

// The integer sums order patterns as the exact Hamming distances do.
TEST(IncrementalPattern, TheSumRanksPatternsAsTheExactScorerDoes) {
    std::mt19937 random(9);
    for (std::int32_t n : {10, 100, 2048}) {
        const std::shared_ptr<const TScoringTables> tables = ReferenceTables(n);
        TPatternScorer scorer(tables);
        std::vector<std::pair<std::int64_t, double>> seen;
        for (int k = 0; k < 3000; ++k) {
            TBlockList pattern(static_cast<std::size_t>(1 + k % 32));
            for (TFuzzyBlock& B : pattern)
                B = RandomBlock(random);
            seen.emplace_back(TIncrementalPattern(tables, pattern).Sum(),
                              scorer.ScoreBlocks(pattern).Distance);
        }
        std::sort(seen.begin(), seen.end());
        for (std::size_t k = 1; k < seen.size(); ++k) {
            if (seen[k].first > seen[k - 1].first) {
                ASSERT_GT(seen[k].second, seen[k - 1].second) << n;
            }
        }
    }
}

} // namespace
} // namespace vesk
