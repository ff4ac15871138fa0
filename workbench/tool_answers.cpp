#include "workbench/tool_answers.h"

#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/shapes.h"
#include "vesk/agent.h"
#include "vesk/hex_text.h"
#include "vesk/pattern_scorer.h"

namespace vesk {

const char* FieldCodeName(const TFuzzyBlock& B, std::int32_t k) {
    if (k == ShapeField) return ShapeNames[static_cast<std::size_t>(B.Shape)];
    if (k == OpField) return kernels::OperatorNames[static_cast<std::size_t>(B.Op)];
    return nullptr;
}

TJson EvolveAnswer(const TSearchSettings& settings, const TSearchResult& result,
                   const std::string& targetName) {
    const std::int32_t n = settings.Target.Count();
    const bool ownTarget = !targetName.empty();
    TPatternScorer scorer(settings.Target);
    const TPatternScore score = scorer.ScoreBlocks(result.Pattern);
    TJson out;
    out["hex"] = PatternHex(result.Pattern);
    out["blocks"] = result.Pattern.size();
    out["elements"] = n;
    out["target"] = ownTarget ? targetName : "reference";
    out["objective"] = ObjectiveWord(settings.Objective);
    out["distance"] = score.Distance;
    out["mean_distance"] = MeanDistanceOf(score.Distance, n);
    out["fitness"] = score.Fitness;
    if (ownTarget) {
        out["sweep"] = nullptr;
    } else {
        out["sweep"] = SweepFitness(result.Pattern);
    }
    if (settings.Objective == TObjective::Sweep) out["sweep_mean_distance"] = result.Best;
    out["evaluations"] = result.Evaluations;
    out["seconds"] = result.Seconds;
    out["evaluations_per_second"] = result.Seconds > 0 ? result.Evaluations / result.Seconds : 0.0;
    out["algorithm"] = AlgorithmName(result.Algorithm);
    out["islands"] = result.Islands;
    out["seed"] = settings.Seed;
    out["stopped"] = SearchEndName(result.Stopped);
    if (settings.Pareto) {
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

TJson ProgressAnswer(const TSearchProgress& p, TObjective objective, std::int32_t elements) {
    TJson line;
    line["evaluations"] = p.Evaluations;
    line["best"] = p.Best;
    line["mean_distance"] = MeanDistanceOfObjective(p.Best, objective, elements);
    line["hex"] = PatternHex(p.Pattern);
    line["seconds"] = p.Seconds;
    line["evaluations_per_second"] = p.EvaluationsPerSecond;
    return line;
}

TJson BlockAnswer(const TBlockDescription& d) {
    const TFuzzyBlock& B = d.Block;
    TJson line;
    line["index"] = d.Index;
    line["digits"] = d.Digits;
    for (std::int32_t k = 0; k < FieldsPerBlock; ++k) {
        const char* field = BlockFields[static_cast<std::size_t>(k)].Name;
        line[field] = FieldOf(B, k);
        if (const char* name = FieldCodeName(B, k)) line[std::string(field) + "_name"] = name;
    }
    line["first"] = d.Dropped ? TJson(nullptr) : TJson(d.First);
    line["last"] = d.Dropped ? TJson(nullptr) : TJson(d.Last);
    line["zeroed"] = d.Zeroed;
    line["dropped"] = d.Dropped;
    return line;
}

} // namespace vesk
