#include "python/evolve.h"

#include <atomic>
#include <optional>

#include "python/arguments.h"
#include "python/interruptible.h"
#include "python/json_objects.h"
#include "search/pattern_search.h"
#include "search/search_options.h"
#include "search/target_file.h"
#include "workbench/tool_answers.h"

namespace vesk::python {

namespace {

// The keyword argument named, or nothing when it is None.
std::optional<py::object> Given(const py::kwargs& options, const std::string& name) {
    if (!options.contains(name)) return std::nullopt;
    py::object value = options[name.c_str()];
    if (value.is_none()) return std::nullopt;
    return value;
}

// The keyword arguments of the module's own, beside the search's options.
const char* const OwnKeywords[] = {"n", "progress"};

// The settings of "vesk evolve" with the same options.
TSearchSettings SettingsOf(const py::object& target, const py::kwargs& options) {
    for (const auto& [key, value] : options) {
        const std::string name = py::str(key);
        bool known = SearchOptionOf(name, TFrontEnd::Module) != nullptr;
        for (const char* keyword : OwnKeywords)
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
    TSearchChoices choices;
    for (const TSearchOption& option : SearchOptions())
        if (option.TakenBy(TFrontEnd::Module))
            if (const auto value = Given(options, option.Key))
                if (std::string problem =
                        ApplyOption(choices, option, SearchOptionText(*value, option));
                    !problem.empty())
                    throw py::value_error(option.Key + ": " + problem);
    if (choices.Objective == TObjective::Sweep && !target.is_none())
        throw py::value_error("the sweep objective scores against the built-in reference only");
    if (std::string problem = ApplyChoices(choices, ToolEvolveBudget, TFrontEnd::Module, settings);
        !problem.empty())
        throw py::value_error(problem);
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

    // The search runs beside this thread, which hears Ctrl-C meanwhile and calls the callback
    // with each progress report; an exception from either stops the search.
    TInterruptible run;
    auto observer = [&](const TSearchProgress& p) {
        if (progress)
            run.Post([&, p] {
                (*progress)(PythonOfJson(ProgressAnswer(p, settings.Objective, elements)));
            });
    };
    TJson answer;
    std::optional<py::error_already_set> pending = run.Run([&] {
        const TSearchResult result = RunSearch(settings, observer, &run.Stop());
        answer = EvolveAnswer(settings, result, target.is_none() ? "" : "array");
    });
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
    module.def("evolve", &Evolve, py::arg("target") = py::none());
}

} // namespace vesk::python
