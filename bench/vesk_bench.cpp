// The benchmark runner: Google Benchmark's console output, then each benchmark's speed as a
// ratio to the plain object-per-element design measured in the same run, and the targets.
//   ./dev.sh bench [--benchmark_filter=...] [--benchmark_repetitions=N] ...
// With repetitions the median is used. JSON goes to a file with --benchmark_out=FILE.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// The console reporter, remembering the CPU seconds an iteration took for each benchmark.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                FFailed = true;
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            if (run.iterations == 0) continue;
            // Benchmarks timed on the wall clock (threads, a child process) are compared so.
            const double seconds = run.run_name.str().find("real_time") != std::string::npos
                                       ? run.real_accumulated_time
                                       : run.cpu_accumulated_time;
            FSeconds[run.run_name.str()] = seconds / static_cast<double>(run.iterations);
        }
    }

    void PrintSummary() const {
        std::printf("\nCPU time an iteration, against the plain design measured in this run:\n");
        for (const char* name :
             {"Project/32x5000", "FitnessSweep/32x6600", "BatchScore/10000x16x100",
              "ScoreBlocks/100", "ScoreBlocks/5000"}) {
            const auto fast = FSeconds.find(name);
            const auto plain = FSeconds.find(std::string("Plain/") + name);
            if (fast == FSeconds.end() || plain == FSeconds.end()) continue;
            std::printf("  %-26s %10.1f us   plain %10.1f us   %6.1fx\n", name, fast->second * 1e6,
                        plain->second * 1e6, plain->second / fast->second);
        }
        std::printf("\nTargets:\n");
        Target(
            "FitnessSweep/32x6600", "sweep under 0.2 ms", [](double s) { return s < 200e-6; },
            [](double s) { return std::to_string(s * 1e3).substr(0, 6) + " ms"; });
        Target(
            "HexaString/32x2048", "Hexa String at 2048 under 1 ms",
            [](double s) { return s < 1e-3; },
            [](double s) { return std::to_string(s * 1e3).substr(0, 6) + " ms"; });
        Target(
            "BatchScore/10000x16x100", "at least 1,000,000 patterns/s",
            [](double s) { return 10000 / s >= 1e6; },
            [](double s) { return std::to_string(static_cast<long>(10000 / s)) + " patterns/s"; });
        Target(
            "ScoreBlocks/100", "core: 3,000,000 patterns/s at 100",
            [](double s) { return 10000 / s >= 3e6; },
            [](double s) { return std::to_string(static_cast<long>(10000 / s)) + " patterns/s"; });
        Ratio("ScoreReplayed/5000", "ScoreBlocks/5000", "5000 elements 10x the previous design",
              10);
        // Cost per element: 1000 patterns at 5000 elements against 10000 at 100.
        const auto at100 = FSeconds.find("ScoreBlocks/100");
        const auto at5000 = FSeconds.find("ScoreBlocks/5000");
        if (at100 != FSeconds.end() && at5000 != FSeconds.end()) {
            const double ratio = (at5000->second / 5e6) / (at100->second / 1e6);
            std::printf("  %-38s %-24s %s\n", "cost an element at 5000 within 2x of 100",
                        (std::to_string(ratio).substr(0, 5) + "x").c_str(),
                        ratio <= 2 ? "met" : "MISSED");
        }
        Target(
            "ScoreTool/1/iterations:5/real_time", "vesk score, 1 thread: 2,500,000 lines/s",
            [](double s) { return 1e6 / s >= 2.5e6; },
            [](double s) { return std::to_string(static_cast<long>(1e6 / s)) + " lines/s"; });
        Ratio("ScoreTool/1/iterations:5/real_time", "ScoreTool/2/iterations:5/real_time",
              "vesk score, 2 threads: 1.8x of 1", 1.8);
        Ratio("ScoreBatch/100/1/real_time", "ScoreBatch/100/2/real_time",
              "batch call, 2 threads: 1.8x of 1", 1.8);
        const auto fast = FSeconds.find("FitnessSweep/32x6600");
        const auto plain = FSeconds.find("Plain/FitnessSweep/32x6600");
        if (fast != FSeconds.end() && plain != FSeconds.end()) {
            const double ratio = plain->second / fast->second;
            std::printf("  %-38s %-24s %s\n", "sweep at least 10x the plain design",
                        (std::to_string(ratio).substr(0, 5) + "x").c_str(),
                        ratio >= 10 ? "met" : "MISSED");
        }
    }

    bool Failed() const { return FFailed; }

private:
    template <typename Met, typename Show>
    void Target(const char* name, const char* what, Met met, Show show) const {
        const auto found = FSeconds.find(name);
        if (found == FSeconds.end()) return;
        std::printf("  %-38s %-24s %s\n", what, show(found->second).c_str(),
                    met(found->second) ? "met" : "MISSED");
    }

    // slow / fast measured in this run, against at least.
    void Ratio(const char* slow, const char* fast, const char* what, double least) const {
        const auto s = FSeconds.find(slow);
        const auto f = FSeconds.find(fast);
        if (s == FSeconds.end() || f == FSeconds.end()) return;
        const double ratio = s->second / f->second;
        std::printf("  %-38s %-24s %s\n", what, (std::to_string(ratio).substr(0, 5) + "x").c_str(),
                    ratio >= least ? "met" : "MISSED");
    }

    std::map<std::string, double> FSeconds;
    bool FFailed = false;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return reporter.Failed() ? 1 : 0;
}
