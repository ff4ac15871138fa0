// Target files as arbitrary bytes, in any of the three forms. A text is either read as a set of
// 1..MaxTargetElements degrees 0..100, which every form writes back to the same set, or refused
// with a message that names the file first and quotes at most a bounded, printable excerpt of
// the text: no control byte, no invalid UTF-8, never the whole of a long value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "search/target_file.h"

using namespace vesk;

namespace {

constexpr const char* Name = "target.txt";

bool IsPrintableUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x20 || c == 0x7F) return false;
        std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (length == 0 || at + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return false;
        at += length;
    }
    return true;
}

void CheckSet(const TFuzzySet& set) {
    FUZZ_REQUIRE(set.Count() >= 1 && set.Count() <= MaxTargetElements);
    std::string plain, csv = "element,degree\n", json = "[";
    for (std::int32_t i = 0; i < set.Count(); ++i) {
        const std::int32_t degree = set.GetDegree(i);
        FUZZ_REQUIRE(degree >= 0 && degree <= 100);
        plain += std::to_string(degree) + "\n";
        csv += std::to_string(i) + "," + std::to_string(degree) + "\n";
        json += (i > 0 ? "," : "") + std::to_string(degree);
    }
    for (const std::string& form : {plain, csv, json + "]"})
        FUZZ_REQUIRE(ParseTargetText(form, Name).Degrees() == set.Degrees());
}

void CheckRefusal(const ETargetError& error) {
    const std::string_view message = error.what();
    FUZZ_REQUIRE(message.substr(0, std::string_view(Name).size()) == Name);
    FUZZ_REQUIRE(IsPrintableUtf8(message));
    // The file name, a line number, the longest quote (60 characters, each at most 6 bytes as
    // an escape) and the longest explanation.
    FUZZ_REQUIRE(message.size() < 600);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        CheckSet(ParseTargetText(text, Name));
    } catch (const ETargetError& error) {
        CheckRefusal(error);
    }
    return 0;
}
