// Element counts from 0 to 5000, the range the workbench and its sweep reach: which counts fault,
// with which message, through the library, the session and the tool.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "fuzzyset/fuzzy_set.h"
#include "runtime/fp_fault.h"
#include "tool_process.h"
#include "vesk/agent.h"

namespace vesk::test {
namespace {

template <typename F> std::optional<TFaultKind> FaultOf(F f) {
    try {
        f();
    } catch (const EFloatingPointFault& fault) {
        return fault.Kind();
    }
    return std::nullopt;
}

TEST(ElementCounts, TheReferenceFaultsExactlyFromTwoToNine) {
    for (std::int32_t n = 0; n <= 5000; ++n) {
        TFuzzySet reference;
        const auto fault = FaultOf([&] { reference.MakeReference(n, false); });
        if (n >= 2 && n <= 9)
            EXPECT_EQ(fault, TFaultKind::DivisionByZero) << n;
        else
            EXPECT_EQ(fault, std::nullopt) << n;
    }
}

// Blocks cannot name the bell, the one shape that divides by a width, so no block shape,
// repeat count, position or operator faults at any count; only scoring an empty projection does.
TEST(ElementCounts, AProjectionNeverFaultsAndOnlyAnEmptyOneCannotBeScored) {
    TFuzzySet reference;
    reference.MakeReference(100, false);
    for (std::int32_t n = 0; n <= 64; ++n)
        for (std::int32_t shape = 0; shape <= 15; ++shape)
            for (std::int32_t repeats = 0; repeats <= 7; ++repeats)
                for (std::int32_t spread = 0; spread <= 7; ++spread) {
                    TVeskAgent agent(1, n, false);
                    agent.Pattern.ClearBlocks();
                    TFuzzyBlock block{shape, 8, spread, repeats, (shape + repeats) % 16};
                    ASSERT_EQ(agent.Pattern.AddBlock(block), 0);
                    TFuzzySet set;
                    ASSERT_EQ(FaultOf([&] { agent.Project(set); }), std::nullopt) << n;
                    ASSERT_EQ(set.Count(), n);
                }
    for (std::int32_t n : {0, 1, 100, 500, 1000, 2047, 2048, 2049, 4999, 5000}) {
        TVeskAgent agent(1, n, false);
        agent.LoadHex("0F771"
                      "1F772"
                      "2F773"
                      "3F774"
                      "4F775"
                      "5F776"
                      "6F777"
                      "7F778"
                      "8F779"
                      "9F77A"
                      "AF77B"
                      "BF77C"
                      "CF77D"
                      "DF77E"
                      "EF77F"
                      "FF770");
        TFuzzySet set, against;
        ASSERT_EQ(FaultOf([&] { agent.Project(set); }), std::nullopt) << n;
        against.MakeReference(n, false);
        const auto fault = FaultOf([&] { agent.Evaluate(set, against); });
        if (n == 0)
            EXPECT_EQ(fault, TFaultKind::InvalidOperation);
        else
            EXPECT_EQ(fault, std::nullopt) << n;
    }
}

// Thirty-two trapezoids, each drawn eight times over 100 elements and merged by product: past
// its plateau a trapezoid on a short piece rises above 100 (145 on twelve elements), so the
// products compound far outside 0..100, the mean distance to the reference exceeds 1 and the
// fitness falls below 5, to 0.
TEST(ElementCounts, DegreesCompoundedFarOutsideTheRangeScoreBelowFive) {
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += "6877A";
    TVeskAgent agent(1, 100, false);
    agent.LoadHex(text);
    TFuzzySet set, reference;
    agent.Project(set);
    reference.MakeReference(100, false);
    agent.Evaluate(set, reference);
    EXPECT_EQ(agent.Fitness, 0);
    EXPECT_TRUE(std::any_of(set.Degrees().begin(), set.Degrees().end(),
                            [](std::int32_t v) { return v > 1000 || v < -1000; }));
    const TToolRun run = RunTool({"session"}, "hexa " + text + "\nhexa-string\n");
    EXPECT_NE(run.Out.find(R"("fitness":"         0","message":null,"error":null})"),
              std::string::npos)
        << run.Out;
}

TEST(ElementCounts, TheToolAnswersEachCountFromZeroToTwenty) {
    for (int n = 0; n <= 20; ++n) {
        const TToolRun reference = RunTool({"reference", std::to_string(n)});
        const TToolRun project = RunTool({"project", "77467C422E8C46887454", std::to_string(n)});
        EXPECT_EQ(project.Status, 0) << n;
        if (n >= 2 && n <= 9) {
            EXPECT_EQ(reference.Status, 1) << n;
            EXPECT_EQ(reference.Err, "vesk: Floating point division by zero.\n");
        } else {
            EXPECT_EQ(reference.Status, 0) << n;
            EXPECT_EQ(std::count(reference.Out.begin(), reference.Out.end(), ' '),
                      n > 0 ? n - 1 : 0);
        }
    }
}

TEST(ElementCounts, ScoringAgainstAnEmptyOrFaultingReference) {
    const TToolRun empty = RunTool({"score", "-n", "0"}, "77467C422E8C46887454\n00000\n");
    EXPECT_EQ(empty.Status, 1);
    EXPECT_EQ(empty.Out, "\n\n");
    EXPECT_EQ(empty.Err, "vesk: line 1: Invalid floating point operation.\n"
                         "vesk: line 2: Invalid floating point operation.\n");

    const TToolRun small = RunTool({"score", "-n", "7"}, "77467C422E8C46887454\n");
    EXPECT_EQ(small.Status, 1);
    EXPECT_EQ(small.Err, "vesk: Floating point division by zero.\n");
}

// The element field holds any text; a command commits it into 1..2048 first, so of the counts
// 0..5000 only 2..9 fault, and an unparsable text works on one element.
TEST(ElementCounts, TheSessionFieldCommitsItsTextBeforeUse) {
    struct TCase {
        const char* Text;
        const char* Committed;
        const char* Error;
    };
    for (const TCase& c :
         {TCase{"0", "1", nullptr}, TCase{"-5", "1", nullptr},
          TCase{"2", "2", "Floating point division by zero."},
          TCase{"9", "9", "Floating point division by zero."}, TCase{"10", "10", nullptr},
          TCase{"5000", "2048", nullptr}, TCase{"99999999999", "99999999999", nullptr},
          TCase{"$801", "2048", nullptr}, TCase{" 12", " 12", nullptr}}) {
        const TToolRun run =
            RunTool({"session"}, std::string("hexa 00000\nelements ") + c.Text + "\nhexa-string\n");
        EXPECT_EQ(run.Status, 0) << c.Text;
        EXPECT_EQ(run.Out.rfind(std::string(R"({"elements":")") + c.Committed + "\"", 0), 0u)
            << c.Text << ": " << run.Out;
        const std::string error =
            c.Error ? std::string(R"("error":")") + c.Error + "\"}" : R"("error":null})";
        EXPECT_NE(run.Out.find(error), std::string::npos) << c.Text << ": " << run.Out;
    }
}

} // namespace
} // namespace vesk::test
