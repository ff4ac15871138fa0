// File names "Save Image" and "vesk plot" cannot write: each is answered with "Cannot create
// file NAME." and nothing else is written in its place.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tool_process.h"

namespace vesk::test {
namespace {

using namespace std::string_literals;

// A scratch directory holding one regular file, "file", to put names under.
struct TFixture {
    TScratch Scratch;
    TFixture() { std::ofstream(Scratch.Path("file")) << "x"; }
    std::vector<std::string> UnwritableNames() const {
        return {Scratch.Path("missing/picture.bmp"), Scratch.Path(""), Scratch.Path("file/x.bmp"),
                Scratch.Path(std::string(5000, 'n') + ".bmp")};
    }
};

TEST(UnwritableFile, SessionSaveAnswersWithTheErrorAndGoesOn) {
    TFixture fixture;
    for (const std::string& name : fixture.UnwritableNames()) {
        const TToolRun run = RunTool({"session"}, "random\nsave " + name + "\nhexa-string\n");
        EXPECT_EQ(run.Status, 0) << name;
        EXPECT_NE(run.Out.find(R"("error":"Cannot create file )" + name + R"(."})"),
                  std::string::npos)
            << run.Out;
        EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 3) << name;
        EXPECT_EQ(run.Err, "") << name;
    }
}

TEST(UnwritableFile, ANameWithANulByteIsRefusedAndNoShorterNameIsWritten) {
    TFixture fixture;
    const std::string name = fixture.Scratch.Path("cut") + "\0.bmp"s;
    const TToolRun run = RunTool({"session"}, "random\nsave " + name + "\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find(R"("error":"Cannot create file )" + fixture.Scratch.Path("cut") +
                           R"(\u0000.bmp."})"),
              std::string::npos)
        << run.Out;
    EXPECT_FALSE(std::filesystem::exists(fixture.Scratch.Path("cut")));
    EXPECT_EQ(run.Err, "");
}

TEST(UnwritableFile, SessionSaveWithoutANameIsAUsageError) {
    for (const char* line : {"save\n", "save \n"}) {
        const TToolRun run = RunTool({"session"}, std::string("random\n") + line);
        EXPECT_EQ(run.Status, 2) << line;
        EXPECT_NE(run.Err.find("line 2: 'save' needs an argument"), std::string::npos) << run.Err;
    }
}

TEST(UnwritableFile, PlotExitsWithOneAndTheError) {
    TFixture fixture;
    for (const std::string& name : fixture.UnwritableNames()) {
        const TToolRun run = RunTool({"plot", "77467C422E8C46887454", "-o", name});
        EXPECT_EQ(run.Status, 1) << name;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "vesk: Cannot create file " + name + ".\n");
    }
}

} // namespace
} // namespace vesk::test
