// "vesk session" end to end: the workbench's commands through the line protocol.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tool_process.h"

namespace vesk::test {
namespace {

using namespace std::string_literals;

std::string StateLine(const std::string& elements, const std::string& blocks,
                      const std::string& hexa, const std::string& captions,
                      const std::string& message = "null", const std::string& error = "null") {
    return R"({"elements":")" + elements + R"(","blocks":")" + blocks + R"(","hexa":")" + hexa +
           "\"," + captions + R"(,"message":)" + message + R"(,"error":)" + error + "}\n";
}

const std::string StartCaptions =
    R"("cardinality":"0.0","subsethood":"0.0","hamming":"0.0","fitness":"0")";
const std::string FirstPresetCaptions =
    R"("cardinality":"   62.02","subsethood":"    0.69","hamming":"   28.94","fitness":"        17")";
const std::string SecondPresetCaptions =
    R"("cardinality":"   43.27","subsethood":"    0.83","hamming":"   23.99","fitness":"        21")";

TEST(VeskSession, PresetsGiveTheirCaptionsAndSweepLists) {
    const TToolRun run = RunTool({"session"}, "hexa 77467C422E8C46887454\n"
                                              "hexa-string\n"
                                              "fitness\n"
                                              "hexa AF6553666D22533E1571\n"
                                              "hexa-string\n"
                                              "fitness\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out,
              StateLine("100", "4", "77467C422E8C46887454", FirstPresetCaptions) +
                  StateLine("100", "4", "77467C422E8C46887454", FirstPresetCaptions,
                            R"("Fitness (100, 500, 1000, 5000):    17,   18,   18,   18")") +
                  StateLine("100", "4", "AF6553666D22533E1571", SecondPresetCaptions) +
                  StateLine("100", "4", "AF6553666D22533E1571", SecondPresetCaptions,
                            R"("Fitness (100, 500, 1000, 5000):    21,   23,   23,   23")"));
}

TEST(VeskSession, FirstRandomPatternAfterStart) {
    const TToolRun run = RunTool({"session"}, "random\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              StateLine("100", "16",
                        "DB76D476749D2041640C3032CF707959756C7021F204B6E133793323C0597F64623142"
                        "D721BBB368",
                        R"("cardinality":"   38.28","subsethood":"    0.72","hamming":"   35.56",)"
                        R"("fitness":"        14")"));
}

TEST(VeskSession, ErrorsAndNoticesGoIntoTheLine) {
    TScratch dir;
    const TToolRun run = RunTool({"session"}, "save " + dir.Path("early.bmp") +
                                                  "\n"
                                                  "elements 5\n"
                                                  "random\n"
                                                  "elements  42\r\n"
                                                  "hexa 1234\n"
                                                  "\n"
                                                  "hexa-string\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              StateLine("100", "16", "", StartCaptions, R"("There is no image to save yet.")") +
                  StateLine("5", "16", "", StartCaptions, "null",
                            R"("Floating point division by zero.")") +
                  StateLine(" 42", "16", "1234", StartCaptions, "null",
                            R"("Hexa string length must be a multiple of 5.")"));
}

TEST(VeskSession, SavesTheImageAsBmp) {
    TScratch dir;
    const std::string path = dir.Path("curves");
    const TToolRun run =
        RunTool({"session"}, "hexa AF6553666D22533E1571\nhexa-string\nsave " + path + "\nsave " +
                                 dir.Path("missing/x.bmp") + "\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find(R"("message":null,"error":null})"
                           "\n{"),
              std::string::npos);
    EXPECT_NE(run.Out.find("\"Cannot create file " + dir.Path("missing/x.bmp") + ": " +
                           std::strerror(ENOENT) + ".\""),
              std::string::npos);
    std::ifstream saved(path, std::ios::binary);
    char magic[2] = {};
    saved.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
}

TEST(VeskSession, ArbitraryBytesStayValidJson) {
    const TToolRun run = RunTool({"session"}, "hexa a\"b\\\xff\x01\xc3\xa9\0z\nhexa-string\n"s);
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find(R"("hexa":"a\"b\\)"
                           "\xEF\xBF\xBD"
                           R"(\u0001)"
                           "\xc3\xa9"
                           R"(\u0000z")"),
              std::string::npos)
        << run.Out;
}

// The search's verbs replay what the tool does: the same target, settings and budget give the
// pattern `vesk evolve` gives, its distance to the own target as `vesk score --target` scores
// it; refused settings and targets say what the tool says, and the session goes on.
TEST(VeskSession, TargetAndSettingsReplayTheToolsSearch) {
    using json = nlohmann::json;
    TScratch dir;
    const std::string target = dir.Path("tri.txt");
    std::ofstream(target) << "0 10 20 30 40 50 60 70 80 90 100 90 80 70 60 50 40 30 20 10\n";
    const std::string bad = dir.Path("bad.txt");
    std::ofstream(bad) << "10 20\n30 x\n";
    const TToolRun run = RunTool(
        {"session"}, "target " + target + "\nsettings seed 3\nsettings shapes 0-7\nblocks 4\n" +
                         "evolve 20000\nsettings seed x\nsettings islands 300\n" +
                         "settings shapes 16\nsettings objective sweep\nevolve\ntarget " + bad +
                         "\ntarget reference\nsettings start on\nsettings objective distance\n" +
                         "evolve 3000\n");
    ASSERT_EQ(run.Status, 0) << run.Err;
    std::vector<json> lines;
    std::istringstream out(run.Out);
    for (std::string line; std::getline(out, line);)
        lines.push_back(json::parse(line));
    ASSERT_EQ(lines.size(), 14u); // the field verb answers nothing

    const std::string evolved = lines[3]["hexa"];
    const TToolRun tool = RunTool({"evolve", "--target", target, "--seed", "3", "--shapes", "0-7",
                                   "--blocks", "4", "--evaluations", "20000", "--format", "plain"});
    ASSERT_EQ(tool.Status, 0) << tool.Err;
    EXPECT_EQ(evolved + "\n", tool.Out);
    const json scored =
        json::parse(RunTool({"score", "--target", target, "--format", "json"}, evolved + "\n").Out);
    EXPECT_EQ(lines[3]["target_distance"], scored["distance"]);
    EXPECT_EQ(lines[3]["target"], target);

    const auto toolSays = [](const std::vector<std::string>& args) {
        const std::string err = RunTool(args).Err; // "vesk: WHAT\n" and perhaps a hint
        return err.substr(6, err.find('\n') - 6);
    };
    EXPECT_EQ(lines[4]["error"], toolSays({"evolve", "--seed", "x"}));
    EXPECT_EQ(lines[5]["error"], toolSays({"evolve", "--islands", "300"}));
    EXPECT_EQ(lines[6]["error"], toolSays({"evolve", "--shapes", "16"}));
    EXPECT_EQ(lines[8]["error"], "the sweep objective scores against the built-in reference only");
    EXPECT_EQ(lines[8]["hexa"], evolved); // nothing ran
    EXPECT_EQ(lines[9]["error"], toolSays({"evolve", "--target", bad}));
    EXPECT_EQ(lines[9]["target"], target); // the earlier target stays
    EXPECT_FALSE(lines[10].contains("target"));
    // From the current pattern, on the reference: its block count, never worse than it.
    const std::string started = lines[13]["hexa"];
    EXPECT_EQ(started.size(), evolved.size());
    const auto distance = [](const std::string& hex) {
        return json::parse(RunTool({"score", "--format", "json"}, hex + "\n").Out)["distance"]
            .get<double>();
    };
    EXPECT_LE(distance(started), distance(evolved));

    // A text that is not a pattern has no distance to the target, not the empty pattern's.
    const TToolRun refused = RunTool({"session"}, "target " + target + "\nhexa 123\nhexa-string\n" +
                                                      "hexa " + evolved + "\nhexa-string\n");
    std::vector<json> answers;
    std::istringstream refusedOut(refused.Out);
    for (std::string line; std::getline(refusedOut, line);)
        answers.push_back(json::parse(line));
    ASSERT_EQ(answers.size(), 3u) << refused.Out;
    EXPECT_FALSE(answers[1]["error"].is_null());
    EXPECT_TRUE(answers[1]["target_distance"].is_null());
    EXPECT_EQ(answers[2]["target_distance"], scored["distance"]);
}

// A setting takes effect on evolve as the tool's option does: a time limit alone runs for its
// time rather than to the default budget (a million evaluations of one block on 16 elements take
// a small share of it). A setting no evolve could run with is refused at once, in evolve's words.
TEST(VeskSession, SecondsRunTheirTimeAndUnusableSettingsAreRefusedAtOnce) {
    using TClock = std::chrono::steady_clock;
    const TClock::time_point started = TClock::now();
    const TToolRun run =
        RunTool({"session"}, "elements 16\nblocks 1\nsettings islands 1\nsettings seconds 2\n"
                             "settings algorithm nsga2\nevolve\n");
    const double seconds = std::chrono::duration<double>(TClock::now() - started).count();
    ASSERT_EQ(run.Status, 0) << run.Err;
    std::vector<nlohmann::json> lines;
    std::istringstream out(run.Out);
    for (std::string line; std::getline(out, line);)
        lines.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(lines.size(), 4u);
    const std::string err = RunTool({"evolve", "--algorithm", "nsga2"}).Err;
    EXPECT_EQ(lines[2]["error"], err.substr(6, err.find('\n') - 6)); // after "vesk: "
    EXPECT_TRUE(lines[3]["error"].is_null()) << lines[3];
    EXPECT_GE(seconds, 2.0);
}

TEST(VeskSession, AnUnknownVerbIsAUsageErrorNamingTheLine) {
    const TToolRun run = RunTool({"session"}, "hexa-string\nrandom now\n");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 1); // the first line was answered
    EXPECT_NE(run.Err.find("line 2"), std::string::npos);
    EXPECT_NE(run.Err.find("random now"), std::string::npos);

    const TToolRun unknown = RunTool({"session"}, "frobnicate\n");
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_NE(unknown.Err.find("frobnicate"), std::string::npos);

    const TToolRun huge = RunTool({"session"}, "hexa " + std::string(2'000'000, 'A') + "\n");
    EXPECT_EQ(huge.Status, 2);
    EXPECT_NE(huge.Err.find("longer than"), std::string::npos);
}

} // namespace
} // namespace vesk::test
