// "vesk score": the fitness of every pattern read from standard input, for batch use, on every
// core: chunks of lines are read in order a batch at a time, the batch's chunks are scored in
// parallel, each thread with its own scorer on shared tables, and their answers written in input
// order, one answer a line.

#include <charconv>
#include <cstdio>
#include <memory>

#include "cli/chunk_reader.h"
#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/csv_field.h"
#include "cli/json_output.h"
#include "cli/text_stream.h"
#include "runtime/fp_fault.h"
#include "runtime/quoted_text.h"
#include "runtime/thread_team.h"
#include "search/target_file.h"
#include "vesk/exact_hex.h"
#include "vesk/pattern_check.h"
#include "vesk/pattern_scorer.h"

namespace vesk::cli {

namespace {

enum class TScoreFormat { Plain, Csv, Json };

struct TScoreOptions {
    std::int32_t N = 100;
    std::string Target;
    int Jobs = 0;
    TScoreFormat Format = TScoreFormat::Plain;
};

// A chunk of lines and, once scored, what it prints.
struct TScoredChunk {
    TLineChunk Lines;
    std::string Out, Err;
    bool Failed = false;
};

void AppendNumber(std::string& out, std::int32_t value) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// 17 significant digits: the text reads back as the same double.
void AppendDouble(std::string& out, double value) {
    char digits[32];
    out.append(
        digits,
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 17).ptr);
}

void AppendAnswer(std::string& out, TScoreFormat format, std::string_view hex,
                  const TPatternScore& score) {
    switch (format) {
    case TScoreFormat::Plain:
        AppendNumber(out, score.Fitness);
        break;
    case TScoreFormat::Csv:
        out.append(hex);
        out += ',';
        AppendNumber(out, score.Fitness);
        out += ',';
        AppendDouble(out, score.Distance);
        out += ',';
        break;
    case TScoreFormat::Json: {
        TJson line;
        line["pattern"] = std::string(hex);
        line["fitness"] = score.Fitness;
        line["distance"] = score.Distance;
        out += JsonText(line);
        break;
    }
    }
    out += '\n';
}

// A line that gets no score: its answer line (empty in plain, the problem in the error column
// or key otherwise) and its message on standard error.
void AppendProblem(TScoredChunk& chunk, TScoreFormat format, long line, std::string_view text,
                   const std::string& problem) {
    switch (format) {
    case TScoreFormat::Plain:
        break;
    case TScoreFormat::Csv:
        chunk.Out += CsvField(text);
        chunk.Out += ",,,";
        chunk.Out += CsvField(problem);
        break;
    case TScoreFormat::Json: {
        TJson answer;
        answer["pattern"] = std::string(text);
        answer["error"] = problem;
        chunk.Out += JsonText(answer);
        break;
    }
    }
    chunk.Out += '\n';
    chunk.Err += "vesk: line " + std::to_string(line) + ": " + problem + '\n';
    chunk.Failed = true;
}

// Scores every line of the chunk: a blank line is the pattern of no blocks, a bad one answered
// and reported.
void ScoreChunk(TScoredChunk& chunk, TPatternScorer& scorer, TScoreFormat format) {
    if (chunk.Lines.TooLong)
        return AppendProblem(chunk, format, chunk.Lines.FirstLine, "",
                             "longer than " + std::to_string(MaxLineLength) +
                                 " bytes; nothing after it is read");
    std::array<TFuzzyBlock, MaxBlocks> blocks;
    std::string_view text = chunk.Lines.Text;
    long number = chunk.Lines.FirstLine;
    for (std::size_t at = 0; at < text.size(); ++number) {
        const std::size_t end = text.find('\n', at);
        const std::string_view hex = Trimmed(text.substr(at, end - at));
        at = end + 1;
        const std::int32_t count = ReadExactPattern(hex, blocks);
        // Any other line gets its verdict and message from PatternProblem.
        if (count < 0) {
            AppendProblem(chunk, format, number, hex,
                          PatternProblem(hex).value_or("not a pattern"));
            continue;
        }
        try {
            AppendAnswer(chunk.Out, format, hex,
                         scorer.ScoreBlocks({blocks.data(), static_cast<std::size_t>(count)}));
        } catch (const EFloatingPointFault& fault) {
            AppendProblem(chunk, format, number, hex, ShownFaultMessage(fault));
        }
    }
}

int Score(const TScoreOptions& o) {
    const TScoreFormat format = o.Format;
    TThreadTeam team(o.Jobs);
    // One scorer a thread on tables built before anything is read, so that a reference that
    // cannot be built faults at once.
    std::shared_ptr<const TScoringTables> tables;
    if (o.Target.empty()) {
        tables = ReferenceTables(o.N);
    } else {
        try {
            tables = std::make_shared<const TScoringTables>(ReadTargetFile(o.Target));
        } catch (const ETargetError& error) {
            throw ECommandFailure(error.what());
        }
    }
    std::vector<TPatternScorer> scorers;
    for (int member = 0; member < team.Threads(); ++member)
        scorers.emplace_back(tables);

    if (format == TScoreFormat::Csv) WriteOut("pattern,fitness,distance,error\n");
    TChunkReader reader(stdin);
    bool failed = false;
    // A few chunks a thread, so that a slow chunk does not hold the others up.
    const std::size_t batchSize = static_cast<std::size_t>(team.Threads()) * 4;
    auto readBatch = [&](std::vector<TScoredChunk>& batch) {
        batch.clear();
        while (batch.size() < batchSize) {
            std::optional<TLineChunk> lines = reader.Next();
            if (!lines) return;
            batch.push_back({std::move(*lines), {}, {}, false});
        }
    };
    auto writeBatch = [&](std::vector<TScoredChunk>& batch) {
        for (const TScoredChunk& chunk : batch) {
            WriteOut(chunk.Out);
            if (!chunk.Err.empty()) std::fputs(chunk.Err.c_str(), stderr);
            failed = failed || chunk.Failed;
        }
        batch.clear();
    };
    if (reader.Interactive()) {
        // Someone may be waiting for each answer: a batch is whatever whole lines have come, its
        // answers go out before more input is waited for.
        std::vector<TScoredChunk> batch;
        for (;;) {
            while (batch.size() < batchSize) {
                std::optional<TLineChunk> lines = reader.Next(batch.empty());
                if (!lines) break;
                batch.push_back({std::move(*lines), {}, {}, false});
            }
            if (batch.empty()) break;
            team.ForRanges(batch.size(), 1, [&](int member, std::size_t begin, std::size_t end) {
                for (std::size_t chunk = begin; chunk != end; ++chunk)
                    ScoreChunk(batch[chunk], scorers[static_cast<std::size_t>(member)], format);
            });
            writeBatch(batch);
            FlushOut();
        }
    } else {
        // While the team scores one batch, one of its members writes the batch before and reads
        // the batch after: task 0 of each round is that input and output, the others a chunk each.
        std::vector<TScoredChunk> scored, scoring, next;
        readBatch(scoring);
        while (!scoring.empty()) {
            team.ForRanges(
                scoring.size() + 1, 1, [&](int member, std::size_t begin, std::size_t end) {
                    for (std::size_t task = begin; task != end; ++task) {
                        if (task == 0) {
                            writeBatch(scored);
                            readBatch(next);
                        } else {
                            ScoreChunk(scoring[task - 1], scorers[static_cast<std::size_t>(member)],
                                       format);
                        }
                    }
                });
            std::swap(scored, scoring);
            std::swap(scoring, next);
        }
        writeBatch(scored);
    }
    if (reader.Error()) throw ECommandFailure(*reader.Error());
    return failed ? ExitFailure : ExitSuccess;
}

} // namespace

void AddScoreCommand(CLI::App& tool, int& status) {
    auto options = std::make_shared<TScoreOptions>();
    CLI::App* command = tool.add_subcommand(
        "score", "print the fitness of each hex pattern read from standard input");
    CLI::Option* elements = AddElementsOption(*command, options->N);
    command
        ->add_option("--target", options->Target,
                     "score against these degrees instead of the reference (as vesk evolve "
                     "--target reads them)")
        ->check(NotEmpty())
        ->excludes(elements);
    command
        ->add_option("-j,--jobs", options->Jobs,
                     "threads to score on (default: every hardware thread; more than it has are "
                     "taken as every one)")
        ->check(WholeNumber(1, 1024));
    AddWordOption(*command, "--format", options->Format,
                  std::map<std::string, TScoreFormat>{{"plain", TScoreFormat::Plain},
                                                      {"csv", TScoreFormat::Csv},
                                                      {"json", TScoreFormat::Json}},
                  "plain (default: the fitness), csv or json");
    command->footer(
        "\nReads one pattern a line and answers every line with one line, in input order, so\n"
        "that paste(1) lines them up: plain prints the fitness, csv (header\n"
        "pattern,fitness,distance,error) and json (one object a line) the pattern, its fitness\n"
        "and its Hamming distance, which reads back as the same double. A blank line is the\n"
        "pattern of no blocks. A line that is not a pattern gets an empty line (csv: its error\n"
        "column; json: an \"error\" key) and a message on standard error (exit status 1). A line\n"
        "longer than 1 MiB ends the input there. With --target the distance is to that set and\n"
        "the fitness what the agent's rule gives for that distance and element count.");
    command->callback([&status, options] { status = Score(*options); });
}

} // namespace vesk::cli
