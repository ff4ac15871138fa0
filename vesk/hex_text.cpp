#include "vesk/hex_text.h"

#include <algorithm>
#include <array>

#include "vesk/fuzzy_block.h"

namespace vesk {

namespace {

constexpr char UpperDigits[] = "0123456789ABCDEF";

// HexCharValue of every byte (-87..168).
constexpr std::array<std::int16_t, 256> CharValues = [] {
    std::array<std::int16_t, 256> values{};
    for (std::int32_t code = 0; code < 256; ++code) {
        std::int32_t folded = code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
        // Letters land on 10..35; every other byte keeps the same offset, in range or not.
        values[static_cast<std::size_t>(code)] =
            static_cast<std::int16_t>(folded >= '0' && folded <= '9' ? folded - '0' : folded - 87);
    }
    return values;
}();

} // namespace

std::string HexDigitText(std::int32_t value) {
    if (value < 0 || value > 15) return {};
    return std::string(1, UpperDigits[value]);
}

std::int32_t HexCharValue(char c) {
    // The byte as 0..255 whatever the signedness of char; ASCII-only case folding, no locale.
    return CharValues[static_cast<unsigned char>(c)];
}

void TVesk::LoadFromHex(std::string_view text) {
    if (text.size() % FieldsPerBlock != 0) return;
    // Groups beyond the 32nd would be refused by AddBlock; they are not read.
    const std::size_t groups = std::min<std::size_t>(text.size() / FieldsPerBlock, MaxBlocks);
    // Emptied but not shrunk, so that a list read again and again keeps its storage.
    FBlocks.clear();
    FBlocks.reserve(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        const char* digits = text.data() + g * FieldsPerBlock;
        TFuzzyBlock block{HexCharValue(digits[0]), HexCharValue(digits[1]), HexCharValue(digits[2]),
                          HexCharValue(digits[3]), HexCharValue(digits[4])};
        block.Validate(); // an invalid group becomes the all-zero block, which still counts
        // Valid now and fewer than MaxBlocks held: exactly what AddBlock would append.
        FBlocks.push_back(block);
    }
}

std::string BlockHex(const TFuzzyBlock& block) {
    std::string digits;
    for (std::int32_t k = 0; k < FieldsPerBlock; ++k)
        digits += HexDigitText(FieldOf(block, k));
    return digits;
}

std::string PatternHex(std::span<const TFuzzyBlock> blocks) {
    std::string text;
    text.reserve(blocks.size() * FieldsPerBlock);
    for (const TFuzzyBlock& block : blocks)
        text += BlockHex(block);
    return text;
}

std::string TVesk::SaveToHex() const {
    return PatternHex(FBlocks);
}

} // namespace vesk
