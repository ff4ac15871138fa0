// Files of many targets (vesk evolve --targets, vesk.read_targets) as arbitrary bytes. A text is
// either read as targets on increasing lines, each of 1..MaxTargetElements degrees 0..100 that
// its line alone, written as a target file, gives again; or refused with a message that names
// the file and a line within the text, and quotes at most a bounded, printable excerpt of it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "runtime/quoted_text.h"
#include "search/target_file.h"

using namespace vesk;

namespace {

constexpr std::string_view Name = "many.txt";

// The lines a text has when LF, CRLF and a lone CR each end one.
long LineCount(std::string_view text) {
    long lines = 1;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (text[at] == '\n' ||
            (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')))
            ++lines;
    return lines;
}

bool IsPrintable(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

void CheckRefusal(std::string_view message, long lines) {
    FUZZ_REQUIRE(message.substr(0, Name.size() + 1) == std::string(Name) + ":");
    FUZZ_REQUIRE(IsPrintable(message));
    FUZZ_REQUIRE(message.size() < 600);
    // FILE:LINE: names a line the text has; FILE: alone is about the whole text.
    const std::string_view rest = message.substr(Name.size() + 1);
    const std::size_t colon = rest.find(':');
    const std::string_view digits = rest.substr(0, colon);
    if (colon != std::string_view::npos && !digits.empty() &&
        digits.find_first_not_of("0123456789") == std::string_view::npos) {
        FUZZ_REQUIRE(digits.size() < 12);
        const long line = std::stol(std::string(digits));
        FUZZ_REQUIRE(line >= 1 && line <= lines);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const long lines = LineCount(text);
    try {
        const std::vector<TTargetLine> targets = ParseTargetLines(text, std::string(Name));
        FUZZ_REQUIRE(!targets.empty());
        long previous = 0;
        for (const TTargetLine& target : targets) {
            FUZZ_REQUIRE(target.Line > previous && target.Line <= lines);
            previous = target.Line;
            FUZZ_REQUIRE(target.Target.Count() >= 1 && target.Target.Count() <= MaxTargetElements);
            std::string plain;
            for (const std::int32_t degree : target.Target.Degrees()) {
                FUZZ_REQUIRE(degree >= 0 && degree <= 100);
                plain += std::to_string(degree) + " ";
            }
            FUZZ_REQUIRE(ParseTargetText(plain, "t").Degrees() == target.Target.Degrees());
        }
    } catch (const ETargetError& error) {
        CheckRefusal(error.what(), lines);
    }
    return 0;
}
