// "vesk plot": the reference and pattern curves drawn as the workbench draws them, saved as BMP.

#include "cli/arguments.h"
#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/pattern_check.h"
#include "fuzzyset/fuzzy_set.h"
#include "vesk/agent.h"
#include "workbench/bitmap_image.h"

namespace vesk::cli {

int RunPlot(const TWords& words) {
    TArguments args(words, {"--elements", "--size", "--output"},
                    {{"-n", "--elements"}, {"-o", "--output"}});
    args.ExpectPositional(1, SynopsisOf("plot"));
    const std::string& hex = args.Positional[0];
    RequirePattern(hex);
    const std::int32_t n = ParseElementCount(args.Option("--elements").value_or("100"));
    int width = TBitmapImage::DefaultWidth, height = TBitmapImage::DefaultHeight;
    if (auto size = args.Option("--size")) ParseImageSize(*size, width, height);
    const std::optional<std::string> output = args.Option("--output");
    if (!output || output->empty()) throw EUsageError("no output file given (-o FILE)");

    TBitmapImage image;
    image.SetClientSize(width, height);
    TFuzzySet reference, pattern;
    reference.MakeReference(n, false);
    reference.Plot(image, Blue, true);
    TVeskAgent agent(1, n, false);
    agent.LoadHex(hex);
    agent.Project(pattern);
    pattern.Plot(image, Red, false);
    agent.Release();

    if (!image.SaveBmp(*output)) throw ECommandFailure("Cannot create file " + *output + ".");
    return ExitSuccess;
}

} // namespace vesk::cli
