// vesk when its standard streams fail: a reader that is gone or leaves early, a full device, an
// input that cannot be read. It must end with a clear status, never by a signal, and never
// report success for output it could not write or input it could not read.

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
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

// The tool run with both its standard input and output pipes, driven a line at a time as a
// program that waits for each answer drives it.
class TConversation {
public:
    explicit TConversation(const TArgs& args) {
        std::vector<std::string> all{"vesk"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int in[2], out[2];
        EXPECT_EQ(pipe(in), 0);
        EXPECT_EQ(pipe(out), 0);
        const char* const tool = ToolPath();
        FChild = fork();
        if (FChild == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            for (int fd : {in[0], in[1], out[0], out[1]})
                close(fd);
            execv(tool, argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        FIn = in[1];
        FOut = out[0];
    }
    ~TConversation() {
        if (FIn >= 0) close(FIn);
        close(FOut);
        if (FChild > 0) waitpid(FChild, nullptr, 0);
    }

    void Send(const std::string& line) {
        const std::string sent = line + "\n";
        EXPECT_EQ(write(FIn, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
    }
    // Sends the line and waits (20 s at most: "<no answer>" then) for one line back.
    std::string Ask(const std::string& line) {
        Send(line);
        std::string answer;
        for (char c = 0;;) {
            pollfd ready{FOut, POLLIN, 0};
            if (poll(&ready, 1, 20000) != 1 || read(FOut, &c, 1) != 1) return "<no answer>";
            if (c == '\n') return answer;
            answer += c;
        }
    }
    // Closes the tool's input and returns its exit status.
    int Finish() {
        close(FIn);
        FIn = -1;
        int status = 0;
        waitpid(FChild, &status, 0);
        FChild = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t FChild = -1;
    int FIn = -1, FOut = -1;
};

// From a pipe "vesk score" answers each line as it comes, as "vesk session" does, so another
// program can ask it one pattern at a time; its answers are those of a batch.
TEST(ToolStreams, ScoreAndSessionAnswerALineAtATimeFromAPipe) {
    const std::vector<std::string> lines = {"77467C422E8C46887454", "", "AF6553666D22533E1571",
                                            "bad"};
    std::string batch;
    for (const std::string& line : lines)
        batch += line + "\n";
    for (const TArgs& args : {TArgs{"score"}, TArgs{"score", "--format", "json", "-n", "500"}}) {
        SCOPED_TRACE(args.back());
        std::istringstream expected(RunTool(args, batch).Out);
        TConversation score(args);
        for (const std::string& line : lines) {
            std::string answer;
            std::getline(expected, answer);
            EXPECT_EQ(score.Ask(line), answer) << line;
        }
        EXPECT_EQ(score.Finish(), 1); // the bad line
    }
    TConversation session({"session"});
    session.Send("hexa 77467C422E8C46887454");
    EXPECT_NE(session.Ask("hexa-string").find(R"("blocks":"4")"), std::string::npos);
    EXPECT_EQ(session.Finish(), 0);
}

} // namespace
} // namespace vesk::test
