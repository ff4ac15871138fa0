// The limits of the vesk tool and what it says at them: options it cannot take, element counts
// past the largest whole reference, target files it cannot take, and quoted input in messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fuzzyset/fuzzy_set.h"
#include "runtime/quoted_text.h"
#include "tool_process.h"

namespace vesk::test {
namespace {

using namespace std::string_literals;
using nlohmann::json;

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

TEST(ToolLimits, OptionsSayInAFewWordsWhatTheyCannotTake) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"evolve", "--evaluations", "1.5"}, "--evaluations: must be a whole number"},
        {{"evolve", "--evaluations", "1e6"}, "--evaluations: must be a whole number"},
        {{"evolve", "--evaluations", "-5"}, "--evaluations: must be 1 to 1000000000000"},
        {{"evolve", "--evaluations", "-99999999999999999999999"},
         "--evaluations: must be 1 to 1000000000000"},
        {{"evolve", "--seed", "-1"}, "--seed: must be 0 to 4294967295"},
        {{"evolve", "--islands", "257"}, "--islands: must be 1 to 256"},
        {{"evolve", "--blocks", "0x10"}, "--blocks: must be a whole number"},
        {{"evolve", "--seconds", "nan"}, "--seconds: must be a number"},
        {{"evolve", "--seconds", "inf"}, "--seconds: must be a number"},
        {{"evolve", "--seconds", "-1"}, "--seconds: must be more than 0 and at most 1000000000"},
        {{"evolve", "--seconds", "1e400"}, "--seconds: must be more than 0 and at most 1000000000"},
        {{"evolve", "--distance", "nan"}, "--distance: must be a number"},
        {{"evolve", "--target", ""}, "--target: must not be empty"},
        {{"evolve", "--format", "0"}, "--format: '0' is not one of json, plain"},
        {{"evolve", "--objective", "x"}, "--objective: 'x' is not one of distance, sweep"},
        {{"score", "--jobs", "2.0"}, "--jobs: must be a whole number"},
        {{"describe", "00000", "-n", "0"}, "--elements: must be 1 to 185360"},
        {{"shape", "3", "-1"}, "W: must be 0 to 185359"},
        // What the user typed comes back quoted, escaped and cut short, and in order.
        {{"score", "--format", "x\x1B[31m"},
         "--format: 'x\\u001B[31m' is not one of csv, json, plain"},
        {{"evolve", "--shapes", std::string(100000, '7')},
         "--shapes: '" + std::string(60, '7') +
             "'... is not a code 0..15 or a range LOW-HIGH of them"},
        {{"evolve", "--jobs", "2"}, "'--jobs' is not an option of vesk evolve"},
        {{"evolve", "--seed", "1", "2", "3"},
         "unexpected argument '2' (vesk evolve takes no more)"},
        {{"evolve", "--start", "0000\xC3\xA9"},
         "--start: character 5 (\"\xC3\xA9\") is not a hexadecimal digit"},
        {{"evolve", "--start", "77467C422E8C46887454", "--shapes", "0-6", "--blocks", "4"},
         "the start pattern's block 1 has shape 7, which the allowed shapes leave out"},
    };
    for (const auto& [args, message] : cases) {
        const TToolRun run = RunTool(args);
        EXPECT_EQ(run.Status, 2) << args[1];
        EXPECT_EQ(FirstLine(run.Err), "vesk: " + message) << args[1];
        EXPECT_EQ(run.Out, "");
    }
}

// Past the largest whole reference the bells' squares wrap and the set comes out short; every
// command refuses such counts instead of working on a set of another size.
TEST(ToolLimits, EveryElementCountGivesAWholeReferenceOrIsRefused) {
    TFuzzySet set;
    set.MakeReference(MaxReferenceElements);
    EXPECT_EQ(set.Count(), MaxReferenceElements);
    set.MakeReference(MaxReferenceElements + 1);
    EXPECT_LT(set.Count(), MaxReferenceElements + 1); // the wrap, kept as the arithmetic has it

    const std::string largest = std::to_string(MaxReferenceElements);
    const std::string past = std::to_string(MaxReferenceElements + 1);
    EXPECT_EQ(json::parse(RunTool({"reference", largest, "--format", "json"}).Out).size(),
              static_cast<std::size_t>(MaxReferenceElements));
    for (const std::vector<std::string>& args : {std::vector<std::string>{"reference", past},
                                                 {"project", "00000", past},
                                                 {"score", "-n", past},
                                                 {"evolve", "-n", past},
                                                 {"describe", "00000", "-n", past}}) {
        const TToolRun run = RunTool(args);
        EXPECT_EQ(run.Status, 2) << args[0];
        EXPECT_NE(run.Err.find("to " + largest), std::string::npos) << run.Err;
    }
    const TToolRun evolved = RunTool({"evolve", "-n", largest, "--evaluations", "30", "-q"});
    ASSERT_EQ(evolved.Status, 0) << evolved.Err;
    EXPECT_EQ(json::parse(evolved.Out)["elements"], MaxReferenceElements);
}

TEST(ToolLimits, TargetFilesItCannotTakeEndWithTheFileAndLine) {
    TScratch dir;
    const auto refusal = [&](const std::string& name, const std::string& bytes) {
        const std::string path = dir.Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        const TToolRun run = RunTool({"evolve", "--target", path, "-q"});
        EXPECT_EQ(run.Status, 1) << name;
        EXPECT_EQ(run.Out, "");
        return run.Err.substr(0, run.Err.size() - (run.Err.empty() ? 0 : 1))
            .substr(std::string("vesk: ").size() + path.size());
    };
    const std::string deep = std::string(20000, '[') + std::string(20000, ']');
    EXPECT_EQ(refusal("deep.json", deep),
              ":1: '" + std::string(60, '[') + "'... is not a degree (a whole number 0..100)");
    EXPECT_EQ(refusal("huge.json", "[1,\n1e999]"),
              ":2: '1e999' is not a degree (a whole number 0..100)");
    EXPECT_EQ(refusal("object.json", "[{\"a\":[1]}]"),
              ":1: '{\"a\":[1]}' is not a degree (a whole number 0..100)");
    EXPECT_EQ(refusal("bytes.txt", "1 2\n\x01\xff\xef\xbb\xbf\x00"s),
              ":2: '\\u0001\\xFF\\uFEFF\\u0000' is not a degree (a whole number 0..100)");
    EXPECT_EQ(refusal("many.txt",
                      [] {
                          std::string text;
                          for (int k = 0; k <= MaxReferenceElements; ++k)
                              text += "7\n";
                          return text;
                      }()),
              ":185361: more than 185360 degrees");
    // A byte-order mark before the first degree is skipped.
    const std::string bom = dir.Path("bom.csv");
    std::ofstream(bom) << "\xef\xbb\xbf"
                          "element,degree\n0,10\n1,90\n";
    const TToolRun read = RunTool({"evolve", "--target", bom, "--evaluations", "50", "-q"});
    EXPECT_EQ(read.Status, 0) << read.Err;
    EXPECT_EQ(json::parse(read.Out)["elements"], 2);
    // Input without an end is refused once it passes the limit.
    const TToolRun endless = RunTool({"evolve", "--target", "/dev/zero"});
    EXPECT_EQ(endless.Status, 1);
    EXPECT_EQ(endless.Err, "vesk: /dev/zero: longer than 67108864 bytes\n");
}

TEST(ToolLimits, QuotedInputIsBoundedAndVisible) {
    EXPECT_EQ(QuotedInput("abc"), "\"abc\"");
    EXPECT_EQ(QuotedInput("a'b\\c", '\''), "'a\\'b\\\\c'");
    EXPECT_EQ(QuotedInput("\n\t\r\x7f\x1b"), "\"\\n\\t\\r\\u007F\\u001B\"");
    EXPECT_EQ(QuotedInput("\xc3\xa9\xe2\x82\xac"), "\"\xc3\xa9\xe2\x82\xac\""); // é €
    EXPECT_EQ(QuotedInput("\xc2\x85\xe2\x80\xa8"), "\"\\u0085\\u2028\"");
    EXPECT_EQ(QuotedInput("\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xe2\x82"),
              "\"\\xC0\\xAF\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80\\xE2\\x82\"");
    EXPECT_EQ(QuotedInput(std::string(61, 'x')), "\"" + std::string(60, 'x') + "\"...");
    EXPECT_EQ(QuotedInput(std::string(60, 'x')), "\"" + std::string(60, 'x') + "\"");
    // A file name is escaped alike, unquoted, and cut only past what a system could open.
    EXPECT_EQ(ShownFileName("dir/no\nsuch\x1b[31m"), "dir/no\\nsuch\\u001B[31m");
    EXPECT_EQ(ShownFileName(std::string(1025, 'x')), std::string(1024, 'x') + "...");
    const TToolRun missing = RunTool({"evolve", "--target", "no\nsuch\x1b[31m"});
    EXPECT_EQ(missing.Err,
              "vesk: no\\nsuch\\u001B[31m: cannot be read: No such file or directory\n");
    EXPECT_EQ(RunTool({"plot", "00000", "-o", "/dev/null/a\nb"}).Err,
              "vesk: Cannot create file /dev/null/a\\nb: Not a directory.\n");
    EXPECT_EQ(Trimmed(" \t a b \r\f\v"), "a b");
    EXPECT_EQ(Trimmed(" \t "), "");
}

TEST(ToolLimits, DescribeQuotesCsvEscapesBytesAndShowsDroppedGroupsAsWritten) {
    const std::string groups33 = [] {
        std::string text;
        for (int k = 0; k < 32; ++k)
            text += "00000";
        return text + "AF655";
    }();
    const TToolRun csv = RunTool({"describe", "7,\"67" + groups33.substr(5), "--format", "csv"});
    ASSERT_EQ(csv.Status, 0) << csv.Err;
    EXPECT_EQ(csv.Out.substr(csv.Out.find('\n') + 1, 13), "0,\"7,\"\"67\",0,");
    EXPECT_NE(csv.Out.find("32,AF655,10,double ramp,15,6,5,5,complement of maximum,,,dropped"),
              std::string::npos)
        << csv.Out;
    const TToolRun plain = RunTool({"describe", "\x01\x02\x1b[2"});
    ASSERT_EQ(plain.Status, 0) << plain.Err;
    EXPECT_NE(plain.Out.find("\"\\u0001\\u0002\\u001B[2\""), std::string::npos) << plain.Out;
    EXPECT_EQ(plain.Out.find('\x1b'), std::string::npos);
}

TEST(ToolLimits, MoreJobsThanTheHardwareHasAreTakenQuietly) {
    const std::string input = "77467C422E8C46887454\n\nAF6553666D22533E1571\n";
    const TToolRun many = RunTool({"score", "--jobs", "1024"}, input);
    EXPECT_EQ(many.Status, 0);
    EXPECT_EQ(many.Err, "");
    EXPECT_EQ(many.Out, RunTool({"score", "--jobs", "1"}, input).Out);
}

TEST(ToolLimits, ADistanceEndsTheParetoSearchToo) {
    const TToolRun run = RunTool({"evolve", "--pareto", "--distance", "0.5", "--evaluations",
                                  "100000000", "--blocks", "4", "-q"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(json::parse(run.Out)["stopped"], "distance");
}

// The bar on a terminal shows the sweep's objective as it is (already a mean), like its JSON.
TEST(ToolLimits, TheSweepsProgressBarShowsTheSameMeanAsItsReport) {
    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1)";
    TScratch dir;
    const std::string report = dir.Path("report.json"), bar = dir.Path("bar.txt");
    const std::string command = "script -qec '" VESK_TOOL_PATH
                                " evolve --objective sweep --evaluations 3000 --islands 1 > " +
                                report + "' /dev/null > " + bar;
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream barFile(bar);
    const std::string shown((std::istreambuf_iterator<char>(barFile)), {});
    const std::size_t best = shown.rfind("best ");
    ASSERT_NE(best, std::string::npos) << shown;
    std::ifstream reportFile(report);
    const double mean = json::parse(reportFile)["sweep_mean_distance"];
    char expected[32];
    std::snprintf(expected, sizeof expected, "best %.4f an element", mean);
    EXPECT_EQ(shown.substr(best, std::string(expected).size()), expected);
}

} // namespace
} // namespace vesk::test
