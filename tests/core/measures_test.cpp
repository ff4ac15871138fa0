#include <gtest/gtest.h>

#include "test_support.h"

namespace vesk {
namespace {

using test::Bits;
using test::Filled;
using test::SetOf;

TEST(Measures, CardinalityStoresADoubleAfterEveryExtendedStep) {
    EXPECT_EQ(SetOf({0, 50, 100}).Cardinality(), 1.5);
    EXPECT_EQ(Bits(Filled(3, 10).Cardinality()), 0x3FD3333333333333u); // not 0.30000000000000004
    EXPECT_EQ(Bits(Filled(10, 10).Cardinality()), 0x3FEFFFFFFFFFFFFFu);
    EXPECT_EQ(TFuzzySet().Cardinality(), 0.0);
    EXPECT_EQ(Bits(SetOf({267, -167}).Cardinality()), 0x3FEFFFFFFFFFFFFFu);
}

TEST(Measures, HammingDistanceSumsDifferencesOfQuotients) {
    EXPECT_EQ(SetOf({0, 50, 100}).HammingDistance(SetOf({100, 50, 0})), 2.0);
    // Plain doubles would give 0.9999999999999998 here.
    EXPECT_EQ(Bits(Filled(10, 30).HammingDistance(Filled(10, 20))), 0x3FEFFFFFFFFFFFFFu);
    EXPECT_EQ(SetOf({267}).HammingDistance(SetOf({66})), 2.01);
    // Only the common elements count.
    EXPECT_EQ(SetOf({0, 0, 100}).HammingDistance(SetOf({50})), 0.5);
}

TEST(Measures, SubsethoodDividesTheIntersectionsCardinality) {
    EXPECT_EQ(SetOf({50, 50}).Subsethood(SetOf({100, 0})), 0.5);
    EXPECT_EQ(SetOf({50, 50}).Subsethood(SetOf({100})), 0.5);
    EXPECT_EQ(SetOf({267, 50}).Subsethood(SetOf({66, 100})), 0.36593059936908523);
    EXPECT_EQ(SetOf({-167, 100}).Subsethood(SetOf({50, 50})), -0.746268656716418);
}

void ExpectFault(const TFuzzySet& s, const TFuzzySet& b, const char* message) {
    try {
        s.Subsethood(b);
        ADD_FAILURE() << "no fault";
    } catch (const EFloatingPointFault& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

TEST(Measures, SubsethoodFaultsOnAZeroDenominator) {
    ExpectFault(TFuzzySet(), Filled(3, 50), "Invalid floating point operation");
    ExpectFault(Filled(4, 0), Filled(4, 50), "Invalid floating point operation");
    ExpectFault(SetOf({-50, 50}), Filled(2, 100), "Floating point division by zero");
    // The operands are only read.
    const TFuzzySet zero = Filled(4, 0);
    EXPECT_THROW(zero.Subsethood(zero), EFloatingPointFault);
    EXPECT_EQ(zero.Count(), 4);
}

} // namespace
} // namespace vesk
