// The session protocol's verbs and answers.

#include "cli/session_protocol.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "cli/cli_errors.h"
#include "cli/json_output.h"
#include "cli/text_stream.h"
#include "runtime/quoted_text.h"
#include "search/pattern_search.h"

namespace vesk::cli {

namespace {

using TSessionOutcome = std::optional<TCommandOutcome>; // nothing: print no line

// The evaluation budget of "evolve": a whole number 1..MaxEvaluations.
std::uint64_t ParseBudget(const std::string& text) {
    std::uint64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size() || value < 1 ||
        value > MaxEvaluations)
        throw EUsageError("'evolve' takes an evaluation budget 1.." +
                          std::to_string(MaxEvaluations));
    return value;
}

enum class TArgument { None, Any, Required };

// One verb of the session protocol.
struct TVerb {
    std::string_view Name;
    TArgument Argument;
    TSessionOutcome (*Run)(TWorkbenchSession& session, const std::string& argument);
};

const TVerb Verbs[] = {
    {"elements", TArgument::Any,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome {
         s.Elements.Text = a;
         return std::nullopt;
     }},
    {"blocks", TArgument::Any,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome {
         s.Blocks.Text = a;
         return std::nullopt;
     }},
    {"hexa", TArgument::Any,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome {
         s.HexaText = a;
         return std::nullopt;
     }},
    {"random", TArgument::None,
     [](TWorkbenchSession& s, const std::string&) -> TSessionOutcome { return s.RandomVesk(); }},
    {"hexa-string", TArgument::None,
     [](TWorkbenchSession& s, const std::string&) -> TSessionOutcome { return s.HexaString(); }},
    {"fitness", TArgument::None,
     [](TWorkbenchSession& s, const std::string&) -> TSessionOutcome { return s.Fitness(); }},
    {"evolve", TArgument::Any,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome {
         return s.Evolve(a.empty() ? std::nullopt : std::optional(ParseBudget(a)));
     }},
    {"save", TArgument::Required,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome { return s.SaveImage(a); }},
    {"target", TArgument::Required,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome { return s.SetTarget(a); }},
    {"settings", TArgument::Required,
     [](TWorkbenchSession& s, const std::string& a) -> TSessionOutcome {
         const std::size_t space = a.find(' ');
         if (space == std::string::npos) throw EUsageError("'settings' takes a key and a value");
         TCommandOutcome outcome;
         if (std::string problem =
                 ApplySearchSetting(s.Search, a.substr(0, space), a.substr(space + 1));
             !problem.empty())
             outcome.Error = std::move(problem);
         return outcome;
     }},
};

// The state after a command, as one JSON line. An information (the "Save Image" notice) is shown
// as the message.
std::string StateLine(const TWorkbenchSession& s, const TCommandOutcome& outcome) {
    const std::optional<std::string>& message =
        outcome.Message ? outcome.Message : outcome.Information;
    const auto orNull = [](const std::optional<std::string>& text) {
        return text ? TJson(*text) : TJson(nullptr);
    };
    TJson state;
    state["elements"] = s.Elements.Text;
    state["blocks"] = s.Blocks.Text;
    state["hexa"] = s.HexaText;
    state["cardinality"] = s.CardinalityCaption;
    state["subsethood"] = s.SubsethoodCaption;
    state["hamming"] = s.HammingCaption;
    state["fitness"] = s.FitnessCaption;
    state["message"] = orNull(message);
    state["error"] = orNull(outcome.Error);
    // With a target of one's own: its name and the current pattern's distance to it.
    if (s.Search.Target) {
        state["target"] = s.Search.TargetName;
        const std::optional<double> distance = s.TargetDistance();
        state["target_distance"] = distance ? TJson(*distance) : TJson(nullptr);
    }
    return JsonText(state) + "\n";
}

[[noreturn]] void LineError(long number, const std::string& what, const std::string& line) {
    throw EUsageError("line " + std::to_string(number) + ": " + what + ": " + QuotedInput(line));
}

} // namespace

void RunSessionProtocol(std::FILE* input, TWorkbenchSession& session, const TAnswerSink& answer) {
    TLineReader reader(input);
    std::string line;
    for (;;) {
        const TLineReader::TResult result = reader.Next(line);
        if (result == TLineReader::TResult::End) break;
        if (result == TLineReader::TResult::TooLong)
            throw EUsageError("line " + std::to_string(reader.LineNumber()) + " is longer than " +
                              std::to_string(MaxLineLength) + " bytes");
        if (line.empty()) continue;

        const std::size_t space = line.find(' ');
        const std::string verbName = line.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
        const TVerb* verb = nullptr;
        for (const TVerb& candidate : Verbs)
            if (candidate.Name == verbName) verb = &candidate;
        if (verb == nullptr) LineError(reader.LineNumber(), "unknown command", line);
        if (verb->Argument == TArgument::None && !argument.empty())
            LineError(reader.LineNumber(), "'" + verbName + "' takes no argument", line);
        if (verb->Argument == TArgument::Required && argument.empty())
            LineError(reader.LineNumber(), "'" + verbName + "' needs an argument", line);

        TSessionOutcome outcome;
        try {
            outcome = verb->Run(session, argument);
        } catch (const EUsageError& error) { // an argument the verb cannot take
            LineError(reader.LineNumber(), error.what(), line);
        }
        if (outcome) answer(StateLine(session, *outcome));
    }
}

} // namespace vesk::cli
