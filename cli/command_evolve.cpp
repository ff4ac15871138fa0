// "vesk evolve": the pattern of B blocks that comes closest to a target set.

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/text_stream.h"
#include "search/pattern_search.h"
#include "search/target_file.h"
#include "vesk/agent.h"
#include "vesk/hex_text.h"

namespace vesk::cli {

namespace {

constexpr int ExitInterrupted = 130; // as a shell reports a process ended by SIGINT

struct TEvolveOptions {
    std::int32_t N = 100;
    std::string Target;
    std::int32_t Blocks = 16;
    std::string Objective = "distance";
    bool Pareto = false;
    std::string Algorithm;
    int Islands = 0;
    unsigned Seed = 1;
    std::uint64_t Evaluations = 1'000'000;
    double Seconds = 0;
    double Distance = -1;
    std::string Format = "json";
    std::string Progress = "bar";
    bool Quiet = false;
};

// Set by SIGINT: the search ends at once and the best so far is printed.
std::atomic<bool> Interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    Interrupted = true;
    std::signal(SIGINT, SIG_DFL); // a second Ctrl-C ends the process at once
}

// One line on standard error that rewrites itself, at most ten times a second.
class TProgressBar {
public:
    explicit TProgressBar(std::uint64_t budget, std::int32_t elements)
        : FBudget(budget), FElements(elements) {}
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
                     p.Best / FElements, p.EvaluationsPerSecond / 1e6);
        std::fflush(stderr);
    }

private:
    std::uint64_t FBudget;
    double FElements;
    double FLast = 0;
    bool FShown = false;
};

TJson ProgressLine(const TSearchProgress& p, std::int32_t elements) {
    TJson line;
    line["evaluations"] = p.Evaluations;
    line["best"] = p.Best;
    line["mean_distance"] = MeanDistanceOf(p.Best, elements);
    line["hex"] = PatternHex(p.Pattern);
    line["seconds"] = p.Seconds;
    line["evaluations_per_second"] = p.EvaluationsPerSecond;
    return line;
}

int Evolve(const TEvolveOptions& o) {
    TSearchSettings settings;
    const bool ownTarget = !o.Target.empty();
    if (ownTarget) {
        if (o.Objective == "sweep")
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
    settings.Objective = o.Objective == "sweep" ? TObjective::Sweep : TObjective::Distance;
    settings.Pareto = o.Pareto;
    settings.Algorithm = o.Algorithm;
    settings.Islands = o.Islands;
    settings.Seed = o.Seed;
    settings.Evaluations = o.Evaluations;
    if (o.Seconds > 0) settings.Seconds = o.Seconds;
    if (o.Distance >= 0) settings.MeanDistance = o.Distance;

    const std::string progress = o.Quiet ? "none" : o.Progress;
    const bool bar = progress == "bar" && isatty(STDERR_FILENO) == 1;
    std::unique_ptr<TProgressBar> shown;
    if (bar) shown = std::make_unique<TProgressBar>(o.Evaluations, n);
    const double scale = settings.Objective == TObjective::Sweep ? 1 : n;
    TSearchObserver observer;
    if (bar)
        observer = [&shown](const TSearchProgress& p) { shown->Show(p); };
    else if (progress == "json")
        observer = [scale](const TSearchProgress& p) {
            std::fprintf(stderr, "%s\n",
                         JsonText(ProgressLine(p, static_cast<std::int32_t>(scale))).c_str());
        };

    Interrupted = false;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    TSearchResult result;
    try {
        result = RunSearch(settings, observer, &Interrupted);
    } catch (const std::invalid_argument& error) {
        std::signal(SIGINT, previous);
        throw EUsageError(error.what());
    }
    std::signal(SIGINT, previous);
    shown.reset();

    // Everything printed is scored again as the rest of the tool scores it.
    TPatternScorer scorer(settings.Target);
    const TPatternScore score = scorer.ScoreBlocks(result.Pattern);
    const std::string hex = PatternHex(result.Pattern);
    if (o.Format == "plain") {
        WriteOut(hex + "\n");
    } else {
        TJson out;
        out["hex"] = hex;
        out["blocks"] = result.Pattern.size();
        out["elements"] = n;
        out["target"] = ownTarget ? o.Target : "reference";
        out["objective"] = o.Objective;
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
        if (settings.Objective == TObjective::Sweep) out["sweep_mean_distance"] = result.Best;
        out["evaluations"] = result.Evaluations;
        out["seconds"] = result.Seconds;
        out["evaluations_per_second"] =
            result.Seconds > 0 ? result.Evaluations / result.Seconds : 0.0;
        out["algorithm"] = result.Algorithm;
        out["islands"] = result.Islands;
        out["seed"] = o.Seed;
        out["stopped"] = result.Stopped;
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
        WriteOut(JsonText(out) + "\n");
    }
    return result.Stopped == "interrupted" ? ExitInterrupted : ExitSuccess;
}

} // namespace

void AddEvolveCommand(CLI::App& tool, int& status) {
    auto o = std::make_shared<TEvolveOptions>();
    CLI::App* command =
        tool.add_subcommand("evolve", "search for the pattern that comes closest to a target set");
    CLI::Option* elements = AddElementsOption(*command, o->N);
    elements->check(CLI::Range(1, MaxElementCount));
    command
        ->add_option("--target", o->Target, "the target's degrees, as vesk reference prints them")
        ->excludes(elements);
    command->add_option("--blocks", o->Blocks, "blocks of the pattern")
        ->check(CLI::Range(1, MaxBlocks))
        ->capture_default_str();
    command->add_option("--objective", o->Objective, "distance, or sweep (the reference only)")
        ->check(CLI::IsMember({"distance", "sweep"}))
        ->capture_default_str();
    command->add_flag("--pareto", o->Pareto,
                      "also minimise the blocks used (the front by NSGA-II)");
    command->add_option("--algorithm", o->Algorithm, "the optimiser (default annealing)")
        ->check(CLI::IsMember(SearchAlgorithms()));
    command->add_option("--islands", o->Islands, "islands, one a thread (default: every thread)")
        ->check(CLI::Range(1, 256));
    command->add_option("--seed", o->Seed, "the seed")->capture_default_str();
    command->add_option("--evaluations", o->Evaluations, "the evaluation budget")
        ->check(CLI::Range(std::uint64_t{1}, MaxEvaluations))
        ->capture_default_str();
    command->add_option("--seconds", o->Seconds, "stop after this many seconds")
        ->check(CLI::PositiveNumber);
    command->add_option("--distance", o->Distance, "stop once the distance an element reaches this")
        ->check(CLI::NonNegativeNumber);
    command->add_option("--format", o->Format, "json, or plain (the pattern alone)")
        ->check(CLI::IsMember({"json", "plain"}))
        ->capture_default_str();
    command
        ->add_option("--progress", o->Progress,
                     "on standard error: bar (on a terminal), json, none")
        ->check(CLI::IsMember({"bar", "json", "none"}))
        ->capture_default_str();
    command->add_flag("-q,--quiet", o->Quiet, "no progress");
    command->footer(
        "\nPrints one JSON object: the best pattern's hex, blocks, elements, target, objective,\n"
        "distance, mean_distance and fitness (as vesk score gives them), sweep (the Fitness\n"
        "command's four values, built-in reference only), evaluations, seconds,\n"
        "evaluations_per_second, algorithm, islands, seed, stopped, and with --pareto the\n"
        "front of the best pattern for each block count. Ctrl-C ends the search at once,\n"
        "prints the best so far and exits with 130.");
    command->callback([&status, o] { status = Evolve(*o); });
}

} // namespace vesk::cli
