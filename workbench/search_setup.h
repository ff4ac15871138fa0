#pragma once
// What "Evolve" searches for and how, kept while the program runs: the target (the built-in
// reference, or a set of one's own) and the settings, given by the names of the options of
// `vesk evolve` and checked with the tool's own words.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "search/pattern_search.h"

namespace vesk {

constexpr std::uint64_t EvolveBudget = 1'000'000; // "Evolve"'s evaluations unless told otherwise
constexpr unsigned EvolveSeed = 1;                // the same fields give the same pattern

struct TSearchSetup {
    // A target of one's own and where it came from; none: the reference of FS Elements.
    std::optional<TFuzzySet> Target;
    std::string TargetName;

    TObjective Objective = TObjective::Distance;
    std::uint64_t Evaluations = EvolveBudget;
    std::optional<double> Seconds;
    std::optional<double> Distance; // stop at this mean distance an element
    std::optional<TAlgorithm> Algorithm;
    int Islands = 0; // 0: every hardware thread
    unsigned Seed = EvolveSeed;
    bool Start = false; // begin from the current pattern
    std::vector<std::int32_t> Shapes, Operators;
};

// The settings' keys, as the options of `vesk evolve` are named ("seed" for --seed), in the
// order the session's help lists them.
const std::vector<std::string>& SearchSettingKeys();

// Gives the setting key the value; "" when taken, else what is wrong in the tool's words
// ("--seed: must be a whole number"), the setup unchanged. "start" takes on or off.
std::string ApplySearchSetting(TSearchSetup& setup, const std::string& key,
                               const std::string& value);

} // namespace vesk
