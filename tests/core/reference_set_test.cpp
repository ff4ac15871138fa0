#include <gtest/gtest.h>

#include <numeric>

#include "runtime/random_source.h"
#include "test_support.h"

namespace vesk {
namespace {

using Degrees = std::vector<std::int32_t>;

Degrees Reference(std::int32_t n) {
    TFuzzySet s;
    s.MakeReference(n);
    return s.Degrees();
}

TEST(ReferenceSet, TwelveElements) {
    EXPECT_EQ(Reference(12), (Degrees{33, 33, 33, 33, 100, 13, 50, 56, 100, 66, 66, 66}));
}

TEST(ReferenceSet, HundredElementsAndItsCardinality) {
    const Degrees expected = {33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33,  33,
                              33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33, 47, 72, 92,  100,
                              92, 72, 47, 27, 13, 6,  9,  13, 18, 23, 30, 36, 41, 46, 49, 50,  49,
                              46, 41, 36, 30, 36, 43, 50, 58, 66, 74, 81, 87, 93, 97, 99, 100, 99,
                              97, 93, 87, 81, 74, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66,  66,
                              66, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66, 66};
    TFuzzySet s;
    s.MakeReference(100);
    EXPECT_EQ(s.Degrees(), expected);
    EXPECT_EQ(std::accumulate(expected.begin(), expected.end(), 0), 5272);
    EXPECT_EQ(test::Bits(s.Cardinality()), 0x404A5C28F5C28F4Fu); // 52.71999999999991
}

TEST(ReferenceSet, SmallSizes) {
    EXPECT_EQ(Reference(1), (Degrees{100}));
    EXPECT_EQ(Reference(10), (Degrees{33, 33, 33, 100, 50, 27, 100, 66, 66, 66}));
    EXPECT_EQ(Reference(11), (Degrees{33, 33, 33, 100, 13, 50, 56, 100, 66, 66, 66}));
    EXPECT_TRUE(Reference(0).empty());
    EXPECT_TRUE(Reference(-4).empty());
}

TEST(ReferenceSet, SizesTwoToNineFaultAndKeepWhatEarlierStepsMade) {
    // n = 2: the second bell (over 0..1) faults after the plateau and the first bell.
    // n = 4: the averaged bell faults after the first union, with both bells and the plateau
    // of 66 in place.
    const struct {
        std::int32_t n;
        Degrees kept;
    } cases[] = {
        {2, {100, 0}},
        {3, {33, 33, 0}},
        {4, {33, 100, 100, 66}},
        {5, {33, 33, 0, 0, 0}},
        {9, {33, 33, 33, 33, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        TFuzzySet s;
        try {
            s.MakeReference(c.n);
            ADD_FAILURE() << "no fault for n = " << c.n;
        } catch (const EFloatingPointFault& e) {
            EXPECT_STREQ(e.what(), "Floating point division by zero") << "n = " << c.n;
        }
        EXPECT_EQ(s.Degrees(), c.kept) << "n = " << c.n;
    }
    for (std::int32_t n = 6; n <= 8; ++n)
        EXPECT_THROW(Reference(n), EFloatingPointFault);
}

TEST(ReferenceSet, EveryLargerSizeWorks) {
    for (std::int32_t n = 10; n <= 600; ++n) {
        const Degrees r = Reference(n);
        ASSERT_EQ(static_cast<std::int32_t>(r.size()), n);
        for (std::int32_t v : r)
            ASSERT_TRUE(v >= 0 && v <= 100) << "n = " << n;
    }
}

TEST(ReferenceSet, RandomVariantFillsFromTheClock) {
    TFuzzySet s;
    s.MakeReference(5, true);
    EXPECT_EQ(s.Count(), 5);
    RandomSource.Seed = 0;
}

} // namespace
} // namespace vesk
