#include <gtest/gtest.h>

#include <vector>

#include "fuzzyset/shapes.h"
#include "runtime/fp_fault.h"

namespace vesk {
namespace {

using Degrees = std::vector<std::int32_t>;

Degrees Curve(std::int32_t code, std::int32_t W) {
    Degrees out;
    for (std::int32_t x = 0; x <= W; ++x)
        out.push_back(ShapeDegree(code, 0, W, x));
    return out;
}

struct TCurveRow {
    std::int32_t Code, W;
    Degrees Expected;
};

const TCurveRow Curves[] = {
    {0, 8, {0, 12, 25, 38, 50, 62, 75, 88, 100}},
    {2, 8, {0, 25, 50, 75, 100, 75, 50, 25, 0}},
    {4, 8, {25, 25, 25, 25, 25, 75, 75, 75, 75}},
    {6, 8, {0, 50, 100, 100, 100, 100, 100, 50, 0}},
    {8, 8, {50, 25, 0, 25, 50, 75, 100, 75, 50}},
    {10, 8, {0, 25, 50, 75, 100, 25, 50, 75, 100}},
    {12, 8, {0, 19, 38, 50, 50, 44, 62, 81, 100}},
    {14, 8, {50, 38, 25, 12, 0, 62, 75, 88, 100}},
    {16, 8, {1, 5, 27, 72, 100, 72, 27, 5, 1}},
    {0, 7, {0, 14, 29, 43, 57, 71, 86, 100}},
    {6, 7, {0, 57, 100, 100, 171, 114, 57, 0}},
    {8, 7, {50, 21, 7, 36, 136, 107, 79, 50}},
    {12, 5, {0, 30, 50, 40, 70, 100}},
    {16, 9, {1, 5, 27, 72, 100, 72, 27, 5, 1, 0}},
    {16, 10, {1, 3, 15, 43, 81, 100, 81, 43, 15, 3, 1}},
    {6, 2, {0, 200, 0}},
    {8, 2, {50, 150, 50}},
    {6, 3, {0, 267, 133, 0}},
    {8, 3, {50, 183, 117, 50}},
    {2, 1, {0, 0}},
    {14, 1, {50, 100}},
    {16, 2, {1, 100, 1}},
};

TEST(Shapes, BaseCurvesAndTheirComplements) {
    for (const auto& row : Curves) {
        EXPECT_EQ(Curve(row.Code, row.W), row.Expected) << "code " << row.Code << " W " << row.W;
        Degrees complement;
        for (std::int32_t v : row.Expected)
            complement.push_back(100 - v);
        EXPECT_EQ(Curve(row.Code + 1, row.W), complement) << "code " << row.Code + 1;
    }
}

TEST(Shapes, EmptySpansGiveEachCodesFixedValue) {
    const Degrees expected = {0,  100, 0,   100, 25,  75, 0,  100, 50,
                              50, 0,   100, 0,   100, 50, 50, 100, 0};
    for (std::int32_t code = 0; code < ShapeCodeCount; ++code) {
        EXPECT_EQ(ShapeDegree(code, 5, 5, 5), expected[code]) << "single element, code " << code;
        EXPECT_EQ(ShapeDegree(code, 9, 4, 6), expected[code]) << "Last < First, code " << code;
    }
}

TEST(Shapes, ExtendedPrecisionDecidesHalfWayPoints) {
    // In doubles these quotients round onto .5 and would go the other way.
    EXPECT_EQ(ShapeDegree(0, 0, 200, 59), 29);
    EXPECT_EQ(ShapeDegree(0, 0, 40, 23), 58);
    EXPECT_EQ(ShapeDegree(14, 0, 40, 17), 7);
    EXPECT_EQ(ShapeDegree(14, 0, 40, 19), 3);
    // Exact ties go to the even integer.
    EXPECT_EQ(ShapeDegree(0, 0, 8, 1), 12);
    EXPECT_EQ(ShapeDegree(0, 0, 8, 3), 38);
    // Offsets from First, not absolute indexes.
    EXPECT_EQ(ShapeDegree(0, 100, 108, 101), 12);
    EXPECT_EQ(ShapeDegree(16, 40, 48, 44), 100);
}

TEST(Shapes, OutOfRangeCodesDrawTheRisingRamp) {
    for (std::int32_t code : {18, -1, 255, INT32_MIN})
        EXPECT_EQ(Curve(code, 8), Curve(0, 8)) << "code " << code;
}

TEST(Shapes, TwoElementBellDividesByZero) {
    for (std::int32_t code : {16, 17})
        for (std::int32_t x : {0, 1}) {
            try {
                ShapeDegree(code, 0, 1, x);
                ADD_FAILURE() << "no fault for code " << code;
            } catch (const EFloatingPointFault& e) {
                EXPECT_EQ(e.Kind(), TFaultKind::DivisionByZero);
                EXPECT_STREQ(e.what(), "Floating point division by zero");
            }
        }
    // The fault leaves nothing behind: later evaluations are unaffected.
    EXPECT_EQ(Curve(16, 2), (Degrees{1, 100, 1}));
}

TEST(Shapes, HugeSpansWrapInsteadOfOverflowing) {
    // h * h wraps to 0 in 32 bits for h = 65536: the bell then divides by zero.
    EXPECT_THROW(ShapeDegree(16, 0, 131072, 0), EFloatingPointFault);
    // Big spans elsewhere stay defined and in range.
    EXPECT_EQ(ShapeDegree(0, 0, 1000000, 500000), 50);
    EXPECT_EQ(ShapeDegree(12, 0, 1000000, 1000000), 100);
}

} // namespace
} // namespace vesk
