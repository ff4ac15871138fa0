#pragma once
// Runs the built vesk tool with its standard streams set up the hostile ways a user or a shell
// can set them up: arbitrary bytes in, a file or device that fails, a reader that goes away.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace vesk::test {

// The tool the runs start: $VESK_TOOL when set (another build's, a ThreadSanitizer one say), else
// this build's.
const char* ToolPath();

#ifdef VESK_TEST_SHARE
// The share of the longest inputs a test gives the tool: $VESK_TEST_SHARE when set (a slow tool
// from another build), else this build's.
inline int TestShare() {
    const char* given = std::getenv("VESK_TEST_SHARE");
    return given != nullptr ? std::max(1, std::atoi(given)) : VESK_TEST_SHARE;
}
#endif

// How one run ended. A tool that crashes or is killed by a signal has Status -1 and its Signal.
struct TToolRun {
    int Status = -1;
    int Signal = 0;
    bool Hung = false; // still running at its time limit, and killed (Signal 9)
    std::string Out;
    std::string Err;
};

// What a run may use: address space and stack as the shell's ulimit -v and -s set them (KiB; 0
// leaves the test's own), and the seconds it may take before it is killed as hung (0: no limit).
struct TToolLimits {
    long AddressSpaceKiB = 0;
    long StackKiB = 0;
    long FileBlocks = 0; // ulimit -f: blocks of 512 bytes in POSIX's shell
    double Seconds = 0;
};

// Standard input holds exactly these bytes.
TToolRun RunTool(const std::vector<std::string>& args, const std::string& input = "");
// The same, the tool started under the limits.
TToolRun RunToolLimited(const std::vector<std::string>& args, const TToolLimits& limits,
                        const std::string& input = "");
// Standard input is opened from this path (a directory, say); "" leaves it closed.
TToolRun RunToolReadingFrom(const std::vector<std::string>& args, const std::string& path);
// Standard output is opened for writing on this path (/dev/full, say); "" leaves it closed.
TToolRun RunToolWritingTo(const std::vector<std::string>& args, const std::string& path,
                          const std::string& input = "");
// As RunTool, the tool started by /bin/sh under "ulimit -f blocks" (blocks of 512 bytes in
// POSIX's shell, 1024 in bash's own mode), so every file it writes is cut at that size.
TToolRun RunToolUnderFileSizeLimit(const std::vector<std::string>& args, int blocks,
                                   const std::string& input = "");
// Standard output is a pipe whose reader takes at most keep bytes and then closes its end
// (0: closed before the tool starts). Out holds what was read.
TToolRun RunToolIntoShortReader(const std::vector<std::string>& args, std::size_t keep,
                                const std::string& input = "");

// A file's bytes ("" when it cannot be read).
std::string FileContents(const std::string& path);
// The names in a directory, hidden ones (a temporary) included, in sorted order: what a failed
// write must not add to.
std::vector<std::string> DirectoryEntries(const std::string& directory);

// A fresh directory for one test's files, removed with the object.
class TScratch {
public:
    TScratch();
    ~TScratch();
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    std::string Path(const std::string& name) const { return FDir + "/" + name; }

private:
    std::string FDir;
};

} // namespace vesk::test
