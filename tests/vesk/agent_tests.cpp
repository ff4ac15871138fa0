#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/fp_fault.h"
#include "runtime/random_source.h"
#include "vesk/agent.h"

namespace vesk {
namespace {

class AgentTest : public ::testing::Test {
protected:
    void SetUp() override { RandomSource.Seed = 0; }
};

using TInterval = TBlockInterval;

std::vector<TInterval> Intervals(const std::string& text, std::int32_t elementCount) {
    TVesk list;
    list.LoadFromHex(text);
    std::vector<TInterval> result;
    for (const TFuzzyBlock& block : list.Blocks())
        result.push_back(BlockInterval(block, elementCount));
    return result;
}

TInterval IntervalOf(std::int32_t centre, std::int32_t spread, std::int32_t elementCount) {
    return BlockInterval(TFuzzyBlock{0, centre, spread, 0, 0}, elementCount);
}

// A set of count elements holding 100 on the first differing ones and 0 elsewhere.
TFuzzySet Ones(std::int32_t count, std::int32_t differing) {
    TFuzzySet set;
    for (std::int32_t i = 0; i < count; ++i)
        set.AddDegree(i < differing ? 100 : 0);
    return set;
}

TEST_F(AgentTest, DecodesTheFirstPatternsOfARun) {
    TVeskAgent one(1, 100, false);
    ASSERT_EQ(one.Pattern.Count(), 1);
    EXPECT_EQ(one.Pattern.Block(0), (TFuzzyBlock{6, 15, 7, 3, 7}));
    EXPECT_EQ(one.Pattern.SaveToHex(), "6F737");

    RandomSource.Seed = 0;
    TVeskAgent sixteen(16, 100, true);
    EXPECT_EQ(sixteen.BlockCount, 16);
    EXPECT_EQ(sixteen.Chromosome.BitCount(), 288);
    EXPECT_EQ(sixteen.Pattern.SaveToHex(), "DB76D476749D2041640C3032CF707959756C7021F204B6E13379332"
                                           "3C0597F64623142D721BBB368");
}

TEST_F(AgentTest, BlockCountOutsideOneTo32BecomesOne) {
    for (std::int32_t count : {0, -5, 33}) {
        TVeskAgent agent(count, 100, false);
        EXPECT_EQ(agent.BlockCount, 1);
        EXPECT_EQ(agent.Chromosome.BitCount(), 18);
        EXPECT_EQ(agent.Pattern.Count(), 1);
    }
    TVeskAgent full(32, 100, false);
    EXPECT_EQ(full.Pattern.Count(), 32);
    EXPECT_EQ(full.Chromosome.BitCount(), 576);
    full.Release();
    EXPECT_EQ(full.Pattern.Count(), 0);
    EXPECT_EQ(full.Chromosome.BitCount(), 0);
}

TEST_F(AgentTest, LoadHexSetsBlockCountToTheBlocksHeld) {
    TVeskAgent agent(16, 100, false);
    agent.LoadHex("77467C422E8C46887454");
    EXPECT_EQ(agent.BlockCount, 4);
    agent.LoadHex("1234567");
    EXPECT_EQ(agent.BlockCount, 4);
    EXPECT_EQ(agent.Pattern.SaveToHex(), "77467C422E8C46887454");
    agent.LoadHex("");
    EXPECT_EQ(agent.BlockCount, 0);

    TFuzzySet set;
    agent.Project(set);
    EXPECT_EQ(set.Degrees(), std::vector<std::int32_t>(100, 50));
}

TEST(BlockInterval, PresetPatternAtTheSweepSizes) {
    const std::string text = "77467C422E8C46887454";
    EXPECT_EQ(Intervals(text, 100),
              (std::vector<TInterval>{{18, 71}, {12, 41}, {48, 99}, {18, 71}}));
    EXPECT_EQ(Intervals(text, 500),
              (std::vector<TInterval>{{93, 371}, {62, 216}, {248, 499}, {93, 371}}));
    EXPECT_EQ(Intervals(text, 1000),
              (std::vector<TInterval>{{186, 743}, {124, 433}, {496, 999}, {186, 743}}));
    EXPECT_EQ(Intervals(text, 5000),
              (std::vector<TInterval>{{936, 3743}, {624, 2183}, {2496, 4999}, {936, 3743}}));
    EXPECT_EQ(Intervals("AF6553666D22533E1571", 100),
              (std::vector<TInterval>{{54, 99}, {0, 77}, {0, 47}, {0, 41}}));
}

TEST(BlockInterval, SmallUniverses) {
    for (auto [centre, spread] : {std::pair{0, 0}, {15, 7}, {7, 3}, {12, 0}})
        EXPECT_EQ(IntervalOf(centre, spread, 10), (TInterval{0, 9}));
    EXPECT_EQ(IntervalOf(12, 4, 17), (TInterval{8, 16}));
    EXPECT_EQ(IntervalOf(7, 4, 17), (TInterval{3, 11}));
    EXPECT_EQ(IntervalOf(15, 0, 20), (TInterval{15, 19}));
    EXPECT_EQ(IntervalOf(14, 0, 20), (TInterval{14, 14}));
    EXPECT_EQ(IntervalOf(0, 0, 0).Last, -1);
}

TEST(BlockInterval, HugeElementCountsStretchInsteadOfWrapping) {
    // (15 + 1 + 7) * q passes 2^31 here; the interval still reaches the last cell.
    EXPECT_EQ(IntervalOf(15, 7, INT32_MAX), (TInterval{1073741816, INT32_MAX - 1}));
    EXPECT_EQ(IntervalOf(0, 0, INT32_MAX), (TInterval{0, 134217726}));
    EXPECT_LT(IntervalOf(15, 7, INT32_MIN).Last, 0);
}

TEST_F(AgentTest, ProjectMergesEachBlockOverItsIntervalInOrder) {
    TVeskAgent agent(1, 20, false);
    agent.LoadHex("1E000");
    TFuzzySet set;
    set.AddDegree(7);
    agent.Project(set);
    std::vector<std::int32_t> expected(20, 50);
    expected[14] = 100; // a one-element falling ramp is 100, merged by maximum
    EXPECT_EQ(set.Degrees(), expected);

    const std::string text = "77467C422E8C46887454";
    agent.ElementCount = 100;
    agent.LoadHex(text);
    agent.Project(set);
    TFuzzySet byHand;
    byHand.Fill(100, 50);
    std::vector<TInterval> intervals = Intervals(text, 100);
    for (std::int32_t i = 0; i < 4; ++i) {
        const TFuzzyBlock& B = agent.Pattern.Block(i);
        byHand.ApplyShape(B.Shape, B.Repeats, intervals[i].First, intervals[i].Last, B.Op);
    }
    EXPECT_EQ(set.Degrees(), byHand.Degrees());

    agent.ElementCount = 0;
    agent.Project(set);
    EXPECT_EQ(set.Count(), 0);
}

TEST(Fitness, ThresholdAndExtendedQuotient) {
    for (double x : {0.0, 0.05, 0.0502})
        EXPECT_EQ(TVeskAgent::FitnessFor(x), 100) << x;
    EXPECT_EQ(TVeskAgent::FitnessFor(0.0504), 99);
    EXPECT_EQ(TVeskAgent::FitnessFor(0.0625), 80);
    EXPECT_EQ(TVeskAgent::FitnessFor(0.1), 50);
    EXPECT_EQ(TVeskAgent::FitnessFor(0.3), 17);
    EXPECT_EQ(TVeskAgent::FitnessFor(1.0), 5);
    // A double quotient would be the exact ties 10.5 and 99.5 here.
    EXPECT_EQ(TVeskAgent::FitnessFor(10.0 / 21), 11);
    EXPECT_EQ(TVeskAgent::FitnessFor(10.0 / 199), 99);
    // Degrees outside 0..100 can push x past 1; the exact ties 2.5 and 0.5 go to even.
    EXPECT_EQ(TVeskAgent::FitnessFor(2.0), 2);
    EXPECT_EQ(TVeskAgent::FitnessFor(10.0), 0);
}

TEST_F(AgentTest, EvaluateScoresTheMeanDistance) {
    TVeskAgent agent(1, 21, false);
    agent.Evaluate(Ones(21, 10), Ones(21, 0));
    EXPECT_EQ(agent.Fitness, 11);
    agent.Evaluate(Ones(199, 10), Ones(199, 0));
    EXPECT_EQ(agent.Fitness, 99);
    agent.Evaluate(Ones(4, 4), Ones(4, 4));
    EXPECT_EQ(agent.Fitness, 100);
}

TEST_F(AgentTest, EvaluateOnAnEmptySetFaultsAndKeepsFitness) {
    TVeskAgent agent(1, 0, false);
    agent.Fitness = 42;
    TFuzzySet empty;
    try {
        agent.Evaluate(empty, Ones(5, 2));
        FAIL() << "no fault raised";
    } catch (const EFloatingPointFault& fault) {
        EXPECT_STREQ(fault.what(), "Invalid floating point operation");
    }
    EXPECT_EQ(agent.Fitness, 42);
}

} // namespace
} // namespace vesk
