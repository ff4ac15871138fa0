#include "cli/arguments.h"

#include <charconv>

#include "cli/cli_errors.h"

namespace vesk::cli {

namespace {

bool LooksLikeNumber(const std::string& word) {
    return word.size() >= 2 && word[0] == '-' && word[1] >= '0' && word[1] <= '9';
}

} // namespace

TArguments::TArguments(const std::vector<std::string>& words,
                       const std::vector<std::string>& valueOptions,
                       const std::map<std::string, std::string>& aliases) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.empty() || word[0] != '-' || word == "-" ||
            LooksLikeNumber(word)) {
            Positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word;
        std::optional<std::string> value;
        if (std::size_t equals = word.find('=');
            word.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
        }
        if (auto alias = aliases.find(name); alias != aliases.end()) name = alias->second;
        bool known = false;
        for (const std::string& option : valueOptions)
            known = known || option == name;
        if (!known) throw EUsageError("unknown option '" + word + "'");
        if (!value) {
            if (i + 1 >= words.size()) throw EUsageError("option '" + word + "' needs a value");
            value = words[++i];
        }
        FOptions[name] = *value;
    }
}

std::optional<std::string> TArguments::Option(const std::string& name) const {
    auto found = FOptions.find(name);
    if (found == FOptions.end()) return std::nullopt;
    return found->second;
}

void TArguments::ExpectPositional(std::size_t count, const std::string& usage) const {
    if (Positional.size() < count) throw EUsageError("missing arguments; usage: " + usage);
    if (Positional.size() > count)
        throw EUsageError("unexpected argument '" + Positional[count] + "'; usage: " + usage);
}

std::int32_t ParseBoundedInteger(const std::string& text, std::int32_t first, std::int32_t last,
                                 const std::string& what) {
    std::int64_t value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+' && begin + 1 != end && begin[1] != '-') ++begin;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (text.empty() || error == std::errc::invalid_argument || stop != end)
        throw EUsageError(what + " '" + text + "' is not a whole number");
    if (error == std::errc::result_out_of_range || value < first || value > last)
        throw EUsageError(what + " " + text + " is outside " + std::to_string(first) + ".." +
                          std::to_string(last));
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseElementCount(const std::string& text) {
    return ParseBoundedInteger(text, 0, MaxElementCount, "element count");
}

void ParseImageSize(const std::string& text, int& width, int& height) {
    std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) throw EUsageError("image size '" + text + "' is not WIDTHxHEIGHT");
    width = ParseBoundedInteger(text.substr(0, x), 1, MaxImageSide, "image width");
    height = ParseBoundedInteger(text.substr(x + 1), 1, MaxImageSide, "image height");
}

} // namespace vesk::cli
