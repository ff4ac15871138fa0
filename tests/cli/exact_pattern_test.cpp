// The quick check "vesk score" makes before PatternProblem must never pass a text PatternProblem
// would refuse; it passes exactly the texts PatternProblem accepts.
#include <gtest/gtest.h>

#include <string>

#include "vesk/pattern_check.h"
#include "vesk/exact_hex.h"

namespace vesk {
namespace {

bool Accepted(const std::string& text) {
    return !PatternProblem(text).has_value();
}

TEST(ExactPatternText, AgreesWithPatternProblemOnEveryByteInEveryPlace) {
    const std::string base = "F0770AF655";
    for (std::size_t at = 0; at < base.size(); ++at)
        for (int code = 0; code < 256; ++code) {
            std::string text = base;
            text[at] = static_cast<char>(code);
            EXPECT_EQ(IsExactPatternText(text), Accepted(text)) << at << " " << code;
        }
}

TEST(ExactPatternText, AgreesWithPatternProblemOnLengths) {
    for (std::size_t length = 0; length <= 170; ++length) {
        const std::string text(length, 'a');
        EXPECT_EQ(IsExactPatternText(text), Accepted(text)) << length;
    }
}

} // namespace
} // namespace vesk
