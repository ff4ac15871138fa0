#include <clocale>

#include <gtest/gtest.h>

#include "workbench/text_format.h"

namespace vesk {
namespace {

TEST(FormatReal8_2, PadsToEightAndWritesLongerTextsWhole) {
    EXPECT_EQ(FormatReal8_2(50), "   50.00");
    EXPECT_EQ(FormatReal8_2(0.125), "    0.13");
    EXPECT_EQ(FormatReal8_2(1234.5), " 1234.50");
    EXPECT_EQ(FormatReal8_2(123456.789), "123456.79");
    EXPECT_EQ(FormatReal8_2(0), "    0.00");
    EXPECT_EQ(FormatReal8_2(-1.5), "   -1.50");
    EXPECT_EQ(FormatReal8_2(-12345.678), "-12345.68");
    EXPECT_EQ(FormatReal8_2(1e20), "100000000000000000000.00");
}

TEST(FormatReal8_2, TheThirdDecimalOfTheExpansionDecides) {
    // Doubles just below a tie stay below it in a 17-decimal expansion.
    EXPECT_EQ(FormatReal8_2(2.675), "    2.67");  // 2.67499999999999982...
    EXPECT_EQ(FormatReal8_2(1.005), "    1.00");  // 1.00499999999999989...
    EXPECT_EQ(FormatReal8_2(0.005), "    0.01");  // 0.00500000000000000010...
    EXPECT_EQ(FormatReal8_2(-0.125), "   -0.13"); // ties round away from zero
    // The expansion is rounded first, so a value a hair below ...5 can round up: at the 18th
    // decimal below 10, at the 18th significant digit from 10 on.
    EXPECT_EQ(FormatReal8_2(1.234999999999999999L), "    1.24");
    EXPECT_EQ(FormatReal8_2(1.23499999999999999L), "    1.23");
    EXPECT_EQ(FormatReal8_2(12.34499999999999999L), "   12.35");
    EXPECT_EQ(FormatReal8_2(12.3449999999999999L), "   12.34");
    // Carries run through the integer digits.
    EXPECT_EQ(FormatReal8_2(9.9951), "   10.00");
    EXPECT_EQ(FormatReal8_2(999.999), " 1000.00");
}

TEST(FormatReal8_2, SingleStoreKeepsTextsBelow131072) {
    // A value stored in a float first shows the same text as the double up to 131072.
    EXPECT_EQ(FormatReal8_2(static_cast<float>(52.71999999999991)), "   52.72");
    EXPECT_EQ(FormatReal8_2(static_cast<float>(131071.37)), "131071.37");
}

TEST(FormatReal8_2, FullStopWhateverTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name) && name[0] != 'C') {
            switched = true;
            break;
        }
    EXPECT_EQ(FormatReal8_2(0.125), "    0.13");
    EXPECT_EQ(FormatReal8_2(1234.5), " 1234.50");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
}

TEST(FormatInteger, PadsToTheWidth) {
    EXPECT_EQ(FormatInteger(100, 10), "       100");
    EXPECT_EQ(FormatInteger(5, 10), "         5");
    EXPECT_EQ(FormatInteger(42, 5), "   42");
    EXPECT_EQ(FormatInteger(-3, 5), "   -3");
    EXPECT_EQ(FormatInteger(123456, 5), "123456");
}

} // namespace
} // namespace vesk
