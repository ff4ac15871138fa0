// The vesk tool: the workbench's commands and computations from the command line.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <new>
#include <sstream>
#include <system_error>

#include <CLI/CLI.hpp>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/text_stream.h"
#include "runtime/atomic_file.h"
#include "runtime/fp_fault.h"
#include "runtime/quoted_text.h"
#include "runtime/resource_errors.h"
#include "workbench/toolkit_messages.h"

using namespace vesk::cli;

namespace vesk::cli {

// The element limit is the one every command checks, written once.
const std::string ToolFooter = R"(
HEX is a pattern text of 5 hexadecimal digits a block (shape, centre, spread 0-7,
repeats 0-7, operator), at most 32 blocks; the empty text is a pattern of no blocks.
N is an element count, 0 to )" +
                               std::to_string(MaxElementCount) +
                               R"( (default 100). Negative numbers are arguments,
and "--" ends the options. "vesk COMMAND --help" describes each command.

Exit status: 0 on success, 1 when a floating-point fault, an unwritable file or running out
of memory or threads stops a command (or a "score" line is rejected), 2 for a usage error.)";

} // namespace vesk::cli

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "vesk: %s\n", message.c_str());
}

int UsageMistake(const std::string& message) {
    PrintError(message);
    std::fprintf(stderr, "Try 'vesk --help' for more information.\n");
    return ExitUsage;
}

// A usage mistake CLI11 found, in the tool's words where CLI11's read backwards: arguments it
// did not expect are listed last first ("2 --jobs"), so the tool names the first one alone,
// quoted as all input in a message is.
std::string UsageText(const CLI::App& tool, const CLI::ParseError& error, int argc, char** argv) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) == nullptr) return error.what();
    std::string command = "vesk";
    for (const CLI::App* sub : tool.get_subcommands())
        command += " " + sub->get_name();
    const std::vector<std::string> extras = tool.remaining(true);
    const auto unexpected = std::find_if(argv + 1, argv + argc, [&](const char* argument) {
        return std::find(extras.begin(), extras.end(), argument) != extras.end();
    });
    if (unexpected == argv + argc) return error.what();
    const std::string first = *unexpected;
    if (first.size() > 1 && first[0] == '-')
        return vesk::QuotedInput(first, '\'') + " is not an option of " + command;
    return "unexpected argument " + vesk::QuotedInput(first, '\'') + " (" + command +
           " takes no more)";
}

} // namespace

namespace {

// A standard stream the tool was started without is held by /dev/null opened the wrong way
// round, so that using it fails as it would have (and is reported) while no file the tool
// opens can take its descriptor and receive what was meant for it.
void HoldClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (fcntl(fd, F_GETFD) == -1) {
            const int held = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
            if (held != fd && held >= 0) close(held);
        }
}

} // namespace

int main(int argc, char** argv) {
    HoldClosedStandardStreams();
    // A closed pipe shows up as a write error, handled below, instead of killing the process.
    std::signal(SIGPIPE, SIG_IGN);
    vesk::QuietToolkitMessages();
    // So does a write past the file-size limit (ulimit -f): EFBIG, reported as it fails.
    vesk::IgnoreFileSizeSignal();
    // A write a signal cuts short leaves no temporary behind.
    vesk::RemoveTemporariesOnSignal();

    CLI::App tool("The workbench's commands and computations from the command line.", "vesk");
    tool.set_version_flag("--version", "vesk " VESK_VERSION);
    tool.require_subcommand(0, 1);
    int status = ExitSuccess;
    AddSessionCommand(tool, status);
    AddDegreeCommands(tool, status);
    AddSweepCommand(tool, status);
    AddPlotCommand(tool, status);
    AddScoreCommand(tool, status);
    AddEvolveCommand(tool, status);
    AddDescribeCommand(tool, status);
    tool.footer(ToolFooter); // after the commands, which would inherit it

    try {
        try {
            tool.parse(argc, argv);
        } catch (const CLI::ParseError& error) {
            if (error.get_exit_code() != 0) return UsageMistake(UsageText(tool, error, argc, argv));
            // --help and --version: the text on standard output, its write checked.
            std::ostringstream text;
            tool.exit(error, text, text);
            WriteOut(text.str());
            FlushOut();
            return ExitSuccess;
        }
        if (tool.get_subcommands().empty()) throw EUsageError("no command given");
        FlushOut();
        return status;
    } catch (const EUsageError& error) {
        return UsageMistake(error.what());
    } catch (const vesk::EFloatingPointFault& fault) {
        PrintError(ShownFaultMessage(fault));
    } catch (const ECommandFailure& failure) {
        PrintError(failure.what());
    } catch (const EOutputError& error) {
        if (!error.ClosedPipe) PrintError(error.what());
    } catch (const std::bad_alloc& error) {
        // Memory, or threads the system would not start: "cannot start N threads".
        PrintError(vesk::ResourceMessage(error));
    } catch (const std::system_error& error) {
        // What the system refused elsewhere: said, not left to end the process.
        PrintError(error.what());
    }
    // Whatever was printed before the failure still goes out, if it can.
    std::fflush(stdout);
    return ExitFailure;
}
