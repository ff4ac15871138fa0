#pragma once
// The model of a numeric spin field: its text, its bounds, and how commands read and write it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// Leading blanks, an optional sign, then decimal digits or hex digits after "$" or "0x".
// Nothing for an empty text, a trailing character or a value beyond 32 bits.
std::optional<std::int32_t> ParseSpinInteger(std::string_view text);

// A spin field's text and bounds. Reading never clamps; writing always does.
class TSpinField {
public:
    TSpinField(std::int32_t minimum, std::int32_t maximum, std::int32_t value);

    std::string Text;
    std::int32_t Minimum;
    std::int32_t Maximum;

    // The parsed text, unclamped; the minimum when the text does not parse.
    std::int32_t ReadValue() const;
    // Clamps v into the bounds and shows it.
    void WriteValue(std::int32_t v);
    // What losing the focus does: a parsed value outside the bounds is written back clamped.
    void Commit();
    // Commit, then ReadValue: how a command reads the field, so it never sees an
    // out-of-bounds value.
    std::int32_t CommitAndRead();
    // The arrow keys and spin buttons: read, add delta, write (clamped).
    void Step(std::int32_t delta);
};

} // namespace vesk
