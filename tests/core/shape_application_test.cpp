#include <gtest/gtest.h>

#include "test_support.h"

namespace vesk {
namespace {

using test::Filled;
using Degrees = std::vector<std::int32_t>;

struct TApplyRow {
    std::int32_t Shape, Repeats, First, Last, Op;
    Degrees Expected; // empty: rejected, set unchanged
};

const TApplyRow Applications[] = {
    {0, 1, 0, 9, 0, {50, 50, 50, 75, 100, 50, 50, 50, 75, 100}},
    {0, 3, 0, 9, 10, {0, 50, 0, 50, 0, 50, 0, 16, 33, 50}},
    {2, 0, 2, 6, 1, {50, 50, 0, 50, 50, 50, 0, 50, 50, 50}},
    {0, 5, 2, 4, 0, {50, 50, 50, 50, 100, 50, 50, 50, 50, 50}},
    {6, 0, 0, 9, 0, {50, 50, 89, 100, 100, 100, 100, 89, 50, 50}},
    {16, 0, 0, 9, 2, {25, 27, 38, 61, 75, 61, 38, 27, 25, 25}},
    {16, 1, 0, 9, 0, {50, 50, 100, 50, 50, 50, 50, 100, 50, 50}},
    {16, 0, 3, 3, 0, {50, 50, 50, 100, 50, 50, 50, 50, 50, 50}},
    {0, 9, 0, 9, 20, {50, 50, 50, 50, 50, 56, 67, 78, 89, 100}},
    {0, -1, 0, 9, -3, {50, 50, 50, 50, 50, 56, 67, 78, 89, 100}},
    {18, 0, 0, 9, 0, {50, 50, 50, 50, 50, 56, 67, 78, 89, 100}},
};

TEST(ApplyShape, PiecesShapesAndOperators) {
    for (const auto& row : Applications) {
        TFuzzySet s = Filled(10, 50);
        EXPECT_TRUE(s.ApplyShape(row.Shape, row.Repeats, row.First, row.Last, row.Op));
        EXPECT_EQ(s.Degrees(), row.Expected) << row.Shape << ", " << row.Repeats << ", "
                                             << row.First << ", " << row.Last << ", " << row.Op;
    }
}

TEST(ApplyShape, RejectsIntervalsOutsideTheSet) {
    const struct {
        std::int32_t First, Last;
    } rejected[] = {{5, 4}, {0, 10}, {-1, 3}, {10, 10}, {-5, -1}, {INT32_MIN, INT32_MAX}};
    for (const auto& r : rejected) {
        TFuzzySet s = Filled(10, 50);
        EXPECT_FALSE(s.ApplyShape(16, 0, r.First, r.Last, 0)) << r.First << ".." << r.Last;
        EXPECT_EQ(s.Degrees(), Filled(10, 50).Degrees());
    }
    TFuzzySet empty;
    EXPECT_FALSE(empty.ApplyShape(0, 0, 0, 0, 0));
}

TEST(ApplyShape, ValuesBeyondTheRangeAreStored) {
    TFuzzySet s = Filled(12, 50);
    s.ApplyShape(8, 2, 0, 11, 0);
    EXPECT_EQ(s.Degrees(), (Degrees{50, 183, 117, 50, 50, 183, 117, 50, 50, 183, 117, 50}));
}

TEST(ApplyShape, TwoElementBellFaultsAfterWritingTheElementsBeforeIt) {
    TFuzzySet s = Filled(10, 50);
    EXPECT_THROW(s.ApplyShape(16, 0, 1, 2, 0), EFloatingPointFault);
    EXPECT_EQ(s.Degrees(), Filled(10, 50).Degrees());

    // Repeats 4 over 0..9: pieces of two elements, the first of which faults at once.
    s = Filled(10, 50);
    EXPECT_THROW(s.ApplyShape(16, 4, 0, 9, 0), EFloatingPointFault);
    EXPECT_EQ(s.Degrees(), Filled(10, 50).Degrees());

    // Repeats 1 over three elements: a one-element piece (a bell of 100) is written, then the
    // two-element piece faults before touching its elements.
    s = Filled(10, 50);
    EXPECT_THROW(s.ApplyShape(16, 1, 4, 6, 0), EFloatingPointFault);
    EXPECT_EQ(s.Degrees(), (Degrees{50, 50, 50, 50, 100, 50, 50, 50, 50, 50}));
}

} // namespace
} // namespace vesk
