#pragma once
// The search's options, each described once: its key, help line, kind, range, default and what
// it sets. `vesk evolve`'s options, the Python module's keyword arguments, the session's settings
// and the window's Search Settings rows are all made from this one table.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "search/pattern_search.h"

namespace vesk {

// The seed a search takes unless told otherwise.
constexpr unsigned DefaultSeed = 1;
// The largest stop distance an element an option takes.
constexpr double MaxStopDistance = 1e9;

// What a search's options chose. An unset field stands for an option not given.
struct TSearchChoices {
    std::optional<std::int32_t> Blocks; // nothing: the start's count, else the settings' default
    TObjective Objective = TObjective::Distance;
    bool Pareto = false;
    std::optional<TAlgorithm> Algorithm; // nothing: the default (NSGA-II for the Pareto search)
    int Islands = 0;                     // 0: every hardware thread
    unsigned Seed = DefaultSeed;
    std::optional<std::uint64_t> Evaluations; // nothing: see SearchBudget
    std::optional<double> Seconds;
    std::optional<double> Distance; // stop at this mean distance an element
    std::optional<TBlockList> Start;
    bool StartFromCurrent = false; // the session's start: the pattern it shows when evolve runs
    std::vector<std::int32_t> Shapes, Operators; // sorted, without repeats; empty: every code
};

// The ways an option is given.
enum class TOptionKind {
    Whole,    // a whole number in a range
    Real,     // a finite decimal number in a range
    Word,     // one word of a closed set
    Flag,     // on or off (a flag of the tool, a bool of the module, on/off in the session)
    CodeList, // codes 0..highest as "0-7,12"
    Pattern,  // a pattern's hex text
};

// Who takes an option; an option's FrontEnds holds the bits of those that do. The window's
// Search Settings take what the session takes.
enum class TFrontEnd : unsigned { Tool = 1, Module = 2, Session = 4 };

struct TWholeRange {
    std::int64_t Lowest = 0;
    std::uint64_t Highest = 0;
};
struct TRealRange {
    double Lowest = 0;
    bool LowestAllowed = false; // may the value equal Lowest
    double Highest = 0;
};

// A value an option's text stood for, by the option's kind (a word as its text, a flag as a
// bool); monostate: the option not given (the session's "off", "all" or "default").
using TOptionValue = std::variant<std::monostate, std::uint64_t, double, std::string, bool,
                                  std::vector<std::int32_t>, TBlockList>;

// One option. In Help and Default, {key} stands for another option's name as the front end
// writes it ("--seconds" for the tool) and {budget} for the front end's default budget.
struct TSearchOption {
    std::string Key;   // as the tool names it without dashes: "seed" for --seed
    std::string Label; // the window's row
    std::string Help;  // one line, without range or default
    TOptionKind Kind = TOptionKind::Whole;
    TWholeRange Whole;              // a whole number's range; a code list's highest code
    TRealRange Real;                // a real's range
    std::vector<std::string> Words; // a word's closed set, in the order offered
    std::string Default;            // how the default reads; "" for none worth saying
    std::string Unset;              // the session's word for "not given"; "": none
    unsigned FrontEnds = 0;
    // Takes a value of the option's kind into the choices.
    void (*Take)(TSearchChoices& choices, const TOptionValue& value) = nullptr;
    // The choices' value as the option's text, as the session would give it; "" when not given.
    std::string (*Shown)(const TSearchChoices& choices) = nullptr;

    bool TakenBy(TFrontEnd frontEnd) const {
        return (FrontEnds & static_cast<unsigned>(frontEnd)) != 0;
    }
};

// Every option, in the order help texts list them.
const std::vector<TSearchOption>& SearchOptions();
// The option a front end takes under key, or nullptr.
const TSearchOption* SearchOptionOf(std::string_view key, TFrontEnd frontEnd);

// An option's name as a front end writes it: "--seed" for the tool, "seed" for the others.
std::string OptionName(std::string_view key, TFrontEnd frontEnd);
// Help, range and default in one line, as the front end names things.
std::string OptionHelp(const TSearchOption& option, TFrontEnd frontEnd, std::uint64_t budget);
// The default as the front end reads it ("" when there is none to say).
std::string OptionDefault(const TSearchOption& option, std::uint64_t budget);

// What a text stands for as the option's value; the problem in the tool's words ("must be a
// whole number", "x not in {distance,sweep}") or "" when value was set. A flag takes on or off.
std::string ParseOption(const TSearchOption& option, const std::string& text, TOptionValue& value);
// Parses the text and takes it: "" when taken, else the problem, the choices unchanged.
std::string ApplyOption(TSearchChoices& choices, const TSearchOption& option,
                        const std::string& text);

// The evaluations a search spends: those chosen; with none chosen but a time limit or a stop
// distance, MaxEvaluations (no limit but those); with neither, the front end's default budget.
std::uint64_t SearchBudget(const TSearchChoices& choices, std::uint64_t defaultBudget);
// Gives the settings what the choices chose (the target and all not chosen stay), the budget as
// SearchBudget says. "" when done, else the problem as the front end names things (a start of
// another block count than the blocks given).
std::string ApplyChoices(const TSearchChoices& choices, std::uint64_t defaultBudget,
                         TFrontEnd frontEnd, TSearchSettings& settings);

} // namespace vesk
