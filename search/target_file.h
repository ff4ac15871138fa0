#pragma once
// A user's target set read from a file, in any of the forms "vesk reference" prints: degrees
// separated by blanks or line feeds, CSV with the header "element,degree", or a JSON array.

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzzyset/fuzzy_set.h"

namespace vesk {

// The most a target may hold: the element count of the largest whole reference, in a file of
// at most MaxTargetBytes. Past either the file is refused as soon as the limit is passed.
constexpr std::int32_t MaxTargetElements = MaxReferenceElements;
constexpr std::size_t MaxTargetBytes = std::size_t{64} << 20;

// What a value that is not a degree is called, after the value.
extern const char* const NotADegree; // "is not a degree (a whole number 0..100)"

// A target file that cannot be read or holds something else than degrees; the message names
// the file (as ShownFileName shows it), the line and the value (quoted as QuotedInput quotes it).
class ETargetError : public std::runtime_error {
public:
    // systemError: the errno of a file that could not be opened or read; 0 for its contents.
    explicit ETargetError(const std::string& message, int systemError = 0)
        : std::runtime_error(message), SystemError(systemError) {}
    int SystemError;
};

// A read given up because a stop was asked for while it waited for input (a FIFO whose writer
// is slow, a terminal).
class ETargetReadStopped : public std::runtime_error {
public:
    ETargetReadStopped() : std::runtime_error("stopped while reading") {}
};

// The degrees of the text as a set (its element count is theirs). Each degree is an integer
// 0..100 written as plain digits; a CSV row's element is its row number from 0. A UTF-8
// byte-order mark at the start is skipped. name is what messages call the text (the file name).
// firstLine is the number messages give the text's first line (a line of a larger file).
TFuzzySet ParseTargetText(std::string_view text, const std::string& name, long firstLine = 1);
// A file's contents, read no further than MaxTargetBytes. Lines end in LF, CRLF or a lone CR.
// While it waits for input, the read looks at stop (when given) at least ten times a second and
// throws ETargetReadStopped once it is set.
std::string ReadTargetBytes(const std::string& path, const std::atomic<bool>* stop = nullptr);
// The set of a file's contents.
TFuzzySet ReadTargetFile(const std::string& path, const std::atomic<bool>* stop = nullptr);
// A target as a file holds it: one degree a line, each line ended by a line feed.
std::string TargetText(const TFuzzySet& target);

// One target of a file of many, one a line.
struct TTargetLine {
    long Line = 0; // from 1
    TFuzzySet Target;
};
// The targets of a text holding one a line: degrees separated by blanks or commas, or a JSON
// array; blank lines are skipped. A line that is not a target (an empty field between commas
// included) is refused naming its line.
std::vector<TTargetLine> ParseTargetLines(std::string_view text, const std::string& name);
// The targets of such a file, read as ReadTargetBytes reads it.
std::vector<TTargetLine> ReadTargetLines(const std::string& path,
                                         const std::atomic<bool>* stop = nullptr);
// The seed the target on a line of such a file is searched with: the same whatever the other
// lines, so that the line alone, searched with this seed, gives the same answer.
unsigned TargetLineSeed(unsigned seed, long line);

} // namespace vesk
