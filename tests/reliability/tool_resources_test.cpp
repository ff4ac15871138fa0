// The vesk tool short of memory, threads or stack: it says which and exits with 1, or does its
// work; it never aborts, crashes or hangs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tool_process.h"

namespace vesk::test {
namespace {

// A memory limit means nothing to a sanitizer's runtime, which reserves terabytes of address
// space as it starts, nor perhaps to another build's tool ($VESK_TOOL, an instrumented one say):
// these runs are of this build's uninstrumented tool only, and are skipped elsewhere.
bool LimitsApply() {
#if defined(VESK_SANITIZED)
    return false;
#else
    const char* other = std::getenv("VESK_TOOL");
    return other == nullptr || *other == '\0';
#endif
}

#define SKIP_UNLESS_LIMITS_APPLY()                                                                 \
    if (!LimitsApply())                                                                            \
    GTEST_SKIP() << "memory and stack limits are not tried on a sanitized or another build's tool"

// What the tool says when it runs out: one line, and nothing else.
bool SaysItRanOut(const std::string& err) {
    return err == "vesk: out of memory\n" || err.rfind("vesk: cannot start ", 0) == 0;
}

std::vector<std::string> Evolve(std::vector<std::string> options) {
    options.insert(options.begin(), "evolve");
    for (const char* word : {"--evaluations", "20000", "--quiet"})
        options.emplace_back(word);
    return options;
}

// 300 MiB of address space with 8 MiB thread stacks: the threads of 256 islands need 2 GiB and
// those of 64 need 512 MiB, so none of these searches can run under it, whatever the machine.
TEST(ToolResources, ASearchThatCannotHaveItsThreadsSaysSoAndExitsWithOne) {
    SKIP_UNLESS_LIMITS_APPLY();
    const TToolLimits limits{300 * 1024, 8 * 1024, 60};
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--islands", "256", "--objective", "sweep"},
          {"--islands", "256", "--algorithm", "sga"},
          {"--islands", "256", "--pareto"},
          {"--islands", "64", "--algorithm", "gaco"}}) {
        SCOPED_TRACE(options[1] + " " + options[2]);
        const TToolRun run = RunToolLimited(Evolve(options), limits);
        EXPECT_FALSE(run.Hung);
        EXPECT_EQ(run.Signal, 0);
        EXPECT_EQ(run.Status, 1);
        EXPECT_TRUE(SaysItRanOut(run.Err)) << run.Err;
        EXPECT_EQ(run.Out, "");
    }
}

// Below about 100 MiB the libraries cannot even be loaded (the loader refuses, or a library's
// own start-up runs out before the tool's code runs); from there up a search runs out at one
// point or another of its start (tables, threads, the thread team's workers, a round) or has
// enough. Either way it answers: a result, or the message with exit 1. Limits the tool cannot
// start under at all are left out, as nothing of the tool's own runs there.
TEST(ToolResources, ASearchShortOfMemoryAnywhereAnswersOrSaysSo) {
    SKIP_UNLESS_LIMITS_APPLY();
    int tried = 0;
    for (long mib = 100; mib <= 200; mib += 10) {
        SCOPED_TRACE(std::to_string(mib) + " MiB");
        const TToolLimits limits{mib * 1024, 8 * 1024, 60};
        if (RunToolLimited({"--version"}, limits).Status != 0) continue;
        ++tried;
        for (const char* islands : {"2", "256"}) {
            const TToolRun run = RunToolLimited(Evolve({"--islands", islands}), limits);
            EXPECT_FALSE(run.Hung);
            EXPECT_EQ(run.Signal, 0) << run.Err;
            if (run.Status == 0)
                EXPECT_EQ(nlohmann::json::parse(run.Out)["stopped"], "evaluations");
            else
                EXPECT_TRUE(run.Status == 1 && SaysItRanOut(run.Err)) << run.Status << run.Err;
        }
    }
    EXPECT_GT(tried, 5); // most of the range is above what loading the tool takes
}

// A small stack (ulimit -s 64, which threads take as their size too) is enough to read a target
// file, whichever command reads it.
TEST(ToolResources, ATargetFileIsReadOnASmallStack) {
    SKIP_UNLESS_LIMITS_APPLY();
    TScratch scratch;
    const std::string target = scratch.Path("target.txt");
    std::ofstream(target) << RunTool({"reference", "2000"}).Out;
    const TToolLimits limits{0, 64, 60};
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"evolve", "--target", target, "--evaluations", "2000", "-q"},
          {"evolve", "--targets", target, "--evaluations", "2000", "-q"},
          {"score", "--target", target}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const TToolRun run = RunToolLimited(args, limits, "AF655\n");
        EXPECT_EQ(run.Signal, 0);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_FALSE(run.Out.empty());
    }
}

} // namespace
} // namespace vesk::test
