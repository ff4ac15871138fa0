#pragma once
// Standard input read line by line, defensively, and standard output written with every error
// noticed.

#include <cstdio>
#include <stdexcept>
#include <string>

namespace vesk::cli {

// The longest line read from standard input; longer ones are reported, not stored.
constexpr std::size_t MaxLineLength = 1 << 20;

// Lines of a byte stream ending in LF (a CR before it is dropped); any byte, NUL included, is
// kept. The last line needs no LF.
class TLineReader {
public:
    enum class TResult { Line, TooLong, End };

    explicit TLineReader(std::FILE* stream) : FStream(stream) {}

    // The next line into line. TooLong: the line exceeded MaxLineLength; nothing more of it is
    // read, and the reader is not to be used again.
    // A read error throws ECommandFailure.
    TResult Next(std::string& line);
    // The number of the line last returned, from 1.
    long LineNumber() const { return FLineNumber; }

private:
    std::FILE* FStream;
    long FLineNumber = 0;
};

// Standard output could not be written (a closed pipe, a full disk).
class EOutputError : public std::runtime_error {
public:
    EOutputError(const std::string& what, bool closedPipe)
        : std::runtime_error(what), ClosedPipe(closedPipe) {}
    bool ClosedPipe;
};

// Writes text to standard output; throws EOutputError when that fails.
void WriteOut(const std::string& text);
// Flushes standard output; throws EOutputError when that fails.
void FlushOut();

} // namespace vesk::cli
