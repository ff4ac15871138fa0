#pragma once
// The pieces of the vesk tool's command line that several commands share: typed options with
// their validators, on CLI11.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/degree_output.h"
#include "fuzzyset/fuzzy_set.h"
#include "search/option_text.h"
#include "search/search_options.h"

namespace vesk::cli {

// The largest universe a command line may ask for: the largest whole reference.
constexpr std::int32_t MaxElementCount = MaxReferenceElements;
// The largest side of an image "--size" may ask for.
constexpr int MaxImageSide = 4096;

// A pattern text the tool accepts (PatternProblem says why not).
CLI::Validator PatternValidator();
// "WxH" with both sides in 1..MaxImageSide.
CLI::Validator ImageSizeValidator();
// The sides of a size the validator accepted.
void ParseImageSize(const std::string& text, int& width, int& height);

// Digits (a minus sign first for a negative number) for a value in lowest..highest: anything
// else "must be a whole number", and a whole number outside "must be LOWEST to HIGHEST".
CLI::Validator WholeNumber(std::int64_t lowest, std::uint64_t highest);
// Any text but the empty one.
CLI::Validator NotEmpty();

// "-n,--elements N" (0..MaxElementCount) into n, which holds the default.
CLI::Option* AddElementsOption(CLI::App& command, std::int32_t& n);
// A positional element count N.
CLI::Option* AddElementsPositional(CLI::App& command, std::int32_t& n);
// "{a,b,c}", as the help shows the words an option takes.
template <typename TValue> std::string WordList(const std::map<std::string, TValue>& words) {
    std::string list;
    for (const auto& [name, meaning] : words)
        list += (list.empty() ? "{" : ",") + name;
    return list + "}";
}

// An option taking one of a closed set of words into value, each word standing for one value;
// any other text is refused with the words listed.
template <typename TValue>
CLI::Option* AddWordOption(CLI::App& command, const std::string& name, TValue& value,
                           const std::map<std::string, TValue>& words,
                           const std::string& description) {
    return command
        .add_option_function<std::string>(
            name, [&value, words](const std::string& word) { value = words.at(word); }, description)
        ->check(CLI::Validator(
            [words](std::string& word) -> std::string {
                if (words.count(word) != 0) return "";
                std::vector<std::string> known;
                for (const auto& [name, meaning] : words)
                    known.push_back(name);
                return NotAmongWords(word, known);
            },
            WordList(words)));
}
// The search option as "--KEY" (a flag, or an option taking a value), its help and check from
// the option's description, taken into choices as it is parsed.
CLI::Option* AddSearchOption(CLI::App& command, const TSearchOption& option, std::uint64_t budget,
                             TSearchChoices& choices);
// "--format plain|csv|json" for degree lists.
CLI::Option* AddDegreeFormatOption(CLI::App& command, TDegreeFormat& format);

} // namespace vesk::cli
