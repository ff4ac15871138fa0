// "vesk reference", "vesk project" and "vesk shape": degree lists.

#include "cli/arguments.h"
#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/degree_output.h"
#include "cli/pattern_check.h"
#include "cli/text_stream.h"
#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/shapes.h"
#include "vesk/agent.h"

namespace vesk::cli {

namespace {

int PrintDegrees(const std::vector<std::int32_t>& degrees, const TArguments& args) {
    WriteOut(FormatDegrees(degrees, ParseDegreeFormat(args.Option("--format"))));
    return ExitSuccess;
}

} // namespace

int RunReference(const TWords& words) {
    TArguments args(words, {"--format"});
    args.ExpectPositional(1, SynopsisOf("reference"));
    const std::int32_t n = ParseElementCount(args.Positional[0]);
    ParseDegreeFormat(args.Option("--format")); // a bad format is reported before any work
    TFuzzySet reference;
    reference.MakeReference(n, false);
    return PrintDegrees(reference.Degrees(), args);
}

int RunProject(const TWords& words) {
    TArguments args(words, {"--format"});
    args.ExpectPositional(2, SynopsisOf("project"));
    RequirePattern(args.Positional[0]);
    const std::int32_t n = ParseElementCount(args.Positional[1]);
    ParseDegreeFormat(args.Option("--format"));
    TVeskAgent agent(1, n, false);
    agent.LoadHex(args.Positional[0]);
    TFuzzySet pattern;
    agent.Project(pattern);
    agent.Release();
    return PrintDegrees(pattern.Degrees(), args);
}

int RunShape(const TWords& words) {
    TArguments args(words, {"--format"});
    args.ExpectPositional(2, SynopsisOf("shape"));
    const std::int32_t code =
        ParseBoundedInteger(args.Positional[0], 0, ShapeCodeCount - 1, "shape code");
    const std::int32_t last =
        ParseBoundedInteger(args.Positional[1], 0, MaxElementCount, "last element W");
    ParseDegreeFormat(args.Option("--format"));
    std::vector<std::int32_t> degrees;
    degrees.reserve(static_cast<std::size_t>(last) + 1);
    for (std::int32_t x = 0; x <= last; ++x)
        degrees.push_back(ShapeDegree(code, 0, last, x));
    return PrintDegrees(degrees, args);
}

} // namespace vesk::cli
