#pragma once
// The pieces of the vesk tool's command line that several commands share: typed options with
// their validators, on CLI11.

#include <cstdint>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/degree_output.h"

namespace vesk::cli {

// The largest universe a command line may ask for.
constexpr std::int32_t MaxElementCount = 1000000;
// The largest side of an image "--size" may ask for.
constexpr int MaxImageSide = 4096;

// A pattern text the tool accepts (PatternProblem says why not).
CLI::Validator PatternValidator();
// "WxH" with both sides in 1..MaxImageSide.
CLI::Validator ImageSizeValidator();
// The sides of a size the validator accepted.
void ParseImageSize(const std::string& text, int& width, int& height);

// "-n,--elements N" (0..MaxElementCount) into n, which holds the default.
CLI::Option* AddElementsOption(CLI::App& command, std::int32_t& n);
// A positional element count N.
CLI::Option* AddElementsPositional(CLI::App& command, std::int32_t& n);
// "--format plain|csv|json" for degree lists.
CLI::Option* AddDegreeFormatOption(CLI::App& command, TDegreeFormat& format);

} // namespace vesk::cli
