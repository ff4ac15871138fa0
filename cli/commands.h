#pragma once
// The vesk tool's commands. Each takes the words after its name, writes its results to standard
// output and returns the exit status; usage mistakes, faults and unwritable files are thrown.

#include <string>
#include <vector>

namespace vesk::cli {

using TWords = std::vector<std::string>;

int RunSession(const TWords& words);
int RunReference(const TWords& words);
int RunProject(const TWords& words);
int RunShape(const TWords& words);
int RunSweep(const TWords& words);
int RunPlot(const TWords& words);
int RunScore(const TWords& words);

// A command of the tool: its name, its synopsis, one line on what it does, and its entry.
struct TCommand {
    const char* Name;
    const char* Synopsis;
    const char* Summary;
    int (*Run)(const TWords&);
};

extern const TCommand Commands[7];

// The synopsis of the named command, for usage errors.
const char* SynopsisOf(const char* name);

// The text of "vesk --help".
std::string UsageText();

} // namespace vesk::cli
