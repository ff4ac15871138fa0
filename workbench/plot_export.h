#pragma once
// The plot in forms other programs read: PNG and SVG beside the designed BMP, and the two sets
// as CSV.

#include <optional>
#include <string>
#include <string_view>

#include "fuzzyset/fuzzy_set.h"
#include "workbench/bitmap_image.h"

namespace vesk {

// The image formats the plot can be written in.
enum class TImageFormat { Bmp, Png, Svg };

// The format a file's extension asks for (.png, .svg, case-blind); BMP for any other name.
TImageFormat ImageFormatOfFile(std::string_view path);
// The extension of a format, with its dot.
const char* ImageFormatExtension(TImageFormat format);

// The sets as CSV, one line an element: "element,reference,pattern" (and ",target" with a target
// of one's own) and then the degrees; an element one set does not have is left empty.
std::string PlotDataCsv(const TFuzzySet& reference, const TFuzzySet& pattern,
                        const TFuzzySet* target = nullptr);

// Writes the plot to path: BMP and PNG as the image's bitmap at its own size, SVG as the two
// sets drawn as vectors (reference blue, pattern red, degrees 0 to 100 bottom to top, elements
// left to right) on a white page the bitmap's size. The file is written whole or not at all:
// nothing when written, else "Cannot create file NAME: REASON." (also when nothing is plotted).
std::optional<std::string> SavePlot(const std::string& path, TImageFormat format,
                                    const TBitmapImage& image, const TFuzzySet& reference,
                                    const TFuzzySet& pattern);

} // namespace vesk
