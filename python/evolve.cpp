#include "python/evolve.h"

#include <atomic>
#include <limits>
#include <optional>

#include "python/arguments.h"
#include "python/json_objects.h"
#include "search/option_text.h"
#include "search/pattern_search.h"
#include "vesk/hex_text.h"
#include "workbench/tool_answers.h"

namespace vesk::python {

namespace {

const char* const EvolveDoc =
    R"(Search for the pattern that comes closest to a target set, as "vesk evolve" does.

Arguments (all but target by keyword):
  target      the target's degrees: a 1-D array-like of whole numbers 0..100 (at most
              185360); None for the built-in reference of n elements
  n           the reference's element count, 1..185360 (default 100; not with target)
  blocks      blocks of the pattern, 1..32 (default 16, or start's count)
  objective   "distance" (default), or "sweep" (the built-in reference only)
  pareto      also minimise the blocks used (the front by NSGA-II)
  algorithm   the optimiser: "annealing" (default), "fields", "sga", "gaco", "ihs", "nsga2"
  islands     islands, one a thread, 1..256 (default: every hardware thread)
  seed        the seed, 0..4294967295 (default 1)
  evaluations the evaluation budget (default 5000000; with seconds alone: no limit but the time)
  seconds     stop after this many seconds
  distance    stop once the distance an element reaches this (with pareto: the front's
              closest pattern)
  start       begin from this pattern text (its block count is the search's; the result is
              never worse)
  shapes      the shape codes the search may use: "0-7,12" or a list of codes
  operators   the operator codes the search may use: "0-3,10" or a list of codes
  progress    called with a dict after every round and at least every half second:
              evaluations, best, mean_distance, hex, seconds, evaluations_per_second

Returns a dict with the fields of "vesk evolve"'s JSON: hex, blocks, elements, target
("reference" or "array"), objective, distance, mean_distance and fitness (as score gives
them), sweep (the built-in reference only), evaluations, seconds, evaluations_per_second,
algorithm, islands, seed, stopped, and with pareto the front.

The same settings and evaluation budget give the same pattern on every run; a run bounded
by time may differ with the machine's speed. The interpreter's lock is released while the
search runs. Ctrl-C ends the search within half a second and raises KeyboardInterrupt with
the best so far as its "result" attribute; an exception the progress callback raises ends
it likewise. Usage mistakes raise ValueError or TypeError in the tool's words.)";

// The keyword argument named, or nothing when it is None.
std::optional<py::object> Given(const py::kwargs& options, const char* name) {
    if (!options.contains(name)) return std::nullopt;
    py::object value = options[name];
    if (value.is_none()) return std::nullopt;
    return value;
}

const char* const EvolveKeywords[] = {"n",       "blocks", "objective",   "pareto",  "algorithm",
                                      "islands", "seed",   "evaluations", "seconds", "distance",
                                      "start",   "shapes", "operators",   "progress"};

// The settings of "vesk evolve" with the same options.
TSearchSettings SettingsOf(const py::object& target, const py::kwargs& options) {
    for (const auto& [key, value] : options) {
        const std::string name = py::str(key);
        bool known = false;
        for (const char* keyword : EvolveKeywords)
            known = known || name == keyword;
        if (!known)
            throw py::type_error("evolve() got an unexpected keyword argument '" + name + "'");
    }
    TSearchSettings settings;
    const auto n = Given(options, "n");
    if (!target.is_none()) {
        if (n) throw py::value_error("n: excludes target");
        settings.Target = TargetArgument(target, "target");
    } else {
        settings.Target.ClearDegrees();
        settings.Target.MakeReference(
            n ? static_cast<std::int32_t>(WholeArgument(*n, "n", 1, MaxReferenceElements)) : 100);
    }
    settings.Blocks = 16;
    const auto blocks = Given(options, "blocks");
    if (blocks)
        settings.Blocks = static_cast<std::int32_t>(WholeArgument(*blocks, "blocks", 1, MaxBlocks));
    if (const auto start = Given(options, "start")) {
        TVesk pattern;
        pattern.LoadFromHex(PatternArgument(*start, "start"));
        if (pattern.Count() == 0) throw py::value_error("start: must not be empty");
        if (blocks && pattern.Count() != settings.Blocks)
            throw py::value_error("start has " + std::to_string(pattern.Count()) +
                                  " blocks and blocks " + std::to_string(settings.Blocks));
        settings.Start = pattern.Blocks();
        settings.Blocks = pattern.Count();
    }
    if (const auto shapes = Given(options, "shapes"))
        settings.Shapes = CodeListArgument(*shapes, "shapes", FieldHighest(ShapeField));
    if (const auto operators = Given(options, "operators"))
        settings.Operators = CodeListArgument(*operators, "operators", FieldHighest(OpField));
    if (const auto objective = Given(options, "objective")) {
        const std::string word = TextArgument(*objective, "objective");
        const auto named = ObjectiveOfWord(word);
        if (!named) throw py::value_error("objective: " + NotAmongWords(word, ObjectiveWords()));
        settings.Objective = *named;
    }
    if (settings.Objective == TObjective::Sweep && !target.is_none())
        throw py::value_error("the sweep objective scores against the built-in reference only");
    if (const auto pareto = Given(options, "pareto")) {
        if (!py::isinstance<py::bool_>(*pareto)) throw py::type_error("pareto: must be a bool");
        settings.Pareto = pareto->cast<bool>();
    }
    if (const auto algorithm = Given(options, "algorithm")) {
        const std::string word = TextArgument(*algorithm, "algorithm");
        settings.Algorithm = AlgorithmOfName(word);
        if (!settings.Algorithm)
            throw py::value_error("algorithm: " + NotAmongWords(word, AlgorithmNames()));
    }
    if (const auto islands = Given(options, "islands"))
        settings.Islands = static_cast<int>(WholeArgument(*islands, "islands", 1, MaxIslands));
    if (const auto seed = Given(options, "seed"))
        settings.Seed = static_cast<unsigned>(
            WholeArgument(*seed, "seed", 0, std::numeric_limits<unsigned>::max()));
    const auto evaluations = Given(options, "evaluations");
    const auto seconds = Given(options, "seconds");
    if (seconds) settings.Seconds = RealArgument(*seconds, "seconds", 0, false, MaxSeconds);
    // A time limit alone bounds the run by time.
    settings.Evaluations = evaluations ? static_cast<std::uint64_t>(WholeArgument(
                                             *evaluations, "evaluations", 1, MaxEvaluations))
                           : seconds   ? MaxEvaluations
                                       : ToolEvolveBudget;
    if (const auto distance = Given(options, "distance"))
        settings.MeanDistance = RealArgument(*distance, "distance", 0, true, 1e9);
    if (const std::string problem = SearchSettingsProblem(settings); !problem.empty())
        throw py::value_error(problem);
    return settings;
}

py::object Evolve(const py::object& target, const py::kwargs& options) {
    const TSearchSettings settings = SettingsOf(target, options);
    std::optional<py::object> progress = Given(options, "progress");
    if (progress && !PyCallable_Check(progress->ptr()))
        throw py::type_error("progress: must be callable");
    const std::int32_t elements = settings.Target.Count();

    // The search's observer runs on this thread: it takes the interpreter's lock to look for
    // Ctrl-C and to call the callback, and stops the search on an exception from either.
    std::atomic<bool> stop{false};
    std::optional<py::error_already_set> pending;
    auto observer = [&](const TSearchProgress& p) {
        py::gil_scoped_acquire held;
        if (pending) return;
        try {
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
            if (progress)
                (*progress)(PythonOfJson(ProgressAnswer(p, settings.Objective, elements)));
        } catch (py::error_already_set& error) {
            pending.emplace(std::move(error));
            stop = true;
        }
    };
    TJson answer;
    {
        py::gil_scoped_release released;
        const TSearchResult result = RunSearch(settings, observer, &stop);
        answer = EvolveAnswer(settings, result, target.is_none() ? "" : "array");
    }
    py::object out = PythonOfJson(answer);
    if (pending) {
        // The exception goes on with the best so far beside it.
        py::object value = pending->value();
        if (value && py::hasattr(value, "__dict__")) value.attr("result") = out;
        pending->restore();
        throw py::error_already_set();
    }
    return out;
}

} // namespace

void AddEvolve(py::module_& module) {
    module.def("evolve", &Evolve, py::arg("target") = py::none(), EvolveDoc);
}

} // namespace vesk::python
