// Files written whole or not at all: what a write leaves behind when it succeeds, when the
// system refuses it part-way, and when the name is a device or a FIFO that cannot be replaced.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/atomic_file.h"
#include "tool_process.h"

namespace vesk::test {
namespace {

using namespace std::string_literals;

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// Sets the umask for one scope.
class TUmask {
public:
    explicit TUmask(mode_t mask) : FOld(::umask(mask)) {}
    ~TUmask() { ::umask(FOld); }

private:
    mode_t FOld;
};

// Lowers the file-size limit for one scope, the signal that would kill the process ignored.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        IgnoreFileSizeSignal();
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit lowered = FOld;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &FOld); }

private:
    rlimit FOld{};
};

TEST(AtomicFile, WritesTheBytesWithTheModeACreationGivesOrTheReplacedFileHad) {
    TScratch scratch;
    const std::string bytes = "first\0second\n"s + std::string(100000, 'x');
    for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}}) {
        TUmask umask(mask);
        const std::string path = scratch.Path("new" + std::to_string(mask));
        EXPECT_EQ(WriteFileAtomically(path, bytes), std::nullopt);
        EXPECT_EQ(FileContents(path), bytes);
        EXPECT_EQ(ModeOf(path), 0666 & ~mask) << mask;
    }

    // Replacing keeps the old file's mode, whatever the umask, and takes the new contents.
    const std::string old = scratch.Path("old");
    std::ofstream(old) << "old contents, longer than the new";
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    TUmask umask(077);
    EXPECT_EQ(WriteFileAtomically(old, "new"), std::nullopt);
    EXPECT_EQ(FileContents(old), "new");
    EXPECT_EQ(ModeOf(old), 0640);
    EXPECT_EQ(WriteFileAtomically(old, ""), std::nullopt);
    EXPECT_EQ(FileContents(old), "");

    // Through a link, the file it leads to is replaced and the link stays a link.
    const std::string link = scratch.Path("link");
    std::filesystem::create_symlink(old, link);
    EXPECT_EQ(WriteFileAtomically(link, "through the link"), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(FileContents(old), "through the link");
    // One that leads to no file yet makes the file where it leads, beside the link.
    const std::string ahead = scratch.Path("ahead");
    std::filesystem::create_symlink("made", ahead);
    EXPECT_EQ(WriteFileAtomically(ahead, "made through the link"), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(ahead));
    EXPECT_EQ(FileContents(scratch.Path("made")), "made through the link");

    // A name without a directory is written in the working directory.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(scratch.Path(""));
    EXPECT_EQ(WriteFileAtomically("plain", "here"), std::nullopt);
    std::filesystem::current_path(here);
    EXPECT_EQ(FileContents(scratch.Path("plain")), "here");
    EXPECT_EQ(DirectoryEntries(scratch.Path("")),
              (std::vector<std::string>{"ahead", "link", "made", "new0", "new18", "new63", "old",
                                        "plain"}));
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    TScratch scratch;
    const std::string old = scratch.Path("old");
    std::ofstream(old) << "keep";
    {
        TFileSizeLimit limit(4096);
        EXPECT_EQ(WriteFileAtomically(old, std::string(100000, 'x')), std::strerror(EFBIG));
        EXPECT_EQ(WriteFileAtomically(scratch.Path("new"), std::string(100000, 'x')),
                  std::strerror(EFBIG));
        EXPECT_EQ(WriteFileAtomically(scratch.Path("small"), "fits"), std::nullopt);
    }
    EXPECT_EQ(FileContents(old), "keep");
    EXPECT_EQ(DirectoryEntries(scratch.Path("")), (std::vector<std::string>{"old", "small"}));

    // Names that cannot be created: each with the system's reason, nothing written.
    const std::string cut = scratch.Path("cut");
    const std::pair<std::string, int> refused[] = {
        {scratch.Path("missing/x"), ENOENT},
        {scratch.Path("old/x"), ENOTDIR},
        {scratch.Path(""), EISDIR},
        {scratch.Path(std::string(300, 'n')), ENAMETOOLONG},
        {"", ENOENT},
        {cut + "\0.bmp"s, EINVAL},
    };
    for (const auto& [name, error] : refused)
        EXPECT_EQ(WriteFileAtomically(name, "x"), std::strerror(error)) << name;
    EXPECT_EQ(DirectoryEntries(scratch.Path("")), (std::vector<std::string>{"old", "small"}));

    // A name close to the file systems' limit still fits its temporary beside it.
    const std::string longest = scratch.Path(std::string(255, 'l'));
    EXPECT_EQ(WriteFileAtomically(longest, "long"), std::nullopt);
    EXPECT_EQ(FileContents(longest), "long");
}

TEST(AtomicFile, ADeviceOrFifoIsWrittenWhereItIsAndItsRefusalReported) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(WriteFileAtomically("/dev/full", "x"), std::strerror(ENOSPC));
    EXPECT_EQ(WriteFileAtomically("/dev/null", std::string(100000, 'x')), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

    TScratch scratch;
    std::filesystem::create_symlink("/dev/full", scratch.Path("full"));
    EXPECT_EQ(WriteFileAtomically(scratch.Path("full"), "x"), std::strerror(ENOSPC));
    EXPECT_TRUE(std::filesystem::is_symlink(scratch.Path("full")));

    const std::string fifo = scratch.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(WriteFileAtomically(fifo, "through the pipe"), std::nullopt);
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 16);
    EXPECT_EQ(std::string(buffer), "through the pipe");
    ::close(reader);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(DirectoryEntries(scratch.Path("")), (std::vector<std::string>{"fifo", "full"}));
}

// A signal that ends the process while a temporary is being written removes it, and still ends
// the process as the signal does; a temporary no longer registered stays.
TEST(AtomicFile, ASignalThatEndsTheProcessTakesTheTemporaryWithIt) {
    TScratch scratch;
    const std::string temporary = scratch.Path(".plot.png.tmp"), kept = scratch.Path("kept");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = fork();
        if (child == 0) {
            RemoveTemporariesOnSignal();
            std::ofstream(temporary) << "part";
            std::ofstream(kept) << "whole";
            { const TRemovedOnSignal written(kept); }
            const TRemovedOnSignal writing(temporary);
            std::raise(signal);
            _exit(0); // not reached
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(DirectoryEntries(scratch.Path("")), std::vector<std::string>{"kept"});
    }
}

} // namespace
} // namespace vesk::test
