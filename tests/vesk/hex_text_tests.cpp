#include <gtest/gtest.h>

#include <string>

#include "vesk/fuzzy_block.h"
#include "vesk/hex_text.h"

namespace vesk {
namespace {

std::int32_t ValueOfByte(int code) {
    return HexCharValue(static_cast<char>(code));
}

TEST(HexDigitText, GivesUpperCaseDigitsAndNothingOutOfRange) {
    EXPECT_EQ(HexDigitText(0), "0");
    EXPECT_EQ(HexDigitText(9), "9");
    EXPECT_EQ(HexDigitText(10), "A");
    EXPECT_EQ(HexDigitText(15), "F");
    EXPECT_EQ(HexDigitText(16), "");
    EXPECT_EQ(HexDigitText(-1), "");
}

TEST(HexCharValue, HandlesEveryByteAsUnsignedWithAsciiOnlyCaseFolding) {
    EXPECT_EQ(ValueOfByte('0'), 0);
    EXPECT_EQ(ValueOfByte('9'), 9);
    EXPECT_EQ(ValueOfByte('a'), 10);
    EXPECT_EQ(ValueOfByte('F'), 15);
    EXPECT_EQ(ValueOfByte('G'), 16);
    EXPECT_EQ(ValueOfByte('z'), 35);
    EXPECT_EQ(ValueOfByte(' '), -55);
    EXPECT_EQ(ValueOfByte(0), -87);
    EXPECT_EQ(ValueOfByte(':'), -29);
    EXPECT_EQ(ValueOfByte('@'), -23);
    for (int code = 91; code <= 96; ++code)
        EXPECT_EQ(ValueOfByte(code), code - 87) << code;
    EXPECT_EQ(ValueOfByte('{'), 36);
    EXPECT_EQ(ValueOfByte('~'), 39);
    EXPECT_EQ(ValueOfByte(127), 40);
    EXPECT_EQ(ValueOfByte(0xC4), 109); // a Latin-1 capital is not folded
    EXPECT_EQ(ValueOfByte(255), 168);
    for (int code = 0; code < 256; ++code) {
        bool letter = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
        bool digit = code >= '0' && code <= '9';
        bool odd = code >= 91 && code <= 96;
        std::int32_t v = ValueOfByte(code);
        EXPECT_EQ(v >= 0 && v <= 15, digit || odd || (letter && (code | 0x20) <= 'f')) << code;
        if (code >= 'A' && code <= 'Z') {
            EXPECT_EQ(v, ValueOfByte(code + 32)) << code;
        }
    }
}

TEST(HexPattern, ReadsEitherCaseAndWritesUpperCase) {
    TVesk list;
    list.LoadFromHex("77467C422E8C46887454");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Block(0), (TFuzzyBlock{7, 7, 4, 6, 7}));
    EXPECT_EQ(list.Block(1), (TFuzzyBlock{12, 4, 2, 2, 14}));
    EXPECT_EQ(list.Block(2), (TFuzzyBlock{8, 12, 4, 6, 8}));
    EXPECT_EQ(list.Block(3), (TFuzzyBlock{8, 7, 4, 5, 4}));
    EXPECT_EQ(list.SaveToHex(), "77467C422E8C46887454");

    list.LoadFromHex("af6553666d22533e1571");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Block(0), (TFuzzyBlock{10, 15, 6, 5, 5}));
    EXPECT_EQ(list.Block(3), (TFuzzyBlock{14, 1, 5, 7, 1}));
    EXPECT_EQ(list.SaveToHex(), "AF6553666D22533E1571");
}

TEST(HexPattern, IgnoresATextOfTheWrongLengthWhole) {
    TVesk list;
    list.LoadFromHex("AF6553666D");
    for (const char* text : {"AF65", "AF6553", "AF6553666D22533E1571A"}) {
        list.LoadFromHex(text);
        EXPECT_EQ(list.SaveToHex(), "AF6553666D") << text;
    }
    list.LoadFromHex("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SaveToHex(), "");
}

TEST(HexPattern, InvalidGroupsBecomeTheZeroBlockAndOddCharactersCountAsDigits) {
    TVesk list;
    list.LoadFromHex("77867"
                     "77G67"
                     "7 467"
                     "[[[[["
                     "_0000"
                     "00_00"
                     "\xFF"
                     "1234");
    EXPECT_EQ(list.SaveToHex(), "00000000000000044444800000000000000");
    EXPECT_EQ(list.Block(3), (TFuzzyBlock{4, 4, 4, 4, 4}));
}

TEST(HexPattern, KeepsTheFirst32GroupsAndCountsZeroedOnes) {
    std::string groups;
    for (int i = 0; i < 33; ++i)
        groups += i == 5 ? "ZZZZZ" : "ab" + std::to_string(i % 8) + "7c";
    TVesk list;
    list.LoadFromHex(groups);
    ASSERT_EQ(list.Count(), MaxBlocks);
    std::string expected;
    for (int i = 0; i < 32; ++i)
        expected += i == 5 ? "00000" : "AB" + std::to_string(i % 8) + "7C";
    EXPECT_EQ(list.SaveToHex(), expected);
}

} // namespace
} // namespace vesk
