#include "search/improvement_log.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vesk {

namespace {

// An island's objective and the search's exact one for the same pattern differ at most in
// their last bits.
bool SameBest(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

void TImprovementLog::Offer(TImprovement point) {
    if (FLast && SameBest(point.Best, FLast->Best)) return; // the same pattern, scored again
    const bool keep = !FLast ||
                      static_cast<double>(point.Evaluations) >=
                          static_cast<double>(FLast->Evaluations) * EvaluationsStep ||
                      point.Best <= FLast->Best * BestStep;
    if (!keep) {
        FHeld = point;
        return;
    }
    FHeld.reset();
    FLast = point;
    FKept.push_back(point);
}

std::vector<TImprovement> TImprovementLog::Take() {
    const std::lock_guard<std::mutex> hold(FLock);
    return std::exchange(FKept, {});
}

std::vector<TImprovement> TImprovementLog::Finish(std::uint64_t evaluations, double best) {
    const std::lock_guard<std::mutex> hold(FLock);
    if (FHeld) {
        FKept.push_back(*FHeld);
        FLast = FHeld;
        FHeld.reset();
    }
    if (FLast && SameBest(FLast->Best, best)) {
        if (!FKept.empty()) FKept.back().Best = best;
    } else if (!FLast || best < FLast->Best) {
        FKept.push_back({std::max(evaluations, FLast ? FLast->Evaluations : 0), best});
    }
    FBest.store(std::min(FBest.load(std::memory_order_relaxed), best), std::memory_order_relaxed);
    return std::exchange(FKept, {});
}

} // namespace vesk
