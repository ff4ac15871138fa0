#include "search/search_options.h"

#include <charconv>
#include <limits>
#include <type_traits>

#include "search/option_text.h"
#include "vesk/fuzzy_block.h"
#include "vesk/hex_text.h"
#include "vesk/pattern_check.h"

namespace vesk {

namespace {

constexpr unsigned Everyone = static_cast<unsigned>(TFrontEnd::Tool) |
                              static_cast<unsigned>(TFrontEnd::Module) |
                              static_cast<unsigned>(TFrontEnd::Session);
constexpr unsigned ToolAndModule =
    static_cast<unsigned>(TFrontEnd::Tool) | static_cast<unsigned>(TFrontEnd::Module);

std::string CodeListText(const std::vector<std::int32_t>& codes) {
    std::string text;
    for (std::int32_t code : codes)
        text += (text.empty() ? "" : ",") + std::to_string(code);
    return text;
}

template <typename TNumber> std::string Optional(const std::optional<TNumber>& value) {
    if (!value) return "";
    if constexpr (std::is_floating_point_v<TNumber>)
        return NumberText(*value);
    else
        return std::to_string(*value);
}

std::uint64_t WholeOf(const TOptionValue& v) {
    return std::get<std::uint64_t>(v);
}
bool Unset(const TOptionValue& v) {
    return std::holds_alternative<std::monostate>(v);
}

std::vector<TSearchOption> MakeOptions() {
    const std::string defaultBlocks = std::to_string(TSearchSettings().Blocks);
    std::vector<TSearchOption> options;
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "blocks";
        o.Label = "Blocks";
        o.Help = "blocks of the pattern";
        o.Kind = TOptionKind::Whole;
        o.Whole = {1, MaxBlocks};
        o.Default = defaultBlocks + ", or {start}'s count";
        o.FrontEnds = ToolAndModule;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Blocks = static_cast<std::int32_t>(WholeOf(v));
        };
        o.Shown = [](const TSearchChoices& c) { return Optional(c.Blocks); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "objective";
        o.Label = "Objective";
        o.Help = "what to minimise; the sweep scores against the built-in reference only";
        o.Kind = TOptionKind::Word;
        o.Words = ObjectiveWords();
        o.Default = ObjectiveWord(TSearchChoices().Objective);
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Objective = *ObjectiveOfWord(std::get<std::string>(v));
        };
        o.Shown = [](const TSearchChoices& c) { return std::string(ObjectiveWord(c.Objective)); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "pareto";
        o.Label = "Pareto front";
        o.Help = "also minimise the blocks used (the front by NSGA-II)";
        o.Kind = TOptionKind::Flag;
        o.FrontEnds = ToolAndModule;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) { c.Pareto = std::get<bool>(v); };
        o.Shown = [](const TSearchChoices& c) { return std::string(c.Pareto ? "on" : "off"); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "algorithm";
        o.Label = "Algorithm";
        o.Help = "the optimiser";
        o.Kind = TOptionKind::Word;
        o.Words = AlgorithmNames();
        o.Default = std::string(AlgorithmName(DefaultAlgorithm)) + ", " +
                    AlgorithmName(ParetoAlgorithm) + " with {pareto}";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Algorithm = AlgorithmOfName(std::get<std::string>(v));
        };
        o.Shown = [](const TSearchChoices& c) {
            return c.Algorithm ? std::string(AlgorithmName(*c.Algorithm)) : std::string();
        };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "islands";
        o.Label = "Islands (threads)";
        o.Help = "islands, one a thread";
        o.Kind = TOptionKind::Whole;
        o.Whole = {1, MaxIslands};
        o.Default = "every hardware thread";
        o.Unset = "default";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Islands = Unset(v) ? 0 : static_cast<int>(WholeOf(v));
        };
        o.Shown = [](const TSearchChoices& c) {
            return c.Islands > 0 ? std::to_string(c.Islands) : std::string();
        };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "seed";
        o.Label = "Seed";
        o.Help = "the seed";
        o.Kind = TOptionKind::Whole;
        o.Whole = {0, std::numeric_limits<unsigned>::max()};
        o.Default = std::to_string(DefaultSeed);
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Seed = static_cast<unsigned>(WholeOf(v));
        };
        o.Shown = [](const TSearchChoices& c) { return std::to_string(c.Seed); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "evaluations";
        o.Label = "Evaluation budget";
        o.Help = "the evaluation budget";
        o.Kind = TOptionKind::Whole;
        o.Whole = {1, MaxEvaluations};
        o.Default = "{budget}; with {seconds} or {distance}, no limit but those";
        o.Unset = "default";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Evaluations = Unset(v) ? std::nullopt : std::optional(WholeOf(v));
        };
        o.Shown = [](const TSearchChoices& c) { return Optional(c.Evaluations); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "seconds";
        o.Label = "Time limit (seconds)";
        o.Help = "stop after this many seconds";
        o.Kind = TOptionKind::Real;
        o.Real = {0, false, MaxSeconds};
        o.Default = "no limit";
        o.Unset = "off";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Seconds = Unset(v) ? std::nullopt : std::optional(std::get<double>(v));
        };
        o.Shown = [](const TSearchChoices& c) { return Optional(c.Seconds); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "distance";
        o.Label = "Stop at distance per element";
        o.Help = "stop once the distance an element reaches this; with {pareto}, once the "
                 "front's closest pattern's does";
        o.Kind = TOptionKind::Real;
        o.Real = {0, true, MaxStopDistance};
        o.Default = "none";
        o.Unset = "off";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Distance = Unset(v) ? std::nullopt : std::optional(std::get<double>(v));
        };
        o.Shown = [](const TSearchChoices& c) { return Optional(c.Distance); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "start";
        o.Label = "Start";
        o.Help = "begin from this pattern (its block count is the search's; the result is never "
                 "worse)";
        o.Kind = TOptionKind::Pattern;
        o.FrontEnds = ToolAndModule;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Start = std::get<TBlockList>(v);
        };
        o.Shown = [](const TSearchChoices& c) { return c.Start ? PatternHex(*c.Start) : ""; };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "start";
        o.Label = "Start from the current pattern";
        o.Help = "begin from the current pattern (its block count is the search's; the result is "
                 "never worse)";
        o.Kind = TOptionKind::Flag;
        o.FrontEnds = static_cast<unsigned>(TFrontEnd::Session);
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.StartFromCurrent = std::get<bool>(v);
        };
        o.Shown = [](const TSearchChoices& c) {
            return std::string(c.StartFromCurrent ? "on" : "off");
        };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "shapes";
        o.Label = "Shape codes allowed";
        o.Help = "the shape codes the search may use";
        o.Kind = TOptionKind::CodeList;
        o.Whole = {0, static_cast<std::uint64_t>(FieldHighest(ShapeField))};
        o.Default = "all";
        o.Unset = "all";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Shapes =
                Unset(v) ? std::vector<std::int32_t>() : std::get<std::vector<std::int32_t>>(v);
        };
        o.Shown = [](const TSearchChoices& c) { return CodeListText(c.Shapes); };
    }
    {
        TSearchOption& o = options.emplace_back();
        o.Key = "operators";
        o.Label = "Operator codes allowed";
        o.Help = "the operator codes the search may use";
        o.Kind = TOptionKind::CodeList;
        o.Whole = {0, static_cast<std::uint64_t>(FieldHighest(OpField))};
        o.Default = "all";
        o.Unset = "all";
        o.FrontEnds = Everyone;
        o.Take = [](TSearchChoices& c, const TOptionValue& v) {
            c.Operators =
                Unset(v) ? std::vector<std::int32_t>() : std::get<std::vector<std::int32_t>>(v);
        };
        o.Shown = [](const TSearchChoices& c) { return CodeListText(c.Operators); };
    }
    return options;
}

// The text with {key} as the front end names the option and {budget} as the budget.
std::string Rendered(const std::string& text, TFrontEnd frontEnd, std::uint64_t budget) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find('{', at), close = text.find('}', open);
        if (open == std::string::npos || close == std::string::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, open - at);
        const std::string key = text.substr(open + 1, close - open - 1);
        out += key == "budget" ? std::to_string(budget) : OptionName(key, frontEnd);
        at = close + 1;
    }
    return out;
}

// The values an option takes, in a few words: "1..32", "above 0, at most 1000000000".
std::string RangeText(const TSearchOption& option) {
    switch (option.Kind) {
    case TOptionKind::Whole:
        return std::to_string(option.Whole.Lowest) + ".." + std::to_string(option.Whole.Highest);
    case TOptionKind::Real:
        return option.Real.LowestAllowed
                   ? NumberText(option.Real.Lowest) + ".." + NumberText(option.Real.Highest)
                   : "above " + NumberText(option.Real.Lowest) + ", at most " +
                         NumberText(option.Real.Highest);
    case TOptionKind::Word: {
        std::string words;
        for (const std::string& word : option.Words)
            words += (words.empty() ? "" : ", ") + word;
        return words;
    }
    case TOptionKind::CodeList:
        return "codes 0.." + std::to_string(option.Whole.Highest) + " as a list like 0-7,12";
    case TOptionKind::Flag:
    case TOptionKind::Pattern:
        break;
    }
    return "";
}

} // namespace

const std::vector<TSearchOption>& SearchOptions() {
    static const std::vector<TSearchOption> options = MakeOptions();
    return options;
}

const TSearchOption* SearchOptionOf(std::string_view key, TFrontEnd frontEnd) {
    for (const TSearchOption& option : SearchOptions())
        if (option.Key == key && option.TakenBy(frontEnd)) return &option;
    return nullptr;
}

std::string OptionName(std::string_view key, TFrontEnd frontEnd) {
    return (frontEnd == TFrontEnd::Tool ? "--" : "") + std::string(key);
}

std::string OptionDefault(const TSearchOption& option, std::uint64_t budget) {
    return Rendered(option.Default, TFrontEnd::Session, budget);
}

std::string OptionHelp(const TSearchOption& option, TFrontEnd frontEnd, std::uint64_t budget) {
    std::string details = RangeText(option);
    if (!option.Default.empty())
        details += (details.empty() ? "" : "; ") + std::string("default ") + option.Default;
    return Rendered(option.Help + (details.empty() ? "" : " (" + details + ")"), frontEnd, budget);
}

std::string ParseOption(const TSearchOption& option, const std::string& text, TOptionValue& value) {
    switch (option.Kind) {
    case TOptionKind::Whole: {
        if (std::string problem =
                WholeNumberProblem(text, option.Whole.Lowest, option.Whole.Highest);
            !problem.empty())
            return problem;
        std::uint64_t whole = 0; // every range here starts at 0 or above
        std::from_chars(text.data(), text.data() + text.size(), whole);
        value = whole;
        return "";
    }
    case TOptionKind::Real: {
        if (std::string problem = RealNumberProblem(text, option.Real.Lowest,
                                                    option.Real.LowestAllowed, option.Real.Highest);
            !problem.empty())
            return problem;
        double real = 0;
        std::from_chars(text.data(), text.data() + text.size(), real, std::chars_format::general);
        value = real;
        return "";
    }
    case TOptionKind::Word:
        for (const std::string& word : option.Words)
            if (word == text) return value = text, "";
        return NotAmongWords(text, option.Words);
    case TOptionKind::Flag:
        if (text != "on" && text != "off") return NotAmongWords(text, {"off", "on"});
        value = text == "on";
        return "";
    case TOptionKind::CodeList: {
        std::string why;
        const auto codes =
            ParseCodeList(text, static_cast<std::int32_t>(option.Whole.Highest), why);
        if (!codes) return why;
        value = *codes;
        return "";
    }
    case TOptionKind::Pattern: {
        if (const auto problem = PatternProblem(text)) return *problem;
        if (text.empty()) return "must not be empty";
        TVesk pattern;
        pattern.LoadFromHex(text);
        value = pattern.Blocks();
        return "";
    }
    }
    return "";
}

std::string ApplyOption(TSearchChoices& choices, const TSearchOption& option,
                        const std::string& text) {
    TOptionValue value;
    if (std::string problem = ParseOption(option, text, value); !problem.empty()) return problem;
    option.Take(choices, value);
    return "";
}

std::uint64_t SearchBudget(const TSearchChoices& choices, std::uint64_t defaultBudget) {
    if (choices.Evaluations) return *choices.Evaluations;
    return choices.Seconds || choices.Distance ? MaxEvaluations : defaultBudget;
}

std::string ApplyChoices(const TSearchChoices& choices, std::uint64_t defaultBudget,
                         TFrontEnd frontEnd, TSearchSettings& settings) {
    if (choices.Blocks) settings.Blocks = *choices.Blocks;
    if (choices.Start) {
        const auto count = static_cast<std::int32_t>(choices.Start->size());
        if (choices.Blocks && count != *choices.Blocks)
            return OptionName("start", frontEnd) + " has " + std::to_string(count) +
                   " blocks and " + OptionName("blocks", frontEnd) + " " +
                   std::to_string(*choices.Blocks);
        settings.Start = choices.Start;
        settings.Blocks = count;
    }
    settings.Objective = choices.Objective;
    settings.Pareto = choices.Pareto;
    settings.Algorithm = choices.Algorithm;
    settings.Islands = choices.Islands;
    settings.Seed = choices.Seed;
    settings.Evaluations = SearchBudget(choices, defaultBudget);
    settings.Seconds = choices.Seconds;
    settings.MeanDistance = choices.Distance;
    settings.Shapes = choices.Shapes;
    settings.Operators = choices.Operators;
    return "";
}

} // namespace vesk
