#include "cli/chunk_reader.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/text_stream.h"

namespace vesk::cli {

namespace {

bool IsRegularFile(int descriptor) {
    struct stat status {};
    return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

// The stream is read through its descriptor, past stdio's buffer: a pipe's read returns what has
// come, where fread would wait to fill its whole count.
TChunkReader::TChunkReader(std::FILE* stream, std::size_t chunkBytes)
    : FDescriptor(fileno(stream)), FInteractive(!IsRegularFile(FDescriptor)),
      FChunkBytes(chunkBytes) {}

bool TChunkReader::Readable() const {
    pollfd ready{FDescriptor, POLLIN, 0};
    return poll(&ready, 1, 0) != 0;
}

bool TChunkReader::Fill() {
    if (FEnd) return false;
    if (FStart > 0) {
        FBuffer.erase(0, FStart);
        FStart = 0;
    }
    const std::size_t had = FBuffer.size();
    FBuffer.resize(had + FChunkBytes);
    ssize_t got = 0;
    do
        got = read(FDescriptor, FBuffer.data() + had, FChunkBytes);
    while (got < 0 && errno == EINTR);
    FBuffer.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got <= 0) {
        FEnd = true;
        // A read error is not the end of the input: the lines after it would be lost unnoticed.
        if (got < 0) FError = std::string("cannot read standard input: ") + std::strerror(errno);
        return false;
    }
    return true;
}

namespace {

// The length a line keeps once a CR before its LF is dropped.
std::size_t KeptLength(const char* line, std::size_t length) {
    return length > 0 && line[length - 1] == '\r' ? length - 1 : length;
}

} // namespace

std::optional<TLineChunk> TChunkReader::Next(bool mayWait) {
    for (;;) {
        const std::size_t pending = FBuffer.size() - FStart;
        const char* begin = FBuffer.data() + FStart;
        const auto* firstEnd = static_cast<const char*>(std::memchr(begin, '\n', pending));
        const std::size_t firstLength =
            firstEnd != nullptr ? static_cast<std::size_t>(firstEnd - begin) : pending;

        // The first line alone is too long: the input ends there, whatever follows, so that a
        // line without an end is refused as soon as it passes the limit.
        if (firstLength > MaxLineLength + 1 ||
            (firstEnd != nullptr && KeptLength(begin, firstLength) > MaxLineLength)) {
            FEnd = true;
            FBuffer.clear();
            FStart = 0;
            return TLineChunk{"", FNextLine++, true};
        }

        // Whole lines up to about the chunk size, the last LF of the pending bytes ending them;
        // from a pipe or terminal, the whole lines there are once more would have to be waited for.
        const bool wouldWait = FInteractive && !FEnd && !Readable();
        if (firstEnd != nullptr && (pending >= FChunkBytes || FEnd || wouldWait)) {
            const std::size_t window = std::min(pending, std::max(FChunkBytes, firstLength + 1));
            const char* last = begin + window - 1;
            while (*last != '\n')
                --last;
            TLineChunk chunk;
            chunk.FirstLine = FNextLine;
            chunk.Text.assign(begin, last + 1);
            FNextLine += std::count(begin, last + 1, '\n');
            FStart += chunk.Text.size();
            return chunk;
        }
        if (wouldWait && !mayWait) return std::nullopt;
        if (!Fill()) {
            // The end: what is left is one last line without its LF.
            if (FBuffer.size() == FStart) return std::nullopt;
            if (FBuffer.find('\n', FStart) != std::string::npos) continue;
            TLineChunk chunk{FBuffer.substr(FStart) + "\n", FNextLine++, false};
            FStart = FBuffer.size();
            if (KeptLength(chunk.Text.data(), chunk.Text.size() - 1) > MaxLineLength)
                return TLineChunk{"", chunk.FirstLine, true};
            return chunk;
        }
    }
}

} // namespace vesk::cli
