#include "search/move_annealing.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "runtime/thread_team.h"
#include "vesk/agent.h"
#include "vesk/incremental_pattern.h"

namespace vesk {

namespace {

using TClock = TSearchClock;

// The heat of the first cycle and the cold every cycle ends at, in units of the integer
// distance an element; each cycle after the first starts at Reheat times the one before.
#include <cstdlib>
static double Env(const char* n, double d) { const char* v = std::getenv(n); return v ? std::atof(v) : d; }
static const double HotPerElement = Env("T_HOT", 0.25), ColdPerElement = Env("T_COLD", 0.0004), Reheat = Env("T_REHEAT", 0.5);
static const int Cycles = static_cast<int>(Env("T_CYCLES", 6));
// Moves between looks at the clock and the stop.
constexpr std::uint64_t LookEvery = 64;

// The codes a field may take: the allowed list, or every value of its range.
std::vector<std::int32_t> Codes(const std::vector<std::int32_t>& allowed, std::int32_t highest) {
    if (!allowed.empty()) return allowed;
    std::vector<std::int32_t> all;
    for (std::int32_t v = 0; v <= highest; ++v)
        all.push_back(v);
    return all;
}

// One island: its chain, its generator, its best and its account.
struct TIsland {
    TIsland(std::shared_ptr<const TScoringTables> tables, const TBlockList& start,
            std::uint64_t seed)
        : State(std::move(tables), start), Random(seed), Best(start), BestSum(State.Sum()) {}

    TIncrementalPattern State;
    std::mt19937_64 Random;
    TBlockList Best;
    std::int64_t BestSum;
    std::uint64_t Spent = 1; // the start's projection
    std::uint64_t Allowance = 1;
    int Cycle = 0;
    bool Ended = false;
};

// What every island's chain shares: the fields' codes, the schedule and the limits.
class TChain {
public:
    TChain(const TSearchSettings& settings, TClock::time_point started,
           const std::atomic<bool>* stop, std::int32_t elements)
        : FShapes(Codes(settings.Shapes, FieldHighest[0])),
          FOperators(Codes(settings.Operators, FieldHighest[4])), FStop(stop), FStarted(started),
          FSeconds(settings.Seconds.value_or(0)), FHot(HotPerElement * elements),
          FCold(ColdPerElement * elements) {}

    TFuzzyBlock RandomBlock(std::mt19937_64& random) const {
        return {Pick(FShapes, random), Below(16, random), Below(8, random), Below(8, random),
                Pick(FOperators, random)};
    }

    // Walks the island's chain for at most moves moves.
    void Walk(TIsland& island, std::uint64_t moves) const;

private:
    static std::int32_t Below(std::int32_t n, std::mt19937_64& random) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint64_t>(n));
    }
    static std::int32_t Pick(const std::vector<std::int32_t>& codes, std::mt19937_64& random) {
        return codes[random() % codes.size()];
    }
    // The block with one field given another value it may take.
    TFuzzyBlock Changed(TFuzzyBlock B, std::mt19937_64& random) const;
    // How far through its budget the island is, 0..1, by evaluations or by time.
    double Progress(const TIsland& island, double seconds) const {
        double p = static_cast<double>(island.Spent) / static_cast<double>(island.Allowance);
        if (FSeconds > 0) p = std::max(p, seconds / FSeconds);
        return std::min(p, 1.0);
    }

    std::vector<std::int32_t> FShapes, FOperators;
    const std::atomic<bool>* FStop;
    TClock::time_point FStarted;
    double FSeconds;
    double FHot, FCold;
};

TFuzzyBlock TChain::Changed(TFuzzyBlock B, std::mt19937_64& random) const {
    for (;;) {
        const TFuzzyBlock before = B;
        switch (random() % FieldsPerBlock) {
        case 0: B.Shape = Pick(FShapes, random); break;
        case 1: // a neighbouring cell half the time: a block sliding into place
            B.Centre = random() % 2 ? Below(16, random)
                                    : std::clamp(B.Centre + (random() % 2 ? 1 : -1), 0, 15);
            break;
        case 2:
            B.Spread = random() % 2 ? Below(8, random)
                                    : std::clamp(B.Spread + (random() % 2 ? 1 : -1), 0, 7);
            break;
        case 3: B.Repeats = Below(8, random); break;
        default: B.Op = Pick(FOperators, random); break;
        }
        if (!(B == before)) return B;
    }
}

void TChain::Walk(TIsland& island, std::uint64_t moves) const {
    TIncrementalPattern& state = island.State;
    std::mt19937_64& random = island.Random;
    const std::size_t blocks = state.Blocks().size();
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    double seconds = std::chrono::duration<double>(TClock::now() - FStarted).count();
    double temperature = FHot;
    for (std::uint64_t move = 0; move < moves; ++move) {
        if (island.Spent >= island.Allowance) {
            island.Ended = true;
            return;
        }
        if (move % LookEvery == 0) {
            if (FStop != nullptr && FStop->load(std::memory_order_relaxed)) return;
            seconds = std::chrono::duration<double>(TClock::now() - FStarted).count();
            if (FSeconds > 0 && seconds >= FSeconds) {
                island.Ended = true;
                return;
            }
            const double p = Progress(island, seconds);
            const int cycle = std::min(Cycles - 1, static_cast<int>(p * Cycles));
            if (cycle != island.Cycle) { // a new cycle starts again from the best
                island.Cycle = cycle;
                state.Reset(island.Best);
                ++island.Spent;
            }
            const double hot = FHot * std::pow(Reheat, cycle);
            const double within = p * Cycles - cycle;
            temperature = hot * std::pow(FCold / hot, std::min(within, 1.0));
        }
        std::int64_t tried = 0;
        const std::uint64_t kind = random() % 20;
        const std::size_t at = random() % blocks;
        if (kind < 13 || blocks == 1) {
            tried = state.TryReplace(at, Changed(state.Blocks()[at], random));
        } else if (kind < 15) {
            tried = state.TryReplace(at, RandomBlock(random));
        } else if (kind < 18) {
            const std::size_t next = at + 1 < blocks ? at + 1 : at - 1;
            tried = state.TryMove(at, next);
        } else {
            tried = state.TryMove(at, random() % blocks);
        }
        ++island.Spent;
        const std::int64_t delta = tried - state.Sum();
        if (delta <= 0 || chance(random) < std::exp(-static_cast<double>(delta) / temperature)) {
            state.Accept();
            if (tried < island.BestSum) {
                island.BestSum = tried;
                island.Best = state.Blocks();
            }
        }
    }
}

} // namespace

TSearchResult RunMoveAnnealing(const TSearchSettings& settings, const TSearchObserver& observer,
                               const std::atomic<bool>* stop) {
    const auto started = TClock::now();
    TSearchResult result;
    result.Algorithm = TAlgorithm::Annealing;
    result.Islands = settings.Islands > 0 ? settings.Islands : HardwareThreads();
    const auto islandCount = static_cast<std::size_t>(result.Islands);
    const std::int32_t elements = settings.Target.Count();
    const auto tables = std::make_shared<const TScoringTables>(settings.Target);
    const TChain chain(settings, started, stop, elements);

    // Every island's seed and start come from one generator seeded by the settings' seed.
    std::mt19937_64 seeds(settings.Seed);
    std::vector<std::unique_ptr<TIsland>> islands;
    for (std::size_t i = 0; i < islandCount; ++i) {
        const std::uint64_t seed = seeds();
        std::mt19937_64 draw(seeds());
        TBlockList start = settings.Start.value_or(TBlockList{});
        if (!settings.Start) {
            start.resize(static_cast<std::size_t>(std::clamp(settings.Blocks, 1, MaxBlocks)));
            for (TFuzzyBlock& B : start)
                B = chain.RandomBlock(draw);
        }
        islands.push_back(std::make_unique<TIsland>(tables, start, seed));
        islands.back()->Allowance = 1 + settings.Evaluations / islandCount +
                                    (i < settings.Evaluations % islandCount ? 1 : 0);
    }
    // Moves an island makes a round: fewer on large universes, whose moves cost more, so that
    // progress and migrations still come several times a second.
    const std::uint64_t roundMoves =
        settings.RoundEvaluations > 0
            ? settings.RoundEvaluations
            : std::clamp<std::uint64_t>(4'000'000 / static_cast<std::uint64_t>(elements), 64,
                                        40'000);

    TPatternScorer scorer(tables);
    TThreadTeam team(result.Islands);
    std::int64_t shownSum = -1;
    for (;;) {
        // The best so far, exactly scored when it changes.
        const TIsland* best = islands.front().get();
        std::uint64_t spent = 0;
        bool ended = true;
        for (const auto& island : islands) {
            if (island->BestSum < best->BestSum) best = island.get();
            spent += island->Spent;
            ended = ended && island->Ended;
        }
        if (best->BestSum != shownSum) {
            shownSum = best->BestSum;
            result.Pattern = best->Best;
            result.Best = scorer.ScoreBlocks(result.Pattern).Distance;
        }
        result.Evaluations = spent;
        result.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
        if (observer)
            observer({result.Evaluations, result.Best, result.Pattern, result.Seconds,
                      result.Seconds > 0 ? result.Evaluations / result.Seconds : 0});
        if (stop != nullptr && stop->load()) {
            result.Stopped = TSearchEnd::Interrupted;
            break;
        }
        if (settings.Seconds && result.Seconds >= *settings.Seconds) {
            result.Stopped = TSearchEnd::Seconds;
            break;
        }
        if (ended) {
            result.Stopped = TSearchEnd::Evaluations;
            break;
        }
        if (settings.MeanDistance && MeanDistanceOf(result.Best, elements) <= *settings.MeanDistance) {
            result.Stopped = TSearchEnd::Distance;
            break;
        }
        team.ForRanges(islandCount, 1, [&](int, std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i != end; ++i)
                chain.Walk(*islands[i], roundMoves);
        });
        // The ring: each island takes its neighbour's best when it is better than its own.
        std::vector<std::pair<std::int64_t, TBlockList>> bests;
        for (const auto& island : islands)
            bests.emplace_back(island->BestSum, island->Best);
        for (std::size_t i = 0; i < islandCount && islandCount > 1; ++i) {
            const auto& [sum, blocks] = bests[(i + islandCount - 1) % islandCount];
            if (sum < islands[i]->BestSum) {
                islands[i]->BestSum = sum;
                islands[i]->Best = blocks;
            }
        }
    }
    return result;
}

} // namespace vesk
