// "vesk evolve": the pattern of B blocks that comes closest to a target set.

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/stop_signals.h"
#include "cli/text_stream.h"
#include "search/pattern_search.h"
#include "search/search_options.h"
#include "search/target_file.h"
#include "vesk/hex_text.h"
#include "workbench/tool_answers.h"

namespace vesk::cli {

namespace {

enum class TEvolveFormat { Json, Plain };
enum class TProgressForm { Bar, Json, None };

struct TEvolveOptions {
    std::int32_t N = 100;
    std::string Target, Targets;
    TSearchChoices Search; // the search's own options
    TEvolveFormat Format = TEvolveFormat::Json;
    TProgressForm Progress = TProgressForm::Bar;
    bool Quiet = false;
};

// One line on standard error that rewrites itself, at most ten times a second: a bar when the
// search has a budget or a time limit, the evaluations alone when only a distance ends it.
class TProgressBar {
public:
    explicit TProgressBar(const TSearchSettings& settings) : FSettings(settings) {}
    ~TProgressBar() {
        if (FShown) std::fputc('\n', stderr);
    }
    TProgressBar(const TProgressBar&) = delete;
    TProgressBar& operator=(const TProgressBar&) = delete;

    void Show(const TSearchProgress& p) {
        const std::optional<double> share = SearchShare(FSettings, p);
        if (FShown && p.Seconds - FLast < 0.1 && share.value_or(0) < 1) return;
        FLast = p.Seconds;
        FShown = true;
        constexpr int Width = 30;
        if (share) {
            const int filled = static_cast<int>(*share * Width);
            std::fprintf(stderr, "\r[%s%s] %3d%%  ",
                         std::string(static_cast<std::size_t>(filled), '#').c_str(),
                         std::string(static_cast<std::size_t>(Width - filled), '.').c_str(),
                         static_cast<int>(*share * 100));
        } else {
            std::fputc('\r', stderr);
        }
        std::fprintf(stderr, "%llu evaluations  best %.4f an element  %.2fM/s ",
                     static_cast<unsigned long long>(p.Evaluations),
                     MeanDistanceOfObjective(p.Best, FSettings.Objective, FSettings.Target.Count()),
                     p.EvaluationsPerSecond / 1e6);
        std::fflush(stderr);
    }

private:
    const TSearchSettings& FSettings;
    double FLast = 0;
    bool FShown = false;
};

// The settings every target of the run shares.
TSearchSettings BaseSettings(const TEvolveOptions& o) {
    TSearchSettings settings;
    if (std::string problem = ApplyChoices(o.Search, ToolEvolveBudget, TFrontEnd::Tool, settings);
        !problem.empty())
        throw EUsageError(problem);
    return settings;
}

// Searches the settings' target, showing progress as asked; the result goes out as the
// options say. False when a signal ended the search.
bool SearchAndReport(const TEvolveOptions& o, const TSearchSettings& settings,
                     const std::string& targetName, const TStopSignals& stopSignals) {
    const std::int32_t n = settings.Target.Count();
    const TProgressForm progress = o.Quiet ? TProgressForm::None : o.Progress;
    const bool bar = progress == TProgressForm::Bar && isatty(STDERR_FILENO) == 1;
    std::unique_ptr<TProgressBar> shown;
    if (bar) shown = std::make_unique<TProgressBar>(settings);
    TSearchObserver observer;
    if (bar)
        observer = [&shown](const TSearchProgress& p) { shown->Show(p); };
    else if (progress == TProgressForm::Json)
        observer = [&settings, n](const TSearchProgress& p) {
            std::fprintf(stderr, "%s\n",
                         JsonText(ProgressAnswer(p, settings.Objective, n)).c_str());
        };

    TSearchResult result;
    try {
        result = RunSearch(settings, observer, &stopSignals.Flag());
    } catch (const std::invalid_argument& error) {
        throw EUsageError(error.what());
    }
    shown.reset();

    if (o.Format == TEvolveFormat::Plain)
        WriteOut(PatternHex(result.Pattern) + "\n");
    else
        WriteOut(JsonText(EvolveAnswer(settings, result, targetName)) + "\n");
    FlushOut(); // while the signals are still caught: the result is out before any default action
    return result.Stopped != TSearchEnd::Interrupted;
}

int Evolve(const TEvolveOptions& o) {
    // From here on SIGINT and SIGTERM end the search with the best so far, however many come,
    // until the result is out.
    const TStopSignals stopSignals;
    TSearchSettings settings = BaseSettings(o);
    if (settings.Objective == TObjective::Sweep && (!o.Target.empty() || !o.Targets.empty()))
        throw EUsageError("the sweep objective scores against the built-in reference only");
    try {
        if (!o.Targets.empty()) {
            for (TTargetLine& line : ReadTargetLines(o.Targets, &stopSignals.Flag())) {
                settings.Target = std::move(line.Target);
                settings.Seed = TargetLineSeed(o.Search.Seed, line.Line);
                if (!SearchAndReport(o, settings, o.Targets + ":" + std::to_string(line.Line),
                                     stopSignals))
                    break;
            }
        } else {
            if (!o.Target.empty()) {
                settings.Target = ReadTargetFile(o.Target, &stopSignals.Flag());
            } else {
                settings.Target.ClearDegrees();
                settings.Target.MakeReference(o.N);
            }
            SearchAndReport(o, settings, o.Target, stopSignals);
        }
    } catch (const ETargetError& error) {
        throw ECommandFailure(error.what());
    } catch (const ETargetReadStopped&) {
        // A signal while the target was still coming: nothing was searched, nothing to print.
    }
    if (stopSignals.Caught() != 0) return stopSignals.ExitStatus();
    return ExitSuccess;
}

} // namespace

void AddEvolveCommand(CLI::App& tool, int& status) {
    auto o = std::make_shared<TEvolveOptions>();
    CLI::App* command =
        tool.add_subcommand("evolve", "search for the pattern that comes closest to a target set");
    CLI::Option* elements = AddElementsOption(*command, o->N);
    elements->check(WholeNumber(1, MaxElementCount));
    command
        ->add_option("--target", o->Target,
                     "the target's degrees, as vesk reference prints them (plain, CSV or JSON; at "
                     "most " +
                         std::to_string(MaxTargetElements) + " degrees and " +
                         std::to_string(MaxTargetBytes >> 20) + " MiB)")
        ->check(NotEmpty())
        ->excludes(elements);
    command
        ->add_option("--targets", o->Targets,
                     "many targets, one a line (degrees separated by blanks or commas, or a JSON "
                     "array): one JSON line a target, in order")
        ->check(NotEmpty())
        ->excludes(elements)
        ->excludes("--target");
    for (const TSearchOption& option : SearchOptions())
        if (option.TakenBy(TFrontEnd::Tool))
            AddSearchOption(*command, option, ToolEvolveBudget, o->Search);
    AddWordOption(*command, "--format", o->Format,
                  std::map<std::string, TEvolveFormat>{{"json", TEvolveFormat::Json},
                                                       {"plain", TEvolveFormat::Plain}},
                  "json (default), or plain (the pattern alone)");
    AddWordOption(*command, "--progress", o->Progress,
                  std::map<std::string, TProgressForm>{{"bar", TProgressForm::Bar},
                                                       {"json", TProgressForm::Json},
                                                       {"none", TProgressForm::None}},
                  "on standard error: bar (default, on a terminal), json, none");
    command->add_flag("-q,--quiet", o->Quiet, "no progress");
    command->footer(
        "\nPrints one JSON object: the best pattern's hex, blocks, elements, target, objective,\n"
        "distance, mean_distance and fitness (as vesk score gives them), sweep (the Fitness\n"
        "command's four values, built-in reference only), evaluations, seconds,\n"
        "evaluations_per_second, algorithm, islands, seed, stopped, and with --pareto the\n"
        "front of the best pattern for each block count; with --targets, one such object a\n"
        "target, whose seed (derived from --seed and the line) and target (FILE:LINE) say how\n"
        "to search that target alone for the same answer.\n"
        "Without --evaluations the search spends " +
        std::to_string(ToolEvolveBudget) +
        " evaluations; with --seconds or --distance it\n"
        "has no evaluation limit but those. Whichever limit comes first ends the search.\n"
        "The annealing restarts from its best with ever longer coolings, so a limit is not a\n"
        "plan: a large budget costs nothing, and a search ended by any limit or by hand at\n"
        "time t is about as close as one given --seconds t; a known limit is planned for, so\n"
        "the last cooling ends with it.\n"
        "The same settings and evaluation budget give the same pattern on every run; a run\n"
        "bounded by time may differ with the machine's speed. The budget is shared out among\n"
        "the islands; each also evaluates its start. --seconds ends the search at the time\n"
        "given, within a few evaluations. Progress comes after every round and at least\n"
        "twice a second. Ctrl-C (SIGINT) or SIGTERM, once or many times, ends the search at\n"
        "once, prints the best so far and exits with 130 or 143.");
    command->callback([&status, o] { status = Evolve(*o); });
}

} // namespace vesk::cli
