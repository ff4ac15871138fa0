// The chunked reader "vesk score" uses hands on the same lines, numbered the same, as the line
// reader "vesk session" uses, whatever the chunk size and wherever a line is cut.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "cli/chunk_reader.h"
#include "cli/text_stream.h"

namespace vesk::cli {
namespace {

// What a reader gives: each line's number and text, "<too long>" for a refused one.
using TLines = std::vector<std::pair<long, std::string>>;

std::FILE* StreamOf(const std::string& bytes) {
    std::FILE* stream = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::rewind(stream);
    return stream;
}

TLines ByLineReader(const std::string& bytes) {
    std::FILE* stream = StreamOf(bytes);
    TLineReader reader(stream);
    TLines lines;
    std::string line;
    for (TLineReader::TResult r; (r = reader.Next(line)) != TLineReader::TResult::End;) {
        lines.emplace_back(reader.LineNumber(),
                           r == TLineReader::TResult::TooLong ? "<too long>" : line);
        if (r == TLineReader::TResult::TooLong) break; // nothing after it is read
    }
    std::fclose(stream);
    return lines;
}

TLines ByChunkReader(const std::string& bytes, std::size_t chunkBytes) {
    std::FILE* stream = StreamOf(bytes);
    TChunkReader reader(stream, chunkBytes);
    TLines lines;
    while (std::optional<TLineChunk> chunk = reader.Next()) {
        if (chunk->TooLong) {
            lines.emplace_back(chunk->FirstLine, "<too long>");
            continue;
        }
        EXPECT_FALSE(chunk->Text.empty());
        EXPECT_EQ(chunk->Text.back(), '\n');
        long number = chunk->FirstLine;
        for (std::size_t at = 0; at < chunk->Text.size();) {
            const std::size_t end = chunk->Text.find('\n', at);
            std::string line = chunk->Text.substr(at, end - at);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.emplace_back(number++, line);
            at = end + 1;
        }
    }
    EXPECT_FALSE(reader.Error().has_value());
    std::fclose(stream);
    return lines;
}

TEST(ChunkReader, GivesTheLinesTheLineReaderGives) {
    std::mt19937 random(3);
    const std::string alphabet = "0123456789ABCDEF \r\n\n";
    for (int k = 0; k < 300; ++k) {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 600)(random), ' ');
        for (char& c : bytes)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0,
                                                                    alphabet.size() - 1)(random)];
        for (std::size_t chunkBytes : {1, 2, 7, 64, 4096})
            ASSERT_EQ(ByChunkReader(bytes, chunkBytes), ByLineReader(bytes)) << chunkBytes;
    }
}

TEST(ChunkReader, RefusesTheLinesTheLineReaderRefuses) {
    const std::string longest(MaxLineLength, 'A');
    for (const std::string& bytes :
         {"00000\n" + longest + "\n11111", "00000\n" + longest + "\r\n11111\n",
          "00000\n" + longest + "B\n11111\n", "00000\n" + longest + "B\r\n22222", longest + "BB",
          longest + "\r", longest + "B\r", "\n" + longest + longest + "\n\n"})
        for (std::size_t chunkBytes : {std::size_t{1000}, std::size_t{1} << 16})
            EXPECT_EQ(ByChunkReader(bytes, chunkBytes), ByLineReader(bytes)) << bytes.size();
}

} // namespace
} // namespace vesk::cli
