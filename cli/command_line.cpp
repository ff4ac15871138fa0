#include "cli/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "cli/pattern_check.h"

namespace vesk::cli {

namespace {

// A side of an image, or 0 when the text is not one.
int ImageSide(std::string_view text) {
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || stop != text.data() + text.size()) return 0;
    return value >= 1 && value <= MaxImageSide ? value : 0;
}

// A number as a message writes it: whole numbers without a fraction or an exponent.
std::string Shown(double value) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value,
                                   value == std::floor(value) ? std::chars_format::fixed
                                                              : std::chars_format::general);
    return std::string(text, end.ptr);
}

} // namespace

CLI::Validator PatternValidator() {
    return CLI::Validator(
        [](std::string& text) { return PatternProblem(text).value_or(std::string()); }, "HEX",
        "pattern");
}

CLI::Validator ImageSizeValidator() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            int width = 0, height = 0;
            ParseImageSize(text, width, height);
            if (width == 0 || height == 0)
                return "image size '" + text + "' is not WIDTHxHEIGHT with sides 1.." +
                       std::to_string(MaxImageSide);
            return "";
        },
        "WxH", "image size");
}

void ParseImageSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    width = height = 0;
    if (x == std::string::npos) return;
    width = ImageSide(std::string_view(text).substr(0, x));
    height = ImageSide(std::string_view(text).substr(x + 1));
}

CLI::Validator WholeNumber(std::int64_t lowest, std::uint64_t highest) {
    const std::string range =
        "must be " + std::to_string(lowest) + " to " + std::to_string(highest);
    return CLI::Validator(
        [lowest, highest, range](std::string& text) -> std::string {
            bool negative = !text.empty() && text[0] == '-';
            const std::string_view digits = std::string_view(text).substr(negative ? 1 : 0);
            if (digits.empty() || digits.find_first_not_of("0123456789") != digits.npos)
                return "must be a whole number";
            std::uint64_t magnitude = 0;
            const auto [stop, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
            if (error != std::errc() || stop != digits.data() + digits.size()) return range;
            if (negative && magnitude == 0) negative = false; // "-0"
            if (negative) {
                if (lowest >= 0 || magnitude - 1 > static_cast<std::uint64_t>(-(lowest + 1)))
                    return range;
                return "";
            }
            if (magnitude > highest ||
                (lowest > 0 && magnitude < static_cast<std::uint64_t>(lowest)))
                return range;
            return "";
        },
        "", "whole number");
}

CLI::Validator RealNumber(double lowest, bool lowestAllowed, double highest) {
    const std::string range = (lowestAllowed ? "must be " + Shown(lowest) + " or more"
                                             : "must be more than " + Shown(lowest)) +
                              " and at most " + Shown(highest);
    return CLI::Validator(
        [lowest, lowestAllowed, highest, range](std::string& text) -> std::string {
            double value = 0;
            const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(),
                                                       value, std::chars_format::general);
            if (text.empty() || stop != text.data() + text.size() ||
                (error != std::errc() && error != std::errc::result_out_of_range) ||
                !std::isfinite(value))
                return "must be a number";
            if (error == std::errc::result_out_of_range || value > highest ||
                (lowestAllowed ? value < lowest : value <= lowest))
                return range;
            return "";
        },
        "", "number");
}

CLI::Validator NotEmpty() {
    return CLI::Validator(
        [](std::string& text) -> std::string { return text.empty() ? "must not be empty" : ""; },
        "", "not empty");
}

std::optional<std::vector<std::int32_t>> ParseCodeList(const std::string& text,
                                                       std::int32_t highest, std::string& why) {
    std::vector<std::int32_t> codes;
    const auto code = [&](std::string_view digits, std::int32_t& value) {
        const auto [stop, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return !digits.empty() && error == std::errc() && stop == digits.data() + digits.size() &&
               digits.find_first_not_of("0123456789") == digits.npos && value <= highest;
    };
    std::string_view rest = text;
    for (;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        const std::size_t dash = item.find('-');
        std::int32_t low = 0, high = 0;
        if (!code(item.substr(0, dash), low) ||
            !code(dash == item.npos ? item : item.substr(dash + 1), high) || high < low) {
            why = "'" + std::string(item) + "' is not a code 0.." + std::to_string(highest) +
                  " or a range LOW-HIGH of them";
            return std::nullopt;
        }
        for (std::int32_t v = low; v <= high; ++v)
            codes.push_back(v);
        if (comma == rest.npos) break;
        rest.remove_prefix(comma + 1);
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

CLI::Validator CodeList(std::int32_t highest) {
    return CLI::Validator(
        [highest](std::string& text) -> std::string {
            std::string why;
            return ParseCodeList(text, highest, why) ? "" : why;
        },
        "", "code list");
}

CLI::Option* AddElementsOption(CLI::App& command, std::int32_t& n) {
    return command.add_option("-n,--elements", n, "element count")
        ->check(WholeNumber(0, MaxElementCount))
        ->capture_default_str();
}

CLI::Option* AddElementsPositional(CLI::App& command, std::int32_t& n) {
    return command.add_option("N", n, "element count, 0 to " + std::to_string(MaxElementCount))
        ->required()
        ->check(WholeNumber(0, MaxElementCount));
}

CLI::Option* AddDegreeFormatOption(CLI::App& command, TDegreeFormat& format) {
    static const std::map<std::string, TDegreeFormat> formats{{"plain", TDegreeFormat::Plain},
                                                              {"csv", TDegreeFormat::Csv},
                                                              {"json", TDegreeFormat::Json}};
    return AddWordOption(command, "--format", format, formats, "output format (default plain)");
}

} // namespace vesk::cli
