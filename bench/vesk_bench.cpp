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
            FSeconds[run.run_name.str()] =
                run.cpu_accumulated_time / static_cast<double>(run.iterations);
        }
    }

    void PrintSummary() const {
        std::printf("\nCPU time an iteration, against the plain design measured in this run:\n");
        for (const char* name :
             {"Project/32x5000", "FitnessSweep/32x6600", "BatchScore/10000x16x100"}) {
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
