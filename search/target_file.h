#pragma once
// A user's target set read from a file, in any of the forms "vesk reference" prints: degrees
// separated by blanks or line feeds, CSV with the header "element,degree", or a JSON array.

#include <stdexcept>
#include <string>

#include "fuzzyset/fuzzy_set.h"

namespace vesk {

// A target file that cannot be read or holds something else than degrees; the message names
// the file, the line and the value.
class ETargetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The degrees of the text as a set (its element count is theirs). Each degree is an integer
// 0..100 written as plain digits; a CSV row's element is its row number from 0. name is what
// messages call the text (the file name).
TFuzzySet ParseTargetText(const std::string& text, const std::string& name);
// The same for a file's contents.
TFuzzySet ReadTargetFile(const std::string& path);

} // namespace vesk
