#include "search/pattern_search.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <map>
#include <random>
#include <stdexcept>

#include <pagmo/algorithm.hpp>
#include <pagmo/algorithms/gaco.hpp>
#include <pagmo/algorithms/ihs.hpp>
#include <pagmo/algorithms/nsga2.hpp>
#include <pagmo/algorithms/sga.hpp>
#include <pagmo/archipelago.hpp>
#include <pagmo/island.hpp>
#include <pagmo/islands/thread_island.hpp>
#include <pagmo/population.hpp>
#include <pagmo/problem.hpp>

#include "runtime/resource_errors.h"
#include "runtime/thread_team.h"
#include "search/annealing_schedule.h"
#include "search/field_annealing.h"
#include "search/island_driver.h"
#include "search/move_annealing.h"
#include "vesk/agent.h"

namespace vesk {

namespace {

using TClock = TSearchClock;

// What an island's algorithm is made from.
struct TRoundPlan {
    std::uint64_t RoundEvaluations;  // what an island spends a round
    std::uint64_t IslandEvaluations; // what an island spends in all
    std::size_t Population;
    double Elements; // the objective's scale: the target's elements, 1 for the sweep's mean
    unsigned Seed;
    double Seconds = 0; // the time limit, 0 for none
    TClock::time_point Started;
};

// The optimiser's parameters, named.
// Genetic algorithm: crossover and mutation rates, tournament size.
constexpr double SgaCrossover = 0.9, SgaMutation = 1.0 / 60;
constexpr unsigned SgaTournament = 2;
// Ant colony: kernel size, convergence speed, oracle, accuracy, threshold, std-dev
// reduction, impatience, evaluation stop.
constexpr unsigned GacoKernel = 63;
constexpr double GacoConvergence = 1.0, GacoOracle = 0., GacoAccuracy = 0.01;
constexpr unsigned GacoThreshold = 1, GacoReduction = 7, GacoImpatience = 100000,
                   GacoEvaluationStop = 100000;
constexpr double GacoFocus = 0.;
constexpr bool GacoMemory = true;
// Harmony search: memory considering and pitch-adjusting rates, bandwidths.
constexpr double IhsConsidering = 0.85, IhsPitchLow = 0.35, IhsPitchHigh = 0.99, IhsBandLow = 1e-5,
                 IhsBandHigh = 1.;
// NSGA-II: crossover and mutation rates and distribution indexes.
constexpr double Nsga2Crossover = 0.95, Nsga2CrossoverIndex = 10., Nsga2Mutation = 1.0 / 60,
                 Nsga2MutationIndex = 50.;

// An algorithm --algorithm can name, and the size of population it works on.
struct TAlgorithmRecipe {
    TAlgorithm Algorithm;
    const char* Name;
    std::size_t Population;
    pagmo::algorithm (*Make)(const TRoundPlan& plan);
};

unsigned Generations(const TRoundPlan& plan) {
    return static_cast<unsigned>(
        std::max<std::uint64_t>(1, plan.RoundEvaluations / plan.Population));
}

// Annealing heats in objective units an element, tuned on the reference of 100 with 16 blocks.
constexpr THeats FieldHeats{0.003, 0.00075, 0.00001};

pagmo::algorithm FieldAnnealing(const TRoundPlan& plan) {
    return pagmo::algorithm(
        TFieldAnnealing(plan.RoundEvaluations, plan.IslandEvaluations,
                        {FieldHeats.First * plan.Elements, FieldHeats.Restart * plan.Elements,
                         FieldHeats.Cold * plan.Elements},
                        plan.Seed, plan.Seconds, plan.Started));
}

const TAlgorithmRecipe Recipes[] = {
    // On the distance the default runs the move chains (MoveChains); this serves the sweep.
    {TAlgorithm::Annealing, "annealing", 8, FieldAnnealing},
    {TAlgorithm::Fields, "fields", 8, FieldAnnealing},
    // The optimiser's genetic algorithm: tournaments of two, uniform crossover of genes, one
    // gene in sixty redrawn in its range, the best of parents and children kept.
    {TAlgorithm::Sga, "sga", 100,
     [](const TRoundPlan& plan) {
         return pagmo::algorithm(pagmo::sga(Generations(plan), SgaCrossover, 1., SgaMutation, 1.,
                                            SgaTournament, "binomial", "uniform", "tournament",
                                            plan.Seed));
     }},
    {TAlgorithm::Gaco, "gaco", 100,
     [](const TRoundPlan& plan) {
         return pagmo::algorithm(pagmo::gaco(Generations(plan), GacoKernel, GacoConvergence,
                                             GacoOracle, GacoAccuracy, GacoThreshold, GacoReduction,
                                             GacoImpatience, GacoEvaluationStop, GacoFocus,
                                             GacoMemory, plan.Seed));
     }},
    // Harmony search makes one new harmony a generation.
    {TAlgorithm::Ihs, "ihs", 64,
     [](const TRoundPlan& plan) {
         return pagmo::algorithm(pagmo::ihs(static_cast<unsigned>(plan.RoundEvaluations),
                                            IhsConsidering, IhsPitchLow, IhsPitchHigh, IhsBandLow,
                                            IhsBandHigh, plan.Seed));
     }},
    {TAlgorithm::Nsga2, "nsga2", 100,
     [](const TRoundPlan& plan) {
         return pagmo::algorithm(pagmo::nsga2(Generations(plan), Nsga2Crossover,
                                              Nsga2CrossoverIndex, Nsga2Mutation,
                                              Nsga2MutationIndex, plan.Seed));
     }},
};

const TAlgorithmRecipe& RecipeOf(TAlgorithm algorithm) {
    for (const TAlgorithmRecipe& recipe : Recipes)
        if (recipe.Algorithm == algorithm) return recipe;
    throw std::invalid_argument("unknown algorithm");
}

// Evaluations an island spends a round: small enough to stop promptly and to migrate often,
// large enough to keep the islands' threads busy.
std::uint64_t RoundEvaluations(const TSearchSettings& settings, int islands) {
    if (settings.RoundEvaluations > 0) return settings.RoundEvaluations;
    const std::uint64_t share = settings.Evaluations / static_cast<std::uint64_t>(islands);
    return std::clamp<std::uint64_t>(share / 20, 2000, 20000);
}

// The best individual of every island: (objective, genes), in island order.
std::vector<std::pair<double, pagmo::vector_double>>
Champions(const pagmo::archipelago& archipelago) {
    std::vector<std::pair<double, pagmo::vector_double>> out;
    for (const pagmo::island& island : archipelago) {
        const pagmo::population population = island.get_population();
        const auto best =
            population.get_problem().get_nobj() == 1
                ? population.best_idx()
                : static_cast<std::size_t>(
                      std::min_element(population.get_f().begin(), population.get_f().end()) -
                      population.get_f().begin());
        out.emplace_back(population.get_f()[best][0], population.get_x()[best]);
    }
    return out;
}

// Every island evolves once, all at the same time, and every island has ended its evolution when
// this returns, whatever happened. An island that raises TSearchStopped keeps its population from
// before the round. Any other failure (an island that runs out of memory, an evolution that
// cannot be started) gives the round up: ending tells the other islands to stop at their next
// evaluation, and the first failure is raised once none runs. ThreadSanitizer cannot see the
// ordering the islands' own threads give (the optimiser's library is not built for it), so its
// builds run the same evolutions, each island's algorithm on its population, on a thread team it
// can see.
void EvolveRound(pagmo::archipelago& archipelago, std::atomic<bool>& ending,
                 [[maybe_unused]] TThreadTeam& team) {
    std::exception_ptr failure;
    const auto fail = [&] {
        if (!failure) failure = std::current_exception();
        ending = true;
    };
#if !defined(__SANITIZE_THREAD__)
    // The islands are started and waited for one by one: the archipelago's own wait would keep
    // only its first exception, a stop, and drop a failure behind it.
    try {
        archipelago.evolve(1);
    } catch (...) {
        fail();
    }
    for (pagmo::island& island : archipelago) {
        try {
            island.wait_check();
        } catch (const TSearchStopped&) {
        } catch (...) {
            fail();
        }
    }
#else
    try {
        team.ForRanges(archipelago.size(), 1, [&](int, std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i != end; ++i) {
                pagmo::island& island = archipelago[i];
                pagmo::algorithm algorithm = island.get_algorithm();
                try {
                    const pagmo::population evolved = algorithm.evolve(island.get_population());
                    island.set_algorithm(algorithm);
                    island.set_population(evolved);
                } catch (const TSearchStopped&) {
                }
            }
        });
    } catch (...) {
        fail();
    }
#endif
    if (failure) std::rethrow_exception(failure);
}

// The ring migration: island i takes the champion of island i - 1 in place of its worst.
void Migrate(pagmo::archipelago& archipelago) {
    if (archipelago.size() < 2) return;
    const auto champions = Champions(archipelago);
    for (std::size_t i = 0; i < archipelago.size(); ++i) {
        const auto& [objective, genes] =
            champions[(i + archipelago.size() - 1) % archipelago.size()];
        pagmo::population population = archipelago[i].get_population();
        if (population.get_problem().get_nobj() != 1) continue; // NSGA-II keeps its own fronts
        const auto worst = population.worst_idx();
        if (population.get_f()[worst][0] <= objective) continue;
        population.set_xf(worst, genes, {objective});
        archipelago[i].set_population(population);
    }
}

// The best pattern of each block count over every island, dominated ones left out.
std::vector<TFrontPoint> FrontOf(const pagmo::archipelago& archipelago,
                                 const TPatternProblem& problem) {
    std::map<std::size_t, TFrontPoint> best;
    for (const pagmo::island& island : archipelago) {
        const pagmo::population population = island.get_population();
        for (std::size_t k = 0; k < population.size(); ++k) {
            TBlockList pattern = problem.Pattern(population.get_x()[k]);
            const double distance = population.get_f()[k][0];
            const std::size_t blocks = pattern.size();
            auto found = best.find(blocks);
            if (found == best.end() || distance < found->second.Distance)
                best[blocks] = {std::move(pattern), distance};
        }
    }
    std::vector<TFrontPoint> front;
    for (auto& [blocks, point] : best)
        if (front.empty() || point.Distance < front.back().Distance) front.push_back(point);
    return front;
}

// The optimiser's islands, one algorithm each, in the one loop of the search.
class TArchipelago final : public TIslandEngine {
public:
    TArchipelago(const TSearchSettings& settings, const TAlgorithmRecipe& recipe, int islands,
                 TSearchLimits& limits, TClock::time_point started);

    void Round() override { EvolveRound(FArchipelago, FLimits.Ending, FTeam); }
    void BetweenRounds() override { Migrate(FArchipelago); }
    std::uint64_t Spent() const override { return FControl.Spent(); }
    bool Exhausted() const override { return FControl.AllowancesSpent(); }
    std::optional<std::pair<double, TBlockList>> Best() override {
        if (const auto best = FControl.Best())
            return std::make_pair(best->first, FProblem.Pattern(best->second));
        return std::nullopt;
    }
    void Finish(TSearchResult& result) override {
        if (FSettings.Pareto) result.Front = FrontOf(FArchipelago, FProblem);
    }

private:
    static TFieldCodes CodesOf(const TSearchSettings& settings) {
        TFieldCodes codes;
        codes[ShapeField] = settings.Shapes;
        codes[OpField] = settings.Operators;
        return codes;
    }

    const TSearchSettings& FSettings;
    TSearchLimits& FLimits;
    TSearchControl FControl;
    TPatternProblem FProblem;
    pagmo::archipelago FArchipelago;
    TThreadTeam FTeam;
};

TArchipelago::TArchipelago(const TSearchSettings& settings, const TAlgorithmRecipe& recipe,
                           int islands, TSearchLimits& limits, TClock::time_point started)
    : FSettings(settings), FLimits(limits), FControl(static_cast<std::size_t>(islands), limits.Stop,
                                                     &limits.Ending, &limits.Improvements),
      FProblem(settings.Target, settings.Blocks, settings.Objective, settings.Pareto, &FControl, 0,
               CodesOf(settings)),
      FTeam(islands) {
    const auto count = static_cast<std::size_t>(islands);
    const std::uint64_t roundEvaluations = RoundEvaluations(settings, islands);
    // Every seed is drawn from one generator seeded by the settings' seed.
    std::mt19937 seeds(settings.Seed);
    const double elements = settings.Objective == TObjective::Sweep ? 1.0 : settings.Target.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned algorithmSeed = seeds(), populationSeed = seeds();
        // The budget shared out: the first islands take one evaluation more of what is left.
        const std::uint64_t share =
            settings.Evaluations / count + (i < settings.Evaluations % count ? 1 : 0);
        FControl.SetAllowance(i, recipe.Population + share);
        const TRoundPlan plan{roundEvaluations, share,         recipe.Population,
                              elements,         algorithmSeed, settings.Seconds.value_or(0),
                              started};
        pagmo::population population(FProblem.ForIsland(i), recipe.Population, populationSeed);
        if (settings.Start) {
            pagmo::vector_double genes =
                GenesOfBlocks(*settings.Start, settings.Blocks, FProblem.Codes());
            if (settings.Pareto) genes.push_back(static_cast<double>(settings.Start->size()));
            population.set_x(0, genes);
        }
        // Each island starts a thread of its own, which the system may refuse, and evolves on
        // it: the optimiser's shared pool would run the evolution where running out of memory
        // ends the process instead of reaching the island's wait.
        StartingThreads(islands, [&] {
            FArchipelago.push_back(pagmo::thread_island(false), recipe.Make(plan),
                                   std::move(population));
        });
    }
    FControl.Arm();
}

} // namespace

TSearchSettings::TSearchSettings() {
    Target.MakeReference(100);
}

const std::vector<TAlgorithm>& SearchAlgorithms() {
    static const std::vector<TAlgorithm> all = [] {
        std::vector<TAlgorithm> out;
        for (const TAlgorithmRecipe& recipe : Recipes)
            out.push_back(recipe.Algorithm);
        return out;
    }();
    return all;
}

const char* AlgorithmName(TAlgorithm algorithm) {
    return RecipeOf(algorithm).Name;
}

std::optional<TAlgorithm> AlgorithmOfName(std::string_view name) {
    for (TAlgorithm algorithm : SearchAlgorithms())
        if (name == AlgorithmName(algorithm)) return algorithm;
    return std::nullopt;
}

std::vector<std::string> AlgorithmNames() {
    std::vector<std::string> names;
    for (TAlgorithm algorithm : SearchAlgorithms())
        names.push_back(AlgorithmName(algorithm));
    return names;
}

// Every objective, in the order --help lists them.
constexpr TObjective AllObjectives[] = {TObjective::Distance, TObjective::Sweep};

const char* ObjectiveWord(TObjective objective) {
    return objective == TObjective::Sweep ? "sweep" : "distance";
}

std::optional<TObjective> ObjectiveOfWord(std::string_view word) {
    for (TObjective objective : AllObjectives)
        if (word == ObjectiveWord(objective)) return objective;
    return std::nullopt;
}

std::vector<std::string> ObjectiveWords() {
    std::vector<std::string> words;
    for (TObjective objective : AllObjectives)
        words.push_back(ObjectiveWord(objective));
    return words;
}

const char* SearchEndName(TSearchEnd end) {
    switch (end) {
    case TSearchEnd::Evaluations:
        return "evaluations";
    case TSearchEnd::Seconds:
        return "seconds";
    case TSearchEnd::Distance:
        return "distance";
    case TSearchEnd::Interrupted:
        return "interrupted";
    case TSearchEnd::Failed:
        return "failed";
    }
    return "failed";
}

std::optional<double> SearchShare(const TSearchSettings& settings,
                                  const TSearchProgress& progress) {
    std::optional<double> share;
    if (settings.Evaluations < MaxEvaluations)
        share = static_cast<double>(progress.Evaluations) /
                static_cast<double>(std::max<std::uint64_t>(settings.Evaluations, 1));
    if (settings.Seconds) share = std::max(share.value_or(0), progress.Seconds / *settings.Seconds);
    if (share) share = std::min(*share, 1.0);
    return share;
}

double MeanDistanceOfObjective(double objective, TObjective kind, std::int32_t elements) {
    return kind == TObjective::Sweep ? objective : MeanDistanceOf(objective, elements);
}

std::string SearchSettingsProblem(const TSearchSettings& settings) {
    const TAlgorithm algorithm = settings.Algorithm ? *settings.Algorithm
                                 : settings.Pareto  ? ParetoAlgorithm
                                                    : DefaultAlgorithm;
    if (settings.Pareto != (algorithm == ParetoAlgorithm))
        return settings.Pareto ? "the Pareto search runs on nsga2"
                               : "nsga2 serves the Pareto search only";
    if (settings.Target.Count() < 1) return "the target has no elements";
    if (settings.Islands < 0 || settings.Islands > MaxIslands)
        return "at most " + std::to_string(MaxIslands) + " islands";
    if (settings.Seconds && !(*settings.Seconds > 0 && *settings.Seconds <= MaxSeconds))
        return "the time limit must be above 0 and at most 1e9 seconds";
    if (settings.Start && (settings.Start->empty() || settings.Start->size() > MaxBlocks))
        return "a start pattern has 1 to 32 blocks";
    const auto allowed = [](const std::vector<std::int32_t>& codes, std::int32_t code) {
        return codes.empty() || std::binary_search(codes.begin(), codes.end(), code);
    };
    if (settings.Start)
        for (std::size_t k = 0; k < settings.Start->size(); ++k) {
            const TFuzzyBlock& B = (*settings.Start)[k];
            const std::string block = "the start pattern's block " + std::to_string(k + 1);
            if (!allowed(settings.Shapes, B.Shape))
                return block + " has shape " + std::to_string(B.Shape) +
                       ", which the allowed shapes leave out";
            if (!allowed(settings.Operators, B.Op))
                return block + " has operator " + std::to_string(B.Op) +
                       ", which the allowed operators leave out";
        }
    return "";
}

TSearchResult RunSearch(const TSearchSettings& settings, const TSearchObserver& observer,
                        const std::atomic<bool>* stop) {
    const auto started = TClock::now();
    TSearchResult result;
    result.Algorithm = settings.Algorithm ? *settings.Algorithm
                       : settings.Pareto  ? ParetoAlgorithm
                                          : DefaultAlgorithm;
    const TAlgorithmRecipe& recipe = RecipeOf(result.Algorithm);
    if (const std::string problem = SearchSettingsProblem(settings); !problem.empty())
        throw std::invalid_argument(problem);
    result.Islands = settings.Islands > 0 ? settings.Islands : HardwareThreads();
    TSearchLimits limits;
    limits.Stop = stop;
    // The default search on the distance runs its own chains on incremental evaluation.
    const std::unique_ptr<TIslandEngine> engine =
        result.Algorithm == TAlgorithm::Annealing && settings.Objective == TObjective::Distance
            ? MoveChains(settings, result.Islands, limits, started)
            : std::make_unique<TArchipelago>(settings, recipe, result.Islands, limits, started);
    DriveIslands(*engine, settings, limits, started, observer, result);
    return result;
}

} // namespace vesk
