#include "search/move_annealing.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <random>

#include "runtime/split_mix.h"
#include "runtime/thread_team.h"
#include "search/annealing_schedule.h"
#include "vesk/agent.h"
#include "vesk/incremental_pattern.h"

namespace vesk {

namespace {

// Heats in units of the integer distance an element: each restart's first cooling starts at
// First, its second, from the best, at Restart; both end at Cold. Tuned on the target zoo.
constexpr THeats ChainHeats{1.0, 0.25, 0.004};
// The first restart's moves an island; each later one doubles.
constexpr std::uint64_t FirstRestart = 1 << 14;
// Of every 20 moves: FieldMoves one field changed, BlockMoves a block drawn anew, SwapMoves two
// neighbours swapped, and the rest a block moved to another place.
constexpr std::uint64_t FieldMoves = 12, BlockMoves = 2, SwapMoves = 3;
// The degrees of a distance: the sums count in degrees, the distance in hundredths of them.
constexpr double DegreeUnits = 100;
// Moves between two computations of the temperature.
constexpr std::uint64_t CoolEvery = 64;
// Universes from SampledFrom elements on spend the first half of every restart on every k-th
// element, k chosen so that about SampledElements remain.
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
    explicit TChainRandom(std::uint64_t seed) : FState(seed) {}
    std::uint64_t operator()() { return SplitMix64(FState); }
    // A real in [0, 1).
    double Chance() { return static_cast<double>((*this)() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t FState;
};

// A pattern with its integer distance sum over every element.
struct TScored {
    TBlockList Blocks;
    std::int64_t Sum = 0;
};

// One island: its chain, its generator and its account. Home is the best pattern over every
// element the island has (its chain's, or one its neighbour gave it); on a sampled universe the
// chain's own best there is kept apart, in Sampled. The island's walk writes them under the
// lock; the driver reads them under it at any time, and changes them between rounds.
struct TIsland {
    TIsland(const std::shared_ptr<const TScoringTables>& tables, const TBlockList& start,
            std::uint64_t seed)
        : Random(seed) {
        State.emplace(tables, start);
        Home = {start, State->Sum()};
    }

    bool IsSampled() const { return State->Stride() > 1; }
    // The chain's best on its own universe.
    std::int64_t BestSum() const { return IsSampled() ? Sampled.Sum : Home.Sum; }

    void Improve(std::int64_t sum) {
        const std::lock_guard<std::mutex> lock(Lock);
        TScored& best = IsSampled() ? Sampled : Home;
        best.Sum = sum;
        best.Blocks = State->Blocks();
        ++Version;
    }
    // Counts an evaluation; false (and nothing counted) once the allowance is spent.
    bool Count() {
        const std::uint64_t spent = Spent.load(std::memory_order_relaxed);
        if (spent >= Allowance) return false;
        Spent.store(spent + 1, std::memory_order_relaxed);
        return true;
    }

    std::optional<TIncrementalPattern> State;
    TChainRandom Random;
    std::mutex Lock;
    TScored Home, Sampled;
    std::uint64_t Version = 0;           // changes with Home or Sampled
    std::atomic<std::uint64_t> Spent{1}; // the start's projection
    std::uint64_t Allowance = 1;
    std::uint64_t Done = 0;                     // moves made in the restart
    std::uint64_t CoolFrom = 0, CoolLength = 1; // the cooling's moves within the restart
    double Hot = 1, Cold = 1;                   // the restart's heats for the chain's universe
};

// What the islands' chains share: the fields' codes, the restart's plan and the limits.
class TMoveChains final : public TIslandEngine {
public:
    TMoveChains(const TSearchSettings& settings, int islands, TSearchLimits& limits,
                TSearchClock::time_point started);

    void Round() override;
    void BetweenRounds() override;
    std::uint64_t Spent() const override;
    bool Exhausted() const override;
    std::optional<std::pair<double, TBlockList>> Best() override;

private:
    static std::int32_t Below(std::int32_t n, TChainRandom& random) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint64_t>(n));
    }
    static std::int32_t Pick(const std::vector<std::int32_t>& codes, TChainRandom& random) {
        return codes[random() % codes.size()];
    }
    TFuzzyBlock RandomBlock(TChainRandom& random) const;
    // The block with one field given another value it may take.
    TFuzzyBlock Changed(TFuzzyBlock B, TChainRandom& random) const;
    // Walks the island's chain for at most moves moves.
    void Walk(TIsland& island, std::uint64_t moves) const;
    // Starts the next restart: its first cooling, from the islands' bests at the first heat.
    void StartRestart();
    // Halfway through a restart: the second cooling, from the islands' bests at a quarter of the
    // heat, over every element.
    void SecondCooling();
    // A sampled universe's bests over every element, and the chains on from there.
    void Unsample();
    // The island's heats for the restart on its chain's universe.
    void Heat(TIsland& island) const;
    // The moves an island may still make: by the allowances, and by the time at the rate so far.
    std::uint64_t Remaining() const;

    const TSearchSettings& FSettings;
    TSearchLimits& FLimits;
    TSearchClock::time_point FStarted;
    std::vector<std::int32_t> FShapes, FOperators;
    std::shared_ptr<const TScoringTables> FTables;
    std::int32_t FStride;
    std::vector<std::unique_ptr<TIsland>> FIslands;
    TThreadTeam FTeam;
    TPatternScorer FScorer;
    std::uint64_t FRoundMoves;

    TRestartPlan FPlan{FirstRestart};
    std::uint64_t FLength = 0, FDone = 0; // the restart's moves an island, and those made
    double FHeat = ChainHeats.First;      // where the cooling started, an element
    // The best reported, and what each island had when it was looked at.
    std::optional<std::pair<double, TBlockList>> FBest;
    std::vector<std::uint64_t> FSeen;
};

TMoveChains::TMoveChains(const TSearchSettings& settings, int islands, TSearchLimits& limits,
                         TSearchClock::time_point started)
    : FSettings(settings), FLimits(limits), FStarted(started),
      FShapes(Codes(settings.Shapes, FieldHighest(ShapeField))),
      FOperators(Codes(settings.Operators, FieldHighest(OpField))),
      FTables(std::make_shared<const TScoringTables>(settings.Target)),
      FStride(SampledStride(settings.Target.Count())), FTeam(islands), FScorer(FTables) {
    const auto count = static_cast<std::size_t>(islands);
    // Every island's seed and start come from one generator seeded by the settings' seed.
    std::mt19937_64 seeds(settings.Seed);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t seed = seeds();
        TChainRandom draw(seeds());
        TBlockList start = settings.Start.value_or(TBlockList{});
        if (!settings.Start) {
            start.resize(static_cast<std::size_t>(std::clamp(settings.Blocks, 1, MaxBlocks)));
            for (TFuzzyBlock& B : start)
                B = RandomBlock(draw);
        }
        FIslands.push_back(std::make_unique<TIsland>(FTables, start, seed));
        FIslands.back()->Allowance =
            1 + settings.Evaluations / count + (i < settings.Evaluations % count ? 1 : 0);
    }
    FSeen.assign(count, ~std::uint64_t{0});
    // Moves an island makes a round: fewer on large universes, whose moves cost more.
    const auto elements = static_cast<std::uint64_t>(settings.Target.Count());
    FRoundMoves = settings.RoundEvaluations > 0
                      ? settings.RoundEvaluations
                      : std::clamp<std::uint64_t>(4'000'000 / elements, 64, 40'000);
    StartRestart();
}

TFuzzyBlock TMoveChains::RandomBlock(TChainRandom& random) const {
    return {Pick(FShapes, random), Below(FieldHighest(CentreField) + 1, random),
            Below(FieldHighest(SpreadField) + 1, random),
            Below(FieldHighest(RepeatsField) + 1, random), Pick(FOperators, random)};
}

TFuzzyBlock TMoveChains::Changed(TFuzzyBlock B, TChainRandom& random) const {
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

std::uint64_t TMoveChains::Remaining() const {
    std::uint64_t remaining = 0;
    for (const auto& island : FIslands) {
        const std::uint64_t spent = island->Spent.load(std::memory_order_relaxed);
        remaining = std::max(remaining, island->Allowance > spent ? island->Allowance - spent : 0);
    }
    const auto made = static_cast<double>(Spent()) / static_cast<double>(FIslands.size());
    return std::min(remaining, MovesTimeAllows(FSettings.Seconds.value_or(0),
                                               SecondsSince(FStarted), made, 2.0 * FirstRestart));
}

void TMoveChains::StartRestart() {
    FLength = FPlan.Next(Remaining());
    FDone = 0;
    FHeat = ChainHeats.First;
    const bool first = FPlan.Count() == 1;
    for (const auto& island : FIslands) {
        TIsland& I = *island;
        // A later restart starts from the island's best; the first from its start, projected
        // when the island was made.
        if ((!first && I.Count()) || (first && FStride > 1))
            I.State.emplace(FTables, I.Home.Blocks, FStride);
        Heat(I);
        I.Done = 0;
        I.CoolFrom = 0;
        I.CoolLength = std::max<std::uint64_t>(FLength / 2, 1);
        const std::lock_guard<std::mutex> lock(I.Lock);
        I.Sampled = {I.State->Blocks(), I.State->Sum()};
        ++I.Version;
    }
}

void TMoveChains::SecondCooling() {
    if (FStride > 1) Unsample();
    FHeat = ChainHeats.Restart;
    for (const auto& island : FIslands) {
        TIsland& I = *island;
        if (I.State->Sum() > I.Home.Sum && !I.IsSampled() && I.Count())
            I.State->Reset(I.Home.Blocks);
        Heat(I);
        I.CoolFrom = I.Done;
        I.CoolLength = std::max<std::uint64_t>(FLength - FLength / 2, 1);
    }
}

void TMoveChains::Heat(TIsland& I) const {
    const double elements = I.State->ElementCount();
    I.Hot = FHeat * elements;
    I.Cold = ChainHeats.Cold * elements;
}

void TMoveChains::Unsample() {
    for (const auto& island : FIslands) {
        TIsland& I = *island;
        if (!I.IsSampled() || !I.Count()) continue;
        // The sampled half's best, over every element, and on from the better of it and home.
        TIncrementalPattern full(FTables, I.Sampled.Blocks);
        const std::lock_guard<std::mutex> lock(I.Lock);
        if (full.Sum() < I.Home.Sum) I.Home = {full.Blocks(), full.Sum()};
        if (!(full.Blocks() == I.Home.Blocks) && I.Count()) full.Reset(I.Home.Blocks);
        I.State.emplace(std::move(full));
        Heat(I);
        ++I.Version;
    }
}

void TMoveChains::Walk(TIsland& island, std::uint64_t moves) const {
    TIncrementalPattern& state = *island.State;
    TChainRandom& random = island.Random;
    const std::size_t blocks = state.Blocks().size();
    double temperature = island.Hot;
    for (std::uint64_t move = 0; move < moves; ++move) {
        if (FLimits.Ended()) return;
        if (move % CoolEvery == 0)
            temperature =
                CoolingAt(island.Hot, island.Cold,
                          std::min(1.0, static_cast<double>(island.Done - island.CoolFrom) /
                                            static_cast<double>(island.CoolLength)));
        if (!island.Count()) return;
        ++island.Done;
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
        if (KeepsChange(static_cast<double>(tried - state.Sum()), temperature, random.Chance())) {
            state.Accept();
            if (tried < island.BestSum()) {
                island.Improve(tried);
                // A sampled chain's sum is not the distance; the driver notes its bests.
                if (!island.IsSampled())
                    FLimits.Improvements.Note(static_cast<double>(tried) / DegreeUnits,
                                              [this] { return Spent(); });
            }
        }
    }
}

void TMoveChains::Round() {
    // A round ends where the restart's first cooling ends, and where the restart does.
    const std::uint64_t half = FLength / 2;
    const std::uint64_t end = FDone < half ? half : FLength;
    const std::uint64_t moves = std::min(FRoundMoves, end - FDone);
    FTeam.ForRanges(FIslands.size(), 1, [&](int, std::size_t begin, std::size_t finish) {
        for (std::size_t i = begin; i != finish; ++i)
            Walk(*FIslands[i], moves);
    });
    FDone += moves;
}

void TMoveChains::BetweenRounds() {
    if (FDone == FLength / 2 && FLength > 1) SecondCooling();
    // The ring: each island takes its neighbour's best when it is better than its own.
    const std::size_t count = FIslands.size();
    if (count > 1) {
        std::vector<TScored> homes;
        for (const auto& island : FIslands)
            homes.push_back(island->Home);
        for (std::size_t i = 0; i < count; ++i) {
            const TScored& given = homes[(i + count - 1) % count];
            TIsland& I = *FIslands[i];
            if (given.Sum < I.Home.Sum) {
                const std::lock_guard<std::mutex> lock(I.Lock);
                I.Home = given;
                ++I.Version;
            }
        }
    }
    if (FDone >= FLength) StartRestart();
}

std::uint64_t TMoveChains::Spent() const {
    std::uint64_t spent = 0;
    for (const auto& island : FIslands)
        spent += island->Spent.load(std::memory_order_relaxed);
    return spent;
}

bool TMoveChains::Exhausted() const {
    return std::all_of(FIslands.begin(), FIslands.end(), [](const auto& island) {
        return island->Spent.load(std::memory_order_relaxed) >= island->Allowance;
    });
}

std::optional<std::pair<double, TBlockList>> TMoveChains::Best() {
    // Every island's best over all elements, and on a sampled universe its chain's best there,
    // scored exactly; the best reported never gets worse.
    for (std::size_t i = 0; i < FIslands.size(); ++i) {
        TIsland& I = *FIslands[i];
        TScored home, sampled;
        {
            const std::lock_guard<std::mutex> lock(I.Lock);
            if (I.Version == FSeen[i]) continue;
            FSeen[i] = I.Version;
            home = I.Home;
            if (I.IsSampled()) sampled = I.Sampled;
        }
        for (const TScored* candidate : {&home, &sampled}) {
            if (candidate->Blocks.empty()) continue;
            if (FBest && candidate->Blocks == FBest->second) continue;
            const double distance = FScorer.ScoreBlocks(candidate->Blocks).Distance;
            if (!FBest || distance < FBest->first) FBest.emplace(distance, candidate->Blocks);
        }
    }
    return FBest;
}

} // namespace

std::unique_ptr<TIslandEngine> MoveChains(const TSearchSettings& settings, int islands,
                                          TSearchLimits& limits, TSearchClock::time_point started) {
    return std::make_unique<TMoveChains>(settings, islands, limits, started);
}

} // namespace vesk
