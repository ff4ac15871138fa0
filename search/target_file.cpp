#include "search/target_file.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <nlohmann/json.hpp>

#include "runtime/quoted_text.h"
#include "runtime/split_mix.h"

namespace vesk {

const char* const NotADegree = "is not a degree (a whole number 0..100)";

namespace {

constexpr std::string_view Blanks = " \t\r\f\v";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

[[noreturn]] void Refuse(const std::string& name, long line, std::string_view value,
                         const std::string& why) {
    throw ETargetError(name + ":" + std::to_string(line) + ": " + QuotedInput(value, '\'') + " " +
                       why);
}

[[noreturn]] void RefuseCount(const std::string& name, long line) {
    throw ETargetError(name + ":" + std::to_string(line) + ": more than " +
                       std::to_string(MaxTargetElements) + " degrees");
}

// A whole number written as plain digits, or -1.
long PlainNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return -1;
    long value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// Appends the degree the text writes, refusing anything else and a set already full.
void AddDegree(TFuzzySet& set, const std::string& name, long line, std::string_view text) {
    const long value = PlainNumber(text);
    if (value < 0 || value > 100) Refuse(name, line, text, NotADegree);
    if (set.Count() == MaxTargetElements) RefuseCount(name, line);
    set.AddDegree(static_cast<std::int32_t>(value));
}

// Where the line starting at at ends (its LF, CR or the end of the text), and where the next
// one starts: LF, CRLF and a lone CR each end a line.
std::pair<std::size_t, std::size_t> LineEnd(std::string_view text, std::size_t at) {
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    if (end == text.size()) return {end, end + 1};
    return {end, end + (text.substr(end, 2) == "\r\n" ? 2 : 1)};
}

// Calls take(line, number) for each line of the text, numbered from firstLine, without its end.
template <typename TTake> void ForEachLine(std::string_view text, long firstLine, TTake take) {
    long number = firstLine;
    for (std::size_t at = 0; at <= text.size(); ++number) {
        const auto [end, next] = LineEnd(text, at);
        take(text.substr(at, end - at), number);
        at = next;
    }
}

// Appends the degrees the text writes separated by blanks and line ends.
void AddPlainDegrees(TFuzzySet& set, std::string_view text, const std::string& name,
                     long firstLine) {
    ForEachLine(text, firstLine, [&](std::string_view rest, long line) {
        for (;;) {
            const std::size_t first = rest.find_first_not_of(Blanks);
            if (first == std::string_view::npos) break;
            rest.remove_prefix(first);
            const std::size_t end = std::min(rest.find_first_of(Blanks), rest.size());
            AddDegree(set, name, line, rest.substr(0, end));
            rest.remove_prefix(end);
        }
    });
}

TFuzzySet PlainSet(std::string_view text, const std::string& name, long firstLine) {
    TFuzzySet set;
    AddPlainDegrees(set, text, name, firstLine);
    return set;
}

TFuzzySet ParseCsv(std::string_view text, const std::string& name, long firstLine) {
    TFuzzySet set;
    ForEachLine(text, firstLine, [&](std::string_view whole, long line) {
        const std::string_view row = Trimmed(whole);
        if (line == firstLine || row.empty()) return; // the first line is the header
        const std::size_t comma = row.find(',');
        if (comma == std::string_view::npos) Refuse(name, line, row, "is not a row element,degree");
        const std::string_view element = Trimmed(row.substr(0, comma));
        if (PlainNumber(element) != set.Count())
            Refuse(name, line, element, "is not the element " + std::to_string(set.Count()));
        AddDegree(set, name, line, Trimmed(row.substr(comma + 1)));
    });
    return set;
}

// The line the byte at offset stands on, the text's first being firstLine.
long LineAt(std::string_view text, std::size_t offset, long firstLine) {
    long line = firstLine;
    for (std::size_t at = 0;; ++line) {
        at = LineEnd(text, at).second;
        if (at > offset || at > text.size()) return line;
    }
}

// Where the JSON value starting at start ends: at the comma or bracket closing it, outside
// strings and nested values, or at the end of the text.
std::size_t JsonValueEnd(std::string_view text, std::size_t start) {
    int depth = 0;
    bool inString = false, escaped = false;
    for (std::size_t at = start; at < text.size(); ++at) {
        const char c = text[at];
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if ((c == ']' || c == '}') && depth-- == 0) {
            return at;
        } else if (c == ',' && depth == 0) {
            return at;
        }
    }
    return text.size();
}

// The offset of element k of the top-level array the text holds (which the parser has read at
// least that far), or the end of the text.
std::size_t JsonElementStart(std::string_view text, std::size_t k) {
    std::size_t at = text.find('[') + 1;
    for (std::size_t element = 0;; ++element) {
        at = text.find_first_not_of(" \t\r\n", at);
        if (at == std::string_view::npos) return text.size();
        if (element == k) return at;
        at = JsonValueEnd(text, at) + 1;
    }
}

// Collects the degrees of a top-level JSON array as the parser meets them, and stops at the
// first value that is not one (a nested array or object included, so that nesting never goes
// deeper than the array itself).
class TDegreeCollector : public nlohmann::json_sax<nlohmann::json> {
public:
    TFuzzySet Set;
    bool BadElement = false;  // element Set.Count() is not a degree
    bool TooMany = false;     // element Set.Count() is one past the limit
    bool TopNotArray = false; // the text is not an array
    std::size_t ErrorAt = 0;  // a syntax error: where, and the token
    std::string ErrorToken;
    bool SyntaxError = false;

    bool null() override { return Bad(); }
    bool boolean(bool) override { return Bad(); }
    bool number_integer(number_integer_t) override { return Bad(); }
    bool number_unsigned(number_unsigned_t value) override {
        if (FDepth != 1 || value > 100) return Bad();
        if (Set.Count() == MaxTargetElements) {
            TooMany = true;
            return false;
        }
        Set.AddDegree(static_cast<std::int32_t>(value));
        return true;
    }
    bool number_float(number_float_t, const string_t&) override { return Bad(); }
    bool string(string_t&) override { return Bad(); }
    bool binary(binary_t&) override { return Bad(); }
    bool start_object(std::size_t) override { return Bad(); }
    bool key(string_t&) override { return Bad(); }
    bool end_object() override { return Bad(); }
    bool start_array(std::size_t) override {
        if (FDepth != 0) return Bad();
        FDepth = 1;
        return true;
    }
    bool end_array() override {
        FDepth = 0;
        return true;
    }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& error) override {
        // A number past the double range is an element that is not a degree.
        if (error.id == 406 && FDepth == 1) return Bad();
        SyntaxError = true;
        ErrorAt = position;
        ErrorToken = token;
        return false;
    }

private:
    bool Bad() {
        if (FDepth == 0)
            TopNotArray = true;
        else
            BadElement = true;
        return false;
    }

    int FDepth = 0;
};

TFuzzySet ParseJson(std::string_view text, const std::string& name, long firstLine) {
    TDegreeCollector collector;
    try {
        nlohmann::json::sax_parse(text, &collector);
    } catch (const nlohmann::json::exception&) {
        throw ETargetError(name + ": not a JSON array of degrees");
    }
    if (collector.BadElement || collector.TooMany) {
        const std::size_t k = static_cast<std::size_t>(collector.Set.Count());
        const std::size_t start = JsonElementStart(text, k);
        const long line = LineAt(text, start, firstLine);
        if (collector.TooMany) RefuseCount(name, line);
        Refuse(name, line, text.substr(start, JsonValueEnd(text, start) - start), NotADegree);
    }
    if (collector.TopNotArray) throw ETargetError(name + ": not a JSON array of degrees");
    if (collector.SyntaxError)
        throw ETargetError(
            name + ":" +
            std::to_string(LineAt(text, collector.ErrorAt ? collector.ErrorAt - 1 : 0, firstLine)) +
            ": not a JSON array of degrees (malformed near " +
            QuotedInput(collector.ErrorToken, '\'') + ")");
    return std::move(collector.Set);
}

} // namespace

TFuzzySet ParseTargetText(std::string_view text, const std::string& fileName, long firstLine) {
    const std::string name = ShownFileName(fileName);
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(3);
    const std::string_view start = Trimmed(text.substr(0, LineEnd(text, 0).first));
    const std::size_t first = text.find_first_not_of(" \t\r\f\v\n");
    TFuzzySet set = first != std::string_view::npos && text[first] == '['
                        ? ParseJson(text, name, firstLine)
                    : start == "element,degree" ? ParseCsv(text, name, firstLine)
                                                : PlainSet(text, name, firstLine);
    if (set.Count() == 0) throw ETargetError(name + ": no degrees");
    return set;
}

std::string TargetText(const TFuzzySet& target) {
    std::string text;
    for (std::int32_t degree : target.Degrees())
        text += std::to_string(degree) + "\n";
    return text;
}

std::string ReadTargetBytes(const std::string& path, const std::atomic<bool>* stop) {
    const std::string shown = ShownFileName(path);
    const auto fail = [&shown](int error) {
        return ETargetError(shown + ": cannot be read" +
                                (error != 0 ? std::string(": ") + std::strerror(error) : ""),
                            error);
    };
    // Opened without waiting (a FIFO without a writer would hold the open) and read as input
    // comes, so that a stop asked for meanwhile is seen; a regular file is always ready.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw fail(errno);
    const std::unique_ptr<const int, void (*)(const int*)> closed(
        &fd, [](const int* f) { ::close(*f); });
    constexpr std::size_t Block = std::size_t{1} << 16;
    constexpr int LookEveryMs = 100;
    std::string text;
    for (;;) {
        if (stop != nullptr && stop->load()) throw ETargetReadStopped();
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, LookEveryMs);
        if (polled < 0 && errno != EINTR) throw fail(errno);
        if (polled <= 0) continue;
        // One byte past the limit tells a file that is too long, whatever it is (/dev/zero too).
        const std::size_t had = text.size();
        text.resize(had + Block);
        const ssize_t got = ::read(fd, text.data() + had, Block);
        text.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            throw fail(errno);
        }
        if (text.size() > MaxTargetBytes)
            throw ETargetError(shown + ": longer than " + std::to_string(MaxTargetBytes) +
                               " bytes");
    }
    return text;
}

TFuzzySet ReadTargetFile(const std::string& path, const std::atomic<bool>* stop) {
    return ParseTargetText(ReadTargetBytes(path, stop), path);
}

std::vector<TTargetLine> ParseTargetLines(std::string_view text, const std::string& fileName) {
    const std::string name = ShownFileName(fileName);
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(3);
    std::vector<TTargetLine> targets;
    ForEachLine(text, 1, [&](std::string_view line, long number) {
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty()) return;
        TFuzzySet set;
        if (trimmed.front() == '[') {
            set = ParseJson(trimmed, name, number);
        } else {
            // Fields between commas, each holding degrees separated by blanks; an empty one
            // would shift every later degree, so it is refused as a --target file refuses it.
            for (std::string_view rest = trimmed;;) {
                const std::size_t comma = std::min(rest.find(','), rest.size());
                const std::string_view field = Trimmed(rest.substr(0, comma));
                if (field.empty()) Refuse(name, number, trimmed, "has an empty field");
                AddPlainDegrees(set, field, name, number);
                if (comma == rest.size()) break;
                rest.remove_prefix(comma + 1);
            }
        }
        if (set.Count() == 0)
            throw ETargetError(name + ":" + std::to_string(number) + ": no degrees");
        targets.push_back({number, std::move(set)});
    });
    if (targets.empty()) throw ETargetError(name + ": no targets");
    return targets;
}

std::vector<TTargetLine> ReadTargetLines(const std::string& path, const std::atomic<bool>* stop) {
    return ParseTargetLines(ReadTargetBytes(path, stop), path);
}

unsigned TargetLineSeed(unsigned seed, long line) {
    std::uint64_t state =
        (static_cast<std::uint64_t>(seed) << 32) + static_cast<std::uint64_t>(line);
    return static_cast<unsigned>(SplitMix64(state) >> 32);
}

} // namespace vesk
