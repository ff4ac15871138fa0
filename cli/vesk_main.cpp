// The vesk tool: the workbench's commands and computations from the command line.

#include <csignal>
#include <cstdio>
#include <new>
#include <string_view>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/text_stream.h"
#include "runtime/fp_fault.h"

using namespace vesk::cli;

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "vesk: %s\n", message.c_str());
}

bool AsksForHelp(const TWords& words) {
    for (const std::string& word : words) {
        if (word == "--") return false;
        if (word == "--help" || word == "-h") return true;
    }
    return false;
}

int Run(const TWords& words) {
    if (words.empty()) throw EUsageError("no command given");
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        WriteOut(UsageText());
        return ExitSuccess;
    }
    for (const TCommand& command : Commands) {
        if (words[0] != command.Name) continue;
        const TWords rest(words.begin() + 1, words.end());
        if (AsksForHelp(rest)) {
            WriteOut("Usage: " + std::string(command.Synopsis) + "\n  " + command.Summary + "\n");
            return ExitSuccess;
        }
        return command.Run(rest);
    }
    throw EUsageError("unknown command '" + words[0] + "'");
}

} // namespace

int main(int argc, char** argv) {
    // A closed pipe shows up as a write error, handled below, instead of killing the process.
    std::signal(SIGPIPE, SIG_IGN);
    const TWords words(argv + 1, argv + argc);
    try {
        const int status = Run(words);
        FlushOut();
        return status;
    } catch (const EUsageError& error) {
        PrintError(error.what());
        std::fprintf(stderr, "Try 'vesk --help' for more information.\n");
        return ExitUsage;
    } catch (const vesk::EFloatingPointFault& fault) {
        PrintError(std::string(fault.what()) + ".");
    } catch (const ECommandFailure& failure) {
        PrintError(failure.what());
    } catch (const EOutputError& error) {
        if (!error.ClosedPipe) PrintError(error.what());
    } catch (const std::bad_alloc&) {
        PrintError("out of memory");
    }
    // Whatever was printed before the failure still goes out, if it can.
    std::fflush(stdout);
    return ExitFailure;
}
