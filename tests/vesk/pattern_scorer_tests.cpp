// Batch scoring without an agent against the agent's load, projection and evaluation.
#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <random>
#include <string>

#include "runtime/fp_fault.h"
#include "vesk/agent.h"
#include "vesk/pattern_scorer.h"

namespace vesk {
namespace {

// What an agent gives for the text: its fitness and the set it projects.
struct TAgentResult {
    std::int32_t Fitness;
    TFuzzySet Set;
};

TAgentResult AgentResult(const std::string& text, std::int32_t n) {
    TVeskAgent agent(1, n, false);
    agent.LoadHex(text);
    TAgentResult result{0, {}};
    agent.Project(result.Set);
    TFuzzySet reference;
    reference.MakeReference(n);
    agent.Evaluate(result.Set, reference);
    result.Fitness = agent.Fitness;
    agent.Release();
    return result;
}

// 1 to 40 groups of random bytes, mostly digits in range, sometimes anything else.
std::string RandomText(std::mt19937& random) {
    static const std::string digits = "0123456789ABCDEFabcdef";
    const int groups = std::uniform_int_distribution<int>(1, 40)(random);
    std::string text;
    for (int g = 0; g < groups * 5; ++g) {
        const int pick = std::uniform_int_distribution<int>(0, 99)(random);
        if (pick == 0)
            text += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        else if (g % 5 == 2 || g % 5 == 3)
            text += digits[std::uniform_int_distribution<std::size_t>(0, 7)(random)];
        else
            text +=
                digits[std::uniform_int_distribution<std::size_t>(0, digits.size() - 1)(random)];
    }
    return text;
}

TEST(PatternScorer, ScoresAndProjectsAsAnAgentDoes) {
    std::mt19937 random(9);
    for (std::int32_t n : {100, 1, 10, 16, 17, 31, 500, 2048, 5000}) {
        TPatternScorer scorer(n);
        TFuzzySet reference;
        reference.MakeReference(n);
        EXPECT_EQ(scorer.Reference().Degrees(), reference.Degrees());
        const int texts = n >= 2048 ? 60 : 400;
        for (int k = 0; k < texts; ++k) {
            const std::string text = RandomText(random);
            const TAgentResult expected = AgentResult(text, n);
            EXPECT_EQ(scorer.Score(text), std::optional(expected.Fitness)) << n << " " << text;
            EXPECT_EQ(scorer.PatternSet().Degrees(), expected.Set.Degrees()) << n << " " << text;
            // The block list itself: the same projection, and the distance bit for bit.
            if (text.size() % 5 != 0) continue;
            TVesk pattern;
            pattern.LoadFromHex(text);
            const TPatternScore score = scorer.ScoreBlocks(pattern.Blocks());
            EXPECT_EQ(score.Fitness, expected.Fitness);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(score.Distance),
                      std::bit_cast<std::uint64_t>(expected.Set.HammingDistance(reference)));
        }
    }
}

TEST(PatternScorer, EdgePatterns) {
    TPatternScorer scorer(100);
    // No blocks: every degree stays 50.
    EXPECT_EQ(scorer.Score(""), AgentResult("", 100).Fitness);
    EXPECT_EQ(scorer.PatternSet().Degrees(), std::vector<std::int32_t>(100, 50));
    // Degrees compounded far outside 0..100 score below 5.
    std::string compounding;
    for (int i = 0; i < 32; ++i)
        compounding += "6877A";
    EXPECT_EQ(scorer.Score(compounding), 0);
    EXPECT_EQ(scorer.Score(compounding), AgentResult(compounding, 100).Fitness);
    // Groups beyond the 32nd are dropped, invalid ones zeroed.
    EXPECT_EQ(scorer.Score(compounding + "77467"), 0);
    EXPECT_EQ(scorer.Score("77G67af655"), AgentResult("77G67af655", 100).Fitness);
    EXPECT_EQ(scorer.Pattern().SaveToHex(), "00000AF655");
}

TEST(PatternScorer, ATextOfTheWrongLengthHasNoScoreAndChangesNothing) {
    TPatternScorer scorer(100);
    const std::optional<std::int32_t> fitness = scorer.Score("77467C422E8C46887454");
    const std::vector<std::int32_t> projected = scorer.PatternSet().Degrees();
    for (const char* text : {"7", "7746", "77467C"})
        EXPECT_EQ(scorer.Score(text), std::nullopt) << text;
    EXPECT_EQ(scorer.Pattern().SaveToHex(), "77467C422E8C46887454");
    EXPECT_EQ(scorer.PatternSet().Degrees(), projected);
    EXPECT_EQ(scorer.Score("77467C422E8C46887454"), fitness);
}

TEST(PatternScorer, KeepsItsSetFromTextToText) {
    TPatternScorer scorer(100);
    const std::optional<std::int32_t> first = scorer.Score("AF6553666D22533E1571");
    const std::int32_t* storage = scorer.PatternSet().Degrees().data();
    scorer.Score("77467C422E8C46887454");
    EXPECT_EQ(scorer.Score("AF6553666D22533E1571"), first);
    EXPECT_EQ(scorer.PatternSet().Degrees().data(), storage);
}

TEST(PatternScorer, FaultsAsTheAgentDoes) {
    // Building the reference of 2..9 elements divides by zero.
    try {
        TPatternScorer scorer(5);
        FAIL() << "no fault raised";
    } catch (const EFloatingPointFault& fault) {
        EXPECT_STREQ(fault.what(), "Floating point division by zero");
    }
    // No elements: the mean distance is 0 / 0.
    TPatternScorer empty(0);
    for (const char* text : {"", "77467C422E8C46887454"}) {
        try {
            empty.Score(text);
            FAIL() << "no fault raised";
        } catch (const EFloatingPointFault& fault) {
            EXPECT_STREQ(fault.what(), "Invalid floating point operation");
        }
    }
}

// A set of the right size is refilled in place, whatever it held; the result is the same.
TEST(ProjectPattern, RefillsASetOfTheRightSize) {
    TVesk pattern;
    pattern.LoadFromHex("77467C422E8C46887454");
    for (std::int32_t blocks : {4, 2, 0}) {
        TFuzzySet fresh, reused;
        ProjectPattern(pattern, blocks, 100, fresh);
        reused.Fill(100, 3);
        reused.SetDegree(40, -7);
        ProjectPattern(pattern, blocks, 100, reused);
        EXPECT_EQ(reused.Degrees(), fresh.Degrees()) << blocks;
        ProjectPattern(pattern, blocks, 0, reused);
        EXPECT_EQ(reused.Count(), 0);
    }
}

} // namespace
} // namespace vesk
