#include "search/pattern_problem.h"

#include <algorithm>
#include <cmath>

#include "runtime/extended.h"
#include "vesk/agent.h"
#include "vesk/pattern_scorer.h"

namespace vesk {

namespace {

std::int32_t Gene(double value, std::int32_t highest) {
    return std::clamp(static_cast<std::int32_t>(std::lround(value)), 0, highest);
}

// The largest gene of field k: its highest value, or its list's last place.
std::int32_t GeneHighest(const TFieldCodes& codes, std::int32_t k) {
    const auto& list = codes[static_cast<std::size_t>(k)];
    return list.empty() ? FieldHighest(k) : static_cast<std::int32_t>(list.size()) - 1;
}

TFuzzySet ReferenceOf(std::int32_t n) {
    TFuzzySet set;
    set.MakeReference(n);
    return set;
}

} // namespace

std::array<std::int32_t, std::size(SweepSizes)> SweepFitness(std::span<const TFuzzyBlock> blocks) {
    std::array<std::int32_t, std::size(SweepSizes)> fitness{};
    for (std::size_t k = 0; k < fitness.size(); ++k)
        fitness[k] = TPatternScorer(SweepSizes[k]).ScoreBlocks(blocks).Fitness;
    return fitness;
}

TBlockList BlocksOfGenes(const pagmo::vector_double& genes, std::int32_t blocks, std::int32_t used,
                         const TFieldCodes& codes) {
    const std::int32_t count = used > 0 ? std::min(used, blocks) : blocks;
    TBlockList pattern(static_cast<std::size_t>(count));
    for (std::int32_t b = 0; b < count; ++b) {
        const double* g = genes.data() + b * GenesPerBlock;
        for (std::int32_t k = 0; k < GenesPerBlock; ++k) {
            const auto& list = codes[static_cast<std::size_t>(k)];
            const std::int32_t gene = Gene(g[k], GeneHighest(codes, k));
            FieldOf(pattern[static_cast<std::size_t>(b)], k) =
                list.empty() ? gene : list[static_cast<std::size_t>(gene)];
        }
    }
    return pattern;
}

pagmo::vector_double GenesOfBlocks(const TBlockList& pattern, std::int32_t blocks,
                                   const TFieldCodes& codes) {
    pagmo::vector_double genes(static_cast<std::size_t>(blocks * GenesPerBlock), 0.0);
    for (std::size_t b = 0; b < pattern.size() && b < static_cast<std::size_t>(blocks); ++b)
        for (std::int32_t k = 0; k < GenesPerBlock; ++k) {
            const auto& list = codes[static_cast<std::size_t>(k)];
            const std::int32_t field = FieldOf(pattern[b], k);
            genes[b * GenesPerBlock + static_cast<std::size_t>(k)] =
                list.empty()
                    ? field
                    : static_cast<double>(std::lower_bound(list.begin(), list.end(), field) -
                                          list.begin());
        }
    return genes;
}

TSearchControl::TSearchControl(std::size_t islands, const std::atomic<bool>* stop,
                               const std::atomic<bool>* ending, TImprovementLog* improvements)
    : FStop(stop), FEnding(ending), FImprovements(improvements) {
    for (std::size_t i = 0; i < islands; ++i)
        FIslands.push_back(std::make_unique<TIsland>());
}

void TSearchControl::SetAllowance(std::size_t island, std::uint64_t evaluations) {
    FIslands[island]->Allowance = evaluations;
}

void TSearchControl::Count(std::size_t island) const {
    TIsland& account = *FIslands[island];
    const std::uint64_t spent = account.Spent.load(std::memory_order_relaxed);
    if (FArmed.load(std::memory_order_acquire)) {
        if (spent >= account.Allowance || StopRequested() ||
            (FEnding != nullptr && FEnding->load(std::memory_order_relaxed)))
            throw TSearchStopped();
    }
    account.Spent.store(spent + 1, std::memory_order_relaxed);
}

void TSearchControl::Note(std::size_t island, double objective,
                          const pagmo::vector_double& genes) const {
    TIsland& account = *FIslands[island];
    if (account.HasBest && !(objective < account.Best)) return;
    {
        const std::lock_guard<std::mutex> lock(account.Lock);
        account.Best = objective;
        account.HasBest = true;
        account.BestGenes = genes;
    }
    if (FImprovements != nullptr) FImprovements->Note(objective, [this] { return Spent(); });
}

std::uint64_t TSearchControl::Spent() const {
    std::uint64_t total = 0;
    for (const auto& account : FIslands)
        total += account->Spent.load(std::memory_order_relaxed);
    return total;
}

bool TSearchControl::AllowancesSpent() const {
    for (const auto& account : FIslands)
        if (account->Spent.load(std::memory_order_relaxed) < account->Allowance) return false;
    return true;
}

std::optional<std::pair<double, pagmo::vector_double>> TSearchControl::Best() const {
    std::optional<std::pair<double, pagmo::vector_double>> best;
    for (const auto& account : FIslands) {
        const std::lock_guard<std::mutex> lock(account->Lock);
        if (account->HasBest && (!best || account->Best < best->first))
            best.emplace(account->Best, account->BestGenes);
    }
    return best;
}

struct TPatternProblem::TTables {
    std::vector<std::shared_ptr<const TScoringTables>> All; // the target's, or a sweep size's
    TFieldCodes Codes;
};

struct TPatternProblem::TScorers {
    std::vector<TPatternScorer> All; // on the tables, in their order
};

namespace {

std::shared_ptr<const TScoringTables> TargetTables(const TFuzzySet& target) {
    return std::make_shared<const TScoringTables>(target.Count() > 0 ? target : ReferenceOf(100));
}

} // namespace

TPatternProblem::TPatternProblem(const TFuzzySet& target, std::int32_t blocks, TObjective objective,
                                 bool pareto, const TSearchControl* control, std::size_t island,
                                 const TFieldCodes& codes)
    : FBlocks(std::clamp(blocks, 1, MaxBlocks)), FObjective(objective), FPareto(pareto),
      FControl(control), FIsland(island) {
    auto tables = std::make_shared<TTables>();
    if (objective == TObjective::Sweep)
        for (std::int32_t n : SweepSizes)
            tables->All.push_back(ReferenceTables(n));
    else
        tables->All.push_back(TargetTables(target));
    tables->Codes = codes;
    FTables = std::move(tables);
}

TPatternProblem::TPatternProblem(const TPatternProblem& other)
    : FTables(other.FTables), FBlocks(other.FBlocks), FObjective(other.FObjective),
      FPareto(other.FPareto), FControl(other.FControl), FIsland(other.FIsland) {}

TPatternProblem& TPatternProblem::operator=(const TPatternProblem& other) {
    if (this != &other) {
        FTables = other.FTables;
        FBlocks = other.FBlocks;
        FObjective = other.FObjective;
        FPareto = other.FPareto;
        FControl = other.FControl;
        FIsland = other.FIsland;
        FScorers.reset();
    }
    return *this;
}

TPatternProblem::TPatternProblem() : TPatternProblem(TFuzzySet(), 1, TObjective::Distance, false) {}
TPatternProblem::TPatternProblem(TPatternProblem&&) noexcept = default;
TPatternProblem& TPatternProblem::operator=(TPatternProblem&&) noexcept = default;
TPatternProblem::~TPatternProblem() = default;

TPatternProblem TPatternProblem::ForIsland(std::size_t island) const {
    TPatternProblem copy(*this);
    copy.FIsland = island;
    return copy;
}

TPatternProblem::TScorers& TPatternProblem::Scorers() const {
    if (!FScorers) {
        FScorers = std::make_unique<TScorers>();
        for (const auto& tables : FTables->All)
            FScorers->All.emplace_back(tables);
    }
    return *FScorers;
}

TBlockList TPatternProblem::Pattern(const pagmo::vector_double& genes) const {
    const std::int32_t used =
        FPareto ? Gene(genes[static_cast<std::size_t>(FBlocks * GenesPerBlock)], FBlocks) : 0;
    return BlocksOfGenes(genes, FBlocks, std::max(used, FPareto ? 1 : 0), FTables->Codes);
}

const TFieldCodes& TPatternProblem::Codes() const {
    return FTables->Codes;
}

double TPatternProblem::Objective(const TBlockList& pattern) const {
    TScorers& scorers = Scorers();
    if (FObjective == TObjective::Distance) return scorers.All[0].ScoreBlocks(pattern).Distance;
    // The mean of the four means, summed and divided in extended precision.
    TReal sum = 0;
    for (TPatternScorer& scorer : scorers.All)
        sum += MeanDistanceOf(scorer.ScoreBlocks(pattern).Distance, scorer.ElementCount());
    return static_cast<double>(sum / 4);
}

double TPatternProblem::Evaluate(const pagmo::vector_double& genes,
                                 const TBlockList& pattern) const {
    if (FControl != nullptr) FControl->Count(FIsland);
    const double objective = Objective(pattern);
    if (FControl != nullptr) FControl->Note(FIsland, objective, genes);
    return objective;
}

pagmo::vector_double TPatternProblem::fitness(const pagmo::vector_double& genes) const {
    const TBlockList pattern = Pattern(genes);
    const double objective = Evaluate(genes, pattern);
    if (!FPareto) return {objective};
    return {objective, static_cast<double>(pattern.size())};
}

std::pair<pagmo::vector_double, pagmo::vector_double> TPatternProblem::get_bounds() const {
    pagmo::vector_double low(get_nix(), 0.0), high(get_nix(), 0.0);
    for (std::int32_t b = 0; b < FBlocks; ++b)
        for (std::int32_t k = 0; k < GenesPerBlock; ++k)
            high[static_cast<std::size_t>(b * GenesPerBlock + k)] = GeneHighest(FTables->Codes, k);
    if (FPareto) {
        low.back() = 1;
        high.back() = std::max(FBlocks, 2); // the optimiser wants low < high
    }
    return {low, high};
}

pagmo::vector_double::size_type TPatternProblem::get_nix() const {
    return static_cast<std::size_t>(FBlocks * GenesPerBlock + (FPareto ? 1 : 0));
}

} // namespace vesk
