#include "search/move_annealing.h"
#include "search/watched_round.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <optional>
#include <random>

#include "runtime/split_mix.h"
#include "runtime/thread_team.h"
#include "vesk/agent.h"
#include "vesk/incremental_pattern.h"

namespace vesk {

namespace {

using TClock = TSearchClock;

// The heat of the first cycle and the cold every cycle ends at, in units of the integer
// distance an element; each cycle after the first starts at Reheat times the one before.
// Tuned on the reference of 100 with 16 blocks, seeds 1 to 5 (see the README's quality table).
constexpr double ChainHotPerElement = 1.0, ChainColdPerElement = 0.004, Reheat = 0.25;
constexpr int Cycles = 2;
// Of every 20 moves: one field changed, a block drawn anew, two neighbours swapped, and the rest
// a block moved to another place.
constexpr std::uint64_t FieldMoves = 12, BlockMoves = 2, SwapMoves = 3;
// Moves between looks at the clock and the stop.
constexpr std::uint64_t LookEvery = 64;
// Universes from SampledFrom elements on spend the first cycle on every k-th element, k chosen
// so that about SampledElements remain; the later cycles run on all of them.
constexpr std::int32_t SampledFrom = 1024, SampledElements = 512;

std::int32_t SampledStride(std::int32_t elements) {
    return elements >= SampledFrom ? elements / SampledElements : 1;
}

// The codes a field may take: the allowed list, or every value of its range.
std::vector<std::int32_t> Codes(const std::vector<std::int32_t>& allowed, std::int32_t highest) {
    if (!allowed.empty()) return allowed;
    std::vector<std::int32_t> all;
    for (std::int32_t v = 0; v <= highest; ++v)
        all.push_back(v);
    return all;
}

// The chains' generator (splitmix64): fast, and the same sequence on every machine.
class TChainRandom {
public:
    using result_type = std::uint64_t;
    explicit TChainRandom(std::uint64_t seed) : FState(seed) {}
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return ~result_type{0}; }
    result_type operator()() { return SplitMix64(FState); }
    // A real in [0, 1).
    double Chance() { return static_cast<double>((*this)() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t FState;
};

// One island: its chain, its generator, its best and its account. Its walk writes it; the
// search's thread reads Spent at any time, and Best and BestSum under the lock, which the walk
// takes to change them.
struct TIsland {
    TIsland(std::shared_ptr<const TScoringTables> tables, const TBlockList& start,
            std::uint64_t seed, std::int32_t stride)
        : Random(seed), Best(start) {
        State.emplace(std::move(tables), start, stride);
        BestSum = State->Sum();
    }

    // Goes on over all elements from the best pattern so far (or the start, if better there).
    void Unsample(const std::shared_ptr<const TScoringTables>& tables,
                  const std::optional<TBlockList>& start) {
        TIncrementalPattern full(tables, Best);
        if (start) {
            TIncrementalPattern kept(tables, *start);
            if (kept.Sum() < full.Sum()) full = std::move(kept);
        }
        const std::lock_guard<std::mutex> lock(Lock);
        State.emplace(std::move(full));
        Best = State->Blocks();
        BestSum = State->Sum();
        Spent.fetch_add(start ? 2 : 1, std::memory_order_relaxed);
    }

    void Improve(std::int64_t sum, const TBlockList& blocks) {
        const std::lock_guard<std::mutex> lock(Lock);
        BestSum = sum;
        Best = blocks;
    }

    std::optional<TIncrementalPattern> State;
    TChainRandom Random;
    std::mutex Lock;
    TBlockList Best;
    std::int64_t BestSum = 0;
    std::atomic<std::uint64_t> Spent{1}; // the start's projection
    std::uint64_t Allowance = 1;
    int Cycle = 0;
    bool Ended = false;
};

// What every island's chain shares: the fields' codes, the schedule and the limits.
class TChain {
public:
    TChain(const TSearchSettings& settings, TClock::time_point started,
           const std::atomic<bool>* stop, const std::atomic<bool>& expired)
        : FShapes(Codes(settings.Shapes, FieldHighest(ShapeField))),
          FOperators(Codes(settings.Operators, FieldHighest(OpField))), FStop(stop),
          FExpired(expired), FStarted(started), FSeconds(settings.Seconds.value_or(0)) {}

    TFuzzyBlock RandomBlock(TChainRandom& random) const {
        return {Pick(FShapes, random), Below(FieldHighest(CentreField) + 1, random),
                Below(FieldHighest(SpreadField) + 1, random),
                Below(FieldHighest(RepeatsField) + 1, random), Pick(FOperators, random)};
    }

    // Walks the island's chain for at most moves moves.
    void Walk(TIsland& island, std::uint64_t moves) const;

private:
    static std::int32_t Below(std::int32_t n, TChainRandom& random) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint64_t>(n));
    }
    static std::int32_t Pick(const std::vector<std::int32_t>& codes, TChainRandom& random) {
        return codes[random() % codes.size()];
    }
    // The block with one field given another value it may take.
    TFuzzyBlock Changed(TFuzzyBlock B, TChainRandom& random) const;
    // How far through its budget the island is, 0..1, by evaluations or by time.
    double Progress(std::uint64_t spent, const TIsland& island, double seconds) const {
        double p = static_cast<double>(spent) / static_cast<double>(island.Allowance);
        if (FSeconds > 0) p = std::max(p, seconds / FSeconds);
        return std::min(p, 1.0);
    }

    std::vector<std::int32_t> FShapes, FOperators;
    const std::atomic<bool>* FStop;
    const std::atomic<bool>& FExpired; // the deadline has passed
    TClock::time_point FStarted;
    double FSeconds;
};

TFuzzyBlock TChain::Changed(TFuzzyBlock B, TChainRandom& random) const {
    for (;;) {
        const TFuzzyBlock before = B;
        const auto k = static_cast<std::int32_t>(random() % FieldsPerBlock);
        std::int32_t& field = FieldOf(B, k);
        const std::int32_t highest = FieldHighest(k);
        switch (k) {
        case ShapeField:
            field = Pick(FShapes, random);
            break;
        case OpField:
            field = Pick(FOperators, random);
            break;
        case CentreField: // a neighbouring cell half the time: a block sliding into place
        case SpreadField:
            field = random() % 2 ? Below(highest + 1, random)
                                 : std::clamp(field + (random() % 2 ? 1 : -1), 0, highest);
            break;
        default:
            field = Below(highest + 1, random);
            break;
        }
        if (!(B == before)) return B;
    }
}

void TChain::Walk(TIsland& island, std::uint64_t moves) const {
    TIncrementalPattern& state = *island.State;
    TChainRandom& random = island.Random;
    const std::size_t blocks = state.Blocks().size();
    std::uint64_t spent = island.Spent.load(std::memory_order_relaxed);
    const double elements = state.ElementCount();
    const double chainHot = ChainHotPerElement * elements;
    const double chainCold = ChainColdPerElement * elements;
    double temperature = chainHot;
    for (std::uint64_t move = 0; move < moves; ++move) {
        if ((FStop != nullptr && FStop->load(std::memory_order_relaxed)) ||
            FExpired.load(std::memory_order_relaxed))
            return;
        if (move % LookEvery == 0) {
            const double seconds = std::chrono::duration<double>(TClock::now() - FStarted).count();
            const double p = Progress(spent, island, seconds);
            const int cycle = std::min(Cycles - 1, static_cast<int>(p * Cycles));
            if (cycle != island.Cycle && spent < island.Allowance) {
                island.Cycle = cycle; // a new cycle starts again from the best
                state.Reset(island.Best);
                island.Spent.store(++spent, std::memory_order_relaxed);
            }
            const double hot = chainHot * std::pow(Reheat, cycle);
            const double within = p * Cycles - cycle;
            temperature = hot * std::pow(chainCold / hot, std::min(within, 1.0));
        }
        if (spent >= island.Allowance) {
            island.Ended = true;
            return;
        }
        std::int64_t tried = 0;
        const std::uint64_t kind = random() % 20;
        const std::size_t at = random() % blocks;
        if (kind < FieldMoves || blocks == 1) {
            tried = state.TryReplace(at, Changed(state.Blocks()[at], random));
        } else if (kind < FieldMoves + BlockMoves) {
            tried = state.TryReplace(at, RandomBlock(random));
        } else if (kind < FieldMoves + BlockMoves + SwapMoves) {
            const std::size_t next = at + 1 < blocks ? at + 1 : at - 1;
            tried = state.TryMove(at, next);
        } else {
            tried = state.TryMove(at, random() % blocks);
        }
        island.Spent.store(++spent, std::memory_order_relaxed);
        const std::int64_t delta = tried - state.Sum();
        if (delta <= 0 || random.Chance() < std::exp(-static_cast<double>(delta) / temperature)) {
            state.Accept();
            if (tried < island.BestSum) island.Improve(tried, state.Blocks());
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
    std::atomic<bool> expired{false};
    const TChain chain(settings, started, stop, expired);
    const std::int32_t stride = SampledStride(elements);
    bool sampled = stride > 1;

    // Every island's seed and start come from one generator seeded by the settings' seed.
    std::mt19937_64 seeds(settings.Seed);
    std::vector<std::unique_ptr<TIsland>> islands;
    for (std::size_t i = 0; i < islandCount; ++i) {
        const std::uint64_t seed = seeds();
        TChainRandom draw(seeds());
        TBlockList start = settings.Start.value_or(TBlockList{});
        if (!settings.Start) {
            start.resize(static_cast<std::size_t>(std::clamp(settings.Blocks, 1, MaxBlocks)));
            for (TFuzzyBlock& B : start)
                B = chain.RandomBlock(draw);
        }
        islands.push_back(std::make_unique<TIsland>(tables, start, seed, stride));
        islands.back()->Allowance = 1 + settings.Evaluations / islandCount +
                                    (i < settings.Evaluations % islandCount ? 1 : 0);
    }
    // Moves an island makes a round: fewer on large universes, whose moves cost more.
    const std::uint64_t roundMoves =
        settings.RoundEvaluations > 0
            ? settings.RoundEvaluations
            : std::clamp<std::uint64_t>(4'000'000 / static_cast<std::uint64_t>(elements), 64,
                                        40'000);

    TPatternScorer scorer(tables);
    std::int64_t shownSum = -1;
    // The best so far, exactly scored when it changed, and the observer told.
    const auto report = [&] {
        std::uint64_t spent = 0;
        std::int64_t bestSum = -1;
        TBlockList best;
        for (const auto& island : islands) {
            spent += island->Spent.load(std::memory_order_relaxed);
            const std::lock_guard<std::mutex> lock(island->Lock);
            if (bestSum < 0 || island->BestSum < bestSum) {
                bestSum = island->BestSum;
                best = island->Best;
            }
        }
        if (bestSum != shownSum) {
            shownSum = bestSum;
            result.Pattern = std::move(best);
            result.Best = scorer.ScoreBlocks(result.Pattern).Distance;
        }
        result.Evaluations = spent;
        result.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
        if (observer)
            observer({result.Evaluations, result.Best, result.Pattern, result.Seconds,
                      result.Seconds > 0 ? result.Evaluations / result.Seconds : 0});
    };
    TThreadTeam team(result.Islands);
    for (;;) {
        report();
        if (stop != nullptr && stop->load()) {
            result.Stopped = TSearchEnd::Interrupted;
            break;
        }
        if (settings.Seconds && result.Seconds >= *settings.Seconds) {
            result.Stopped = TSearchEnd::Seconds;
            break;
        }
        if (std::all_of(islands.begin(), islands.end(),
                        [](const auto& island) { return island->Ended; })) {
            result.Stopped = TSearchEnd::Evaluations;
            break;
        }
        if (settings.MeanDistance &&
            MeanDistanceOf(result.Best, elements) <= *settings.MeanDistance) {
            result.Stopped = TSearchEnd::Distance;
            break;
        }
        // The round runs beside this thread, which looks at the clock and reports meanwhile.
        RunWatched(
            [&] {
                team.ForRanges(islandCount, 1, [&](int, std::size_t begin, std::size_t end) {
                    for (std::size_t i = begin; i != end; ++i)
                        chain.Walk(*islands[i], roundMoves);
                });
            },
            [&] {
                if (settings.Seconds &&
                    std::chrono::duration<double>(TClock::now() - started).count() >=
                        *settings.Seconds)
                    expired = true;
            },
            report);
        // Halfway through, a sampled search goes on over all elements: between rounds, so that
        // no island compares its sums with another's on a different universe.
        if (sampled) {
            std::uint64_t spent = 0, allowance = 0;
            for (const auto& island : islands) {
                spent += island->Spent.load(std::memory_order_relaxed);
                allowance += island->Allowance;
            }
            const double seconds = std::chrono::duration<double>(TClock::now() - started).count();
            double p = static_cast<double>(spent) / static_cast<double>(allowance);
            if (settings.Seconds) p = std::max(p, seconds / *settings.Seconds);
            const bool ended = std::any_of(islands.begin(), islands.end(),
                                           [](const auto& island) { return island->Ended; });
            if (p >= 1.0 / Cycles && !ended) {
                sampled = false;
                for (const auto& island : islands)
                    island->Unsample(tables, settings.Start);
                shownSum = -1;
            }
        }
        // The ring: each island takes its neighbour's best when it is better than its own.
        std::vector<std::pair<std::int64_t, TBlockList>> bests;
        for (const auto& island : islands)
            bests.emplace_back(island->BestSum, island->Best);
        for (std::size_t i = 0; i < islandCount && islandCount > 1; ++i) {
            const auto& [sum, blocks] = bests[(i + islandCount - 1) % islandCount];
            if (sum < islands[i]->BestSum) islands[i]->Improve(sum, blocks);
        }
    }
    // Stopped while sampled, the best found there may be worse over all elements than the start.
    if (settings.Start) {
        const double start = scorer.ScoreBlocks(*settings.Start).Distance;
        if (start < result.Best) {
            result.Pattern = *settings.Start;
            result.Best = start;
        }
    }
    return result;
}

} // namespace vesk
