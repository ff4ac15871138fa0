#include "vesk_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace vesk::test {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TScratchDir::TScratchDir() {
    static std::atomic<int> counter{0};
    FPath = std::filesystem::temp_directory_path() /
            ("vesk_cli_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(FPath);
}

TScratchDir::~TScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

// Runs vesk with the prepared redirections; returns its exit status or -1.
int Spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t& actions,
          int closeAfterSpawn = -1) {
    std::vector<std::string> words{VESK_TOOL_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, VESK_TOOL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (closeAfterSpawn >= 0) ::close(closeAfterSpawn);
    if (spawned != 0) throw std::runtime_error("cannot start " VESK_TOOL_PATH);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TRun RunVesk(const std::vector<std::string>& args, const std::string& input) {
    TScratchDir dir;
    const std::string in = dir / "stdin", out = dir / "stdout", err = dir / "stderr";
    std::ofstream(in, std::ios::binary) << input;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    TRun run;
    run.Status = Spawn(args, actions);
    run.Out = ReadFile(out);
    run.Err = ReadFile(err);
    return run;
}

TRun RunVeskIntoClosedPipe(const std::vector<std::string>& args) {
    TScratchDir dir;
    const std::string err = dir / "stderr";
    int ends[2];
    if (::pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
    ::close(ends[0]); // nobody will read

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    TRun run;
    run.Status = Spawn(args, actions, ends[1]);
    run.Err = ReadFile(err);
    return run;
}

} // namespace vesk::test
