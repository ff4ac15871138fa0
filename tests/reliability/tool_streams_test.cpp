// vesk when its standard streams fail: a reader that is gone or leaves early, a full device, an
// input that cannot be read. It must end with a clear status, never by a signal, and never
// report success for output it could not write or input it could not read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tool_process.h"

namespace vesk::test {
namespace {

using TArgs = std::vector<std::string>;

void WriteTarget(const std::string& path) {
    std::ofstream(path) << "10 20 30\n";
}

std::string ReadTarget(const std::string& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

const std::vector<std::pair<TArgs, std::string>> Writers = {
    {{"--help"}, ""},
    {{"reference", "5000"}, ""},
    {{"project", "77467C422E8C46887454", "185360", "--format", "json"}, ""},
    {{"shape", "3", "2000", "--format", "csv"}, ""},
    {{"sweep", "AF6553666D22533E1571"}, ""},
    {{"session"}, "random\nhexa-string\nfitness\n"},
    {{"score"}, "77467C422E8C46887454\nAF6553666D22533E1571\n"},
};

TEST(ToolStreams, AClosedStandardOutputIsReportedAndNoFileTakesItsPlace) {
    for (const auto& [args, input] : Writers) {
        const TToolRun run = RunToolWritingTo(args, "", input);
        EXPECT_EQ(run.Status, 1) << args[0];
        EXPECT_EQ(run.Err, "vesk: cannot write to standard output: Bad file descriptor\n")
            << args[0];
    }
    // The target file the search opens does not become its standard output.
    TScratch dir;
    const std::string target = dir.Path("target.txt");
    WriteTarget(target);
    const TToolRun run =
        RunToolWritingTo({"evolve", "--target", target, "--evaluations", "50", "-q"}, "");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(ReadTarget(target), "10 20 30\n");
}

TEST(ToolStreams, AReaderThatIsGoneEndsTheRunQuietlyWithStatusOne) {
    for (const auto& [args, input] : Writers) {
        const TToolRun run = RunToolIntoShortReader(args, 0, input);
        EXPECT_EQ(run.Signal, 0) << args[0];
        EXPECT_EQ(run.Status, 1) << args[0];
        EXPECT_EQ(run.Err, "") << args[0];
    }
}

TEST(ToolStreams, AReaderThatLeavesMidwayGetsAPrefixAndNoCrash) {
    const TToolRun run = RunToolIntoShortReader({"project", "", "185360"}, 100);
    EXPECT_EQ(run.Signal, 0);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "");
    std::string prefix;
    while (prefix.size() < 100)
        prefix += "50 ";
    prefix.resize(100);
    EXPECT_EQ(run.Out, prefix);

    // Far more answers than a pipe buffers, so the tool is still writing when the reader leaves.
    std::string lines;
    for (int i = 0; i < 40000; ++i)
        lines += "77467C422E8C46887454\n";
    const TToolRun score = RunToolIntoShortReader({"score"}, 9, lines);
    EXPECT_EQ(score.Signal, 0);
    EXPECT_EQ(score.Status, 1);
    EXPECT_EQ(score.Out, "17\n17\n17\n");
}

TEST(ToolStreams, AFullDeviceIsReportedNotIgnored) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    for (const auto& [args, input] : Writers) {
        const TToolRun run = RunToolWritingTo(args, "/dev/full", input);
        EXPECT_EQ(run.Signal, 0) << args[0];
        EXPECT_EQ(run.Status, 1) << args[0];
        EXPECT_EQ(run.Err, "vesk: cannot write to standard output: No space left on device\n")
            << args[0];
    }
}

TEST(ToolStreams, InputThatCannotBeReadIsAFailureNotAnEmptyRun) {
    TScratch scratch;
    for (const char* command : {"session", "score"}) {
        const TToolRun directory = RunToolReadingFrom({command}, scratch.Path(""));
        EXPECT_EQ(directory.Signal, 0) << command;
        EXPECT_EQ(directory.Status, 1) << command;
        EXPECT_EQ(directory.Err.rfind("vesk: cannot read standard input: ", 0), 0u)
            << command << ": " << directory.Err;

        const TToolRun closed = RunToolReadingFrom({command}, "");
        EXPECT_EQ(closed.Signal, 0) << command;
        EXPECT_EQ(closed.Status, 1) << command;
        EXPECT_EQ(closed.Err.rfind("vesk: cannot read standard input: ", 0), 0u)
            << command << ": " << closed.Err;
    }
}

} // namespace
} // namespace vesk::test
