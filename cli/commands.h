#pragma once
// The vesk tool's commands. Each Add function puts one subcommand on the tool's command line;
// when the line names it, its callback runs the command, writes the results to standard output
// and sets status. Faults, unwritable files and usage mistakes found while running are thrown.

#include <string>

#include <CLI/CLI.hpp>

namespace vesk::cli {

void AddSessionCommand(CLI::App& tool, int& status);
void AddDegreeCommands(CLI::App& tool, int& status); // reference, project, shape
void AddSweepCommand(CLI::App& tool, int& status);
void AddPlotCommand(CLI::App& tool, int& status);
void AddScoreCommand(CLI::App& tool, int& status);
void AddEvolveCommand(CLI::App& tool, int& status);
void AddDescribeCommand(CLI::App& tool, int& status);

// The notes under "vesk --help".
extern const std::string ToolFooter;
// The protocol described under "vesk session --help".
extern const char* const SessionFooter;

} // namespace vesk::cli
