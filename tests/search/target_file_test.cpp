// Target files in each form the tool prints, and what is refused, naming file, line and value.
#include <gtest/gtest.h>

#include <string>

#include "search/target_file.h"

namespace vesk {
namespace {

std::vector<std::int32_t> Read(const std::string& text) {
    return ParseTargetText(text, "t").Degrees();
}

std::string Refusal(const std::string& text) {
    try {
        ParseTargetText(text, "target.txt");
    } catch (const ETargetError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(TargetFile, ReadsPlainCsvAndJson) {
    const std::vector<std::int32_t> expected{33, 0, 100, 7};
    EXPECT_EQ(Read("33 0 100 7\n"), expected);
    EXPECT_EQ(Read("33\n0\t100\r\n\n  7"), expected);
    EXPECT_EQ(Read("element,degree\n0,33\n1,0\r\n2, 100\n3,7\n\n"), expected);
    EXPECT_EQ(Read("[33,0,100,7]\n"), expected);
    EXPECT_EQ(Read("  [\n 33,\n 0, 100,\n 7 ]"), expected);
    // What "vesk reference" prints reads back as the reference.
    TFuzzySet reference;
    reference.MakeReference(100);
    std::string plain, csv = "element,degree", json = "[";
    for (std::size_t i = 0; i < reference.Degrees().size(); ++i) {
        const std::string d = std::to_string(reference.Degrees()[i]);
        plain += (i ? " " : "") + d;
        csv += "\n" + std::to_string(i) + "," + d;
        json += (i ? "," : "") + d;
    }
    for (const std::string& text : {plain, csv, json + "]"})
        EXPECT_EQ(Read(text), reference.Degrees());
}

TEST(TargetFile, RefusesWhatIsNotADegreeNamingFileLineAndValue) {
    EXPECT_EQ(Refusal("1 2\n3 x4\n"), "target.txt:2: 'x4' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("101"), "target.txt:1: '101' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("5 -1"), "target.txt:1: '-1' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("50.0"), "target.txt:1: '50.0' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("element,degree\n0,1\n2,5\n"), "target.txt:3: '2' is not the element 1");
    EXPECT_EQ(Refusal("element,degree\n0,1\n1;5\n"),
              "target.txt:3: '1;5' is not a row element,degree");
    EXPECT_EQ(Refusal("[1,\n2,\n 300]"),
              "target.txt:3: '300' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1, \"2\"]"),
              "target.txt:1: '\"2\"' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1, 2.5]"), "target.txt:1: '2.5' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1,\n 2"), "target.txt:2: not a JSON array of degrees (malformed near '2')");
    EXPECT_EQ(Refusal(" \n\n"), "target.txt: no degrees");
    EXPECT_EQ(Refusal("[]"), "target.txt: no degrees");
    EXPECT_EQ(Refusal("element,degree\n"), "target.txt: no degrees");
    try {
        ReadTargetFile("/nonexistent/target.txt");
        FAIL();
    } catch (const ETargetError& error) {
        EXPECT_STREQ(error.what(),
                     "/nonexistent/target.txt: cannot be read: No such file or directory");
    }
}

} // namespace
} // namespace vesk
