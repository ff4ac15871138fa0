// "vesk reference", "vesk project" and "vesk shape": degree lists.

#include <memory>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/text_stream.h"
#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/shapes.h"
#include "vesk/agent.h"

namespace vesk::cli {

namespace {

struct TDegreeOptions {
    std::string Hex;
    std::int32_t N = 0;
    std::int32_t Code = 0;
    std::int32_t Last = 0;
    TDegreeFormat Format = TDegreeFormat::Plain;
};

std::vector<std::int32_t> ReferenceDegrees(const TDegreeOptions& o) {
    TFuzzySet reference;
    reference.MakeReference(o.N, false);
    return reference.Degrees();
}

std::vector<std::int32_t> ProjectedDegrees(const TDegreeOptions& o) {
    TVeskAgent agent(1, o.N, false);
    agent.LoadHex(o.Hex);
    TFuzzySet pattern;
    agent.Project(pattern);
    agent.Release();
    return pattern.Degrees();
}

std::vector<std::int32_t> ShapeOfOptions(const TDegreeOptions& o) {
    return ShapeDegrees(o.Code, o.Last);
}

// A subcommand printing the degrees compute gives for its options.
CLI::App* AddDegreeCommand(CLI::App& tool, int& status, const char* name, const char* summary,
                           std::shared_ptr<TDegreeOptions> options,
                           std::vector<std::int32_t> (*compute)(const TDegreeOptions&)) {
    CLI::App* command = tool.add_subcommand(name, summary);
    AddDegreeFormatOption(*command, options->Format);
    command->callback([&status, options, compute] {
        WriteOut(FormatDegrees(compute(*options), options->Format));
        status = ExitSuccess;
    });
    return command;
}

} // namespace

void AddDegreeCommands(CLI::App& tool, int& status) {
    auto reference = std::make_shared<TDegreeOptions>();
    CLI::App* command = AddDegreeCommand(tool, status, "reference",
                                         "print the degrees of the reference set of N elements",
                                         reference, ReferenceDegrees);
    AddElementsPositional(*command, reference->N);

    auto project = std::make_shared<TDegreeOptions>();
    command = AddDegreeCommand(tool, status, "project",
                               "print the degrees of the pattern HEX projected onto N elements",
                               project, ProjectedDegrees);
    command->add_option("HEX", project->Hex, "pattern text")->required()->check(PatternValidator());
    AddElementsPositional(*command, project->N);

    auto shape = std::make_shared<TDegreeOptions>();
    command = AddDegreeCommand(tool, status, "shape", "print shape CODE (0..17) over elements 0..W",
                               shape, ShapeOfOptions);
    command->add_option("CODE", shape->Code, "shape code")
        ->required()
        ->check(WholeNumber(0, ShapeCodeCount - 1));
    command->add_option("W", shape->Last, "last element")
        ->required()
        ->check(WholeNumber(0, MaxElementCount - 1));
}

} // namespace vesk::cli
