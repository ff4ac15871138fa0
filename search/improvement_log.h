#pragma once
// The improvements of a search's best as its islands find them, thinned to what a curve on a
// logarithmic axis can show.

#include <atomic>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

namespace vesk {

// The best objective a search had reached after so many evaluations (of every island).
struct TImprovement {
    std::uint64_t Evaluations = 0;
    double Best = 0;
    friend bool operator==(const TImprovement&, const TImprovement&) = default;
};

// Collects each new best of the whole search from any island's thread. An island asks Beats
// first, a relaxed look that costs its loop nothing; only a new best takes the lock. Of the
// improvements it keeps one when the evaluations have grown by EvaluationsStep since the point
// kept last, or the best has fallen by BestStep of it; one left out is held, and kept when the
// search ends without a better one, so the last point is always the final best. A run of E
// evaluations keeps at most about log(E) / log(EvaluationsStep) + log(first / last best) /
// log(1 / BestStep) points, a few hundred.
class TImprovementLog {
public:
    static constexpr double EvaluationsStep = 1.05, BestStep = 0.9;

    // Whether the objective would be a new best; safe on any thread at any time.
    bool Beats(double objective) const { return objective < FBest.load(std::memory_order_relaxed); }
    // Notes the objective when it is a new best; spent() gives the evaluations of every island,
    // and is called under the lock, so that the points' evaluations grow with their order.
    template <class TSpent> void Note(double objective, const TSpent& spent) {
        if (!Beats(objective)) return;
        const std::lock_guard<std::mutex> hold(FLock);
        if (!Beats(objective)) return;
        FBest.store(objective, std::memory_order_relaxed);
        Offer({spent(), objective});
    }
    // The points kept since the last call, in order.
    std::vector<TImprovement> Take();
    // At the search's end, the points still to be taken: the held one kept, and the search's own
    // best added when it is better, or, when an island's objective for it differed only in its
    // last bits, given to the last point still to be taken.
    std::vector<TImprovement> Finish(std::uint64_t evaluations, double best);

private:
    void Offer(TImprovement point); // under the lock

    std::atomic<double> FBest{std::numeric_limits<double>::infinity()};
    std::mutex FLock;
    std::vector<TImprovement> FKept;   // since the last Take
    std::optional<TImprovement> FLast; // the point kept last
    std::optional<TImprovement> FHeld; // the newest improvement left out
};

} // namespace vesk
