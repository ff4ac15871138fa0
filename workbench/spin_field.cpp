#include "workbench/spin_field.h"

#include <algorithm>

namespace vesk {

namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::optional<std::int32_t> ParseSpinInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt; // no digits at all
    // Decimal values must fit the signed range; hexadecimal ones any 32-bit pattern, read as two's
    // complement ("$FFFFFFFF" is -1), as the field's parse has always done.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0) return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (magnitude > limit) return std::nullopt;
    }
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

TSpinField::TSpinField(std::int32_t minimum, std::int32_t maximum, std::int32_t value)
    : Minimum(minimum), Maximum(maximum) {
    WriteValue(value);
}

std::int32_t TSpinField::ReadValue() const {
    return ParseSpinInteger(Text).value_or(Minimum);
}

void TSpinField::WriteValue(std::int32_t v) {
    Text = std::to_string(std::clamp(v, Minimum, Maximum));
}

void TSpinField::Commit() {
    std::int32_t v = ReadValue();
    if (v < Minimum || v > Maximum) WriteValue(v);
}

std::int32_t TSpinField::CommitAndRead() {
    Commit();
    return ReadValue();
}

void TSpinField::Step(std::int32_t delta) {
    std::int64_t v = static_cast<std::int64_t>(ReadValue()) + delta;
    WriteValue(static_cast<std::int32_t>(std::clamp<std::int64_t>(v, Minimum, Maximum)));
}

} // namespace vesk
