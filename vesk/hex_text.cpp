#include "vesk/hex_text.h"

#include <algorithm>

#include "vesk/fuzzy_block.h"

namespace vesk {

namespace {

constexpr std::int32_t DigitsPerBlock = 5;
constexpr char UpperDigits[] = "0123456789ABCDEF";

} // namespace

std::string HexDigitText(std::int32_t value) {
    if (value < 0 || value > 15) return {};
    return std::string(1, UpperDigits[value]);
}

std::int32_t HexCharValue(char c) {
    // The byte as 0..255 whatever the signedness of char; ASCII-only case folding, no locale.
    std::int32_t code = static_cast<unsigned char>(c);
    if (code >= 'A' && code <= 'Z') code += 'a' - 'A';
    if (code >= '0' && code <= '9') return code - '0';
    // Letters land on 10..35; every other byte keeps the same offset, in range or not.
    return code - 87;
}

void TVesk::LoadFromHex(std::string_view text) {
    if (text.size() % DigitsPerBlock != 0) return;
    ClearBlocks();
    FBlocks.reserve(std::min<std::size_t>(text.size() / DigitsPerBlock, MaxBlocks));
    for (std::size_t at = 0; at < text.size() && Count() < MaxBlocks; at += DigitsPerBlock) {
        TFuzzyBlock block;
        block.Shape = HexCharValue(text[at]);
        block.Centre = HexCharValue(text[at + 1]);
        block.Spread = HexCharValue(text[at + 2]);
        block.Repeats = HexCharValue(text[at + 3]);
        block.Op = HexCharValue(text[at + 4]);
        block.Validate(); // an invalid group becomes the all-zero block, which still counts
        AddBlock(block);
    }
}

std::string TVesk::SaveToHex() const {
    std::string text;
    text.reserve(FBlocks.size() * DigitsPerBlock);
    for (const TFuzzyBlock& block : FBlocks)
        for (std::int32_t field :
             {block.Shape, block.Centre, block.Spread, block.Repeats, block.Op})
            text += HexDigitText(field);
    return text;
}

} // namespace vesk
