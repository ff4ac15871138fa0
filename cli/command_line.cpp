#include "cli/command_line.h"

#include <charconv>
#include <map>
#include <utility>

#include "runtime/quoted_text.h"
#include "vesk/pattern_check.h"

namespace vesk::cli {

namespace {

// A side of an image, or 0 when the text is not one.
int ImageSide(std::string_view text) {
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || stop != text.data() + text.size()) return 0;
    return value >= 1 && value <= MaxImageSide ? value : 0;
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
                return "image size " + QuotedInput(text, '\'') +
                       " is not WIDTHxHEIGHT with sides 1.." + std::to_string(MaxImageSide);
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
    return CLI::Validator(
        [lowest, highest](std::string& text) { return WholeNumberProblem(text, lowest, highest); },
        "", "whole number");
}

CLI::Validator NotEmpty() {
    return CLI::Validator(
        [](std::string& text) -> std::string { return text.empty() ? "must not be empty" : ""; },
        "", "not empty");
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

CLI::Option* AddSearchOption(CLI::App& command, const TSearchOption& option, std::uint64_t budget,
                             TSearchChoices& choices) {
    const std::string name = OptionName(option.Key, TFrontEnd::Tool);
    const std::string help = OptionHelp(option, TFrontEnd::Tool, budget);
    if (option.Kind == TOptionKind::Flag)
        return command.add_flag_callback(
            name, [&option, &choices] { option.Take(choices, true); }, help);
    static constexpr std::pair<TOptionKind, const char*> TypeNames[] = {
        {TOptionKind::Whole, "UINT"},
        {TOptionKind::Real, "FLOAT"},
        {TOptionKind::Word, "WORD"},
        {TOptionKind::CodeList, "LIST"},
        {TOptionKind::Pattern, "HEX"}};
    const char* typeName = "TEXT";
    for (const auto& [kind, typed] : TypeNames)
        if (kind == option.Kind) typeName = typed;
    // The check runs first, so the callback takes a text it accepts.
    return command
        .add_option_function<std::string>(
            name,
            [&option, &choices](const std::string& text) { ApplyOption(choices, option, text); },
            help)
        ->type_name(typeName)
        ->check(CLI::Validator(
            [&option](std::string& text) {
                TOptionValue value;
                return ParseOption(option, text, value);
            },
            "", option.Key));
}

CLI::Option* AddDegreeFormatOption(CLI::App& command, TDegreeFormat& format) {
    static const std::map<std::string, TDegreeFormat> formats{{"plain", TDegreeFormat::Plain},
                                                              {"csv", TDegreeFormat::Csv},
                                                              {"json", TDegreeFormat::Json}};
    return AddWordOption(command, "--format", format, formats, "output format (default plain)");
}

} // namespace vesk::cli
