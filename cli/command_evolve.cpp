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
#include "search/target_file.h"
#include "vesk/agent.h"
#include "vesk/hex_text.h"
#include "workbench/tool_answers.h"

namespace vesk::cli {

namespace {

enum class TEvolveFormat { Json, Plain };
enum class TProgressForm { Bar, Json, None };

struct TEvolveOptions {
    std::int32_t N = 100;
    std::string Target;
    std::int32_t Blocks = 16;
    TObjective Objective = TObjective::Distance;
    bool Pareto = false;
    std::optional<TAlgorithm> Algorithm;
    int Islands = 0;
    unsigned Seed = 1;
    std::uint64_t Evaluations = ToolEvolveBudget;
    double Seconds = 0;
    double Distance = -1;
    TEvolveFormat Format = TEvolveFormat::Json;
    TProgressForm Progress = TProgressForm::Bar;
    bool Quiet = false;
    std::string Start, Shapes, Operators, Targets;
    bool BlocksGiven = false, EvaluationsGiven = false;
};

// One line on standard error that rewrites itself, at most ten times a second.
class TProgressBar {
public:
    TProgressBar(std::uint64_t budget, double seconds, TObjective objective, std::int32_t elements)
        : FBudget(budget), FSeconds(seconds), FObjective(objective), FElements(elements) {}
    ~TProgressBar() {
        if (FShown) std::fputc('\n', stderr);
    }
    TProgressBar(const TProgressBar&) = delete;
    TProgressBar& operator=(const TProgressBar&) = delete;

    void Show(const TSearchProgress& p) {
        if (FShown && p.Seconds - FLast < 0.1 && p.Evaluations < FBudget) return;
        FLast = p.Seconds;
        FShown = true;
        constexpr int Width = 30;
        double share = static_cast<double>(p.Evaluations) / static_cast<double>(FBudget);
        if (FSeconds > 0) share = std::max(share, p.Seconds / FSeconds);
        share = std::min(share, 1.0);
        const int filled = static_cast<int>(share * Width);
        std::fprintf(stderr, "\r[%s%s] %3d%%  %llu evaluations  best %.4f an element  %.2fM/s ",
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(Width - filled), '.').c_str(),
                     static_cast<int>(share * 100), static_cast<unsigned long long>(p.Evaluations),
                     MeanDistanceOfObjective(p.Best, FObjective, FElements),
                     p.EvaluationsPerSecond / 1e6);
        std::fflush(stderr);
    }

private:
    std::uint64_t FBudget;
    double FSeconds;
    TObjective FObjective;
    std::int32_t FElements;
    double FLast = 0;
    bool FShown = false;
};

// The settings every target of the run shares.
TSearchSettings BaseSettings(const TEvolveOptions& o) {
    TSearchSettings settings;
    settings.Blocks = o.Blocks;
    if (!o.Start.empty()) {
        TVesk start;
        start.LoadFromHex(o.Start);
        if (o.BlocksGiven && start.Count() != o.Blocks)
            throw EUsageError("--start has " + std::to_string(start.Count()) +
                              " blocks and --blocks " + std::to_string(o.Blocks));
        settings.Start = start.Blocks();
        settings.Blocks = start.Count();
    }
    std::string why;
    if (!o.Shapes.empty())
        settings.Shapes = *ParseCodeList(o.Shapes, FieldHighest(ShapeField), why);
    if (!o.Operators.empty())
        settings.Operators = *ParseCodeList(o.Operators, FieldHighest(OpField), why);
    settings.Objective = o.Objective;
    settings.Pareto = o.Pareto;
    settings.Algorithm = o.Algorithm;
    settings.Islands = o.Islands;
    settings.Seed = o.Seed;
    // A time limit alone bounds the run by time.
    settings.Evaluations = o.Seconds > 0 && !o.EvaluationsGiven ? MaxEvaluations : o.Evaluations;
    if (o.Seconds > 0) settings.Seconds = o.Seconds;
    if (o.Distance >= 0) settings.MeanDistance = o.Distance;
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
    if (bar)
        shown = std::make_unique<TProgressBar>(settings.Evaluations, o.Seconds, o.Objective, n);
    TSearchObserver observer;
    if (bar)
        observer = [&shown](const TSearchProgress& p) { shown->Show(p); };
    else if (progress == TProgressForm::Json)
        observer = [&o, n](const TSearchProgress& p) {
            std::fprintf(stderr, "%s\n", JsonText(ProgressAnswer(p, o.Objective, n)).c_str());
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
    if (o.Objective == TObjective::Sweep && (!o.Target.empty() || !o.Targets.empty()))
        throw EUsageError("the sweep objective scores against the built-in reference only");
    try {
        if (!o.Targets.empty()) {
            for (TTargetLine& line : ReadTargetLines(o.Targets)) {
                settings.Target = std::move(line.Target);
                settings.Seed = TargetLineSeed(o.Seed, line.Line);
                if (!SearchAndReport(o, settings, o.Targets + ":" + std::to_string(line.Line),
                                     stopSignals))
                    break;
            }
        } else {
            if (!o.Target.empty()) {
                settings.Target = ReadTargetFile(o.Target);
            } else {
                settings.Target.ClearDegrees();
                settings.Target.MakeReference(o.N);
            }
            SearchAndReport(o, settings, o.Target, stopSignals);
        }
    } catch (const ETargetError& error) {
        throw ECommandFailure(error.what());
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
    command
        ->add_option("--start", o->Start,
                     "begin from this pattern (its block count is the search's; the result is "
                     "never worse)")
        ->check(PatternValidator())
        ->check(NotEmpty());
    command
        ->add_option("--shapes", o->Shapes,
                     "the shape codes the search may use, as a list like 0-7,12")
        ->check(CodeList(FieldHighest(ShapeField)));
    command
        ->add_option("--operators", o->Operators,
                     "the operator codes the search may use, as a list like 0-3,10")
        ->check(CodeList(FieldHighest(OpField)));
    command->add_option("--blocks", o->Blocks, "blocks of the pattern")
        ->check(WholeNumber(1, MaxBlocks))
        ->capture_default_str();
    std::map<std::string, TObjective> objectives;
    for (const std::string& word : ObjectiveWords())
        objectives.emplace(word, *ObjectiveOfWord(word));
    AddWordOption(*command, "--objective", o->Objective, objectives,
                  "distance (default), or sweep (the reference only)");
    command->add_flag("--pareto", o->Pareto,
                      "also minimise the blocks used (the front by NSGA-II)");
    std::map<std::string, std::optional<TAlgorithm>> algorithms;
    for (TAlgorithm algorithm : SearchAlgorithms())
        algorithms.emplace(AlgorithmName(algorithm), algorithm);
    AddWordOption(*command, "--algorithm", o->Algorithm, algorithms,
                  "the optimiser (default annealing)");
    command
        ->add_option("--islands", o->Islands,
                     "islands, one a thread, at most " + std::to_string(MaxIslands) +
                         " (default: every hardware thread)")
        ->check(WholeNumber(1, MaxIslands));
    command->add_option("--seed", o->Seed, "the seed")
        ->check(WholeNumber(0, std::numeric_limits<unsigned>::max()))
        ->capture_default_str();
    command
        ->add_option("--evaluations", o->Evaluations,
                     "the evaluation budget (with --seconds alone: no limit but the time)")
        ->check(WholeNumber(1, MaxEvaluations))
        ->capture_default_str();
    command->add_option("--seconds", o->Seconds, "stop after this many seconds")
        ->check(RealNumber(0, false, MaxSeconds));
    command
        ->add_option("--distance", o->Distance,
                     "stop once the distance an element reaches this (with --pareto: the front's "
                     "closest pattern)")
        ->check(RealNumber(0, true, 1e9));
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
        "The same settings and evaluation budget give the same pattern on every run; a run\n"
        "bounded by time may differ with the machine's speed. The budget is shared out among\n"
        "the islands; each also evaluates its start. --seconds ends the search at the time\n"
        "given, within a few evaluations. Progress comes after every round and at least\n"
        "once a second. Ctrl-C (SIGINT) or SIGTERM, once or many times, ends the search at\n"
        "once, prints the best so far and exits with 130 or 143.");
    command->callback([&status, o, command] {
        o->BlocksGiven = command->count("--blocks") > 0;
        o->EvaluationsGiven = command->count("--evaluations") > 0;
        status = Evolve(*o);
    });
}

} // namespace vesk::cli
