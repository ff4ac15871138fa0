// "vesk score": the fitness of every pattern read from standard input, for batch use.

#include <cstdio>
#include <memory>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/pattern_check.h"
#include "cli/text_stream.h"
#include "runtime/fp_fault.h"
#include "vesk/exact_hex.h"
#include "vesk/pattern_scorer.h"

namespace vesk::cli {

namespace {

std::string Trimmed(const std::string& line) {
    const char* blanks = " \t\r\f\v";
    const std::size_t first = line.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

void ReportLine(long number, const std::string& problem) {
    std::fprintf(stderr, "vesk: line %ld: %s\n", number, problem.c_str());
}

int Score(std::int32_t n) {
    TPatternScorer scorer(n); // one reference, one block list and one set for every line

    int status = ExitSuccess;
    TLineReader reader(stdin);
    std::string line;
    for (;;) {
        const TLineReader::TResult result = reader.Next(line);
        if (result == TLineReader::TResult::End) break;
        if (result == TLineReader::TResult::TooLong) {
            ReportLine(reader.LineNumber(), "line too long");
            status = ExitFailure;
            continue;
        }
        const std::string hex = Trimmed(line);
        if (hex.empty()) continue;
        // The exact check spares the common, valid line PatternProblem's work; any other line
        // gets its verdict and message from PatternProblem.
        if (auto problem = IsExactPatternText(hex) ? std::nullopt : PatternProblem(hex)) {
            ReportLine(reader.LineNumber(), *problem);
            status = ExitFailure;
            continue;
        }
        try {
            // A checked pattern's length is a multiple of 5, so it always has a score.
            WriteOut(std::to_string(scorer.Score(hex).value()) + "\n");
        } catch (const EFloatingPointFault& fault) {
            ReportLine(reader.LineNumber(), std::string(fault.what()) + ".");
            status = ExitFailure;
        }
    }
    return status;
}

} // namespace

void AddScoreCommand(CLI::App& tool, int& status) {
    auto n = std::make_shared<std::int32_t>(100);
    CLI::App* command = tool.add_subcommand(
        "score", "print the fitness of each hex pattern read from standard input");
    AddElementsOption(*command, *n);
    command->footer("\nReads one pattern a line, skips blank lines, prints one fitness a valid "
                    "line and\nreports invalid lines on standard error (exit status 1).");
    command->callback([&status, n] { status = Score(*n); });
}

} // namespace vesk::cli
