// Hex pattern text on arbitrary bytes: reading never fails, and what it keeps is always a list of
// at most 32 valid blocks that writes out as upper-case hex, 5 characters a block, and reads
// back to the same list.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "vesk/fuzzy_block.h"

using namespace vesk;

namespace {

constexpr std::size_t GroupLength = 5;
constexpr std::string_view WrittenDigits = "0123456789ABCDEF";

// A field value read independently of the library: digits 0..9, ASCII letters (either case)
// 10..35, any other byte its unsigned code minus 87.
std::int32_t FieldValue(char c) {
    const auto code = static_cast<std::int32_t>(static_cast<unsigned char>(c));
    if (code >= '0' && code <= '9') return code - '0';
    if (code >= 'A' && code <= 'Z') return code - 'A' + 10;
    return code - 87;
}

// The block a group of five characters gives when every field is in range.
std::optional<TFuzzyBlock> GroupBlock(std::string_view group) {
    const std::int32_t highest[] = {15, 15, 7, 7, 15};
    std::int32_t fields[GroupLength];
    for (std::size_t k = 0; k < GroupLength; ++k) {
        fields[k] = FieldValue(group[k]);
        if (fields[k] < 0 || fields[k] > highest[k]) return std::nullopt;
    }
    return TFuzzyBlock{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

bool AllHexDigits(std::string_view group) {
    return std::all_of(group.begin(), group.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool IsValid(TFuzzyBlock block) {
    return block.Validate();
}

void CheckWrittenText(const TVesk& list, const std::string& text) {
    FUZZ_REQUIRE(text.size() == GroupLength * static_cast<std::size_t>(list.Count()));
    for (char c : text)
        FUZZ_REQUIRE(WrittenDigits.find(c) != std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The list starts with a marker block, so a text that is ignored can be told apart.
    TVesk list;
    TFuzzyBlock marker{1, 2, 3, 4, 5};
    FUZZ_REQUIRE(list.AddBlock(marker) == 0);
    list.LoadFromHex(text);

    if (size % GroupLength != 0) {
        FUZZ_REQUIRE(list.Count() == 1 && list.Block(0) == marker);
        return 0;
    }

    const std::size_t groups = size / GroupLength;
    FUZZ_REQUIRE(list.Count() <= MaxBlocks);
    FUZZ_REQUIRE(static_cast<std::size_t>(list.Count()) == std::min<std::size_t>(groups, MaxBlocks));
    bool canonical = groups <= static_cast<std::size_t>(MaxBlocks);
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        const std::string_view group = text.substr(static_cast<std::size_t>(i) * GroupLength, 5);
        const std::optional<TFuzzyBlock> expected = GroupBlock(group);
        FUZZ_REQUIRE(IsValid(list.Block(i)));
        FUZZ_REQUIRE(list.Block(i) == expected.value_or(TFuzzyBlock{}));
        canonical = canonical && expected && AllHexDigits(group);
    }

    const std::string written = list.SaveToHex();
    CheckWrittenText(list, written);

    // Load-save-load is stable: the written text reads back to the same blocks and the same text.
    TVesk again;
    again.LoadFromHex(written);
    FUZZ_REQUIRE(again.Blocks() == list.Blocks());
    FUZZ_REQUIRE(again.SaveToHex() == written);

    // A text of at most 32 valid groups of hex digits comes back upper-cased, unchanged otherwise.
    if (canonical) {
        std::string upper(text);
        for (char& c : upper)
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        FUZZ_REQUIRE(written == upper);
    }
    return 0;
}
