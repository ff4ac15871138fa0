// The vesk tool's one-shot commands end to end.

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include <QImage>

#include <nlohmann/json.hpp>

#include "fuzzyset/fuzzy_set.h"
#include "tool_process.h"
#include "vesk/agent.h"

namespace vesk::test {
namespace {

TEST(VeskDegrees, ReferenceInEachFormat) {
    EXPECT_EQ(RunTool({"reference", "12"}).Out, "33 33 33 33 100 13 50 56 100 66 66 66\n");
    EXPECT_EQ(RunTool({"reference", "--format", "json", "10"}).Out,
              "[33,33,33,100,50,27,100,66,66,66]\n");
    EXPECT_EQ(RunTool({"reference", "1", "--format=csv"}).Out, "element,degree\n0,100\n");
    EXPECT_EQ(RunTool({"reference", "0", "--format=json"}).Out, "[]\n");
}

TEST(VeskDegrees, ProjectAndShape) {
    EXPECT_EQ(RunTool({"project", "", "4"}).Out, "50 50 50 50\n"); // no blocks
    const TToolRun preset = RunTool({"project", "77467c422e8c46887454", "100", "--format", "json"});
    EXPECT_EQ(preset.Status, 0);
    EXPECT_EQ(std::count(preset.Out.begin(), preset.Out.end(), ','), 99);
    EXPECT_EQ(RunTool({"shape", "16", "10"}).Out, "1 3 15 43 81 100 81 43 15 3 1\n");
    EXPECT_EQ(RunTool({"shape", "17", "8"}).Out, "99 95 73 28 0 28 73 95 99\n");
}

TEST(VeskDegrees, FaultsExitWithOne) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"reference", "5"}, {"shape", "16", "1"}}) {
        const TToolRun run = RunTool(args);
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "vesk: Floating point division by zero.\n");
    }
}

TEST(VeskUsage, MistakesExitWithTwoBeforeAnyWork) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"reference"},
                                               {"reference", "1000001"},
                                               {"reference", "-1"},
                                               {"reference", "12x"},
                                               {"reference", "99999999999999999999"},
                                               {"reference", "12", "--format", "xml"},
                                               {"reference", "12", "13"},
                                               {"project", "1234", "100"},
                                               {"project", "77G67", "100"},
                                               {"project", std::string(165, '0'), "100"},
                                               {"shape", "18", "10"},
                                               {"shape", "0", "1000001"},
                                               {"sweep"},
                                               {"plot", "00000"},
                                               {"plot", "00000", "-o"},
                                               {"plot", "00000", "--size", "0x10", "-o", "x.bmp"},
                                               {"plot", "00000", "--size", "100", "-o", "x.bmp"},
                                               {"score", "--bogus", "1"}}) {
        const TToolRun run = RunTool(args);
        EXPECT_EQ(run.Status, 2) << args.size();
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find("Try 'vesk --help'"), std::string::npos);
    }
}

TEST(VeskUsage, HelpGoesToStandardOutput) {
    const TToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.Status, 0);
    for (const char* command :
         {"session", "reference", "project", "shape", "sweep", "plot", "score"})
        EXPECT_NE(help.Out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    const TToolRun plotHelp = RunTool({"plot", "--help"});
    EXPECT_EQ(plotHelp.Status, 0);
    EXPECT_NE(plotHelp.Out.find("Usage: vesk plot [OPTIONS] HEX"), std::string::npos);
    for (const char* option : {"-n,--elements", "--size", "-o,--output"})
        EXPECT_NE(plotHelp.Out.find(option), std::string::npos) << option;
    const TToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out.rfind("vesk ", 0), 0u);
}

TEST(VeskSweep, PrintsTheFitnessMessage) {
    const TToolRun run = RunTool({"sweep", "77467C422E8C46887454"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Fitness (100, 500, 1000, 5000):    17,   18,   18,   18\n");
}

TEST(VeskPlot, WritesBothCurvesAsBmp) {
    TScratch dir;
    const std::string path = dir.Path("plot");
    const TToolRun run = RunTool({"plot", "AF6553666D22533E1571", "-o", path});
    EXPECT_EQ(run.Status, 0) << run.Err;
    QImage image(QString::fromStdString(path), "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(611, 236));
    EXPECT_EQ(image.pixel(201, 0), qRgb(0, 0, 255)); // the reference's peak at element 33
    EXPECT_EQ(image.pixel(610, 235), qRgb(255, 255, 255));
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y)
        for (int x = 0; x < image.width() && !red; ++x)
            red = image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);

    // More elements than columns still spread over the whole width.
    ASSERT_EQ(RunTool({"plot", "", "-n", "5000", "--size", "50x20", "-o", path}).Status, 0);
    image.load(QString::fromStdString(path), "BMP");
    EXPECT_EQ(image.size(), QSize(50, 20));
    EXPECT_EQ(image.pixel(45, 10), qRgb(255, 0, 0)); // the flat 50: 10.5 rounds to 10

    const TToolRun unwritable = RunTool({"plot", "", "-o", dir.Path("missing/plot.bmp")});
    EXPECT_EQ(unwritable.Status, 1);
    EXPECT_EQ(unwritable.Err, "vesk: Cannot create file " + dir.Path("missing/plot.bmp") + ": " +
                                  std::strerror(ENOENT) + ".\n");
}

// The format follows the extension (case-blind), --format overrides it; BMP stays the default.
TEST(VeskPlot, WritesPngAndSvgByExtensionOrFormat) {
    TScratch dir;
    const std::string bmp = dir.Path("plot.bmp");
    ASSERT_EQ(RunTool({"plot", "AF6553666D22533E1571", "-o", bmp}).Status, 0);
    const QImage designed(QString::fromStdString(bmp), "BMP");
    for (const std::string name : {"plot.png", "PLOT.PNG"}) {
        const std::string path = dir.Path(name);
        ASSERT_EQ(RunTool({"plot", "AF6553666D22533E1571", "-o", path}).Status, 0);
        const QImage png(QString::fromStdString(path), "PNG");
        ASSERT_FALSE(png.isNull()) << name;
        EXPECT_EQ(png.convertToFormat(QImage::Format_RGB888),
                  designed.convertToFormat(QImage::Format_RGB888));
    }
    const auto read = [](const std::string& path) {
        std::ifstream file(path);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string svg = dir.Path("plot.svg");
    ASSERT_EQ(RunTool({"plot", "AF6553666D22533E1571", "-o", svg}).Status, 0);
    const std::string vectors = read(svg);
    EXPECT_NE(vectors.find("<svg"), std::string::npos);
    EXPECT_NE(vectors.find("viewBox=\"0 0 611 236\""), std::string::npos);
    EXPECT_NE(vectors.find("<path"), std::string::npos);

    const std::string forced = dir.Path("forced.bmp");
    ASSERT_EQ(RunTool({"plot", "", "--format", "svg", "-o", forced}).Status, 0);
    EXPECT_NE(read(forced).find("<svg"), std::string::npos);
    ASSERT_EQ(RunTool({"plot", "", "--format", "png", "-o", forced}).Status, 0);
    EXPECT_FALSE(QImage(QString::fromStdString(forced), "PNG").isNull());
    EXPECT_EQ(RunTool({"plot", "", "--format", "gif", "-o", forced}).Status, 2);
    const TToolRun unwritable = RunTool({"plot", "", "-o", dir.Path("missing/plot.svg")});
    EXPECT_EQ(unwritable.Status, 1);
}

TEST(VeskScore, AnswersEveryLineWithOneLineAndReportsTheBadOnes) {
    const TToolRun run =
        RunTool({"score"}, "77467C422E8C46887454\n"
                           "\n"
                           "  af6553666d22533e1571 \r\n"
                           "1234\n"
                           "77G67\n"
                           "DB76D476749D2041640C3032CF707959756C7021F204B6E133793323C0"
                           "597F64623142D721BBB368");
    EXPECT_EQ(run.Status, 1);
    // One answer a line: the blank line is the pattern of no blocks, bad lines answer empty.
    EXPECT_EQ(run.Out, "17\n25\n21\n\n\n14\n");
    EXPECT_NE(run.Err.find("line 4: hexa string length must be a multiple of 5"),
              std::string::npos);
    EXPECT_NE(run.Err.find("line 5: block 1"), std::string::npos);

    const TToolRun larger = RunTool({"score", "-n", "500"}, "77467C422E8C46887454\n");
    EXPECT_EQ(larger.Status, 0);
    EXPECT_EQ(larger.Out, "18\n");
}

TEST(VeskOutput, AClosedPipeEndsTheRunQuietly) {
    const TToolRun run = RunToolIntoShortReader({"reference", "100000"}, 0);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "");
}

} // namespace
} // namespace vesk::test

namespace vesk::test {
namespace {

// Random 16-block patterns, one a line, with a bad line and a blank one among them.
std::string RandomPatternLines(std::size_t count) {
    std::mt19937 random(17);
    const char* digits = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        for (int g = 0; g < 80; ++g)
            text += digits[std::uniform_int_distribution<int>(0, g % 5 == 2 || g % 5 == 3 ? 7 : 15)(
                random)];
        text += i == count / 2 ? "\n\n12\n" : "\n";
    }
    return text;
}

TEST(VeskScore, EveryThreadCountAnswersTheSameInInputOrder) {
    const std::size_t Lines = 200000 / static_cast<std::size_t>(TestShare());
    const std::string input = RandomPatternLines(Lines);
    const TToolRun one = RunTool({"score", "--jobs", "1"}, input);
    const TToolRun two = RunTool({"score", "--jobs", "2"}, input);
    const TToolRun every = RunTool({"score"}, input);
    EXPECT_EQ(one.Status, 1); // the bad line
    EXPECT_EQ(std::count(one.Out.begin(), one.Out.end(), '\n'), Lines + 2);
    EXPECT_EQ(two.Out, one.Out);
    EXPECT_EQ(two.Err, one.Err);
    EXPECT_EQ(every.Out, one.Out);
    EXPECT_EQ(one.Err, "vesk: line " + std::to_string(Lines / 2 + 3) +
                           ": hexa string length must be a multiple of 5\n");
}

TEST(VeskScore, CsvAndJsonCarryThePatternFitnessAndDistance) {
    const std::string input = "77467c422E8C46887454\n\nAF6553666D22533E1571\n";
    const TToolRun csv = RunTool({"score", "--format", "csv"}, input);
    EXPECT_EQ(csv.Status, 0);
    const TToolRun json = RunTool({"score", "--format=json", "-j", "2"}, input);
    EXPECT_EQ(json.Status, 0);
    std::istringstream csvLines(csv.Out), jsonLines(json.Out);
    std::string header, line, object;
    std::getline(csvLines, header);
    EXPECT_EQ(header, "pattern,fitness,distance,error");
    TFuzzySet reference;
    reference.MakeReference(100);
    for (const char* hex : {"77467c422E8C46887454", "AF6553666D22533E1571"}) {
        TVeskAgent agent(1, 100, false);
        agent.LoadHex(hex);
        TFuzzySet set;
        agent.Project(set);
        agent.Evaluate(set, reference);
        const double distance = set.HammingDistance(reference);
        ASSERT_TRUE(std::getline(csvLines, line));
        const std::string prefix = std::string(hex) + "," + std::to_string(agent.Fitness) + ",";
        ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
        EXPECT_EQ(std::strtod(line.c_str() + prefix.size(), nullptr), distance); // reads back
        EXPECT_EQ(line.back(), ',');                                             // no error
        ASSERT_TRUE(std::getline(jsonLines, object));
        const nlohmann::json parsed = nlohmann::json::parse(object);
        EXPECT_EQ(parsed["pattern"], hex);
        EXPECT_EQ(parsed["fitness"], agent.Fitness);
        EXPECT_EQ(parsed["distance"].get<double>(), distance);
        agent.Release();
        // The blank line between the two: the pattern of no blocks.
        if (hex[0] == '7') {
            ASSERT_TRUE(std::getline(csvLines, line));
            EXPECT_EQ(line.rfind(",25,", 0), 0u) << line;
            ASSERT_TRUE(std::getline(jsonLines, object));
            EXPECT_EQ(nlohmann::json::parse(object)["fitness"], 25);
        }
    }
    EXPECT_EQ(RunTool({"score", "--format", "xml"}).Status, 2);
    EXPECT_EQ(RunTool({"score", "--jobs", "0"}).Status, 2);
}

} // namespace
} // namespace vesk::test
