#include "search/annealing_schedule.h"

#include <algorithm>

namespace vesk {

std::uint64_t MovesTimeAllows(double seconds, double elapsed, double made, double measured) {
    constexpr double TimeShare = 0.9;
    if (seconds <= 0 || elapsed <= 0 || made <= measured) return Unlimited;
    const double moves = std::max(0.0, TimeShare * (seconds - elapsed) * made / elapsed);
    return moves < static_cast<double>(Unlimited) ? static_cast<std::uint64_t>(moves) : Unlimited;
}

std::uint64_t TRestartPlan::Next(std::uint64_t remaining) {
    std::uint64_t length = FCount == 0 ? FFirst : FLast > Unlimited / 2 ? FLast : 2 * FLast;
    if (remaining != Unlimited) {
        length = std::min(length, remaining);
        if ((remaining - length) / 2 < length) length = remaining;
    }
    FLast = std::max<std::uint64_t>(length, 1);
    ++FCount;
    return FLast;
}

} // namespace vesk
