#include "vesk/exact_hex.h"

namespace vesk {

namespace {

constexpr std::size_t DigitsPerBlock = FieldsPerBlock;
constexpr std::uint8_t NotADigit = 16;

// The value of a hexadecimal digit of either case; NotADigit for any other byte.
constexpr std::array<std::uint8_t, 256> DigitValues = [] {
    std::array<std::uint8_t, 256> values{};
    for (std::size_t c = 0; c < values.size(); ++c)
        values[c] = c >= '0' && c <= '9'   ? static_cast<std::uint8_t>(c - '0')
                    : c >= 'A' && c <= 'F' ? static_cast<std::uint8_t>(c - 'A' + 10)
                    : c >= 'a' && c <= 'f' ? static_cast<std::uint8_t>(c - 'a' + 10)
                                           : NotADigit;
    return values;
}();

std::uint8_t Digit(std::string_view text, std::size_t at) {
    return DigitValues[static_cast<unsigned char>(text[at])];
}

bool ExactLength(std::string_view text) {
    return text.size() % DigitsPerBlock == 0 &&
           text.size() <= DigitsPerBlock * static_cast<std::size_t>(MaxBlocks);
}

} // namespace

bool IsExactPatternText(std::string_view text) {
    if (!ExactLength(text)) return false;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (Digit(text, at) > FieldHighest(at % DigitsPerBlock)) return false;
    return true;
}

std::int32_t ReadExactPattern(std::string_view text, std::array<TFuzzyBlock, MaxBlocks>& blocks) {
    if (!ExactLength(text)) return -1;
    const std::size_t count = text.size() / DigitsPerBlock;
    for (std::size_t b = 0; b < count; ++b) {
        const std::size_t at = b * DigitsPerBlock;
        std::uint8_t digits[DigitsPerBlock];
        std::uint32_t over = 0; // non-zero once a digit exceeds its field
        for (std::size_t k = 0; k < DigitsPerBlock; ++k) {
            digits[k] = Digit(text, at + k);
            over |= static_cast<std::uint32_t>(digits[k] > FieldHighest(k));
        }
        if (over != 0) return -1;
        blocks[b] = {digits[0], digits[1], digits[2], digits[3], digits[4]};
    }
    return static_cast<std::int32_t>(count);
}

} // namespace vesk
