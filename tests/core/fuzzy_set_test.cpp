#include <gtest/gtest.h>

#include "runtime/random_source.h"
#include "test_support.h"

namespace vesk {
namespace {

using test::Filled;
using test::SetOf;
using Degrees = std::vector<std::int32_t>;

TEST(Degree, HelpersAndValidity) {
    EXPECT_EQ(Complement(0), 100);
    EXPECT_EQ(Complement(100), 0);
    EXPECT_EQ(Complement(150), -50);
    EXPECT_EQ(Complement(INT32_MIN), INT32_MIN + 100); // wraps instead of overflowing
    TDegree d, a(30), b(70);
    d.AssignMax(a, b);
    EXPECT_EQ(d.Value, 70);
    d.AssignMin(a, b);
    EXPECT_EQ(d.Value, 30);
    EXPECT_TRUE(TDegree(0).IsValid());
    EXPECT_TRUE(TDegree(100).IsValid());
    EXPECT_FALSE(TDegree(101).IsValid());
    EXPECT_FALSE(TDegree(-1).IsValid());
}

TEST(FuzzySet, AppendChecksTheRangeOverwriteDoesNot) {
    TFuzzySet s;
    EXPECT_EQ(s.AddDegree(101), -1);
    EXPECT_EQ(s.AddDegree(-1), -1);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.AddDegree(100), 0);
    EXPECT_EQ(s.AddDegree(0), 1);
    EXPECT_TRUE(s.SetDegree(0, 250));
    EXPECT_EQ(s.GetDegree(0), 250);
    EXPECT_FALSE(s.SetDegree(2, 5));
    EXPECT_FALSE(s.SetDegree(-1, 5));
    EXPECT_EQ(s.GetDegree(-1), -1);
    EXPECT_EQ(s.GetDegree(2), -1);
    EXPECT_EQ(s.Degrees(), (Degrees{250, 0}));
}

TEST(FuzzySet, CopyLeavesOutDegreesOutsideTheRange) {
    TFuzzySet src = SetOf({10, 250, 20, -3, 30});
    TFuzzySet copy = SetOf({1, 2, 3, 4, 5, 6, 7});
    copy.CopyFrom(src);
    EXPECT_EQ(copy.Degrees(), (Degrees{10, 20, 30}));
    src.CopyFrom(src);
    EXPECT_EQ(src.Degrees(), (Degrees{10, 20, 30}));
}

TEST(FuzzySet, FillsAndSteps) {
    EXPECT_EQ(Filled(3, 50).Degrees(), (Degrees{50, 50, 50}));
    EXPECT_EQ(Filled(4, 101).Count(), 0);
    EXPECT_EQ(Filled(0, 50).Count(), 0);
    EXPECT_EQ(Filled(-7, 50).Count(), 0);

    struct {
        std::int32_t k;
        Degrees expected;
    } const steps[] = {
        {1, {33, 33, 0, 0, 0}},
        {4, {33, 33, 33, 33, 33}},
        {5, {7, 7, 7, 7, 7}},
        {-1, {7, 7, 7, 7, 7}},
    };
    for (const auto& step : steps) {
        TFuzzySet s = Filled(5, 7);
        s.StepFill(33, 0, step.k);
        EXPECT_EQ(s.Degrees(), step.expected) << "k = " << step.k;
    }
    TFuzzySet s = SetOf({1, 2, 3});
    s.StepFill(-500, 900, 0); // values are not range-checked
    EXPECT_EQ(s.Degrees(), (Degrees{-500, 900, 900}));
    s.ZeroDegrees();
    EXPECT_EQ(s.Degrees(), (Degrees{0, 0, 0}));
    s.ClearDegrees();
    EXPECT_EQ(s.Count(), 0);
}

TEST(FuzzySet, UnionAndIntersectionTakeTheShorterOperand) {
    const TFuzzySet a = SetOf({10, 80, 30}), b = SetOf({50, 20});
    TFuzzySet u = SetOf({9, 9, 9, 9});
    u.Union(a, b);
    EXPECT_EQ(u.Degrees(), (Degrees{50, 80}));
    TFuzzySet i;
    i.Intersection(a, b);
    EXPECT_EQ(i.Degrees(), (Degrees{10, 20}));

    TFuzzySet self = SetOf({10, 80, 30});
    self.Union(self, b);
    EXPECT_EQ(self.Degrees(), (Degrees{50, 80}));
    self = SetOf({10, 80, 30});
    self.Intersection(b, self);
    EXPECT_EQ(self.Degrees(), (Degrees{10, 20}));
}

TEST(FuzzySet, OutOfRangeResultsAreLeftOutAndLaterOnesMoveDown) {
    const TFuzzySet a = SetOf({150, 40, -20, 60}), b = SetOf({10, 50, -30, 70});
    TFuzzySet u;
    u.Union(a, b);
    EXPECT_EQ(u.Degrees(), (Degrees{50, 70}));
    TFuzzySet i;
    i.Intersection(a, b);
    EXPECT_EQ(i.Degrees(), (Degrees{10, 40, 60}));
}

TEST(FuzzySet, RandomFillReseedsFromTheClockEvenWhenEmpty) {
    TFuzzySet s = SetOf({1, 2});
    RandomSource.Seed = 0xFFFFFFFFu; // not a time of day
    s.RandomFill(0);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_LT(RandomSource.Seed, 86400000u);

    s.RandomFill(200);
    ASSERT_EQ(s.Count(), 200);
    for (std::int32_t v : s.Degrees())
        EXPECT_TRUE(TDegree(v).IsValid());
    RandomSource.Seed = 0;
}

} // namespace
} // namespace vesk
