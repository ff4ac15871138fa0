#include "search/target_file.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

namespace vesk {

namespace {

constexpr std::string_view Blanks = " \t\r\f\v";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

[[noreturn]] void Refuse(const std::string& name, long line, std::string_view value,
                         const std::string& why) {
    throw ETargetError(name + ":" + std::to_string(line) + ": '" + std::string(value) + "' " + why);
}

// A whole number written as plain digits, or -1.
long PlainNumber(std::string_view text) {
    long value = -1;
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void AddDegree(TFuzzySet& set, const std::string& name, long line, std::string_view text) {
    const long value = PlainNumber(text);
    if (value < 0 || value > 100)
        Refuse(name, line, text, "is not a degree (a whole number 0..100)");
    set.AddDegree(static_cast<std::int32_t>(value));
}

// The lines of the text, numbered from 1.
std::vector<std::string_view> Lines(const std::string& text) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(std::string_view(text).substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

TFuzzySet ParsePlain(const std::string& text, const std::string& name) {
    TFuzzySet set;
    const std::vector<std::string_view> lines = Lines(text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string_view rest = lines[k];
        for (;;) {
            const std::size_t first = rest.find_first_not_of(Blanks);
            if (first == std::string_view::npos) break;
            rest.remove_prefix(first);
            const std::size_t end = std::min(rest.find_first_of(Blanks), rest.size());
            AddDegree(set, name, static_cast<long>(k + 1), rest.substr(0, end));
            rest.remove_prefix(end);
        }
    }
    return set;
}

TFuzzySet ParseCsv(const std::string& text, const std::string& name) {
    TFuzzySet set;
    const std::vector<std::string_view> lines = Lines(text);
    for (std::size_t k = 1; k < lines.size(); ++k) { // line 1 is the header
        const std::string_view row = Trimmed(lines[k]);
        const long line = static_cast<long>(k + 1);
        if (row.empty()) continue;
        const std::size_t comma = row.find(',');
        if (comma == std::string_view::npos) Refuse(name, line, row, "is not a row element,degree");
        const std::string_view element = Trimmed(row.substr(0, comma));
        if (PlainNumber(element) != set.Count())
            Refuse(name, line, element, "is not the element " + std::to_string(set.Count()));
        AddDegree(set, name, line, Trimmed(row.substr(comma + 1)));
    }
    return set;
}

// The line each element of a well-formed top-level JSON array starts on.
std::vector<long> ElementLines(const std::string& text) {
    std::vector<long> lines;
    long line = 1;
    int depth = 0;
    bool inString = false, escaped = false, expecting = false;
    for (char c : text) {
        if (inString) {
            escaped = !escaped && c == '\\';
            if (c == '"' && !escaped) inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expecting = true;
        }
        if (depth == 1 && (c == '[' || c == ',')) expecting = true;
        if (expecting && c != '[' && c != ',' && c != '\n' && Blanks.find(c) == Blanks.npos &&
            c != ']') {
            lines.push_back(line);
            expecting = false;
        }
        if (c == '\n') ++line;
    }
    return lines;
}

TFuzzySet ParseJson(const std::string& text, const std::string& name) {
    nlohmann::json array;
    try {
        array = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& error) {
        throw ETargetError(name + ": not a JSON array of degrees: " + error.what());
    }
    if (!array.is_array()) throw ETargetError(name + ": not a JSON array of degrees");
    const std::vector<long> lines = ElementLines(text);
    TFuzzySet set;
    for (std::size_t k = 0; k < array.size(); ++k) {
        const nlohmann::json& value = array[k];
        const long line = k < lines.size() ? lines[k] : 1;
        if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 100)
            Refuse(name, line, value.dump(), "is not a degree (a whole number 0..100)");
        set.AddDegree(value.get<std::int32_t>());
    }
    return set;
}

} // namespace

TFuzzySet ParseTargetText(const std::string& text, const std::string& name) {
    const std::string_view start = Trimmed(std::string_view(text).substr(0, text.find('\n')));
    const std::size_t first = text.find_first_not_of(" \t\r\f\v\n");
    TFuzzySet set = first != std::string::npos && text[first] == '[' ? ParseJson(text, name)
                    : start == "element,degree"                      ? ParseCsv(text, name)
                                                                     : ParsePlain(text, name);
    if (set.Count() == 0) throw ETargetError(name + ": no degrees");
    return set;
}

TFuzzySet ReadTargetFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ETargetError(path + ": cannot be read");
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) throw ETargetError(path + ": cannot be read");
    return ParseTargetText(text.str(), path);
}

} // namespace vesk
