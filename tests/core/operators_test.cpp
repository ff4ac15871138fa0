#include <gtest/gtest.h>

#include <vector>

#include "fuzzyset/operators.h"

namespace vesk {
namespace {

std::vector<std::int32_t> AllCodes(std::int32_t Old, std::int32_t New) {
    std::vector<std::int32_t> out;
    for (std::int32_t op = 0; op < OperatorCount; ++op)
        out.push_back(Combine(op, Old, New));
    return out;
}

TEST(Operators, EveryCodeOnNominalDegrees) {
    EXPECT_EQ(AllCodes(50, 75), (std::vector<std::int32_t>{75, 50, 62, 38, 50, 25, 25, 50, 50, 75,
                                                           37, 63, 37, 50, 25, 37}));
    EXPECT_EQ(AllCodes(33, 67), (std::vector<std::int32_t>{67, 33, 50, 50, 67, 33, 33, 33, 67, 67,
                                                           22, 78, 22, 67, 22, 33}));
}

TEST(Operators, UnknownCodesGiveZero) {
    for (std::int32_t op : {16, 255, -1, INT32_MAX})
        EXPECT_EQ(Combine(op, 80, 90), 0);
}

TEST(Operators, OrderAndSignsMatter) {
    EXPECT_EQ(Combine(6, 80, 30), 70);
    EXPECT_EQ(Combine(6, 30, 80), 20);
    EXPECT_EQ(Combine(2, -41, 50), 4);
    EXPECT_EQ(Combine(10, -41, 50), -20);
    EXPECT_EQ(Combine(11, -41, 50), 120);
    EXPECT_EQ(Combine(2, 0, -83), -41);
    EXPECT_EQ(Combine(3, 0, -83), 141);
    EXPECT_EQ(Combine(0, 150, 267), 267);
    EXPECT_EQ(Combine(2, 150, 267), 208);
    EXPECT_EQ(Combine(10, 150, 267), 400);
    EXPECT_EQ(Combine(11, 150, 267), -300);
    EXPECT_EQ(Combine(5, 150, 267), -167);
}

TEST(Operators, ProductsAndSumsWrapIn32Bits) {
    // 100000 * 100000 keeps its low 32 bits, 1410065408, before the division.
    EXPECT_EQ(Combine(10, 100000, 100000), 14100654);
    EXPECT_EQ(Combine(2, INT32_MAX, 1), INT32_MIN / 2);
    EXPECT_EQ(Combine(11, INT32_MIN, 1), 100 + 21474836);
    EXPECT_EQ(Combine(4, INT32_MIN, 0), INT32_MIN + 100);
}

} // namespace
} // namespace vesk
