#pragma once
// The words an option's value is checked with, the same wherever a search setting is given:
// the tool's options, the session's settings and the window's search panel.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

// A number as a message writes it: whole numbers without a fraction or an exponent, others in
// the shortest text that reads back as the same double.
std::string NumberText(double value);
// Digits (a minus sign first for a negative number) for a value in lowest..highest: "" when the
// text is one, else "must be a whole number", or "must be LOWEST to HIGHEST" for a whole number
// outside.
std::string WholeNumberProblem(const std::string& text, std::int64_t lowest, std::uint64_t highest);
// A finite decimal number above lowest (or at least lowest when it may equal it) and at most
// highest: "" when the text is one, else "must be a number" (nan and inf included) or the range.
std::string RealNumberProblem(const std::string& text, double lowest, bool lowestAllowed,
                              double highest);
// "'VALUE' is not one of A, B, ..." for a value that is none of the words (quoted as QuotedInput
// quotes it; the words in sorted order).
std::string NotAmongWords(const std::string& value, std::vector<std::string> words);
// Codes 0..highest as a list of numbers and ranges ("0-7,12"), sorted without repeats; nothing
// when the text is not one (why says what is wrong).
std::optional<std::vector<std::int32_t>> ParseCodeList(const std::string& text,
                                                       std::int32_t highest, std::string& why);

} // namespace vesk
