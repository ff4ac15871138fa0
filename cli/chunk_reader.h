#pragma once
// Standard input read in large blocks and handed on as runs of whole lines, for commands that
// work through many lines at full speed. Lines are those TLineReader reads: ending in LF, a CR
// before it dropped, the last one needing no LF, longer ones than MaxLineLength refused.
// Input that is not a regular file (a pipe, a terminal) may come a line at a time from someone
// waiting for each answer: its whole lines are handed on as soon as no more input is waiting.

#include <cstdio>
#include <optional>
#include <string>

namespace vesk::cli {

// A run of consecutive lines, or one line too long to keep (the last chunk: nothing after it is
// read).
struct TLineChunk {
    std::string Text;     // whole lines, each ending in LF (the input's last one given one)
    long FirstLine = 0;   // the number of the first line, from 1
    bool TooLong = false; // a single line longer than MaxLineLength, not kept
};

class TChunkReader {
public:
    // Chunks of about chunkBytes bytes (a chunk holds at least one whole line).
    explicit TChunkReader(std::FILE* stream, std::size_t chunkBytes = std::size_t{1} << 18);

    // The next chunk, or nothing at the end of input. A read error ends the input early: the
    // lines before it still come, and Error() says what happened. Without mayWait, nothing also
    // when a whole line would have to be waited for (a pipe or terminal whose writer is slow).
    std::optional<TLineChunk> Next(bool mayWait = true);
    // The input is a pipe, a terminal or a device rather than a regular file.
    bool Interactive() const { return FInteractive; }
    // The read error that ended the input, if any ("cannot read standard input: REASON").
    const std::optional<std::string>& Error() const { return FError; }

private:
    // Reads more input into FBuffer; false at the end of input or on an error.
    bool Fill();
    // More input can be read without waiting (or its end is there).
    bool Readable() const;

    int FDescriptor;
    bool FInteractive;
    std::size_t FChunkBytes;
    std::string FBuffer; // bytes read but not yet handed on, from FStart
    std::size_t FStart = 0;
    bool FEnd = false;
    long FNextLine = 1;
    std::optional<std::string> FError;
};

} // namespace vesk::cli
