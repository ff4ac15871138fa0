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
    std::uint64_t Evaluations = 1'000'000;
    double Seconds = 0;
    double Distance = -1;
    TEvolveFormat Format = TEvolveFormat::Json;
    TProgressForm Progress = TProgressForm::Bar;
    bool Quiet = false;
};

const std::map<std::string, TObjective> ObjectiveWords{{"distance", TObjective::Distance},
                                                       {"sweep", TObjective::Sweep}};

const char* ObjectiveWord(TObjective objective) {
    return objective == TObjective::Sweep ? "sweep" : "distance";
}

// One line on standard error that rewrites itself, at most ten times a second.
class TProgressBar {
public:
    TProgressBar(std::uint64_t budget, TObjective objective, std::int32_t elements)
        : FBudget(budget), FObjective(objective), FElements(elements) {}
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
        const double share = std::min(1.0, static_cast<double>(p.Evaluations) / FBudget);
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
    TObjective FObjective;
    std::int32_t FElements;
    double FLast = 0;
    bool FShown = false;
};

TJson ProgressLine(const TSearchProgress& p, TObjective objective, std::int32_t elements) {
    TJson line;
    line["evaluations"] = p.Evaluations;
    line["best"] = p.Best;
    line["mean_distance"] = MeanDistanceOfObjective(p.Best, objective, elements);
    line["hex"] = PatternHex(p.Pattern);
    line["seconds"] = p.Seconds;
    line["evaluations_per_second"] = p.EvaluationsPerSecond;
    return line;
}

// What "vesk evolve" prints in JSON: the result, every figure scored again as the rest of the
// tool scores it.
TJson EvolveReport(const TEvolveOptions& o, const TSearchSettings& settings,
                   const TSearchResult& result) {
    const std::int32_t n = settings.Target.Count();
    const bool ownTarget = !o.Target.empty();
    TPatternScorer scorer(settings.Target);
    const TPatternScore score = scorer.ScoreBlocks(result.Pattern);
    TJson out;
    out["hex"] = PatternHex(result.Pattern);
    out["blocks"] = result.Pattern.size();
    out["elements"] = n;
    out["target"] = ownTarget ? o.Target : "reference";
    out["objective"] = ObjectiveWord(o.Objective);
    out["distance"] = score.Distance;
    out["mean_distance"] = MeanDistanceOf(score.Distance, n);
    out["fitness"] = score.Fitness;
    if (ownTarget) {
        out["sweep"] = nullptr;
    } else {
        TJson sweep = TJson::array();
        for (std::int32_t size : SweepSizes)
            sweep.push_back(TPatternScorer(size).ScoreBlocks(result.Pattern).Fitness);
        out["sweep"] = sweep;
    }
    if (o.Objective == TObjective::Sweep) out["sweep_mean_distance"] = result.Best;
    out["evaluations"] = result.Evaluations;
    out["seconds"] = result.Seconds;
    out["evaluations_per_second"] = result.Seconds > 0 ? result.Evaluations / result.Seconds : 0.0;
    out["algorithm"] = AlgorithmName(result.Algorithm);
    out["islands"] = result.Islands;
    out["seed"] = o.Seed;
    out["stopped"] = SearchEndName(result.Stopped);
    if (o.Pareto) {
        TJson front = TJson::array();
        for (const TFrontPoint& point : result.Front) {
            const TPatternScore pointScore = scorer.ScoreBlocks(point.Pattern);
            front.push_back({{"blocks", point.Pattern.size()},
                             {"hex", PatternHex(point.Pattern)},
                             {"distance", pointScore.Distance},
                             {"fitness", pointScore.Fitness}});
        }
        out["front"] = front;
    }
    return out;
}

int Evolve(const TEvolveOptions& o) {
    // From here on SIGINT and SIGTERM end the search with the best so far, however many come,
    // until the result is out.
    const TStopSignals signals;
    TSearchSettings settings;
    if (!o.Target.empty()) {
        if (o.Objective == TObjective::Sweep)
            throw EUsageError("the sweep objective scores against the built-in reference only");
        try {
            settings.Target = ReadTargetFile(o.Target);
        } catch (const ETargetError& error) {
            throw ECommandFailure(error.what());
        }
    } else {
        settings.Target.ClearDegrees();
        settings.Target.MakeReference(o.N);
    }
    const std::int32_t n = settings.Target.Count();
    settings.Blocks = o.Blocks;
    settings.Objective = o.Objective;
    settings.Pareto = o.Pareto;
    settings.Algorithm = o.Algorithm;
    settings.Islands = o.Islands;
    settings.Seed = o.Seed;
    settings.Evaluations = o.Evaluations;
    if (o.Seconds > 0) settings.Seconds = o.Seconds;
    if (o.Distance >= 0) settings.MeanDistance = o.Distance;

    const TProgressForm progress = o.Quiet ? TProgressForm::None : o.Progress;
    const bool bar = progress == TProgressForm::Bar && isatty(STDERR_FILENO) == 1;
    std::unique_ptr<TProgressBar> shown;
    if (bar) shown = std::make_unique<TProgressBar>(o.Evaluations, o.Objective, n);
    TSearchObserver observer;
    if (bar)
        observer = [&shown](const TSearchProgress& p) { shown->Show(p); };
    else if (progress == TProgressForm::Json)
        observer = [&o, n](const TSearchProgress& p) {
            std::fprintf(stderr, "%s\n", JsonText(ProgressLine(p, o.Objective, n)).c_str());
        };

    TSearchResult result;
    try {
        result = RunSearch(settings, observer, &signals.Flag());
    } catch (const std::invalid_argument& error) {
        throw EUsageError(error.what());
    }
    shown.reset();

    if (o.Format == TEvolveFormat::Plain)
        WriteOut(PatternHex(result.Pattern) + "\n");
    else
        WriteOut(JsonText(EvolveReport(o, settings, result)) + "\n");
    FlushOut(); // while the signals are still caught: the result is out before any default action
    if (signals.Caught() != 0) return signals.ExitStatus();
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
    command->add_option("--blocks", o->Blocks, "blocks of the pattern")
        ->check(WholeNumber(1, MaxBlocks))
        ->capture_default_str();
    AddWordOption(*command, "--objective", o->Objective, ObjectiveWords,
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
    command->add_option("--evaluations", o->Evaluations, "the evaluation budget")
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
        "front of the best pattern for each block count. The budget is shared out among the\n"
        "islands; each also evaluates its initial population. --seconds ends the search at\n"
        "the time given, within a few evaluations. Progress comes after every round and at\n"
        "least once a second. Ctrl-C (SIGINT) or SIGTERM, once or many times, ends the search\n"
        "at once, prints the best so far and exits with 130 or 143.");
    command->callback([&status, o] { status = Evolve(*o); });
}

} // namespace vesk::cli
