// Files "Save Image" and "vesk plot" cannot write, by their name, a full device or the file-size
// limit: each is answered with "Cannot create file NAME: REASON." with the system's reason, and
// neither a cut-off file nor a temporary is left in its place.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "runtime/quoted_text.h"
#include "tool_process.h"

namespace vesk::test {
namespace {

using namespace std::string_literals;

// A scratch directory holding one regular file, "file", to put names under.
struct TFixture {
    TScratch Scratch;
    TFixture() { std::ofstream(Scratch.Path("file")) << "x"; }
    // Each name with the reason the system gives for it.
    std::vector<std::pair<std::string, std::string>> UnwritableNames() const {
        return {{Scratch.Path("missing/picture.bmp"), std::strerror(ENOENT)},
                {Scratch.Path(""), std::strerror(EISDIR)},
                {Scratch.Path("file/x.bmp"), std::strerror(ENOTDIR)},
                {Scratch.Path(std::string(5000, 'n') + ".bmp"), std::strerror(ENAMETOOLONG)}};
    }
};

const std::string Pattern = "77467C422E8C46887454";

TEST(UnwritableFile, SessionSaveAnswersWithTheErrorAndGoesOn) {
    TFixture fixture;
    for (const auto& [name, reason] : fixture.UnwritableNames()) {
        const TToolRun run = RunTool({"session"}, "random\nsave " + name + "\nhexa-string\n");
        EXPECT_EQ(run.Status, 0) << name;
        EXPECT_NE(run.Out.find(R"("error":"Cannot create file )" + ShownFileName(name) + ": " +
                               reason + R"(."})"),
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
                           R"(\\u0000.bmp: )" + std::strerror(EINVAL) + R"(."})"),
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
    for (const auto& [name, reason] : fixture.UnwritableNames()) {
        const TToolRun run = RunTool({"plot", Pattern, "-o", name});
        EXPECT_EQ(run.Status, 1) << name;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err,
                  "vesk: Cannot create file " + ShownFileName(name) + ": " + reason + ".\n");
    }
    EXPECT_EQ(DirectoryEntries(fixture.Scratch.Path("")), std::vector<std::string>{"file"});
}

TEST(UnwritableFile, AFullDeviceIsReportedWithTheReasonInEveryFormat) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const std::string full =
        "vesk: Cannot create file /dev/full: "s + std::strerror(ENOSPC) + ".\n";
    for (const char* format : {"bmp", "png", "svg"}) {
        const TToolRun run = RunTool({"plot", Pattern, "-o", "/dev/full", "--format", format});
        EXPECT_EQ(run.Status, 1) << format;
        EXPECT_EQ(run.Err, full) << format;
    }
    // A link to the device writes the device and stays a link.
    TScratch scratch;
    std::filesystem::create_symlink("/dev/full", scratch.Path("full.png"));
    const TToolRun linked = RunTool({"plot", Pattern, "-o", scratch.Path("full.png")});
    EXPECT_EQ(linked.Status, 1);
    EXPECT_EQ(linked.Err, "vesk: Cannot create file " + scratch.Path("full.png") + ": " +
                              std::strerror(ENOSPC) + ".\n");
    EXPECT_TRUE(std::filesystem::is_symlink(scratch.Path("full.png")));

    const TToolRun session = RunTool({"session"}, "random\nsave /dev/full\nhexa-string\n");
    EXPECT_EQ(session.Status, 0);
    EXPECT_NE(session.Out.find(R"("error":"Cannot create file /dev/full: )"s +
                               std::strerror(ENOSPC) + R"(."})"),
              std::string::npos)
        << session.Out;
    EXPECT_EQ(std::count(session.Out.begin(), session.Out.end(), '\n'), 3);
}

// Under "ulimit -f 1" every file the tool writes is cut at 512 bytes (1024 in bash), and the
// plots are all larger; the session's answers need more room, its 433 kB bitmap gets 8 kB. The tool
// is not killed: it reports the failure, and the file it was writing is neither left cut off nor
// replaced.
TEST(UnwritableFile, TheFileSizeLimitIsReportedAndLeavesNoPartialFile) {
    TScratch scratch;
    const std::string big = std::strerror(EFBIG);
    const std::string kept = scratch.Path("kept.bmp");
    std::ofstream(kept) << "keep";
    for (const char* format : {"bmp", "png", "svg"}) {
        for (const std::string& name : {scratch.Path("new"), kept}) {
            const TToolRun run =
                RunToolUnderFileSizeLimit({"plot", Pattern, "-o", name, "--format", format}, 1);
            EXPECT_EQ(run.Signal, 0) << format;
            EXPECT_EQ(run.Status, 1) << format;
            EXPECT_EQ(run.Err, "vesk: Cannot create file " + name + ": " + big + ".\n") << format;
        }
    }
    const TToolRun session = RunToolUnderFileSizeLimit(
        {"session"}, 16, "random\nsave " + scratch.Path("saved.bmp") + "\nhexa-string\n");
    EXPECT_EQ(session.Signal, 0);
    EXPECT_EQ(session.Status, 0);
    EXPECT_NE(session.Out.find(R"("error":"Cannot create file )" + scratch.Path("saved.bmp") +
                               ": " + big + R"(."})"),
              std::string::npos)
        << session.Out;
    EXPECT_EQ(DirectoryEntries(scratch.Path("")), std::vector<std::string>{"kept.bmp"});
    EXPECT_EQ(FileContents(kept), "keep");

    // Standard output redirected to a file is cut the same way: reported, not killed.
    const TToolRun reference = RunToolUnderFileSizeLimit({"reference", "5000"}, 1);
    EXPECT_EQ(reference.Signal, 0);
    EXPECT_EQ(reference.Status, 1);
    EXPECT_EQ(reference.Err, "vesk: cannot write to standard output: " + big + "\n");

    // Within the limit everything is written as usual.
    const TToolRun small = RunToolUnderFileSizeLimit(
        {"plot", Pattern, "-o", scratch.Path("small.png"), "--size", "8x8"}, 1);
    EXPECT_EQ(small.Status, 0) << small.Err;
    EXPECT_EQ(DirectoryEntries(scratch.Path("")),
              (std::vector<std::string>{"kept.bmp", "small.png"}));
}

} // namespace
} // namespace vesk::test
