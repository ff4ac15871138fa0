#include <gtest/gtest.h>

#include "workbench/spin_field.h"

namespace vesk {
namespace {

TEST(ParseSpinInteger, TakesBlanksSignsDecimalAndHexadecimal) {
    EXPECT_EQ(ParseSpinInteger(" 42"), 42);
    EXPECT_EQ(ParseSpinInteger("   +7"), 7);
    EXPECT_EQ(ParseSpinInteger("-12"), -12);
    EXPECT_EQ(ParseSpinInteger("$1F"), 31);
    EXPECT_EQ(ParseSpinInteger("$1f"), 31);
    EXPECT_EQ(ParseSpinInteger("0x10"), 16);
    EXPECT_EQ(ParseSpinInteger("-$10"), -16);
    EXPECT_EQ(ParseSpinInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseSpinInteger("-2147483648"), INT32_MIN);
    // A hexadecimal text is a 32-bit pattern read as two's complement.
    EXPECT_EQ(ParseSpinInteger("$FFFFFFFF"), -1);
}

TEST(ParseSpinInteger, RefusesWhatIsNotAWhole32BitNumber) {
    for (const char* text :
         {"", "   ", "+", "-", "$", "0x", "12.5", "42a", "42 ", "4 2", "2147483648", "-2147483649",
          "$100000000", "99999999999999999999", "$G", "1e3"})
        EXPECT_FALSE(ParseSpinInteger(text).has_value()) << '"' << text << '"';
}

TEST(SpinField, ReadsUnclampedAndWritesClamped) {
    TSpinField field(1, 2048, 100);
    EXPECT_EQ(field.Text, "100");
    field.Text = "3000";
    EXPECT_EQ(field.ReadValue(), 3000);
    field.Text = "12.5";
    EXPECT_EQ(field.ReadValue(), 1);
    field.WriteValue(0);
    EXPECT_EQ(field.Text, "1");
    field.WriteValue(5000);
    EXPECT_EQ(field.Text, "2048");

    TSpinField blocks(1, 32, 16);
    blocks.WriteValue(40);
    EXPECT_EQ(blocks.Text, "32");
}

TEST(SpinField, CommitClampsParsedValuesAndKeepsUnparsableText) {
    TSpinField field(1, 2048, 100);
    field.Text = "3000";
    EXPECT_EQ(field.CommitAndRead(), 2048);
    EXPECT_EQ(field.Text, "2048");
    field.Text = "2000000000";
    EXPECT_EQ(field.CommitAndRead(), 2048);
    field.Text = "-7";
    EXPECT_EQ(field.CommitAndRead(), 1);
    EXPECT_EQ(field.Text, "1");
    field.Text = "$20";
    field.Commit();
    EXPECT_EQ(field.Text, "$20"); // in bounds: the text stays as typed
    for (const char* text : {"", "abc", "+"}) {
        field.Text = text;
        EXPECT_EQ(field.CommitAndRead(), 1);
        EXPECT_EQ(field.Text, text);
    }
}

TEST(SpinField, StepsStayInBoundsEvenFromExtremeTexts) {
    TSpinField field(1, 32, 16);
    field.Step(1);
    EXPECT_EQ(field.Text, "17");
    field.Text = "32";
    field.Step(1);
    EXPECT_EQ(field.Text, "32");
    field.Text = "2147483647";
    field.Step(1);
    EXPECT_EQ(field.Text, "32");
    field.Text = "-2147483648";
    field.Step(-1);
    EXPECT_EQ(field.Text, "1");
}

} // namespace
} // namespace vesk
