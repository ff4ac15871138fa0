#pragma once
// The command line of one vesk command: its positional words and its options.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vesk::cli {

// The largest universe a command line may ask for.
constexpr std::int32_t MaxElementCount = 1000000;

// The words after the command name, split into positional arguments and options. Every option
// takes a value, given as "--name value", "--name=value" or "-x value". A word "--" ends the
// options; a word that looks like a negative number is positional.
class TArguments {
public:
    // Throws EUsageError for an option not in valueOptions or an option without its value.
    // aliases maps short names to long ones ("-n" -> "--elements").
    TArguments(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
               const std::map<std::string, std::string>& aliases = {});

    std::vector<std::string> Positional;

    // The option's value (under its long name), if given; the last one wins.
    std::optional<std::string> Option(const std::string& name) const;
    // Throws EUsageError unless there are exactly count positional arguments; usage names them.
    void ExpectPositional(std::size_t count, const std::string& usage) const;

private:
    std::map<std::string, std::string> FOptions;
};

// A decimal integer in first..last; EUsageError naming what it is otherwise.
std::int32_t ParseBoundedInteger(const std::string& text, std::int32_t first, std::int32_t last,
                                 const std::string& what);
// An element count, 0..MaxElementCount.
std::int32_t ParseElementCount(const std::string& text);
// "WxH" with both sides in 1..MaxImageSide.
constexpr int MaxImageSide = 4096;
void ParseImageSize(const std::string& text, int& width, int& height);

} // namespace vesk::cli
