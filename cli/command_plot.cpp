// "vesk plot": the reference and pattern curves drawn as the workbench draws them, saved as BMP
// (as the workbench saves them), PNG or SVG.

#include <map>
#include <memory>
#include <optional>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "fuzzyset/fuzzy_set.h"
#include "vesk/agent.h"
#include "workbench/bitmap_image.h"
#include "workbench/plot_export.h"

namespace vesk::cli {

namespace {

struct TPlotOptions {
    std::string Hex;
    std::int32_t N = 100;
    std::string Size;
    std::string Output;
    std::optional<TImageFormat> Format; // none: by the file's extension
};

void Plot(const TPlotOptions& o) {
    int width = TBitmapImage::DefaultWidth, height = TBitmapImage::DefaultHeight;
    if (!o.Size.empty()) ParseImageSize(o.Size, width, height);
    if (o.Output.empty()) throw EUsageError("no output file given (-o FILE)");

    TBitmapImage image;
    image.SetClientSize(width, height);
    TFuzzySet reference, pattern;
    reference.MakeReference(o.N, false);
    reference.Plot(image, Blue, true);
    TVeskAgent agent(1, o.N, false);
    agent.LoadHex(o.Hex);
    agent.Project(pattern);
    pattern.Plot(image, Red, false);
    agent.Release();

    const TImageFormat format = o.Format.value_or(ImageFormatOfFile(o.Output));
    if (auto error = SavePlot(o.Output, format, image, reference, pattern))
        throw ECommandFailure(*error);
}

} // namespace

void AddPlotCommand(CLI::App& tool, int& status) {
    auto options = std::make_shared<TPlotOptions>();
    CLI::App* command = tool.add_subcommand(
        "plot", "write the reference (blue) and pattern (red) curves as an image file");
    command->add_option("HEX", options->Hex, "pattern text")->required()->check(PatternValidator());
    AddElementsOption(*command, options->N);
    command->add_option("--size", options->Size, "image size in pixels (default 611x236)")
        ->check(ImageSizeValidator());
    command
        ->add_option("-o,--output", options->Output,
                     "the image file to write: PNG for .png, SVG for .svg, BMP otherwise")
        ->required();
    const std::map<std::string, std::optional<TImageFormat>> formats = {
        {"bmp", TImageFormat::Bmp}, {"png", TImageFormat::Png}, {"svg", TImageFormat::Svg}};
    AddWordOption(*command, "--format", options->Format, formats,
                  "bmp, png or svg, whatever the file's extension");
    command->callback([&status, options] {
        Plot(*options);
        status = ExitSuccess;
    });
}

} // namespace vesk::cli
