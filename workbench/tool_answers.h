#pragma once
// The answers the vesk tool prints as JSON and the Python module returns as dicts: one builder
// each, so that both give the same fields, in the same words, with the same doubles.

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "search/pattern_search.h"
#include "vesk/pattern_description.h"

namespace vesk {

// Keys stay in the order they are set.
using TJson = nlohmann::ordered_json;

// The name of the code the block's field holds, for the fields whose codes have names (shape
// and operator); nullptr for the others.
const char* FieldCodeName(const TFuzzyBlock& block, std::int32_t field);

// A search's result, every figure scored again as "vesk score" scores it: hex, blocks,
// elements, target ("reference" when targetName is empty), objective, distance, mean_distance,
// fitness, sweep (the reference only), evaluations, seconds, evaluations_per_second, algorithm,
// islands, seed, stopped, and the front for a Pareto search.
TJson EvolveAnswer(const TSearchSettings& settings, const TSearchResult& result,
                   const std::string& targetName);
// A search's progress: evaluations, best, mean_distance, hex, seconds, evaluations_per_second.
TJson ProgressAnswer(const TSearchProgress& progress, TObjective objective, std::int32_t elements);
// One block of a described pattern: index, digits, each field (with the names of shape and
// operator codes), first and last (null when dropped), zeroed and dropped.
TJson BlockAnswer(const TBlockDescription& description);

} // namespace vesk
