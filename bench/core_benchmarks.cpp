// Benchmarks 1, 3 and 5: one projection of a 32-block pattern onto 5000 elements, batch scoring
// of 16-block patterns at 100 elements as "vesk score" does it (and through an agent a pattern),
// and both done the plain way.

#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "bench/plain_design.h"
#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/shape_runs.h"
#include "vesk/agent.h"
#include "vesk/pattern_scorer.h"

namespace vesk::bench {
namespace {

constexpr std::int32_t ProjectionSize = 5000, BatchSize = 100;

TVeskAgent AgentFor(const std::string& hex, std::int32_t elements) {
    TVeskAgent agent(1, elements, false);
    agent.LoadHex(hex);
    return agent;
}

const std::vector<std::int32_t>& ReferenceProjection() {
    static const std::vector<std::int32_t> degrees = [] {
        TPlainSet set;
        PlainProject(AgentFor(Pattern32, ProjectionSize), set);
        return set.Values();
    }();
    return degrees;
}

const std::vector<std::int32_t>& ReferenceScores() {
    static const std::vector<std::int32_t> scores = [] {
        TPlainSet reference;
        reference.MakeReference(BatchSize);
        std::vector<std::int32_t> out;
        for (const std::string& hex : BatchPatterns())
            out.push_back(PlainScore(hex, reference));
        return out;
    }();
    return scores;
}

void Project(benchmark::State& state) {
    const TVeskAgent agent = AgentFor(Pattern32, ProjectionSize);
    TFuzzySet set;
    agent.Project(set);
    if (!CheckSame(state, set.Degrees() == ReferenceProjection(), "the projection")) return;
    for (auto _ : state) {
        agent.Project(set);
        benchmark::DoNotOptimize(set.Degrees().data());
    }
}

void ProjectFirstTime(benchmark::State& state) {
    const TVeskAgent agent = AgentFor(Pattern32, ProjectionSize);
    TFuzzySet set;
    agent.Project(set);
    if (!CheckSame(state, set.Degrees() == ReferenceProjection(), "the projection")) return;
    for (auto _ : state) {
        state.PauseTiming();
        ShapeRuns().Clear();
        state.ResumeTiming();
        agent.Project(set);
        benchmark::DoNotOptimize(set.Degrees().data());
    }
}

void PlainProjectBenchmark(benchmark::State& state) {
    const TVeskAgent agent = AgentFor(Pattern32, ProjectionSize);
    TPlainSet set;
    PlainProject(agent, set);
    if (!CheckSame(state, set.Values() == ReferenceProjection(), "the projection")) return;
    for (auto _ : state) {
        PlainProject(agent, set);
        benchmark::DoNotOptimize(&set);
    }
}

// Each line as "vesk score" scores it: one scorer for the run, one reference, no agent.
void BatchScore(benchmark::State& state) {
    const auto& patterns = BatchPatterns();
    TPatternScorer scorer(BatchSize);
    std::vector<std::int32_t> scores;
    for (const std::string& hex : patterns)
        scores.push_back(scorer.Score(hex).value_or(-1));
    if (!CheckSame(state, scores == ReferenceScores(), "a score")) return;
    for (auto _ : state)
        for (const std::string& hex : patterns)
            benchmark::DoNotOptimize(scorer.Score(hex));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patterns.size()));
}

// The same through an agent a pattern, as the workbench's commands use them: a chromosome drawn
// and decoded, the text read, a fresh set projected and evaluated.
std::int32_t AgentScore(const std::string& hex, const TFuzzySet& reference) {
    TVeskAgent agent(1, reference.Count(), false);
    agent.LoadHex(hex);
    TFuzzySet pattern;
    agent.Project(pattern);
    agent.Evaluate(pattern, reference);
    agent.Release();
    return agent.Fitness;
}

void AgentBatchScore(benchmark::State& state) {
    const auto& patterns = BatchPatterns();
    TFuzzySet reference;
    reference.MakeReference(BatchSize);
    std::vector<std::int32_t> scores;
    for (const std::string& hex : patterns)
        scores.push_back(AgentScore(hex, reference));
    if (!CheckSame(state, scores == ReferenceScores(), "a score")) return;
    for (auto _ : state)
        for (const std::string& hex : patterns)
            benchmark::DoNotOptimize(AgentScore(hex, reference));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patterns.size()));
}

void PlainBatchScore(benchmark::State& state) {
    const auto& patterns = BatchPatterns();
    TPlainSet reference;
    reference.MakeReference(BatchSize);
    std::vector<std::int32_t> scores;
    for (const std::string& hex : patterns)
        scores.push_back(PlainScore(hex, reference));
    if (!CheckSame(state, scores == ReferenceScores(), "a score")) return;
    for (auto _ : state)
        for (const std::string& hex : patterns)
            benchmark::DoNotOptimize(PlainScore(hex, reference));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patterns.size()));
}

BENCHMARK(Project)->Name("Project/32x5000")->Unit(benchmark::kMicrosecond);
BENCHMARK(ProjectFirstTime)->Name("Project/32x5000/first_time")->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainProjectBenchmark)->Name("Plain/Project/32x5000")->Unit(benchmark::kMicrosecond);
BENCHMARK(BatchScore)->Name("BatchScore/10000x16x100")->Unit(benchmark::kMillisecond);
BENCHMARK(AgentBatchScore)->Name("BatchScore/10000x16x100/agent")->Unit(benchmark::kMillisecond);
BENCHMARK(PlainBatchScore)->Name("Plain/BatchScore/10000x16x100")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vesk::bench
