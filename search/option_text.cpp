#include "search/option_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "runtime/quoted_text.h"

namespace vesk {

std::string NumberText(double value) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value,
                                   value == std::floor(value) ? std::chars_format::fixed
                                                              : std::chars_format::general);
    return std::string(text, end.ptr);
}

std::string WholeNumberProblem(const std::string& text, std::int64_t lowest,
                               std::uint64_t highest) {
    const std::string range =
        "must be " + std::to_string(lowest) + " to " + std::to_string(highest);
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
        if (lowest >= 0 || magnitude - 1 > static_cast<std::uint64_t>(-(lowest + 1))) return range;
        return "";
    }
    if (magnitude > highest || (lowest > 0 && magnitude < static_cast<std::uint64_t>(lowest)))
        return range;
    return "";
}

std::string RealNumberProblem(const std::string& text, double lowest, bool lowestAllowed,
                              double highest) {
    const std::string range = (lowestAllowed ? "must be " + NumberText(lowest) + " or more"
                                             : "must be more than " + NumberText(lowest)) +
                              " and at most " + NumberText(highest);
    double value = 0;
    const auto [stop, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (text.empty() || stop != text.data() + text.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range) || !std::isfinite(value))
        return "must be a number";
    if (error == std::errc::result_out_of_range || value > highest ||
        (lowestAllowed ? value < lowest : value <= lowest))
        return range;
    return "";
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
            why = QuotedInput(item, '\'') + " is not a code 0.." + std::to_string(highest) +
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

std::string NotAmongWords(const std::string& value, std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    std::string list;
    for (const std::string& word : words)
        list += (list.empty() ? "" : ", ") + word;
    return QuotedInput(value, '\'') + " is not one of " + list;
}

} // namespace vesk
