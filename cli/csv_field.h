#pragma once
// How the vesk tool writes a CSV field.

#include <string>
#include <string_view>

namespace vesk::cli {

// The field as RFC 4180 writes it: in quotes, its quotes doubled, when it holds a comma, a quote
// or a line break; as it is otherwise.
inline std::string CsvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace vesk::cli
