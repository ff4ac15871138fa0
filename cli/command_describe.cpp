// "vesk describe": the blocks of a pattern text in words, as the window's block panel lists them.

#include <memory>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/csv_field.h"
#include "cli/json_output.h"
#include "cli/text_stream.h"
#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/shapes.h"
#include "runtime/quoted_text.h"
#include "vesk/pattern_description.h"
#include "workbench/tool_answers.h"

namespace vesk::cli {

namespace {

enum class TDescribeFormat { Plain, Csv, Json };

struct TDescribeOptions {
    std::string Hex;
    std::int32_t N = 100;
    TDescribeFormat Format = TDescribeFormat::Plain;
};

// The digits as the plain table shows them: as written when they are five visible ASCII
// characters, quoted with escapes otherwise.
std::string ShownDigits(std::string_view digits) {
    for (char c : digits)
        if (c <= ' ' || c >= 0x7F || c == '"' || c == '\\') return QuotedInput(digits);
    return std::string(digits);
}

std::string Interval(const TBlockDescription& d) {
    return d.Dropped ? "" : std::to_string(d.First) + ".." + std::to_string(d.Last);
}

std::string Note(const TBlockDescription& d) {
    return d.Dropped  ? "dropped: beyond the 32nd block"
           : d.Zeroed ? "not a valid block: reads as 00000"
                      : "";
}

void Describe(const TDescribeOptions& o) {
    const TPatternDescription description = DescribePattern(o.Hex, o.N);
    if (description.Problem) throw EUsageError(*description.Problem);
    std::string out;
    if (o.Format == TDescribeFormat::Json) {
        for (const TBlockDescription& d : description.Blocks)
            out += JsonText(BlockAnswer(d)) + "\n";
    } else {
        const bool csv = o.Format == TDescribeFormat::Csv;
        if (csv) {
            out = "index,digits";
            for (std::int32_t k = 0; k < FieldsPerBlock; ++k) {
                const std::string name = BlockFields[static_cast<std::size_t>(k)].Name;
                out += "," + name + (FieldCodeName(TFuzzyBlock{}, k) ? "," + name + "_name" : "");
            }
            out += ",first,last,note\n";
        }
        for (const TBlockDescription& d : description.Blocks) {
            const TFuzzyBlock& B = d.Block;
            const char* shape = ShapeNames[static_cast<std::size_t>(B.Shape)];
            const char* op = kernels::OperatorNames[static_cast<std::size_t>(B.Op)];
            char line[256];
            if (csv) {
                std::string fields = std::to_string(d.Index) + "," + CsvField(d.Digits);
                for (std::int32_t k = 0; k < FieldsPerBlock; ++k) {
                    fields += "," + std::to_string(FieldOf(B, k));
                    if (const char* name = FieldCodeName(B, k)) fields += std::string(",") + name;
                }
                std::snprintf(line, sizeof line, "%s,%s,%s,%s\n", fields.c_str(),
                              d.Dropped ? "" : std::to_string(d.First).c_str(),
                              d.Dropped ? "" : std::to_string(d.Last).c_str(), Note(d).c_str());
            } else
                std::snprintf(line, sizeof line,
                              "%2d %s  shape %2d %-20s centre %2d spread %d repeats %d  op %2d "
                              "%-22s elements %s%s%s\n",
                              d.Index, ShownDigits(d.Digits).c_str(), B.Shape, shape, B.Centre,
                              B.Spread, B.Repeats, B.Op, op, Interval(d).c_str(),
                              d.Zeroed || d.Dropped ? "  " : "", Note(d).c_str());
            out += line;
        }
    }
    WriteOut(out);
}

} // namespace

void AddDescribeCommand(CLI::App& tool, int& status) {
    auto o = std::make_shared<TDescribeOptions>();
    CLI::App* command = tool.add_subcommand(
        "describe", "list the blocks of HEX in words and the elements each covers");
    command->add_option("HEX", o->Hex, "pattern text (any text: bad groups are named)")->required();
    AddElementsOption(*command, o->N)->check(WholeNumber(1, MaxElementCount));
    AddWordOption(*command, "--format", o->Format,
                  std::map<std::string, TDescribeFormat>{{"plain", TDescribeFormat::Plain},
                                                         {"csv", TDescribeFormat::Csv},
                                                         {"json", TDescribeFormat::Json}},
                  "plain (default), csv or json (one object a block)");
    command->callback([&status, o] {
        Describe(*o);
        status = ExitSuccess;
    });
}

} // namespace vesk::cli
