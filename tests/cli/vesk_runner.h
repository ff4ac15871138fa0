#pragma once
// Runs the built vesk tool as a user would, feeding standard input and collecting its output.

#include <filesystem>
#include <string>
#include <vector>

namespace vesk::test {

struct TRun {
    int Status = -1; // the exit status; -1 when the process did not exit normally
    std::string Out;
    std::string Err;
};

// Runs vesk with these arguments and this standard input.
TRun RunVesk(const std::vector<std::string>& args, const std::string& input = "");
// Runs vesk with its standard output a pipe whose reading end is already closed.
TRun RunVeskIntoClosedPipe(const std::vector<std::string>& args);

// A fresh directory for one test's files, removed with the object.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    std::string operator/(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

} // namespace vesk::test
