// The "vesk session" protocol on arbitrary lines, run on a fresh session per input. Only a usage
// error may end a run; faults are the session's to catch. Every answer is one line of valid
// UTF-8 JSON with the nine keys in order, and its error, when there is one, is a text the
// workbench shows. "save" lines are redirected into a scratch directory, whatever they name.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "cli/cli_errors.h"
#include "cli/session_protocol.h"
#include "fuzz/fuzz_check.h"
#include "runtime/random_source.h"
#include "workbench/session.h"

using namespace vesk;

namespace {

// The directory every saved image goes to, made on first use, emptied after each input and
// removed at exit. Plain characters, so that it outlives every static destructor.
char ScratchPath[] = "/tmp/vesk_fuzz_session_XXXXXX";

void RemoveScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchPath, ignored);
}

std::filesystem::path ScratchDirectory() {
    static const bool made = [] {
        FUZZ_REQUIRE(mkdtemp(ScratchPath) != nullptr);
        std::atexit(RemoveScratch);
        return true;
    }();
    (void)made;
    return ScratchPath;
}

// The input with every "save NAME" turned into a name inside the scratch directory: slashes in
// NAME become underscores, every other byte (a NUL, "..", a blank) is kept. A search ("evolve")
// is given a budget of a few hundred evaluations, so that one input stays quick.
std::string Confined(std::string_view input) {
    const std::string prefix = ScratchDirectory().string() + "/";
    std::string result;
    std::size_t at = 0;
    while (at <= input.size()) {
        std::size_t end = input.find('\n', at);
        if (end == std::string_view::npos) end = input.size();
        std::string line(input.substr(at, end - at));
        if (line.rfind("save ", 0) == 0 && line.size() > 5) {
            std::string name = line.substr(5);
            for (char& c : name)
                if (c == '/') c = '_';
            line = "save " + prefix + name;
        }
        if (line == "evolve" || line.rfind("evolve ", 0) == 0) line = "evolve 300";
        // A target is read from the scratch directory too (what was saved there, or nothing).
        if (line.rfind("target ", 0) == 0 && line != "target reference") {
            std::string name = line.substr(7);
            for (char& c : name)
                if (c == '/') c = '_';
            line = "target " + prefix + name;
        }
        result += line;
        if (end < input.size()) result += '\n';
        at = end + 1;
    }
    return result;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80                 ? 1
                                   : c >= 0xC2 && c <= 0xDF ? 2
                                   : c >= 0xE0 && c <= 0xEF ? 3
                                   : c >= 0xF0 && c <= 0xF4 ? 4
                                                            : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

bool HasErrorTheWorkbenchShows(const std::string& line) {
    // The error is the last key but for an own target's name and distance.
    std::string whole = line;
    if (const std::size_t target = whole.rfind(",\"target\":\"");
        target != std::string::npos && target > whole.rfind(",\"error\":"))
        whole = whole.substr(0, target) + "}\n";
    const std::size_t at = whole.rfind(",\"error\":");
    if (at == std::string::npos) return false;
    const std::string_view error = std::string_view(whole).substr(at + 9);
    for (const char* known :
         {"null}\n", "\"Floating point division by zero.\"}\n",
          "\"Invalid floating point operation.\"}\n", "\"Floating point overflow.\"}\n",
          "\"Hexa string length must be a multiple of 5.\"}\n"})
        if (error == known) return true;
    // What the search's verbs refuse: a setting in the tool's words, a target file (always in
    // the scratch directory), settings the search cannot run.
    const std::string scratch = "\"" + ScratchDirectory().string();
    for (const std::string& prefix :
         {std::string("\"Cannot create file "), std::string("\"--"), std::string("\"no setting '"),
          scratch, std::string("\"the sweep objective "), std::string("\"nsga2 serves "),
          std::string("\"start from the current pattern: "), std::string("\"a start pattern has "),
          std::string("\"the start pattern uses ")})
        if (error.rfind(prefix, 0) == 0) return true;
    return false;
}

void CheckAnswer(const TWorkbenchSession& session, const std::string& line) {
    FUZZ_REQUIRE(!line.empty() && line.find('\n') == line.size() - 1);
    FUZZ_REQUIRE(IsUtf8(line));
    FUZZ_REQUIRE(line.rfind("{\"elements\":\"", 0) == 0);
    std::size_t at = 0;
    for (const char* key :
         {"\",\"blocks\":\"", "\",\"hexa\":\"", "\",\"cardinality\":\"", "\",\"subsethood\":\"",
          "\",\"hamming\":\"", "\",\"fitness\":\"", "\",\"message\":"}) {
        at = line.find(key, at);
        FUZZ_REQUIRE(at != std::string::npos);
    }
    FUZZ_REQUIRE(HasErrorTheWorkbenchShows(line));

    // The fitness caption is the start's "0" or a score of 0..100 in ten columns (below 5 only
    // for degrees compounded far outside 0..100).
    const std::string& fitness = session.FitnessCaption;
    if (fitness != "0") {
        FUZZ_REQUIRE(fitness.size() == 10);
        const int value = std::atoi(fitness.c_str());
        FUZZ_REQUIRE(value >= 0 && value <= 100);
    }
    // A bitmap, once made, has a size the client had.
    if (session.Image.HasBitmap())
        FUZZ_REQUIRE(session.Image.Bitmap().width() >= 1 && session.Image.Bitmap().height() >= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input = Confined(std::string_view(reinterpret_cast<const char*>(data), size));
    if (input.empty()) input.push_back('\n'); // a memory stream needs at least one byte
    std::FILE* stream = fmemopen(input.data(), input.size(), "r");
    FUZZ_REQUIRE(stream != nullptr);

    RandomSource.Seed = 0;
    TWorkbenchSession session;
    try {
        cli::RunSessionProtocol(stream, session,
                                [&](const std::string& line) { CheckAnswer(session, line); });
    } catch (const cli::EUsageError& error) {
        FUZZ_REQUIRE(IsUtf8(error.what()));
    }
    std::fclose(stream);

    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchDirectory(), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
    return 0;
}
