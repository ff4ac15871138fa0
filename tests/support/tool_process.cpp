#include "tool_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vesk::test {

const char* ToolPath() {
    static const std::string path = [] {
        const char* given = std::getenv("VESK_TOOL");
        return std::string(given != nullptr && *given != '\0' ? given : VESK_TOOL_PATH);
    }();
    return path.c_str();
}

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The shell's words that start the tool under the limits: ulimit cannot be set through
// posix_spawn, so a shell sets it and then becomes the tool.
std::vector<std::string> LimitedWords(const TToolLimits& limits) {
    std::string script;
    if (limits.AddressSpaceKiB > 0)
        script += "ulimit -v " + std::to_string(limits.AddressSpaceKiB) + " || exit 125; ";
    if (limits.StackKiB > 0)
        script += "ulimit -s " + std::to_string(limits.StackKiB) + " || exit 125; ";
    if (limits.FileBlocks > 0)
        script += "ulimit -f " + std::to_string(limits.FileBlocks) + " || exit 125; ";
    return {"/bin/sh", "-c", script + "exec \"$0\" \"$@\"", ToolPath()};
}

// Waits for the process; past seconds (when above 0) kills it and marks the run hung.
int WaitFor(pid_t pid, double seconds, TToolRun& run) {
    int status = 0;
    if (seconds <= 0) {
        waitpid(pid, &status, 0);
        return status;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            run.Hung = true;
            ::kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

// The words that start the tool with these arguments, under the limits when given.
std::vector<std::string> ToolWords(const std::vector<std::string>& args,
                                   const TToolLimits* limits = nullptr) {
    std::vector<std::string> words =
        limits != nullptr ? LimitedWords(*limits) : std::vector<std::string>{ToolPath()};
    words.insert(words.end(), args.begin(), args.end());
    return words;
}

// Starts words[0] with the words and the redirections set up by prepare, lets whileRunning talk
// to it, waits for it and collects standard error (always a file in the scratch directory).
TToolRun SpawnWords(std::vector<std::string> words, const TScratch& scratch,
                    const std::function<void(posix_spawn_file_actions_t&)>& prepare,
                    const std::function<void(TToolRun&)>& whileRunning = {}, double seconds = 0) {
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const std::string err = scratch.Path("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    prepare(actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + words[0]);

    TToolRun run;
    if (whileRunning) whileRunning(run);
    const int status = WaitFor(pid, seconds, run);
    if (WIFEXITED(status)) run.Status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
    run.Err = ReadFile(err);
    return run;
}

TToolRun Spawn(const std::vector<std::string>& args, const TScratch& scratch,
               const std::function<void(posix_spawn_file_actions_t&)>& prepare,
               const std::function<void(TToolRun&)>& whileRunning = {},
               const TToolLimits* limits = nullptr) {
    return SpawnWords(ToolWords(args, limits), scratch, prepare, whileRunning,
                      limits != nullptr ? limits->Seconds : 0);
}

void OpenFile(posix_spawn_file_actions_t& actions, int fd, const std::string& path, int flags) {
    posix_spawn_file_actions_addopen(&actions, fd, path.c_str(), flags, 0600);
}

} // namespace

std::string FileContents(const std::string& path) {
    return ReadFile(path);
}

std::vector<std::string> DirectoryEntries(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TScratch::TScratch() {
    static std::atomic<int> counter{0};
    FDir = (std::filesystem::temp_directory_path() /
            ("vesk_reliability_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
               .string();
    std::filesystem::create_directories(FDir);
}

TScratch::~TScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(FDir, ignored);
}

TToolRun RunTool(const std::vector<std::string>& args, const std::string& input) {
    TScratch scratch;
    WriteFile(scratch.Path("stdin"), input);
    TToolRun run = Spawn(args, scratch, [&](posix_spawn_file_actions_t& a) {
        OpenFile(a, 0, scratch.Path("stdin"), O_RDONLY);
        OpenFile(a, 1, scratch.Path("stdout"), O_WRONLY | O_CREAT | O_TRUNC);
    });
    run.Out = ReadFile(scratch.Path("stdout"));
    return run;
}

TToolRun RunToolLimited(const std::vector<std::string>& args, const TToolLimits& limits,
                        const std::string& input) {
    TScratch scratch;
    WriteFile(scratch.Path("stdin"), input);
    TToolRun run = Spawn(
        args, scratch,
        [&](posix_spawn_file_actions_t& a) {
            OpenFile(a, 0, scratch.Path("stdin"), O_RDONLY);
            OpenFile(a, 1, scratch.Path("stdout"), O_WRONLY | O_CREAT | O_TRUNC);
        },
        {}, &limits);
    run.Out = ReadFile(scratch.Path("stdout"));
    return run;
}

TToolRun RunToolUnderFileSizeLimit(const std::vector<std::string>& args, int blocks,
                                   const std::string& input) {
    TToolLimits limits;
    limits.FileBlocks = blocks;
    return RunToolLimited(args, limits, input);
}

TToolRun RunToolReadingFrom(const std::vector<std::string>& args, const std::string& path) {
    TScratch scratch;
    TToolRun run = Spawn(args, scratch, [&](posix_spawn_file_actions_t& a) {
        if (path.empty())
            posix_spawn_file_actions_addclose(&a, 0);
        else
            OpenFile(a, 0, path, O_RDONLY);
        OpenFile(a, 1, scratch.Path("stdout"), O_WRONLY | O_CREAT | O_TRUNC);
    });
    run.Out = ReadFile(scratch.Path("stdout"));
    return run;
}

TToolRun RunToolWritingTo(const std::vector<std::string>& args, const std::string& path,
                          const std::string& input) {
    TScratch scratch;
    WriteFile(scratch.Path("stdin"), input);
    return Spawn(args, scratch, [&](posix_spawn_file_actions_t& a) {
        OpenFile(a, 0, scratch.Path("stdin"), O_RDONLY);
        if (path.empty())
            posix_spawn_file_actions_addclose(&a, 1);
        else
            OpenFile(a, 1, path, O_WRONLY);
    });
}

TToolRun RunToolIntoShortReader(const std::vector<std::string>& args, std::size_t keep,
                                const std::string& input) {
    TScratch scratch;
    WriteFile(scratch.Path("stdin"), input);
    int ends[2];
    if (::pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
    if (keep == 0) ::close(ends[0]);
    TToolRun run = Spawn(
        args, scratch,
        [&](posix_spawn_file_actions_t& a) {
            OpenFile(a, 0, scratch.Path("stdin"), O_RDONLY);
            posix_spawn_file_actions_adddup2(&a, ends[1], 1);
            posix_spawn_file_actions_addclose(&a, ends[1]);
            if (keep > 0) posix_spawn_file_actions_addclose(&a, ends[0]);
        },
        [&](TToolRun& r) {
            ::close(ends[1]);
            if (keep == 0) return;
            char buffer[4096];
            while (r.Out.size() < keep) {
                const ssize_t got =
                    ::read(ends[0], buffer, std::min(sizeof buffer, keep - r.Out.size()));
                if (got <= 0) break;
                r.Out.append(buffer, static_cast<std::size_t>(got));
            }
            ::close(ends[0]);
        });
    return run;
}

} // namespace vesk::test
