#pragma once
// What "Evolve" searches for and how, kept while the program runs: the target (the built-in
// reference, or a set of one's own) and the search's choices, given as settings named as the
// options of `vesk evolve` and checked with the tool's own words.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "search/search_options.h"

namespace vesk {

// "Evolve"'s evaluations when none are set and neither a time limit nor a stop distance is.
constexpr std::uint64_t EvolveBudget = 1'000'000;
constexpr unsigned EvolveSeed = DefaultSeed; // the same fields give the same pattern

// The choices are those the session's settings take (SearchOptions' with TFrontEnd::Session):
// the blocks come from the field, and start is StartFromCurrent.
struct TSearchSetup : TSearchChoices {
    // A target of one's own and where it came from; none: the reference of FS Elements.
    std::optional<TFuzzySet> Target;
    std::string TargetName;
};

// A setting as the session's "settings KEY VALUE" gives it.
using TSearchSetting = std::pair<std::string, std::string>;

// The settings' keys, as the options of `vesk evolve` are named ("seed" for --seed), in the
// order the session's help lists them.
const std::vector<std::string>& SearchSettingKeys();

// Gives the setting key the value; "" when taken, else what is wrong in the tool's words
// ("--seed: must be a whole number"), the setup unchanged. An option's unset word ("off" for
// seconds, "all" for shapes, "default" for islands and evaluations) takes it back to not given;
// "start" takes on or off. A setting no later "Evolve" could run with is refused in the words
// "Evolve" would refuse it with ("nsga2 serves the Pareto search only").
std::string ApplySearchSetting(TSearchSetup& setup, const std::string& key,
                               const std::string& value);
// Every setting, taken as one: all of them or, at the first refused, none.
std::string ApplySearchSettings(TSearchSetup& setup, const std::vector<TSearchSetting>& settings);

// Where a refused list of settings is wrong, a text for each setting in the order given: "" for
// one not to blame, else the tool's words without the option's name ("must be a whole number").
// When no value is wrong by itself, the settings refused only together are blamed: each one
// whose giving up (keeping the setup's value) lets the rest be taken, in the words "Evolve"
// would refuse them with.
std::vector<std::string> SettingProblems(const TSearchSetup& setup,
                                         const std::vector<TSearchSetting>& settings);

// The words a setting of a closed set takes (those some "Evolve" can run with), the default first.
std::vector<std::string> SearchSettingWords(const TSearchOption& option);

} // namespace vesk
