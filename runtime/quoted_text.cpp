#include "runtime/quoted_text.h"

#include <cstdint>
#include <cstdio>

namespace vesk {

namespace {

// The length of the valid UTF-8 sequence at the start of bytes (2..4) and its code point, or 0
// when it is not one: overlong forms, surrogates and code points past U+10FFFF are not.
std::size_t Utf8Sequence(std::string_view bytes, std::uint32_t& code) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, lowest = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[k]);
        if ((next & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

// Appends the bytes escaped, at most limit characters of them; the quote (none when 0) is
// escaped too. Whether all the bytes were shown.
bool AppendEscaped(std::string& out, std::string_view bytes, char quote, std::size_t limit) {
    std::size_t shown = 0, at = 0;
    for (; at < bytes.size() && shown < limit; ++shown) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (c >= 0x80) {
            std::uint32_t code = 0;
            const std::size_t length = Utf8Sequence(bytes.substr(at), code);
            if (length == 0) {
                AppendEscape(out, "\\x%02X", c);
                ++at;
            } else {
                if (code <= 0x9F || code == 0xFEFF || code == 0x2028 || code == 0x2029)
                    AppendEscape(out, "\\u%04X", code);
                else
                    out.append(bytes.substr(at, length));
                at += length;
            }
            continue;
        }
        ++at;
        if (c == '\\' || (quote != 0 && c == static_cast<unsigned char>(quote))) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, "\\u%04X", c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return at == bytes.size();
}

} // namespace

std::string QuotedInput(std::string_view bytes, char quote) {
    std::string out(1, quote);
    const bool whole = AppendEscaped(out, bytes, quote, QuotedCharacters);
    out += quote;
    if (!whole) out += "...";
    return out;
}

std::string ShownFileName(std::string_view name) {
    std::string out;
    if (!AppendEscaped(out, name, 0, ShownNameCharacters)) out += "...";
    return out;
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view Blanks = " \t\r\f\v";
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

} // namespace vesk
