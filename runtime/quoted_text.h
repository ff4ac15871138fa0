#pragma once
// Input quoted in a message: bounded in length, and every byte that would not show as itself
// on a terminal written as an escape, so that a message never carries control bytes, invalid
// UTF-8 or an unbounded value from what a user fed in.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

// How many characters of the input a message quotes; "..." marks a cut.
constexpr std::size_t QuotedCharacters = 60;

// The bytes between two quote characters, escaped: \\ for the backslash, \" or \' for the quote,
// \n \r \t, \u00XX for the other controls and the C1 controls, \uFEFF for the byte-order mark,
// \xXX for each byte that is not part of valid UTF-8. Characters past the first
// QuotedCharacters are left out and "..." stands after the closing quote.
std::string QuotedInput(std::string_view bytes, char quote = '"');

// How many characters of a file name a message shows; longer names (which no system opens)
// are cut, "..." marking the cut.
constexpr std::size_t ShownNameCharacters = 1024;

// A file name as a message shows it: escaped as QuotedInput escapes, without quotes (a message
// starts "NAME:LINE:" as compilers' do), and cut past ShownNameCharacters.
std::string ShownFileName(std::string_view name);

// Blanks (space, tab, CR, FF, VT) at either end of text removed.
std::string_view Trimmed(std::string_view text);

} // namespace vesk
