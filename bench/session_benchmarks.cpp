// Benchmarks 2 and 4: the whole "Fitness" sweep of a 32-block pattern through the session, the
// same sweep done the plain way, and one "Hexa String" command at 2048 elements, plot included.

#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "bench/plain_design.h"
#include "fuzzyset/shape_runs.h"
#include "vesk/agent.h"
#include "workbench/session.h"
#include "workbench/text_format.h"

namespace vesk::bench {
namespace {

constexpr std::int32_t HexaSize = 2048;

const TPlainSweep& ReferenceSweep() {
    static const TPlainSweep sweep = [] {
        TPlainSweep s;
        PlainFitnessSweep(Pattern32, 32, s);
        return s;
    }();
    return sweep;
}

std::string SweepMessage(const std::array<std::int32_t, 4>& fitness) {
    std::string message = "Fitness (100, 500, 1000, 5000): ";
    for (std::size_t i = 0; i < fitness.size(); ++i) {
        if (i > 0) message += ',';
        message += FormatInteger(fitness[i], 5);
    }
    return message;
}

TWorkbenchSession SessionWith(const std::string& hex, std::int32_t elements) {
    TWorkbenchSession session;
    session.HexaText = hex;
    session.Elements.WriteValue(elements);
    session.Blocks.WriteValue(32);
    return session;
}

bool SweptLikeTheReference(const TWorkbenchSession& session, const TCommandOutcome& outcome) {
    const TPlainSweep& reference = ReferenceSweep();
    return outcome.Message == SweepMessage(reference.Fitness) &&
           session.PatternSet.Degrees() == reference.Pattern.Values() &&
           session.ReferenceSet.Degrees() == reference.Reference.Values();
}

void FitnessSweep(benchmark::State& state, bool firstTime) {
    TWorkbenchSession session = SessionWith(Pattern32, 100);
    if (!CheckSame(state, SweptLikeTheReference(session, session.Fitness()), "the sweep")) return;
    for (auto _ : state) {
        if (firstTime) {
            state.PauseTiming();
            ShapeRuns().Clear();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(session.Fitness());
    }
}

// The plain sweep of the two preset patterns gives the workbench's known figures: the reference
// the fast benchmarks are checked against is itself checked here.
bool PlainSweepGivesThePresetsFigures() {
    const struct {
        const char* Hex;
        std::array<std::int32_t, 4> Fitness;
    } presets[] = {{PresetPatterns[0], {17, 18, 18, 18}}, {PresetPatterns[1], {21, 23, 23, 23}}};
    for (const auto& preset : presets) {
        TPlainSweep sweep;
        PlainFitnessSweep(preset.Hex, 16, sweep);
        if (sweep.Fitness != preset.Fitness) return false;
    }
    return true;
}

void PlainFitnessSweepBenchmark(benchmark::State& state) {
    if (!CheckSame(state, PlainSweepGivesThePresetsFigures(), "a preset's fitness")) return;
    TPlainSweep sweep;
    PlainFitnessSweep(Pattern32, 32, sweep);
    const TPlainSweep& reference = ReferenceSweep();
    if (!CheckSame(state,
                   sweep.Fitness == reference.Fitness &&
                       sweep.Pattern.Values() == reference.Pattern.Values(),
                   "the sweep"))
        return;
    for (auto _ : state) {
        PlainFitnessSweep(Pattern32, 32, sweep);
        benchmark::DoNotOptimize(sweep.Fitness.data());
    }
}

// The four captions and the two sets "Hexa String" leaves, computed the plain way.
struct THexaReference {
    std::vector<std::int32_t> Pattern, Reference;
    std::string Cardinality, Subsethood, Hamming, Fitness;
};

const THexaReference& ReferenceHexa() {
    static const THexaReference hexa = [] {
        TVeskAgent agent(1, HexaSize, false);
        agent.LoadHex(Pattern32);
        TPlainSet pattern, reference;
        reference.MakeReference(HexaSize);
        PlainProject(agent, pattern);
        THexaReference r;
        r.Pattern = pattern.Values();
        r.Reference = reference.Values();
        r.Cardinality = FormatReal8_2(static_cast<float>(pattern.Cardinality()));
        r.Subsethood = FormatReal8_2(pattern.Subsethood(reference));
        r.Hamming = FormatReal8_2(static_cast<float>(pattern.HammingDistance(reference)));
        r.Fitness = FormatInteger(PlainFitness(pattern, reference), 10);
        return r;
    }();
    return hexa;
}

void HexaString(benchmark::State& state) {
    TWorkbenchSession session = SessionWith(Pattern32, HexaSize);
    const TCommandOutcome outcome = session.HexaString();
    const THexaReference& r = ReferenceHexa();
    const bool same = !outcome.Error && session.PatternSet.Degrees() == r.Pattern &&
                      session.ReferenceSet.Degrees() == r.Reference &&
                      session.CardinalityCaption == r.Cardinality &&
                      session.SubsethoodCaption == r.Subsethood &&
                      session.HammingCaption == r.Hamming && session.FitnessCaption == r.Fitness;
    if (!CheckSame(state, same, "the shown pattern")) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(session.HexaString());
}

BENCHMARK_CAPTURE(FitnessSweep, warm, false)
    ->Name("FitnessSweep/32x6600")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FitnessSweep, cold, true)
    ->Name("FitnessSweep/32x6600/first_time")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainFitnessSweepBenchmark)
    ->Name("Plain/FitnessSweep/32x6600")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(HexaString)->Name("HexaString/32x2048")->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vesk::bench
