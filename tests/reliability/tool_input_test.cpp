// What vesk does with input it cannot use: nothing at all, lines longer than it keeps, and bytes
// that are not text. It answers each, keeps going where the command allows, and never crashes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/text_stream.h"
#include "tool_process.h"

namespace vesk::test {
namespace {

using namespace std::string_literals;

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF), as every JSON line must be whatever bytes came in.
bool IsUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80                 ? 1
                             : c >= 0xC2 && c <= 0xDF ? 2
                             : c >= 0xE0 && c <= 0xEF ? 3
                             : c >= 0xF0 && c <= 0xF4 ? 4
                                                      : 0;
        if (length == 0 || i + length > text.size()) return false;
        std::uint32_t point = length == 1 ? c : c & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = point << 6 | (next & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < least[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ToolInput, EmptyInputDoesNothingAndBlankLinesAreTheEmptyPatternToScore) {
    for (const std::string& input : {""s, "\n"s, "\n\r\n\n"s}) {
        const TToolRun session = RunTool({"session"}, input);
        EXPECT_EQ(session.Status, 0);
        EXPECT_EQ(session.Out, "");
        EXPECT_EQ(session.Err, "");
        // "vesk score" answers each line; a blank one scores as the session scores "".
        const TToolRun score = RunTool({"score"}, input);
        EXPECT_EQ(score.Status, 0);
        EXPECT_EQ(LineCount(score.Out), LineCount(input));
        EXPECT_EQ(score.Err, "");
    }
    const TToolRun session = RunTool({"session"}, "hexa \nhexa-string\n");
    const std::string fitness = nlohmann::json::parse(session.Out)["fitness"];
    EXPECT_EQ(RunTool({"score"}, "\n").Out, fitness.substr(fitness.find_first_not_of(' ')) + "\n");
}

TEST(ToolInput, ALineOfTheLongestLengthIsReadAndOneByteMoreIsRefused) {
    const std::string longest = "hexa " + std::string(cli::MaxLineLength - 5, 'A');
    const TToolRun kept = RunTool({"session"}, longest + "\nhexa-string\n");
    EXPECT_EQ(kept.Status, 0) << kept.Err;
    ASSERT_EQ(LineCount(kept.Out), 1u);
    EXPECT_NE(kept.Out.find(R"("error":"Hexa string length must be a multiple of 5.")"),
              std::string::npos);
    EXPECT_GT(kept.Out.size(), cli::MaxLineLength - 5); // the text went into the line whole

    // One byte more, and no line feed at the end: refused, after the earlier lines were answered.
    const TToolRun refused = RunTool({"session"}, "random\n" + longest + "A");
    EXPECT_EQ(refused.Status, 2);
    EXPECT_EQ(LineCount(refused.Out), 1u);
    EXPECT_NE(refused.Err.find("line 2 is longer than"), std::string::npos) << refused.Err;
}

TEST(ToolInput, AnOverlongLineEndsTheInputThere) {
    const TToolRun run =
        RunTool({"score"}, "77467C422E8C46887454\n" + std::string(3 * cli::MaxLineLength, '7') +
                               "\nAF6553666D22533E1571\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "17\n\n");
    EXPECT_EQ(run.Err, "vesk: line 2: longer than 1048576 bytes; nothing after it is read\n");
    // A line without an end is refused as soon as it passes the limit.
    for (const char* command : {"score", "session"}) {
        const auto started = std::chrono::steady_clock::now();
        const TToolRun endless = RunToolReadingFrom({command}, "/dev/zero");
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << command;
        EXPECT_EQ(endless.Status, std::string(command) == "score" ? 1 : 2) << command;
        EXPECT_NE(endless.Err.find("line 1"), std::string::npos) << endless.Err;
    }
}

TEST(ToolInput, BinaryBytesInFieldTextsAreKeptAndAnsweredAsJson) {
    // Field texts that are not numbers read as 1; a group of NUL bytes is an invalid block and
    // reads as "00000", so the command runs on one element and one zero block.
    const TToolRun run = RunTool({"session"}, "elements \xff\x00\x01\n"
                                              "blocks \x80\n"
                                              "hexa \x00\x00\x00\x00\x00\n"
                                              "hexa-string\n"
                                              "random\n"s);
    EXPECT_EQ(run.Status, 0) << run.Err;
    ASSERT_EQ(LineCount(run.Out), 2u);
    EXPECT_TRUE(IsUtf8(run.Out));
    // The byte that is not UTF-8 becomes U+FFFD, written as itself.
    EXPECT_NE(run.Out.find(R"({"elements":")"
                           "\xEF\xBF\xBD"
                           R"(\u0000\u0001","blocks":"1",)"
                           R"("hexa":"\u0000\u0000\u0000\u0000\u0000","cardinality":"    0.50")"),
              std::string::npos)
        << run.Out;
    EXPECT_EQ(run.Out.find("\"error\":\""), std::string::npos); // neither command failed
}

TEST(ToolInput, BinaryBytesInVerbsAndPatternsAreNamedNotObeyed) {
    const TToolRun verb = RunTool({"session"}, "rand\x00om\n"s);
    EXPECT_EQ(verb.Status, 2);
    EXPECT_EQ(verb.Out, "");
    EXPECT_NE(verb.Err.find(R"(line 1: unknown command: "rand\u0000om")"), std::string::npos)
        << verb.Err;
    EXPECT_TRUE(IsUtf8(verb.Err));

    const TToolRun score = RunTool({"score"}, "\x00\x00\x00\x00\x00\n\xff\xfe\n00000\n"s);
    EXPECT_EQ(score.Status, 1);
    EXPECT_EQ(score.Out, "\n\n24\n"); // the one valid line is still scored
    EXPECT_NE(score.Err.find(R"(line 1: block 1 ("\u0000\u0000\u0000\u0000\u0000"))"),
              std::string::npos)
        << score.Err;
    EXPECT_NE(score.Err.find(R"(line 2: character 1 ("\xFF") is not a hexadecimal digit)"),
              std::string::npos);
    EXPECT_TRUE(IsUtf8(score.Err));
}

TEST(ToolInput, EveryCommandChecksItsPatternArgument) {
    TScratch scratch;
    const std::string image = scratch.Path("never.bmp");
    for (const std::string& pattern :
         {"1234"s, "77G67"s, "00080"s, std::string(165, '0'), "\xff\xff\xff\xff\xff"s})
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"project", pattern, "10"},
              {"sweep", pattern},
              {"plot", pattern, "-o", image}}) {
            const TToolRun run = RunTool(args);
            EXPECT_EQ(run.Status, 2) << args[0] << " " << pattern;
            EXPECT_EQ(run.Out, "");
            EXPECT_TRUE(IsUtf8(run.Err));
        }
    EXPECT_FALSE(std::filesystem::exists(image));
}

TEST(ToolInput, ManyCommandsInOneSessionAreEachAnswered) {
    std::string input;
    for (int i = 0; i < 300; ++i)
        input += "elements " + std::to_string(i % 40 + 10) + "\nhexa-string\n";
    const TToolRun run = RunTool({"session"}, input);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(LineCount(run.Out), 300u);
}

} // namespace
} // namespace vesk::test
