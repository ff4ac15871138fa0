#include "cli/text_stream.h"

#include <cerrno>
#include <cstring>

#include "cli/cli_errors.h"

namespace vesk::cli {

TLineReader::TResult TLineReader::Next(std::string& line) {
    line.clear();
    bool tooLong = false;
    int c = 0;
    // A line is refused as soon as it passes the limit (one byte more may be the CR before its
    // LF); the rest of it is not read, so a line without an end is refused too.
    while ((c = std::getc(FStream)) != EOF && c != '\n') {
        if (line.size() == MaxLineLength + 1) {
            tooLong = true;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    // A read error is not the end of the input: the lines after it would be lost unnoticed.
    if (c == EOF && std::ferror(FStream)) {
        const int error = errno;
        throw ECommandFailure(std::string("cannot read standard input: ") + std::strerror(error));
    }
    if (c == EOF && line.empty() && !tooLong) return TResult::End;
    ++FLineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (tooLong || line.size() > MaxLineLength) {
        line.clear();
        return TResult::TooLong;
    }
    return TResult::Line;
}

namespace {

[[noreturn]] void ThrowOutputError() {
    const int error = errno;
    throw EOutputError(std::string("cannot write to standard output: ") + std::strerror(error),
                       error == EPIPE);
}

} // namespace

void WriteOut(const std::string& text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) ThrowOutputError();
}

void FlushOut() {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) ThrowOutputError();
}

} // namespace vesk::cli
